#pragma once

#include <QString>

// The archive list's small rules.
namespace ListRules {

// Font steps of the grid: above 10 by a tenth (integer part), else by one.
int shrinkFontSize(int size);
int enlargeFontSize(int size);

// Title clicks share one counter: an even count sorts descending, an odd
// one ascending, whichever column is clicked.
bool sortsDescending(int clicksSoFar);
// The index field names the sort uses: "FIELD:D" or "FIELD:A".
QString sortIndexName(const QString& fieldName, int clicksSoFar);

} // namespace ListRules
