#include "archive/ArchiveFetch.h"
#include "archive/ArchiveTarget.h"
#include "archive/ArchiveVerification.h"
#include "archive/FirebirdClient.h"
#include "archive/MailboxImport.h"
#include "archive/TDm_Ldb.h"
#include "platform/ChildProcessRunner.h"
#include "reading/MailboxReader.h"
#include "support/ArchiveFixture.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QtTest>

namespace {

QByteArray mail(int n, const QByteArray& eol = "\n", bool withId = true, bool withDate = true)
{
    QByteArray m;
    if (withId)
        m += "Message-Id: <box" + QByteArray::number(n) + "@example.jp>" + eol;
    if (withDate)
        m += "Date: Fri, 05 Jan 2024 09:03:" + QByteArray::number(10 + n) + " +0000" + eol;
    m += "From: Sender <s@example.jp>" + eol + "Subject: message " + QByteArray::number(n) + eol;
    m += "Content-Type: text/plain; charset=UTF-8" + eol + eol;
    m += "body of " + QByteArray::number(n) + eol;
    m += ">From me, a quoted line" + eol + "last line" + eol;
    return m;
}

// Messages as an mbox writer stores them: a separator line before each, a
// blank line after each.
QByteArray mbox(const QList<QByteArray>& messages, const QByteArray& eol = "\n", bool finalBlank = true)
{
    QByteArray box;
    for (qsizetype i = 0; i < messages.size(); ++i) {
        box += "From MAILER-DAEMON Fri Jan  5 09:03:07 2024" + eol + messages.at(i);
        if (i + 1 < messages.size() || finalBlank)
            box += eol;
    }
    return box;
}

// The messages as Python's mailbox module reads them, the independent reader.
QList<QByteArray> pythonReads(const QString& path)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return {};
    QProcess p;
    p.start(python,
            {QStringLiteral("-c"),
             QStringLiteral("import mailbox, sys, json, base64\n"
                            "box = mailbox.mbox(sys.argv[1], create=False)\n"
                            "print(json.dumps([base64.b64encode(box.get_bytes(k)).decode() for k in box.keys()]))\n"),
             path});
    p.waitForFinished(30000);
    QList<QByteArray> messages;
    for (const QJsonValue& v : QJsonDocument::fromJson(p.readAllStandardOutput()).array())
        messages << QByteArray::fromBase64(v.toString().toLatin1());
    return messages;
}

QList<QByteArray> ourReads(const QString& path)
{
    QList<QByteArray> messages;
    const QString error = MailboxReader::forEachMessage(path, [&](const MailboxReader::Message& m) {
        messages << m.bytes;
        return true;
    });
    return error.isEmpty() ? messages : QList<QByteArray>{error.toUtf8()};
}

} // namespace

class TestMailboxImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useProcessWideFirebirdLockFolder(); }
    void init();
    void cleanup();
    void mboxReadsAsPythonDoes_data();
    void mboxReadsAsPythonDoes();
    void maildirFoldersAndTree();
    void importRegistersRefusesAndFetchesBack();
    void secondRunAddsNothing();
    void cancelledImportCompletesLater();
    void killedImportLeavesWholeMessagesAndCompletes();

private:
    QString write(const QString& name, const QByteArray& bytes);
    int rows(const char* table);
    QByteArray fetched(int n);

    ArchiveFixture m_fx;
};

void TestMailboxImport::init()
{
    QVERIFY(m_fx.setUp());
}

void TestMailboxImport::cleanup()
{
    m_fx.tearDown();
}

QString TestMailboxImport::write(const QString& name, const QByteArray& bytes)
{
    return m_fx.file(name, bytes);
}

int TestMailboxImport::rows(const char* table)
{
    return m_fx.rows(table);
}

QByteArray TestMailboxImport::fetched(int n)
{
    const QDateTime date(QDate(2024, 1, 5), QTime(9, 3, 10 + n), Qt::UTC);
    const auto result = ArchiveFetch::FetchMsgDat(*m_fx.dm, QStringLiteral("<box%1@example.jp>").arg(n),
                                                  date.toLocalTime(), m_fx.env->root() + QStringLiteral("/fetched"));
    return result.ok ? TestEnvironment::readFile(result.path) : QByteArray();
}

void TestMailboxImport::mboxReadsAsPythonDoes_data()
{
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<bool>("crlf");
    QTest::newRow("LF, quoted From line") << mbox({mail(1), mail(2), mail(3)}) << false;
    QTest::newRow("CRLF") << mbox({mail(1, "\r\n"), mail(2, "\r\n")}, "\r\n") << true;
    QTest::newRow("empty mailbox") << QByteArray() << false;
    QTest::newRow("last message without its blank line") << mbox({mail(1), mail(2)}, "\n", false) << false;
    QTest::newRow("truncated last message") << mbox({mail(1), mail(2).left(40)}, "\n", false) << false;
    QTest::newRow("client status headers kept")
        << mbox({"X-Mozilla-Status: 0001\nX-Mozilla-Status2: 00000000\n" + mail(1)}) << false;
}

void TestMailboxImport::mboxReadsAsPythonDoes()
{
    QFETCH(QByteArray, box);
    QFETCH(bool, crlf);
    const QString path = write(QStringLiteral("Inbox"), box);
    QCOMPARE(MailboxReader::kindOf(path), MailboxReader::Kind::Mbox);
    const QList<QByteArray> ours = ourReads(path);
    QList<QByteArray> python = pythonReads(path);
    if (python.isEmpty() && !box.isEmpty())
        QSKIP("python3 is not available");
    // Python takes only "\n" for a blank line, so in a CRLF file it keeps
    // the blank line that ends each message; the reader drops it there too.
    if (crlf) {
        for (QByteArray& m : python) {
            if (m.endsWith("\r\n\r\n"))
                m.chop(2);
        }
    }
    QCOMPARE(ours, python);
    for (const QByteArray& m : ours)
        QVERIFY(!m.startsWith("From ")); // the separator is not part of a message
}

void TestMailboxImport::maildirFoldersAndTree()
{
    const QString root = m_fx.env->root() + QStringLiteral("/Maildir");
    TestEnvironment::writeFile(root + QStringLiteral("/cur/1.host:2,S"), mail(1));
    TestEnvironment::writeFile(root + QStringLiteral("/new/2.host"), mail(2));
    QDir().mkpath(root + QStringLiteral("/tmp"));
    TestEnvironment::writeFile(root + QStringLiteral("/.Sent/cur/3.host:2,S"), mail(3));
    TestEnvironment::writeFile(root + QStringLiteral("/Archive/2023/new/4.host"), mail(4));
    QCOMPARE(MailboxReader::kindOf(root), MailboxReader::Kind::Maildir);
    QStringList seen;
    MailboxReader::forEachMessage(root, [&](const MailboxReader::Message& m) {
        seen << MailboxReader::storedName(m);
        return true;
    });
    QCOMPARE(
        seen,
        (QStringList{QStringLiteral("Maildir_000001.eml"), QStringLiteral("Maildir_000002.eml"),
                     QStringLiteral("Maildir_Sent_000001.eml"), QStringLiteral("Maildir_Archive_2023_000001.eml")}));
    const auto summary = MailboxImport::import(*m_fx.dm, root, {});
    QCOMPARE(summary.registered, 4);
    QCOMPARE(fetched(3), mail(3));
    // A folder above Maildirs is a tree of them; an unrelated folder or file is neither.
    QCOMPARE(MailboxReader::kindOf(m_fx.env->root()), MailboxReader::Kind::Maildir);
    QDir().mkpath(m_fx.env->root() + QStringLiteral("/plain/folder"));
    QCOMPARE(MailboxReader::kindOf(m_fx.env->root() + QStringLiteral("/plain")), MailboxReader::Kind::None);
    QCOMPARE(MailboxReader::kindOf(write(QStringLiteral("notes.txt"), "hello")), MailboxReader::Kind::None);
    QVERIFY(!MailboxImport::import(*m_fx.dm, m_fx.env->root() + QStringLiteral("/plain"), {}).error.isEmpty());
}

void TestMailboxImport::importRegistersRefusesAndFetchesBack()
{
    const QString path = write(QStringLiteral("Inbox"),
                               mbox({mail(1), mail(2, "\n", false), mail(3), mail(4, "\n", true, false), mail(5)}));
    m_fx.dm->close();
    const QString bin = qEnvironmentVariable("TALLOWIN_BIN_DIR") + QStringLiteral("/tallowin-cli");
    QProcess p;
    p.start(bin, {QStringLiteral("archive"), QStringLiteral("import"), m_fx.archive, path});
    QVERIFY(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    QCOMPARE(p.exitCode(), 1);
    QVERIFY2(out.contains(QStringLiteral("Inbox #2: Message-ID がありません\n")), qPrintable(out));
    QVERIFY(out.contains(QStringLiteral("Inbox #4: 日付がありません\n")));
    QVERIFY(out.contains(QStringLiteral("登録 3 通、置き換え 0 通、登録済み 0 通、登録できず 2 通")));
    QVERIFY(m_fx.dm->open());
    QCOMPARE(rows("Message_IdxTbl"), 3);
    // Every registered message fetches back as the independent reader reads it.
    const QList<QByteArray> python = pythonReads(path);
    for (const int n : {1, 3, 5})
        QCOMPARE(fetched(n), python.isEmpty() ? mail(n) : python.at(n - 1));
    QSqlQuery q(m_fx.dm->database());
    QVERIFY(q.exec(
        QStringLiteral("select Message_FileName, Message_FileExt from Message_DatTBL order by Message_FileName")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Inbox_000001.eml"));
    QCOMPARE(q.value(1).toString(), QStringLiteral(".eml"));
}

void TestMailboxImport::secondRunAddsNothing()
{
    const QString path = write(QStringLiteral("Inbox"), mbox({mail(1), mail(2), mail(3)}));
    auto summary = MailboxImport::import(*m_fx.dm, path, {});
    QCOMPARE(summary.registered, 3);
    summary = MailboxImport::import(*m_fx.dm, path, {});
    QCOMPARE(summary.registered, 0);
    QCOMPARE(summary.replaced, 0);
    QCOMPARE(summary.alreadyArchived, 3);
    QCOMPARE(rows("Message_IdxTbl"), 3);
    QCOMPARE(rows("Message_DatTBL"), 3);
}

void TestMailboxImport::cancelledImportCompletesLater()
{
    const QString path = write(QStringLiteral("Inbox"), mbox({mail(1), mail(2), mail(3), mail(4), mail(5)}));
    MailboxImport::Options options;
    options.commitEvery = 2;
    options.progress = [](const MailboxImport::Summary& s) { return s.handled() < 3; };
    auto summary = MailboxImport::import(*m_fx.dm, path, options);
    QVERIFY(summary.cancelled);
    QCOMPARE(summary.registered, 3);
    QCOMPARE(rows("Message_IdxTbl"), 3); // what was handled is committed, whole
    summary = MailboxImport::import(*m_fx.dm, path, {});
    QCOMPARE(summary.alreadyArchived, 3);
    QCOMPARE(summary.registered, 2);
    QCOMPARE(rows("Message_DatTBL"), 5);
}

void TestMailboxImport::killedImportLeavesWholeMessagesAndCompletes()
{
    QList<QByteArray> messages;
    for (int n = 1; n <= 40; ++n)
        messages << mail(n) + QByteArray(20000, 'x') + "\n";
    const QString path = write(QStringLiteral("Big"), mbox(messages));
    m_fx.dm->close();
    const QString bin = qEnvironmentVariable("TALLOWIN_BIN_DIR") + QStringLiteral("/tallowin-cli");
    for (const int afterMs : {150, 300}) {
        QProcess p;
        p.start(bin,
                {QStringLiteral("archive"), QStringLiteral("import"), QStringLiteral("--commit-every"),
                 QStringLiteral("3"), m_fx.archive, path});
        QVERIFY(p.waitForStarted());
        QTest::qWait(afterMs);
        p.kill();
        p.waitForFinished();
    }
    // Every committed message is whole: no index row without its file.
    QVERIFY(m_fx.dm->open());
    const auto report = ArchiveVerification::verify(*m_fx.dm);
    QVERIFY2(report.ok(), qPrintable(report.problems.value(0).describe()));
    const auto summary = MailboxImport::import(*m_fx.dm, path, {});
    QVERIFY(summary.ok());
    QCOMPARE(summary.registered + summary.alreadyArchived, 40);
    QCOMPARE(rows("Message_IdxTbl"), 40);
}

QTEST_GUILESS_MAIN(TestMailboxImport)
#include "tst_MailboxImport.moc"
