#pragma once

// The window font is "Meiryo UI" 9 pt. Where that font is not installed,
// Japanese fonts common on Linux stand in for it, so that captions never
// fall back to a font without Japanese glyphs.
void installUiFont();
