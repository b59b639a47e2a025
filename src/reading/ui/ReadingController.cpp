#include "reading/ui/ReadingController.h"

#include "base/Delay.h"
#include "base/Prompt.h"
#include "base/SafePath.h"
#include "frame/ui/MainActions.h"
#include "frame/ui/MainFrame.h"
#include "platform/ChildProcessRunner.h"
#include "platform/Shell.h"
#include "reading/AttachmentRules.h"
#include "reading/DisplayedMessage.h"
#include "reading/MessageIndex.h"
#include "reading/MimeMessage.h"
#include "reading/ReadingTexts.h"
#include "reading/Zoom.h"
#include "reading/ui/MailWebView.h"
#include "settings/AppSettings.h"
#include "settings/ParameterTable.h"
#include "settings/SettingsFolders.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace ReadingTexts;

using namespace AttachmentRules;

namespace { } // namespace

// The display's hand-over points, bound to the window's panes and lists.
class ReadingController::WindowSink final : public DisplaySink
{
public:
    explicit WindowSink(ReadingController& c)
        : m_c(c)
    { }

    void showPage(int page) override { m_c.m_window.showPage(page); }
    void listAttachment(const MimePart& part, const AttachmentListing& item) override { m_c.listInList1(part, item); }
    bool extractTnef(const MimePart& part) override { return m_c.tnefExtraction ? m_c.tnefExtraction(part) : true; }
    void setText(const QString& text) override { m_c.m_window.textPane()->setPlainText(text); }
    void showHtml(const QString& html) override { m_c.showHtml(html); }
    bool decryptInline(const QStringList& lines) override
    {
        if (m_c.inlineDecryption)
            return m_c.inlineDecryption(lines);
        m_c.m_window.textPane()->setPlainText(lines.join(u'\n'));
        return true;
    }
    bool decryptHeaderless(const QString& headerBlock) override
    {
        return m_c.headerlessDecryption ? m_c.headerlessDecryption(headerBlock) : true;
    }

private:
    ReadingController& m_c;
};

ReadingController::ReadingController(MainFrame& window, std::unique_ptr<Shell> shell)
    : QObject(&window)
    , m_window(window)
    , m_shell(std::move(shell))
{
    if (!m_shell)
        m_shell = std::make_unique<XdgShell>(window.childProcesses());
    m_web = new MailWebView;
    auto* layout = new QVBoxLayout(window.page(MainFrame::HtmlPage));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_web);
    for (QListWidget* list : {window.attachmentList(1), window.attachmentList(2)}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        list->installEventFilter(this);
    }
    buildActions();

    MainActions* a = window.actions();
    connect(a->Zoom_IncMgn, &QAction::triggered, this, &ReadingController::Zoom_IncMgnExecute);
    connect(a->Zoom_DecMgn, &QAction::triggered, this, &ReadingController::Zoom_DecMgnExecute);
    connect(a->DispMsgDat, &QAction::triggered, this, &ReadingController::DispMsgDatExecute);
    connect(a->EditorPrint, &QAction::triggered, this, &ReadingController::EditorPrintExecute);
    connect(&window, &MainFrame::messageViewCleared, this, &ReadingController::clearView);
    connect(&window, &MainFrame::shuttingDown, m_web, &MailWebView::close);
    connect(window.textPane(), &QTextEdit::cursorPositionChanged, this, &ReadingController::showCaret);
    // The header fields edit the displayed message: an edited subject is
    // stored as edited.
    for (int i = 0; i < 8; ++i)
        connect(window.headerField(i), &QLineEdit::textChanged, this,
                [this, i](const QString& text) { editField(i, text); });
    window.textPane()->installEventFilter(this);
    window.textPane()->viewport()->installEventFilter(this);

    connect(window.attachmentList(1), &QListWidget::itemSelectionChanged, this,
            &ReadingController::ListView1SelectItem);
    connect(window.attachmentList(2), &QListWidget::itemSelectionChanged, this,
            &ReadingController::ListView2SelectItem);
    connect(window.attachmentList(1), &QListWidget::itemDoubleClicked, this, &ReadingController::ListView1DblClick);
    connect(window.attachmentList(1), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        ListView1Popup->popup(m_window.attachmentList(1)->viewport()->mapToGlobal(at));
    });
    connect(window.attachmentList(2), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        ListView2Popup->popup(m_window.attachmentList(2)->viewport()->mapToGlobal(at));
    });
}

ReadingController::~ReadingController() = default;

void ReadingController::buildActions()
{
    const auto make = [this](const char* name, const QString& caption, bool enabled) {
        auto* action = new QAction(caption, &m_window);
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(enabled);
        return action;
    };
    SavetoDisk = make("SavetoDisk", QStringLiteral("名前をつけて保存 (&N)"), false);
    SavetoDisk->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    OpenWith = make("OpenWith", QStringLiteral("規定のプログラムで開く (&W)"), false);
    OpenWith->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    SaveToDiskA1 = make("SaveToDiskA1", QString(), true);
    SaveToDiskA2 = make("SaveToDiskA2", QString(), true);
    OpenWithA1 = make("OpenWithA1", QString(), true);
    OpenWithA2 = make("OpenWithA2", QString(), true);
    DecryptGpg = make("DecryptGpg", QStringLiteral("GnuPG復号 (&G)"), false);
    SaveToDiskDGpg = make("SaveToDiskDGpg", QStringLiteral("GnuPG復号して保存 (&H)"), false);
    DecryptGpgA1 = make("DecryptGpgA1", QString(), true);

    ListView1Popup = new QMenu(&m_window);
    ListView1Popup->setObjectName(QStringLiteral("ListView1Popup"));
    ListView1Popup->addAction(SavetoDisk);
    ListView1Popup->addSeparator();
    ListView1Popup->addAction(OpenWith);
    ListView1Popup->addSeparator();
    ListView1Popup->addAction(DecryptGpg);
    ListView1Popup->addAction(SaveToDiskDGpg);

    ListView2Popup = new QMenu(&m_window);
    ListView2Popup->setObjectName(QStringLiteral("ListView2Popup"));
    ListView2Popup->addAction(SavetoDisk);
    ListView2Popup->addSeparator();
    ListView2Popup->addAction(OpenWith);
    ListView2Popup->addSeparator();
    QAction* decryptSave2 = ListView2Popup->addAction(QStringLiteral("GnuPG復号して保存 (&E)"));
    decryptSave2->setEnabled(false);
    connect(SaveToDiskDGpg, &QAction::changed, decryptSave2,
            [this, decryptSave2] { decryptSave2->setEnabled(SaveToDiskDGpg->isEnabled()); });
    connect(decryptSave2, &QAction::triggered, SaveToDiskDGpg, &QAction::trigger);

    for (QAction* a : {SavetoDisk, OpenWith})
        m_window.addAction(a);
    connect(SavetoDisk, &QAction::triggered, this, &ReadingController::SavetoDiskExecute);
    connect(OpenWith, &QAction::triggered, this, &ReadingController::OpenWithExecute);
    connect(SaveToDiskA1, &QAction::triggered, this, &ReadingController::SaveToDiskA1Execute);
    connect(SaveToDiskA2, &QAction::triggered, this, &ReadingController::SaveToDiskA2Execute);
    connect(OpenWithA1, &QAction::triggered, this, &ReadingController::OpenWithA1Execute);
    connect(OpenWithA2, &QAction::triggered, this, &ReadingController::OpenWithA2Execute);
}

// ---------------------------------------------------------------- display

void ReadingController::clearView()
{
    m_web->close();
    removeExecuteFile();
    m_displayed.reset();
    m_message.reset();
}

bool ReadingController::DispEmlFile(const QString& path, const QString& storedName)
{
    m_window.ClearMessageView();

    ParameterTable& parameters = m_window.settings().parameters;
    const QString zoomText = parameters.valueOrApply(QStringLiteral("ZOOM"), QStringLiteral("70"));
    m_zoomFixed = parameters.valueOrApply(QStringLiteral("ZoomFixed"), QStringLiteral("1")) == QLatin1String("1");
    m_window.parametersChanged();
    if (!Zoom::factorFromPercent(zoomText, &m_zoomFactor)) {
        m_window.prompt().error(QStringLiteral("'%1' is not a valid floating point value").arg(zoomText));
        return false;
    }
    if (m_icons1)
        m_icons1->Clear();

    QString error;
    std::unique_ptr<DisplayedMessage> shown
        = DisplayedMessage::read(path, parameters.accountRows(), &error, storedName);
    if (!shown) {
        m_window.setStatusText(2, QString());
        m_window.prompt().information(kNotShown + error);
        return false;
    }
    m_message = shown->sharedParsed();
    m_window.rawTextPane()->setPlainText(QString::fromUtf8(shown->bytes()));
    for (int i = 0; i < DisplayedMessage::FieldCount; ++i)
        m_window.headerField(i)->setText(shown->field(DisplayedMessage::Field(i)));

    m_icons1 = std::make_unique<TFileAssociationDetails>(m_window.state.CDpi);
    WindowSink sink(*this);
    if (!shown->walk(sink)) {
        // A hook ended the display and has said why: an incomplete message
        // is neither shown nor registered.
        m_window.ClearMessageView();
        return false;
    }
    if (shown->attachmentsLeftOut() > 0)
        m_window.prompt().information(kAttachmentsLeftOut.arg(shown->attachmentsLeftOut()).arg(MaxListedAttachments));
    m_displayed = std::move(shown);
    if (!(m_window.state.pmode & PMode::ShownFromArchive))
        m_window.actions()->DBUpdate->setEnabled(true);
    m_window.setStatusText(2, kShown);
    return true;
}

void ReadingController::editField(int index, const QString& text)
{
    if (m_displayed)
        m_displayed->setField(DisplayedMessage::Field(index), text);
}

void ReadingController::showHtml(const QString& html)
{
    m_window.showPage(MainFrame::HtmlPage);
    m_window.setPageVisible(MainFrame::HtmlPage, true);
    m_window.leaveStayOnTop();
    if (!m_web->created()) {
        const QString data = webViewDataFolderPath(m_window.state.MyAppDataPath, m_window.programFile())
            + QStringLiteral("/EBWebView");
        Delay(100);
        m_web->create(data);
    }
    m_window.actions()->Zoom_IncMgn->setEnabled(true);
    m_window.actions()->Zoom_DecMgn->setEnabled(true);
    m_web->setZoomFactor(m_zoomFactor);
    m_web->showHtml(html);
}

void ReadingController::zoom(bool increase)
{
    m_window.showPage(MainFrame::HtmlPage);
    m_web->setZoomFactor(Zoom::step(m_web->zoomFactor(), increase));
    if (!m_zoomFixed) {
        m_window.settings().parameters.setValue(QStringLiteral("ZOOM"), Zoom::percentText(m_web->zoomFactor()));
        m_window.parametersChanged();
    }
}

void ReadingController::DispMsgDatExecute()
{
    QuilletState& state = m_window.state;
    state.pmode |= PMode::ShownFromArchive;
    if (!archive.listOpen || !archive.listOpen())
        return;
    QString id;
    QDateTime date;
    if (!archive.currentRow || !archive.currentRow(&id, &date)) {
        m_window.prompt().information(kRowError);
        return;
    }
    if (m_window.headerField(0)->text() != id) {
        m_window.setStatusText(2, kLoading);
        const QString work = archive.fetchToWorkFolder ? archive.fetchToWorkFolder(id, date) : QString();
        if (work.isEmpty())
            return; // the fetch has said why
        switch (messageFileKind(work)) {
        case MessageFileKind::Eml:
            if (DispEmlFile(work))
                m_displayed->fromArchive = true;
            break;
        case MessageFileKind::Msg:
            if (outlookDisplay)
                outlookDisplay(work);
            break;
        case MessageFileKind::Other:
            m_window.prompt().information(kNotMail);
            break;
        }
        if (QFile::exists(work))
            QFile::remove(work);
        m_window.actions()->MessageSave->setEnabled(m_displayed != nullptr);
        return;
    }
    if (m_window.isPageVisible(MainFrame::HtmlPage)) {
        m_window.showPage(MainFrame::HtmlPage);
        m_window.leaveStayOnTop();
    } else if (m_window.isPageVisible(MainFrame::Attachment1Page)) {
        m_window.showPage(MainFrame::Attachment1Page);
    } else if (m_window.isPageVisible(MainFrame::HeaderPage)) {
        m_window.showPage(MainFrame::HeaderPage);
    }
}

// ---------------------------------------------------------------- text pane

bool ReadingController::eventFilter(QObject* watched, QEvent* event)
{
    QuilletState& state = m_window.state;
    if (watched == m_window.textPane()) {
        if (event->type() == QEvent::FocusIn)
            state.EditorEnterOn = true;
        else if (event->type() == QEvent::FocusOut)
            state.EditorEnterOn = false;
    }
    if ((watched == m_window.textPane() || watched == m_window.textPane()->viewport())
        && event->type() == QEvent::Enter)
        m_window.actions()->EditorPrint->setEnabled(!m_window.textPane()->toPlainText().isEmpty());
    if (event->type() == QEvent::Leave) {
        if (watched == m_window.attachmentList(1))
            ListView1MouseLeave();
        else if (watched == m_window.attachmentList(2))
            ListView2MouseLeave();
    }
    return QObject::eventFilter(watched, event);
}

void ReadingController::showCaret()
{
    QTextEdit* editor = m_window.textPane();
    if (!m_window.state.EditorEnterOn || editor->toPlainText().isEmpty())
        return;
    const QTextCursor cursor = editor->textCursor();
    m_window.setStatusText(
        0, QString::asprintf("Line: %3d Col: %3d", cursor.blockNumber() + 1, cursor.positionInBlock() + 1));
}

void ReadingController::EditorPrintExecute()
{
    QPrinter printer;
    printer.setDocName(QStringLiteral("印刷Title"));
    QPrintDialog dialog(&printer, &m_window);
    if (dialog.exec() == QDialog::Accepted)
        m_window.textPane()->document()->print(&printer);
}

// ---------------------------------------------------------------- attachments

void ReadingController::listInList1(const MimePart&, const AttachmentListing& item)
{
    m_icons1->AddExtension(item.iconType);
    if (item.opensWithProgram) {
        OpenWithA1->setEnabled(true);
        OpenWith->setEnabled(true);
    }
    m_icons1->GetFileIconsAndDescriptions();
    Delay(100);
    m_window.setPageVisible(MainFrame::Attachment1Page, true);
    QListWidget* list = m_window.attachmentList(1);
    auto* entry = new QListWidgetItem(item.caption, list);
    entry->setToolTip(TFileAssociationDetails::descriptionForExtension(item.iconType));
    const int index = list->count() - 1;
    entry->setIcon(m_icons1->images().value(index));
    list->setIconSize(QSize(m_icons1->iconSize(), m_icons1->iconSize()));
}

void ReadingController::listInList2(const QString& caption, const QString& iconType)
{
    QListWidget* list = m_window.attachmentList(2);
    if (list->count() == 0 || !m_icons2)
        m_icons2 = std::make_unique<TFileAssociationDetails>(m_window.state.CDpi);
    m_icons2->AddExtension(iconType);
    m_icons2->GetFileIconsAndDescriptions();
    m_window.setPageVisible(MainFrame::Attachment2Page, true);
    auto* entry = new QListWidgetItem(caption, list);
    entry->setToolTip(TFileAssociationDetails::descriptionForExtension(iconType));
    entry->setIcon(m_icons2->images().value(list->count() - 1));
    list->setIconSize(QSize(m_icons2->iconSize(), m_icons2->iconSize()));
}

QString ReadingController::selectedCaption(int list) const
{
    QListWidget* view = list == 1 ? m_window.attachmentList(1) : m_window.attachmentList(2);
    const QList<QListWidgetItem*> selected = view->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void ReadingController::removeExecuteFile()
{
    if (!ExecuteFile.isEmpty() && QFile::exists(ExecuteFile))
        QFile::remove(ExecuteFile);
}

void ReadingController::ListView1SelectItem()
{
    const QString caption = selectedCaption(1);
    if (caption.isNull())
        return;
    SavetoDisk->setEnabled(true);
    m_window.setStatusText(2, caption);
    const List1Selection s = selectInList1(caption);
    OpenWith->setEnabled(s.openWith);
    DecryptGpg->setEnabled(s.decrypt);
    SaveToDiskDGpg->setEnabled(s.decrypt);
}

void ReadingController::ListView2SelectItem()
{
    const QString caption = selectedCaption(2);
    if (caption.isNull())
        return;
    SavetoDisk->setEnabled(true);
    SaveToDiskA2->setEnabled(true);
    const bool opens = list2Opens(caption);
    OpenWith->setEnabled(opens);
    OpenWithA2->setEnabled(opens);
}

void ReadingController::ListView1MouseLeave()
{
    if (!m_window.attachmentList(1)->selectedItems().isEmpty())
        return;
    for (QAction* a : {SavetoDisk, OpenWith, DecryptGpg, SaveToDiskDGpg})
        a->setEnabled(false);
}

void ReadingController::ListView2MouseLeave()
{
    if (!m_window.attachmentList(2)->selectedItems().isEmpty())
        return;
    for (QAction* a : {SavetoDisk, SaveToDiskA2, OpenWith, OpenWithA2})
        a->setEnabled(false);
}

void ReadingController::ListView1DblClick()
{
    const QString caption = selectedCaption(1);
    if (caption.isNull())
        return;
    m_window.setStatusText(2, caption);
    if (looksEncrypted(caption))
        DecryptGpgA1->trigger();
    else
        OpenWithA1->trigger();
}

bool ReadingController::writeAttachment(const QString& caption, const QString& path)
{
    if (!m_message)
        return false;
    const MimePart* part = findAttachment(*m_message, caption);
    return part && m_message->saveAttachment(*part, path);
}

void ReadingController::SavetoDiskExecute()
{
    const int page = m_window.currentPage();
    if (page == MainFrame::Attachment1Page) {
        const QString caption = selectedCaption(1);
        const bool outlook = m_displayed && m_displayed->kind() == MessageFileKind::Msg;
        if (outlook && !caption.isNull() && QFileInfo(caption).suffix().toLower() == QLatin1String("asc")) {
            m_window.prompt().information(kAscUnsupported);
            return;
        }
        SaveToDiskA1->trigger();
    } else if (page == MainFrame::Attachment2Page) {
        SaveToDiskA2->trigger();
    }
}

void ReadingController::SaveToDiskA1Execute()
{
    const QString caption = selectedCaption(1);
    if (caption.isNull())
        return;
    const QString target = m_window.prompt().saveFileName(SafeAttachName(caption), QString());
    if (target.isEmpty())
        return;
    writeAttachment(caption, target);
}

void ReadingController::SaveToDiskA2Execute()
{
    const QString caption = selectedCaption(2);
    if (caption.isNull())
        return;
    const QString target = m_window.prompt().saveFileName(caption, QString());
    if (target.isEmpty())
        return;
    // Items of list II come from a TNEF extraction: the file unpacked under
    // mail_dat/2nd. (Decrypted messages add their parts through their own
    // subsystem.)
    const QString unpacked = safeChildPath(tnefFolderPath(m_window.state.MyAppDataPath), caption);
    if (QFile::exists(unpacked)) {
        if (!QFile::exists(target))
            QFile::copy(unpacked, target);
    } else {
        m_window.prompt().information(kSaveDataMissing);
    }
}

void ReadingController::OpenWithExecute()
{
    m_window.leaveStayOnTop();
    const int page = m_window.currentPage();
    if (page == MainFrame::Attachment1Page)
        OpenWithA1->trigger();
    else if (page == MainFrame::Attachment2Page)
        OpenWithA2->trigger();
}

void ReadingController::OpenWithA1Execute()
{
    const QString caption = selectedCaption(1);
    if (caption.isNull())
        return;
    // The name comes from the mail: it may not leave its folder, which is
    // not the one of the message work copies.
    const QString folder = attachmentFolderPath(m_window.state.MyAppDataPath);
    QDir().mkpath(folder);
    ExecuteFile = safeChildPath(folder, caption);
    if (refusedForOpening(caption)) {
        m_window.prompt().information(kNoProgram);
        return;
    }
    writeAttachment(caption, ExecuteFile);
    openAndWait(ExecuteFile);
}

void ReadingController::OpenWithA2Execute()
{
    const QString caption = selectedCaption(2);
    if (caption.isNull())
        return;
    const QString folder = m_displayed && m_displayed->TnefFlg() ? tnefFolderPath(m_window.state.MyAppDataPath)
                                                                 : workFolderPath(m_window.state.MyAppDataPath);
    ExecuteFile = safeChildPath(folder, caption);
    if (refusedForOpening(caption)) {
        m_window.prompt().information(kNoProgram);
        return;
    }
    openAndWait(ExecuteFile);
}

void ReadingController::openAndWait(const QString& path)
{
    if (!m_shell->openAndWait(path))
        m_window.prompt().information(kCannotStart);
}
