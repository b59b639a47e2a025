#include "reading/tnef/TnefExtraction.h"

#include "reading/MimeMessage.h"
#include "reading/tnef/TnefAttachmentParser.h"
#include "reading/tnef/TnefReader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <cerrno>
#include <signal.h>
#include <unistd.h>

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

bool unpack(const QByteArray& tnef, const QString& folder, QStringList* names, QString* error, int* skipped)
{
    QDir().mkpath(folder);
    QBuffer buffer;
    buffer.setData(tnef);
    buffer.open(QIODevice::ReadOnly);
    try {
        TTnefAttachmentParser parser;
        const QStringList written = parser.Parse(&buffer, folder + u'/');
        if (names)
            *names = written;
        if (skipped)
            *skipped = parser.Skipped();
        return true;
    } catch (const TnefError& e) {
        if (error)
            *error = e.text();
        return false;
    }
}

QString scratchFolderTemplate()
{
    return QDir::tempPath() + QStringLiteral("/tallowin-tnef-%1-XXXXXX").arg(QCoreApplication::applicationPid());
}

int removeAbandonedScratchFolders()
{
    static const QRegularExpression name(QStringLiteral("^tallowin-tnef-(\\d+)-\\w+$"));
    int removed = 0;
    const QFileInfoList folders = QDir(QDir::tempPath()).entryInfoList({QStringLiteral("tallowin-tnef-*")}, QDir::Dirs);
    for (const QFileInfo& folder : folders) {
        const QRegularExpressionMatch match = name.match(folder.fileName());
        if (!match.hasMatch() || folder.isSymLink() || folder.ownerId() != ::getuid())
            continue;
        const pid_t pid = pid_t(match.captured(1).toLongLong());
        if (::kill(pid, 0) == 0 || errno != ESRCH)
            continue; // its run is still going (or not ours to judge)
        if (QDir(folder.filePath()).removeRecursively())
            ++removed;
    }
    return removed;
}

QString skippedText(int skipped)
{
    return QStringLiteral("winmail.dat の添付が多すぎるため、%1 件は展開しませんでした (展開は %2 件まで)")
        .arg(skipped)
        .arg(TTnefAttachmentParser::MaxFiles);
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
