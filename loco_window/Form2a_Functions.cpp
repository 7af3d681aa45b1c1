// The function panel: boxes F0-F12, paging, the mode switch and the "FT" menu.
#include "Form2a.h"

#include "DCC.h"
#include "PressButtons.h"
#include "SR.h"

void Form2a::chkFunc_MouseDown(int Index, int Button)
{
    dcc_.FuncNumber = static_cast<std::uint8_t>(Index);
    if (Button == 1)
        dcc_.FunctionPress(Index);
    showFunctionPanel();
}

void Form2a::chkFunc_MouseUp(int Index, int Button)
{
    if (Button != 1)
        return;
    dcc_.FunctionRelease(Index);
    if (!dcc_.OperateMode)
        dcc_.FlipLatching(Index);
    showFunctionPanel();
}

void Form2a::fraFuncOp_MouseUp(int Button)
{
    if (Button == 1 && dcc_.ToggleFunctionMode())
        showFunctionPanel();
}

void Form2a::imgBtnFunc_MouseDown(int Index)
{
    if (Index == 0 && FunctionPage > 4)
        FunctionPage = static_cast<std::uint8_t>(FunctionPage - 5);
    else if (Index == 1 && FunctionPage < 10)
        FunctionPage = static_cast<std::uint8_t>(FunctionPage + 5);
    for (int i = FunctionPage; i < FunctionPage + 5; ++i)
        chkFunc[static_cast<std::size_t>(i)]->raise();
}

void Form2a::mnuFuncTot_Click()
{
    if (!dcc_.ResetFunctionByte()) {
        sr_.Prompt(13);
        return;
    }
    showFunctionPanel();
}
