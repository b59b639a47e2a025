#pragma once

#include <QtGlobal>

// The constants of the Transport Neutral Encapsulation Format (MS-OXTNEF)
// and the MAPI property types and ids (MS-OXCDATA, MS-OXPROPS) the program
// reads.

constexpr quint32 kTnefSignature = 0x223E9F78;

enum class TTnefAttributeLevel { alMessage = 0x01, alAttachment = 0x02 };

enum class TTnefAttributeType {
    atTriples = 0x0000,
    atString = 0x0001,
    atText = 0x0002,
    atDate = 0x0003,
    atShort = 0x0004,
    atLong = 0x0005,
    atByte = 0x0006,
    atWord = 0x0007,
    atDWord = 0x0008,
    atMax = 0x0009,
};

enum class TTnefAttributeTag : quint32 {
    agNull = 0x00000000,
    agOwner = 0x00060000,
    agSentFor = 0x00060001,
    agDelegate = 0x00060002,
    agOriginalMessageClass = 0x00070006,
    agDateStart = 0x00030006,
    agDateEnd = 0x00030007,
    agAidOwner = 0x00050008,
    agRequestResponse = 0x00040009,
    agFrom = 0x00008000,
    agSubject = 0x00018004,
    agDateSent = 0x00038005,
    agDateReceived = 0x00038006,
    agMessageStatus = 0x00068007,
    agMessageClass = 0x00078008,
    agMessageId = 0x00018009,
    agParentId = 0x0001800A,
    agConversationId = 0x0001800B,
    agBody = 0x0002800C,
    agPriority = 0x0004800D,
    agAttachData = 0x0006800F,
    agAttachTitle = 0x00018010,
    agAttachMetaFile = 0x00068011,
    agAttachCreateDate = 0x00038012,
    agAttachModifyDate = 0x00038013,
    agDateModified = 0x00038020,
    agAttachTransportFilename = 0x00069001,
    agAttachRenderData = 0x00069002,
    agMapiProperties = 0x00069003,
    agRecipientTable = 0x00069004,
    agAttachment = 0x00069005,
    agTnefVersion = 0x00089006,
    agOemCodepage = 0x00069007,
};

// A tag value not in the table reads as agNull.
TTnefAttributeTag attributeTagFromRaw(quint32 raw);

enum class TTnefPropertyType : quint16 {
    ptUnspecified = 0x0000,
    ptNull = 0x0001,
    ptI2 = 0x0002,
    ptLong = 0x0003,
    ptR4 = 0x0004,
    ptDouble = 0x0005,
    ptCurrency = 0x0006,
    ptAppTime = 0x0007,
    ptError = 0x000A,
    ptBoolean = 0x000B,
    ptObject = 0x000D,
    ptI8 = 0x0014,
    ptString8 = 0x001E,
    ptUnicode = 0x001F,
    ptSysTime = 0x0040,
    ptClassId = 0x0048,
    ptBinary = 0x0102,
};
constexpr quint16 kPtMultiValued = 0x1000;

// A base type not in the table reads as ptUnspecified.
TTnefPropertyType propertyTypeFromRaw(quint16 rawBaseType);
// Bytes one value occupies; -1 for the variable types (a length precedes them).
int fixedValueSize(TTnefPropertyType type);
bool isVariableType(TTnefPropertyType type);

// MAPI property ids the program knows by name; any other id reads as
// piNull, and the raw id is always kept beside it.
enum class TTnefPropertyId : quint16 {
    piNull = 0x0000,
    piImportance = 0x0017,
    piMessageClass = 0x001A,
    piPriority = 0x0026,
    piSensitivity = 0x0036,
    piSubject = 0x0037,
    piClientSubmitTime = 0x0039,
    piSentRepresentingName = 0x0042,
    piMessageDeliveryTime = 0x0E06,
    piMessageFlags = 0x0E07,
    piMessageSize = 0x0E08,
    piBody = 0x1000,
    piRtfSyncBodyCrc = 0x1006,
    piRtfSyncBodyCount = 0x1007,
    piRtfSyncBodyTag = 0x1008,
    piRtfCompressed = 0x1009,
    piBodyHtml = 0x1013,
    piInternetMessageId = 0x1035,
    piDisplayName = 0x3001,
    piAddressType = 0x3002,
    piEmailAddress = 0x3003,
    piCreationTime = 0x3007,
    piLastModificationTime = 0x3008,
    piAttachDataObject = 0x3701,
    piAttachData = 0x3701,
    piAttachEncoding = 0x3702,
    piAttachExtension = 0x3703,
    piAttachFilename = 0x3704,
    piAttachMethod = 0x3705,
    piAttachLongFilename = 0x3707,
    piAttachPathname = 0x3708,
    piAttachRendering = 0x3709,
    piAttachTag = 0x370A,
    piRenderingPosition = 0x370B,
    piAttachTransportName = 0x370C,
    piAttachLongPathname = 0x370D,
    piAttachMimeTag = 0x370E,
    piAttachAdditionalInformation = 0x370F,
    piAttachContentBase = 0x3711,
    piAttachContentId = 0x3712,
    piAttachContentLocation = 0x3713,
    piAttachFlags = 0x3714,
    piAttachDisposition = 0x3716,
    piAttachSize = 0x0E20,
    piAttachNumber = 0x0E21,
    piInternetCodepage = 0x3FDE,
    piMessageLocaleId = 0x3FF1,
    piCreatorName = 0x3FF8,
    piLastModifierName = 0x3FFA,
    piMessageCodepage = 0x3FFD,
};

TTnefPropertyId propertyIdFromRaw(quint16 raw);

enum class TTnefNameIdKind { ikId = 0, ikName = 1 };
