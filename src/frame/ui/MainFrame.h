#pragma once

#include "base/QuilletState.h"

#include <QMainWindow>

class AppSettings;
class ChildProcessRunner;
class MainActions;
class Prompt;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;
class QTabWidget;
class QTextEdit;
class QListWidget;
class SettingsFolders;
class StoredLists;

// What the subsystems' controllers see of the main window: the shared
// state, the named actions, the message panes, the tab pages, the status
// bar and the mode of the upper pane. The shell's window implements it; a
// controller includes this header, never the shell's, so the include graph
// points down.
class MainFrame : public QMainWindow
{
    Q_OBJECT

public:
    enum class UpperPaneMode { Normal, Backup, Sender };
    // Tab pages in their fixed order; hidden pages keep their index.
    enum Page { HtmlPage, Attachment1Page, Attachment2Page, HeaderPage, ParameterPage, DataPage, DBFilePage,
                MailSendPage, PageCount };

    using QMainWindow::QMainWindow;

    QuilletState state;

    virtual MainActions* actions() const = 0;
    virtual Prompt& prompt() const = 0;
    virtual ChildProcessRunner& childProcesses() const = 0;
    virtual AppSettings& settings() = 0;
    virtual StoredLists& storedLists() = 0;
    virtual const SettingsFolders& folders() const = 0;
    virtual QString programFile() const = 0;
    virtual QString programFolderPath() const = 0;

    // The message panes the reading subsystem fills.
    QTextEdit* Editor = nullptr;           // read-only message text pane
    QPlainTextEdit* Memo1 = nullptr;       // raw message text on the hidden "Data" page
    QLineEdit* Edit[8] = {};               // Edit1 ... Edit8 of "書誌情報"
    QListWidget* ListView1 = nullptr;      // attachment list I
    QListWidget* ListView2 = nullptr;      // attachment list II
    QTabWidget* TabArea = nullptr;
    QStackedWidget* Panel1 = nullptr;      // the upper pane: the drop target in normal mode

    virtual void ClearMessageView() = 0;
    virtual void setUpperPaneMode(UpperPaneMode mode) = 0;
    virtual UpperPaneMode upperPaneMode() const = 0;
    virtual QWidget* page(Page which) const = 0;
    virtual void setStatusText(int panel, const QString& text) = 0;
    virtual QString statusText(int panel) const = 0;
    // A caption carrying the database: shown, and written for a second
    // starting instance to find this window by.
    virtual void setDatabaseCaption(const QString& caption) = 0;
    // A subsystem changed the parameter table: the "パラメータ設定" tab shows it.
    virtual void parametersChanged() = 0;

    // The window leaves its stay-on-top state (it takes it while the list
    // window floats), so that what comes forward is not hidden behind it.
    void leaveStayOnTop()
    {
        if (windowFlags() & Qt::WindowStaysOnTopHint)
            setWindowFlag(Qt::WindowStaysOnTopHint, false);
    }

Q_SIGNALS:
    // The window is closing: controllers release what they hold (the
    // archive connection, the lock) before the work folders go and
    // settings are written.
    void shuttingDown();
    // ClearMessageView ran: the reading subsystem empties what it owns.
    void messageViewCleared();
    // The user left the parameter table after editing it.
    void parametersEdited();
};
