#include "archive/ArchiveTarget.h"

#include <QRegularExpression>

namespace {

// The file name without folder, whichever separator the path uses: a server
// may be a Windows machine with a path such as D:\data\mail.fdb.
QString fileNameOf(const QString& path)
{
    const qsizetype cut = path.lastIndexOf(QRegularExpression(QStringLiteral("[/\\\\]")));
    return cut < 0 ? path : path.mid(cut + 1);
}

} // namespace

bool ArchiveTarget::isLocal() const
{
    return host.isEmpty() || host.contains(QLatin1String("localhost"), Qt::CaseInsensitive);
}

QString ArchiveTarget::databaseName() const
{
    return isLocal() ? path : host + u':' + path;
}

QString archiveCaption(const ArchiveTarget& target)
{
    const QString prefix = kNoDatabaseCaption + QStringLiteral(" -- ");
    if (target.isLocal())
        return prefix + fileNameOf(target.path);
    return prefix + target.host + u':' + fileNameOf(target.path);
}
