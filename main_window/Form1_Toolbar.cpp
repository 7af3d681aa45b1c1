// Toolbar toggles, status line and the one-shot wait timer.
#include "Form1.h"

#include "ImageButton.h"
#include "SR.h"
#include "Shared.h"

#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>

void Form1::imgBtnTog_MouseDown(int index, int button)
{
    if (index == 0) {
        lblToggle[1]->setText(button == 1 ? sr_.ToggleMotorPanel() : sr_.ToggleBothPanels());
        return;
    }
    if (index == 1 || index == 2) {
        sr_.ShowFrames = !sr_.ShowFrames;
        // The clicked picture goes to the back, showing the other one; the
        // next status tick sets the indicator right again.
        modemStack->setCurrentWidget(imgBtnTog[index == 1 ? 2 : 1]);
        emit modemClicked();
    }
}

void Form1::timModem_Timer()
{
    sr_.BuildStatusText();
    const SR::StatusCaption caption = sr_.ShowStatusCaption();
    setWindowTitle(caption.title);
    lblToggle[0]->setText(caption.frameLabel);
    modemStack->setCurrentWidget(imgBtnTog[caption.modemOn ? 2 : 1]);
}

void Form1::raiseByteArrayToggle()
{
    fraToggle[0]->show();
    // Only "DCC" has no board, so no motors to show.
    fraToggle[1]->setVisible(shared_.ControlSystem != control_system::Dcc);
}

