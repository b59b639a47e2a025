#include "app/CommandLine.h"
#include "app/ScreenDensity.h"
#include "app/ui/ColorBoxEntries.h"
#include "base/AppInfo.h"
#include "settings/ListFiles.h"
#include "support/TestEnvironment.h"

#include <QRegularExpression>
#include <QtTest>

class TestShellHelpers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandLine_data();
    void commandLine();
    void imageSets_data();
    void imageSets();
    void statusBarAndSplitterFollowDensity_data();
    void statusBarAndSplitterFollowDensity();
    void textListFiles();
    void formTitleFile();
    void colourValues();
    void versionLine();
};

void TestShellHelpers::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("themeGiven");
    QTest::addColumn<int>("theme");
    QTest::newRow("none") << QStringList{} << false << false << 0;
    QTest::newRow("dark") << QStringList{QStringLiteral("2")} << false << true << 2;
    QTest::newRow("three") << QStringList{QStringLiteral("3")} << false << true << 3;
    QTest::newRow("too large") << QStringList{QStringLiteral("7")} << false << true << 0;
    QTest::newRow("negative") << QStringList{QStringLiteral("-1")} << false << true << 0;
    QTest::newRow("not a number") << QStringList{QStringLiteral("abc")} << false << false << 0;
    QTest::newRow("HELP") << QStringList{QStringLiteral("HELP")} << true << false << 0;
    QTest::newRow("contains help") << QStringList{QStringLiteral("--Helpme")} << true << false << 0;
    QTest::newRow("only first counts") << QStringList{QStringLiteral("1"), QStringLiteral("help")} << false << true
                                       << 1;
}

void TestShellHelpers::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, help);
    QFETCH(bool, themeGiven);
    QFETCH(int, theme);
    const CommandLineChoice c = parseCommandLine(arguments);
    QCOMPARE(c.showHelp, help);
    QCOMPARE(c.themeGiven, themeGiven);
    QCOMPARE(c.theme, theme);
}

void TestShellHelpers::imageSets_data()
{
    using S = ScreenDensity::ImageSet;
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("buttonBar");
    QTest::addColumn<int>("others");
    QTest::newRow("96") << 96 << int(S::Small) << int(S::Small);
    QTest::newRow("120 is still small") << 120 << int(S::Small) << int(S::Small);
    QTest::newRow("121") << 121 << int(S::Medium) << int(S::Medium);
    QTest::newRow("144") << 144 << int(S::Medium) << int(S::Medium);
    QTest::newRow("191") << 191 << int(S::Medium) << int(S::Medium);
    QTest::newRow("192") << 192 << int(S::Large) << int(S::Medium);
    QTest::newRow("288") << 288 << int(S::Large) << int(S::Medium);
}

void TestShellHelpers::imageSets()
{
    QFETCH(int, dpi);
    QFETCH(int, buttonBar);
    QFETCH(int, others);
    const ScreenDensity::ImageSets sets = ScreenDensity::imageSetsFor(dpi);
    QCOMPARE(int(sets.buttonBar), buttonBar);
    QCOMPARE(int(sets.fileBrowserBar), others);
    QCOMPARE(int(sets.passwordButton), others);
}

void TestShellHelpers::statusBarAndSplitterFollowDensity_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("panel0");
    QTest::addColumn<int>("panel1");
    QTest::addColumn<int>("splitter");
    QTest::newRow("96") << 96 << 140 << 50 << 5;
    QTest::newRow("120") << 120 << 175 << 63 << 6; // 62.5 and 6.25 rounded
    QTest::newRow("144") << 144 << 210 << 75 << 8; // 7.5 rounds up
    QTest::newRow("192") << 192 << 280 << 100 << 10;
}

void TestShellHelpers::statusBarAndSplitterFollowDensity()
{
    QFETCH(int, dpi);
    QFETCH(int, panel0);
    QFETCH(int, panel1);
    QFETCH(int, splitter);
    QCOMPARE(ScreenDensity::statusPanel0Width(dpi), panel0);
    QCOMPARE(ScreenDensity::statusPanel1Width(dpi), panel1);
    QCOMPARE(ScreenDensity::splitterHeight(dpi), splitter);
    QCOMPARE(ScreenDensity::scaledThreshold(100, dpi / 96.0), int(100 * (dpi / 96.0)));
}

void TestShellHelpers::textListFiles()
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("/$RNK_Name.Txt");
    QVERIFY(ListFiles::saveUtf8(path, {QStringLiteral("月次"), QString(), QStringLiteral("a,b")}));
    QCOMPARE(TestEnvironment::readFile(path), QByteArray("\xEF\xBB\xBF") + QStringLiteral("月次\n\na,b\n").toUtf8());
    QCOMPARE(ListFiles::loadUtf8(path), (QStringList{QStringLiteral("月次"), QString(), QStringLiteral("a,b")}));

    // Files written on Windows: CRLF, no final line break.
    TestEnvironment::writeFile(path, QStringLiteral("一\r\n二").toUtf8());
    QCOMPARE(ListFiles::loadUtf8(path), (QStringList{QStringLiteral("一"), QStringLiteral("二")}));
    QVERIFY(ListFiles::loadUtf8(env.root() + QStringLiteral("/missing.txt")).isEmpty());
    QVERIFY(!ListFiles::saveUtf8(env.root() + QStringLiteral("/no/such/dir/x.txt"), {QStringLiteral("x")}));
}

void TestShellHelpers::formTitleFile()
{
    TestEnvironment env;
    QVERIFY(ListFiles::writeFormTitle(env.root(), QStringLiteral("Tallowin 管理 - [/data/mail.fdb]")));
    QCOMPARE(ListFiles::readFormTitle(env.root()), QStringLiteral("Tallowin 管理 - [/data/mail.fdb]"));
    TestEnvironment::writeFile(env.root() + QStringLiteral("/$FormTitle.txt"), "  Tallowin 管理 \r\n");
    QCOMPARE(ListFiles::readFormTitle(env.root()), QStringLiteral("Tallowin 管理"));
}

void TestShellHelpers::colourValues()
{
    QCOMPARE(colorBoxEntries().first().name, QStringLiteral("Black"));
    QCOMPARE(colorToStoredValue(Qt::black), 0);
    QCOMPARE(colorToStoredValue(QColor(255, 0, 0)), 0x0000FF);
    QCOMPARE(colorToStoredValue(QColor(0, 0, 255)), 0xFF0000);
    for (const ColorBoxEntry& e : colorBoxEntries())
        QCOMPARE(colorFromStoredValue(colorToStoredValue(e.color)), e.color);
}

void TestShellHelpers::versionLine()
{
    QVERIFY(QRegularExpression(QStringLiteral("^バージョン: \\d+\\.\\d+\\.\\d+\\.\\d+$"))
                .match(AppInfo::versionLine())
                .hasMatch());
    QCOMPARE(AppInfo::aboutNote().split(u'\n').size(), 3);
    QVERIFY(!AppInfo::operatingSystemLine().isEmpty());
}

QTEST_GUILESS_MAIN(TestShellHelpers)
#include "tst_ShellHelpers.moc"
