#pragma once

#include "settings/SettingsFolders.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A private home for one test: the XDG variables and HOME point into a
// temporary folder, and a fake program folder with an initial "config"
// folder sits beside them. Nothing of the user's own folders is touched.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();

    QString root() const { return m_dir.path(); }
    QString programFolder() const;
    SettingsFolders folders() const;

    // Writes a file, creating its folder.
    static void writeFile(const QString& path, const QByteArray& bytes);
    static QByteArray readFile(const QString& path);

private:
    QTemporaryDir m_dir;
    QByteArray m_saved[6];
};

// Makes a folder impossible to remove for this process until released:
// an immutable file inside it when running as root, a read-only parent
// folder otherwise. Returns false when the file system allows neither.
// A file that cannot be written, even by root (an immutable file then).
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const QString& file);
    ~ReadOnlyFile();
    bool active() const { return m_active; }

private:
    QString m_file;
    bool m_asRoot = false;
    bool m_active = false;
};

class UndeletableFolder
{
public:
    explicit UndeletableFolder(const QString& folder);
    ~UndeletableFolder();
    bool active() const { return m_active; }
    void release();

private:
    QString m_folder;
    QString m_lockedFile;
    QString m_parent;
    bool m_active = false;
};

// Makes a folder refuse new files until released: the immutable flag on
// the folder when running as root, no write permission otherwise.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString& folder);
    ~ReadOnlyFolder();
    bool active() const { return m_active; }

private:
    QString m_folder;
    bool m_asRoot = false;
    bool m_active = false;
};

// The embedded Firebird engine reads its lock folder once per process; tests
// that make a new environment per case share one folder for the whole run.
void useProcessWideFirebirdLockFolder();
