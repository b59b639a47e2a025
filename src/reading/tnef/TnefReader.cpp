#include "reading/tnef/TnefReader.h"

#include "reading/Charsets.h"

#include <QIODevice>

// ---------------------------------------------------------------- TTnefReader

TTnefReader::TTnefReader(QIODevice* input)
    : FInputStream(input)
{
    if (FInputStream->size() - FInputStream->pos() >= 4) {
        if (quint32(ReadInt32()) != kTnefSignature)
            throw TnefError("Invalid TNEF format");
    } else {
        throw TnefError("Invalid Stream");
    }
    FAttachmentKey = ReadInt16();
    FChecksum = 0;
}

qint64 TTnefReader::RawReadPosition() const
{
    return FInputStream->pos();
}

qint64 TTnefReader::remaining() const
{
    return FInputStream->size() - FInputStream->pos();
}

void TTnefReader::addToChecksum(const char* data, qint64 length)
{
    for (qint64 i = 0; i < length; ++i)
        FChecksum = quint16(FChecksum + static_cast<unsigned char>(data[i]));
}

void TTnefReader::readExactly(char* into, qint64 length)
{
    if (length < 0 || length > remaining() || FInputStream->read(into, length) != length)
        throw TnefError("Invalid Stream");
    addToChecksum(into, length);
}

quint8 TTnefReader::ReadByte()
{
    char b = 0;
    readExactly(&b, 1);
    return quint8(b);
}

qint16 TTnefReader::ReadInt16()
{
    unsigned char b[2];
    readExactly(reinterpret_cast<char*>(b), 2);
    return qint16(b[0] | (b[1] << 8));
}

qint32 TTnefReader::ReadInt32()
{
    unsigned char b[4];
    readExactly(reinterpret_cast<char*>(b), 4);
    return qint32(quint32(b[0]) | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) | (quint32(b[3]) << 24));
}

QByteArray TTnefReader::ReadBytes(qint64 length)
{
    // Checked before allocating: the length comes from the stream.
    if (length < 0 || length > remaining())
        throw TnefError("Invalid Stream");
    QByteArray bytes(length, Qt::Uninitialized);
    readExactly(bytes.data(), length);
    return bytes;
}

void TTnefReader::ReadBytes(QIODevice* destination, qint64 length)
{
    if (length < 0 || length > remaining())
        throw TnefError("Invalid Stream");
    char chunk[4096];
    while (length > 0) {
        const qint64 n = qMin<qint64>(length, sizeof chunk);
        readExactly(chunk, n);
        if (destination)
            destination->write(chunk, n);
        length -= n;
    }
}

QString TTnefReader::decode8bit(const QByteArray& bytes) const
{
    // Code page 0 or one iconv does not know: Windows-1252, the usual
    // default 8-bit code page of the Windows systems that write TNEF.
    QByteArray name = "CP1252";
    if (FOemCodePage == 65001)
        name = "UTF-8";
    else if (FOemCodePage == 932)
        name = "CP932";
    else if (FOemCodePage > 0)
        name = "CP" + QByteArray::number(FOemCodePage);
    return Charsets::decodeWithIconvName(bytes, name, "CP1252");
}

QString TTnefReader::ReadString()
{
    QByteArray bytes = ReadBytes(FAttributeLength);
    if (bytes.endsWith('\0'))
        bytes.chop(1);
    return decode8bit(bytes);
}

void TTnefReader::ValidateChecksum()
{
    if (RawReadPosition() != attributeEnd())
        return;
    const quint16 expected = FChecksum;
    const quint16 stored = quint16(ReadInt16());
    if (stored != expected)
        throw TnefError("Invalid checksum");
}

TTnefAttributeType TTnefReader::AttributeType() const
{
    const quint32 type = FRawTag >> 16;
    if (type > quint32(TTnefAttributeType::atMax))
        throw TnefError("Invalid attribute type");
    return TTnefAttributeType(type);
}

bool TTnefReader::NextAttribute()
{
    if (FAttributeValueStart != 0) {
        const qint64 target = FAttributeValueStart + qint64(FAttributeLength) + 2;
        const qint64 position = RawReadPosition();
        if (position < target) {
            if (target > FInputStream->size())
                throw TnefError("Invalid stream");
            FInputStream->seek(target);
        } else if (position > target) {
            throw TnefError("The attribute was read incorrectly");
        }
    }
    if (RawReadPosition() >= FInputStream->size())
        return false;

    const quint8 level = ReadByte();
    if (level == 0x01)
        FAttributeLevel = TTnefAttributeLevel::alMessage;
    else if (level == 0x02)
        FAttributeLevel = TTnefAttributeLevel::alAttachment;
    else
        throw TnefError("Invalid attribute level");
    FRawTag = quint32(ReadInt32());
    FAttributeTag = attributeTagFromRaw(FRawTag);
    FAttributeLength = ReadInt32();
    if (FAttributeLength < 0)
        throw TnefError("Invalid stream");
    FAttributeValueStart = RawReadPosition();
    FChecksum = 0;

    if (FAttributeLevel == TTnefAttributeLevel::alMessage) {
        if (FAttributeTag == TTnefAttributeTag::agTnefVersion) {
            FTnefVersion = ReadInt32();
            ValidateChecksum();
        } else if (FAttributeTag == TTnefAttributeTag::agOemCodepage) {
            FOemCodePage = ReadInt32();
            ReadInt32(); // the secondary code page is not used
            ValidateChecksum();
        }
    }
    return true;
}

// ---------------------------------------------------------------- properties

TTnefPropertyTag::TTnefPropertyTag(quint16 rawType, quint16 rawId)
    : FId(propertyIdFromRaw(rawId))
    , FPropertyType(propertyTypeFromRaw(rawType & ~kPtMultiValued))
    , FRawId(rawId)
    , FMultiValued(rawType & kPtMultiValued)
{ }

TTnefPropertyReader::TTnefPropertyReader(TTnefReader& reader)
    : FReader(reader)
{ }

void TTnefPropertyReader::readValueCount()
{
    const TTnefPropertyType type = FPropertyTag->PropertyType();
    if (FPropertyTag->IsMultiValued() || isVariableType(type)) {
        FValueCount = FReader.ReadInt32();
        FPropertyValueStart = FReader.RawReadPosition();
        // Every value takes at least one byte of the attribute (or four for
        // the variable types); a count beyond that is damage, and looping
        // over it would take forever.
        // The attribute's own length is untrusted too: the stream bounds it.
        const qint64 left = qMin(FReader.attributeEnd() - FReader.RawReadPosition(), FReader.remaining());
        const int size = isVariableType(type) ? 4 : qMax(1, fixedValueSize(type));
        if (FValueCount < 0 || qint64(FValueCount) * size > qMax<qint64>(left, 0))
            throw TnefError("Invalid Stream");
    } else {
        FValueCount = 1;
    }
}

bool TTnefPropertyReader::NextValue()
{
    if (FValueCount < 0)
        readValueCount();
    if (FValueIndex >= FValueCount)
        return false;
    const TTnefPropertyType type = FPropertyTag->PropertyType();
    if (isVariableType(type)) {
        const qint64 length = FReader.ReadInt32();
        if (length < 0 || length > FReader.remaining())
            throw TnefError("Invalid Stream");
        FValueLength = (length + 3) & ~qint64(3);
        FValueDataLength = length;
        FPropertyValueStart = FReader.RawReadPosition();
    } else {
        FValueLength = fixedValueSize(type);
        FValueDataLength = FValueLength;
    }
    ++FValueIndex;
    return true;
}

void TTnefPropertyReader::skipUnreadValues()
{
    if (!FPropertyTag)
        return;
    qint64 start = FPropertyValueStart;
    const bool fixed = !isVariableType(FPropertyTag->PropertyType());
    // Reads through what is left of the value that ends at start + ValueLength.
    const auto finishValue = [this, &start] {
        const qint64 end = start + FValueLength;
        const qint64 position = FReader.RawReadPosition();
        if (position > end)
            throw TnefError("The property was read incorrectly");
        if (position < end)
            FReader.ReadBytes(nullptr, end - position);
        start = end;
    };
    // The value taken last may be partly read already.
    if (FValueCount >= 0 && FValueIndex > 0)
        finishValue();
    while (NextValue()) {
        // A variable value starts after its length; the first value starts
        // after the count, when there is one.
        if (!fixed || FValueIndex == 1)
            start = FPropertyValueStart;
        finishValue();
    }
}

bool TTnefPropertyReader::NextProperty()
{
    skipUnreadValues();
    if (FPropertyCount < 0) {
        FPropertyCount = FReader.ReadInt32();
        if (FPropertyCount < 0)
            throw TnefError("Invalid Property Count");
        // Every property needs at least its four tag bytes.
        if (qint64(FPropertyCount) * 4 > FReader.remaining())
            throw TnefError("Invalid Stream");
    }
    if (FPropertyIndex >= FPropertyCount) {
        FReader.ValidateChecksum();
        return false;
    }
    FValueCount = -1;
    FValueIndex = 0;
    FValueLength = 0;
    const quint16 rawType = quint16(FReader.ReadInt16());
    const quint16 rawId = quint16(FReader.ReadInt16());
    FPropertyTag = std::make_unique<TTnefPropertyTag>(rawType, rawId);
    FPropertyName.reset();
    if (FPropertyTag->IsNamed()) {
        auto name = std::make_unique<TTnefPropertyName>();
        name->Guid = QUuid::fromRfc4122(FReader.ReadBytes(16));
        const qint32 kind = FReader.ReadInt32();
        if (kind == 1) {
            const qint32 length = FReader.ReadInt32();
            const QByteArray bytes = FReader.ReadBytes(length);
            FReader.ReadBytes(nullptr, ((qint64(length) + 3) & ~qint64(3)) - length);
            QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
            while (text.endsWith(QChar(0)))
                text.chop(1);
            name->Kind = TTnefNameIdKind::ikName;
            name->Name = text;
        } else if (kind == 0) {
            name->Kind = TTnefNameIdKind::ikId;
            name->Id = FReader.ReadInt32();
        } else {
            throw TnefError("Invalid NameId");
        }
        FPropertyName = std::move(name);
    }
    FPropertyValueStart = FReader.RawReadPosition();
    ++FPropertyIndex;
    return true;
}

QByteArray TTnefPropertyReader::ReadBytesValue()
{
    const TTnefPropertyType type = FPropertyTag ? FPropertyTag->PropertyType() : TTnefPropertyType::ptUnspecified;
    if (isVariableType(type))
        return FReader.ReadBytes(FValueLength);
    if (type == TTnefPropertyType::ptClassId)
        return FReader.ReadBytes(16);
    throw TnefError("Invalid property value");
}

QString TTnefPropertyReader::ReadStringValue()
{
    const TTnefPropertyType type = FPropertyTag ? FPropertyTag->PropertyType() : TTnefPropertyType::ptUnspecified;
    if (type == TTnefPropertyType::ptString8 || type == TTnefPropertyType::ptBinary) {
        QByteArray bytes = FReader.ReadBytes(FValueLength);
        while (bytes.endsWith('\0'))
            bytes.chop(1);
        return FReader.decode8bit(bytes);
    }
    if (type == TTnefPropertyType::ptUnicode) {
        QByteArray bytes = FReader.ReadBytes(FValueLength);
        if (bytes.size() % 2)
            bytes.chop(1);
        QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
        while (text.endsWith(QChar(0)))
            text.chop(1);
        return text;
    }
    throw TnefError("Invalid property value");
}

// ---------------------------------------------------------------- attributes and properties

QString TAttachTitleAttribute::Load(TTnefReader& reader)
{
    const QString title = reader.ReadString();
    reader.ValidateChecksum();
    return title;
}

void TAttachDataAttribute::Load(TTnefReader& reader, QIODevice* content)
{
    reader.ReadBytes(content, reader.AttributeLength());
}

bool TAttachDataProperty::isComInterfaceId(const QByteArray& head)
{
    static const QByteArray tail = QByteArray::fromHex("00000000C000000000000046");
    return head.size() == 16 && head.mid(4) == tail;
}

QUuid TAttachDataProperty::Load(TTnefPropertyReader& properties, QIODevice* content)
{
    if (!properties.NextValue())
        return {};
    // The attached file is written as long as it is: the padding to four
    // bytes that follows the value is not part of it.
    // An embedded object's value starts with its interface id; a plain
    // file's value is the file itself. Only the interface ids of COM
    // (xxxxxxxx-0000-0000-C000-000000000046, little-endian on disk) are taken
    // off: real winmail.dat files hold .doc and .pdf files here whose first
    // bytes are content.
    const qint64 length = properties.ValueDataLength();
    if (length < 16) {
        properties.ReadBytes(content, length);
        return {};
    }
    const QByteArray head = properties.ReadBytes(16);
    if (isComInterfaceId(head)) {
        properties.ReadBytes(content, length - 16);
        return QUuid::fromRfc4122(head);
    }
    content->write(head);
    properties.ReadBytes(content, length - 16);
    return {};
}

QString TAttachStringProperty::Load(TTnefPropertyReader& properties)
{
    return properties.NextValue() ? properties.ReadStringValue() : QString();
}

void TAttachStreamProperty::Load(TTnefPropertyReader& properties, QIODevice* content)
{
    if (properties.NextValue())
        properties.ReadBytes(content, properties.ValueLength());
}
