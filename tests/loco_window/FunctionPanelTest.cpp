// The function panel under real presses and releases on the boxes.
#include "ImageButton.h"
#include "LocoWindowFixture.h"

#include <QGroupBox>

namespace {

class FunctionPanel : public LocoWindowFixture {
protected:
    void startWithEngine()
    {
        start();
        chooseEngine(1); // E27, chip 0003
        sent();
    }
    FunctionBox* box(int i) const { return form->chkFunc.at(static_cast<std::size_t>(i)); }
    void clickFrame(Qt::MouseButton button = Qt::LeftButton) { click(form->fraFuncOp, button, EmptySpot); }
    const QPoint EmptySpot{113, 40}; // between the boxes and the arrows
};

TEST_F(FunctionPanel, IsInertUntilATrainEngineIsChosen)
{
    start();
    for (int i = 0; i < 15; ++i)
        EXPECT_FALSE(box(i)->isEnabled()) << i;
    EXPECT_EQ(box(2)->text(), QStringLiteral("F2   OFF horn")) << "captions as read from the file";
    clickBox(2);
    clickFrame();
    EXPECT_FALSE(box(2)->isChecked());
    EXPECT_EQ(form->fraFuncOp->title(), QStringLiteral("function F0-F12 operate"));
    EXPECT_TRUE(sent().isEmpty());

    chooseEngine(1);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(box(i)->isEnabled(), i <= 12) << i;
    EXPECT_EQ(form->mnuFuncTot->text(), QStringLiteral("FT 0"));
    EXPECT_EQ(box(12)->toolTip(), QStringLiteral("direction"));
    EXPECT_EQ(box(0)->property("tag").toString(), QStringLiteral("16"));
    EXPECT_EQ(box(7)->property("tag").toString(), QStringLiteral("128"));
}

TEST_F(FunctionPanel, AMomentaryFunctionIsOnOnlyWhileTheBoxIsHeld)
{
    startWithEngine();
    pressBox(2);
    EXPECT_TRUE(box(2)->isChecked());
    EXPECT_TRUE(box(2)->text().startsWith(QStringLiteral("F2   ON ")));
    EXPECT_EQ(form->mnuFuncTot->text(), QStringLiteral("FT 2"));
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 20 00 03 02 C5")});
    releaseBox(2);
    EXPECT_FALSE(box(2)->isChecked());
    EXPECT_EQ(box(2)->text(), QStringLiteral("F2   OFF horn"));
    EXPECT_EQ(form->mnuFuncTot->text(), QStringLiteral("FT 0"));
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 20 00 03 00 C7")});
}

TEST_F(FunctionPanel, ALatchingFunctionStaysOnUntilTheSecondClick)
{
    startWithEngine();
    clickBox(0);
    EXPECT_TRUE(box(0)->isChecked());
    EXPECT_EQ(box(0)->text(), QStringLiteral("F0   ON  lights"));
    EXPECT_EQ(form->mnuFuncTot->text(), QStringLiteral("FT 16"));
    clickBox(0);
    EXPECT_FALSE(box(0)->isChecked());
    EXPECT_EQ(form->mnuFuncTot->text(), QStringLiteral("FT 0"));
    EXPECT_EQ(sent(), (QStringList{QStringLiteral("E4 20 00 03 10 D7"), QStringLiteral("E4 20 00 03 00 C7")}));
}

TEST_F(FunctionPanel, ARightClickOnABoxOnlyPicksItsGroup)
{
    startWithEngine();
    click(box(9), Qt::RightButton, indicator(box(9)));
    EXPECT_FALSE(box(9)->isChecked());
    EXPECT_TRUE(sent().isEmpty());
    form->mnuFuncTot->trigger();
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 22 00 03 00 C5")}) << "the reset goes in F9's group";
}

TEST_F(FunctionPanel, TheFrameSwitchesToStatusModeOnlyWithEveryFunctionOff)
{
    startWithEngine();
    clickBox(0); // latched on
    clickFrame();
    EXPECT_EQ(form->fraFuncOp->title(), QStringLiteral("function F0-F12 operate"));
    EXPECT_TRUE(box(0)->isChecked());
    clickBox(0); // off again
    sent();

    clickFrame(Qt::RightButton);
    EXPECT_EQ(form->fraFuncOp->title(), QStringLiteral("function F0-F12 operate")) << "left button only";
    clickFrame();
    EXPECT_EQ(form->fraFuncOp->title(), QStringLiteral("function F0-F12 status"));
    EXPECT_EQ(form->fraFuncOp->toolTip(), QStringLiteral("click to save status"));
    EXPECT_TRUE(box(0)->isChecked());
    EXPECT_TRUE(box(1)->isChecked());
    EXPECT_FALSE(box(4)->isChecked());

    pressBox(4);
    EXPECT_TRUE(box(4)->isChecked()) << "ticked while held";
    releaseBox(4);
    EXPECT_TRUE(box(4)->isChecked()) << "F4 now latches";
    clickBox(4);
    EXPECT_FALSE(box(4)->isChecked());
    clickBox(6);
    EXPECT_TRUE(sent().isEmpty());

    clickFrame();
    EXPECT_EQ(form->fraFuncOp->title(), QStringLiteral("function F0-F12 operate"));
    EXPECT_EQ(form->fraFuncOp->toolTip(), QStringLiteral("F0-F12 keyboard"));
    for (int i = 0; i <= 12; ++i)
        EXPECT_FALSE(box(i)->isChecked()) << i;
    const QByteArray saved = dir.read(QStringLiteral("data/text/function.txt"));
    EXPECT_TRUE(saved.contains("\"F4   OFF engine\",#FALSE#\r\n"));
    EXPECT_TRUE(saved.contains("\"F6   OFF cab\",#TRUE#\r\n"));
    // F6 now latches in operate mode.
    clickBox(6);
    EXPECT_TRUE(box(6)->isChecked());
}

TEST_F(FunctionPanel, TheArrowsPageThroughThreePagesAndStopAtTheEnds)
{
    startWithEngine();
    const auto front = [this] { return form->fraFuncOp->childAt(box(0)->geometry().center()); };
    EXPECT_EQ(front(), box(0));
    click(form->imgBtnFunc[0]);
    EXPECT_EQ(form->FunctionPage, 0);
    EXPECT_EQ(front(), box(0));
    const int pages[3] = {5, 10, 10};
    for (int page : pages) {
        click(form->imgBtnFunc[1], Qt::RightButton); // any button pages
        EXPECT_EQ(form->FunctionPage, page);
        EXPECT_EQ(front(), box(page));
        EXPECT_EQ(form->fraFuncOp->childAt(box(4)->geometry().center()), box(page + 4));
    }
    click(form->imgBtnFunc[0]);
    EXPECT_EQ(form->FunctionPage, 5);
    // A box on the page in front takes the click.
    pressBox(8);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 21 00 03 00 C6")});
}

TEST_F(FunctionPanel, TheFtMenuSendsZeroAndTheBoxesShowIt)
{
    startWithEngine();
    clickBox(1);
    sent();
    form->mnuFuncTot->trigger();
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 20 00 03 00 C7")});
    EXPECT_EQ(form->mnuFuncTot->text(), QStringLiteral("FT 0"));
    EXPECT_FALSE(box(1)->isChecked()) << "F1 is off";
    EXPECT_EQ(box(1)->text(), QStringLiteral("F1   OFF bell"));
    // F1 still counts as latched: the next click switches it off again.
    clickBox(1);
    EXPECT_FALSE(box(1)->isChecked());
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 20 00 03 00 C7")});
}

TEST_F(FunctionPanel, AClickChangesOnlyItsOwnFunctionOfTheEngineDriven)
{
    startWithEngine();
    clickBox(1); // F1 latched on E27
    chooseEngine(0); // D1, chip 1234
    clickBox(0); // F0 on for D1: byte 16
    sent();
    clickBox(1); // the latch carried over from E27: off, the byte unchanged
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 20 C4 D2 10 C2")}) << "not 0F: F0 stays on, F1-F4 stay off";
    EXPECT_EQ(form->mnuFuncTot->text(), QStringLiteral("FT 16"));
    EXPECT_TRUE(box(0)->isChecked());
    EXPECT_FALSE(box(1)->isChecked());

    chooseEngine(1); // back on E27, whose F1 is on
    EXPECT_TRUE(box(1)->isChecked());
    pressBox(1);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 20 00 03 01 C6")}) << "not 02: F1 on is still F1 on";
    releaseBox(1);
    EXPECT_TRUE(box(1)->isChecked());
    EXPECT_EQ(form->mnuFuncTot->text(), QStringLiteral("FT 1"));
}

TEST_F(FunctionPanel, AChosenEngineShowsItsOwnFunctionByte)
{
    start();
    app->dcc().roster.FuncState[0] = 37;
    chooseEngine(0);
    for (int i = 0; i <= 12; ++i) {
        const bool on = i == 1 || i == 3 || i == 5;
        EXPECT_EQ(box(i)->isChecked(), on) << i;
        EXPECT_TRUE(box(i)->text().startsWith(QStringLiteral("F%1   %2").arg(i).arg(on ? QStringLiteral("ON ") : QStringLiteral("OFF"))))
            << box(i)->text().toStdString();
    }
    EXPECT_EQ(form->mnuFuncTot->text(), QStringLiteral("FT 37"));
    chooseEngine(1);
    for (int i = 0; i <= 12; ++i)
        EXPECT_FALSE(box(i)->isChecked()) << i;
    EXPECT_EQ(box(5)->text(), QStringLiteral("F5   OFF shunt"));
    EXPECT_EQ(form->mnuFuncTot->text(), QStringLiteral("FT 0"));
}

TEST_F(FunctionPanel, AShortFunctionFileStartsThePanelInStatusMode)
{
    dir.write(QStringLiteral("data/text/function.txt"), FunctionFile.left(FunctionFile.indexOf("\"F3")));
    start();
    EXPECT_EQ(form->fraFuncOp->title(), QStringLiteral("function F0-F12 status"));
    EXPECT_TRUE(box(0)->isChecked());
    chooseEngine(1);
    clickFrame();
    EXPECT_EQ(form->fraFuncOp->title(), QStringLiteral("function F0-F12 operate"));
    EXPECT_EQ(dir.read(QStringLiteral("data/text/function.txt")).count("\r\n"), 13) << "every line written";
}

} // namespace
