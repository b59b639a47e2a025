#include "archive/DefaultArchive.h"
#include "settings/IniFile.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QtTest>

class TestDefaultArchive : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useProcessWideFirebirdLockFolder(); }
    void firstUseMakesArchiveAndSettings();
    void existingSettingsAreLeftAlone();
    void existingArchiveIsKept();
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
    TestEnvironment::writeFile(archive, "someone's archive");
    const DefaultArchiveSetup setup = ensureDefaultArchive(env.folders(), QStringLiteral("tallowin"));
    QCOMPARE(setup.error, QString());
    QVERIFY(!setup.createdArchive);
    QVERIFY(setup.createdConfig);
    QCOMPARE(TestEnvironment::readFile(archive), QByteArray("someone's archive"));
}

QTEST_GUILESS_MAIN(TestDefaultArchive)
#include "tst_DefaultArchive.moc"
