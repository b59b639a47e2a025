#include "reading/tnef/TnefExtraction.h"

#include "reading/MimeMessage.h"
#include "reading/tnef/TnefAttachmentParser.h"
#include "reading/tnef/TnefReader.h"

#include <QBuffer>
#include <QDir>

namespace TnefExtraction {

bool isTnefPart(const MimePart& part)
{
    return part.isAttachment
        && (part.typeContains(QStringLiteral("application/ms-tnef"))
            || part.fileName.compare(QLatin1String("winmail.dat"), Qt::CaseInsensitive) == 0);
}

bool looksLikeTnef(const QByteArray& bytes)
{
    return bytes.startsWith(QByteArray("\x78\x9F\x3E\x22", 4));
}

bool unpack(const QByteArray& tnef, const QString& folder, QStringList* names, QString* error)
{
    QDir().mkpath(folder);
    QBuffer buffer;
    buffer.setData(tnef);
    buffer.open(QIODevice::ReadOnly);
    try {
        const QStringList written = TTnefAttachmentParser().Parse(&buffer, folder + u'/');
        if (names)
            *names = written;
        return true;
    } catch (const TnefError& e) {
        if (error)
            *error = e.text();
        return false;
    }
}

QStringList UnpackedNames::add(const QStringList& names)
{
    QStringList added;
    for (const QString& name : names) {
        if (!m_listed.contains(name)) {
            m_listed << name;
            added << name;
        }
    }
    return added;
}

} // namespace TnefExtraction
