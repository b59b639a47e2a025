#pragma once

#include <QColor>
#include <QList>
#include <QString>

// The colours the font bar's colour box offers, standard ones first (black
// is the first entry), then the extended ones, with their names.
struct ColorBoxEntry
{
    QString name;
    QColor color;
};

const QList<ColorBoxEntry>& colorBoxEntries();

// The stored colour value keeps the classic 0x00BBGGRR layout, so that
// 0 is black and a value written by earlier versions reads the same.
int colorToStoredValue(const QColor& color);
QColor colorFromStoredValue(int value);
