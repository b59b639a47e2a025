#include "base/SafePath.h"
#include "reading/AttachmentRules.h"
#include "reading/MessageFileKind.h"
#include "reading/MimeMessage.h"
#include "reading/Zoom.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace AttachmentRules;

class TestAttachmentRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void list1Selection_data();
    void list1Selection();
    void list2Opening_data();
    void list2Opening();
    void refusedNames();
    void safeAttachName();
    void outlookOrInternet();
    void matchingFindsFirstOfSameName();
    void hostileNamesStayInTheFolder_data();
    void hostileNamesStayInTheFolder();
    void zoomArithmetic_data();
    void zoomArithmetic();
};

void TestAttachmentRules::list1Selection_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("openWith");
    QTest::addColumn<bool>("decrypt");
    QTest::newRow("pdf") << "a.pdf" << true << false;
    QTest::newRow("asc") << "encrypted.asc" << false << true;
    QTest::newRow("encrypted in the name") << "encrypted_report.txt" << false << true;
    QTest::newRow("gpg upper") << "x.GPG" << false << true;
    QTest::newRow("pgp") << "x.pgp" << false << true;
    QTest::newRow("dat") << "winmail.dat" << false << false;
    QTest::newRow("no extension opens") << "report" << true << false;
    QTest::newRow("datx contains dat") << "a.datx" << false << false;
}

void TestAttachmentRules::list1Selection()
{
    QFETCH(QString, caption);
    QFETCH(bool, openWith);
    QFETCH(bool, decrypt);
    const List1Selection s = selectInList1(caption);
    QCOMPARE(s.openWith, openWith);
    QCOMPARE(s.decrypt, decrypt);
}

void TestAttachmentRules::list2Opening_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("opens");
    QTest::newRow("doc") << "a.doc" << true;
    QTest::newRow("asc") << "a.asc" << false;
    QTest::newRow("DAT") << "a.DAT" << false;
    QTest::newRow("gpg") << "a.gpg" << false;
    QTest::newRow("pgp") << "a.pgp" << false;
    QTest::newRow("ascii is not asc") << "a.ascii" << true;
}

void TestAttachmentRules::list2Opening()
{
    QFETCH(QString, caption);
    QFETCH(bool, opens);
    QCOMPARE(list2Opens(caption), opens);
}

void TestAttachmentRules::refusedNames()
{
    QVERIFY(refusedForOpening(QStringLiteral("PGP_MIME version identification.dat")));
    QVERIFY(refusedForOpening(QStringLiteral("x.ASC")));
    QVERIFY(refusedForOpening(QStringLiteral("x.gpg")));
    QVERIFY(!refusedForOpening(QStringLiteral("x.dat")));
    QVERIFY(!refusedForOpening(QStringLiteral("x.pdf")));
}

void TestAttachmentRules::safeAttachName()
{
    QCOMPARE(SafeAttachName(QStringLiteral("a/b/c.txt")), QStringLiteral("a_b_c.txt"));
}

void TestAttachmentRules::outlookOrInternet()
{
    QCOMPARE(messageFileKind(QStringLiteral("/m/a.EML")), MessageFileKind::Eml);
    QCOMPARE(messageFileKind(QStringLiteral("/m/a.msg")), MessageFileKind::Msg);
    QCOMPARE(messageFileKind(QStringLiteral("/w/a.eml.txt")), MessageFileKind::Other);
    QCOMPARE(messageFileKind(QString()), MessageFileKind::Other);
}

void TestAttachmentRules::matchingFindsFirstOfSameName()
{
    const auto message = MimeMessage::parse(
        "Content-Type: multipart/mixed; boundary=B\r\n\r\n--B\r\nContent-Type: text/plain\r\n\r\nx\r\n"
        "--B\r\nContent-Type: application/pdf; name=same.pdf\r\n\r\nfirst\r\n"
        "--B\r\nContent-Type: application/pdf; name=same.pdf\r\n\r\nsecond\r\n"
        "--B\r\nContent-Type: application/octet-stream\r\nContent-Description: a/b\r\n\r\ndesc\r\n--B--\r\n");
    QVERIFY(message);
    const MimePart* same = findAttachment(*message, QStringLiteral("same.pdf"));
    QVERIFY(same);
    QCOMPARE(message->attachmentContent(*same), QByteArray("first"));
    const MimePart* described = findAttachment(*message, QStringLiteral("a_b.dat"));
    QVERIFY(described);
    QCOMPARE(message->attachmentContent(*described), QByteArray("desc"));
    QVERIFY(!findAttachment(*message, QStringLiteral("none.txt")));
}

void TestAttachmentRules::hostileNamesStayInTheFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("safe");
    QTest::newRow("parent folders") << "../../evil.txt"
                                    << ".._.._evil.txt";
    QTest::newRow("absolute") << "/etc/passwd"
                              << "_etc_passwd";
    QTest::newRow("backslashes") << "..\\..\\x.bat"
                                 << ".._.._x.bat";
    QTest::newRow("dot dot") << ".."
                             << "_";
    QTest::newRow("control characters") << "a\nb\x01.txt"
                                        << "a_b_.txt";
    QTest::newRow("empty") << ""
                           << "_";
    QTest::newRow("japanese kept") << "見積書（案）.pdf"
                                   << "見積書（案）.pdf";
    // Shown as "invoiceexe.pdf" by a desktop that honours the override.
    QTest::newRow("right-to-left override")
        << QStringLiteral("invoice\u202Efdp.exe") << QStringLiteral("invoicefdp.exe");
    QTest::newRow("isolates and marks") << QStringLiteral(
        "\u2066a\u2067b\u2068c\u2069\u200E\u200F\u061C\u202A\u202B\u202C\u202D.txt")
                                        << QStringLiteral("abc.txt");
    QTest::newRow("joiner kept (emoji)") << QStringLiteral("👨\u200D👩.txt") << QStringLiteral("👨\u200D👩.txt");
    QTest::newRow("long name cut whole characters") << QStringLiteral("𠮟").repeated(100) + QStringLiteral(".txt")
                                                    << QStringLiteral("𠮟").repeated(59) + QStringLiteral(".txt");
}

void TestAttachmentRules::hostileNamesStayInTheFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, safe);
    QCOMPARE(safeFileName(name), safe);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("mail_dat"));
    QDir().mkpath(folder);
    const QString path = safeChildPath(folder, name);
    QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(folder).absoluteFilePath());
}

void TestAttachmentRules::zoomArithmetic_data()
{
    QTest::addColumn<double>("factor");
    QTest::addColumn<bool>("increase");
    QTest::addColumn<QString>("percent");
    QTest::newRow("in from 70 truncates to 76") << 0.7 << true << "76";
    QTest::newRow("out from 70") << 0.7 << false << "63";
    QTest::newRow("in from 100") << 1.0 << true << "110";
    QTest::newRow("out from 100") << 1.0 << false << "90";
}

void TestAttachmentRules::zoomArithmetic()
{
    QFETCH(double, factor);
    QFETCH(bool, increase);
    QFETCH(QString, percent);
    QCOMPARE(Zoom::percentText(Zoom::step(factor, increase)), percent);
    double f = 0;
    QVERIFY(Zoom::factorFromPercent(QStringLiteral("70"), &f));
    QCOMPARE(f, 0.7);
    QVERIFY(!Zoom::factorFromPercent(QStringLiteral("Dummy Data"), &f));
}

QTEST_GUILESS_MAIN(TestAttachmentRules)
#include "tst_AttachmentRules.moc"
