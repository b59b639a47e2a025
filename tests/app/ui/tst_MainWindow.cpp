#include "app/ui/ParameterTableView.h"
#include "app/ui/TAboutBox.h"
#include "app/ui/TFrmQuillet.h"
#include "app/ui/UiFont.h"
#include "frame/ui/MainActions.h"
#include "platform/CompatibilityLayer.h"
#include "settings/IniFile.h"
#include "settings/ListFiles.h"
#include "support/GuiTest.h"
#include "support/RecordingPrompt.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace {

// The shell's own controls are private: tests find them by object name.
template <typename T> T* shellWidget(const QWidget& window, const char* name)
{
    T* widget = window.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

const QString kProgram = QStringLiteral("tallowin");

// Captions of a menu's items, "-" for a separator, "name ▸" for a sub-menu.
QStringList captions(const QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else if (a->menu())
            out << a->text() + QStringLiteral(" ▸");
        else
            out << a->text();
    }
    return out;
}

QMenu* topMenu(TFrmQuillet& w, const QString& title)
{
    for (QAction* a : shellWidget<QMenuBar>(w, "MainMenu")->actions()) {
        if (a->text() == title)
            return a->menu();
    }
    return nullptr;
}

class LayerSet final : public CompatibilityLayer
{
public:
    QString layerFor(const QString&) const override { return QStringLiteral("WINXPSP3"); }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void menusMatchTheLayout();
    void actionStartStates();
    void buttonBarAndWindowPopup();
    void tabsInOrderWithHiddenPages();
    void upperPaneModesAreExclusive();
    void statusBarMinimumSizeAndFont();
    void parameterTableShowsRowsAndDummyData();
    void readsConfigurationIntoControls();
    void closeWritesLiveValuesAndRemovesWorkFolders();
    void closeSaysWhenTheConfigurationCannotBeWritten();
    void startRemovesWhatAKilledRunLeftInTheWorkFolder();
    void closeGoesOnWhenFolderCannotBeRemoved();
    void helpArgumentStopsCreation();
    void commandLineThemeIsNotStored();
    void themeChoice();
    void aboutWindow();
    void aboutSwitchToCommonWithNoRestarts();
    void compatibilityLayerEndsProgram();
    void databaseCaptionIsWrittenForSecondStart();
    void bringToFrontRestoresMinimisedWindow();

private:
    std::unique_ptr<TFrmQuillet> open(QStringList arguments = {});

    std::unique_ptr<TestEnvironment> m_env;
    RecordingPrompt m_prompt;
    const CompatibilityLayer* m_compat = nullptr;
};

void TestMainWindow::initTestCase()
{
    installUiFont();
}

void TestMainWindow::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_prompt = RecordingPrompt();
    m_compat = nullptr;
}

void TestMainWindow::cleanup()
{
    m_env.reset();
}

std::unique_ptr<TFrmQuillet> TestMainWindow::open(QStringList arguments)
{
    QuilletOptions options;
    options.arguments = arguments;
    options.prompt = &m_prompt;
    options.folders = m_env->folders();
    options.programFolder = m_env->programFolder();
    options.programFile = kProgram;
    options.compatibility = m_compat;
    return std::make_unique<TFrmQuillet>(options);
}

void TestMainWindow::closeSaysWhenTheConfigurationCannotBeWritten()
{
    // Something that is not a file stands where the configuration goes.
    const QString ini = m_env->folders().individual + QStringLiteral("/tallowin.ini");
    QDir().mkpath(ini + QStringLiteral("/blocked"));
    auto w = open();
    w->close();
    QCOMPARE(m_prompt.errors.size(), 1);
    QVERIFY(m_prompt.errors.first().startsWith(QStringLiteral("設定を保存できませんでした")));
    QVERIFY(m_prompt.errors.first().contains(ini));
}

void TestMainWindow::startRemovesWhatAKilledRunLeftInTheWorkFolder()
{
    const QString work = m_env->folders().individual + QStringLiteral("/mail_dat");
    TestEnvironment::writeFile(work + QStringLiteral("/2nd/x1.txt"), "left by a killed run");
    TestEnvironment::writeFile(work + QStringLiteral("/dropped.eml"), "left by a killed run");
    auto w = open();
    QVERIFY(QFileInfo(work).isDir());
    QVERIFY(QDir(work).isEmpty());
}

void TestMainWindow::menusMatchTheLayout()
{
    auto w = open();
    QStringList titles;
    for (QAction* a : shellWidget<QMenuBar>(*w, "MainMenu")->actions())
        titles << a->text();
    QCOMPARE(titles,
             (QStringList{QStringLiteral("ファイル (&F)"), QStringLiteral("操作 (&C)"), QStringLiteral("設定 (&S)"),
                          QStringLiteral("ヘルプ (&H)")}));
    QCOMPARE(
        captions(topMenu(*w, QStringLiteral("ファイル (&F)"))),
        (QStringList{QStringLiteral("メールを開く (&O)"), QStringLiteral("メールを保存する (&M)"),
                     QStringLiteral("メールボックスの取り込み (&I)"), QStringLiteral("-"),
                     QStringLiteral("フォントメニューバー表示 (&F)"), QStringLiteral("ボタンメニューバー表示 (&B)"),
                     QStringLiteral("-"), QStringLiteral("終了(&X)")}));
    QCOMPARE(captions(topMenu(*w, QStringLiteral("操作 (&C)"))),
             (QStringList{QStringLiteral("DB更新 (&D)"), QStringLiteral("DB接続 (&C)"), QStringLiteral("-"),
                          QStringLiteral("DB検索 (&R)"), QStringLiteral("-"), QStringLiteral("メッセージの表示 (&M)"),
                          QStringLiteral("メッセージファイルのエクスポート (&E)"), QStringLiteral("-"),
                          QStringLiteral("DBファイルのバックアップ (&B)"), QStringLiteral("-"),
                          QStringLiteral("メールの一斉送信 (&S)")}));
    QMenu* settings = topMenu(*w, QStringLiteral("設定 (&S)"));
    QCOMPARE(captions(settings),
             (QStringList{QStringLiteral("DBファイル設定(&D)"), QStringLiteral("-"), QStringLiteral("書誌情報TAB(&T)"),
                          QStringLiteral("パラメータ設定TAB(&A)"), QStringLiteral("-"),
                          QStringLiteral("アプリ・テーマ設定 (&Z) ▸")}));
    QCOMPARE(
        captions(settings->actions().last()->menu()),
        (QStringList{QStringLiteral("システム設定を使用する(&Z)"), QStringLiteral("ライト(&Y)"),
                     QStringLiteral("ダーク (&D)"), QStringLiteral("オーロラ(&W)"), QStringLiteral("クラシック(&X)")}));
    QCOMPARE(captions(topMenu(*w, QStringLiteral("ヘルプ (&H)"))),
             (QStringList{QStringLiteral("目次 (&I)"), QStringLiteral("キーワード(&Y)"), QStringLiteral("-"),
                          QStringLiteral("バージョン情報 (&V)")}));
}

void TestMainWindow::actionStartStates()
{
    auto w = open();
    const QStringList disabled{QStringLiteral("MessageSave"),   QStringLiteral("FontBarShow"),
                               QStringLiteral("ButtonBarShow"), QStringLiteral("DBUpdate"),
                               QStringLiteral("DispMsgDat"),    QStringLiteral("ExprtMsgFile"),
                               QStringLiteral("Zoom_DecMgn"),   QStringLiteral("Zoom_IncMgn")};
    const QStringList enabled{QStringLiteral("MessageOpen"), QStringLiteral("DBConnect"), QStringLiteral("DBSelect"),
                              QStringLiteral("DBBackup"),    QStringLiteral("MLSender"),  QStringLiteral("DBFileSet"),
                              QStringLiteral("DispTAB1"),    QStringLiteral("DispTAB3"),  QStringLiteral("Hcontents"),
                              QStringLiteral("Hkeyword"),    QStringLiteral("About"),     QStringLiteral("Theme0")};
    for (const QString& name : disabled) {
        auto* a = w->findChild<QAction*>(name);
        QVERIFY2(a, qPrintable(name));
        QVERIFY2(!a->isEnabled(), qPrintable(name));
    }
    for (const QString& name : enabled) {
        auto* a = w->findChild<QAction*>(name);
        QVERIFY2(a, qPrintable(name));
        QVERIFY2(a->isEnabled(), qPrintable(name));
    }
    QVERIFY(w->actions()->Theme.at(0)->isChecked());
    for (int i = 1; i < 5; ++i)
        QVERIFY(!w->actions()->Theme.at(i)->isChecked());
}

void TestMainWindow::buttonBarAndWindowPopup()
{
    auto w = open();
    QStringList buttons;
    for (QAction* a : shellWidget<QToolBar>(*w, "ButtonBar")->actions())
        buttons << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(buttons,
             (QStringList{QStringLiteral("MessageOpen"), QStringLiteral("-"), QStringLiteral("DBUpdate"),
                          QStringLiteral("DBConnect"), QStringLiteral("-"), QStringLiteral("DBSelect"),
                          QStringLiteral("Zoom_DecMgn"), QStringLiteral("Zoom_IncMgn")}));
    QCOMPARE(w->actions()->Zoom_DecMgn->text(), QStringLiteral("縮小表示"));
    QCOMPARE(w->actions()->Zoom_IncMgn->text(), QStringLiteral("拡大表示"));
    QCOMPARE(shellWidget<QToolBar>(*w, "ButtonBar")->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(
        captions(shellWidget<QMenu>(*w, "WindowPopup")),
        (QStringList{QStringLiteral("テキストメッセージ印刷 (&T)"), QStringLiteral("-"),
                     QStringLiteral("フォントメニューバー表示 (&F)"), QStringLiteral("ボタンメニューバー表示 (&B)")}));
    QCOMPARE(w->actions()->EditorPrint->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    // It opens on the text pane.
    w->show();
    Q_EMIT w->textPane()->customContextMenuRequested(QPoint(5, 5));
    QVERIFY(shellWidget<QMenu>(*w, "WindowPopup")->isVisible());
    shellWidget<QMenu>(*w, "WindowPopup")->close();
    // A bar dragged out enables its show action; the action docks it back.
    w->show();
    Q_EMIT shellWidget<QToolBar>(*w, "ButtonBar")->topLevelChanged(true);
    QVERIFY(w->actions()->ButtonBarShow->isEnabled());
    shellWidget<QToolBar>(*w, "ButtonBar")->hide();
    w->actions()->ButtonBarShow->trigger();
    QVERIFY(shellWidget<QToolBar>(*w, "ButtonBar")->isVisible());
    QVERIFY(!w->actions()->ButtonBarShow->isEnabled());
    QCOMPARE(w->toolBarArea(shellWidget<QToolBar>(*w, "ButtonBar")), Qt::TopToolBarArea);
    // Font bar: every size of the fixed list.
    QCOMPARE(shellWidget<QComboBox>(*w, "FontSizeBox")->count(), 16);
    QCOMPARE(shellWidget<QComboBox>(*w, "FontSizeBox")->itemText(0), QStringLiteral("8"));
    QCOMPARE(shellWidget<QComboBox>(*w, "FontSizeBox")->itemText(15), QStringLiteral("72"));
}

void TestMainWindow::tabsInOrderWithHiddenPages()
{
    auto w = open();
    QStringList tabs;
    for (int i = 0; i < tabArea(*w)->count(); ++i)
        tabs << tabArea(*w)->tabText(i);
    QCOMPARE(tabs,
             (QStringList{QStringLiteral("HTML"), QStringLiteral("添付ファイルⅠ"), QStringLiteral("添付ファイルⅡ"),
                          QStringLiteral("書誌情報"), QStringLiteral("パラメータ設定"), QStringLiteral("Data"),
                          QStringLiteral("DB File処理"), QStringLiteral("Mail 送信")}));
    // No message shown yet, no optional tab chosen: every page is hidden.
    for (int i = 0; i < tabArea(*w)->count(); ++i)
        QVERIFY2(!w->isPageVisible(i), qPrintable(tabArea(*w)->tabText(i)));

    w->actions()->DispTAB1->trigger();
    QVERIFY(w->isPageVisible(TFrmQuillet::HeaderPage));
    w->actions()->DispTAB3->trigger();
    QVERIFY(w->isPageVisible(TFrmQuillet::ParameterPage));
    w->actions()->DispTAB1->trigger();
    QVERIFY(!w->isPageVisible(TFrmQuillet::HeaderPage));
    QVERIFY(!w->isPageVisible(TFrmQuillet::DataPage));
}

void TestMainWindow::upperPaneModesAreExclusive()
{
    auto w = open();
    QCOMPARE(w->upperPaneMode(), TFrmQuillet::UpperPaneMode::Normal);
    QCOMPARE(w->findChild<QStackedWidget*>(QStringLiteral("Panel1"))->currentWidget(), w->textPane());
    QCOMPARE(w->textPane()->placeholderText(), QStringLiteral("ここにメッセージ(ファイル)をドロップしてください"));
    QVERIFY(w->textPane()->isReadOnly());

    w->setUpperPaneMode(TFrmQuillet::UpperPaneMode::Backup);
    QCOMPARE(w->findChild<QStackedWidget*>(QStringLiteral("Panel1"))->currentWidget()->objectName(),
             QStringLiteral("BackupPane"));
    QVERIFY(w->isPageVisible(TFrmQuillet::DBFilePage));
    QVERIFY(!w->isPageVisible(TFrmQuillet::MailSendPage));

    w->setUpperPaneMode(TFrmQuillet::UpperPaneMode::Sender);
    QCOMPARE(w->findChild<QStackedWidget*>(QStringLiteral("Panel1"))->currentWidget()->objectName(),
             QStringLiteral("SenderPane"));
    QVERIFY(!w->isPageVisible(TFrmQuillet::DBFilePage));
    QVERIFY(w->isPageVisible(TFrmQuillet::MailSendPage));

    w->setUpperPaneMode(TFrmQuillet::UpperPaneMode::Normal);
    QCOMPARE(w->findChild<QStackedWidget*>(QStringLiteral("Panel1"))->currentWidget(), w->textPane());
    QVERIFY(!w->isPageVisible(TFrmQuillet::DBFilePage));
    QVERIFY(!w->isPageVisible(TFrmQuillet::MailSendPage));
}

void TestMainWindow::statusBarMinimumSizeAndFont()
{
    auto w = open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->state.CFunc, w->state.CDpi / 96.0);
    QCOMPARE(w->statusPanelWidth(0), qRound(w->state.CDpi * 140 / 96.0));
    QCOMPARE(w->statusPanelWidth(1), qRound(w->state.CDpi * 50 / 96.0));
    QVERIFY(w->statusPanelWidth(2) > 0);
    QCOMPARE(shellWidget<QSplitter>(*w, "Splitter")->handleWidth(), qRound(w->state.CDpi * 5 / 96.0));
    QCOMPARE(w->minimumSize(), QSize(404, 480));
    QCOMPARE(w->font().family(), QStringLiteral("Meiryo UI"));
    QCOMPARE(w->font().pointSize(), 9);
    QCOMPARE(w->windowTitle(), QStringLiteral("Tallowin 管理"));
}

void TestMainWindow::parameterTableShowsRowsAndDummyData()
{
    TestEnvironment::writeFile(m_env->folders().initial + QStringLiteral("/tallowin.ini"),
                               QStringLiteral("[Condition]\nZOOM=120\nMailAccount1=山田 <y@example.jp>\n").toUtf8());
    auto w = open();
    QTableWidget* grid = shellWidget<ParameterTableView>(*w, "ParameterGrid");
    QCOMPARE(grid->rowCount(), 23);
    QCOMPARE(grid->columnWidth(0), 150);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("ExpFileName"));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Dummy Data"));
    QCOMPARE(grid->item(7, 0)->text(), QStringLiteral("ZOOM"));
    QCOMPARE(grid->item(7, 1)->text(), QStringLiteral("120"));
    QCOMPARE(grid->item(13, 1)->text(), QStringLiteral("山田 <y@example.jp>"));
    QCOMPARE(grid->item(22, 0)->text(), QStringLiteral("MailAccount10"));
    QVERIFY(!(grid->item(3, 0)->flags() & Qt::ItemIsEditable));

    grid->item(3, 1)->setText(QStringLiteral("/usr/bin/gpg"));
    QCOMPARE(w->settings().parameters.value(QStringLiteral("GPGPath")), QStringLiteral("/usr/bin/gpg"));
}

void TestMainWindow::readsConfigurationIntoControls()
{
    TestEnvironment::writeFile(
        m_env->folders().initial + QStringLiteral("/tallowin.ini"),
        QStringLiteral("[Window]\nLeft=30\nTop=40\nWidth=700\nHeight=560\nPanel1Height=120\n"
                       "[Condition]\nTAB1_Visible=1\nTAB3_Visible=0\nFontName=IPAGothic\nFontSize=14\nFontColor=255\n"
                       "[MailDB]\nServer=db.example.jp\nDBPath=/data/mail.fdb\n")
            .toUtf8());
    auto w = open();
    QCOMPARE(w->state.MyAppDataPath, m_env->folders().initial);
    QCOMPARE(w->state.IniFilePath, m_env->folders().initial + QStringLiteral("/tallowin.ini"));
    QVERIFY(w->state.common_ConfigFlg);
    QCOMPARE(w->state.Ldb_Host1, QStringLiteral("db.example.jp"));
    QCOMPARE(w->state.Ldb_Path1, QStringLiteral("/data/mail.fdb"));
    QCOMPARE(w->size(), QSize(700, 560));
    QVERIFY(w->actions()->DispTAB1->isChecked());
    QVERIFY(w->isPageVisible(TFrmQuillet::HeaderPage));
    QVERIFY(!w->isPageVisible(TFrmQuillet::ParameterPage));
    QCOMPARE(w->textPane()->font().family(), QStringLiteral("IPAGothic"));
    QCOMPARE(w->textPane()->font().pointSize(), 14);
    QCOMPARE(shellWidget<QComboBox>(*w, "FontSizeBox")->currentText(), QStringLiteral("14"));
    QCOMPARE(shellWidget<QComboBox>(*w, "ColorBox")->currentText(), QStringLiteral("Red"));
    QVERIFY(QFileInfo(workFolderPath(w->state.MyAppDataPath)).isDir());
    QVERIFY(QFileInfo::exists(w->state.MyAppDataPath + QStringLiteral("/$SMTPPass_Code")));
}

void TestMainWindow::closeWritesLiveValuesAndRemovesWorkFolders()
{
    const SettingsFolders f = m_env->folders();
    QDir().mkpath(f.individual);
    TestEnvironment::writeFile(f.individual + QStringLiteral("/tallowin.ini"),
                               "[Condition]\nHomeFlg=0\nHomePATH=/kept\n[Mine]\nKeep=1\n");
    auto w = open();
    QCOMPARE(w->state.MyAppDataPath, f.individual);
    const QString work = workFolderPath(f.individual);
    TestEnvironment::writeFile(work + QStringLiteral("/2nd/winmail.txt"), "x");
    const QString webData = webViewDataFolderPath(f.individual, kProgram);
    TestEnvironment::writeFile(webData + QStringLiteral("/EBWebView/Local State"), "{}");

    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->resize(720, 600);
    w->actions()->DispTAB3->trigger();
    shellWidget<ParameterTableView>(*w, "ParameterGrid")->item(6, 1)->setText(QStringLiteral("5"));
    w->state.Ldb_Path1 = QStringLiteral("/data/新しい.fdb");
    w->settings().homePath = QStringLiteral("/changed");
    shellWidget<QComboBox>(*w, "ColorBox")->setCurrentIndex(12); // Blue
    w->storedLists().recipients = {QStringLiteral("a@example.jp")};
    QVERIFY(w->close());

    QVERIFY(!QFileInfo::exists(work));
    QVERIFY(!QFileInfo::exists(webData));
    IniFile ini;
    QVERIFY(ini.load(f.individual + QStringLiteral("/tallowin.ini")));
    QCOMPARE(ini.readInteger(QStringLiteral("Window"), QStringLiteral("Width"), 0), 720);
    QCOMPARE(ini.readInteger(QStringLiteral("Window"), QStringLiteral("Height"), 0), 600);
    QCOMPARE(ini.readBool(QStringLiteral("Condition"), QStringLiteral("TAB3_Visible"), false), true);
    QCOMPARE(ini.readString(QStringLiteral("Condition"), QStringLiteral("WaitTime"), QString()), QStringLiteral("5"));
    QCOMPARE(ini.readString(QStringLiteral("Condition"), QStringLiteral("ExpFileName"), QString()),
             QStringLiteral("Dummy Data"));
    QCOMPARE(ini.readString(QStringLiteral("MailDB"), QStringLiteral("DBPath"), QString()),
             QStringLiteral("/data/新しい.fdb"));
    QCOMPARE(ini.readInteger(QStringLiteral("Condition"), QStringLiteral("FontColor"), -1), 0xFF0000);
    QCOMPARE(ini.readString(QStringLiteral("Condition"), QStringLiteral("FontName"), QString()),
             QStringLiteral("Meiryo UI"));
    QCOMPARE(ini.readString(QStringLiteral("Condition"), QStringLiteral("HomePath"), QString()),
             QStringLiteral("/kept"));
    QCOMPARE(ini.readBool(QStringLiteral("Condition"), QStringLiteral("HomeFlg"), false), true);
    QCOMPARE(ini.readString(QStringLiteral("Mine"), QStringLiteral("Keep"), QString()), QStringLiteral("1"));
    QCOMPARE(ini.keyNames(QStringLiteral("ADCondition")), QStringList{QStringLiteral("ADRS0")});
    QCOMPARE(ListFiles::loadUtf8(f.individual + QStringLiteral("/$MailAddressList.txt")),
             QStringList{QStringLiteral("a@example.jp")});
    QVERIFY(m_prompt.everything().isEmpty());
}

void TestMainWindow::closeGoesOnWhenFolderCannotBeRemoved()
{
    const SettingsFolders f = m_env->folders();
    QDir().mkpath(f.individual);
    auto w = open();
    UndeletableFolder stuck(workFolderPath(f.individual));
    if (!stuck.active())
        QSKIP("this file system cannot make a folder undeletable");
    w->state.Ldb_Path1 = QStringLiteral("/after/failure.fdb");
    QVERIFY(w->close());
    QCOMPARE(m_prompt.informations, QStringList{QStringLiteral("フォルダーが残されています")});
    IniFile ini;
    QVERIFY(ini.load(f.individual + QStringLiteral("/tallowin.ini")));
    QCOMPARE(ini.readString(QStringLiteral("MailDB"), QStringLiteral("DBPath"), QString()),
             QStringLiteral("/after/failure.fdb"));
}

void TestMainWindow::helpArgumentStopsCreation()
{
    const SettingsFolders f = m_env->folders();
    QDir().mkpath(f.individual);
    TestEnvironment::writeFile(f.individual + QStringLiteral("/tallowin.ini"), "[MailDB]\nDBPath=/x.fdb\n");
    auto w = open({QStringLiteral("help")});
    QCOMPARE(m_prompt.informations,
             QStringList{QStringLiteral("コマンドライン引数\r\n0:Win/1:ライト/2:ダーク/3:Win10")});
    QVERIFY(w->creationStoppedForHelp());
    QVERIFY(!w->state.common_ConfigFlg);
    QVERIFY(w->state.MyAppDataPath.isEmpty());
    QVERIFY(w->state.Ldb_Path1.isEmpty());
    QVERIFY(!QFileInfo::exists(workFolderPath(f.individual)));
    QVERIFY(w->close());
    QCOMPARE(TestEnvironment::readFile(f.individual + QStringLiteral("/tallowin.ini")),
             QByteArray("[MailDB]\nDBPath=/x.fdb\n"));
    QCOMPARE(QDir(f.individual).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("tallowin.ini")});
}

void TestMainWindow::commandLineThemeIsNotStored()
{
    const SettingsFolders f = m_env->folders();
    QDir().mkpath(f.individual);
    TestEnvironment::writeFile(f.individual + QStringLiteral("/tallowin.ini"), "[Condition]\nTheme=3\n");
    auto w = open({QStringLiteral("2")});
    QCOMPARE(w->appliedTheme(), 2);
    QCOMPARE(w->state.StyleNum, 0);
    QVERIFY(w->actions()->Theme.at(2)->isChecked());
    QVERIFY(!shellWidget<QComboBox>(*w, "ColorBox")->isEnabled());
    QVERIFY(w->close());
    IniFile ini;
    ini.load(f.individual + QStringLiteral("/tallowin.ini"));
    // A theme given for one run is applied, not recorded.
    QCOMPARE(ini.readInteger(QStringLiteral("Condition"), QStringLiteral("Theme"), -1), 0);
}

void TestMainWindow::themeChoice()
{
    auto w = open();
    QList<QAction*> themes = w->actions()->Theme;
    // The running theme asks nothing.
    themes.at(0)->trigger();
    QVERIFY(m_prompt.questions.isEmpty());
    QVERIFY(themes.at(0)->isChecked());

    // Declined: the chosen item is unchecked again, the running one stays.
    m_prompt.answers = {Prompt::Answer::No};
    themes.at(2)->trigger();
    QCOMPARE(m_prompt.questions,
             QStringList{QStringLiteral("スタイル変更を有効にするために\r\nプログラムを再起動します")});
    QVERIFY(!themes.at(2)->isChecked());
    QVERIFY(themes.at(0)->isChecked());
    QVERIFY(!w->restartRequested());

    // Accepted: the window closes, stores the theme and asks for a restart.
    m_prompt.answers = {Prompt::Answer::Yes};
    themes.at(1)->trigger();
    QVERIFY(w->restartRequested());
    QVERIFY(!w->isVisible());
    IniFile ini;
    QVERIFY(ini.load(w->state.IniFilePath));
    QCOMPARE(ini.readInteger(QStringLiteral("Condition"), QStringLiteral("Theme"), -1), 1);
}

void TestMainWindow::aboutWindow()
{
    auto w = open();
    TAboutBox box(*w);
    QCOMPARE(box.windowTitle(), QStringLiteral("製品バージョン"));
    QVERIFY(box.isModal());
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("ProductName"))->text(), QStringLiteral("Tallowin 管理"));
    QVERIFY(box.findChild<QLabel*>(QStringLiteral("Version"))->text().startsWith(QStringLiteral("バージョン: ")));
    QVERIFY(!box.findChild<QLabel*>(QStringLiteral("OperatingSystem"))->text().isEmpty());
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Note"))->text(),
             QStringLiteral("本プログラムはE-Mailメーラー,\nOutlook365,GPG4Winなど\nWindows環境に依存します。"));
    // No individual folder: the program runs on common settings.
    QCOMPARE(box.settingsButton()->text(), QStringLiteral("個別設定にする"));
    box.settingsButton()->click();
    QVERIFY(QFileInfo(m_env->folders().individual).isDir());
    QCOMPARE(w->state.MyAppDataPath, m_env->folders().individual);
    QCOMPARE(box.settingsButton()->text(), QStringLiteral("共通設定にする"));
    QVERIFY(!w->restartRequested());
    QVERIFY(w->close());
    QVERIFY(QFileInfo::exists(m_env->folders().individual + QStringLiteral("/tallowin.ini")));
}

void TestMainWindow::aboutSwitchToCommonWithNoRestarts()
{
    const SettingsFolders f = m_env->folders();
    QDir().mkpath(f.individual);
    TestEnvironment::writeFile(f.common + QStringLiteral("/tallowin.ini"), "[MailDB]\nDBPath=/common.fdb\n");
    auto w = open();
    w->show();
    w->state.Ldb_Path1 = QStringLiteral("/running.fdb");
    m_prompt.answers = {Prompt::Answer::No};
    {
        TAboutBox box(*w);
        QCOMPARE(box.settingsButton()->text(), QStringLiteral("共通設定にする"));
        box.settingsButton()->click();
    }
    QCOMPARE(m_prompt.informations, QStringList{QStringLiteral("プログラムを再起動します")});
    QTRY_VERIFY(w->restartRequested());
    QTRY_VERIFY(!w->isVisible());
    QVERIFY(!QFileInfo::exists(f.individual));
    // The running values were written nowhere: the common settings survive.
    QCOMPARE(TestEnvironment::readFile(f.common + QStringLiteral("/tallowin.ini")),
             QByteArray("[MailDB]\nDBPath=/common.fdb\n"));
}

void TestMainWindow::compatibilityLayerEndsProgram()
{
    LayerSet layer;
    m_compat = &layer;
    auto w = open();
    QVERIFY(w->terminationRequested());
    QCOMPARE(m_prompt.informations,
             QStringList{QStringLiteral("互換モードWINXPSP3で起動されています\n互換モードを解除して実行してください")});
}

void TestMainWindow::databaseCaptionIsWrittenForSecondStart()
{
    auto w = open();
    w->setDatabaseCaption(QStringLiteral("Tallowin 管理 - /data/mail.fdb"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Tallowin 管理 - /data/mail.fdb"));
    QCOMPARE(ListFiles::readFormTitle(w->state.MyAppDataPath), QStringLiteral("Tallowin 管理 - /data/mail.fdb"));
}

void TestMainWindow::bringToFrontRestoresMinimisedWindow()
{
    auto w = open();
    w->showMinimized();
    QTRY_VERIFY(w->isMinimized());
    w->bringToFront();
    QTRY_VERIFY(!w->isMinimized());
    QVERIFY(w->isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
