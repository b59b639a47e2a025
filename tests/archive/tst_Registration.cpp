#include "archive/ArchiveFetch.h"
#include "archive/ArchiveListModel.h"
#include "archive/ArchiveTexts.h"
#include "archive/ArchiveVerification.h"
#include "archive/FirebirdClient.h"
#include "archive/ListRules.h"
#include "archive/Registration.h"
#include "archive/TDm_Ldb.h"
#include "platform/ChildProcessRunner.h"
#include "reading/DisplayedMessage.h"
#include "support/ArchiveFixture.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlQuery>
#include <QtTest>

namespace {

Registration::Input inputFor(const QString& file, const QString& id, const QString& date, const QString& subject)
{
    Registration::Input input;
    input.fields.Message_ID = id;
    input.fields.Message_Date = date;
    input.fields.Sender_Name = QStringLiteral("𠮟田");
    input.fields.Message_Subject = subject;
    input.MDatType = 2;
    input.date = MessageFields::parseMessageDate(date);
    input.mailBody = QStringLiteral("本文 ") + subject;
    input.fileName = QFileInfo(file).fileName();
    input.bytes = TestEnvironment::readFile(file);
    return input;
}

} // namespace

class TestRegistration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useProcessWideFirebirdLockFolder(); }
    void init();
    void cleanup();
    void registersBothRows();
    void registeringAgainKeepsOneRowWithLastValues();
    void emptyIdAndBadDateWriteNothing();
    void failureBetweenRowsLeavesNoPartialEntry();
    void unreadableFileLeavesNoPartialEntry();
    void fileTypeAndRegisteredFile();
    void fetchReplacesOlderFileAndReportsMissingData();
    void listIsNewestFirstAndSortsByColumn();
    void fontSteps_data();
    void fontSteps();
    void sortParity();
    void commandLineRegisterListFetch();
    void fitColumn_data();
    void fitColumn();
    void longFileNameAndExtensionAreStoredWithTheirData();
    void replacementIsReported();
    void verifyFindsWhatIsWrong();
    void registerReportsEachFileAsItIsDone();
    void engineOutput_data();
    void engineOutput();

private:
    QString mail(const QString& name, const QByteArray& bytes);

    ArchiveFixture m_fx;
};

void TestRegistration::init()
{
    QVERIFY(m_fx.setUp());
}

void TestRegistration::cleanup()
{
    m_fx.tearDown();
}

QString TestRegistration::mail(const QString& name, const QByteArray& bytes)
{
    return m_fx.file(name, bytes);
}

void TestRegistration::registersBothRows()
{
    const QString file = mail(QStringLiteral("a.eml"), "raw bytes \x00\x01 of the file");
    const auto result = Registration::registerMessage(
        *m_fx.dm,
        inputFor(file, QStringLiteral("<a@x>"), QStringLiteral("2024/01/05 9:03:07"), QStringLiteral("件名")));
    QVERIFY2(result.ok(), qPrintable(result.message));
    QSqlQuery q(m_fx.dm->database());
    QVERIFY(q.exec(QStringLiteral("select i.Sender_Name, i.Message_Subject, i.Message_dtype, i.Message_ftype, "
                                  "i.MailBody, d.Message_FileName, d.Message_FileExt, d.MailDat, i.Message_Date "
                                  "from Message_IdxTbl i join Message_DatTBL d on d.Message_ID = i.Message_ID")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("𠮟田"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("件名"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("2"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("1"));
    QCOMPARE(q.value(4).toString(), QStringLiteral("本文 件名"));
    QCOMPARE(q.value(5).toString(), QStringLiteral("a.eml"));
    QCOMPARE(q.value(6).toString(), QStringLiteral(".eml"));
    QCOMPARE(q.value(7).toByteArray(), TestEnvironment::readFile(file));
    QCOMPARE(q.value(8).toDateTime(), QDateTime(QDate(2024, 1, 5), QTime(9, 3, 7)));
}

void TestRegistration::registeringAgainKeepsOneRowWithLastValues()
{
    const QString first = mail(QStringLiteral("first.eml"), "first file");
    const QString second = mail(QStringLiteral("second.msg"), "second file");
    QVERIFY(
        Registration::registerMessage(
            *m_fx.dm, inputFor(first, QStringLiteral("<same@x>"), QStringLiteral("2024/01/05"), QStringLiteral("old")))
            .ok());
    // The same key again: the insert fails and the update replaces the values.
    QVERIFY(Registration::registerMessage(
                *m_fx.dm,
                inputFor(second, QStringLiteral("<same@x>"), QStringLiteral("2024/01/05"), QStringLiteral("edited")))
                .ok());
    QCOMPARE(m_fx.rows("Message_IdxTbl"), 1);
    QCOMPARE(m_fx.rows("Message_DatTBL"), 1);
    QSqlQuery q(m_fx.dm->database());
    QVERIFY(q.exec(QStringLiteral("select i.Message_Subject, i.Message_ftype, d.Message_FileName, d.MailDat from "
                                  "Message_IdxTbl i join Message_DatTBL d on d.Message_ID = i.Message_ID")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("edited"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("2"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("second.msg"));
    QCOMPARE(q.value(3).toByteArray(), QByteArray("second file"));
}

void TestRegistration::emptyIdAndBadDateWriteNothing()
{
    const QString file = mail(QStringLiteral("a.eml"), "x");
    auto result = Registration::registerMessage(
        *m_fx.dm, inputFor(file, QStringLiteral("  "), QStringLiteral("2024/01/05"), QStringLiteral("s")));
    QCOMPARE(result.status, Registration::Result::Status::EmptyId);
    QCOMPARE(result.message, QStringLiteral("このメールデータはDB更新できません"));
    result = Registration::registerMessage(
        *m_fx.dm, inputFor(file, QStringLiteral("<a@x>"), QStringLiteral("05.01.2024"), QStringLiteral("s")));
    QCOMPARE(result.status, Registration::Result::Status::NoDate);
    // Said in Japanese, with where the date can be typed.
    QVERIFY(result.message.contains(QStringLiteral("日付")));
    QVERIFY(result.message.contains(QStringLiteral("「Message Date:」")));
    QCOMPARE(m_fx.rows("Message_IdxTbl"), 0);
}

void TestRegistration::failureBetweenRowsLeavesNoPartialEntry()
{
    const QString file = mail(QStringLiteral("a.eml"), "x");
    const auto result = Registration::registerMessage(
        *m_fx.dm, inputFor(file, QStringLiteral("<p@x>"), QStringLiteral("2024/01/05 1:02:03"), QStringLiteral("s")),
        [] { return false; });
    QCOMPARE(result.status, Registration::Result::Status::DataFailed);
    QCOMPARE(result.message, QStringLiteral("UPdate できませんでした(Message_DatTBL)"));
    QCOMPARE(m_fx.rows("Message_IdxTbl"), 0);
    QCOMPARE(m_fx.rows("Message_DatTBL"), 0);
    // A later registration of the same message works as if nothing happened.
    QVERIFY(Registration::registerMessage(
                *m_fx.dm,
                inputFor(file, QStringLiteral("<p@x>"), QStringLiteral("2024/01/05 1:02:03"), QStringLiteral("s")))
                .ok());
    QCOMPARE(m_fx.rows("Message_DatTBL"), 1);
}

void TestRegistration::unreadableFileLeavesNoPartialEntry()
{
    // A file that cannot be read is not displayed, so there is nothing to register.
    QString error;
    QVERIFY(!DisplayedMessage::read(m_fx.env->root() + QStringLiteral("/gone.eml"), {}, &error));
    QVERIFY(error.contains(QStringLiteral("gone.eml")));
    QVERIFY(!DisplayedMessage::read(mail(QStringLiteral("empty.eml"), QByteArray()), {}, &error));
    QVERIFY(error.contains(QStringLiteral("空")));
    QCOMPARE(m_fx.rows("Message_IdxTbl"), 0);
}

void TestRegistration::fileTypeAndRegisteredFile()
{
    QCOMPARE(Registration::fileTypeCode(QStringLiteral("a.EML")), QStringLiteral("1"));
    QCOMPARE(Registration::fileTypeCode(QStringLiteral("a.msg")), QStringLiteral("2"));
    QCOMPARE(Registration::fileTypeCode(QStringLiteral("a.txt")), QStringLiteral("0"));
    // What is stored comes from the displayed message: the bytes read for
    // the display under the name it was given, whatever the file holds later.
    const QString work
        = mail(QStringLiteral("work.eml"), "Message-Id: <w@x>\r\nDate: Fri, 05 Jan 2024 09:03:07 +0900\r\n\r\nb\r\n");
    const auto shown = DisplayedMessage::read(work, {}, nullptr, QStringLiteral("dropped.eml"));
    QVERIFY(shown);
    TestEnvironment::writeFile(work, "overwritten later");
    const Registration::Input input = Registration::inputFrom(*shown);
    QCOMPARE(input.fileName, QStringLiteral("dropped.eml"));
    QVERIFY(input.bytes.startsWith("Message-Id: <w@x>"));
    QCOMPARE(input.fields.Message_ID, QStringLiteral("<w@x>"));
    QCOMPARE(input.date, MessageFields::parseMessageDate(input.fields.Message_Date));
}

void TestRegistration::fetchReplacesOlderFileAndReportsMissingData()
{
    const QString file = mail(QStringLiteral("stored.eml"), "the stored bytes");
    QVERIFY(Registration::registerMessage(
                *m_fx.dm,
                inputFor(file, QStringLiteral("<f@x>"), QStringLiteral("2024/02/03 4:05:06"), QStringLiteral("s")))
                .ok());
    const QString work = m_fx.env->root() + QStringLiteral("/mail_dat");
    TestEnvironment::writeFile(work + QStringLiteral("/stored.eml"), "an older file of that name");
    const auto fetched = ArchiveFetch::FetchMsgDat(*m_fx.dm, QStringLiteral("<f@x>"),
                                                   QDateTime(QDate(2024, 2, 3), QTime(4, 5, 6)), work);
    QVERIFY2(fetched.ok, qPrintable(fetched.error));
    QCOMPARE(fetched.path, work + QStringLiteral("/stored.eml"));
    QCOMPARE(fetched.fileExt, QStringLiteral(".eml"));
    QCOMPARE(TestEnvironment::readFile(fetched.path), QByteArray("the stored bytes"));

    // An index row without its data row, as an older program could leave.
    QVERIFY(m_fx.dm->FDQry().exec(QStringLiteral("delete from Message_DatTBL")));
    m_fx.dm->FDQry().finish();
    const auto missing = ArchiveFetch::FetchMsgDat(*m_fx.dm, QStringLiteral("<f@x>"),
                                                   QDateTime(QDate(2024, 2, 3), QTime(4, 5, 6)), work);
    QVERIFY(!missing.ok);
    QVERIFY(missing.noDataRow);
    QCOMPARE(missing.error, ArchiveTexts::kNoDataRow);
    // The index row is still listed, without a file name.
    QVERIFY(m_fx.dm->openList());
    QCOMPARE(m_fx.dm->FDTbl1()->rowCount(), 1);
    QCOMPARE(m_fx.dm->FDTbl1()->data(m_fx.dm->FDTbl1()->index(0, 8)).toString(), QString());
}

void TestRegistration::listIsNewestFirstAndSortsByColumn()
{
    const QString file = mail(QStringLiteral("a.eml"), "x");
    QVERIFY(Registration::registerMessage(
                *m_fx.dm,
                inputFor(file, QStringLiteral("<1@x>"), QStringLiteral("2020/01/01 1:00:00"), QStringLiteral("b件名")))
                .ok());
    QVERIFY(Registration::registerMessage(
                *m_fx.dm,
                inputFor(file, QStringLiteral("<2@x>"), QStringLiteral("2024/01/01 1:00:00"), QStringLiteral("c件名")))
                .ok());
    QVERIFY(Registration::registerMessage(
                *m_fx.dm,
                inputFor(file, QStringLiteral("<3@x>"), QStringLiteral("2022/01/01 1:00:00"), QStringLiteral("A件名")))
                .ok());
    QVERIFY(m_fx.dm->openList());
    ArchiveListModel* list = m_fx.dm->FDTbl1();
    QCOMPARE(list->rowCount(), 3);
    QCOMPARE(list->messageId(0), QStringLiteral("<2@x>"));
    QCOMPARE(list->data(list->index(0, 1)).toString(), QStringLiteral("2024/01/01 1:00:00"));
    // The body is read when asked for.
    QCOMPARE(list->data(list->index(0, ArchiveListModel::BodyColumn)).toString(), QStringLiteral("本文 c件名"));
    list->sort(7, Qt::AscendingOrder);
    QCOMPARE(list->messageId(0), QStringLiteral("<3@x>")); // case is ignored: "A" before "b"
    list->sort(7, Qt::DescendingOrder);
    QCOMPARE(list->messageId(0), QStringLiteral("<2@x>"));
    list->sort(ArchiveListModel::BodyColumn, Qt::AscendingOrder);
    QCOMPARE(list->messageId(0), QStringLiteral("<3@x>"));
    QCOMPARE(list->data(list->index(0, 8)).toString(), QStringLiteral("a.eml"));
    list->sort(8, Qt::DescendingOrder); // every file name is read for it
    QCOMPARE(list->data(list->index(2, 8)).toString(), QStringLiteral("a.eml"));
}

void TestRegistration::fontSteps_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("shrunk");
    QTest::addColumn<int>("enlarged");
    QTest::newRow("10") << 10 << 9 << 11;
    QTest::newRow("11") << 11 << 9 << 12;
    QTest::newRow("20") << 20 << 18 << 22;
    QTest::newRow("8") << 8 << 7 << 9;
    QTest::newRow("1") << 1 << 0 << 2;
}

void TestRegistration::fontSteps()
{
    QFETCH(int, size);
    QFETCH(int, shrunk);
    QFETCH(int, enlarged);
    QCOMPARE(ListRules::shrinkFontSize(size), shrunk);
    QCOMPARE(ListRules::enlargeFontSize(size), enlarged);
}

void TestRegistration::sortParity()
{
    QCOMPARE(ListRules::sortIndexName(QStringLiteral("MESSAGE_SUBJECT"), 0), QStringLiteral("MESSAGE_SUBJECT:D"));
    QCOMPARE(ListRules::sortIndexName(QStringLiteral("SENDER_NAME"), 1), QStringLiteral("SENDER_NAME:A"));
    QCOMPARE(ListRules::sortIndexName(QStringLiteral("MESSAGE_DATE"), 2), QStringLiteral("MESSAGE_DATE:D"));
}

void TestRegistration::commandLineRegisterListFetch()
{
    m_fx.dm->close();
    const QString a = mail(QStringLiteral("a.eml"),
                           "Message-Id: <cli@x>\r\nDate: Fri, 05 Jan 2024 09:03:07 +0000\r\n"
                           "Subject: =?UTF-8?B?5Lu25ZCN?=\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n本文\r\n");
    const QString noId = mail(QStringLiteral("noid.eml"), "Subject: x\r\n\r\nbody\r\n");
    const QString bin = qEnvironmentVariable("TALLOWIN_BIN_DIR") + QStringLiteral("/tallowin-cli");
    QProcess p;
    p.start(bin, {QStringLiteral("archive"), QStringLiteral("register"), m_fx.archive, a, noId});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    QCOMPARE(
        QString::fromUtf8(p.readAllStandardOutput()),
        QStringLiteral("a.eml: registered\nnoid.eml: このメールデータはDB更新できません (Message-ID がありません)\n"));

    p.start(bin, {QStringLiteral("archive"), QStringLiteral("list"), QStringLiteral("--body"), m_fx.archive});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QJsonArray rows = QJsonDocument::fromJson(p.readAllStandardOutput()).array();
    QCOMPARE(rows.size(), 1);
    const QJsonObject row = rows.first().toObject();
    QCOMPARE(row.value(QStringLiteral("MESSAGE_SUBJECT")).toString(), QStringLiteral("件名"));
    QCOMPARE(row.value(QStringLiteral("MAILBODY")).toString(), QStringLiteral("本文"));
    QCOMPARE(row.keys().size(), 10);
    const QString date = row.value(QStringLiteral("MESSAGE_DATE")).toString();

    const QString out = m_fx.env->root() + QStringLiteral("/out");
    QDir().mkpath(out);
    p.start(bin,
            {QStringLiteral("archive"), QStringLiteral("fetch"), m_fx.archive, QStringLiteral("<cli@x>"), date, out});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), out + QStringLiteral("/a.eml"));
    QCOMPARE(TestEnvironment::readFile(out + QStringLiteral("/a.eml")), TestEnvironment::readFile(a));

    // Honest reports: each refusal says why, a replacement says so, and an
    // unknown key is not called a missing file.
    const QString notMail = mail(QStringLiteral("notes.txt"), "Message-Id: <t@x>\r\n\r\nx\r\n");
    const QString empty = mail(QStringLiteral("empty.eml"), QByteArray());
    const QString other = mail(QStringLiteral("other.eml"), TestEnvironment::readFile(a).replace("本文", "別文"));
    p.start(bin, {QStringLiteral("archive"), QStringLiteral("register"), m_fx.archive, notMail, empty, other});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QStringLiteral("notes.txt: メールファイルではありません"));
    QVERIFY2(lines.at(1).startsWith(QStringLiteral("empty.eml: ファイルが空です")), qPrintable(lines.at(1)));
    QCOMPARE(lines.at(2), QStringLiteral("other.eml: replaced"));
    p.start(
        bin,
        {QStringLiteral("archive"), QStringLiteral("fetch"), m_fx.archive, QStringLiteral("<unknown@x>"), date, out});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()).trimmed(), ArchiveTexts::kNoSuchMessage);
    p.start(bin, {QStringLiteral("archive"), QStringLiteral("register"), QStringLiteral("--help")});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(QString::fromUtf8(p.readAllStandardOutput())
                .startsWith(QStringLiteral("usage: tallowin-cli archive register")));
}

void TestRegistration::fitColumn_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("fitted");
    QTest::newRow("short") << QStringLiteral("件名") << 64 << QStringLiteral("件名");
    QTest::newRow("exact") << QStringLiteral("abc") << 3 << QStringLiteral("abc");
    QTest::newRow("cut") << QStringLiteral("abcd") << 3 << QStringLiteral("abc");
    QTest::newRow("pairs count once") << QStringLiteral("𠮟𠮟𠮟") << 2 << QStringLiteral("𠮟𠮟");
    QTest::newRow("never half a pair") << QStringLiteral("a𠮟b") << 2 << QStringLiteral("a𠮟");
    QTest::newRow("empty") << QString() << 1 << QString();
}

void TestRegistration::fitColumn()
{
    QFETCH(QString, value);
    QFETCH(int, size);
    QFETCH(QString, fitted);
    QCOMPARE(Registration::fitColumn(value, size), fitted);
}

void TestRegistration::longFileNameAndExtensionAreStoredWithTheirData()
{
    // An extension longer than its column once left an index row without data.
    const QString file = mail(QStringLiteral("a.") + QStringLiteral("x").repeated(40), "bytes");
    const auto result = Registration::registerMessage(
        *m_fx.dm, inputFor(file, QStringLiteral("<ext@x>"), QStringLiteral("2024/01/05"), QStringLiteral("s")));
    QVERIFY2(result.ok(), qPrintable(result.message));
    QVERIFY(result.shortened.contains(QStringLiteral("Message_FileExt")));
    QCOMPARE(m_fx.rows("Message_IdxTbl"), 1);
    QCOMPARE(m_fx.rows("Message_DatTBL"), 1);
    QSqlQuery q(m_fx.dm->database());
    QVERIFY(q.exec(QStringLiteral("select Message_FileExt, MailDat from Message_DatTBL")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), u'.' + QStringLiteral("x").repeated(15));
    QCOMPARE(q.value(1).toByteArray(), QByteArray("bytes"));
}

void TestRegistration::replacementIsReported()
{
    const QString a = mail(QStringLiteral("a.eml"), "first");
    const QString b = mail(QStringLiteral("b.eml"), "different");
    const auto key = [](const QString& f) {
        return inputFor(f, QStringLiteral("<r@x>"), QStringLiteral("2024/01/05 1:00:00"), QStringLiteral("s"));
    };
    auto result = Registration::registerMessage(*m_fx.dm, key(a));
    QVERIFY(!result.replaced);
    result = Registration::registerMessage(*m_fx.dm, key(a));
    QVERIFY(result.replaced);
    QVERIFY(!result.replacedOther); // the same bytes again
    result = Registration::registerMessage(*m_fx.dm, key(b));
    QVERIFY(result.replacedOther);
    QCOMPARE(m_fx.rows("Message_DatTBL"), 1);
}

void TestRegistration::verifyFindsWhatIsWrong()
{
    // A sound archive: three messages registered as the window registers them.
    QStringList files;
    for (int i = 1; i <= 3; ++i) {
        files << mail(QStringLiteral("v%1.eml").arg(i),
                      QStringLiteral("Message-Id: <v%1@x>\r\nDate: Fri, 05 Jan 2024 09:0%1:07 +0000\r\n"
                                     "Subject: s\r\nContent-Type: text/plain\r\n\r\n")
                              .arg(i)
                              .toUtf8()
                          + QByteArray(60000, char('a' + i)) + "\r\n");
        QString error;
        const auto shown = DisplayedMessage::read(files.last(), {}, &error);
        QVERIFY(shown);
        QVERIFY(Registration::registerMessage(*m_fx.dm, Registration::inputFrom(*shown)).ok());
    }
    auto report = ArchiveVerification::verify(*m_fx.dm);
    QVERIFY2(report.ok(), qPrintable(report.problems.value(0).describe()));
    QCOMPARE(report.messagesChecked, 3);

    // A key typed by hand, an index row without its file, a file without its row.
    QSqlQuery q(m_fx.dm->database());
    QVERIFY(q.exec(QStringLiteral("update Message_DatTBL set Message_ID = '<typed@x>' where Message_ID = '<v1@x>'")));
    QVERIFY(q.exec(QStringLiteral("update Message_IdxTbl set Message_ID = '<typed@x>' where Message_ID = '<v1@x>'")));
    QVERIFY(q.exec(QStringLiteral("delete from Message_DatTBL where Message_ID = '<v2@x>'")));
    QVERIFY(q.exec(QStringLiteral("delete from Message_IdxTbl where Message_ID = '<v3@x>'")));
    q.finish();
    m_fx.dm->database().commit();
    report = ArchiveVerification::verify(*m_fx.dm);
    QStringList found;
    for (const auto& problem : report.problems)
        found << problem.messageId;
    found.sort();
    QCOMPARE(found, (QStringList{QStringLiteral("<typed@x>"), QStringLiteral("<v2@x>"), QStringLiteral("<v3@x>")}));

    // A damaged page: the command line finds it and fails.
    m_fx.dm->close();
    m_fx.dm.reset();
    QFile file(m_fx.archive);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype page = 16384;
    const qsizetype at = bytes.indexOf(QByteArray(2000, 'd')); // in a page of a stored message
    QVERIFY(at >= 0);
    bytes[at - at % page] = 0x07; // the page's type: now it claims to be an index page
    file.seek(0);
    file.write(bytes);
    file.close();
    const QString bin = qEnvironmentVariable("TALLOWIN_BIN_DIR") + QStringLiteral("/tallowin-cli");
    QProcess p;
    p.start(bin, {QStringLiteral("archive"), QStringLiteral("verify"), m_fx.archive});
    QVERIFY(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    QCOMPARE(p.exitCode(), 1);
    QVERIFY2(out.contains(QStringLiteral("Firebird の検証でページの損傷が見つかりました")), qPrintable(out));
    QVERIFY(out.contains(QStringLiteral("件の問題があります")));
    m_fx.dm = std::make_unique<TDm_Ldb>(*m_fx.runner, m_fx.env->programFolder());
}

void TestRegistration::registerReportsEachFileAsItIsDone()
{
    // Output to a pipe is block-buffered unless flushed: a killed run would
    // then have reported nothing of what it stored. Each line must arrive
    // while the run is still going.
    m_fx.dm->close();
    QStringList arguments{QStringLiteral("archive"), QStringLiteral("register"), m_fx.archive};
    for (int i = 0; i < 150; ++i)
        arguments << mail(QStringLiteral("m%1.eml").arg(i),
                          QStringLiteral("Message-Id: <f%1@x>\r\nDate: Fri, 05 Jan 2024 09:03:07 +0000\r\n\r\nb\r\n")
                              .arg(i)
                              .toUtf8());
    QProcess p;
    p.start(qEnvironmentVariable("TALLOWIN_BIN_DIR") + QStringLiteral("/tallowin-cli"), arguments);
    QVERIFY(p.waitForReadyRead(30000));
    p.kill(); // at the first line
    p.waitForFinished();
    const QByteArray reported = p.readAll();
    QVERIFY(reported.startsWith("m0.eml: registered\n"));
    // Block-buffered output would have come only when all 150 were stored.
    QVERIFY(m_fx.dm->open());
    const int stored = m_fx.rows("Message_IdxTbl");
    QVERIFY2(stored < 150, "the first line came only when the run ended");
    // And what was reported is stored.
    QVERIFY(stored >= reported.count('\n'));
}

void TestRegistration::engineOutput_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("damage");
    QTest::newRow("sound") << QString() << false;
    QTest::newRow("orphan pages after a crash")
        << "Summary of validation errors Number of database page warnings : 12" << false;
    QTest::newRow("page errors")
        << "Summary of validation errors Number of database page errors : 1 Number of database page warnings : 1"
        << true;
    QTest::newRow("record errors") << "Summary of validation errors Number of record level errors : 3" << true;
    QTest::newRow("anything else") << "I/O error during open" << true;
}

void TestRegistration::engineOutput()
{
    QFETCH(QString, output);
    QFETCH(bool, damage);
    QCOMPARE(ArchiveVerification::engineOutputShowsDamage(output), damage);
}

QTEST_GUILESS_MAIN(TestRegistration)
#include "tst_Registration.moc"
