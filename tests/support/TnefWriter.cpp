#include "support/TnefWriter.h"

namespace TnefWriter {

QByteArray le16(quint16 v)
{
    QByteArray b(2, '\0');
    b[0] = char(v & 0xFF);
    b[1] = char(v >> 8);
    return b;
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

Property Property::string8(quint16 id, const QByteArray& text)
{
    return Property{0x001E, id, {text + '\0'}, {}, {}, {}, {}};
}

Property Property::unicode(quint16 id, const QString& text)
{
    QByteArray bytes(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    bytes += QByteArray(2, '\0');
    return Property{0x001F, id, {bytes}, {}, {}, {}, {}};
}

Property Property::binary(quint16 id, const QByteArray& bytes)
{
    return Property{0x0102, id, {bytes}, {}, {}, {}, {}};
}

Property Property::longValue(quint16 id, quint32 value)
{
    return Property{0x0003, id, {le32(value)}, {}, {}, {}, {}};
}

namespace {

bool variable(quint16 baseType)
{
    return baseType == 0x001E || baseType == 0x001F || baseType == 0x000D || baseType == 0x0102;
}

} // namespace

QByteArray propertyList(const QList<Property>& properties, std::optional<qint32> countOverride)
{
    QByteArray out = le32(quint32(countOverride.value_or(qint32(properties.size()))));
    for (const Property& p : properties) {
        out += le16(p.type) + le16(p.id);
        if (p.stringName || p.numericName) {
            out += QByteArray(16, '\x11'); // a GUID
            if (p.stringName) {
                QByteArray name(reinterpret_cast<const char*>(p.stringName->utf16()), p.stringName->size() * 2);
                name += QByteArray(2, '\0');
                out += le32(1) + le32(quint32(name.size())) + name;
                out += QByteArray((4 - name.size() % 4) % 4, '\0');
            } else {
                out += le32(0) + le32(*p.numericName);
            }
        }
        const quint16 base = p.type & 0x0FFF;
        const bool multi = p.type & 0x1000;
        if (multi || variable(base))
            out += le32(quint32(p.countOverride.value_or(qint32(p.values.size()))));
        bool first = true;
        for (const QByteArray& v : p.values) {
            if (variable(base)) {
                out += le32(quint32(first && p.lengthOverride ? *p.lengthOverride : qint32(v.size())));
                out += v + QByteArray((4 - v.size() % 4) % 4, '\0');
            } else {
                out += v;
            }
            first = false;
        }
    }
    return out;
}

Stream::Stream(quint16 key)
{
    m_bytes = le32(0x223E9F78) + le16(key);
}

Stream& Stream::attribute(quint8 level, quint32 tag, const QByteArray& value, std::optional<quint16> checksum,
                          std::optional<qint32> lengthOverride)
{
    quint16 sum = 0;
    for (const char c : value)
        sum = quint16(sum + static_cast<unsigned char>(c));
    m_bytes += char(level);
    m_bytes += le32(tag) + le32(quint32(lengthOverride.value_or(qint32(value.size())))) + value;
    m_bytes += le16(checksum.value_or(sum));
    return *this;
}

Stream& Stream::version()
{
    return attribute(Message, 0x00089006, le32(0x00010000));
}

Stream& Stream::codePage(quint32 codePage)
{
    return attribute(Message, 0x00069007, le32(codePage) + le32(0));
}

Stream& Stream::file(const QByteArray& data, const QString& longName, const QString& shortName, const QByteArray& title)
{
    attribute(Attachment, 0x00069002, QByteArray(14, '\x01'));
    if (!title.isEmpty())
        attribute(Attachment, 0x00018010, title + '\0');
    attribute(Attachment, 0x0006800F, data);
    QList<Property> props{Property::longValue(0x3705, 1)};
    if (!shortName.isEmpty())
        props << Property::string8(0x3704, shortName.toLatin1());
    if (!longName.isEmpty())
        props << Property::unicode(0x3707, longName);
    return attribute(Attachment, 0x00069005, propertyList(props));
}

} // namespace TnefWriter
