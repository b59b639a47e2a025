#pragma once

#include <QPixmap>
#include <QWidget>

// The borderless picture shown while the main window is being created.
class TFrmSplush : public QWidget
{
    Q_OBJECT

public:
    // picturePath: "Tallowin.jpg" in the program folder; a missing picture
    // leaves a plain window.
    explicit TFrmSplush(const QString& picturePath);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
};
