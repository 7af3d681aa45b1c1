#include "Form2b.h"

#include "SR.h"
#include "Shared.h"
#include "TwipsGeometry.h"

#include <QGroupBox>
#include <QPushButton>

Form2b::Form2b(Shared& shared, SR& sr, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , shared_(shared)
    , sr_(sr)
{
    setObjectName(QStringLiteral("Form2b"));
    setWindowTitle(QStringLiteral("DC solenoid control "));
    twips::resizeClient(this, 4260, 4100);

    cmdCoilTemplate = new QPushButton(this);
    cmdCoilTemplate->setObjectName(QStringLiteral("cmdCoil_0"));
    // Just above the visible area: the template and the focus sink.
    twips::place(cmdCoilTemplate, 0, -SR::CoilButtonHeight, SR::CoilButtonWidth, SR::CoilButtonHeight);
    cmdCoil.push_back(cmdCoilTemplate);

    fraBoxHM = new QGroupBox(this);
    fraBoxHM->setObjectName(QStringLiteral("fraBoxHM"));
    twips::place(fraBoxHM, 0, 0, 4250, 1790);
    fraBoxHM->hide();
}

void Form2b::Form_Load()
{
    if (loaded_)
        return;
    loaded_ = true;
    shared_.CoilPitch = static_cast<std::int16_t>(SR::CoilButtonWidth + 10);
    show();
    const bool dcc = shared_.ControlSystem == control_system::Dcc;
    shared_.CoilCount = dcc ? 99 : 64;
    cmdCoilTemplate->setToolTip(dcc ? QStringLiteral("click L or R") : QStringLiteral("click"));
    for (const SR::CoilButtonPlace& place : sr_.LayoutCoilButtons()) {
        auto* button = new QPushButton(place.caption, this);
        button->setObjectName(QStringLiteral("cmdCoil_%1").arg(place.index));
        button->setToolTip(cmdCoilTemplate->toolTip());
        twips::place(button, place.left, place.top, place.width, SR::CoilButtonHeight);
        button->show();
        cmdCoil.push_back(button);
    }
}

void Form2b::showView(const WindowHost::CoilView& view)
{
    for (std::size_t i = 1; i < cmdCoil.size(); ++i)
        cmdCoil[i]->setVisible(view.coilsVisible);
    fraBoxHM->move(twips::toPixels(view.motorFrameLeft), fraBoxHM->y());
    fraBoxHM->setVisible(view.motorFrameVisible);
    if (view.motorFrameVisible)
        fraBoxHM->raise();
    setWindowTitle(view.caption);
    resize(twips::toPixels(view.width), height());
}

void Form2b::setCoilButtonSizes(int widthTw, int heightTw, int fontPt)
{
    for (std::size_t i = 1; i < cmdCoil.size(); ++i) {
        QPushButton* button = cmdCoil[i];
        QFont font = button->font();
        font.setPointSize(fontPt);
        button->setFont(font);
        button->resize(twips::toPixels(widthTw), twips::toPixels(heightTw));
    }
}
