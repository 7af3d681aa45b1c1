// The train engine as another throttle (a phone) left it: the raised speed
// button, the direction picture and the function boxes follow.
#include "Form2a.h"

#include "DCC.h"
#include "SR.h"
#include "Shared.h"

void Form2a::showEngineState()
{
    const bool left = dcc_.DirectionBit == 128;
    if (shared_.DirReversed[1] != left) {
        shared_.DirReversed[1] = left;
        DirLetter = left ? QStringLiteral("L") : QStringLiteral("R");
        DirPicturePath = QStringLiteral("\\data\\vm110\\DCClogo") + DirLetter + QStringLiteral(".bmp");
        showDirectionPicture();
    }
    sr_.ResetButtonSizes(1);
    if (shared_.ActiveIndex != 0) {
        setLocoButtonHeight(0, 500);
        setLocoButtonHeight(shared_.ActiveIndex, 800);
    }
    showFunctionPanel();
}
