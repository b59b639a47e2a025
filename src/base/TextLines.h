#pragma once

#include <QString>
#include <QStringList>

// Text split into lines at CR LF, LF or CR; the line break after the last
// line does not start another, empty line.
QStringList splitTextLines(const QString& text);
