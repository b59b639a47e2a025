// Starts the real program, under a file name of its own so that the test
// never meets a copy the user is running.
#include "archive/ArchiveTarget.h"
#include "archive/FirebirdClient.h"
#include "settings/IniFile.h"
#include "settings/ListFiles.h"
#include "settings/SettingsFolders.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <memory>

class TestProgramStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void secondStartEndsAndFirstKeepsRunning();
    void crashLeavesNothingThatBlocksTheNextStart();
    void terminationClosesLikeTheWindow();
    void opensConfiguredArchiveAndReleasesItAtClose();

private:
    QProcess* start();
    bool waitUntilUp(QProcess& process);
    QString workFolder() const { return m_appData + QStringLiteral("/mail_dat"); }

    std::unique_ptr<TestEnvironment> m_env;
    QString m_program;
    QList<QProcess*> m_running;
    QString m_appData;
};

void TestProgramStart::initTestCase()
{
    useProcessWideFirebirdLockFolder();
}

void TestProgramStart::init()
{
    m_env = std::make_unique<TestEnvironment>();
    const QString binDir = qEnvironmentVariable("TALLOWIN_BIN_DIR");
    QVERIFY2(!binDir.isEmpty(), "TALLOWIN_BIN_DIR names the folder of the built program");
    m_program = m_env->programFolder() + QStringLiteral("tallowin-test-%1").arg(QCoreApplication::applicationPid());
    QVERIFY(QFile::copy(binDir + QStringLiteral("/tallowin"), m_program));
    QFile::copy(binDir + QStringLiteral("/Tallowin.jpg"), m_env->programFolder() + QStringLiteral("Tallowin.jpg"));
    m_appData = m_env->folders().initial;
}

void TestProgramStart::cleanup()
{
    for (QProcess* p : m_running) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
        delete p;
    }
    m_running.clear();
    m_env.reset();
}

QProcess* TestProgramStart::start()
{
    auto* process = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(m_program, {});
    m_running << process;
    return process;
}

bool TestProgramStart::waitUntilUp(QProcess& process)
{
    // The work folder is made at the end of the window's creation.
    for (int i = 0; i < 200 && process.state() != QProcess::NotRunning; ++i) {
        if (QFileInfo(workFolder()).isDir())
            return true;
        QTest::qWait(50);
    }
    return false;
}

void TestProgramStart::secondStartEndsAndFirstKeepsRunning()
{
    auto first = start();
    QVERIFY(waitUntilUp(*first));
    auto second = start();
    QVERIFY(second->waitForFinished(10000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(first->state(), QProcess::Running);
}

void TestProgramStart::crashLeavesNothingThatBlocksTheNextStart()
{
    auto first = start();
    QVERIFY(waitUntilUp(*first));
    ::kill(pid_t(first->processId()), SIGKILL);
    QVERIFY(first->waitForFinished(5000));
    QDir(workFolder()).removeRecursively();

    auto next = start();
    QVERIFY(waitUntilUp(*next));
    QTest::qWait(300);
    QCOMPARE(next->state(), QProcess::Running);
}

void TestProgramStart::terminationClosesLikeTheWindow()
{
    auto program = start();
    QVERIFY(waitUntilUp(*program));
    // The splash's one-second wait comes before the window takes signals.
    QTest::qWait(1500);
    program->terminate();
    QVERIFY(program->waitForFinished(10000));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QVERIFY(!QFileInfo::exists(workFolder()));
    const QString ini = configFilePath(m_appData, QFileInfo(m_program).fileName());
    IniFile settings;
    QVERIFY(settings.load(ini));
    QCOMPARE(settings.readInteger(QStringLiteral("Window"), QStringLiteral("Width"), 0), 640);
    QVERIFY(settings.hasKey(QStringLiteral("Condition"), QStringLiteral("ExpFileName")));
}

void TestProgramStart::opensConfiguredArchiveAndReleasesItAtClose()
{
    const QString archive = m_env->root() + QStringLiteral("/data/Tallowin.fdb");
    QDir().mkpath(m_env->root() + QStringLiteral("/data"));
    QCOMPARE(createArchive(ArchiveTarget{QString(), archive}), QString());
    m_appData = m_env->folders().individual;
    TestEnvironment::writeFile(configFilePath(m_appData, QFileInfo(m_program).fileName()),
                               QStringLiteral("[MailDB]\nServer=\nDBPath=%1\n").arg(archive).toUtf8());

    auto program = start();
    QVERIFY(waitUntilUp(*program));
    QTRY_COMPARE_WITH_TIMEOUT(ListFiles::readFormTitle(m_appData), QStringLiteral("Tallowin 管理 -- Tallowin.fdb"),
                              10000);
    QVERIFY(QFileInfo::exists(m_env->root() + QStringLiteral("/data/Semafore")));
    QTest::qWait(1500);
    program->terminate();
    QVERIFY(program->waitForFinished(10000));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QVERIFY(!QFileInfo::exists(m_env->root() + QStringLiteral("/data/Semafore")));
    QVERIFY(!QFileInfo::exists(workFolder()));
}

QTEST_GUILESS_MAIN(TestProgramStart)
#include "tst_ProgramStart.moc"
