#pragma once

// Sizes that follow the screen's pixels per inch. Every size is designed for
// 96 pixels per inch and scaled by CFunc = dpi / 96.
namespace ScreenDensity {

enum class ImageSet { Small, Medium, Large };

struct ImageSets
{
    ImageSet buttonBar;
    ImageSet fileBrowserBar;
    ImageSet passwordButton;
};

// Above 120 and below 192: medium sets. 192 and more: large for the button
// bar, medium for the others. 120 and less: small sets.
ImageSets imageSetsFor(int dpi);

// Edge length of a button bar image in each set.
int buttonImageSize(ImageSet set);

int statusPanel0Width(int dpi); // dpi * 140 / 96, rounded
int statusPanel1Width(int dpi); // dpi * 50 / 96, rounded
int splitterHeight(int dpi);    // dpi * 5 / 96, rounded

// A threshold designed for 96 dpi, scaled and truncated.
int scaledThreshold(int designPixels, double cfunc);

} // namespace ScreenDensity
