// Parse-and-derive of a message, as the display and registration do it,
// over arbitrary bytes: it must never crash, hang or run out of memory.
#include "reading/Charsets.h"
#include "reading/EncodedWords.h"
#include "reading/MessageSummary.h"

#include <QByteArray>
#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    static const QStringList accounts{QStringLiteral("山田 <taro@example.jp>"), QStringLiteral("Dummy Data")};
    const MessageSummary summary = summariseMessage(bytes, accounts);
    (void)summary.toJson();
    // The decoders on their own, on the raw bytes as header text and as body text.
    (void)decodeHeaderText(bytes.left(4096));
    (void)Charsets::decode(bytes, "iso-2022-jp");
    (void)Charsets::decode(bytes, "shift_jis");
    return 0;
}
