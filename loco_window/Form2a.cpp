#include "Form2a.h"

#include "TwipsGeometry.h"

#include <QGroupBox>
#include <QPushButton>

namespace {

struct ThrottleButton {
    int left;
    int width;
    int height;
    QColor colour;
};

// Left, width, design height and colour of cmdLoco 0..14, in twips.
ThrottleButton throttleButton(int index)
{
    static constexpr int lefts[15] = {20, 400, 830, 1230, 1630, 2030, 2430, 2820, 3220, 3620, 4020, 4400, 4800, 5200, 5600};
    if (index == 0)
        return {lefts[0], 800, 790, QColor(255, 0, 0)};
    if (index == 1)
        return {lefts[1], 105, 315, QColor(255, 255, 255)};
    if (index == 2)
        return {lefts[2], 400, 500, QColor(255, 255, 0)};
    return {lefts[index], 400, 500, QColor(0, 192, 0)};
}

} // namespace

Form2a::Form2a(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form2a"));
    setWindowTitle(QStringLiteral("DCC Loco Control"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    twips::resizeClient(this, 8025, 1200);

    fraFuncOp = new QGroupBox(QStringLiteral("function F0-F12 operate"), this);
    fraFuncOp->setObjectName(QStringLiteral("fraFuncOp"));
    fraFuncOp->setToolTip(QStringLiteral("F0-F12 keyboard"));
    twips::place(fraFuncOp, 0, 0, 1980, 1200);

    fraControl = new QGroupBox(this);
    fraControl->setObjectName(QStringLiteral("fraControl"));
    twips::place(fraControl, 1980, 0, 6050, 1200);

    for (int i = 0; i < 15; ++i) {
        const ThrottleButton design = throttleButton(i);
        auto* button = new QPushButton(i == 0 ? QStringLiteral("STOP") : i == 1 ? QString() : QString::number(i), fraControl);
        button->setObjectName(QStringLiteral("cmdLoco_%1").arg(i));
        button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #555; font-weight: bold; }")
                                  .arg(design.colour.name()));
        twips::place(button, design.left, i == 1 ? 400 : 390, design.width, design.height);
        cmdLoco[static_cast<std::size_t>(i)] = button;
    }
    // The focus holder lies behind STOP.
    cmdLoco[1]->lower();
}

void Form2a::setLocoButtonHeight(int index, int heightTw)
{
    if (index < 0 || index >= static_cast<int>(cmdLoco.size()))
        return;
    QPushButton* button = cmdLoco[static_cast<std::size_t>(index)];
    button->resize(button->width(), twips::toPixels(heightTw));
}
