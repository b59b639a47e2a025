#pragma once

#include <QString>

#include <array>

class IniFile;

// One column of the archive list grid: which view column it shows and how.
struct GridColumn
{
    bool visible = true;
    int width = 200;
    QString fieldName;
    QString title;

    bool operator==(const GridColumn&) const = default;
};

// The ten columns of the archive list, stored in section "DBGrid".
struct GridLayout
{
    static constexpr int ColumnCount = 10;
    std::array<GridColumn, ColumnCount> columns;

    void read(const IniFile& ini);
    void write(IniFile& ini) const;

    // When any column names no field, the stored layout cannot be trusted:
    // every column gets the built-in field and title, and columns 0, 2 and 8
    // are hidden. Widths and the other columns' visibility stay. Returns
    // whether the reset happened.
    bool resetIfIncomplete();

    static const std::array<GridColumn, ColumnCount>& builtIn();
};
