#include "base/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

bool writeFileReplacing(const QString& path, const QByteArray& bytes, QString* error)
{
    const QFileInfo target(path);
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why + QStringLiteral(": ") + path;
        return false;
    };
    if (target.isDir() && !target.isSymLink())
        return fail(QStringLiteral("a folder has that name"));
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.tallowin-XXXXXX"));
    if (!temporary.open())
        return fail(temporary.errorString());
    if (temporary.write(bytes) != bytes.size() || !temporary.flush())
        return fail(temporary.errorString());
    temporary.close();
    // rename(2) replaces the directory entry itself, a link included.
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return fail(QStringLiteral("cannot replace the file"));
    temporary.setAutoRemove(false);
    QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return true;
}
