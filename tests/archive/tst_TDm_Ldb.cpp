#include "archive/ArchiveListModel.h"
#include "archive/ArchiveSchema.h"
#include "archive/ArchiveTarget.h"
#include "archive/ArchiveVerification.h"
#include "archive/FirebirdClient.h"
#include "archive/TDm_Ldb.h"
#include "platform/ChildProcessRunner.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QtTest>

#include <memory>

namespace {

bool insertMessage(TDm_Ldb& dm, const QString& id, const QDateTime& date, const QString& subject, const QString& body,
                   const QByteArray& file)
{
    QSqlQuery& q = dm.FDQry();
    q.prepare(QStringLiteral("insert into Message_IdxTbl (Message_ID, Message_Date, Sender_Name, Message_Subject, "
                             "Message_dtype, Message_ftype, MailBody) values (:id, :date, :sender, :subject, '1', "
                             "'1', :body)"));
    q.bindValue(QStringLiteral(":id"), id);
    q.bindValue(QStringLiteral(":date"), date);
    q.bindValue(QStringLiteral(":sender"), QStringLiteral("𠮟田 花子"));
    q.bindValue(QStringLiteral(":subject"), subject);
    q.bindValue(QStringLiteral(":body"), body);
    if (!q.exec()) {
        qWarning() << q.lastError().text();
        return false;
    }
    QSqlQuery& d = dm.FDQry();
    d.prepare(QStringLiteral("insert into Message_DatTBL (Message_ID, Message_Date, Message_FileName, "
                             "Message_FileExt, MailDat) values (:id, :date, :name, '.eml', :data)"));
    d.bindValue(QStringLiteral(":id"), id);
    d.bindValue(QStringLiteral(":date"), date);
    d.bindValue(QStringLiteral(":name"), id.mid(1, 4) + QStringLiteral(".eml"));
    d.bindValue(QStringLiteral(":data"), file);
    if (!d.exec()) {
        qWarning() << d.lastError().text();
        return false;
    }
    return true;
}

// Runs the command-line check in another process: it succeeds only when no
// other process has the archive open.
int checkFromAnotherProcess(const QString& path, QString* output = nullptr)
{
    QProcess cli;
    cli.start(qEnvironmentVariable("TALLOWIN_BIN_DIR") + QStringLiteral("/tallowin-cli"),
              {QStringLiteral("archive"), QStringLiteral("check"), path});
    if (!cli.waitForFinished(20000))
        return -1;
    if (output)
        *output = QString::fromUtf8(cli.readAllStandardOutput() + cli.readAllStandardError());
    return cli.exitCode();
}

} // namespace

class TestTDm_Ldb : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void captionRules_data();
    void captionRules();
    void createMakesSchema();
    void createNeverOverwrites();
    void textOutsideBasicPlaneSurvives();
    void localDateTimeRoundTrip();
    void listIsNewestFirstAndDataQueryFetchesFile();
    void closeReleasesTheFileEvenWithOpenQueries();
    void secondProcessGetsClearMessage();
    void monitorReadsRealOnDiskStructure();
    void upgradeRunsOnlyForOds13_0_data();
    void upgradeRunsOnlyForOds13_0();
    void startupWithoutUsableDatabase();
    void connectionCheck();
    void readOnlyArchiveSaysWhy();
    void colonInALocalPathIsExplained();

private:
    std::unique_ptr<TestEnvironment> m_env;
    QString m_archive;
    bool m_terminated = false;
    std::unique_ptr<ChildProcessRunner> m_runner;
};

void TestTDm_Ldb::initTestCase()
{
    useProcessWideFirebirdLockFolder();
}

void TestTDm_Ldb::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_archive = m_env->root() + QStringLiteral("/data/archive.fdb");
    QDir().mkpath(m_env->root() + QStringLiteral("/data"));
    QCOMPARE(createArchive(ArchiveTarget{QString(), m_archive}), QString());
    m_runner = std::make_unique<ChildProcessRunner>(m_terminated);
}

void TestTDm_Ldb::cleanup()
{
    m_runner.reset();
    m_env.reset();
}

void TestTDm_Ldb::captionRules_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("local");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("databaseName");
    QTest::newRow("empty host") << ""
                                << "/data/mail.fdb" << true << "Tallowin 管理 -- mail.fdb"
                                << "/data/mail.fdb";
    QTest::newRow("LOCALHOST") << "LOCALHOST"
                               << "/data/mail.fdb" << true << "Tallowin 管理 -- mail.fdb"
                               << "/data/mail.fdb";
    QTest::newRow("db-localhost-1") << "db-localhost-1"
                                    << "/a/b.fdb" << true << "Tallowin 管理 -- b.fdb"
                                    << "/a/b.fdb";
    QTest::newRow("server") << "srv"
                            << "D:\\data\\mail.fdb" << false << "Tallowin 管理 -- srv:mail.fdb"
                            << "srv:D:\\data\\mail.fdb";
    QTest::newRow("server with port") << "127.0.0.1/3051"
                                      << "/srv/アーカイブ.fdb" << false
                                      << "Tallowin 管理 -- 127.0.0.1/3051:アーカイブ.fdb"
                                      << "127.0.0.1/3051:/srv/アーカイブ.fdb";
}

void TestTDm_Ldb::captionRules()
{
    QFETCH(QString, host);
    QFETCH(QString, path);
    QFETCH(bool, local);
    QFETCH(QString, caption);
    QFETCH(QString, databaseName);
    const ArchiveTarget target{host, path};
    QCOMPARE(target.isLocal(), local);
    QCOMPARE(archiveCaption(target), caption);
    QCOMPARE(target.databaseName(), databaseName);
}

void TestTDm_Ldb::createMakesSchema()
{
    TDm_Ldb dm(*m_runner, m_env->programFolder());
    dm.pointConnection(ArchiveTarget{QString(), m_archive});
    QVERIFY(dm.open());
    const QStringList tables = dm.database().tables(QSql::Tables);
    QVERIFY(tables.contains(QStringLiteral("MESSAGE_IDXTBL"), Qt::CaseInsensitive));
    QVERIFY(tables.contains(QStringLiteral("MESSAGE_DATTBL"), Qt::CaseInsensitive));
    const QSqlRecord view = dm.database().record(QStringLiteral("MAIL_VIEW"));
    QStringList columns;
    for (int i = 0; i < view.count(); ++i)
        columns << view.fieldName(i).toUpper();
    QCOMPARE(
        columns,
        (QStringList{QStringLiteral("MESSAGE_ID"), QStringLiteral("MESSAGE_DATE"), QStringLiteral("ACCOUNT_KEY"),
                     QStringLiteral("SENDER_NAME"), QStringLiteral("SENDER_ADDRESS"), QStringLiteral("RECIEVE_NAME"),
                     QStringLiteral("RECIEVE_ADDRESS"), QStringLiteral("MESSAGE_SUBJECT"),
                     QStringLiteral("MESSAGE_FILENAME"), QStringLiteral("MAILBODY")}));
    // The key pair is unique in both tables.
    const QDateTime date(QDate(2024, 1, 5), QTime(9, 3, 7));
    QVERIFY(insertMessage(dm, QStringLiteral("<a@x>"), date, QStringLiteral("s"), QStringLiteral("b"), "x"));
    QVERIFY(!insertMessage(dm, QStringLiteral("<a@x>"), date, QStringLiteral("s"), QStringLiteral("b"), "x"));
    QVERIFY(!dm.FDQry().exec(QStringLiteral("insert into Message_DatTBL (Message_ID, Message_Date) values "
                                            "('<a@x>', '2024-01-05 09:03:07')")));
    QVERIFY(archiveSchemaStatements().size() >= 4);
}

void TestTDm_Ldb::createNeverOverwrites()
{
    const QByteArray before = TestEnvironment::readFile(m_archive);
    const QString error = createArchive(ArchiveTarget{QString(), m_archive});
    QVERIFY(!error.isEmpty());
    QCOMPARE(TestEnvironment::readFile(m_archive), before);
    const QString notAFolder = m_env->root() + QStringLiteral("/missing-folder/x.fdb");
    QVERIFY(!createArchive(ArchiveTarget{QString(), notAFolder}).isEmpty());
    QVERIFY(!QFileInfo::exists(notAFolder));
}

void TestTDm_Ldb::textOutsideBasicPlaneSurvives()
{
    TDm_Ldb dm(*m_runner, m_env->programFolder());
    dm.pointConnection(ArchiveTarget{QString(), m_archive});
    QVERIFY(dm.open());
    const QString subject = QStringLiteral("𠮟責のお知らせ 😀 ①㈱Ⅱ");
    const QString body = QStringLiteral("本文 𠮟 🎉\n二行目 𩸽");
    const QDateTime date(QDate(2023, 12, 31), QTime(23, 59, 59));
    QVERIFY(insertMessage(dm, QStringLiteral("<bmp@x>"), date, subject, body, "raw"));
    dm.close();
    QVERIFY(dm.open());
    QSqlQuery& q = dm.FDQry();
    QVERIFY(q.exec(QStringLiteral("select MESSAGE_SUBJECT, MAILBODY, SENDER_NAME from MAIL_VIEW")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), subject);
    QCOMPARE(q.value(1).toString(), body);
    QCOMPARE(q.value(2).toString(), QStringLiteral("𠮟田 花子"));
}

void TestTDm_Ldb::localDateTimeRoundTrip()
{
    TDm_Ldb dm(*m_runner, m_env->programFolder());
    dm.pointConnection(ArchiveTarget{QString(), m_archive});
    QVERIFY(dm.open());
    const QDateTime date(QDate(2024, 1, 5), QTime(9, 3, 7), Qt::LocalTime);
    QVERIFY(insertMessage(dm, QStringLiteral("<time@x>"), date, QStringLiteral("t"), QStringLiteral("b"), "f"));
    QSqlQuery& q = dm.FDQry();
    QVERIFY(q.exec(QStringLiteral("select MESSAGE_DATE, cast(MESSAGE_DATE as varchar(30)) from MAIL_VIEW")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toDateTime(), date);
    QCOMPARE(q.value(0).toDateTime().time(), QTime(9, 3, 7));
    // Stored as the wall-clock time the display shows, with no zone shift.
    QVERIFY(q.value(1).toString().startsWith(QStringLiteral("2024-01-05 09:03:07")));
    q.finish();
    // The key addresses the row with the same local date-time.
    QString error;
    QVERIFY(dm.fetchMessageData(QStringLiteral("<time@x>"), date, &error).has_value());
}

void TestTDm_Ldb::listIsNewestFirstAndDataQueryFetchesFile()
{
    TDm_Ldb dm(*m_runner, m_env->programFolder());
    dm.pointConnection(ArchiveTarget{QString(), m_archive});
    QVERIFY(dm.open());
    QByteArray binary(70000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char(i * 7);
    const QDateTime older(QDate(2020, 5, 1), QTime(8, 0));
    const QDateTime newer(QDate(2024, 5, 1), QTime(8, 0));
    const QDateTime middle(QDate(2022, 5, 1), QTime(8, 0));
    QVERIFY(insertMessage(dm, QStringLiteral("<old1@x>"), older, QStringLiteral("old"), QString(), "o"));
    QVERIFY(insertMessage(dm, QStringLiteral("<new1@x>"), newer, QStringLiteral("new"), QString(), binary));
    QVERIFY(insertMessage(dm, QStringLiteral("<mid1@x>"), middle, QStringLiteral("mid"), QString(), "m"));

    QString error;
    QVERIFY2(dm.openList(&error), qPrintable(error));
    QVERIFY(dm.isListOpen());
    ArchiveListModel* list = dm.FDTbl1();
    QCOMPARE(list->rowCount(), 3);
    QCOMPARE(list->columnCount(), 10);
    QCOMPARE(list->data(list->index(0, 7)).toString(), QStringLiteral("new"));
    QCOMPARE(list->data(list->index(1, 7)).toString(), QStringLiteral("mid"));
    QCOMPARE(list->data(list->index(2, 7)).toString(), QStringLiteral("old"));
    QCOMPARE(list->data(list->index(0, 8)).toString(), QStringLiteral("new1.eml"));

    const auto data = dm.fetchMessageData(QStringLiteral("<new1@x>"), newer, &error);
    QVERIFY(data.has_value());
    QCOMPARE(data->fileName, QStringLiteral("new1.eml"));
    QCOMPARE(data->fileExt, QStringLiteral(".eml"));
    QCOMPARE(data->bytes, binary);
    QVERIFY(!dm.fetchMessageData(QStringLiteral("<none@x>"), newer, &error).has_value());
    QVERIFY(error.isEmpty()); // no row is not an error of the statement
    dm.closeList();
    QVERIFY(!dm.isListOpen());
    QCOMPARE(list->rowCount(), 0);
}

void TestTDm_Ldb::closeReleasesTheFileEvenWithOpenQueries()
{
    {
        TDm_Ldb dm(*m_runner, m_env->programFolder());
        dm.pointConnection(ArchiveTarget{QString(), m_archive});
        QVERIFY(dm.open());
        for (int i = 0; i < 3; ++i) {
            QVERIFY(insertMessage(dm, QStringLiteral("<m%1@x>").arg(i), QDateTime(QDate(2024, 1, 1 + i), QTime(1, 0)),
                                  QStringLiteral("s"), QStringLiteral("b"), "f"));
        }
        QVERIFY(dm.openList());
        QSqlQuery& unfinished = dm.FDQry();
        QVERIFY(unfinished.exec(QStringLiteral("select * from Message_IdxTbl")));
        QVERIFY(unfinished.next()); // a SELECT left half read
        dm.close();
        QVERIFY(!dm.isOpen());
        // Another process can have the file now: the engine let it go.
        QCOMPARE(checkFromAnotherProcess(m_archive), 0);
        QVERIFY(dm.open());
        QVERIFY(dm.openList());
        QCOMPARE(dm.FDTbl1()->rowCount(), 3);
    }
    QCOMPARE(checkFromAnotherProcess(m_archive), 0);
}

void TestTDm_Ldb::secondProcessGetsClearMessage()
{
    TDm_Ldb dm(*m_runner, m_env->programFolder());
    dm.pointConnection(ArchiveTarget{QString(), m_archive});
    QVERIFY(dm.open());
    QElapsedTimer timer;
    timer.start();
    QString output;
    QCOMPARE(checkFromAnotherProcess(m_archive, &output), 1);
    QVERIFY(timer.elapsed() < 15000);
    QVERIFY2(output.contains(QStringLiteral("別のプログラムが使用中です")), qPrintable(output));
    QVERIFY(output.contains(QStringLiteral("Data Base 接続NG!!")));
}

void TestTDm_Ldb::readOnlyArchiveSaysWhy()
{
    ReadOnlyFile locked(m_archive);
    if (!locked.active())
        QSKIP("this file system cannot make a file read-only");
    TDm_Ldb dm(*m_runner, m_env->programFolder());
    dm.pointConnection(ArchiveTarget{QString(), m_archive});
    QString error;
    if (dm.open(&error))
        QSKIP("the engine opened the read-only file");
    QVERIFY2(error.contains(QStringLiteral("書き込みできないため開けません")), qPrintable(error));
    QVERIFY(error.contains(m_archive));
    QVERIFY(error.contains(QStringLiteral("コピーしてから開いてください")));
}

void TestTDm_Ldb::colonInALocalPathIsExplained()
{
    // "backup 10:30.fdb" is a local file, never a server's address: it is
    // created, opened and listed like any other archive.
    const QString named = m_env->root() + QStringLiteral("/data/backup 10:30.fdb");
    QCOMPARE(createArchive(ArchiveTarget{QString(), named}), QString());
    QVERIFY(QFileInfo::exists(named));
    {
        TDm_Ldb dm(*m_runner, m_env->programFolder());
        dm.pointConnection(ArchiveTarget{QString(), named});
        QString error;
        QVERIFY2(dm.open(&error), qPrintable(error));
        QVERIFY(dm.openList(&error));
        QCOMPARE(dm.caption(), QStringLiteral("Tallowin 管理 -- backup 10:30.fdb"));
        const auto report = ArchiveVerification::verify(dm); // gfix is given the second name too
        QVERIFY2(report.ok(), qPrintable(report.problems.value(0).describe()));
        dm.close();
    }
    // The second name it was opened by is gone again.
    QCOMPARE(QDir(m_env->root() + QStringLiteral("/data"))
                 .entryList({QStringLiteral(".tallowin-*")}, QDir::Files | QDir::Hidden),
             QStringList());
    // A folder with ":" in its own path cannot be helped that way: said clearly.
    const QString inFolder = m_env->root() + QStringLiteral("/data/10:30/mail.fdb");
    QDir().mkpath(QFileInfo(inFolder).absolutePath());
    QVERIFY(createArchive(ArchiveTarget{QString(), inFolder}).contains(QStringLiteral("「:」を含まないフォルダー")));
    QVERIFY(QFile::copy(m_archive, inFolder));
    TDm_Ldb dm(*m_runner, m_env->programFolder());
    dm.pointConnection(ArchiveTarget{QString(), inFolder});
    QString error;
    QVERIFY(!dm.open(&error));
    QVERIFY2(error.contains(QStringLiteral("「:」を含まないフォルダー")), qPrintable(error));
    const ArchiveTarget onServer{QStringLiteral("dbserver"), QStringLiteral("C:/data/mail.fdb")};
    QVERIFY(!onServer.localPathUnusable());
}

void TestTDm_Ldb::monitorReadsRealOnDiskStructure()
{
    TDm_Ldb dm(*m_runner, m_env->programFolder());
    dm.pointConnection(ArchiveTarget{QString(), m_archive});
    QVERIFY(dm.open());
    QString error;
    const auto row = dm.readMonitor(&error);
    QVERIFY2(row.has_value(), qPrintable(error));
    QCOMPARE(row->databaseName, m_archive);
    QVERIFY(row->ods.major >= 12);
    QVERIFY(!TDm_Ldb::needsUpgrade(row->ods) || row->ods.major == 13);
}

void TestTDm_Ldb::upgradeRunsOnlyForOds13_0_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("runs");
    QTest::newRow("13.0 (Firebird 4)") << 13 << 0 << true;
    QTest::newRow("13.1 (Firebird 5)") << 13 << 1 << false;
    QTest::newRow("12.0 (Firebird 3)") << 12 << 0 << false;
}

void TestTDm_Ldb::upgradeRunsOnlyForOds13_0()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, runs);
    // A stand-in for the upgrade tool in the program folder's Firebird
    // folder: it records its arguments and takes a moment, as the real one does.
    const QString record = m_env->root() + QStringLiteral("/gfix-called.txt");
    const QString tool = m_env->programFolder() + QStringLiteral("firebird/gfix");
    TestEnvironment::writeFile(
        tool, QStringLiteral("#!/bin/sh\nsleep 0.2\nprintf '%s\\n' \"$@\" > '%1'\n").arg(record).toUtf8());
    QFile::setPermissions(tool, QFile::permissions(tool) | QFileDevice::ExeOwner);

    TDm_Ldb dm(*m_runner, m_env->programFolder());
    QCOMPARE(dm.upgradeToolPath(), tool);
    dm.setOdsProbe([major, minor] { return TDm_Ldb::OdsVersion{major, minor}; });
    m_terminated = false;
    const TDm_Ldb::StartupResult result = dm.connectAtStartup(ArchiveTarget{QString(), m_archive});
    QVERIFY(result.connected);
    QVERIFY(dm.isOpen());
    QCOMPARE(result.caption, QStringLiteral("Tallowin 管理 -- archive.fdb"));
    QCOMPARE(result.upgraded, runs);
    QCOMPARE(QFileInfo::exists(record), runs);
    QCOMPARE(m_terminated, runs);
    if (runs) {
        QCOMPARE(QString::fromUtf8(TestEnvironment::readFile(record)).split(u'\n', Qt::SkipEmptyParts),
                 (QStringList{QStringLiteral("-upgrade"), m_archive, QStringLiteral("-user"), QStringLiteral("sysdba"),
                              QStringLiteral("-pass"), QStringLiteral("plonkiver")}));
    }
}

void TestTDm_Ldb::startupWithoutUsableDatabase()
{
    TDm_Ldb dm(*m_runner, m_env->programFolder());
    QSignalSpy captions(&dm, &TDm_Ldb::captionChanged);
    TDm_Ldb::StartupResult result = dm.connectAtStartup(ArchiveTarget{QString(), QString()});
    QVERIFY(!result.connected);
    QCOMPARE(result.caption, QStringLiteral("Tallowin 管理"));
    QCOMPARE(captions.last().first().toString(), QStringLiteral("Tallowin 管理"));

    TestEnvironment::writeFile(m_env->root() + QStringLiteral("/garbage.fdb"), QByteArray(8192, 'x'));
    result = dm.connectAtStartup(ArchiveTarget{QString(), m_env->root() + QStringLiteral("/garbage.fdb")});
    QVERIFY(!result.connected);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(result.caption, QStringLiteral("Tallowin 管理"));
}

void TestTDm_Ldb::connectionCheck()
{
    TDm_Ldb dm(*m_runner, m_env->programFolder());
    QString error;
    QVERIFY(dm.checkConnection(ArchiveTarget{QStringLiteral("localhost"), m_archive}, &error));
    QVERIFY(!dm.isOpen());
    QVERIFY(!dm.checkConnection(ArchiveTarget{QString(), m_env->root() + QStringLiteral("/none.fdb")}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!dm.isOpen());
}

QTEST_GUILESS_MAIN(TestTDm_Ldb)
#include "tst_TDm_Ldb.moc"
