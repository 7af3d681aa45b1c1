// The coil window's views and the button layout of both control windows.
#include "SR.h"

QString SR::ToggleMotorPanel()
{
    PanelToggle[0] = !PanelToggle[0];
    WindowHost::CoilView view;
    QString label;
    view.width = 4260;
    if (PanelToggle[0]) {
        view.coilsVisible = false;
        view.motorFrameVisible = true;
        view.motorFrameLeft = 10;
        view.caption = QStringLiteral("DC motor control");
        label = QStringLiteral("solenoids");
    } else {
        view.coilsVisible = true;
        view.motorFrameVisible = false;
        view.motorFrameLeft = 10;
        view.caption = QStringLiteral("DC solenoid control");
        label = QStringLiteral("motors");
    }
    windows_.showCoilView(view);
    return label;
}

QString SR::ToggleBothPanels()
{
    PanelToggle[1] = !PanelToggle[1];
    WindowHost::CoilView view;
    QString label;
    view.coilsVisible = true;
    if (PanelToggle[1]) {
        view.width = 8400;
        view.motorFrameLeft = 4150;
        view.motorFrameVisible = true;
        view.caption = QStringLiteral("DC solenoid & motor control");
        label = QStringLiteral("solenoids");
    } else {
        view.width = 4260;
        view.motorFrameLeft = 0;
        view.motorFrameVisible = false;
        view.caption = QStringLiteral("DC solenoid control");
        label = QStringLiteral("both");
    }
    windows_.showCoilView(view);
    return label;
}

std::vector<SR::CoilButtonPlace> SR::LayoutCoilButtons()
{
    std::vector<CoilButtonPlace> places;
    places.reserve(shared_.CoilCount);
    const bool dcc = shared_.ControlSystem == control_system::Dcc;
    for (int i = 1; i <= shared_.CoilCount; ++i) {
        CoilButtonPlace place;
        place.index = i;
        place.width = CoilButtonWidth;
        place.left = CoilColumn * shared_.CoilPitch + 20;
        place.top = CoilRowTop;
        place.caption = QString::number(dcc ? i : 2 * i);
        places.push_back(place);
        if (++CoilColumn == 8) {
            CoilColumn = 0;
            CoilRowTop = static_cast<std::int16_t>(CoilRowTop + CoilButtonHeight + 10);
        }
    }
    return places;
}

void SR::ResetButtonSizes(int which)
{
    if (which == 0) {
        windows_.setCoilButtonSizes(shared_.CoilPitch, CoilButtonHeight + 10, 8);
        shared_.RestorePending = true;
    } else if (which == 1) {
        windows_.setLocoButtonHeight(0, 800);
        for (int i = 2; i <= 14; ++i)
            windows_.setLocoButtonHeight(i, 500);
    }
}
