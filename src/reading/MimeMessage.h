#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// One part of a message, in document order with nested multiparts flattened.
struct MimePart
{
    int index = 0;             // position among all flattened parts
    bool isAttachment = false; // otherwise a text part
    QString contentType;       // "type/subtype; param=value ..." as written
    QString fileName;          // empty when the part names none
    QString description;       // Content-Description
    QStringList bodyLines;     // text parts: decoded and converted

    bool typeContains(const QString& text) const { return contentType.contains(text, Qt::CaseInsensitive); }
};

struct Mailbox
{
    QString name; // decoded display name
    QString address;
};

// A parsed Internet message: the operations the display and registration
// need, over GMime. Text is decoded here (transfer encoding, character
// set, encoded words) with the mending that GMime 3.2 lacks; GMime's own
// warnings are never shown.
class MimeMessage
{
public:
    ~MimeMessage();
    MimeMessage(const MimeMessage&) = delete;
    MimeMessage& operator=(const MimeMessage&) = delete;

    // Null with an error text when the bytes cannot be read as a message at all.
    static std::unique_ptr<MimeMessage> parse(const QByteArray& bytes, QString* error = nullptr);
    static std::unique_ptr<MimeMessage> parseFile(const QString& path, QString* error = nullptr);

    // The raw (not decoded) value of the first header of that name, unfolded;
    // a null string when there is none.
    QString header(const QString& name) const;
    QByteArray rawHeader(const QString& name) const;
    int headerCount() const;
    // The whole header block as text.
    QString headerBlock() const;

    std::optional<Mailbox> firstFrom() const;
    QString subject() const;
    // The Date header converted to local time; invalid when absent or unreadable.
    QDateTime date() const;

    // A top-level multipart: the parts walk. Otherwise the single body.
    bool hasParts() const;
    const QList<MimePart>& parts() const { return m_parts; }
    QStringList bodyLines() const;

    // The decoded content of an attachment part.
    QByteArray attachmentContent(const MimePart& part) const;
    bool saveAttachment(const MimePart& part, const QString& path) const;

private:
    struct Private;
    explicit MimeMessage(std::unique_ptr<Private> d);
    void collectParts();

    std::unique_ptr<Private> d;
    QList<MimePart> m_parts;
};
