#include "base/Delay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

void Delay(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() <= milliseconds) {
        const qint64 left = milliseconds - timer.elapsed() + 1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(qMax<qint64>(1, left)));
        // processEvents returns at once when nothing is pending; a short
        // sleep keeps the wait from spinning a core.
        QThread::msleep(1);
    }
}
