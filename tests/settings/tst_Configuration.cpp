#include "settings/Configuration.h"
#include "settings/ListFiles.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QtTest>
#include <unistd.h>

namespace {

IniFile parsed(const QString& text)
{
    IniFile ini;
    ini.parse(text);
    return ini;
}

AppSettings read(const QString& text, ReadOptions options = {})
{
    return readAppSettings(parsed(text), options);
}

QString written(const AppSettings& s, const QString& existing = QString())
{
    IniFile ini = parsed(existing);
    writeAppSettings(ini, s);
    return ini.toText();
}

} // namespace

class TestConfiguration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultsWhenFileIsEmpty();
    void roundTripKeepsEveryValue();
    void sectionsAndKeysIgnoreCase();
    void clampsOnRead_data();
    void clampsOnRead();
    void homePathFollowsHomeFlag();
    void fileBrowserColumnCount_data();
    void fileBrowserColumnCount();
    void incompleteGridIsReset();
    void completeGridIsKept();
    void parameterRowsMissingReadDummyData();
    void themeIsNotReadWhenGivenOnCommandLine();
    void recipientTicksFollowTheList();
    void newFileSectionsInWriteOrder();
    void loadAndSaveWithListFiles();
    void listFileThatFailedToLoadIsNotRewritten();
    void fitOntoDesktop_data();
    void fitOntoDesktop();
};

void TestConfiguration::defaultsWhenFileIsEmpty()
{
    const AppSettings s = read(QString());
    QCOMPARE(s.window.left, 50);
    QCOMPARE(s.window.top, 50);
    QCOMPARE(s.window.width, 640);
    QCOMPARE(s.window.height, 480);
    QCOMPARE(s.window.panel1Height, 300);
    QCOMPARE(s.window.treeViewSW, true);
    QCOMPARE(s.window.treeViewWidth, 160);
    QCOMPARE(s.listWindow.width, 640);
    QCOMPARE(s.listWindow.height, 240);
    QCOMPARE(s.theme, 0);
    QCOMPARE(s.fontName, QStringLiteral("Meiryo UI"));
    QCOMPARE(s.fontSize, 9);
    QCOMPARE(s.fontColor, 0);
    QCOMPARE(s.homeFlg, true);
    QCOMPARE(s.tab1Visible, false);
    QCOMPARE(s.dLstFrmFntSize, 8);
    QCOMPARE(s.server, QStringLiteral("localhost"));
    QCOMPARE(s.dbPath, QString());
    QCOMPARE(s.connection.smtpHost, QStringLiteral("localhost"));
    QCOMPARE(s.connection.smtpPort, QStringLiteral("25"));
    QCOMPARE(s.connection.mailEncode, 0);
    QCOMPARE(s.fileBrowserColumns.columnNum, 16);
    QCOMPARE(s.fileBrowserColumns.widths, QList<int>(17, 80));
    // No field names at all: the built-in grid.
    for (int i = 0; i < GridLayout::ColumnCount; ++i) {
        QCOMPARE(s.grid.columns[i].fieldName, GridLayout::builtIn()[i].fieldName);
        QCOMPARE(s.grid.columns[i].width, 200);
    }
}

void TestConfiguration::roundTripKeepsEveryValue()
{
    AppSettings s;
    s.window = {11, 22, 900, 700, 250, false, 222};
    s.listWindow = {500, 300};
    s.mlFilterIndex = 2;
    s.mlReadPath = QStringLiteral("/home/山田/メール");
    s.mlStorePath = QStringLiteral("/tmp/a,b");
    s.tab1Visible = true;
    s.tab3Visible = true;
    s.parameters.setValue(QStringLiteral("ExpFileName"), QStringLiteral("[Subject]_[DateTime]"));
    s.parameters.setValue(QStringLiteral("MailAccount1"), QStringLiteral("山田 太郎 <taro@example.jp>"));
    s.parameters.setValue(QStringLiteral("DLMTDStr2"), QStringLiteral("=-="));
    s.theme = 2;
    s.fontName = QStringLiteral("Noto Sans CJK JP");
    s.fontSize = 14;
    s.fontColor = 0x0000FF;
    s.viewStyleNum = 3;
    s.mskFlg = true;
    s.homePath = QStringLiteral("/srv/mail");
    s.buPath = QStringLiteral("/backup");
    s.ldPath = QStringLiteral("/load");
    s.chkBx8 = true;
    s.chkBx9 = true;
    s.rGroup4 = 3;
    s.dSelctRGroup1 = 1;
    s.dLstFrmFntSize = 12;
    s.server = QStringLiteral("db.example.jp");
    s.dbPath = QStringLiteral("/data/アーカイブ.fdb");
    s.grid.resetIfIncomplete();
    s.grid.columns[3].width = 321;
    s.grid.columns[4].title = QStringLiteral("差出人, アドレス");
    s.fileBrowserColumns.columnNum = 5;
    s.fileBrowserColumns.widths[4] = 99;
    s.connection.mailerIndx = 1;
    s.connection.exchangerAccount = QStringLiteral("仕事");
    s.connection.mailTabindx = 1;
    s.connection.myMailAddress = QStringLiteral("me@example.jp");
    s.connection.fromName = QStringLiteral("総務部, 山田");
    s.connection.smtpHost = QStringLiteral("smtp.example.jp");
    s.connection.smtpPort = QStringLiteral("587");
    s.connection.smtpUser = QStringLiteral("user");
    s.connection.mailEncode = 1;
    s.connection.myMailSubject = QStringLiteral("【ご案内】 説明会, 第2回 [東京]");
    s.recipientTicks = {true, false, true};

    ReadOptions options;
    options.recipientCount = 3;
    const AppSettings r = read(written(s), options);
    QCOMPARE(r.window.left, 11);
    QCOMPARE(r.window.top, 22);
    QCOMPARE(r.window.width, 900);
    QCOMPARE(r.window.height, 700);
    QCOMPARE(r.window.panel1Height, 250);
    QCOMPARE(r.window.treeViewSW, false);
    QCOMPARE(r.window.treeViewWidth, 222);
    QCOMPARE(r.listWindow.width, 500);
    QCOMPARE(r.listWindow.height, 300);
    QCOMPARE(r.mlFilterIndex, 2);
    QCOMPARE(r.mlReadPath, s.mlReadPath);
    QCOMPARE(r.mlStorePath, s.mlStorePath);
    QCOMPARE(r.tab1Visible, true);
    QCOMPARE(r.tab3Visible, true);
    for (const QString& key : ParameterTable::rowKeys())
        QCOMPARE(r.parameters.value(key), s.parameters.value(key));
    QCOMPARE(r.theme, 2);
    QCOMPARE(r.fontName, s.fontName);
    QCOMPARE(r.fontSize, 14);
    QCOMPARE(r.fontColor, 0x0000FF);
    QCOMPARE(r.viewStyleNum, 3);
    QCOMPARE(r.mskFlg, true);
    QCOMPARE(r.homePath, s.homePath);
    QCOMPARE(r.buPath, s.buPath);
    QCOMPARE(r.ldPath, s.ldPath);
    QCOMPARE(r.chkBx8, true);
    QCOMPARE(r.chkBx9, true);
    QCOMPARE(r.rGroup4, 3);
    QCOMPARE(r.dSelctRGroup1, 1);
    QCOMPARE(r.dLstFrmFntSize, 12);
    QCOMPARE(r.server, s.server);
    QCOMPARE(r.dbPath, s.dbPath);
    QCOMPARE(r.grid.columns, s.grid.columns);
    QCOMPARE(r.fileBrowserColumns.columnNum, 5);
    QCOMPARE(r.fileBrowserColumns.widths.mid(0, 5), s.fileBrowserColumns.widths.mid(0, 5));
    QCOMPARE(r.connection.mailerIndx, 1);
    QCOMPARE(r.connection.exchangerAccount, s.connection.exchangerAccount);
    QCOMPARE(r.connection.mailTabindx, 1);
    QCOMPARE(r.connection.myMailAddress, s.connection.myMailAddress);
    QCOMPARE(r.connection.fromName, s.connection.fromName);
    QCOMPARE(r.connection.smtpHost, s.connection.smtpHost);
    QCOMPARE(r.connection.smtpPort, s.connection.smtpPort);
    QCOMPARE(r.connection.smtpUser, s.connection.smtpUser);
    QCOMPARE(r.connection.mailEncode, 1);
    QCOMPARE(r.connection.myMailSubject, s.connection.myMailSubject);
    QCOMPARE(r.recipientTicks, s.recipientTicks);
}

void TestConfiguration::sectionsAndKeysIgnoreCase()
{
    const AppSettings s = read(QStringLiteral("[WINDOW]\nleft=7\n[maildb]\nDBPATH=/x.fdb\nserver=host\n"
                                              "[CONNECTION]\nsmtp_port=465\n[condition]\nfontname=IPAGothic\n"));
    QCOMPARE(s.window.left, 7);
    QCOMPARE(s.dbPath, QStringLiteral("/x.fdb"));
    QCOMPARE(s.server, QStringLiteral("host"));
    QCOMPARE(s.connection.smtpPort, QStringLiteral("465"));
    QCOMPARE(s.fontName, QStringLiteral("IPAGothic"));
}

void TestConfiguration::clampsOnRead_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("panel1Height");
    QTest::addColumn<int>("treeViewWidth");
    QTest::newRow("as stored") << "[Window]\nPanel1Height=10\nTreeViewWidth=10\n" << 10 << 10;
    QTest::newRow("too small") << "[Window]\nPanel1Height=9\nTreeViewWidth=9\n" << 10 << 160;
    QTest::newRow("negative") << "[Window]\nPanel1Height=-50\nTreeViewWidth=-1\n" << 10 << 160;
}

void TestConfiguration::clampsOnRead()
{
    QFETCH(QString, file);
    QFETCH(int, panel1Height);
    QFETCH(int, treeViewWidth);
    const AppSettings s = read(file);
    QCOMPARE(s.window.panel1Height, panel1Height);
    QCOMPARE(s.window.treeViewWidth, treeViewWidth);
}

void TestConfiguration::homePathFollowsHomeFlag()
{
    // Read under HomePath whatever its spelling.
    AppSettings s = read(QStringLiteral("[Condition]\nHomePATH=/srv/home\n"));
    QCOMPARE(s.homePath, QStringLiteral("/srv/home"));
    QCOMPARE(s.homeFlg, true);

    // A home folder switched off by hand is not written back, and the flag
    // is on again afterwards.
    const QString byHand = QStringLiteral("[Condition]\nHomeFlg=0\nHomePATH=/kept\n");
    s = read(byHand);
    QCOMPARE(s.homeFlg, false);
    s.homePath = QStringLiteral("/changed");
    const AppSettings next = read(written(s, byHand));
    QCOMPARE(next.homePath, QStringLiteral("/kept"));
    QCOMPARE(next.homeFlg, true);

    // With the flag on, the live value is written as HomePATH.
    s = read(QString());
    s.homePath = QStringLiteral("/live");
    const QString text = written(s);
    QVERIFY(text.contains(QStringLiteral("HomePATH=/live\n")));
}

void TestConfiguration::fileBrowserColumnCount_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("columnNum");
    QTest::addColumn<int>("widthsWritten");
    QTest::newRow("missing") << "" << 16 << 16;
    QTest::newRow("zero means 16") << "[sListView]\nColumnNum=0\n" << 16 << 16;
    QTest::newRow("three") << "[sListView]\nColumnNum=3\nColumnW1=11\nColumnW2=22\nColumnW3=33\n" << 3 << 3;
    QTest::newRow("twenty holds 17") << "[sListView]\nColumnNum=20\nColumnW1=1\nColumnW17=17\nColumnW18=18\n"
                                     << 20 << 17;
}

void TestConfiguration::fileBrowserColumnCount()
{
    QFETCH(QString, file);
    QFETCH(int, columnNum);
    QFETCH(int, widthsWritten);
    const AppSettings s = read(file);
    QCOMPARE(s.fileBrowserColumns.columnNum, columnNum);
    QCOMPARE(s.fileBrowserColumns.widths.size(), 17);
    if (columnNum == 3)
        QCOMPARE(s.fileBrowserColumns.widths.mid(0, 4), (QList<int>{11, 22, 33, 80}));
    if (columnNum == 20) {
        QCOMPARE(s.fileBrowserColumns.widths.first(), 1);
        QCOMPARE(s.fileBrowserColumns.widths.last(), 17);
    }

    IniFile fresh;
    writeAppSettings(fresh, s);
    const QStringList keys = fresh.keyNames(QStringLiteral("sListView"));
    QCOMPARE(keys.size(), 1 + widthsWritten);
    QCOMPARE(fresh.readInteger(QStringLiteral("sListView"), QStringLiteral("ColumnNum"), -1), columnNum);
    QVERIFY(!keys.contains(QStringLiteral("ColumnW18")));
}

void TestConfiguration::incompleteGridIsReset()
{
    // Every column but 5 is filled and named oddly; column 5's empty field
    // name makes the whole layout fall back to the built-in one.
    QString file = QStringLiteral("[DBGrid]\n");
    for (int i = 0; i < 10; ++i) {
        file += QStringLiteral("Visible_%1=%2\nColumns_%1=%3\n").arg(i).arg(i == 1 ? 0 : 1).arg(100 + i);
        if (i != 5)
            file += QStringLiteral("FieldName_%1=F%1\nTitelCaption_%1=T%1\n").arg(i);
    }
    const AppSettings s = read(file);
    for (int i = 0; i < 10; ++i) {
        const GridColumn& c = s.grid.columns[i];
        QCOMPARE(c.fieldName, GridLayout::builtIn()[i].fieldName);
        QCOMPARE(c.title, GridLayout::builtIn()[i].title);
        QCOMPARE(c.width, 100 + i);
        const bool expectVisible = !(i == 0 || i == 1 || i == 2 || i == 8);
        QCOMPARE(c.visible, expectVisible);
    }
    QCOMPARE(s.grid.columns[7].fieldName, QStringLiteral("MESSAGE_SUBJECT"));
    QCOMPARE(s.grid.columns[7].title, QStringLiteral("題目"));
    QCOMPARE(s.grid.columns[9].title, QStringLiteral("ボディ"));
}

void TestConfiguration::completeGridIsKept()
{
    QString file = QStringLiteral("[DBGrid]\n");
    for (int i = 0; i < 10; ++i)
        file += QStringLiteral("FieldName_%1=%2\nTitelCaption_%1=題%1\n")
                    .arg(i)
                    .arg(GridLayout::builtIn()[9 - i].fieldName);
    const AppSettings s = read(file);
    QCOMPARE(s.grid.columns[0].fieldName, QStringLiteral("MAILBODY"));
    QCOMPARE(s.grid.columns[0].title, QStringLiteral("題0"));
    QCOMPARE(s.grid.columns[0].visible, true);
}

void TestConfiguration::parameterRowsMissingReadDummyData()
{
    AppSettings s = read(QStringLiteral("[Condition]\nZOOM=120\nWaitTime=\n"));
    QCOMPARE(s.parameters.value(QStringLiteral("ZOOM")), QStringLiteral("120"));
    QCOMPARE(s.parameters.value(QStringLiteral("ZoomFixed")), QStringLiteral("Dummy Data"));
    QCOMPARE(s.parameters.value(QStringLiteral("MailAccount10")), QStringLiteral("Dummy Data"));
    QCOMPARE(s.parameters.value(QStringLiteral("WaitTime")), QString());
    // Both the marker and the empty text mean "not set".
    QCOMPARE(s.parameters.valueOr(QStringLiteral("WaitTime"), QStringLiteral("2")), QStringLiteral("2"));
    QCOMPARE(s.parameters.valueOrApply(QStringLiteral("ZoomFixed"), QStringLiteral("1")), QStringLiteral("1"));
    QCOMPARE(s.parameters.valueOrApply(QStringLiteral("ZOOM"), QStringLiteral("70")), QStringLiteral("120"));
    // Every row is written back, the applied default and the marker alike.
    const IniFile out = parsed(written(s));
    QCOMPARE(out.readString(QStringLiteral("Condition"), QStringLiteral("ZoomFixed"), QString()), QStringLiteral("1"));
    QCOMPARE(out.readString(QStringLiteral("Condition"), QStringLiteral("GPGPath"), QString()),
             QStringLiteral("Dummy Data"));
    for (const QString& key : ParameterTable::rowKeys())
        QVERIFY2(out.hasKey(QStringLiteral("Condition"), key), qPrintable(key));
}

void TestConfiguration::themeIsNotReadWhenGivenOnCommandLine()
{
    ReadOptions options;
    QCOMPARE(read(QStringLiteral("[Condition]\nTheme=3\n"), options).theme, 3);
    options.themeFromCommandLine = true;
    QCOMPARE(read(QStringLiteral("[Condition]\nTheme=3\n"), options).theme, 0);
}

void TestConfiguration::recipientTicksFollowTheList()
{
    const QString file = QStringLiteral("[ADCondition]\nADRS0=1\nADRS1=0\nADRS2=5\nADRS3=1\n");
    QVERIFY(read(file).recipientTicks.isEmpty());
    ReadOptions options;
    options.recipientCount = 3;
    QCOMPARE(read(file, options).recipientTicks, (QList<bool>{true, false, true}));

    // Written for every entry of the list and nothing more: a stale tick
    // must not reach a recipient added later.
    AppSettings s;
    s.recipientTicks = {false, true};
    const IniFile out = parsed(written(s, file));
    QCOMPARE(out.keyNames(QStringLiteral("ADCondition")),
             (QStringList{QStringLiteral("ADRS0"), QStringLiteral("ADRS1")}));
}

void TestConfiguration::newFileSectionsInWriteOrder()
{
    AppSettings s;
    s.recipientTicks = {true};
    const IniFile out = parsed(written(s));
    QCOMPARE(out.sectionNames(),
             (QStringList{QStringLiteral("Window"), QStringLiteral("LWindow"), QStringLiteral("Condition"),
                          QStringLiteral("MailDB"), QStringLiteral("DBGrid"), QStringLiteral("sListView"),
                          QStringLiteral("Connection"), QStringLiteral("ADCondition")}));
    QCOMPARE(out.keyNames(QStringLiteral("Condition")).first(), QStringLiteral("Theme"));
    QVERIFY(out.hasKey(QStringLiteral("Condition"), QStringLiteral("HomeFlg")));
    QCOMPARE(out.readString(QStringLiteral("Condition"), QStringLiteral("HomeFlg"), QString()), QStringLiteral("1"));
}

void TestConfiguration::loadAndSaveWithListFiles()
{
    TestEnvironment env;
    const QString folder = env.root() + QStringLiteral("/appdata");
    QDir().mkpath(folder);
    const QString iniPath = folder + QStringLiteral("/tallowin.ini");
    TestEnvironment::writeFile(iniPath, "[ADCondition]\nADRS1=1\n[Private]\nMine=keep\n");
    TestEnvironment::writeFile(folder + QStringLiteral("/$MailAddressList.txt"),
                               "\xEF\xBB\xBF"
                               "a@example.jp\r\n山田 <b@example.jp>\r\n");
    // The mask list may come in UTF-16 with its byte-order mark.
    const QString masks = QStringLiteral("*.fdb\n*.ｆｂｋ\n");
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char*>(masks.utf16()), masks.size() * 2);
    TestEnvironment::writeFile(folder + QStringLiteral("/$MSK_List.Txt"), utf16);

    Configuration c = Configuration::load(iniPath, folder, false);
    QCOMPARE(c.lists.recipients, (QStringList{QStringLiteral("a@example.jp"), QStringLiteral("山田 <b@example.jp>")}));
    QCOMPARE(c.lists.masks, (QStringList{QStringLiteral("*.fdb"), QStringLiteral("*.ｆｂｋ")}));
    QCOMPARE(c.settings.recipientTicks, (QList<bool>{false, true}));
    QVERIFY(QFile::exists(folder + QStringLiteral("/$SMTPPass_Code")));
    QCOMPARE(QFileInfo(folder + QStringLiteral("/$SMTPPass_Code")).size(), 0);

    c.lists.recipients << QStringLiteral("c@example.jp");
    c.lists.rankNames = {QStringLiteral("月次"), QStringLiteral("週次")};
    c.lists.mailBodyRtf = "{\\rtf1 body}";
    c.settings.dbPath = QStringLiteral("/data/mail.fdb");
    QVERIFY(c.save(iniPath, folder));

    const QByteArray iniText = TestEnvironment::readFile(iniPath);
    QVERIFY(iniText.contains("[Private]\nMine=keep\n"));
    QVERIFY(iniText.contains("ADRS2=0"));
    QCOMPARE(TestEnvironment::readFile(folder + QStringLiteral("/$RNK_Name.Txt")),
             QByteArray("\xEF\xBB\xBF") + QStringLiteral("月次\n週次\n").toUtf8());
    QCOMPARE(TestEnvironment::readFile(folder + QStringLiteral("/$MailBody.rtf")), QByteArray("{\\rtf1 body}"));
    const Configuration again = Configuration::load(iniPath, folder, false);
    QCOMPARE(again.lists.recipients.size(), 3);
    QCOMPARE(again.lists.masks, c.lists.masks);
    QCOMPARE(again.settings.dbPath, QStringLiteral("/data/mail.fdb"));
    QCOMPARE(again.settings.recipientTicks, (QList<bool>{false, true, false}));
}

void TestConfiguration::listFileThatFailedToLoadIsNotRewritten()
{
    TestEnvironment env;
    const QString folder = env.root() + QStringLiteral("/settings");
    QDir().mkpath(folder);
    const QString iniPath = folder + QStringLiteral("/tallowin.ini");
    // A file that exists but whose reads fail, even for root.
    const QString failing = folder + QStringLiteral("/failing");
    QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), failing));
    bool unreadable = false;
    QVERIFY(ListFiles::loadUtf8(failing, &unreadable).isEmpty());
    QVERIFY(unreadable);
    ListFiles::loadUtf8(folder + QStringLiteral("/absent"), &unreadable);
    QVERIFY(!unreadable);

    // A list file that could not be read keeps its content at close; the
    // others are written as usual.
    const QString rankNames = folder + QStringLiteral("/$RNK_Name.Txt");
    TestEnvironment::writeFile(rankNames,
                               "\xEF\xBB\xBF"
                               "月次\n");
    const bool asRoot = ::geteuid() == 0;
    if (!asRoot)
        QFile::setPermissions(rankNames, QFileDevice::WriteOwner);
    Configuration c = Configuration::load(iniPath, folder, false);
    if (asRoot)
        c.lists.unreadable << QStringLiteral("$RNK_Name.Txt"); // root reads it anyway: as a failed load would leave it
    QCOMPARE(c.lists.unreadable, QStringList{QStringLiteral("$RNK_Name.Txt")});
    c.lists.rankNames.clear();
    c.lists.recipients = {QStringLiteral("a@example.jp")};
    QVERIFY(c.save(iniPath, folder));
    QFile::setPermissions(rankNames, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(TestEnvironment::readFile(rankNames),
             QByteArray("\xEF\xBB\xBF"
                        "月次\n"));
    QVERIFY(TestEnvironment::readFile(folder + QStringLiteral("/$MailAddressList.txt")).contains("a@example.jp"));
}

void TestConfiguration::fitOntoDesktop_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("expected");
    const QRect desktop(0, 0, 1920, 1080);
    QTest::newRow("inside") << QRect(50, 50, 640, 480) << QRect(50, 50, 640, 480);
    QTest::newRow("left of desktop") << QRect(-300, 40, 640, 480) << QRect(0, 40, 640, 480);
    QTest::newRow("past right edge") << QRect(1500, 40, 640, 480) << QRect(1280, 40, 640, 480);
    QTest::newRow("exactly at right edge") << QRect(1280, 40, 640, 480) << QRect(1280, 40, 640, 480);
    QTest::newRow("wider than desktop") << QRect(100, 0, 2000, 480) << QRect(-80, 0, 2000, 480);
}

void TestConfiguration::fitOntoDesktop()
{
    QFETCH(QRect, window);
    QFETCH(QRect, expected);
    QCOMPARE(::fitOntoDesktop(window, QRect(0, 0, 1920, 1080)), expected);
}

QTEST_GUILESS_MAIN(TestConfiguration)
#include "tst_Configuration.moc"
