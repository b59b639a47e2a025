// The TNEF reader and the extraction over arbitrary bytes: no crash, no
// hang, no large allocation, nothing written outside the folder.
#include "reading/tnef/TnefExtraction.h"
#include "reading/tnef/TnefReader.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// Walks every attribute and every property value the way a consumer may.
void walk(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        TTnefReader reader(&buffer);
        while (reader.NextAttribute()) {
            if (reader.AttributeTag() == TTnefAttributeTag::agAttachTitle) {
                (void)TAttachTitleAttribute::Load(reader);
                continue;
            }
            if (reader.AttributeTag() != TTnefAttributeTag::agMapiProperties
                && reader.AttributeTag() != TTnefAttributeTag::agAttachment)
                continue;
            TTnefPropertyReader properties(reader);
            while (properties.NextProperty()) {
                if (properties.PropertyTag()->RawId() % 3 == 0)
                    continue; // left for the skipping
                while (properties.NextValue()) {
                    try {
                        (void)properties.ReadStringValue();
                    } catch (const TnefError&) {
                        break;
                    }
                }
            }
        }
    } catch (const TnefError&) { }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir root;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    walk(bytes);
    const QString folder = root.path() + QStringLiteral("/2nd");
    QStringList names;
    QString error;
    TnefExtraction::unpack(bytes, folder, &names, &error);
    // Every file written lies in the folder.
    const QStringList beside = QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (beside.size() > 1)
        std::abort();
    QDir(folder).removeRecursively();
    return 0;
}
