#pragma once

#include "app/Configuration.h"
#include "app/QuilletState.h"
#include "app/SettingsFolders.h"
#include "archive/EmbeddedLock.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>
#include <optional>

class ChildProcessRunner;
class CompatibilityLayer;
class MainActions;
class QAction;
class ParameterTableView;
class Prompt;
class QComboBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QTextEdit;
class QToolBar;
class QTreeWidget;

// How the main window is set up; tests replace the parts that touch the
// user's folders or show message boxes.
struct QuilletOptions
{
    QStringList arguments;                        // without the program name
    Prompt* prompt = nullptr;                     // null: message boxes
    std::optional<SettingsFolders> folders;       // default: from the environment
    QString programFolder;                        // default: the running program's folder
    QString programFile;                          // default: the running program's file name
    const CompatibilityLayer* compatibility = nullptr;
};

// The main window. It owns the state every subsystem shares and the layout;
// the subsystems' handlers work on that state.
class TFrmQuillet : public QMainWindow
{
    Q_OBJECT

public:
    enum class UpperPaneMode { Normal, Backup, Sender };
    // Tab pages in their fixed order; hidden pages keep their index.
    enum Page { HtmlPage, Attachment1Page, Attachment2Page, HeaderPage, ParameterPage, DataPage, DBFilePage,
                MailSendPage, PageCount };

    explicit TFrmQuillet(QuilletOptions options = {}, QWidget* parent = nullptr);
    ~TFrmQuillet() override;

    QuilletState state;

    MainActions* actions() const { return m_actions; }
    Prompt& prompt() const { return *m_prompt; }
    ChildProcessRunner& childProcesses() const { return *m_runner; }
    AppSettings& settings() { return m_config.settings; }
    StoredLists& storedLists() { return m_config.lists; }
    const SettingsFolders& folders() const { return m_folders; }
    QString programFile() const { return m_programFile; }
    QString programFolderPath() const { return m_programFolder; }

    // Controls other subsystems fill.
    QTextEdit* Editor = nullptr;           // read-only message text pane
    QPlainTextEdit* Memo1 = nullptr;       // raw message text on the hidden "Data" page
    QLineEdit* Edit[8] = {};               // Edit1 ... Edit8 of "書誌情報"
    QTreeWidget* ListView1 = nullptr;      // attachment list I
    QTreeWidget* ListView2 = nullptr;      // attachment list II
    QTabWidget* TabArea = nullptr;
    QStackedWidget* Panel1 = nullptr;
    QSplitter* Splitter = nullptr;
    QMenuBar* MainMenu = nullptr;
    QToolBar* ButtonBar = nullptr;
    QToolBar* FontBar = nullptr;
    QFontComboBox* FontNameBox = nullptr;
    QComboBox* FontSizeBox = nullptr;
    QComboBox* ColorBox = nullptr;
    ParameterTableView* ParameterGrid = nullptr;
    QMenu* WindowPopup = nullptr;

    void ClearMessageView();
    void setUpperPaneMode(UpperPaneMode mode);
    UpperPaneMode upperPaneMode() const { return m_paneMode; }
    QWidget* page(Page which) const { return m_pages[which]; }
    void setStatusText(int panel, const QString& text);
    QString statusText(int panel) const;
    int statusPanelWidth(int panel) const;

    // A caption carrying the database: shown, and written for a second
    // starting instance to find this window by.
    void setDatabaseCaption(const QString& caption);

    // Closes (saving as usual) and asks the program entry to start the
    // program again.
    void restartProgram();
    bool restartRequested() const { return m_restartRequested; }

    // A second start asked this instance to come forward.
    void bringToFront();

    // Creation stopped after the command-line help: the window runs on its
    // design values and nothing is read or written.
    bool creationStoppedForHelp() const { return m_stoppedForHelp; }
    // A compatibility layer was found; the program ends.
    bool terminationRequested() const { return m_terminationRequested; }
    // The theme in effect for this run (the command line may override StyleNum).
    int appliedTheme() const { return m_appliedTheme; }

Q_SIGNALS:
    // The window is closing: controllers release what they hold (the
    // archive connection) before the work folders go and settings are written.
    void shuttingDown();
    // ClearMessageView ran: the reading subsystem empties what it owns.
    void messageViewCleared();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    void buildActionsAndMenus();
    void buildButtonBar();
    void buildFontBar();
    void buildPanes();
    void buildStatusBar();
    void connectShellActions();

    void runCreationSteps(const QuilletOptions& options);
    void readConfiguration(bool themeFromCommandLine);
    void applySettings();
    void collectSettings();
    void adaptToScreenDensity();
    void placeBars();

    void shutDown();
    void writeConfiguration();

    void themeExecute(int number);
    void fontBarChanged();
    void showAbout();

    std::unique_ptr<Prompt> m_ownPrompt;
    Prompt* m_prompt = nullptr;
    MainActions* m_actions = nullptr;
    ChildProcessRunner* m_runner = nullptr;
    QLabel* m_statusPanels[3] = {};
    QAction* m_colorBoxAction = nullptr;
    QToolBar* m_menuBarHolder = nullptr;
    QWidget* m_pages[PageCount] = {};
    Configuration m_config;
    EmbeddedLock m_semafore;
    SettingsFolders m_folders;
    QString m_programFolder;
    QString m_programFile;
    UpperPaneMode m_paneMode = UpperPaneMode::Normal;
    int m_appliedTheme = 0;
    bool m_shutDownDone = false;
    bool m_restartRequested = false;
    bool m_stoppedForHelp = false;
    bool m_terminationRequested = false;
};
