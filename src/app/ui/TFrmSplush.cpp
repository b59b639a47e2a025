#include "app/ui/TFrmSplush.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

TFrmSplush::TFrmSplush(const QString& picturePath)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_picture(picturePath)
{
    setObjectName(QStringLiteral("FrmSplush"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(297, 297);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TFrmSplush::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_picture.isNull())
        painter.fillRect(rect(), palette().window());
    else
        painter.drawPixmap(rect(), m_picture);
}
