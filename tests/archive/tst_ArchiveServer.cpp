// Server mode against a real Firebird server of the test's own on 127.0.0.1.
#include "archive/ArchiveListModel.h"
#include "archive/ArchiveTarget.h"
#include "archive/FirebirdClient.h"
#include "archive/TDm_Ldb.h"
#include "platform/ChildProcessRunner.h"
#include "support/TestEnvironment.h"

#include <QProcess>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTcpServer>
#include <QtTest>

class TestArchiveServer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void createAndConnectThroughServer();
    void wrongFileOnServerFails();

private:
    static int freePort();
    bool runScript(const QStringList& arguments);

    std::unique_ptr<TestEnvironment> m_env;
    QString m_serverDir;
    QString m_host;
};

int TestArchiveServer::freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool TestArchiveServer::runScript(const QStringList& arguments)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedChannels);
    script.start(QStringLiteral(TEST_SUPPORT_DIR "/firebird-test-server.sh"), arguments);
    return script.waitForFinished(60000) && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
}

void TestArchiveServer::initTestCase()
{
    if (!QFileInfo::exists(QStringLiteral("/usr/sbin/firebird")))
        QSKIP("the Firebird server is not installed");
    useProcessWideFirebirdLockFolder();
    m_env = std::make_unique<TestEnvironment>();
    m_serverDir = m_env->root() + QStringLiteral("/server");
    const int port = freePort();
    QVERIFY(runScript({QStringLiteral("start"), m_serverDir, QString::number(port),
                       QString::number(QCoreApplication::applicationPid())}));
    m_host = QStringLiteral("127.0.0.1/%1").arg(port);
}

void TestArchiveServer::cleanupTestCase()
{
    if (!m_serverDir.isEmpty())
        runScript({QStringLiteral("stop"), m_serverDir});
    m_env.reset();
}

void TestArchiveServer::createAndConnectThroughServer()
{
    const QString path = m_serverDir + QStringLiteral("/data/サーバー.fdb");
    const ArchiveTarget target{m_host, path};
    QVERIFY(!target.isLocal());
    QCOMPARE(createArchive(target), QString());

    bool terminated = false;
    ChildProcessRunner runner(terminated);
    TDm_Ldb dm(runner, m_env->programFolder());
    const TDm_Ldb::StartupResult result = dm.connectAtStartup(target);
    QVERIFY2(result.connected, qPrintable(result.error));
    QCOMPARE(result.caption, QStringLiteral("Tallowin 管理 -- %1:サーバー.fdb").arg(m_host));
    const auto monitor = dm.readMonitor();
    QVERIFY(monitor.has_value());
    QCOMPARE(monitor->databaseName, path);

    QSqlQuery& q = dm.FDQry();
    q.prepare(QStringLiteral("insert into Message_IdxTbl (Message_ID, Message_Date, Message_Subject) "
                             "values (:id, :date, :subject)"));
    q.bindValue(QStringLiteral(":id"), QStringLiteral("<srv@x>"));
    q.bindValue(QStringLiteral(":date"), QDateTime(QDate(2024, 2, 3), QTime(4, 5, 6)));
    q.bindValue(QStringLiteral(":subject"), QStringLiteral("𠮟 over the wire 😀"));
    QVERIFY(q.exec());
    QVERIFY(dm.openList());
    QCOMPARE(dm.FDTbl1()->rowCount(), 1);
    QCOMPARE(dm.FDTbl1()->data(dm.FDTbl1()->index(0, 7)).toString(), QStringLiteral("𠮟 over the wire 😀"));
    dm.close();
    QVERIFY(dm.checkConnection(target));
}

void TestArchiveServer::wrongFileOnServerFails()
{
    bool terminated = false;
    ChildProcessRunner runner(terminated);
    TDm_Ldb dm(runner, m_env->programFolder());
    QString error;
    QVERIFY(!dm.checkConnection(ArchiveTarget{m_host, m_serverDir + QStringLiteral("/data/none.fdb")}, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestArchiveServer)
#include "tst_ArchiveServer.moc"
