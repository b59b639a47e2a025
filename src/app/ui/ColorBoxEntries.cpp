#include "app/ui/ColorBoxEntries.h"

const QList<ColorBoxEntry>& colorBoxEntries()
{
    static const QList<ColorBoxEntry> entries{
        {QStringLiteral("Black"), QColor(0, 0, 0)},
        {QStringLiteral("Maroon"), QColor(128, 0, 0)},
        {QStringLiteral("Green"), QColor(0, 128, 0)},
        {QStringLiteral("Olive"), QColor(128, 128, 0)},
        {QStringLiteral("Navy"), QColor(0, 0, 128)},
        {QStringLiteral("Purple"), QColor(128, 0, 128)},
        {QStringLiteral("Teal"), QColor(0, 128, 128)},
        {QStringLiteral("Gray"), QColor(128, 128, 128)},
        {QStringLiteral("Silver"), QColor(192, 192, 192)},
        {QStringLiteral("Red"), QColor(255, 0, 0)},
        {QStringLiteral("Lime"), QColor(0, 255, 0)},
        {QStringLiteral("Yellow"), QColor(255, 255, 0)},
        {QStringLiteral("Blue"), QColor(0, 0, 255)},
        {QStringLiteral("Fuchsia"), QColor(255, 0, 255)},
        {QStringLiteral("Aqua"), QColor(0, 255, 255)},
        {QStringLiteral("White"), QColor(255, 255, 255)},
        {QStringLiteral("Money Green"), QColor(192, 220, 192)},
        {QStringLiteral("Sky Blue"), QColor(166, 202, 240)},
        {QStringLiteral("Cream"), QColor(255, 251, 240)},
        {QStringLiteral("Medium Gray"), QColor(160, 160, 164)},
    };
    return entries;
}

int colorToStoredValue(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QColor colorFromStoredValue(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
