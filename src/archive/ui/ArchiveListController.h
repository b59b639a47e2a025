#pragma once

#include <QObject>
#include <QTimer>

class QAction;
class ReadingController;
class TDBListFrm;
class TDm_Ldb;
class MainFrame;

// The archive list: the "DB接続" toggle that opens and closes it, the list
// window as the last page of the tab area, sorting, font steps, the list
// commands and their shortcuts, and the display of a listed message
// (double click, or automatically after "WaitTime" seconds when "AutoView" is "1").
class ArchiveListController : public QObject
{
    Q_OBJECT

public:
    ArchiveListController(MainFrame& window, TDm_Ldb& database, ReadingController& reading);

    void DBConnectExecute();
    // Closing the list, as opening files, backup and sender mode do.
    void closeList();
    void ShowDBList();
    void UpdateListCommands();
    void ApplyAutoViewShortcuts();
    void DBGrid1TitleClick(int logicalColumn);
    void DBGrid1DblClick();
    void autoDisplay();
    void S1Click(); // shrink the grid font
    void S2Click(); // enlarge it
    // The list page leaves the tab area as a window of its own (a double
    // click on its tab), and docks back when that window is closed.
    void floatList();
    void dockList();
    bool isFloating() const;

    TDBListFrm* listWindow() const { return m_list; }
    QAction* DelMsgDat = nullptr;
    QAction* ShrinkFont = nullptr;
    QAction* EnlargeFont = nullptr;
    QAction* PopupDisplay = nullptr;
    QAction* PopupExport = nullptr;

private:
    void buildPopup();
    void autoDisplayNow();
    QString fetchToWorkFolder(const QString& id, const QDateTime& date);

    MainFrame& m_window;
    TDm_Ldb& m_dm;
    ReadingController& m_reading;
    TDBListFrm* m_list = nullptr;
    int m_sortClicks = 0;
    QTimer m_autoView; // the automatic display after WaitTime seconds   // title clicks so far: their parity picks the
                       // order
};
