#include "ImageButton.h"

#include "Picture.h"

#include <QMouseEvent>

int vbButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

ImageButton::ImageButton(QWidget* parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
}

void ImageButton::setPicture(const QString& resource, const QString& fallbackText)
{
    const QPixmap picture = loadPicture(resource);
    if (picture.isNull()) {
        setText(fallbackText);
        setFrameShape(QFrame::Box);
    } else {
        setPixmap(picture);
    }
}

void ImageButton::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(vbButton(event->button()));
    event->accept();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(vbButton(event->button()));
    event->accept();
}
