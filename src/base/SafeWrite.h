#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes to a file in a folder that others may share: the bytes go
// into a new temporary file beside the target (created exclusively), which
// then takes the target's name. A symbolic link planted under that name is
// replaced, never followed, so nothing is written outside the folder; a
// reader never sees half a file. QSaveFile is not used because it writes
// through a link to its target.
bool writeFileReplacing(const QString& path, const QByteArray& bytes, QString* error = nullptr);
