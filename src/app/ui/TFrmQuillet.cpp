#include "app/ui/TFrmQuillet.h"

#include "app/CommandLine.h"
#include "app/ScreenDensity.h"
#include "app/ui/ColorBoxEntries.h"
#include "app/ui/ParameterTableView.h"
#include "app/ui/TAboutBox.h"
#include "base/AppInfo.h"
#include "base/Delay.h"
#include "base/FolderRemoval.h"
#include "frame/ui/MainActions.h"
#include "platform/ChildProcessRunner.h"
#include "platform/CompatibilityLayer.h"
#include "platform/ui/WidgetPrompt.h"
#include "reading/tnef/TnefExtraction.h"
#include "settings/ListFiles.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString kDropPrompt = QStringLiteral("ここにメッセージ(ファイル)をドロップしてください");
const QStringList kFontSizes{QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"), QStringLiteral("11"),
                             QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"),
                             QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24"), QStringLiteral("26"),
                             QStringLiteral("28"), QStringLiteral("36"), QStringLiteral("48"), QStringLiteral("72")};
const QString kConfigurationNotSaved = QStringLiteral("設定を保存できませんでした\r\n");
const QString kThemeRestartQuestion = QStringLiteral("スタイル変更を有効にするために\r\nプログラムを再起動します");

QListWidget* newAttachmentList(const char* name)
{
    auto* list = new QListWidget;
    list->setObjectName(QString::fromLatin1(name));
    // Large icons with their captions beneath, no columns.
    list->setViewMode(QListView::IconMode);
    list->setResizeMode(QListView::Adjust);
    list->setMovement(QListView::Static);
    list->setWordWrap(true);
    // Room for a short Japanese name on one line under its icon.
    list->setGridSize(QSize(120, 84));
    return list;
}

} // namespace

TFrmQuillet::TFrmQuillet(QuilletOptions options, QWidget* parent)
    : MainFrame(parent)
{
    setObjectName(QStringLiteral("FrmQuillet"));
    if (options.prompt) {
        m_prompt = options.prompt;
    } else {
        m_ownPrompt = std::make_unique<WidgetPrompt>(this);
        m_prompt = m_ownPrompt.get();
    }
    m_runner = new ChildProcessRunner(state.TerminateState, this);
    setWindowTitle(AppInfo::Title);
    setMinimumSize(404, 480);

    buildActionsAndMenus();
    buildButtonBar();
    buildFontBar();
    buildPanes();
    buildStatusBar();
    connectShellActions();

    runCreationSteps(options);
}

TFrmQuillet::~TFrmQuillet() = default;

// ---------------------------------------------------------------- layout

void TFrmQuillet::buildActionsAndMenus()
{
    m_actions = new MainActions(this);
    MainActions& a = *m_actions;
    // The menu bar lives in a bar of its own so that it shares the top line
    // with the font bar, the button bar below them.
    MainMenu = new QMenuBar;
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    MainMenu->setNativeMenuBar(false);
    m_menuBarHolder = new QToolBar(QStringLiteral("MenuBar"), this);
    m_menuBarHolder->setObjectName(QStringLiteral("MenuBar"));
    m_menuBarHolder->setMovable(false);
    m_menuBarHolder->addWidget(MainMenu);
    QMenuBar* bar = MainMenu;

    QMenu* file = bar->addMenu(QStringLiteral("ファイル (&F)"));
    file->addAction(a.MessageOpen);
    file->addAction(a.MessageSave);
    file->addAction(a.MailboxImport);
    file->addSeparator();
    file->addAction(a.FontBarShow);
    file->addAction(a.ButtonBarShow);
    file->addSeparator();
    file->addAction(a.FileExit);

    QMenu* operate = bar->addMenu(QStringLiteral("操作 (&C)"));
    operate->addAction(a.DBUpdate);
    operate->addAction(a.DBConnect);
    operate->addSeparator();
    operate->addAction(a.DBSelect);
    operate->addSeparator();
    operate->addAction(a.DispMsgDat);
    operate->addAction(a.ExprtMsgFile);
    operate->addSeparator();
    operate->addAction(a.DBBackup);
    operate->addSeparator();
    operate->addAction(a.MLSender);

    QMenu* settings = bar->addMenu(QStringLiteral("設定 (&S)"));
    settings->addAction(a.DBFileSet);
    settings->addSeparator();
    settings->addAction(a.DispTAB1);
    settings->addAction(a.DispTAB3);
    settings->addSeparator();
    QMenu* themes = settings->addMenu(QStringLiteral("アプリ・テーマ設定 (&Z)"));
    themes->addActions(a.Theme);

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ (&H)"));
    help->addAction(a.Hcontents);
    help->addAction(a.Hkeyword);
    help->addSeparator();
    help->addAction(a.About);

    WindowPopup = new QMenu(this);
    WindowPopup->setObjectName(QStringLiteral("WindowPopup"));
    WindowPopup->addAction(a.EditorPrint);
    WindowPopup->addSeparator();
    WindowPopup->addAction(a.FontBarShow);
    WindowPopup->addAction(a.ButtonBarShow);
    addAction(a.EditorPrint); // its shortcut works anywhere in the window
}

void TFrmQuillet::buildButtonBar()
{
    MainActions& a = *m_actions;
    ButtonBar = new QToolBar(QStringLiteral("ButtonBar"), this);
    ButtonBar->setObjectName(QStringLiteral("ButtonBar"));
    ButtonBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ButtonBar->setMinimumWidth(380);
    QStyle* s = style();
    a.MessageOpen->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    a.DBUpdate->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    a.DBConnect->setIcon(s->standardIcon(QStyle::SP_DriveHDIcon));
    a.DBSelect->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    a.Zoom_DecMgn->setIcon(s->standardIcon(QStyle::SP_ArrowDown));
    a.Zoom_IncMgn->setIcon(s->standardIcon(QStyle::SP_ArrowUp));
    ButtonBar->addAction(a.MessageOpen);
    ButtonBar->addSeparator();
    ButtonBar->addAction(a.DBUpdate);
    ButtonBar->addAction(a.DBConnect);
    ButtonBar->addSeparator();
    ButtonBar->addAction(a.DBSelect);
    ButtonBar->addAction(a.Zoom_DecMgn);
    ButtonBar->addAction(a.Zoom_IncMgn);
}

void TFrmQuillet::buildFontBar()
{
    FontBar = new QToolBar(QStringLiteral("FontBar"), this);
    FontBar->setObjectName(QStringLiteral("FontBar"));
    FontBar->setMinimumWidth(380);
    FontNameBox = new QFontComboBox(FontBar);
    FontNameBox->setObjectName(QStringLiteral("FontNameBox"));
    FontSizeBox = new QComboBox(FontBar);
    FontSizeBox->setObjectName(QStringLiteral("FontSizeBox"));
    FontSizeBox->setEditable(true);
    FontSizeBox->addItems(kFontSizes);
    ColorBox = new QComboBox(FontBar);
    ColorBox->setObjectName(QStringLiteral("ColorBox"));
    for (const ColorBoxEntry& entry : colorBoxEntries()) {
        QPixmap swatch(12, 12);
        swatch.fill(entry.color);
        ColorBox->addItem(QIcon(swatch), entry.name, entry.color);
    }
    FontBar->addWidget(FontNameBox);
    FontBar->addWidget(FontSizeBox);
    m_colorBoxAction = FontBar->addWidget(ColorBox);
}

void TFrmQuillet::buildPanes()
{
    Panel1 = new QStackedWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setMinimumHeight(10);
    Editor = new QTextEdit;
    Editor->setObjectName(QStringLiteral("Editor"));
    Editor->setReadOnly(true);
    Editor->setAcceptRichText(false);
    // The window's pop-up menu opens on the text pane.
    Editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Editor, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { WindowPopup->popup(Editor->viewport()->mapToGlobal(at)); });
    auto* backupPane = new QWidget;
    backupPane->setObjectName(QStringLiteral("BackupPane"));
    auto* senderPane = new QWidget;
    senderPane->setObjectName(QStringLiteral("SenderPane"));
    Panel1->addWidget(Editor);
    Panel1->addWidget(backupPane);
    Panel1->addWidget(senderPane);

    TabArea = new QTabWidget;
    TabArea->setObjectName(QStringLiteral("TabArea"));
    m_pages[HtmlPage] = new QWidget;
    ListView1 = newAttachmentList("ListView1");
    ListView2 = newAttachmentList("ListView2");
    m_pages[Attachment1Page] = ListView1;
    m_pages[Attachment2Page] = ListView2;

    auto* header = new QWidget;
    auto* form = new QFormLayout(header);
    const QStringList labels{QStringLiteral("Message ID:"),   QStringLiteral("Message Date:"),
                             QStringLiteral("Account Key:"),  QStringLiteral("From Name:"),
                             QStringLiteral("From Address:"), QStringLiteral("Account Name:"),
                             QStringLiteral("To Address:"),   QStringLiteral("Message Subject :")};
    for (int i = 0; i < 8; ++i) {
        Edit[i] = new QLineEdit;
        Edit[i]->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        form->addRow(labels.at(i), Edit[i]);
    }
    m_pages[HeaderPage] = header;

    ParameterGrid = new ParameterTableView(m_config.settings.parameters);
    m_pages[ParameterPage] = ParameterGrid;
    connect(ParameterGrid, &ParameterTableView::editingLeft, this, &MainFrame::parametersEdited);
    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    m_pages[DataPage] = Memo1;
    m_pages[DBFilePage] = new QWidget;
    m_pages[MailSendPage] = new QWidget;

    const QStringList captions{QStringLiteral("HTML"),           QStringLiteral("添付ファイルⅠ"),
                               QStringLiteral("添付ファイルⅡ"),  QStringLiteral("書誌情報"),
                               QStringLiteral("パラメータ設定"), QStringLiteral("Data"),
                               QStringLiteral("DB File処理"),    QStringLiteral("Mail 送信")};
    for (int i = 0; i < PageCount; ++i)
        TabArea->addTab(m_pages[i], captions.at(i));
    TabArea->setTabVisible(DataPage, false);
    TabArea->setTabVisible(DBFilePage, false);
    TabArea->setTabVisible(MailSendPage, false);

    Splitter = new QSplitter(Qt::Vertical);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setChildrenCollapsible(false);
    Splitter->addWidget(Panel1);
    Splitter->addWidget(TabArea);
    Splitter->setStretchFactor(1, 1);
    setCentralWidget(Splitter);

    Panes panes;
    panes.text = Editor;
    panes.raw = Memo1;
    std::copy(std::begin(Edit), std::end(Edit), std::begin(panes.fields));
    panes.list1 = ListView1;
    panes.list2 = ListView2;
    panes.tabs = TabArea;
    panes.drop = Panel1;
    setPanes(panes);
}

void TFrmQuillet::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 3; ++i) {
        m_statusPanels[i] = new QLabel;
        m_statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        bar->addPermanentWidget(m_statusPanels[i], i == 2 ? 1 : 0);
    }
}

void TFrmQuillet::connectShellActions()
{
    MainActions& a = *m_actions;
    connect(a.FileExit, &QAction::triggered, this, &QWidget::close);
    connect(a.About, &QAction::triggered, this, &TFrmQuillet::showAbout);
    connect(a.DispTAB1, &QAction::toggled, this, [this](bool on) { TabArea->setTabVisible(HeaderPage, on); });
    connect(a.DispTAB3, &QAction::toggled, this, [this](bool on) { TabArea->setTabVisible(ParameterPage, on); });
    for (int i = 0; i < a.Theme.size(); ++i)
        connect(a.Theme.at(i), &QAction::triggered, this, [this, i] { themeExecute(i); });

    // A bar dragged out floats; its show action brings it back.
    const auto bindBar = [this](QToolBar* bar, QAction* show) {
        connect(bar, &QToolBar::topLevelChanged, show, &QAction::setEnabled);
        connect(show, &QAction::triggered, this, [this, bar, show] {
            const bool otherFloats = (bar == FontBar ? ButtonBar : FontBar)->isFloating();
            if (!otherFloats)
                placeBars();
            else {
                addToolBar(Qt::TopToolBarArea, bar);
                bar->show();
            }
            show->setEnabled(false);
        });
    };
    bindBar(ButtonBar, a.ButtonBarShow);
    bindBar(FontBar, a.FontBarShow);

    connect(FontNameBox, &QFontComboBox::currentFontChanged, this, &TFrmQuillet::fontBarChanged);
    connect(FontSizeBox, &QComboBox::currentTextChanged, this, &TFrmQuillet::fontBarChanged);
    connect(ColorBox, &QComboBox::currentIndexChanged, this, &TFrmQuillet::fontBarChanged);
}

// ---------------------------------------------------------------- creation

void TFrmQuillet::runCreationSteps(const QuilletOptions& options)
{
    m_programFolder = options.programFolder.isEmpty() ? programFolder() : options.programFolder;
    if (!m_programFolder.endsWith(u'/'))
        m_programFolder += u'/';
    m_programFile = options.programFile.isEmpty() ? programFileName() : options.programFile;
    m_folders = options.folders.value_or(SettingsFolders::locate(m_programFolder));

    // Compatibility layers are a setting of other systems; the check stays
    // so that such a setting is still refused where it exists.
    const CompatibilityLayer& compat = options.compatibility ? *options.compatibility : CompatibilityLayer::system();
    const QString layer = compat.layerFor(QDir(m_programFolder).filePath(m_programFile));
    if (!layer.isEmpty()) {
        m_prompt->information(CompatibilityLayer::warningText(layer));
        m_terminationRequested = true;
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QThread::msleep(250);
    }

    const CommandLineChoice choice = parseCommandLine(options.arguments);
    if (choice.showHelp) {
        m_prompt->information(kCommandLineHelpText);
        m_stoppedForHelp = true;
        return;
    }

    TabArea->setTabVisible(DataPage, false);
    Editor->setPlaceholderText(kDropPrompt);
    ClearMessageView();
    state.common_ConfigFlg = true;

    readConfiguration(choice.themeGiven);
    // A theme given on the command line is applied for this run only; the
    // theme stored at close stays the one chosen from the menu, else 0.
    state.StyleNum = quint16(m_config.settings.theme);
    m_appliedTheme = choice.themeGiven ? choice.theme : state.StyleNum;
    applySettings();
    adaptToScreenDensity();
    placeBars();
    // The work folder, with any missing parent: a fresh user's settings
    // folder may not exist yet. One left by a run that was killed (it is
    // removed at close) goes first: only this instance uses it, and a
    // hostile winmail.dat may have filled it. So do scratch folders of the
    // command line's killed runs.
    const QString work = workFolderPath(state.MyAppDataPath);
    if (QFileInfo(work).isDir() && !QFileInfo(work).isSymLink())
        QDir(work).removeRecursively();
    QDir().mkpath(work);
    TnefExtraction::removeAbandonedScratchFolders();
}

void TFrmQuillet::readConfiguration(bool themeFromCommandLine)
{
    state.MyAppDataPath = m_folders.chooseAppDataFolder();
    state.IniFilePath = configFilePath(state.MyAppDataPath, m_programFile);
    m_config = Configuration::load(state.IniFilePath, state.MyAppDataPath, themeFromCommandLine);
    ParameterGrid->refresh();
}

void TFrmQuillet::applySettings()
{
    const AppSettings& s = m_config.settings;
    const QRect desktop = screen() ? screen()->availableGeometry() : QRect(0, 0, 1920, 1080);
    const QRect placed = fitOntoDesktop(QRect(s.window.left, s.window.top, s.window.width, s.window.height), desktop);
    resize(placed.size());
    move(placed.topLeft());
    Splitter->setSizes({qMax(10, s.window.panel1Height), qMax(10, s.window.height - s.window.panel1Height)});

    m_actions->DispTAB1->setChecked(s.tab1Visible);
    m_actions->DispTAB3->setChecked(s.tab3Visible);
    TabArea->setTabVisible(HeaderPage, s.tab1Visible);
    TabArea->setTabVisible(ParameterPage, s.tab3Visible);

    state.Ldb_Host1 = s.server;
    state.Ldb_Path1 = s.dbPath;
    for (int i = 0; i < m_actions->Theme.size(); ++i)
        m_actions->Theme.at(i)->setChecked(i == m_appliedTheme);
    // The colour box belongs to the system look only.
    ColorBox->setEnabled(m_appliedTheme == 0);
    m_colorBoxAction->setVisible(m_appliedTheme == 0);

    // The text pane's default attributes.
    state.FUpdating = true;
    QFont font(s.fontName);
    font.setPointSize(qMax(1, s.fontSize));
    Editor->setFont(font);
    QPalette palette = Editor->palette();
    palette.setColor(QPalette::Text, colorFromStoredValue(s.fontColor));
    Editor->setPalette(palette);
    FontNameBox->setCurrentFont(font);
    const int sizeIndex = FontSizeBox->findText(QString::number(s.fontSize));
    FontSizeBox->setCurrentIndex(sizeIndex);
    if (sizeIndex < 0)
        FontSizeBox->setEditText(QString());
    int colorIndex = 0;
    const QList<ColorBoxEntry>& colors = colorBoxEntries();
    for (int i = 0; i < colors.size(); ++i) {
        if (colorToStoredValue(colors.at(i).color) == s.fontColor)
            colorIndex = i;
    }
    ColorBox->setCurrentIndex(colorIndex);
    state.FUpdating = false;
}

void TFrmQuillet::collectSettings()
{
    AppSettings& s = m_config.settings;
    const QRect frame = frameGeometry();
    s.window.left = frame.x();
    s.window.top = frame.y();
    s.window.width = width();
    s.window.height = height();
    const QList<int> sizes = Splitter->sizes();
    if (!sizes.isEmpty())
        s.window.panel1Height = qMax(10, sizes.first());
    s.tab1Visible = m_actions->DispTAB1->isChecked();
    s.tab3Visible = m_actions->DispTAB3->isChecked();
    s.theme = state.StyleNum;
    s.server = state.Ldb_Host1;
    s.dbPath = state.Ldb_Path1;
    s.fontName = Editor->font().family();
    s.fontSize = Editor->font().pointSize();
    s.fontColor = ColorBox->currentIndex() <= 0 ? 0 : colorToStoredValue(Editor->palette().color(QPalette::Text));
}

void TFrmQuillet::adaptToScreenDensity()
{
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    state.CDpi = scr ? qRound(scr->logicalDotsPerInchX()) : 96;
    state.CFunc = state.CDpi / 96.0;
    const int image = ScreenDensity::buttonImageSize(ScreenDensity::imageSetsFor(state.CDpi).buttonBar);
    ButtonBar->setIconSize(QSize(image, image));
    m_statusPanels[0]->setFixedWidth(ScreenDensity::statusPanel0Width(state.CDpi));
    m_statusPanels[1]->setFixedWidth(ScreenDensity::statusPanel1Width(state.CDpi));
    Splitter->setHandleWidth(ScreenDensity::splitterHeight(state.CDpi));
}

void TFrmQuillet::placeBars()
{
    // First line: the menu bar, then the font bar; second line: the button
    // bar. Both movable bars are at least 380 pixels wide.
    for (QToolBar* bar : {m_menuBarHolder, FontBar, ButtonBar}) {
        if (toolBarBreak(bar))
            removeToolBarBreak(bar);
    }
    addToolBar(Qt::TopToolBarArea, m_menuBarHolder);
    addToolBar(Qt::TopToolBarArea, FontBar);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, ButtonBar);
    for (QToolBar* bar : {m_menuBarHolder, FontBar, ButtonBar})
        bar->show();
    m_actions->ButtonBarShow->setEnabled(false);
    m_actions->FontBarShow->setEnabled(false);
}

void TFrmQuillet::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FontBar->isVisible() && ColorBox->isVisible())
        ColorBox->setFocus();
    else
        Editor->setFocus();
}

QMenu* TFrmQuillet::createPopupMenu()
{
    // QMainWindow would offer its own bar list; the window has its own pop-up.
    return nullptr;
}

// ---------------------------------------------------------------- display

void TFrmQuillet::ClearMessageView()
{
    for (QLineEdit* edit : Edit)
        edit->clear();
    Memo1->clear();
    Editor->clear();
    m_actions->Zoom_IncMgn->setEnabled(false);
    m_actions->Zoom_DecMgn->setEnabled(false);
    ListView1->clear();
    ListView2->clear();
    TabArea->setTabVisible(Attachment1Page, false);
    TabArea->setTabVisible(Attachment2Page, false);
    TabArea->setTabVisible(HtmlPage, false);
    m_actions->MessageSave->setEnabled(false);
    Q_EMIT messageViewCleared();
}

void TFrmQuillet::setUpperPaneMode(UpperPaneMode mode)
{
    m_paneMode = mode;
    Panel1->setCurrentIndex(int(mode));
    TabArea->setTabVisible(DBFilePage, mode == UpperPaneMode::Backup);
    TabArea->setTabVisible(MailSendPage, mode == UpperPaneMode::Sender);
}

void TFrmQuillet::setStatusText(int panel, const QString& text)
{
    if (panel >= 0 && panel < 3)
        m_statusPanels[panel]->setText(text);
}

QString TFrmQuillet::statusText(int panel) const
{
    return panel >= 0 && panel < 3 ? m_statusPanels[panel]->text() : QString();
}

int TFrmQuillet::statusPanelWidth(int panel) const
{
    return panel >= 0 && panel < 3 ? m_statusPanels[panel]->width() : 0;
}

void TFrmQuillet::fontBarChanged()
{
    if (state.FUpdating)
        return;
    bool ok = false;
    const int size = FontSizeBox->currentText().toInt(&ok);
    QTextCharFormat format;
    format.setFontFamilies({FontNameBox->currentFont().family()});
    if (ok && size > 0)
        format.setFontPointSize(size);
    const QColor color = ColorBox->currentData().value<QColor>();
    format.setForeground(color);
    QTextCursor cursor = Editor->textCursor();
    if (cursor.hasSelection()) {
        cursor.mergeCharFormat(format);
    } else {
        QFont font = Editor->font();
        font.setFamily(FontNameBox->currentFont().family());
        if (ok && size > 0)
            font.setPointSize(size);
        Editor->setFont(font);
        QPalette palette = Editor->palette();
        palette.setColor(QPalette::Text, color);
        Editor->setPalette(palette);
    }
    Editor->setFocus();
}

// ---------------------------------------------------------------- commands

void TFrmQuillet::parametersChanged()
{
    ParameterGrid->refresh();
}

void TFrmQuillet::setDatabaseCaption(const QString& caption)
{
    setWindowTitle(caption);
    if (!state.MyAppDataPath.isEmpty())
        ListFiles::writeFormTitle(state.MyAppDataPath, caption); // failures are not reported
}

void TFrmQuillet::themeExecute(int number)
{
    QAction* item = m_actions->Theme.value(number);
    if (!item)
        return;
    if (number == state.StyleNum) {
        item->setChecked(true);
        return;
    }
    if (m_prompt->question(kThemeRestartQuestion) != Prompt::Answer::Yes) {
        item->setChecked(false);
        return;
    }
    state.StyleNum = quint16(number);
    if (number == 0 || number == 4)
        ColorBox->setCurrentIndex(0); // the first entry is black
    restartProgram();
}

void TFrmQuillet::showAbout()
{
    TAboutBox box(*this);
    box.exec();
}

void TFrmQuillet::restartProgram()
{
    m_restartRequested = true;
    close();
}

void TFrmQuillet::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

// ---------------------------------------------------------------- shut-down

void TFrmQuillet::closeEvent(QCloseEvent* event)
{
    shutDown();
    event->accept();
}

void TFrmQuillet::shutDown()
{
    if (m_shutDownDone)
        return;
    m_shutDownDone = true;
    Q_EMIT shuttingDown();
    // Outlook automation objects are only ever created where Outlook exists.
    if (state.OlkFlg) {
        state.OlkFlg = false;
        Delay(100);
    }
    // Nothing below may act on a folder built from an unset data folder.
    if (!state.MyAppDataPath.isEmpty()) {
        const QString webData = webViewDataFolderPath(state.MyAppDataPath, m_programFile);
        if (QFileInfo(webData).isDir()) {
            m_actions->Zoom_IncMgn->setEnabled(false);
            m_actions->Zoom_DecMgn->setEnabled(false);
            Delay(100);
            removeFolder(webData, *m_prompt);
        }
        const QString work = workFolderPath(state.MyAppDataPath);
        if (QFileInfo(work).isDir())
            removeFolder(work, *m_prompt);
    }
    writeConfiguration();
}

void TFrmQuillet::writeConfiguration()
{
    if (!state.common_ConfigFlg)
        return;
    collectSettings();
    // Leaving silently would lose every change of this run without a word.
    if (!m_config.save(state.IniFilePath, state.MyAppDataPath))
        m_prompt->error(kConfigurationNotSaved + state.IniFilePath);
}
