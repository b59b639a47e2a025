#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Builds TNEF streams for tests: the signature and key, attributes with
// their checksums (or a wrong one on purpose), and MAPI property lists with
// named and multi-valued properties.
namespace TnefWriter {

constexpr quint8 Message = 0x01;
constexpr quint8 Attachment = 0x02;

QByteArray le16(quint16 v);
QByteArray le32(quint32 v);

struct Property
{
    quint16 type = 0; // raw type, with 0x1000 for multi-valued
    quint16 id = 0;
    QList<QByteArray> values;             // raw value bytes (variable ones without length or padding)
    std::optional<QString> stringName;    // a named property with a string name
    std::optional<quint32> numericName;   // a named property with a numeric name
    std::optional<qint32> countOverride;  // a damaged value count
    std::optional<qint32> lengthOverride; // a damaged length of the first variable value

    static Property string8(quint16 id, const QByteArray& text); // stored with its zero
    static Property unicode(quint16 id, const QString& text);
    static Property binary(quint16 id, const QByteArray& bytes);
    static Property longValue(quint16 id, quint32 value);
};

QByteArray propertyList(const QList<Property>& properties, std::optional<qint32> countOverride = {});

class Stream
{
public:
    explicit Stream(quint16 key = 0x4711);
    // checksum: the stored checksum; the right one when not given.
    Stream& attribute(quint8 level, quint32 tag, const QByteArray& value, std::optional<quint16> checksum = {},
                      std::optional<qint32> lengthOverride = {});
    Stream& version();
    Stream& codePage(quint32 codePage);
    // One attachment as Outlook writes it: render data, an optional title,
    // the data, and the properties with its names.
    Stream& file(const QByteArray& data, const QString& longName = QString(), const QString& shortName = QString(),
                 const QByteArray& title = QByteArray());
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

} // namespace TnefWriter
