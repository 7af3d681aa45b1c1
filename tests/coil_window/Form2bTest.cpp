// The DC solenoid and motor window in the whole program, over the simulated
// board: the coil grid, the hover magnifier, coil and accessory clicks, the
// knobs and the end of the run.
#include "AppFixture.h"
#include "HidK8055.h"
#include "ImageButton.h"
#include "KnobFallback.h"
#include "SimulatedBoard.h"
#include "Twips.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <functional>
#include <vector>

namespace {

class DcWindow : public AppFixture {
protected:
    bool start(const char* controlSystem)
    {
        dir.write(QStringLiteral("data/text/version.txt"), QByteArray("\"") + controlSystem + "\"\r\n");
        dialogs.answer(QStringLiteral("Home"));
        app = std::make_unique<App>(dir.folder(), dialogs, clock, link, board);
        return app->start();
    }

    Form2b& window() const { return *app->form2b(); }
    QPushButton* coil(int index) const { return window().cmdCoil.at(static_cast<std::size_t>(index)); }
    QLabel* knob(int k) const { return window().picKnob.at(static_cast<std::size_t>(k)); }
    QString knobShown(int k) const { return knob(k)->property("knobPicture").toString(); }
    QString percent(int k) const { return window().lblPwm.at(static_cast<std::size_t>(k))->text(); }
    QSize sizeOf(int index) const { return coil(index)->size(); }

    static void send(QWidget* widget, QEvent::Type type, Qt::MouseButton button = Qt::NoButton)
    {
        const QPointF at(5, 5);
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ? button : Qt::NoButton;
        QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    void moveOnto(QWidget* widget) { send(widget, QEvent::MouseMove); }
    // Real pointer moves and clicks, routed by Qt to whatever lies under the
    // point of the window.
    QWindow* screenWindow() const { return window().windowHandle(); }
    QPoint centreOf(const QWidget* widget) const { return widget->mapTo(&window(), widget->rect().center()); }
    void pointAt(int index) { QTest::mouseMove(screenWindow(), centreOf(coil(index))); }
    void pointAtBackground() { QTest::mouseMove(screenWindow(), QPoint(window().width() - 3, window().height() - 3)); }
    void clickAt(int index, Qt::MouseButton button) { QTest::mouseClick(screenWindow(), button, {}, centreOf(coil(index))); }
    void doubleClickAt(const QWidget* widget, Qt::MouseButton button)
    {
        QTest::mouseDClick(screenWindow(), button, {}, centreOf(widget));
    }
    QPushButton* magnifier() const { return window().coilMagnifier; }
    // The digital values taken since an earlier count of them.
    std::vector<int> digitalValuesSince(std::size_t count) const
    {
        const std::vector<int> values = digitalValues();
        return {values.begin() + static_cast<std::ptrdiff_t>(count), values.end()};
    }
    void clickKnob(int k, Qt::MouseButton button)
    {
        send(knob(k), QEvent::MouseButtonPress, button);
        send(knob(k), QEvent::MouseButtonRelease, button);
    }
    // The window system's double click: press, release, double click, release.
    void doubleClickKnob(int k, Qt::MouseButton button)
    {
        clickKnob(k, button);
        send(knob(k), QEvent::MouseButtonDblClick, button);
        send(knob(k), QEvent::MouseButtonRelease, button);
    }
    std::vector<int> digitalValues() const
    {
        // From the all-off state the board starts in; analog changes are left out.
        std::vector<int> out;
        int last = 0;
        for (const SimulatedBoard::OutputChange& change : boardDevice.outputChanges()) {
            if (change.outputs.digital != last)
                out.push_back(change.outputs.digital);
            last = change.outputs.digital;
        }
        return out;
    }
    void copyPictures()
    {
        for (const char* name : {"KnobFwd0", "KnobFwd1", "KnobRev0", "BoxHM"}) {
            QFile picture(QStringLiteral(VARNOLIX_SOURCE_DATA "/VM110/%1.bmp").arg(QLatin1String(name)));
            ASSERT_TRUE(picture.open(QIODevice::ReadOnly)) << name;
            dir.write(QStringLiteral("data/VM110/%1.bmp").arg(QLatin1String(name)), picture.readAll());
        }
    }

};

const QSize Enlarged(twips::toPixels(920), twips::toPixels(620));
const QSize Restored(twips::toPixels(460), twips::toPixels(310));

TEST_F(DcWindow, DcHasSixtyFourButtonsCaptionedWithTheirCoilCodes)
{
    ASSERT_TRUE(start("DC"));
    ASSERT_EQ(window().cmdCoil.size(), 65u);
    for (int i = 1; i <= 64; ++i)
        EXPECT_EQ(coil(i)->text(), QString::number(2 * i));
    EXPECT_EQ(coil(1)->toolTip(), QStringLiteral("click"));
    EXPECT_EQ(boardDevice.openAddress(), 0) << "the hidden board window connected it";
    EXPECT_EQ(app->form2()->Label1->text(), QStringLiteral("Card  0 connected"));
}

TEST_F(DcWindow, DccHasNinetyNineAccessoryButtons)
{
    ASSERT_TRUE(start("DCC"));
    ASSERT_EQ(window().cmdCoil.size(), 100u);
    for (int i = 1; i <= 99; ++i)
        EXPECT_EQ(coil(i)->text(), QString::number(i));
    EXPECT_EQ(coil(99)->toolTip(), QStringLiteral("click L or R"));
    EXPECT_EQ(boardDevice.opens(), 0) << "no board in DCC";
}

TEST_F(DcWindow, TheButtonUnderThePointerInTheGridIsTheOneMagnified)
{
    ASSERT_TRUE(start("DC"));
    pointAt(5);
    ASSERT_TRUE(magnifier()->isVisible());
    EXPECT_EQ(magnifier()->geometry(), QRect(coil(5)->pos(), Enlarged)) << "grows right and down";
    EXPECT_EQ(coil(5)->pos(), QPoint(twips::toPixels(4 * 460 + 20), 0));
    EXPECT_EQ(magnifier()->text(), QStringLiteral("10"));
    EXPECT_EQ(magnifier()->font().pointSize(), 24);
    // Button 6 lies under the magnified 5: the pointer reaches it all the same.
    pointAt(6);
    EXPECT_EQ(magnifier()->geometry(), QRect(coil(6)->pos(), Enlarged));
    EXPECT_EQ(magnifier()->text(), QStringLiteral("12"));
    EXPECT_EQ(sizeOf(5), Restored);
    EXPECT_EQ(app->shared().ActiveIndex, 6);
    EXPECT_EQ(window().txtMouseMove->text(), QStringLiteral("6"));
    pointAtBackground();
    EXPECT_FALSE(magnifier()->isVisible());
    EXPECT_FALSE(app->shared().RestorePending);
}

TEST_F(DcWindow, AButtonEnteredAgainShrinksOnTheNextBackgroundMove)
{
    ASSERT_TRUE(start("DC"));
    pointAt(5);
    pointAtBackground();
    pointAt(5);
    EXPECT_TRUE(magnifier()->isVisible());
    pointAtBackground();
    EXPECT_FALSE(magnifier()->isVisible());
}

TEST_F(DcWindow, AClickFiresTheButtonUnderThePointerNotTheMagnifiedNeighbour)
{
    const struct {
        const char* system;
        int from;
        int onto;
        Qt::MouseButton button;
        std::vector<int> coilOutputs;
        QByteArrayList frames;
    } cases[] = {
        {"DC", 5, 6, Qt::LeftButton, {12, 13, 0}, {}},
        {"DCC", 4, 12, Qt::RightButton, {}, {QByteArray::fromHex("520489DF"), QByteArray::fromHex("520481D7")}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(start(c.system));
        link.written.clear();
        const std::size_t before = digitalValues().size();
        pointAt(c.from);
        pointAt(c.onto);
        clickAt(c.onto, c.button);
        EXPECT_EQ(digitalValuesSince(before), c.coilOutputs) << c.system;
        EXPECT_EQ(link.written, c.frames) << c.system;
        EXPECT_TRUE(window().windowTitle().endsWith(QString::number(c.onto * (c.frames.isEmpty() ? 2 : 1))
                                                    + (c.frames.isEmpty() ? QString() : QStringLiteral("R"))))
            << window().windowTitle().toStdString();
        app.reset();
    }
}

TEST_F(DcWindow, InDccAClickRightAfterAMoveInAnyDirectionSwitchesTheButtonUnderThePointer)
{
    ASSERT_TRUE(start("DCC"));
    // Button 11 sits in the second row, third column: a neighbour on every side.
    const struct {
        const char* move;
        int from;
        bool viaBackground; // out onto the window's background first
        bool clickedBefore; // the same button was clicked just before
    } moves[] = {
        {"left", 12, false, false},      {"right", 10, false, false},     {"up", 19, false, false},
        {"down", 3, false, false},       {"up-left", 20, false, false},   {"up-right", 18, false, false},
        {"down-left", 4, false, false},  {"down-right", 2, false, false}, {"out and back", 11, true, true},
    };
    constexpr int onto = 11;
    for (const auto& m : moves) {
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            const QString side = button == Qt::LeftButton ? QStringLiteral("L") : QStringLiteral("R");
            pointAt(m.from);
            if (m.clickedBefore)
                clickAt(m.from, Qt::LeftButton);
            if (m.viaBackground)
                pointAtBackground();
            pointAt(onto);
            link.written.clear();
            clickAt(onto, button);
            EXPECT_EQ(window().windowTitle(), QStringLiteral("DCC solenoid control 11") + side) << m.move;
            ASSERT_EQ(link.written.size(), 2u) << m.move << " " << side.toStdString() << ": on, then off";
            EXPECT_EQ(static_cast<int>(link.written[0][1]), (onto + 4) / 4) << m.move << ": the decoder of button 11";
        }
    }
}

TEST_F(DcWindow, AReleaseAwayFromThePressedButtonFiresNothing)
{
    ASSERT_TRUE(start("DC"));
    pointAt(5);
    QTest::mousePress(screenWindow(), Qt::LeftButton, {}, centreOf(coil(5)));
    QTest::mouseMove(screenWindow(), centreOf(coil(6)));
    QTest::mouseRelease(screenWindow(), Qt::LeftButton, {}, centreOf(coil(6)));
    EXPECT_TRUE(digitalValues().empty());
}

TEST_F(DcWindow, ARightReleaseOnButtonThreePulsesCodeSix)
{
    ASSERT_TRUE(start("DC"));
    QTest::mouseClick(coil(3), Qt::RightButton);
    EXPECT_EQ(digitalValues(), (std::vector<int>{6, 7, 0}));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("DC solenoid control 6"));
    EXPECT_EQ(app->shared().CoilCode, 6);
}

TEST_F(DcWindow, InDccTheButtonAndMouseButtonPickDecoderOutputAndSide)
{
    ASSERT_TRUE(start("DCC"));
    link.written.clear();
    QTest::mouseClick(coil(12), Qt::RightButton);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("DCC solenoid control 12R"));
    EXPECT_EQ(link.written, (QByteArrayList{QByteArray::fromHex("520489DF"), QByteArray::fromHex("520481D7")}));
    link.written.clear();
    QTest::mouseClick(coil(1), Qt::LeftButton);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("DCC solenoid control 1L"));
    EXPECT_EQ(link.written, (QByteArrayList{QByteArray::fromHex("52018AD9"), QByteArray::fromHex("520182D1")}));
    EXPECT_TRUE(boardDevice.outputChanges().empty());
}

TEST_F(DcWindow, SevenRightClicksTurnAKnobFromStopToFull)
{
    ASSERT_TRUE(start("DC"));
    const char* labels[] = {"14", "28", "43", "57", "72", "86", "100"};
    for (int i = 1; i <= 7; ++i) {
        clickKnob(1, Qt::RightButton);
        EXPECT_EQ(percent(1), QString::fromLatin1(labels[i - 1]));
        EXPECT_EQ(knobShown(1), QStringLiteral("Fwd%1").arg(i));
    }
    EXPECT_EQ(boardDevice.outputs().analog1, 210);
    clickKnob(1, Qt::RightButton);
    EXPECT_EQ(knobShown(1), QStringLiteral("Fwd7"));
    EXPECT_EQ(percent(2), QStringLiteral("0"));
    clickKnob(1, Qt::LeftButton);
    EXPECT_EQ(percent(1), QStringLiteral("86"));
    EXPECT_EQ(boardDevice.outputs().analog1, 180);
}

TEST_F(DcWindow, TheReleasedKnobStepsEvenAfterAHoverInBetween)
{
    ASSERT_TRUE(start("DC"));
    send(knob(2), QEvent::MouseButtonPress, Qt::RightButton);
    moveOnto(coil(7));
    send(knob(2), QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_EQ(percent(2), QStringLiteral("14"));
    EXPECT_EQ(knobShown(2), QStringLiteral("Fwd1"));
    EXPECT_EQ(boardDevice.outputs().analog2, 30);
}

TEST_F(DcWindow, ADoubleClickAtStopReversesTheMotorAndFiresItsRelay)
{
    ASSERT_TRUE(start("DC"));
    doubleClickKnob(2, Qt::LeftButton);
    EXPECT_EQ(knobShown(2), QStringLiteral("Rev0"));
    EXPECT_TRUE(app->dll().KnobReversed[2]);
    EXPECT_EQ(digitalValues(), (std::vector<int>{8, 9, 0}));
    doubleClickKnob(2, Qt::LeftButton);
    EXPECT_EQ(knobShown(2), QStringLiteral("Fwd0"));
    EXPECT_FALSE(app->dll().KnobReversed[2]);
    EXPECT_EQ(digitalValues(), (std::vector<int>{8, 9, 0, 4, 5, 0}));
    EXPECT_EQ(boardDevice.outputs().analog2, 0);
}

TEST_F(DcWindow, ALeftDoubleClickOneClickAboveStopStopsThenReverses)
{
    ASSERT_TRUE(start("DC"));
    clickKnob(1, Qt::RightButton);
    ASSERT_EQ(percent(1), QStringLiteral("14"));
    doubleClickKnob(1, Qt::LeftButton);
    EXPECT_EQ(percent(1), QStringLiteral("0"));
    EXPECT_EQ(knobShown(1), QStringLiteral("Rev0"));
    EXPECT_EQ(digitalValues(), (std::vector<int>{6, 7, 0}));
}

TEST_F(DcWindow, ARightDoubleClickAtStopIsTwoClicksUp)
{
    ASSERT_TRUE(start("DC"));
    doubleClickKnob(1, Qt::RightButton);
    EXPECT_EQ(percent(1), QStringLiteral("28"));
    EXPECT_EQ(knobShown(1), QStringLiteral("Fwd2"));
    EXPECT_EQ(boardDevice.outputs().analog1, 60);
    EXPECT_TRUE(digitalValues().empty()) << "no relay";
}

TEST_F(DcWindow, InDccAndDcTheBoardWorksWhateverTheDccLinkDoes)
{
    const struct {
        const char* what;
        bool offlineAtStart;
    } cases[] = {{"offline from the start", true}, {"DCC cable pulled", false}};
    for (const auto& c : cases) {
        dir.write(QStringLiteral("data/text/port.txt"), c.offlineAtStart ? "0\r\n" : "3\r\n");
        if (c.offlineAtStart)
            dialogs.answer(QStringLiteral("0")); // the port question: offline
        ASSERT_TRUE(start("DCC + DC"));
        if (!c.offlineAtStart)
            link.unplug();
        ASSERT_EQ(app->shared().PortNumber, 0) << c.what;
        const std::size_t before = digitalValues().size();
        clickAt(3, Qt::LeftButton);
        QTest::mousePress(app->form1().imgBtnTog[0], Qt::LeftButton); // the motors view
        doubleClickAt(knob(1), Qt::LeftButton);
        EXPECT_EQ(digitalValuesSince(before), (std::vector<int>{6, 7, 0, 6, 7, 0}))
            << c.what << ": coil 3, then knob 1's reverse relay";
        EXPECT_EQ(knobShown(1), QStringLiteral("Rev0"));
        app.reset();
    }
}

TEST_F(DcWindow, KnobOneKeepsItsOwnDirectionWhateverTheLocoDoes)
{
    ASSERT_TRUE(start("DCC + DC"));
    app->shared().DirReversed[1] = true; // the loco was turned round
    QTest::mousePress(app->form1().imgBtnTog[0], Qt::LeftButton);
    doubleClickAt(knob(1), Qt::LeftButton);
    EXPECT_EQ(digitalValues(), (std::vector<int>{6, 7, 0})) << "knob 1's reverse relay";
    EXPECT_EQ(knobShown(1), QStringLiteral("Rev0"));
    EXPECT_TRUE(app->shared().DirReversed[1]) << "the loco's direction is its own";
}

TEST_F(DcWindow, ACoilCutTwiceSaysSoInTheCaption)
{
    ASSERT_TRUE(start("DC"));
    int waits = 0;
    clock.duringWait = [&] {
        if (++waits <= 2) {
            clock.advance(5.0);
            app->dll().timPulseGuard_Timer();
        }
    };
    clickAt(3, Qt::LeftButton);
    EXPECT_EQ(digitalValues(), (std::vector<int>{6, 0, 6, 0}));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("DC solenoid control 6 not fired, click again"));
}

TEST_F(DcWindow, KnobPicturesComeFromTheDataFolder)
{
    copyPictures();
    ASSERT_TRUE(start("DC"));
    const QImage stop(dir.path() + QStringLiteral("/data/VM110/KnobFwd0.bmp"));
    EXPECT_EQ(knob(1)->pixmap().toImage().convertToFormat(QImage::Format_RGB32), stop.convertToFormat(QImage::Format_RGB32));
    clickKnob(1, Qt::RightButton);
    const QImage first(dir.path() + QStringLiteral("/data/VM110/KnobFwd1.bmp"));
    EXPECT_EQ(knob(1)->pixmap().toImage().convertToFormat(QImage::Format_RGB32), first.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(window().picBoxHM->pixmap().size(), QSize(276, 119));
}

TEST_F(DcWindow, AMissingKnobBitmapIsDrawnInItsFrameAndDirection)
{
    ASSERT_TRUE(start("DC"));
    clickKnob(2, Qt::RightButton);
    const QImage shown = knob(2)->pixmap().toImage();
    EXPECT_EQ(shown, knob_fallback::draw(QStringLiteral("Fwd"), 1).toImage());
    EXPECT_EQ(window().picBoxHM->pixmap().size(), QSize(276, 119)) << "a plain panel stands in";
}

TEST_F(DcWindow, TheMotorViewShowsTheKnobsOnThePanel)
{
    ASSERT_TRUE(start("DC"));
    QTest::mousePress(app->form1().imgBtnTog[0], Qt::LeftButton);
    EXPECT_TRUE(knob(1)->isVisible());
    EXPECT_TRUE(knob(2)->isVisible());
    EXPECT_FALSE(coil(1)->isVisible());
    EXPECT_EQ(window().picBoxHM->toolTip(), QStringLiteral("click L or R"));
}

TEST_F(DcWindow, EndingTheProgramTurnsEveryCoilOffAndLetsGoOfTheBoard)
{
    ASSERT_TRUE(start("DC"));
    board.WriteAllDigital(6);
    board.OutputAnalogChannel(1, 90);
    board.OutputAnalogChannel(2, 45);
    app.reset();
    EXPECT_EQ(boardDevice.outputs(), k8055::OutputState{}) << "every output off, the motors' too";
    EXPECT_EQ(boardDevice.openAddress(), -1);
}

TEST_F(DcWindow, TheExitButtonDuringAPulseTurnsTheCoilOffAtOnce)
{
    ASSERT_TRUE(start("DC"));
    bool exited = false;
    clock.duringWait = [&] {
        if (!std::exchange(exited, true))
            app->form1().imgBtnExit_MouseUp();
    };
    const int waitsBefore = clock.waits;
    QTest::mouseClick(coil(3), Qt::LeftButton);
    EXPECT_EQ(digitalValues(), (std::vector<int>{6, 0}));
    EXPECT_EQ(clock.waits - waitsBefore, 1) << "the wait ended with the exit";
}

TEST(KnobFallback, ThePointerTurnsClockwiseForwardAndAnticlockwiseReverse)
{
    const auto green = [](const QImage& image, QPoint at) {
        const QColor c = image.pixelColor(at);
        return c.green() > 150 && c.red() < 120;
    };
    const QPoint up(28, 26 - 13), right(28 + 11, 26 + 6), left(28 - 11, 26 + 6);
    const QImage stop = knob_fallback::draw(QStringLiteral("Fwd"), 0).toImage();
    const QImage forward = knob_fallback::draw(QStringLiteral("Fwd"), 7).toImage();
    const QImage reverse = knob_fallback::draw(QStringLiteral("Rev"), 7).toImage();
    EXPECT_TRUE(green(stop, up));
    EXPECT_FALSE(green(stop, right));
    EXPECT_TRUE(green(forward, right));
    EXPECT_FALSE(green(forward, left));
    EXPECT_TRUE(green(reverse, left));
    EXPECT_FALSE(green(reverse, right));
    EXPECT_EQ(stop.size(), QSize(56, 56));
}

} // namespace

TEST_F(DcWindow, InDccClicksDuringAnEarlierAccessorysPauseSwitchTheirOwnButtonsInTurn)
{
    ASSERT_TRUE(start("DCC"));
    pointAt(5);
    link.written.clear();
    // While 5 is on, the pointer goes on to 6 and clicks; then out onto the
    // background, back onto 6 and a right click.
    std::vector<std::function<void()>> meanwhile{[&] { pointAt(6); clickAt(6, Qt::LeftButton); },
                                                 [&] { pointAtBackground(); pointAt(6); clickAt(6, Qt::RightButton); }};
    clock.duringWait = [&] {
        if (meanwhile.empty())
            return;
        const auto next = meanwhile.front();
        meanwhile.erase(meanwhile.begin());
        next();
    };
    clickAt(5, Qt::LeftButton);
    clock.duringWait = nullptr;
    EXPECT_EQ(link.written, (QByteArrayList{QByteArray::fromHex("52028ADA"), QByteArray::fromHex("520282D2"),
                                            QByteArray::fromHex("52028CDC"), QByteArray::fromHex("520284D4"),
                                            QByteArray::fromHex("52028DDD"), QByteArray::fromHex("520285D5")}));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("DCC solenoid control 6R"));
}
