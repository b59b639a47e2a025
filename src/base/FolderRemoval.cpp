#include "base/FolderRemoval.h"

#include "base/Prompt.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

// A read-only sub-folder is the usual reason a removal fails for the owner
// of the files; give the owner write permission back and try again.
void restoreWritePermission(const QString& path)
{
    const auto addWrite = [](const QString& p) {
        QFile::setPermissions(
            p, QFile::permissions(p) | QFileDevice::WriteOwner | QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    };
    addWrite(path);
    QDirIterator it(path, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        addWrite(it.next());
}

bool removeOnce(const QString& path)
{
    QDir dir(path);
    return dir.removeRecursively() && !QFileInfo::exists(path);
}

} // namespace

bool removeFolder(const QString& path, Prompt& prompt)
{
    if (path.isEmpty())
        return false;
    if (removeOnce(path))
        return true;
    restoreWritePermission(path);
    if (removeOnce(path))
        return true;
    prompt.information(kFolderLeftMessage);
    return false;
}
