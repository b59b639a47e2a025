#pragma once

#include <QString>

// A file name from mail (an attachment, a TNEF file, a subject) made safe to
// use inside one folder: separators and control characters become "_",
// bidirectional marks are dropped, a name of only dots becomes "_", and the
// result never leaves the folder.
// The visible name stays as close to the original as that allows.
QString safeFileName(const QString& untrustedName);

// folder + "/" + safeFileName(name).
QString safeChildPath(const QString& folder, const QString& untrustedName);
