#include "settings/FileBrowserColumns.h"

#include "settings/IniFile.h"
#include "settings/SettingsKeys.h"

void FileBrowserColumns::read(const IniFile& ini)
{
    columnNum = ini.readInteger(SettingsKeys::sListView, QStringLiteral("ColumnNum"), DefaultCount);
    if (columnNum <= 0)
        columnNum = DefaultCount;
    widths = QList<int>(MaxWidths, DefaultWidth);
    for (int n = 1; n <= heldWidthCount(); ++n)
        widths[n - 1] = ini.readInteger(SettingsKeys::sListView, QStringLiteral("ColumnW%1").arg(n), DefaultWidth);
}

void FileBrowserColumns::write(IniFile& ini) const
{
    ini.writeInteger(SettingsKeys::sListView, QStringLiteral("ColumnNum"), columnNum);
    for (int n = 1; n <= heldWidthCount(); ++n)
        ini.writeInteger(SettingsKeys::sListView, QStringLiteral("ColumnW%1").arg(n),
                         widths.value(n - 1, DefaultWidth));
}
