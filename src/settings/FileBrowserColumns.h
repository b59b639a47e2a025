#pragma once

#include <QList>

class IniFile;

// Column widths of the backup file browser, stored in section "sListView".
// ColumnNum is kept as read (a stored 0 reads as 16), but the program holds
// at most 17 widths: widths past the 17th are neither read nor written.
struct FileBrowserColumns
{
    static constexpr int DefaultCount = 16;
    static constexpr int MaxWidths = 17;
    static constexpr int DefaultWidth = 80;

    int columnNum = DefaultCount;
    QList<int> widths = QList<int>(MaxWidths, DefaultWidth);

    int heldWidthCount() const { return qMin(columnNum, int(MaxWidths)); }

    void read(const IniFile& ini);
    void write(IniFile& ini) const;
};
