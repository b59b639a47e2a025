#include "reading/DisplayedMessage.h"

#include "reading/MimeMessage.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The field's member, const or not as the fields are.
template <typename Fields> auto fieldSlot(Fields& f, DisplayedMessage::Field which) -> decltype(&f.Message_ID)
{
    decltype(&f.Message_ID) slots[DisplayedMessage::FieldCount]
        = {&f.Message_ID,     &f.Message_Date, &f.Account_Key,     &f.Sender_Name,
           &f.Sender_Address, &f.Recieve_Name, &f.Recieve_Address, &f.Message_Subject};
    return which >= 0 && which < DisplayedMessage::FieldCount ? slots[which] : nullptr;
}

} // namespace

DisplayedMessage::~DisplayedMessage() = default;

std::unique_ptr<DisplayedMessage> DisplayedMessage::read(const QString& path, const QStringList& accountRows,
                                                         QString* error, const QString& storedName)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("ファイルを読めません: %1 (%2)").arg(path, file.errorString());
        return nullptr;
    }
    return fromBytes(file.readAll(), storedName.isEmpty() ? QFileInfo(path).fileName() : storedName, accountRows,
                     error);
}

std::unique_ptr<DisplayedMessage> DisplayedMessage::fromBytes(const QByteArray& bytes, const QString& storedName,
                                                              const QStringList& accountRows, QString* error)
{
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("ファイルが空です: %1").arg(storedName);
        return nullptr;
    }
    QString parseError;
    std::unique_ptr<MimeMessage> parsed = MimeMessage::parse(bytes, &parseError);
    if (!parsed) {
        if (error)
            *error = QStringLiteral("メッセージとして読めません: %1 (%2)").arg(storedName, parseError);
        return nullptr;
    }
    std::unique_ptr<DisplayedMessage> shown(new DisplayedMessage);
    shown->m_bytes = bytes;
    shown->m_fileName = storedName.trimmed();
    shown->m_fields = deriveIndexFields(*parsed, accountRows);
    // The key is the date as the field shows it (to the second), so that
    // registering the shown message and re-registering it after an edit of
    // another field give the same key.
    shown->m_date = MessageFields::parseMessageDate(shown->m_fields.Message_Date);
    shown->m_parsed = std::move(parsed);
    return shown;
}

bool DisplayedMessage::walk(DisplaySink& sink)
{
    const DisplayOutcome outcome = walkMessage(*m_parsed, sink);
    m_MDatType = outcome.MDatType;
    m_TnefFlg = outcome.TnefFlg;
    m_body = outcome.text;
    m_attachmentsLeftOut = outcome.attachmentsLeftOut;
    return !outcome.endedEarly;
}

QString DisplayedMessage::field(Field which) const
{
    const QString* slot = fieldSlot(m_fields, which);
    return slot ? *slot : QString();
}

void DisplayedMessage::setField(Field which, const QString& text)
{
    QString* slot = fieldSlot(m_fields, which);
    if (!slot)
        return;
    *slot = text;
    if (which == MessageDate)
        m_date = MessageFields::parseMessageDate(text);
}
