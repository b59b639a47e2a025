#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
const char* const kVariables[6]
    = {"HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"};

bool setImmutable(const QString& path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}
} // namespace

TestEnvironment::TestEnvironment()
{
    for (int i = 0; i < 6; ++i)
        m_saved[i] = qgetenv(kVariables[i]);
    const QString r = m_dir.path();
    QDir().mkpath(r + QStringLiteral("/home"));
    QDir().mkpath(r + QStringLiteral("/runtime"));
    QDir().mkpath(programFolder() + QStringLiteral("config"));
    qputenv("HOME", QFile::encodeName(r + QStringLiteral("/home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(r + QStringLiteral("/home/.config")));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(r + QStringLiteral("/etc-xdg")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(r + QStringLiteral("/home/.local/share")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(r + QStringLiteral("/home/.cache")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(r + QStringLiteral("/runtime")));
    QFile::setPermissions(r + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TestEnvironment::~TestEnvironment()
{
    for (int i = 0; i < 6; ++i) {
        if (m_saved[i].isNull())
            qunsetenv(kVariables[i]);
        else
            qputenv(kVariables[i], m_saved[i]);
    }
}

QString TestEnvironment::programFolder() const
{
    return m_dir.path() + QStringLiteral("/program/");
}

SettingsFolders TestEnvironment::folders() const
{
    return SettingsFolders::locate(programFolder());
}

void TestEnvironment::writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray TestEnvironment::readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ReadOnlyFile::ReadOnlyFile(const QString& file)
    : m_file(file)
    , m_asRoot(::geteuid() == 0)
{
    m_active = m_asRoot ? setImmutable(file, true) : QFile::setPermissions(file, QFileDevice::ReadOwner);
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (!m_active)
        return;
    if (m_asRoot)
        setImmutable(m_file, false);
    else
        QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

UndeletableFolder::UndeletableFolder(const QString& folder)
    : m_folder(folder)
{
    QDir().mkpath(folder);
    if (::geteuid() == 0) {
        m_lockedFile = QDir(folder).filePath(QStringLiteral("locked.bin"));
        TestEnvironment::writeFile(m_lockedFile, "locked");
        m_active = setImmutable(m_lockedFile, true);
    } else {
        // Without root, a folder whose parent is read-only cannot go.
        TestEnvironment::writeFile(QDir(folder).filePath(QStringLiteral("x")), "x");
        m_parent = QFileInfo(folder).absolutePath();
        m_active = QFile::setPermissions(m_parent, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
}

UndeletableFolder::~UndeletableFolder()
{
    release();
}

void UndeletableFolder::release()
{
    if (!m_active)
        return;
    if (!m_lockedFile.isEmpty())
        setImmutable(m_lockedFile, false);
    else
        QFile::setPermissions(m_parent, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_active = false;
}

ReadOnlyFolder::ReadOnlyFolder(const QString& folder)
    : m_folder(folder)
    , m_asRoot(::geteuid() == 0)
{
    QDir().mkpath(folder);
    m_active = m_asRoot ? setImmutable(folder, true)
                        : QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (!m_active)
        return;
    if (m_asRoot)
        setImmutable(m_folder, false);
    else
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void useProcessWideFirebirdLockFolder()
{
    static QTemporaryDir folder;
    qputenv("FIREBIRD_LOCK", QFile::encodeName(folder.path()));
}
