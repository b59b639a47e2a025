#include "reading/Zoom.h"

#include <cmath>

namespace Zoom {

double step(double factor, bool increase)
{
    return increase ? factor + factor * 0.1 : factor - factor * 0.1;
}

QString percentText(double factor)
{
    return QString::number(static_cast<long long>(std::trunc(factor * 100.0)));
}

bool factorFromPercent(const QString& percent, double* factor)
{
    bool ok = false;
    const double value = percent.trimmed().toDouble(&ok);
    if (ok && factor)
        *factor = value / 100.0;
    return ok;
}

} // namespace Zoom
