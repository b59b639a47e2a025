#include "archive/ui/RegistrationController.h"

#include "base/Delay.h"
#include "base/SafePath.h"
#include "settings/SettingsFolders.h"
#include "frame/ui/MainActions.h"
#include "frame/ui/MainFrame.h"
#include "settings/AppSettings.h"
#include "archive/Registration.h"
#include "archive/TDm_Ldb.h"
#include "archive/ui/ArchiveListController.h"
#include "base/Prompt.h"
#include "reading/ui/ReadingController.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>
#include <QUrl>

namespace {

const QString kUpdating = QStringLiteral("DB更新中です");
const QString kDone = QStringLiteral("DB更新が完了しました");
const QString kNotMail = QStringLiteral("メールファイルではありません");
const QString kUnreadable = QStringLiteral("** メール内容が読めませんでした **");
const QString kNoMessageId = QStringLiteral("MessageIDが不明です\r\nこのメールデータはDB更新できません");
const QString kBatchQuestion =
    QStringLiteral("メールデータを確認せずに一括処理しますか? \r\n[はい]:一括処理\r\n[いいえ]：確認処理");
const QString kOpenFilter = QStringLiteral(
    "テキストファイル (*.txt);;E-Mailファイル(*.eml) (*.eml);;Outlook-Msgファイル(*.msg) (*.msg);;"
    "ASCファイル(*.asc) (*.asc);;DATファイル(*.dat) (*.dat);;全てのファイル(*.*) (*)");
constexpr qint64 kCopyBuffer = 131072;

bool isMailName(const QString& name)
{
    return name.endsWith(QLatin1String(".eml"), Qt::CaseInsensitive)
        || name.endsWith(QLatin1String(".msg"), Qt::CaseInsensitive);
}

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
    window.Panel1->setAcceptDrops(true);
    window.Editor->setAcceptDrops(false);
    window.Panel1->installEventFilter(this);
    if (!reading.outlookDisplay) {
        reading.outlookDisplay = [this](const QString&) {
            m_window.prompt().information(QStringLiteral("Outlook メッセージ(.msg)の表示にはまだ対応していません"));
        };
    }
}

// ---------------------------------------------------------------- DB更新

void RegistrationController::DBUpdateExecute()
{
    QuilletState& state = m_window.state;
    if (m_window.Edit[0]->text().trimmed().isEmpty()) {
        m_window.setStatusText(2, Registration::kEmptyId);
        return;
    }
    QAction* update = m_window.actions()->DBUpdate;
    m_window.setStatusText(2, kUpdating);
    update->setEnabled(false);
    Registration::Input input;
    MessageIndexFields& f = input.fields;
    QString* targets[8] = {&f.Message_ID,     &f.Message_Date,   &f.Account_Key,     &f.Sender_Name,
                           &f.Sender_Address, &f.Recieve_Name,   &f.Recieve_Address, &f.Message_Subject};
    for (int i = 0; i < 8; ++i)
        *targets[i] = m_window.Edit[i]->text();
    input.MDatType = state.MDatType;
    input.mailBody = m_window.Editor->toPlainText();
    input.file = Registration::registeredFile(state.awk_MessageFile, state.MessageFile);
    const Registration::Result result = Registration::registerMessage(m_dm, input, beforeDataRow);
    switch (result.status) {
    case Registration::Result::Status::Registered:
        m_window.setStatusText(2, kDone);
        break;
    case Registration::Result::Status::EmptyId:
        m_window.setStatusText(2, result.message);
        update->setEnabled(true);
        break;
    case Registration::Result::Status::BadInput:
        // The registration ends: "DB更新" stays off until the next display.
        m_window.prompt().error(result.message);
        break;
    case Registration::Result::Status::IndexFailed:
    case Registration::Result::Status::DataFailed:
        update->setEnabled(true);
        m_window.prompt().error(result.message);
        m_window.setStatusText(2, QString());
        break;
    }
}

// ---------------------------------------------------------------- メールを開く

bool RegistrationController::askBatch()
{
    return m_window.prompt().question(kBatchQuestion) == Prompt::Answer::Yes;
}

bool RegistrationController::askConfirm(int number, const QString& fileName)
{
    const QString text = QStringLiteral("【ファイル名】<%1>\r\n%2\r\nこのメールデータをDB登録しますか?")
                             .arg(number)
                             .arg(QFileInfo(fileName).fileName());
    return m_window.prompt().question(text) == Prompt::Answer::Yes;
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
    int filterIndex = settings.mlFilterIndex;
    const QStringList files = m_window.prompt().openFileNames(settings.mlReadPath, kOpenFilter, &filterIndex);
    if (files.isEmpty())
        return;
    settings.mlFilterIndex = filterIndex;
    settings.mlReadPath = QFileInfo(files.first()).absolutePath();
    openFiles(files);
}

void RegistrationController::displayChosenFile(const QString& path, bool* shown)
{
    QuilletState& state = m_window.state;
    MainActions* a = m_window.actions();
    m_window.ListView1->clear();
    m_window.ListView2->clear();
    m_window.Editor->clear();
    state.MessageFile = path;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("eml")) {
        state.awk_MessageFile.clear();
        m_reading.DispEmlFile(path);
    } else if (suffix == QLatin1String("msg")) {
        state.awk_MessageFile = safeChildPath(workFolderPath(state.MyAppDataPath), QFileInfo(path).fileName());
        QDir().mkpath(workFolderPath(state.MyAppDataPath));
        QFile::remove(state.awk_MessageFile);
        QFile::copy(path, state.awk_MessageFile);
        Delay(100);
        if (m_reading.outlookDisplay)
            m_reading.outlookDisplay(state.awk_MessageFile);
    } else {
        m_window.prompt().information(kNotMail);
        a->DBUpdate->setEnabled(false);
        *shown = false;
        return;
    }
    a->MessageSave->setEnabled(true);
    a->DBUpdate->setEnabled(true);
    *shown = true;
}

void RegistrationController::openFiles(const QStringList& files)
{
    m_window.TabArea->setTabVisible(MainFrame::Attachment1Page, false);
    m_window.TabArea->setTabVisible(MainFrame::Attachment2Page, false);
    const int n = int(files.size());
    int countdown = n;
    bool batch = false;
    bool shown = false;
    for (int i = 0; i < n; ++i) {
        if (shown && i > 0) {
            if (!batch && countdown == n)
                batch = askBatch();
            if (batch || askConfirm(countdown, m_window.state.MessageFile))
                m_window.actions()->DBUpdate->trigger();
            --countdown;
        }
        displayChosenFile(files.at(i), &shown);
        if (!shown)
            --countdown;
    }
    if (n > 1 && shown) {
        if (batch || askConfirm(countdown, m_window.state.MessageFile))
            m_window.actions()->DBUpdate->trigger();
    }
}

// ---------------------------------------------------------------- drop target

bool RegistrationController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window.Panel1)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        const QMimeData* data = drag->mimeData();
        if (data->hasUrls() || data->hasFormat(QStringLiteral("message/rfc822"))) {
            drag->acceptProposedAction();
            m_window.Editor->hide();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::DragLeave:
        m_window.Editor->show();
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QMimeData* data = drop->mimeData();
        QList<DropItem> items;
        // Files from a file manager or a mail client that offers them; a
        // message handed over as data becomes an item of its own.
        for (const QUrl& url : data->urls()) {
            const QString path = url.toLocalFile();
            items.append({QFileInfo(path.isEmpty() ? url.path() : path).fileName(), [path]() -> std::unique_ptr<QIODevice> {
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
        dropItems(items);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

void RegistrationController::dropItems(const QList<DropItem>& items)
{
    QuilletState& state = m_window.state;
    MainActions* a = m_window.actions();
    m_window.ClearMessageView();
    leaveArchiveList();
    m_window.setStatusText(2, QString());
    const QString work = workFolderPath(state.MyAppDataPath);
    QDir().mkpath(work);
    const int n = int(items.size());
    int countdown = n;
    bool batch = false;
    for (int i = 0; i < n; ++i) {
        const DropItem& item = items.at(i);
        m_window.ListView1->clear();
        m_window.ListView2->clear();
        m_window.Editor->clear();
        if (!isMailName(item.name)) {
            m_window.prompt().information(kNotMail);
            break;
        }
        state.awk_MessageFile = safeChildPath(work, item.name);
        QFile target(state.awk_MessageFile);
        target.open(QIODevice::WriteOnly | QIODevice::Truncate);
        std::unique_ptr<QIODevice> source = item.open ? item.open() : nullptr;
        if (!source) {
            target.close();
            m_window.prompt().information(kUnreadable);
            --countdown;
            continue;
        }
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
        target.close();
        if (item.name.endsWith(QLatin1String(".eml"), Qt::CaseInsensitive))
            m_reading.DispEmlFile(state.awk_MessageFile);
        else if (m_reading.outlookDisplay)
            m_reading.outlookDisplay(state.awk_MessageFile);
        a->DBUpdate->setEnabled(true);
        a->MessageSave->setEnabled(true);
        if (n > 1) {
            m_window.Editor->show();
            if (!batch && countdown == n)
                batch = askBatch();
            const bool hasId = !m_window.Edit[0]->text().trimmed().isEmpty();
            if (batch) {
                if (hasId) {
                    a->DBUpdate->trigger();
                } else {
                    m_window.setStatusText(2, Registration::kEmptyId);
                    Delay(300);
                }
            } else if (askConfirm(countdown, state.awk_MessageFile)) {
                if (hasId)
                    a->DBUpdate->trigger();
                else
                    m_window.prompt().information(kNoMessageId);
            }
            --countdown;
        }
    }
    m_window.Editor->show();
}
