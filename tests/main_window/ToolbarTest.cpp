#include "AppFixture.h"

#include "ImageButton.h"
#include "Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QWindow>

namespace {

class Toolbar : public AppFixture {
protected:
    QWidget* widget(const char* name) const { return find<QWidget>(&app->form1(), QString::fromLatin1(name)); }
    QString label(int index) const { return app->form1().lblToggle[static_cast<std::size_t>(index)]->text(); }
    bool coilsVisible() const { return find<QPushButton>(app->form2b(), QStringLiteral("cmdCoil_1"))->isVisible(); }
};

TEST_F(Toolbar, LeftClickOnTheViewToggleSwitchesBetweenCoilsAndMotors)
{
    ASSERT_TRUE(startWith("DC"));
    QTest::mousePress(widget("imgBtnTog_0"), Qt::LeftButton);
    EXPECT_EQ(app->form2b()->windowTitle(), QStringLiteral("DC motor control"));
    EXPECT_EQ(label(1), QStringLiteral("solenoids"));
    EXPECT_FALSE(coilsVisible());
    EXPECT_TRUE(app->form2b()->fraBoxHM->isVisible());
    EXPECT_EQ(app->form2b()->width(), twips::toPixels(4260));
    QTest::mousePress(widget("imgBtnTog_0"), Qt::LeftButton);
    EXPECT_EQ(app->form2b()->windowTitle(), QStringLiteral("DC solenoid control"));
    EXPECT_EQ(label(1), QStringLiteral("motors"));
    EXPECT_TRUE(coilsVisible());
    EXPECT_FALSE(app->form2b()->fraBoxHM->isVisible());
}

TEST_F(Toolbar, RightClickOnTheViewToggleShowsBoth)
{
    ASSERT_TRUE(startWith("DC"));
    QTest::mousePress(widget("imgBtnTog_0"), Qt::RightButton);
    EXPECT_EQ(app->form2b()->width(), twips::toPixels(8400));
    EXPECT_EQ(app->form2b()->fraBoxHM->x(), twips::toPixels(4150));
    EXPECT_EQ(app->form2b()->windowTitle(), QStringLiteral("DC solenoid & motor control"));
    QTest::mousePress(widget("imgBtnTog_0"), Qt::RightButton);
    EXPECT_EQ(app->form2b()->width(), twips::toPixels(4260));
    EXPECT_EQ(label(1), QStringLiteral("both"));
}

TEST_F(Toolbar, InDccAndDcBothTogglesTakeRealClicks)
{
    ASSERT_TRUE(startWith("DCC + DC"));
    Form1& form = app->form1();
    const auto clickOn = [&form](const QWidget* control) {
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, control->mapTo(&form, control->rect().center()));
    };
    clickOn(form.imgBtnTog[0]);
    EXPECT_EQ(app->form2b()->windowTitle(), QStringLiteral("DC motor control"));
    EXPECT_TRUE(app->form2b()->fraBoxHM->isVisible());
    clickOn(form.modemStack->currentWidget());
    EXPECT_TRUE(app->sr().ShowFrames);
}

TEST_F(Toolbar, TheByteDisplayShowsTheLastFrameWhileTheModemIsOn)
{
    ASSERT_TRUE(startWith("DCC + DC"));
    app->shared().FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x1C, 0xE9, 0};
    QTest::mousePress(widget("imgBtnTog_2"), Qt::LeftButton);
    EXPECT_TRUE(app->sr().ShowFrames);
    // The clicked picture went to the back until the next tick.
    EXPECT_EQ(app->form1().modemStack->currentWidget()->objectName(), QStringLiteral("imgBtnTog_1"));
    app->form1().timModem_Timer();
    EXPECT_TRUE(app->form1().windowTitle().endsWith(QStringLiteral("  modem ON  228  18  0  3  28  233")));
    EXPECT_EQ(label(0), QStringLiteral("show"));
    EXPECT_EQ(app->form1().modemStack->currentWidget()->objectName(), QStringLiteral("imgBtnTog_2"));
}

TEST_F(Toolbar, OfflineTheIndicatorSaysModemOffWhateverWasClicked)
{
    dir.write(QStringLiteral("data/text/port.txt"), "0\r\n");
    dialogs.answer(QStringLiteral("0")); // the port question: offline
    dir.write(QStringLiteral("data/text/version.txt"), "\"DCC\"\r\n");
    dialogs.answer(QStringLiteral("Home"));
    app = std::make_unique<App>(dir.folder(), dialogs, clock, link, board);
    ASSERT_TRUE(app->start());
    QTest::mousePress(widget("imgBtnTog_1"), Qt::LeftButton);
    app->form1().timModem_Timer();
    EXPECT_TRUE(app->form1().windowTitle().endsWith(QStringLiteral("  modem OFF")));
    EXPECT_EQ(label(0), QStringLiteral("hide"));
    EXPECT_EQ(app->form1().modemStack->currentWidget()->objectName(), QStringLiteral("imgBtnTog_1"));
}

TEST_F(Toolbar, ALinkLostWhileRunningShowsModemOff)
{
    ASSERT_TRUE(startWith("DCC + DC"));
    link.unplug();
    app->form1().timModem_Timer();
    EXPECT_TRUE(app->form1().windowTitle().endsWith(QStringLiteral("  modem OFF")));
}

TEST_F(Toolbar, ResetButtonSizesRaisesStopOnTheLocoWindow)
{
    ASSERT_TRUE(startWith("DCC + DC"));
    app->sr().ResetButtonSizes(1);
    EXPECT_EQ(app->form2a()->cmdLoco[0]->height(), twips::toPixels(800));
    EXPECT_EQ(app->form2a()->cmdLoco[7]->height(), twips::toPixels(500));
    EXPECT_EQ(app->form2a()->cmdLoco[1]->height(), twips::toPixels(315));
}

} // namespace
