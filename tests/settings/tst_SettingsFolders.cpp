#include "settings/SettingsFolders.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QtTest>

class TestSettingsFolders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mapsToXdgLocations();
    void fallsBackWhenXdgIsUnsetOrRelative();
    void choosesFolderInUse();
    void configFileFollowsProgramName_data();
    void configFileFollowsProgramName();
    void workFolders();
};

void TestSettingsFolders::mapsToXdgLocations()
{
    TestEnvironment env;
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(env.root() + QStringLiteral("/shared:/etc/xdg")));
    const SettingsFolders f = env.folders();
    QCOMPARE(f.individual, env.root() + QStringLiteral("/home/.config/Brenvale/Ledgerbox"));
    QCOMPARE(f.common, env.root() + QStringLiteral("/shared/Brenvale/Ledgerbox"));
    QCOMPARE(f.initial, env.root() + QStringLiteral("/program/config"));
}

void TestSettingsFolders::fallsBackWhenXdgIsUnsetOrRelative()
{
    TestEnvironment env;
    qputenv("XDG_CONFIG_HOME", "relative/path");
    qunsetenv("XDG_CONFIG_DIRS");
    const SettingsFolders f = env.folders();
    QCOMPARE(f.individual, env.root() + QStringLiteral("/home/.config/Brenvale/Ledgerbox"));
    QCOMPARE(f.common, QStringLiteral("/etc/xdg/Brenvale/Ledgerbox"));
}

void TestSettingsFolders::choosesFolderInUse()
{
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    QCOMPARE(f.chooseAppDataFolder(), f.initial);
    QDir().mkpath(f.common);
    QCOMPARE(f.chooseAppDataFolder(), f.common);
    QDir().mkpath(f.individual);
    QCOMPARE(f.chooseAppDataFolder(), f.individual);
    QDir(f.common).removeRecursively();
    QCOMPARE(f.chooseAppDataFolder(), f.individual);
    // A file where the folder should be does not count as the folder.
    QDir(f.individual).removeRecursively();
    TestEnvironment::writeFile(f.individual, "not a folder");
    QCOMPARE(f.chooseAppDataFolder(), f.initial);
}

void TestSettingsFolders::configFileFollowsProgramName_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no extension") << "tallowin"
                                  << "/a/tallowin.ini";
    QTest::newRow("extension replaced") << "Tallowin.exe"
                                        << "/a/Tallowin.ini";
    QTest::newRow("renamed program") << "mailbox-2"
                                     << "/a/mailbox-2.ini";
}

void TestSettingsFolders::configFileFollowsProgramName()
{
    QFETCH(QString, program);
    QFETCH(QString, expected);
    QCOMPARE(configFilePath(QStringLiteral("/a"), program), expected);
}

void TestSettingsFolders::workFolders()
{
    QCOMPARE(workFolderPath(QStringLiteral("/a/b")), QStringLiteral("/a/b/mail_dat"));
    QCOMPARE(webViewDataFolderPath(QStringLiteral("/a/b"), QStringLiteral("tallowin")),
             QStringLiteral("/a/b/tallowin.WebView2"));
}

QTEST_GUILESS_MAIN(TestSettingsFolders)
#include "tst_SettingsFolders.moc"
