#pragma once

#include "Twips.h"

#include <QWidget>

// Widget geometry given in twips.
namespace twips {

inline void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

inline void resizeClient(QWidget* window, int width, int height)
{
    window->resize(toPixels(width), toPixels(height));
}

} // namespace twips
