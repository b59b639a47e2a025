#include "archive/EmbeddedLock.h"
#include "archive/FirebirdEnvironment.h"
#include "base/QuilletState.h"
#include "support/TestEnvironment.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Another process trying the same lock through POSIX record locks.
int lockFromAnotherProcess(const QString& file)
{
    QProcess python;
    python.start(
        QStringLiteral("python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import fcntl,os,sys\nfd=os.open(sys.argv[1],os.O_RDWR)\n"
                        "try:\n  fcntl.lockf(fd, fcntl.LOCK_EX|fcntl.LOCK_NB)\nexcept OSError:\n  sys.exit(3)\n"),
         file});
    python.waitForFinished(10000);
    return python.exitCode();
}

} // namespace

class TestEmbeddedLock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void heldExclusivelyAndReleasedWithItsFile();
    void noDatabaseNoLock();
    void otherProcessIsRefused();
    void releaseLeavesSomebodyElsesLockFile();
    void onlyAnEmptyHostIsGuarded_data();
    void onlyAnEmptyHostIsGuarded();
    void lockFolderIsPrivate();

private:
    std::unique_ptr<TestEnvironment> m_env;
    QString m_db;
};

void TestEmbeddedLock::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_db = m_env->root() + QStringLiteral("/data/mail.fdb");
    TestEnvironment::writeFile(m_db, "database");
}

void TestEmbeddedLock::heldExclusivelyAndReleasedWithItsFile()
{
    const QString lockFile = m_env->root() + QStringLiteral("/data/Semafore");
    QCOMPARE(EmbeddedLock::lockFilePath(m_db), lockFile);
    EmbeddedLock first;
    QVERIFY(first.acquire(m_db));
    QVERIFY(first.held());
    QVERIFY(first.handle() >= 0);
    QVERIFY(QFileInfo::exists(lockFile));
    EmbeddedLock second;
    QVERIFY(!second.acquire(m_db));
    first.release();
    QVERIFY(!first.held());
    QVERIFY(!QFileInfo::exists(lockFile));
    QVERIFY(second.acquire(m_db));
    // A lock file left behind by a crash does not block anyone.
    second.release();
    TestEnvironment::writeFile(lockFile, "");
    EmbeddedLock third;
    QVERIFY(third.acquire(m_db));
}

void TestEmbeddedLock::noDatabaseNoLock()
{
    EmbeddedLock lock;
    QVERIFY(!lock.acquire(m_env->root() + QStringLiteral("/data/none.fdb")));
    QVERIFY(!QFileInfo::exists(m_env->root() + QStringLiteral("/data/Semafore")));
    QVERIFY(!lock.acquire(QString()));
}

void TestEmbeddedLock::otherProcessIsRefused()
{
    EmbeddedLock lock;
    QVERIFY(lock.acquire(m_db));
    QCOMPARE(lockFromAnotherProcess(EmbeddedLock::lockFilePath(m_db)), 3);
    lock.release();
    TestEnvironment::writeFile(EmbeddedLock::lockFilePath(m_db), "");
    QCOMPARE(lockFromAnotherProcess(EmbeddedLock::lockFilePath(m_db)), 0);
}

void TestEmbeddedLock::releaseLeavesSomebodyElsesLockFile()
{
    EmbeddedLock holder;
    QVERIFY(holder.acquire(m_db));
    EmbeddedLock refused;
    QVERIFY(!refused.acquire(m_db));
    refused.release();
    QVERIFY(QFileInfo::exists(EmbeddedLock::lockFilePath(m_db)));
    QVERIFY(holder.held());
}

void TestEmbeddedLock::onlyAnEmptyHostIsGuarded_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("guarded");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("localhost") << "localhost" << false;
    QTest::newRow("LOCALHOST") << "LOCALHOST" << false;
    QTest::newRow("server") << "srv" << false;
}

void TestEmbeddedLock::onlyAnEmptyHostIsGuarded()
{
    QFETCH(QString, host);
    QFETCH(bool, guarded);
    QuilletState state;
    state.Ldb_Host1 = host;
    state.Ldb_Path1 = m_db;
    EmbeddedLock lock;
    takeEmbeddedLock(state, lock);
    QCOMPARE(state.emb_Flg, guarded);
    QCOMPARE(state.Semafore_Flg, guarded);
    QCOMPARE(QFileInfo::exists(EmbeddedLock::lockFilePath(m_db)), guarded);
    releaseEmbeddedLock(state, lock);
    QVERIFY(!state.Semafore_Flg);
    QVERIFY(!QFileInfo::exists(EmbeddedLock::lockFilePath(m_db)));
}

void TestEmbeddedLock::lockFolderIsPrivate()
{
    QTemporaryDir dir;
    // Made with mode 0700 when missing.
    const QString fresh = dir.filePath(QStringLiteral("fresh"));
    QVERIFY(makePrivateFolder(fresh));
    QCOMPARE(QFileInfo(fresh).permissions()
                 & (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ReadGroup),
             QFileDevice::Permissions());
    // Refused: open to others, or a link planted in its place.
    const QString open = dir.filePath(QStringLiteral("open"));
    QDir().mkpath(open);
    QFile::setPermissions(open, QFileDevice::Permissions(0x7777));
    QVERIFY(!makePrivateFolder(open));
    const QString link = dir.filePath(QStringLiteral("link"));
    QVERIFY(QFile::link(fresh, link));
    QVERIFY(!makePrivateFolder(link));
    QCOMPARE(lockFolderCandidate(QString(), 1000), QStringLiteral("/tmp/tallowin-firebird-1000"));
    QCOMPARE(lockFolderCandidate(dir.path(), 1000), dir.path() + QStringLiteral("/tallowin-firebird"));
}

QTEST_GUILESS_MAIN(TestEmbeddedLock)
#include "tst_EmbeddedLock.moc"
