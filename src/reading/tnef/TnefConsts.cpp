#include "reading/tnef/TnefConsts.h"

#include <array>

TTnefAttributeTag attributeTagFromRaw(quint32 raw)
{
    using T = TTnefAttributeTag;
    static constexpr std::array known{
        T::agOwner,
        T::agSentFor,
        T::agDelegate,
        T::agOriginalMessageClass,
        T::agDateStart,
        T::agDateEnd,
        T::agAidOwner,
        T::agRequestResponse,
        T::agFrom,
        T::agSubject,
        T::agDateSent,
        T::agDateReceived,
        T::agMessageStatus,
        T::agMessageClass,
        T::agMessageId,
        T::agParentId,
        T::agConversationId,
        T::agBody,
        T::agPriority,
        T::agAttachData,
        T::agAttachTitle,
        T::agAttachMetaFile,
        T::agAttachCreateDate,
        T::agAttachModifyDate,
        T::agDateModified,
        T::agAttachTransportFilename,
        T::agAttachRenderData,
        T::agMapiProperties,
        T::agRecipientTable,
        T::agAttachment,
        T::agTnefVersion,
        T::agOemCodepage,
    };
    for (const T tag : known) {
        if (quint32(tag) == raw)
            return tag;
    }
    return T::agNull;
}

TTnefPropertyType propertyTypeFromRaw(quint16 raw)
{
    using P = TTnefPropertyType;
    static constexpr std::array known{P::ptNull,    P::ptI2,      P::ptLong,    P::ptR4,     P::ptDouble, P::ptCurrency,
                                      P::ptAppTime, P::ptError,   P::ptBoolean, P::ptObject, P::ptI8,     P::ptString8,
                                      P::ptUnicode, P::ptSysTime, P::ptClassId, P::ptBinary};
    for (const P type : known) {
        if (quint16(type) == raw)
            return type;
    }
    return P::ptUnspecified;
}

bool isVariableType(TTnefPropertyType type)
{
    using P = TTnefPropertyType;
    return type == P::ptString8 || type == P::ptUnicode || type == P::ptObject || type == P::ptBinary;
}

int fixedValueSize(TTnefPropertyType type)
{
    using P = TTnefPropertyType;
    switch (type) {
    case P::ptUnspecified:
    case P::ptNull:
        return 0;
    case P::ptI2:
    case P::ptLong:
    case P::ptR4:
    case P::ptError:
    case P::ptBoolean:
        return 4;
    case P::ptDouble:
    case P::ptCurrency:
    case P::ptAppTime:
    case P::ptI8:
    case P::ptSysTime:
        return 8;
    case P::ptClassId:
        return 16;
    case P::ptObject:
    case P::ptString8:
    case P::ptUnicode:
    case P::ptBinary:
        return -1;
    }
    return 0;
}

TTnefPropertyId propertyIdFromRaw(quint16 raw)
{
    using I = TTnefPropertyId;
    static constexpr std::array known{
        I::piImportance,
        I::piMessageClass,
        I::piPriority,
        I::piSensitivity,
        I::piSubject,
        I::piClientSubmitTime,
        I::piSentRepresentingName,
        I::piMessageDeliveryTime,
        I::piMessageFlags,
        I::piMessageSize,
        I::piBody,
        I::piRtfSyncBodyCrc,
        I::piRtfSyncBodyCount,
        I::piRtfSyncBodyTag,
        I::piRtfCompressed,
        I::piBodyHtml,
        I::piInternetMessageId,
        I::piDisplayName,
        I::piAddressType,
        I::piEmailAddress,
        I::piCreationTime,
        I::piLastModificationTime,
        I::piAttachData,
        I::piAttachEncoding,
        I::piAttachExtension,
        I::piAttachFilename,
        I::piAttachMethod,
        I::piAttachLongFilename,
        I::piAttachPathname,
        I::piAttachRendering,
        I::piAttachTag,
        I::piRenderingPosition,
        I::piAttachTransportName,
        I::piAttachLongPathname,
        I::piAttachMimeTag,
        I::piAttachAdditionalInformation,
        I::piAttachContentBase,
        I::piAttachContentId,
        I::piAttachContentLocation,
        I::piAttachFlags,
        I::piAttachDisposition,
        I::piAttachSize,
        I::piAttachNumber,
        I::piInternetCodepage,
        I::piMessageLocaleId,
        I::piCreatorName,
        I::piLastModifierName,
        I::piMessageCodepage,
    };
    for (const I id : known) {
        if (quint16(id) == raw)
            return id;
    }
    return I::piNull;
}
