#include "archive/FirebirdEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

QString prepareFirebirdEnvironment()
{
    const QString given = qEnvironmentVariable("FIREBIRD_LOCK");
    if (!given.isEmpty())
        return given;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir()
        ? runtime + QStringLiteral("/tallowin-firebird")
        : QStringLiteral("/tmp/tallowin-firebird-%1").arg(uint(::getuid()));
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("FIREBIRD_LOCK", QFile::encodeName(folder));
    return folder;
}
