// The loco window as a whole and its throttle, driven by real mouse presses.
#include "ImageButton.h"
#include "LocoWindowFixture.h"
#include "Twips.h"

#include <QGroupBox>
#include <QImage>

#include <functional>
#include <QMouseEvent>

namespace {

using LocoWindow = LocoWindowFixture;

QRect twipsRect(int left, int top, int width, int height)
{
    return {twips::toPixels(left), twips::toPixels(top), twips::toPixels(width), twips::toPixels(height)};
}

TEST_F(LocoWindow, IsLaidOutAsDesigned)
{
    start();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("DCC Loco Control"));
    EXPECT_EQ(form->client->size(), QSize(535, 80));
    EXPECT_EQ(form->height(), form->menuBar->height() + 80);
    EXPECT_EQ(form->fraFuncOp->geometry(), twipsRect(0, 0, 1980, 1200));
    EXPECT_EQ(form->fraControl->geometry(), twipsRect(1980, 0, 6050, 1200));
    EXPECT_EQ(form->imgDir->geometry(), twipsRect(45, 0, 555, 390));
    EXPECT_EQ(form->imgDir->pixmap().size(), QSize(37, 26));
    const int lefts[15] = {20, 400, 830, 1230, 1630, 2030, 2430, 2820, 3220, 3620, 4020, 4400, 4800, 5200, 5600};
    for (int i = 0; i < 15; ++i) {
        const QRect expected = i == 0 ? twipsRect(20, 390, 800, 790)
            : i == 1                  ? twipsRect(400, 400, 105, 315)
                                      : twipsRect(lefts[i], 390, 400, 500);
        EXPECT_EQ(form->cmdLoco[static_cast<std::size_t>(i)]->geometry(), expected) << i;
        EXPECT_TRUE(form->cmdLoco[static_cast<std::size_t>(i)]->font().bold()) << i;
    }
    EXPECT_EQ(form->cmdLoco[0]->text(), QStringLiteral("STOP"));
    EXPECT_EQ(form->cmdLoco[14]->text(), QStringLiteral("14"));
    EXPECT_TRUE(form->cmdLoco[1]->text().isEmpty());
    EXPECT_EQ(form->fraControl->childAt(form->cmdLoco[1]->geometry().center()), form->cmdLoco[0])
        << "the focus holder lies behind STOP";

    QStringList bar;
    for (QAction* item : form->menuBar->actions())
        bar << (item->isVisible() ? item->text() : QStringLiteral("(hidden)"));
    EXPECT_EQ(bar, (QStringList{QStringLiteral("pilot"), QStringLiteral("train engine"), QStringLiteral("(hidden)"),
                                QStringLiteral("FT     "), QStringLiteral("&add loco"), QStringLiteral("(hidden)")}));
    EXPECT_EQ(form->mnuAdd[1]->text(), QStringLiteral("&write loco"));
}

TEST_F(LocoWindow, ButtonColoursShowAndTheWindowIsWhite)
{
    start();
    const QImage shot = form->grab().toImage();
    if (!qEnvironmentVariableIsEmpty("VARNOLIX_SHOTS"))
        shot.save(qEnvironmentVariable("VARNOLIX_SHOTS") + QStringLiteral("/loco-window.png"));
    const auto colourIn = [&](QWidget* w) {
        const QPoint corner = w->mapTo(form, QPoint(6, w->height() - 6));
        return shot.pixelColor(corner);
    };
    EXPECT_EQ(colourIn(form->cmdLoco[0]), QColor(255, 0, 0));
    EXPECT_EQ(colourIn(form->cmdLoco[2]), QColor(255, 255, 0));
    for (int i = 3; i <= 14; ++i)
        EXPECT_EQ(colourIn(form->cmdLoco[static_cast<std::size_t>(i)]), QColor(0, 192, 0)) << i;
    // Inside both frames, away from their borders and controls.
    EXPECT_EQ(shot.pixelColor(form->fraControl->mapTo(form, QPoint(390, 20))), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(form->fraFuncOp->mapTo(form, QPoint(113, 40))), QColor(Qt::white));
}

TEST_F(LocoWindow, ALeftClickRaisesTheStepAndSendsIt)
{
    start();
    chooseEngine(E27);
    press(form->cmdLoco[7]);
    EXPECT_EQ(form->locoButtonHeight(0), 500);
    EXPECT_EQ(form->locoButtonHeight(7), 800);
    EXPECT_EQ(form->cmdLoco[7]->height(), twips::toPixels(800));
    for (int i = 2; i <= 14; ++i) {
        if (i != 7) {
            EXPECT_EQ(form->locoButtonHeight(i), 500) << i;
        }
    }
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 12 00 03 07 F2")});
    EXPECT_EQ(app->shared().ActiveIndex, 7);
    EXPECT_EQ(form->focusWidget(), form->cmdLoco[1]) << "no step button keeps the focus";
    EXPECT_GE(clock.waits, 1) << "the 5 ms pause ran on the injected clock";
}

TEST_F(LocoWindow, ARightClickAnywhereStopsAndAStopClickDoesTheSame)
{
    start();
    chooseEngine(E27);
    press(form->cmdLoco[9]);
    sent();
    for (ThrottleButton* button : {form->cmdLoco[7], form->cmdLoco[12]}) {
        press(button, Qt::RightButton);
        EXPECT_EQ(form->locoButtonHeight(0), 800);
        for (int i = 2; i <= 14; ++i)
            EXPECT_EQ(form->locoButtonHeight(i), 500) << i;
        EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 12 00 03 00 F5")});
        EXPECT_EQ(app->shared().ActiveIndex, 0);
    }
    press(form->cmdLoco[9]);
    sent();
    press(form->cmdLoco[0]);
    EXPECT_EQ(form->locoButtonHeight(0), 800);
    EXPECT_EQ(form->locoButtonHeight(9), 500);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 12 00 03 00 F5")});
}

TEST_F(LocoWindow, APressWithoutATrainEngineIsRefusedWithMessage13)
{
    start();
    press(form->cmdLoco[5]);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, QStringLiteral("no train engine selected"));
    EXPECT_EQ(dialogs.messages()[0].title, QStringLiteral("locomotive/multiple unit"));
    EXPECT_EQ(dialogs.messages()[0].style, Dialogs::Question);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(form->locoButtonHeight(0), 790) << "heights unchanged";
    EXPECT_EQ(form->locoButtonHeight(5), 500);
}

TEST_F(LocoWindow, TheMiddleButtonDoesNothing)
{
    start();
    chooseEngine(E27);
    press(form->cmdLoco[9]);
    sent();
    press(form->cmdLoco[4], Qt::MiddleButton);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(form->locoButtonHeight(9), 800);
    EXPECT_EQ(form->locoButtonHeight(0), 500);
    EXPECT_EQ(app->shared().ActiveIndex, 9);
}

TEST_F(LocoWindow, TooltipsSayWhatAClickWillDo)
{
    const auto hover = [](QWidget* w) {
        QMouseEvent move(QEvent::MouseMove, QPointF(4, 4), QPointF(w->mapToGlobal(QPoint(4, 4))), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        return w->toolTip();
    };
    start();
    EXPECT_EQ(hover(form->cmdLoco[6]), QStringLiteral("select train engine"));
    chooseEngine(E27);
    press(form->cmdLoco[6]);
    EXPECT_EQ(hover(form->cmdLoco[6]), QStringLiteral("right-click STOP"));
    EXPECT_EQ(hover(form->cmdLoco[5]), QStringLiteral("left-click GO"));
    EXPECT_EQ(hover(form->cmdLoco[0]), QString());
}

TEST_F(LocoWindow, EachDirectionClickStopsInTheNewDirection)
{
    start();
    chooseEngine(E27);
    const QImage right = form->imgDir->pixmap().toImage();
    press(form->cmdLoco[9]);
    sent();
    click(form->imgDir);
    EXPECT_EQ(form->DirLetter, QStringLiteral("L"));
    EXPECT_EQ(dcc().DirectionBit, 128);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 12 00 03 80 75")});
    EXPECT_EQ(form->locoButtonHeight(0), 800);
    EXPECT_EQ(form->locoButtonHeight(9), 500);
    const QImage left = form->imgDir->pixmap().toImage();
    EXPECT_NE(left, right);
    EXPECT_EQ(left, QImage(dir.path() + QStringLiteral("/data/VM110/DCClogoL.bmp")).convertToFormat(left.format()));

    press(form->cmdLoco[9]);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 12 00 03 89 7C")});
    click(form->imgDir);
    EXPECT_EQ(form->DirLetter, QStringLiteral("R"));
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 12 00 03 00 F5")});
    EXPECT_EQ(form->imgDir->pixmap().toImage(), right);
}

TEST_F(LocoWindow, ADirectionOrFtClickBeforeAnyChoiceGetsMessage13AndSendsNothing)
{
    start();
    const QImage right = form->imgDir->pixmap().toImage();
    const std::function<void()> clicks[] = {
        [this] { click(form->imgDir); },
        [this] { click(form->menuBar, Qt::LeftButton, form->menuBar->actionGeometry(form->mnuFuncTot).center()); },
    };
    for (const auto& clickIt : clicks) {
        dialogs.shown.clear();
        clickIt();
        EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("no train engine selected")});
        EXPECT_TRUE(sent().isEmpty()) << "nothing to address 00 00";
    }
    EXPECT_EQ(dcc().DirectionBit, 0);
    EXPECT_FALSE(app->shared().DirReversed[1]);
    EXPECT_EQ(form->imgDir->pixmap().toImage(), right);
    EXPECT_EQ(form->locoButtonHeight(0), 790) << "heights unchanged";
}

TEST_F(LocoWindow, AMissingDirectionPictureIsDrawnAndTheChangeStillHappens)
{
    QFile::remove(dir.path() + QStringLiteral("/data/VM110/DCClogoL.bmp"));
    start();
    chooseEngine(E27);
    click(form->imgDir);
    EXPECT_EQ(dcc().DirectionBit, 128);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 12 00 03 80 75")});
    const QImage drawn = form->imgDir->pixmap().toImage();
    ASSERT_FALSE(drawn.isNull());
    EXPECT_EQ(drawn.size(), form->imgDir->size());
    // Something is drawn on the white: the frame and the letter.
    int dark = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            dark += qGray(drawn.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(dark, 2 * (drawn.width() + drawn.height()));
}

TEST_F(LocoWindow, ChoosingAnEngineLeavesSpeedAndDirectionAlone)
{
    start();
    chooseEngine(E27);
    press(form->cmdLoco[11]);
    click(form->imgDir);
    press(form->cmdLoco[11]);
    sent();
    chooseEngine(0);
    EXPECT_TRUE(sent().isEmpty()) << "nothing is sent to the new engine";
    EXPECT_EQ(form->locoButtonHeight(11), 800);
    EXPECT_EQ(app->shared().ActiveIndex, 11);
    press(form->cmdLoco[3]);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 12 C4 D2 83 63")});
}

} // namespace
