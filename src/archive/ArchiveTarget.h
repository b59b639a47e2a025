#pragma once

#include <QString>

// Where the archive is: a database file, used through the embedded engine
// when the host is empty or names "localhost", else through a server.
struct ArchiveTarget
{
    QString host;
    QString path;

    // Empty host, or one containing "localhost" in any letter case.
    bool isLocal() const;
    // What the Firebird client is given: the path, or "host:path".
    QString databaseName() const;
    // A local path with ":" in it: the Firebird client reads the text before
    // it as a server's name, so such a file is reached through a
    // ColonFreeAlias (or refused when its folder has the ":").
    bool localPathUnusable() const { return isLocal() && path.contains(u':'); }
};

inline const QString kNoDatabaseCaption = QStringLiteral("Tallowin 管理");

// "Tallowin 管理 -- file.fdb" for a local archive, "Tallowin 管理 -- host:file.fdb"
// for a server; the file name without its folder.
QString archiveCaption(const ArchiveTarget& target);

// The program's fixed credentials.
namespace ArchiveCredentials {
inline const QString User = QStringLiteral("TALLOWIN");
inline const QString Password = QStringLiteral("kevutoph");
inline const QString AdminUser = QStringLiteral("sysdba");
inline const QString AdminPassword = QStringLiteral("plonkiver");
} // namespace ArchiveCredentials
