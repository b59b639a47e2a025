#pragma once

#include <QString>

// The lock file "Semafore" beside an embedded archive: held for the whole
// run so that a second program — on this machine or another one sharing the
// folder — sees the archive as in use.
//
// The file carries an open-file-description lock (fcntl F_OFD_SETLK): it is
// exclusive between processes and between two holders in one process, and
// network file systems pass it on as a byte-range lock.
class EmbeddedLock
{
public:
    EmbeddedLock() = default;
    ~EmbeddedLock();
    EmbeddedLock(const EmbeddedLock&) = delete;
    EmbeddedLock& operator=(const EmbeddedLock&) = delete;

    static QString lockFilePath(const QString& databasePath);

    // Takes the lock when the database file exists. Returns whether it is held.
    bool acquire(const QString& databasePath);
    // Closes the lock and deletes its file — only when this holder has it:
    // a lock file held by another program stays.
    void release();

    bool held() const { return m_fd >= 0; }
    int handle() const { return m_fd; }

private:
    int m_fd = -1;
    QString m_path;
};

struct QuilletState;

// The program's use of the lock: only an archive used without any host name
// is guarded (emb_Flg); "localhost" goes through the local engine unguarded.
void takeEmbeddedLock(QuilletState& state, EmbeddedLock& lock);
// At close, before the settings are written.
void releaseEmbeddedLock(QuilletState& state, EmbeddedLock& lock);
