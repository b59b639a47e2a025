#pragma once

#include "reading/tnef/TnefConsts.h"

#include <QByteArray>
#include <QString>
#include <QUuid>

#include <memory>
#include <stdexcept>

class QIODevice;

// Every reading error ends the reading with one of the fixed English texts
// ("Invalid TNEF format", "Invalid checksum", ...).
class TnefError : public std::runtime_error
{
public:
    explicit TnefError(const char* text)
        : std::runtime_error(text)
    { }
    QString text() const { return QString::fromLatin1(what()); }
};

// A pull reader over a TNEF stream: attribute after attribute, with the
// running checksum of every byte read. Lengths and counts in the stream are
// untrusted: nothing larger than what the stream still holds is allocated
// or looped over.
class TTnefReader
{
public:
    // The stream must be open and seekable; it is not owned.
    explicit TTnefReader(QIODevice* input);

    bool NextAttribute();

    quint8 ReadByte();
    qint16 ReadInt16();
    qint32 ReadInt32();
    QByteArray ReadBytes(qint64 length);
    void ReadBytes(QIODevice* destination, qint64 length);
    // The whole current attribute value as 8-bit text in the stream's code page.
    QString ReadString();
    void ValidateChecksum();
    // Text in the stream's code page; an unknown code page reads as Windows-1252.
    QString decode8bit(const QByteArray& bytes) const;

    qint16 AttachmentKey() const { return FAttachmentKey; }
    TTnefAttributeLevel AttributeLevel() const { return FAttributeLevel; }
    TTnefAttributeTag AttributeTag() const { return FAttributeTag; }
    qint32 AttributeLength() const { return FAttributeLength; }
    qint32 TnefVersion() const { return FTnefVersion; }
    qint32 OemCodePage() const { return FOemCodePage; }
    qint64 RawReadPosition() const;
    TTnefAttributeType AttributeType() const;

    // What the stream still holds after the current position.
    qint64 remaining() const;
    qint64 attributeEnd() const { return FAttributeValueStart + FAttributeLength; }

private:
    void readExactly(char* into, qint64 length);
    void addToChecksum(const char* data, qint64 length);

    QIODevice* FInputStream;
    qint64 FAttributeValueStart = 0;
    quint16 FChecksum = 0;
    qint32 FAttributeLength = 0;
    TTnefAttributeTag FAttributeTag = TTnefAttributeTag::agNull;
    quint32 FRawTag = 0;
    qint16 FAttachmentKey = 0;
    TTnefAttributeLevel FAttributeLevel = TTnefAttributeLevel::alMessage;
    qint32 FTnefVersion = 0;
    qint32 FOemCodePage = 0;
};

class TTnefPropertyTag
{
public:
    TTnefPropertyTag(quint16 rawType, quint16 rawId);
    TTnefPropertyId Id() const { return FId; }
    TTnefPropertyType PropertyType() const { return FPropertyType; }
    quint16 RawId() const { return FRawId; }
    bool IsNamed() const { return FRawId >= 0x8000 && FRawId <= 0xFFFE; }
    bool IsMultiValued() const { return FMultiValued; }

private:
    TTnefPropertyId FId;
    TTnefPropertyType FPropertyType;
    quint16 FRawId;
    bool FMultiValued;
};

class TTnefPropertyName
{
public:
    QUuid Guid;
    TTnefNameIdKind Kind = TTnefNameIdKind::ikId;
    qint32 Id = 0;
    QString Name;
};

// The properties of an agMapiProperties or agAttachment attribute.
class TTnefPropertyReader
{
public:
    explicit TTnefPropertyReader(TTnefReader& reader);

    bool NextProperty();
    bool NextValue();
    QByteArray ReadBytes(qint64 length) { return FReader.ReadBytes(length); }
    void ReadBytes(QIODevice* destination, qint64 length) { FReader.ReadBytes(destination, length); }
    QByteArray ReadBytesValue();
    QString ReadStringValue();

    const TTnefPropertyTag* PropertyTag() const { return FPropertyTag.get(); }
    const TTnefPropertyName* PropertyName() const { return FPropertyName.get(); }
    // The value's length with its padding to four bytes, and without: a
    // file is written without the padding.
    qint64 ValueLength() const { return FValueLength; }
    qint64 ValueDataLength() const { return FValueDataLength; }
    qint32 ValueCount() const { return FValueCount; }
    TTnefReader& Reader() { return FReader; }

private:
    void skipUnreadValues();
    void readValueCount();

    TTnefReader& FReader;
    qint32 FPropertyCount = -1;
    qint32 FPropertyIndex = 0;
    qint32 FValueIndex = 0;
    qint64 FPropertyValueStart = 0;
    qint64 FValueLength = 0;
    qint64 FValueDataLength = 0;
    std::unique_ptr<TTnefPropertyName> FPropertyName;
    std::unique_ptr<TTnefPropertyTag> FPropertyTag;
    qint32 FValueCount = -1;
};

// The attributes and properties the extraction loads.
struct TAttachTitleAttribute
{
    static QString Load(TTnefReader& reader);
};
struct TAttachDataAttribute
{
    static void Load(TTnefReader& reader, QIODevice* content);
};
struct TAttachDataProperty
{
    // Writes the attachment's bytes; returns the interface id taken off the
    // front of an embedded object's value, or a null id.
    static QUuid Load(TTnefPropertyReader& properties, QIODevice* content);
    static bool isComInterfaceId(const QByteArray& head);
};
struct TAttachStringProperty
{
    static QString Load(TTnefPropertyReader& properties);
};
struct TAttachStreamProperty
{
    static void Load(TTnefPropertyReader& properties, QIODevice* content);
};
// Compressed RTF is copied as stored, not decompressed.
using TMapiRtfCompressedProperty = TAttachStreamProperty;
