#pragma once

#include "reading/MessageDisplay.h"
#include "reading/MessageFileKind.h"
#include "reading/MessageIndex.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

class MimeMessage;

// The message on display, and its one owner: the bytes that were read,
// the message parsed from them, the index fields derived (and then edited
// on the "書誌情報" tab), the text pane's body, MDatType and the TNEF flag.
//
// Every display produces one; registration, saving and export read from it
// alone. Since the bytes are read once and kept here, what is stored is
// always what produced the fields on screen, whatever happens meanwhile to
// the files in the work folder. A display that fails produces none, and
// with none there is nothing to register.
class DisplayedMessage
{
public:
    // The fields of the "書誌情報" tab, in the order of Edit1 ... Edit8.
    enum Field {
        MessageId,
        MessageDate,
        AccountKey,
        SenderName,
        SenderAddress,
        RecieveName,
        RecieveAddress,
        MessageSubject,
        FieldCount
    };

    ~DisplayedMessage();

    // Reads the file once and derives the index fields. storedName is the
    // name the archive keeps with the bytes (empty: the file's own name).
    // Null, with the reason in error, when the file cannot be read, is
    // empty, or cannot be parsed as a message.
    static std::unique_ptr<DisplayedMessage> read(const QString& path, const QStringList& accountRows, QString* error,
                                                  const QString& storedName = QString());
    static std::unique_ptr<DisplayedMessage> fromBytes(const QByteArray& bytes, const QString& storedName,
                                                       const QStringList& accountRows, QString* error);

    // The parts walk, its hand-overs sent to sink. False when a hook ended
    // the display: the message is then incomplete and must not be kept.
    bool walk(DisplaySink& sink);

    const MimeMessage& parsed() const { return *m_parsed; }
    std::shared_ptr<const MimeMessage> sharedParsed() const { return m_parsed; }
    const QByteArray& bytes() const { return m_bytes; }
    // The name stored with the bytes (Message_FileName) and what it says the file is.
    QString fileName() const { return m_fileName; }
    MessageFileKind kind() const { return messageFileKind(m_fileName); }

    const MessageIndexFields& fields() const { return m_fields; }
    QString field(Field which) const;
    // An edit of the "書誌情報" tab: what the user types is what is stored.
    void setField(Field which, const QString& text);
    // Message_Date as a date-time: invalid when the message has none or the
    // field was edited into something that is not one.
    QDateTime date() const { return m_date; }

    QString body() const { return m_body; }
    void setBody(const QString& text) { m_body = text; }
    int MDatType() const { return m_MDatType; }
    void setMDatType(int type) { m_MDatType = type; }
    bool TnefFlg() const { return m_TnefFlg; }
    // Attachments not listed because the message holds too many.
    int attachmentsLeftOut() const { return m_attachmentsLeftOut; }

    // Shown from the archive rather than from a file or a drop.
    bool fromArchive = false;

private:
    DisplayedMessage() = default;

    QByteArray m_bytes;
    QString m_fileName;
    std::shared_ptr<const MimeMessage> m_parsed;
    MessageIndexFields m_fields;
    QDateTime m_date;
    QString m_body;
    int m_MDatType = 0;
    bool m_TnefFlg = false;
    int m_attachmentsLeftOut = 0;
};
