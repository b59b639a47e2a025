#include "archive/ArchiveTarget.h"
#include "archive/DefaultArchive.h"
#include "archive/FirebirdClient.h"
#include "settings/IniFile.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

class TestDefaultArchive : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useProcessWideFirebirdLockFolder(); }
    void firstUseMakesArchiveAndSettings();
    void existingSettingsAreLeftAlone();
    void existingArchiveIsKept();
    void unusableArchiveIsNotPointedAt();
    void killedCreateLeavesNothingUnusable();
};

void TestDefaultArchive::firstUseMakesArchiveAndSettings()
{
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    TestEnvironment::writeFile(f.initial + QStringLiteral("/tallowin.ini"),
                               "[Condition]\nZOOM=100\n[MailDB]\nServer=localhost\n");
    TestEnvironment::writeFile(f.initial + QStringLiteral("/$RNK_Name.Txt"), "label\n");
    const DefaultArchiveSetup setup = ensureDefaultArchive(f, QStringLiteral("tallowin"));
    QCOMPARE(setup.error, QString());
    QVERIFY(setup.createdArchive);
    QVERIFY(setup.createdConfig);
    QCOMPARE(setup.archivePath, env.root() + QStringLiteral("/home/.local/share/Brenvale/Ledgerbox/Tallowin.fdb"));
    QVERIFY(QFileInfo(setup.archivePath).size() > 0);
    IniFile ini;
    QVERIFY(ini.load(f.individual + QStringLiteral("/tallowin.ini")));
    QCOMPARE(ini.readString(QStringLiteral("MailDB"), QStringLiteral("Server"), QStringLiteral("x")), QString());
    QCOMPARE(ini.readString(QStringLiteral("MailDB"), QStringLiteral("DBPath"), QString()), setup.archivePath);
    QCOMPARE(ini.readString(QStringLiteral("Condition"), QStringLiteral("ZOOM"), QString()), QStringLiteral("100"));
    QVERIFY(QFileInfo::exists(f.individual + QStringLiteral("/$RNK_Name.Txt")));
    // The initial folder is not changed.
    QCOMPARE(TestEnvironment::readFile(f.initial + QStringLiteral("/tallowin.ini")),
             QByteArray("[Condition]\nZOOM=100\n[MailDB]\nServer=localhost\n"));
}

void TestDefaultArchive::existingSettingsAreLeftAlone()
{
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    TestEnvironment::writeFile(f.individual + QStringLiteral("/tallowin.ini"), "[MailDB]\nDBPath=\n");
    DefaultArchiveSetup setup = ensureDefaultArchive(f, QStringLiteral("tallowin"));
    QCOMPARE(setup.error, QString());
    QVERIFY(!setup.createdArchive);
    QVERIFY(!setup.createdConfig);
    QCOMPARE(TestEnvironment::readFile(f.individual + QStringLiteral("/tallowin.ini")),
             QByteArray("[MailDB]\nDBPath=\n"));
    QVERIFY(!QFileInfo::exists(setup.archivePath));

    // Common settings chosen by an administrator are left alone too.
    TestEnvironment other;
    QDir().mkpath(other.folders().common);
    setup = ensureDefaultArchive(other.folders(), QStringLiteral("tallowin"));
    QVERIFY(!setup.createdConfig);
    QVERIFY(!QFileInfo::exists(other.folders().individual));
}

void TestDefaultArchive::existingArchiveIsKept()
{
    TestEnvironment env;
    const QString archive = env.root() + QStringLiteral("/home/.local/share/Brenvale/Ledgerbox/Tallowin.fdb");
    QDir().mkpath(QFileInfo(archive).absolutePath());
    QCOMPARE(createArchive(ArchiveTarget{QString(), archive}), QString());
    const QByteArray before = TestEnvironment::readFile(archive);
    const DefaultArchiveSetup setup = ensureDefaultArchive(env.folders(), QStringLiteral("tallowin"));
    QCOMPARE(setup.error, QString());
    QVERIFY(!setup.createdArchive);
    QVERIFY(setup.createdConfig);
    QCOMPARE(TestEnvironment::readFile(archive).size(), before.size());
}

void TestDefaultArchive::unusableArchiveIsNotPointedAt()
{
    // What a killed create or another program may have left under the name.
    TestEnvironment env;
    const QString archive = env.root() + QStringLiteral("/home/.local/share/Brenvale/Ledgerbox/Tallowin.fdb");
    TestEnvironment::writeFile(archive, "not an archive");
    const DefaultArchiveSetup setup = ensureDefaultArchive(env.folders(), QStringLiteral("tallowin"));
    QVERIFY(setup.error.startsWith(QStringLiteral("既存のアーカイブを使えません")));
    QVERIFY(setup.error.contains(archive));
    QVERIFY(!setup.createdConfig);
    QVERIFY(!QFileInfo::exists(env.folders().individual + QStringLiteral("/tallowin.ini")));
    QCOMPARE(TestEnvironment::readFile(archive), QByteArray("not an archive"));
}

void TestDefaultArchive::killedCreateLeavesNothingUnusable()
{
    TestEnvironment env;
    const QString bin = qEnvironmentVariable("TALLOWIN_BIN_DIR") + QStringLiteral("/tallowin-cli");
    // Killed at several points of its work: afterwards the archive's name
    // holds either nothing or a complete archive, and a new create works.
    for (const int afterMs : {0, 50, 150, 300, 600, 1200}) {
        const QString path = env.root() + QStringLiteral("/killed-%1.fdb").arg(afterMs);
        QProcess create;
        create.start(bin, {QStringLiteral("archive"), QStringLiteral("create"), path});
        QVERIFY(create.waitForStarted());
        QTest::qWait(afterMs);
        create.kill();
        create.waitForFinished();
        if (QFileInfo::exists(path)) {
            QCOMPARE(checkArchive(ArchiveTarget{QString(), path}), QString());
        } else {
            QCOMPARE(createArchive(ArchiveTarget{QString(), path}), QString());
            QCOMPARE(checkArchive(ArchiveTarget{QString(), path}), QString());
        }
    }
}

QTEST_GUILESS_MAIN(TestDefaultArchive)
#include "tst_DefaultArchive.moc"
