#include "archive/ListRules.h"

namespace ListRules {

int shrinkFontSize(int size)
{
    return size > 10 ? int(size * 0.9) : size - 1;
}

int enlargeFontSize(int size)
{
    return size >= 10 ? int(size * 1.1) : size + 1;
}

bool sortsDescending(int clicksSoFar)
{
    return clicksSoFar % 2 == 0;
}

QString sortIndexName(const QString& fieldName, int clicksSoFar)
{
    return fieldName + (sortsDescending(clicksSoFar) ? QStringLiteral(":D") : QStringLiteral(":A"));
}

} // namespace ListRules
