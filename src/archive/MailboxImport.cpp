#include "archive/MailboxImport.h"

#include "archive/ArchiveTexts.h"
#include "archive/Registration.h"
#include "archive/TDm_Ldb.h"
#include "reading/DisplayedMessage.h"
#include "reading/MailboxReader.h"
#include "reading/MessageSummary.h"

#include <QSqlDatabase>
#include <QSqlError>

using namespace ArchiveTexts;

namespace MailboxImport {

int Summary::refusedCount() const
{
    int n = 0;
    for (const int count : refused)
        n += count;
    return n;
}

QString Summary::describe() const
{
    QString text = kImportSummary.arg(registered).arg(replaced).arg(alreadyArchived).arg(refusedCount());
    QStringList reasons;
    for (auto it = refused.constBegin(); it != refused.constEnd(); ++it)
        reasons << QStringLiteral("%1: %2").arg(it.key()).arg(it.value());
    if (!reasons.isEmpty())
        text += QStringLiteral(" (") + reasons.join(QStringLiteral(", ")) + u')';
    if (cancelled)
        text += u' ' + kImportCancelled;
    return text;
}

namespace {

// Why a message cannot be registered, in a few words, or empty.
QString refusalReason(const std::unique_ptr<DisplayedMessage>& shown, const QString& displayError)
{
    if (!shown)
        return displayError.isEmpty() ? kImportUnreadable : displayError.section(QStringLiteral(": "), 0, 0);
    if (shown->field(DisplayedMessage::MessageId).trimmed().isEmpty())
        return kImportNoId;
    if (!shown->date().isValid())
        return kImportNoDate;
    return {};
}

class Importer
{
public:
    Importer(TDm_Ldb& dm, const Options& options)
        : m_dm(dm)
        , m_options(options)
    { }

    Summary run(const QString& path)
    {
        QString error;
        if (!m_dm.open(&error)) {
            m_summary.error = error;
            return m_summary;
        }
        const QString readError
            = MailboxReader::forEachMessage(path, [this](const MailboxReader::Message& m) { return one(m); });
        if (!commit())
            return m_summary;
        if (!readError.isEmpty() && m_summary.error.isEmpty())
            m_summary.error = readError;
        return m_summary;
    }

private:
    bool one(const MailboxReader::Message& message)
    {
        m_summary.done = message.done;
        m_summary.total = message.total;
        QString displayError;
        const auto shown = displayBytesWithoutWindow(message.bytes, MailboxReader::storedName(message),
                                                     m_options.accountRows, &displayError);
        const QString reason = refusalReason(shown, displayError);
        if (!reason.isEmpty()) {
            refuse(message, reason);
        } else {
            const Registration::Input input = Registration::inputFrom(*shown);
            const Registration::StoredState stored = Registration::storedState(m_dm, input);
            if (stored == Registration::StoredState::Same) {
                ++m_summary.alreadyArchived;
            } else {
                begin();
                const Registration::Result result = Registration::registerMessage(m_dm, input, {}, true);
                if (!result.ok())
                    refuse(message, result.message.section(QStringLiteral("\r\n"), 0, 0));
                else if (stored == Registration::StoredState::Different)
                    ++m_summary.replaced;
                else
                    ++m_summary.registered;
                if (++m_inBatch >= qMax(1, m_options.commitEvery) && !commit())
                    return false;
            }
        }
        if (m_options.progress && !m_options.progress(m_summary)) {
            m_summary.cancelled = true;
            return false;
        }
        return true;
    }

    void refuse(const MailboxReader::Message& message, const QString& reason)
    {
        ++m_summary.refused[reason];
        if (m_options.refused)
            m_options.refused({message.mailbox, message.position, reason});
    }

    void begin()
    {
        if (m_inBatch == 0)
            m_dm.database().transaction();
    }

    bool commit()
    {
        if (m_inBatch == 0)
            return true;
        m_inBatch = 0;
        QSqlDatabase db = m_dm.database();
        if (db.commit())
            return true;
        m_summary.error = kImportCommitFailed + db.lastError().text();
        db.rollback();
        return false;
    }

    TDm_Ldb& m_dm;
    const Options& m_options;
    Summary m_summary;
    int m_inBatch = 0;
};

} // namespace

Summary import(TDm_Ldb& dm, const QString& path, const Options& options)
{
    return Importer(dm, options).run(path);
}

} // namespace MailboxImport
