#include "reading/AttachmentRules.h"

#include "reading/MimeMessage.h"

#include <QFileInfo>

namespace AttachmentRules {
namespace {

QString extensionOf(const QString& caption)
{
    const QString suffix = QFileInfo(caption).suffix();
    return suffix.isEmpty() ? QString() : u'.' + suffix;
}

} // namespace

QString SafeAttachName(const QString& name)
{
    QString safe = name;
    return safe.replace(u'/', u'_');
}

bool looksEncrypted(const QString& caption)
{
    const QString ext = extensionOf(caption);
    return ext.contains(QLatin1String("asc"), Qt::CaseInsensitive)
        || caption.contains(QLatin1String("encrypted"), Qt::CaseInsensitive)
        || ext.contains(QLatin1String("gpg"), Qt::CaseInsensitive)
        || ext.contains(QLatin1String("pgp"), Qt::CaseInsensitive);
}

List1Selection selectInList1(const QString& caption)
{
    List1Selection s;
    if (looksEncrypted(caption)) {
        s.decrypt = true;
        return s;
    }
    s.openWith = !extensionOf(caption).contains(QLatin1String("dat"), Qt::CaseInsensitive);
    return s;
}

bool list2Opens(const QString& caption)
{
    const QString ext = extensionOf(caption).toUpper();
    return ext != QLatin1String(".ASC") && ext != QLatin1String(".DAT") && ext != QLatin1String(".GPG")
        && ext != QLatin1String(".PGP");
}

bool refusedForOpening(const QString& caption)
{
    const QString ext = extensionOf(caption).toUpper();
    return caption.compare(QLatin1String("PGP_MIME version identification.dat"), Qt::CaseInsensitive) == 0
        || ext == QLatin1String(".PGP") || ext == QLatin1String(".GPG") || ext == QLatin1String(".ASC");
}

const MimePart* findAttachment(const MimeMessage& message, const QString& caption)
{
    for (const MimePart& part : message.parts()) {
        if (!part.isAttachment)
            continue;
        if (part.fileName == caption || SafeAttachName(part.description + QStringLiteral(".dat")) == caption)
            return &part;
    }
    // A part listed without any name carries the caption "ver.dat".
    if (caption == QLatin1String("ver.dat")) {
        for (const MimePart& part : message.parts()) {
            if (part.isAttachment && part.fileName.isEmpty())
                return &part;
        }
    }
    return nullptr;
}

} // namespace AttachmentRules
