#pragma once

#include <QString>

// The embedded Firebird engine keeps lock files in a folder it must be able
// to write. Unless FIREBIRD_LOCK is already set, it is pointed at a folder
// of the current user's own, so that a user who is not root can open an
// archive. Must run before the first connection; returns the folder.
QString prepareFirebirdEnvironment();
