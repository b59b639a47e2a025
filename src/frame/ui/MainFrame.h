#pragma once

#include "base/QuilletState.h"

#include <QMainWindow>
#include <QPoint>

class AppSettings;
class ChildProcessRunner;
class MainActions;
class Prompt;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTabWidget;
class QTextEdit;
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
    enum Page {
        HtmlPage,
        Attachment1Page,
        Attachment2Page,
        HeaderPage,
        ParameterPage,
        DataPage,
        DBFilePage,
        MailSendPage,
        PageCount
    };

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

    // The message view: the panes a display fills.
    QTextEdit* textPane() const { return m_panes.text; }        // Editor: the read-only message text
    QPlainTextEdit* rawTextPane() const { return m_panes.raw; } // Memo1: the raw message, on the hidden "Data" page
    QLineEdit* headerField(int index) const;                    // Edit1 ... Edit8 of "書誌情報", counted from 0
    QListWidget* attachmentList(int which) const;               // 1: attachment list I, 2: list II
    virtual void ClearMessageView() = 0;

    // The tab pages, by their fixed index.
    int currentPage() const;
    void showPage(int page);
    bool isPageVisible(int page) const;
    void setPageVisible(int page, bool visible);
    virtual QWidget* page(Page which) const = 0;
    // A subsystem's own page after the fixed ones (the archive list):
    // appended and brought forward; taken out again (false when it was not
    // such a page); whether it is a page.
    void addTrailingPage(QWidget* widget, const QString& caption);
    bool removeTrailingPage(QWidget* widget);
    bool holdsPage(QWidget* widget) const;
    // The tab area's top left corner on the screen: a page taken out opens
    // as a window where it was.
    QPoint pagesOrigin() const;

    // The upper pane.
    virtual void setUpperPaneMode(UpperPaneMode mode) = 0;
    virtual UpperPaneMode upperPaneMode() const = 0;
    QWidget* dropTarget() const { return m_panes.drop; } // Panel1: messages are dropped here in normal mode

    // The status bar.
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

protected:
    // The window hands its panes over once it has built them. They are held
    // here, not asked for through virtual calls, so that event filters that
    // run while the window's children are destroyed still find them.
    struct Panes
    {
        QTextEdit* text = nullptr;
        QPlainTextEdit* raw = nullptr;
        QLineEdit* fields[8] = {};
        QListWidget* list1 = nullptr;
        QListWidget* list2 = nullptr;
        QTabWidget* tabs = nullptr;
        QWidget* drop = nullptr;
    };
    void setPanes(const Panes& panes);

Q_SIGNALS:
    // The window is closing: controllers release what they hold (the
    // archive connection, the lock) before the work folders go and
    // settings are written.
    void shuttingDown();
    // ClearMessageView ran: the reading subsystem empties what it owns.
    void messageViewCleared();
    // The user left the parameter table after editing it.
    void parametersEdited();
    // A double click on the tab of that page.
    void pageTabDoubleClicked(QWidget* page);

private:
    Panes m_panes;
};
