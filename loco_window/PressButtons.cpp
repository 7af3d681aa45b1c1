#include "PressButtons.h"

#include "ImageButton.h"

#include <QMouseEvent>

ThrottleButton::ThrottleButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
    setMouseTracking(true);
}

void ThrottleButton::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(vbButton(event->button()));
    // Only the left button shows the button pushed in.
    if (event->button() == Qt::LeftButton)
        QPushButton::mousePressEvent(event);
    else
        event->accept();
}

void ThrottleButton::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QPushButton::mouseMoveEvent(event);
}

void ThrottleButton::enterEvent(QEnterEvent* event)
{
    emit mouseMoved();
    QPushButton::enterEvent(event);
}

FunctionBox::FunctionBox(QWidget* parent)
    : QCheckBox(parent)
{
    // No keyboard toggling either: the tick belongs to the function state.
    setFocusPolicy(Qt::NoFocus);
}

void FunctionBox::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit mousePressed(vbButton(event->button()));
}

void FunctionBox::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit mouseReleased(vbButton(event->button()));
}

void FunctionBox::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}
