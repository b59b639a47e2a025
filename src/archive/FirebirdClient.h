#pragma once

#include <QSqlDatabase>
#include <QString>

struct ArchiveTarget;

// Connections to archives through Qt's Firebird driver, always in UTF8:
// the older UNICODE_FSS character set silently damages characters outside
// the Basic Multilingual Plane (𠮟, emoji).
namespace FirebirdClient {

// A new, unopened connection with the given connection name.
QSqlDatabase addConnection(const QString& connectionName, const ArchiveTarget& target);
// Points a closed connection at another target. The driver stays: queries
// made on it keep a valid driver.
void pointConnection(QSqlDatabase& db, const ArchiveTarget& target);
void removeConnection(const QString& connectionName);

// A Japanese explanation of a failed connection, with the engine's words.
QString describeError(const QString& engineText);

} // namespace FirebirdClient

// Creates an empty archive with the schema. Returns an empty text on
// success, else what went wrong. An existing file is never touched, and a
// local archive appears under its name only once it is complete.
QString createArchive(const ArchiveTarget& target);

// Whether the archive opens and holds the archive's tables: empty when it
// does, else what is wrong.
QString checkArchive(const ArchiveTarget& target);
