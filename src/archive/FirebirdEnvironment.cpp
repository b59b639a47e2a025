#include "archive/FirebirdEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

// A folder that is ours alone: created with mode 0700 when missing; an
// existing one must be a real folder (not a link), owned by us, and closed
// to others. In a shared place such as /tmp another user could otherwise
// have made it first and watch or break the engine's lock files.
bool makePrivateFolder(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info
    { };
    if (::lstat(path.constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 0077) == 0;
}

QString lockFolderCandidate(const QString& runtimeFolder, uint uid)
{
    return QDir::isAbsolutePath(runtimeFolder) && QFileInfo(runtimeFolder).isDir()
        ? runtimeFolder + QStringLiteral("/tallowin-firebird")
        : QStringLiteral("/tmp/tallowin-firebird-%1").arg(uid);
}

QString prepareFirebirdEnvironment()
{
    const QString given = qEnvironmentVariable("FIREBIRD_LOCK");
    if (!given.isEmpty())
        return given;
    QString folder = lockFolderCandidate(qEnvironmentVariable("XDG_RUNTIME_DIR"), uint(::getuid()));
    if (!makePrivateFolder(folder)) {
        // Taken by someone else (or not creatable): a folder in the user's
        // own cache instead.
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        QDir().mkpath(cache);
        folder = cache + QStringLiteral("/tallowin-firebird");
        makePrivateFolder(folder);
    }
    qputenv("FIREBIRD_LOCK", QFile::encodeName(folder));
    return folder;
}
