// The mbox reader over arbitrary bytes: no crash, every byte after the first
// separator lands in exactly one message or is a separator or a closing
// blank line, and each message parses as the display would.
#include "reading/MailboxReader.h"
#include "reading/MessageSummary.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("box"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    file.close();
    qint64 total = 0;
    MailboxReader::forEachMessage(path, [&](const MailboxReader::Message& m) {
        total += m.bytes.size();
        if (m.position <= 0 || m.bytes.startsWith("From "))
            std::abort();
        if (m.bytes.size() < 4096)
            (void)summariseMessage(m.bytes, {});
        return true;
    });
    if (total > qint64(size))
        std::abort();
    return 0;
}
