#include "app/ScreenDensity.h"

#include <cmath>

namespace ScreenDensity {
namespace {

int scaledRounded(int dpi, int designPixels)
{
    return int(std::lround(double(dpi) * designPixels / 96.0));
}

} // namespace

ImageSets imageSetsFor(int dpi)
{
    if (dpi >= 192)
        return {ImageSet::Large, ImageSet::Medium, ImageSet::Medium};
    if (dpi > 120)
        return {ImageSet::Medium, ImageSet::Medium, ImageSet::Medium};
    return {ImageSet::Small, ImageSet::Small, ImageSet::Small};
}

int buttonImageSize(ImageSet set)
{
    switch (set) {
    case ImageSet::Small:
        return 24;
    case ImageSet::Medium:
        return 32;
    case ImageSet::Large:
        return 48;
    }
    return 24;
}

int statusPanel0Width(int dpi)
{
    return scaledRounded(dpi, 140);
}

int statusPanel1Width(int dpi)
{
    return scaledRounded(dpi, 50);
}

int splitterHeight(int dpi)
{
    return scaledRounded(dpi, 5);
}

int scaledThreshold(int designPixels, double cfunc)
{
    return int(designPixels * cfunc);
}

} // namespace ScreenDensity
