#pragma once

#include <QString>

// Asks the system whether the program was told to run under a compatibility
// layer for an older system. Linux has no such setting, so the answer there
// is always empty.
class CompatibilityLayer
{
public:
    virtual ~CompatibilityLayer() = default;
    // The layer named for the program file, or empty.
    virtual QString layerFor(const QString& programFilePath) const = 0;

    static const CompatibilityLayer& system();

    // The text shown when a layer is set.
    static QString warningText(const QString& layer);
};
