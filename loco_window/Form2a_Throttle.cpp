// The throttle: speed buttons, STOP and the direction picture.
#include "Form2a.h"

#include "DCC.h"
#include "ImageButton.h"
#include "PressButtons.h"
#include "SR.h"
#include "Shared.h"
#include "TwipsGeometry.h"

void Form2a::cmdLoco_MouseDown(int Index, int Button)
{
    // Only left (go) and right (stop) mean anything; another button must
    // not send a step while the display shows STOP.
    if (Button != 1 && Button != 2)
        return;
    const std::uint8_t before = shared_.ActiveIndex;
    shared_.ActiveIndex = static_cast<std::uint8_t>(Index);
    // A key from the mimic may drive the throttle hidden behind the entry
    // panel: the panel keeps its typing.
    if (!AddLocoOpen)
        cmdLoco[1]->setFocus();
    if (!dcc_.EngineChosen) {
        sr_.Prompt(13);
        return;
    }
    if (Button == 2)
        shared_.ActiveIndex = 0;
    // Refused while the link is down: the throttle keeps showing what the loco was last told.
    if (!dcc_.SendSpeedStep()) {
        shared_.ActiveIndex = before;
        return;
    }
    sr_.ResetButtonSizes(1);
    if (Button == 1) {
        setLocoButtonHeight(0, 500);
        setLocoButtonHeight(Index, 800);
    } else {
        setLocoButtonHeight(0, 800);
    }
}

void Form2a::cmdLoco_MouseMove(int Index)
{
    QString tip;
    if (!dcc_.EngineChosen)
        tip = QStringLiteral("select train engine");
    else if (Index != 0)
        tip = locoButtonHeight(Index) == 500 ? QStringLiteral("left-click GO") : QStringLiteral("right-click STOP");
    cmdLoco[static_cast<std::size_t>(Index)]->setToolTip(tip);
}

void Form2a::imgDir_Click()
{
    // As the speed buttons: with no engine there is no address to send to.
    if (!dcc_.EngineChosen) {
        sr_.Prompt(13);
        return;
    }
    // A change of direction always stops the loco.
    shared_.ActiveIndex = 0;
    shared_.DirReversed[1] = !shared_.DirReversed[1];
    if (shared_.DirReversed[1]) {
        DirLetter = QStringLiteral("L");
        dcc_.DirectionBit = 128;
    } else {
        DirLetter = QStringLiteral("R");
        dcc_.DirectionBit = 0;
    }
    DirPicturePath = QStringLiteral("\\data\\vm110\\DCClogo") + DirLetter.trimmed() + QStringLiteral(".bmp");
    showDirectionPicture();
    sr_.ResetButtonSizes(1);
    dcc_.SendSpeedStep();
}

void Form2a::setLocoButtonHeight(int index, int heightTw)
{
    if (index < 0 || index >= static_cast<int>(cmdLoco.size()))
        return;
    locoHeight_[static_cast<std::size_t>(index)] = heightTw;
    ThrottleButton* button = cmdLoco[static_cast<std::size_t>(index)];
    button->resize(button->width(), twips::toPixels(heightTw));
}

int Form2a::locoButtonHeight(int index) const
{
    return locoHeight_.at(static_cast<std::size_t>(index));
}
