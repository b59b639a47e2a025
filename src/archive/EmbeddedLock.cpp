#include "archive/EmbeddedLock.h"

#include "base/QuilletState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool lockWhole(int fd)
{
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
#ifdef F_OFD_SETLK
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0)
        return true;
    if (errno != EINVAL)
        return false;
#endif
    return ::fcntl(fd, F_SETLK, &lock) == 0;
}

// The file may have been deleted and made anew by its last holder while we
// were taking the lock; a lock on a deleted file guards nothing.
bool stillTheFile(int fd, const QByteArray& path)
{
    struct stat opened = {};
    struct stat named = {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
}

} // namespace

EmbeddedLock::~EmbeddedLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString EmbeddedLock::lockFilePath(const QString& databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("Semafore"));
}

bool EmbeddedLock::acquire(const QString& databasePath)
{
    if (m_fd >= 0)
        return true;
    if (databasePath.isEmpty() || !QFileInfo(databasePath).isFile())
        return false;
    const QString path = lockFilePath(databasePath);
    const QByteArray encoded = QFile::encodeName(path);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(encoded.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        if (!lockWhole(fd)) {
            ::close(fd);
            return false;
        }
        if (stillTheFile(fd, encoded)) {
            m_fd = fd;
            m_path = path;
            return true;
        }
        ::close(fd);
    }
    return false;
}

void EmbeddedLock::release()
{
    if (m_fd < 0)
        return;
    // Delete first, while the lock still keeps others out.
    QFile::remove(m_path);
    ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

void takeEmbeddedLock(QuilletState& state, EmbeddedLock& lock)
{
    state.emb_Flg = state.Ldb_Host1.isEmpty();
    state.Semafore_Flg = false;
    if (!state.emb_Flg)
        return;
    state.Semafore_Flg = lock.acquire(state.Ldb_Path1);
}

void releaseEmbeddedLock(QuilletState& state, EmbeddedLock& lock)
{
    if (state.emb_Flg)
        lock.release();
    state.Semafore_Flg = false;
}
