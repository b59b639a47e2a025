#include "reading/MessageSummary.h"

#include "reading/DisplayedMessage.h"
#include "reading/MimeMessage.h"
#include "reading/tnef/TnefExtraction.h"

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

void RecordingSink::listAttachment(const MimePart&, const AttachmentListing& item)
{
    m_summary.attachments << item.caption;
}

bool RecordingSink::extractTnef(const MimePart& part)
{
    QTemporaryDir folder(TnefExtraction::scratchFolderTemplate());
    QStringList names;
    if (!TnefExtraction::unpack(m_message.attachmentContent(part), folder.path(), &names, nullptr))
        return false; // a damaged stream ends the display, as in the window
    m_summary.attachments2 << m_unpacked.add(names);
    return true;
}

bool RecordingSink::decryptInline(const QStringList& lines)
{
    // Without GnuPG the armoured text itself is what can be shown.
    m_summary.text = lines.join(u'\n');
    return true;
}

QJsonObject MessageSummary::toJson() const
{
    QJsonObject o;
    o.insert(QStringLiteral("Message_ID"), fields.Message_ID);
    o.insert(QStringLiteral("Message_Date"), fields.Message_Date);
    o.insert(QStringLiteral("Account_Key"), fields.Account_Key);
    o.insert(QStringLiteral("Sender_Name"), fields.Sender_Name);
    o.insert(QStringLiteral("Sender_Address"), fields.Sender_Address);
    o.insert(QStringLiteral("Recieve_Name"), fields.Recieve_Name);
    o.insert(QStringLiteral("Recieve_Address"), fields.Recieve_Address);
    o.insert(QStringLiteral("Message_Subject"), fields.Message_Subject);
    o.insert(QStringLiteral("Message_dtype"), outcome.MDatType);
    o.insert(QStringLiteral("MailBody"), text);
    o.insert(QStringLiteral("Html"), html);
    o.insert(QStringLiteral("Attachments"), QJsonArray::fromStringList(attachments));
    o.insert(QStringLiteral("Attachments2"), QJsonArray::fromStringList(attachments2));
    return o;
}

MessageSummary summariseMessage(const QByteArray& bytes, const QStringList& accountRows)
{
    MessageSummary summary;
    const auto message = MimeMessage::parse(bytes);
    if (!message)
        return summary;
    summary.parsed = true;
    summary.fields = deriveIndexFields(*message, accountRows);
    RecordingSink sink(summary, *message);
    summary.outcome = walkMessage(*message, sink);
    return summary;
}

MessageSummary summariseFile(const QString& path, const QStringList& accountRows)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return summariseMessage(file.readAll(), accountRows);
}

namespace {

std::unique_ptr<DisplayedMessage> walkWithoutWindow(std::unique_ptr<DisplayedMessage> shown, QString* error)
{
    if (!shown)
        return nullptr;
    MessageSummary summary;
    RecordingSink sink(summary, shown->parsed());
    if (!shown->walk(sink)) {
        if (error)
            *error = QStringLiteral("メッセージの表示が途中で終わりました: %1").arg(shown->fileName());
        return nullptr;
    }
    return shown;
}

} // namespace

std::unique_ptr<DisplayedMessage> displayWithoutWindow(const QString& path, const QStringList& accountRows,
                                                       QString* error)
{
    return walkWithoutWindow(DisplayedMessage::read(path, accountRows, error), error);
}

std::unique_ptr<DisplayedMessage> displayBytesWithoutWindow(const QByteArray& bytes, const QString& name,
                                                            const QStringList& accountRows, QString* error)
{
    return walkWithoutWindow(DisplayedMessage::fromBytes(bytes, name, accountRows, error), error);
}
