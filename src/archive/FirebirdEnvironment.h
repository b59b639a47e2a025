#pragma once

#include <QString>

// The embedded Firebird engine keeps lock files in a folder it must be able
// to write. Unless FIREBIRD_LOCK is already set, it is pointed at a folder
// of the current user's own, so that a user who is not root can open an
// archive. Must run before the first connection; returns the folder.
// The folder must be ours alone: without XDG_RUNTIME_DIR the usual place is
// in /tmp, where a folder made first by another user is not used; the
// user's cache folder is used then.
QString prepareFirebirdEnvironment();

// Creates the folder with mode 0700, or checks that the existing one is a
// real folder of the current user's, closed to others.
bool makePrivateFolder(const QString& folder);

// $XDG_RUNTIME_DIR/tallowin-firebird, or /tmp/tallowin-firebird-UID.
QString lockFolderCandidate(const QString& runtimeFolder, uint uid);
