#include "archive/ui/ArchiveListController.h"

#include "archive/ArchiveFetch.h"
#include "archive/ArchiveListModel.h"
#include "archive/ArchiveTexts.h"
#include "archive/ListRules.h"
#include "archive/TDm_Ldb.h"
#include "archive/ui/TDBListFrm.h"
#include "base/Prompt.h"
#include "frame/ui/MainActions.h"
#include "frame/ui/MainFrame.h"
#include "reading/ui/ReadingController.h"
#include "settings/AppSettings.h"
#include "settings/SettingsFolders.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>

using namespace ArchiveTexts;

namespace { } // namespace

ArchiveListController::ArchiveListController(MainFrame& window, TDm_Ldb& database, ReadingController& reading)
    : QObject(&window)
    , m_window(window)
    , m_dm(database)
    , m_reading(reading)
{
    m_autoView.setSingleShot(true);
    m_autoView.setTimerType(Qt::PreciseTimer);
    connect(&m_autoView, &QTimer::timeout, this, &ArchiveListController::autoDisplayNow);
    MainActions* a = window.actions();
    a->DBConnect->setCheckable(true);
    DelMsgDat = new QAction(QStringLiteral("メッセージの削除 (&D)"), &window);
    DelMsgDat->setObjectName(QStringLiteral("DelMsgDat"));
    DelMsgDat->setEnabled(false);

    // Owned by the window while it is on no page, so that it goes with it.
    m_list = new TDBListFrm(&window);
    m_list->setModel(m_dm.FDTbl1());
    m_list->applyLayout(window.settings().grid);
    m_list->setGridFontSize(window.settings().dLstFrmFntSize);
    m_list->hide();
    buildPopup();

    connect(a->DBConnect, &QAction::triggered, this, &ArchiveListController::DBConnectExecute);
    connect(m_list->DBGrid1, &QAbstractItemView::doubleClicked, this, &ArchiveListController::DBGrid1DblClick);
    connect(m_list->DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &ArchiveListController::DBGrid1TitleClick);
    connect(m_list->DBGrid1, &QAbstractItemView::clicked, this, &ArchiveListController::autoDisplay);
    connect(&window, &MainFrame::parametersEdited, this, &ArchiveListController::ApplyAutoViewShortcuts);
    // The layout and font as the user left them go back into the settings.
    connect(&window, &MainFrame::shuttingDown, this, [this] {
        m_window.settings().grid = m_list->currentLayout();
        closeList();
    });

    connect(&window, &MainFrame::pageTabDoubleClicked, this, [this](QWidget* page) {
        if (page == m_list)
            floatList();
    });
    m_list->closeQuery = [this] {
        if (!(m_window.state.pmode & PMode::ListFloating))
            return false;
        dockList();
        return true;
    };
    connect(m_list, &TDBListFrm::resized, this, [this](const QSize& size) {
        if (isFloating()) {
            m_window.settings().listWindow.width = size.width();
            m_window.settings().listWindow.height = size.height();
        }
    });

    reading.archive.listOpen = [this] { return m_dm.isListOpen(); };
    reading.archive.currentRow = [this](QString* id, QDateTime* date) {
        const int row = m_list->currentRow();
        if (row < 0)
            return false;
        *id = m_dm.FDTbl1()->messageId(row);
        *date = m_dm.FDTbl1()->messageDate(row);
        return date->isValid();
    };
    reading.archive.fetchToWorkFolder
        = [this](const QString& id, const QDateTime& date) { return fetchToWorkFolder(id, date); };
}

void ArchiveListController::buildPopup()
{
    MainActions* a = m_window.actions();
    QMenu* menu = m_list->PopupMenu;
    PopupDisplay = menu->addAction(QStringLiteral("メッセージの表示 (&R)"), a->DispMsgDat, &QAction::trigger);
    PopupDisplay->setObjectName(QStringLiteral("PopupDisplay"));
    PopupExport
        = menu->addAction(QStringLiteral("メッセージファイルのエクスポート (&T)"), a->ExprtMsgFile, &QAction::trigger);
    PopupExport->setObjectName(QStringLiteral("PopupExport"));
    menu->addSeparator();
    menu->addAction(DelMsgDat);
    menu->addSeparator();
    ShrinkFont = menu->addAction(QStringLiteral("フォントサイズ (&S) - 縮小"), this, &ArchiveListController::S1Click);
    ShrinkFont->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    EnlargeFont = menu->addAction(QStringLiteral("フォントサイズ (&L) - 拡大"), this, &ArchiveListController::S2Click);
    EnlargeFont->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator())
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    m_list->addActions(menu->actions());
    // The popup entries follow their actions' enabled state.
    const auto mirror = [](QAction* source, QAction* entry) {
        entry->setEnabled(source->isEnabled());
        QObject::connect(source, &QAction::changed, entry, [source, entry] { entry->setEnabled(source->isEnabled()); });
    };
    mirror(a->DispMsgDat, PopupDisplay);
    mirror(a->ExprtMsgFile, PopupExport);
    mirror(a->SetListFontSize, ShrinkFont);
    mirror(a->SetListFontSize, EnlargeFont);
}

void ArchiveListController::DBConnectExecute()
{
    MainActions* a = m_window.actions();
    m_window.setUpperPaneMode(MainFrame::UpperPaneMode::Normal);
    m_window.setStatusText(0, QString());
    m_window.setStatusText(2, QString());
    if (m_dm.isListOpen()) {
        m_window.ClearMessageView();
        closeList();
        return;
    }
    QString error;
    if (!m_dm.openList(&error)) {
        a->DBConnect->setChecked(false);
        m_window.setStatusText(2, error);
        return;
    }
    m_window.state.pmode |= PMode::ListOpen;
    a->DBConnect->setChecked(true);
    a->DBConnect->setIcon(m_window.style()->standardIcon(QStyle::SP_DriveNetIcon));
    UpdateListCommands();
    ShowDBList();
    m_window.setStatusText(2, kConnected);
    ApplyAutoViewShortcuts();
}

void ArchiveListController::closeList()
{
    MainActions* a = m_window.actions();
    m_dm.closeList();
    m_window.state.pmode &= quint16(~PMode::ListOpen);
    a->DBConnect->setChecked(false);
    a->DBConnect->setIcon(m_window.style()->standardIcon(QStyle::SP_DriveHDIcon));
    for (QAction* action : {a->DispMsgDat, DelMsgDat, a->ExprtMsgFile, a->SetListFontSize})
        action->setEnabled(false);
    if (isFloating())
        dockList();
    m_window.removeTrailingPage(m_list);
    m_list->hide();
    m_list->setParent(&m_window);
    a->DBUpdate->setEnabled(false);
}

bool ArchiveListController::isFloating() const
{
    return m_list->isWindow();
}

void ArchiveListController::floatList()
{
    if (!m_window.removeTrailingPage(m_list))
        return;
    if (m_dm.isListOpen())
        m_window.state.pmode |= PMode::ListFloating;
    else
        m_window.state.pmode &= quint16(~PMode::ListFloating);
    m_list->setParent(&m_window, Qt::Window);
    m_list->setWindowTitle(kListCaption);
    m_list->resize(m_window.settings().listWindow.width, m_window.settings().listWindow.height);
    // It opens where the page was.
    m_list->move(m_window.pagesOrigin() + QPoint(24, 24));
    m_list->show();
}

void ArchiveListController::dockList()
{
    m_window.state.pmode &= quint16(~PMode::ListFloating);
    m_list->setParent(&m_window);
    m_window.addTrailingPage(m_list, kListCaption);
}

void ArchiveListController::ShowDBList()
{
    m_window.addTrailingPage(m_list, kListCaption);
    if (m_dm.FDTbl1()->rowCount() > 0 && !m_list->DBGrid1->currentIndex().isValid())
        m_list->DBGrid1->setCurrentIndex(m_dm.FDTbl1()->index(0, 1));
    connect(m_list->DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ArchiveListController::autoDisplay, Qt::UniqueConnection);
}

void ArchiveListController::UpdateListCommands()
{
    MainActions* a = m_window.actions();
    const bool rows = m_dm.FDTbl1()->rowCount() > 0;
    for (QAction* action : {a->DBSelect, a->DispMsgDat, DelMsgDat, a->ExprtMsgFile, a->SetListFontSize})
        action->setEnabled(rows);
}

void ArchiveListController::ApplyAutoViewShortcuts()
{
    const bool automatic = m_window.settings().parameters.value(QStringLiteral("AutoView")) == QLatin1String("1");
    PopupDisplay->setShortcut(automatic ? QKeySequence() : QKeySequence(Qt::CTRL | Qt::Key_R));
    PopupExport->setShortcut(automatic ? QKeySequence() : QKeySequence(Qt::CTRL | Qt::Key_T));
    DelMsgDat->setShortcut(automatic ? QKeySequence() : QKeySequence(Qt::CTRL | Qt::Key_Delete));
}

void ArchiveListController::DBGrid1TitleClick(int logicalColumn)
{
    int& clicks = m_sortClicks;
    m_dm.FDTbl1()->sort(logicalColumn, ListRules::sortsDescending(clicks) ? Qt::DescendingOrder : Qt::AscendingOrder);
    m_list->DBGrid1->clearSelection();
    ++clicks;
}

void ArchiveListController::DBGrid1DblClick()
{
    if (!m_dm.isListOpen())
        return;
    m_window.actions()->DBUpdate->setEnabled(false);
    m_window.actions()->DispMsgDat->trigger();
}

void ArchiveListController::autoDisplay()
{
    ParameterTable& parameters = m_window.settings().parameters;
    if (parameters.value(QStringLiteral("AutoView")) != QLatin1String("1"))
        return;
    bool ok = false;
    const int seconds = parameters.valueOr(QStringLiteral("WaitTime"), QStringLiteral("2")).trimmed().toInt(&ok);
    if (!ok) {
        m_window.prompt().error(
            QStringLiteral("'%1' is not a valid integer value").arg(parameters.value(QStringLiteral("WaitTime"))));
        return;
    }
    // A timer, not a wait: moving through rows restarts it, so only the row
    // the user stops on is shown, and no waits pile up inside each other.
    m_autoView.start(seconds * 1000);
}

void ArchiveListController::autoDisplayNow()
{
    if (!m_dm.isListOpen())
        return;
    m_window.actions()->DBUpdate->setEnabled(false);
    m_window.actions()->DispMsgDat->trigger();
}

void ArchiveListController::S1Click()
{
    int& size = m_window.settings().dLstFrmFntSize;
    size = ListRules::shrinkFontSize(size);
    m_list->setGridFontSize(size);
}

void ArchiveListController::S2Click()
{
    int& size = m_window.settings().dLstFrmFntSize;
    size = ListRules::enlargeFontSize(size);
    m_list->setGridFontSize(size);
}

QString ArchiveListController::fetchToWorkFolder(const QString& id, const QDateTime& date)
{
    const ArchiveFetch::Result result
        = ArchiveFetch::FetchMsgDat(m_dm, id, date, workFolderPath(m_window.state.MyAppDataPath));
    if (!result.ok) {
        m_window.prompt().information(result.error);
        return {};
    }
    return result.path;
}
