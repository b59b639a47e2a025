#include "archive/ui/RegistrationController.h"

#include "archive/ArchiveTexts.h"
#include "archive/Registration.h"
#include "archive/TDm_Ldb.h"
#include "archive/ui/ArchiveListController.h"
#include "base/Delay.h"
#include "base/Prompt.h"
#include "base/SafePath.h"
#include "frame/ui/MainActions.h"
#include "frame/ui/MainFrame.h"
#include "reading/DisplayedMessage.h"
#include "reading/MailboxReader.h"
#include "reading/MessageFileKind.h"
#include "reading/ReadingTexts.h"
#include "reading/ui/ReadingController.h"
#include "settings/AppSettings.h"
#include "settings/SettingsFolders.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QUrl>

using namespace ArchiveTexts;

namespace {

// Each filter is its caption as the user sees it, then the pattern Qt
// filters by; the dialog hides the second part, so captions do not repeat
// their patterns. "*.*" would hide files without an extension on Linux.
constexpr qint64 kCopyBuffer = 131072;

} // namespace

RegistrationController::RegistrationController(MainFrame& window, TDm_Ldb& database, ReadingController& reading,
                                               ArchiveListController* list)
    : QObject(&window)
    , m_window(window)
    , m_dm(database)
    , m_reading(reading)
    , m_list(list)
{
    connect(window.actions()->DBUpdate, &QAction::triggered, this, &RegistrationController::DBUpdateExecute);
    connect(window.actions()->MessageOpen, &QAction::triggered, this, &RegistrationController::MessageOpenExecute);
    window.dropTarget()->setAcceptDrops(true);
    window.textPane()->setAcceptDrops(false);
    window.dropTarget()->installEventFilter(this);
    if (!reading.outlookDisplay) {
        reading.outlookDisplay = [this](const QString&) {
            m_window.ClearMessageView();
            m_window.prompt().information(QStringLiteral("Outlook メッセージ(.msg)の表示にはまだ対応していません"));
        };
    }
}

// ---------------------------------------------------------------- DB更新

void RegistrationController::DBUpdateExecute()
{
    QAction* update = m_window.actions()->DBUpdate;
    // What is stored is the displayed message, its bytes and its fields as
    // edited; with nothing on display there is nothing to store.
    const DisplayedMessage* shown = m_reading.displayed();
    if (!shown) {
        update->setEnabled(false);
        m_window.setStatusText(2, kNothingShown);
        return;
    }
    const Registration::Input input = Registration::inputFrom(*shown);
    if (input.fields.Message_ID.trimmed().isEmpty()) {
        m_window.setStatusText(2, kEmptyId);
        return;
    }
    if (!input.date.isValid()) {
        // The user can type the date and try again.
        m_window.setStatusText(2, kEmptyId);
        m_window.prompt().error(kNoDate);
        return;
    }
    // Registering the same message again replaces it quietly; another one
    // under the same key only when the user says so.
    if (Registration::replacesAnotherMessage(m_dm, input)
        && m_window.prompt().question(kReplaceQuestion, Prompt::Answer::No) != Prompt::Answer::Yes) {
        m_window.setStatusText(2, kReplaceCancelled);
        return;
    }
    m_window.setStatusText(2, kUpdating);
    update->setEnabled(false);
    const Registration::Result result = Registration::registerMessage(m_dm, input, beforeDataRow);
    if (result.ok()) {
        m_window.setStatusText(2, Registration::completionText(result));
        return;
    }
    update->setEnabled(true);
    m_window.prompt().error(result.message);
    m_window.setStatusText(2, QString());
}

// ---------------------------------------------------------------- メールを開く

bool RegistrationController::askBatch()
{
    // "いいえ" is the default: Enter must not register everything unreviewed.
    return m_window.prompt().question(kBatchQuestion, Prompt::Answer::No) == Prompt::Answer::Yes;
}

bool RegistrationController::askConfirm(int number, const QString& fileName)
{
    const QString text = QStringLiteral("【ファイル名】<%1>\r\n%2\r\nこのメールデータをDB登録しますか?")
                             .arg(number)
                             .arg(QFileInfo(fileName).fileName());
    return m_window.prompt().question(text, Prompt::Answer::Yes) == Prompt::Answer::Yes;
}

void RegistrationController::leaveArchiveList()
{
    if (m_list && m_dm.isListOpen())
        m_list->closeList();
}

void RegistrationController::MessageOpenExecute()
{
    m_window.setUpperPaneMode(MainFrame::UpperPaneMode::Normal);
    m_window.setStatusText(0, QString());
    m_window.setStatusText(2, QString());
    m_window.ClearMessageView();
    leaveArchiveList();
    AppSettings& settings = m_window.settings();
    // Stored 1-based, as the Windows program stores it, so settings files
    // move between the two; 0 means the first filter there too.
    int filterIndex = qMax(0, settings.mlFilterIndex - 1);
    const QStringList files = m_window.prompt().openFileNames(settings.mlReadPath, kOpenFilter, &filterIndex);
    if (files.isEmpty())
        return;
    settings.mlFilterIndex = filterIndex + 1;
    settings.mlReadPath = QFileInfo(files.first()).absolutePath();
    openFiles(files);
}

bool RegistrationController::displayFile(const QString& path, const QString& storedName)
{
    switch (messageFileKind(storedName.isEmpty() ? path : storedName)) {
    case MessageFileKind::Eml:
        return m_reading.DispEmlFile(path, storedName);
    case MessageFileKind::Msg:
        if (m_reading.outlookDisplay)
            m_reading.outlookDisplay(path);
        return m_reading.displayed() != nullptr;
    case MessageFileKind::Other:
        break;
    }
    return false;
}

bool RegistrationController::displayChosenFile(const QString& path)
{
    MainActions* a = m_window.actions();
    m_window.attachmentList(1)->clear();
    m_window.attachmentList(2)->clear();
    m_window.textPane()->clear();
    bool shown = false;
    switch (messageFileKind(path)) {
    case MessageFileKind::Eml:
        shown = displayFile(path);
        break;
    case MessageFileKind::Msg: {
        // An Outlook message is read from a copy in the work folder.
        const QString copy = safeChildPath(workFolderPath(m_window.state.MyAppDataPath), QFileInfo(path).fileName());
        QDir().mkpath(QFileInfo(copy).absolutePath());
        QFile::remove(copy);
        QFile::copy(path, copy);
        Delay(100);
        shown = displayFile(copy);
        break;
    }
    case MessageFileKind::Other:
        m_window.ClearMessageView();
        m_window.prompt().information(ReadingTexts::kNotMail);
        break;
    }
    a->DBUpdate->setEnabled(shown);
    if (shown)
        a->MessageSave->setEnabled(true);
    return shown;
}

void RegistrationController::openFiles(const QStringList& files)
{
    m_window.setPageVisible(MainFrame::Attachment1Page, false);
    m_window.setPageVisible(MainFrame::Attachment2Page, false);
    const int n = int(files.size());
    int countdown = n;
    bool batch = false;
    bool shown = false;
    QString shownFile;
    for (int i = 0; i < n; ++i) {
        if (shown && i > 0) {
            if (!batch && countdown == n)
                batch = askBatch();
            if (batch || askConfirm(countdown, shownFile))
                m_window.actions()->DBUpdate->trigger();
            --countdown;
        }
        shown = displayChosenFile(files.at(i));
        if (shown)
            shownFile = files.at(i);
        else
            --countdown; // skipped with its message: nothing of it is registered
    }
    if (n > 1 && shown) {
        if (batch || askConfirm(countdown, shownFile))
            m_window.actions()->DBUpdate->trigger();
    }
}

// ---------------------------------------------------------------- drop target

bool RegistrationController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window.dropTarget())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        const QMimeData* data = drag->mimeData();
        if (data->hasUrls() || data->hasFormat(QStringLiteral("message/rfc822"))) {
            drag->acceptProposedAction();
            m_window.textPane()->hide();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::DragLeave:
        m_window.textPane()->show();
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QMimeData* data = drop->mimeData();
        QList<DropItem> items;
        QStringList mailboxes;
        // Files from a file manager or a mail client that offers them; a
        // message handed over as data becomes an item of its own.
        for (const QUrl& url : data->urls()) {
            const QString path = url.toLocalFile();
            // A whole mailbox is imported, not displayed.
            if (importMailbox && !path.isEmpty() && messageFileKind(path) == MessageFileKind::Other
                && MailboxReader::kindOf(path) != MailboxReader::Kind::None) {
                mailboxes << path;
                continue;
            }
            items.append(
                {QFileInfo(path.isEmpty() ? url.path() : path).fileName(), [path]() -> std::unique_ptr<QIODevice> {
                     if (path.isEmpty())
                         return nullptr;
                     auto file = std::make_unique<QFile>(path);
                     return file->open(QIODevice::ReadOnly) ? std::move(file) : nullptr;
                 }});
        }
        if (data->hasFormat(QStringLiteral("message/rfc822"))) {
            const QByteArray bytes = data->data(QStringLiteral("message/rfc822"));
            items.append({QStringLiteral("dropped.eml"), [bytes]() -> std::unique_ptr<QIODevice> {
                              auto buffer = std::make_unique<QBuffer>();
                              buffer->setData(bytes);
                              buffer->open(QIODevice::ReadOnly);
                              return buffer;
                          }});
        }
        drop->acceptProposedAction();
        if (!items.isEmpty() || mailboxes.isEmpty())
            dropItems(items);
        else
            m_window.textPane()->show();
        for (const QString& mailbox : mailboxes)
            importMailbox(mailbox);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

// Copies a dropped item's content into its work copy through one buffer.
// False when the source offers no content.
bool RegistrationController::copyDropped(const DropItem& item, const QString& workCopy)
{
    std::unique_ptr<QIODevice> source = item.open ? item.open() : nullptr;
    if (!source)
        return false;
    QFile target(workCopy);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const qint64 size = source->size();
    source->seek(0);
    QByteArray buffer(qMin(size > 0 ? size : kCopyBuffer, kCopyBuffer), Qt::Uninitialized);
    qint64 copied = 0;
    while (copied < size || source->isSequential()) {
        const qint64 got = source->read(buffer.data(), buffer.size());
        if (got <= 0)
            break;
        target.write(buffer.constData(), got);
        copied += got;
    }
    return true;
}

void RegistrationController::dropItems(const QList<DropItem>& items)
{
    MainActions* a = m_window.actions();
    m_window.ClearMessageView();
    leaveArchiveList();
    m_window.setStatusText(2, QString());
    const QString work = workFolderPath(m_window.state.MyAppDataPath);
    QDir().mkpath(work);
    const int n = int(items.size());
    int countdown = n;
    bool batch = false;
    for (int i = 0; i < n; ++i) {
        const DropItem& item = items.at(i);
        m_window.attachmentList(1)->clear();
        m_window.attachmentList(2)->clear();
        m_window.textPane()->clear();
        if (messageFileKind(item.name) == MessageFileKind::Other) {
            m_window.prompt().information(ReadingTexts::kNotMail);
            break;
        }
        const QString workCopy = safeChildPath(work, item.name);
        if (!copyDropped(item, workCopy)) {
            // No content, no display: nothing of an earlier item may be
            // left to register under this one.
            QFile::remove(workCopy);
            m_window.ClearMessageView();
            a->DBUpdate->setEnabled(false);
            m_window.prompt().information(kUnreadable);
            --countdown;
            continue;
        }
        const bool shown = displayFile(workCopy, QFileInfo(workCopy).fileName());
        a->DBUpdate->setEnabled(shown);
        if (!shown) {
            --countdown;
            continue;
        }
        a->MessageSave->setEnabled(true);
        if (n > 1) {
            m_window.textPane()->show();
            if (!batch && countdown == n)
                batch = askBatch();
            const bool hasId = !m_reading.displayed()->field(DisplayedMessage::MessageId).trimmed().isEmpty();
            if (batch) {
                if (hasId) {
                    a->DBUpdate->trigger();
                } else {
                    m_window.setStatusText(2, kEmptyId);
                    Delay(300);
                }
            } else if (askConfirm(countdown, workCopy)) {
                if (hasId)
                    a->DBUpdate->trigger();
                else
                    m_window.prompt().information(kNoMessageId);
            }
            --countdown;
        }
    }
    m_window.textPane()->show();
}
