#pragma once

#include "frame/ui/MainFrame.h"
#include "settings/Configuration.h"
#include "settings/SettingsFolders.h"

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
class QListWidget;

// How the main window is set up; tests replace the parts that touch the
// user's folders or show message boxes.
struct QuilletOptions
{
    QStringList arguments;                  // without the program name
    Prompt* prompt = nullptr;               // null: message boxes
    std::optional<SettingsFolders> folders; // default: from the environment
    QString programFolder;                  // default: the running program's folder
    QString programFile;                    // default: the running program's file name
    const CompatibilityLayer* compatibility = nullptr;
};

// The main window. It owns the state every subsystem shares and the layout;
// the subsystems' handlers work on that state.
class TFrmQuillet : public MainFrame
{
    Q_OBJECT

public:
    explicit TFrmQuillet(QuilletOptions options = {}, QWidget* parent = nullptr);
    ~TFrmQuillet() override;

    MainActions* actions() const override { return m_actions; }
    Prompt& prompt() const override { return *m_prompt; }
    ChildProcessRunner& childProcesses() const override { return *m_runner; }
    AppSettings& settings() override { return m_config.settings; }
    StoredLists& storedLists() override { return m_config.lists; }
    const SettingsFolders& folders() const override { return m_folders; }
    QString programFile() const override { return m_programFile; }
    QString programFolderPath() const override { return m_programFolder; }

    void ClearMessageView() override;
    QWidget* page(Page which) const override { return m_pages[which]; }
    void setUpperPaneMode(UpperPaneMode mode) override;
    UpperPaneMode upperPaneMode() const override { return m_paneMode; }
    void setStatusText(int panel, const QString& text) override;
    QString statusText(int panel) const override;
    int statusPanelWidth(int panel) const;
    void setDatabaseCaption(const QString& caption) override;
    void parametersChanged() override;

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

    // The shell's own controls.
    QSplitter* Splitter = nullptr;
    QMenuBar* MainMenu = nullptr;
    QToolBar* ButtonBar = nullptr;
    QToolBar* FontBar = nullptr;
    QFontComboBox* FontNameBox = nullptr;
    QComboBox* FontSizeBox = nullptr;
    QComboBox* ColorBox = nullptr;
    ParameterTableView* ParameterGrid = nullptr;
    QMenu* WindowPopup = nullptr;

    // The panes the subsystems reach through the frame's interface.
    QTextEdit* Editor = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLineEdit* Edit[8] = {};
    QListWidget* ListView1 = nullptr;
    QListWidget* ListView2 = nullptr;
    QTabWidget* TabArea = nullptr;
    QStackedWidget* Panel1 = nullptr;

    std::unique_ptr<Prompt> m_ownPrompt;
    Prompt* m_prompt = nullptr;
    MainActions* m_actions = nullptr;
    ChildProcessRunner* m_runner = nullptr;
    QLabel* m_statusPanels[3] = {};
    QAction* m_colorBoxAction = nullptr;
    QToolBar* m_menuBarHolder = nullptr;
    QWidget* m_pages[PageCount] = {};
    Configuration m_config;
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
