#pragma once

#include <QString>

// The web view's zoom: each step is 10 % of the current factor, and the
// remembered percentage is the factor times 100 truncated toward zero, on
// the binary value (0.7 + 0.07 gives 76, not 77).
namespace Zoom {

double step(double factor, bool increase);
QString percentText(double factor);
// ZOOM as a factor; false when the text is not a decimal number.
bool factorFromPercent(const QString& percent, double* factor);

} // namespace Zoom
