// "K8055 Demo": connecting by the jumper boxes, polling, the output boxes,
// the output test, the analog sliders and the counters.
#include "BoardFixture.h"
#include "Form2.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

namespace {

class BoardPanel : public ::testing::Test, protected SimulatedK8055 {
protected:
    void create() { form = std::make_unique<Form2>(board, board); }
    void poll()
    {
        clock.advance(SimulatedBoard::ReportPeriod);
        form->Timer1_Timer();
    }
    std::size_t writes() const { return device.writtenReports().size(); }

    std::unique_ptr<Form2> form;
};

TEST_F(BoardPanel, CreatingItConnectsCardZeroAndStartsPolling)
{
    create();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("K8055 Demo"));
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->Label1->text(), QStringLiteral("Card  0 connected"));
    EXPECT_EQ(device.openAddress(), 0);
    EXPECT_TRUE(form->Timer1.isActive());
    EXPECT_EQ(form->Timer1.interval(), 50);
    EXPECT_FALSE(form->Timer2.isActive());
    EXPECT_EQ(form->TestPosition, 7);
}

TEST_F(BoardPanel, TheJumperBoxesGiveTheCardAddress)
{
    for (int card = 0; card <= 3; ++card)
        device.plugIn(card);
    create();
    const struct {
        bool sk5;
        bool sk6;
        int address;
    } cases[] = {{true, true, 0}, {false, true, 1}, {true, false, 2}, {false, false, 3}};
    for (const auto& c : cases) {
        form->Check1[0]->setChecked(c.sk5);
        form->Check1[1]->setChecked(c.sk6);
        QTest::mouseClick(form->Connect, Qt::LeftButton);
        EXPECT_EQ(form->CardAddress, c.address);
        EXPECT_EQ(device.openAddress(), c.address);
        EXPECT_EQ(form->Label1->text(), QStringLiteral("Card  %1 connected").arg(c.address));
    }
}

TEST_F(BoardPanel, AMissingCardSaysNotFoundAndStopsPolling)
{
    create();
    form->Check1[0]->setChecked(false);
    form->Connect_Click();
    EXPECT_EQ(form->Label1->text(), QStringLiteral("Card  1 not found")) << "SK5 cleared, SK6 ticked";
    EXPECT_FALSE(form->Label1->toolTip().isEmpty()) << "the reason is at hand";
    EXPECT_FALSE(form->Timer1.isActive());
}

TEST_F(BoardPanel, BoxesOneAndEightGiveOneHundredTwentyNine)
{
    create();
    form->Check3[0]->setChecked(true);
    form->Check3[7]->setChecked(true);
    EXPECT_EQ(form->OutputValue, 129);
    EXPECT_EQ(device.outputs().digital, 129);
    QTest::mouseClick(form->Check3[7], Qt::LeftButton, {}, QPoint(8, form->Check3[7]->height() / 2));
    EXPECT_EQ(device.outputs().digital, 1) << "a real click on box 8 clears output 8";
}

TEST_F(BoardPanel, SetAllDigitalTicksEveryBoxAndWritesOnce)
{
    create();
    const std::size_t before = writes();
    QTest::mouseClick(form->SetAllDig, Qt::LeftButton);
    for (QCheckBox* box : form->Check3)
        EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(writes(), before + 1);
    EXPECT_EQ(device.outputs().digital, 255);
    EXPECT_EQ(form->OutputValue, 255);
    QTest::mouseClick(form->ClearAllDig, Qt::LeftButton);
    EXPECT_EQ(writes(), before + 2);
    EXPECT_EQ(device.outputs().digital, 0);
}

TEST_F(BoardPanel, TheOutputTestWalksOneLightFromOneToEightAndRound)
{
    create();
    form->Check4->setChecked(true);
    EXPECT_TRUE(form->Timer2.isActive());
    EXPECT_EQ(form->Timer2.interval(), 100);
    for (int step = 0; step < 9; ++step) {
        form->Timer2_Timer();
        const int lit = step % 8;
        EXPECT_EQ(device.outputs().digital, 1 << lit) << "step " << step;
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(form->Check3[static_cast<std::size_t>(i)]->isChecked(), i == lit);
    }
    form->Check4->setChecked(false);
    EXPECT_FALSE(form->Timer2.isActive());
}

TEST_F(BoardPanel, DuringTheOutputTestTickedOutputsStayOn)
{
    create();
    form->Check3[5]->setChecked(true);
    form->Timer2_Timer();
    EXPECT_EQ(device.outputs().digital, 0b00100001);
}

TEST_F(BoardPanel, PollingShowsInputsAnalogValuesAndCounters)
{
    create();
    device.setDigitalInputs(0b10011);
    device.setAnalogInputs(10, 200);
    device.setCounter(1, 40000);
    device.setCounter(2, 70000);
    poll();
    const bool ticked[] = {true, true, false, false, true};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(form->Check2[static_cast<std::size_t>(i)]->isChecked(), ticked[i]) << "input " << i + 1;
    EXPECT_EQ(form->Label7->text(), QStringLiteral("10"));
    EXPECT_EQ(form->Label9->text(), QStringLiteral("200"));
    EXPECT_EQ(form->VScroll3->value(), 10);
    EXPECT_EQ(form->VScroll4->value(), 200);
    EXPECT_EQ(form->Text1->text(), QStringLiteral("40000"));
    EXPECT_EQ(form->Text2->text(), QStringLiteral("4464")) << "16-bit counters wrap";
    EXPECT_TRUE(form->Timer1.isActive());
}

TEST_F(BoardPanel, TheResetButtonsClearTheirCounter)
{
    create();
    device.setCounter(1, 12);
    device.setCounter(2, 34);
    QTest::mouseClick(form->Reset2, Qt::LeftButton);
    poll();
    EXPECT_EQ(form->Text1->text(), QStringLiteral("12"));
    EXPECT_EQ(form->Text2->text(), QStringLiteral("0"));
    form->Reset1_Click();
    poll();
    EXPECT_EQ(form->Text1->text(), QStringLiteral("0"));
}

TEST_F(BoardPanel, DebounceOptionsSendTheirTimeWhenClicked)
{
    create();
    const std::size_t before = writes();
    EXPECT_TRUE(form->Option1[1]->isChecked()) << "2ms shown at start";
    EXPECT_EQ(writes(), before) << "and not sent";
    QTest::mouseClick(form->Option2[3], Qt::LeftButton, {}, QPoint(6, form->Option2[3]->height() / 2));
    EXPECT_EQ(device.outputs().debounce2, 88) << "1000 ms";
    form->Option1_Click(2);
    EXPECT_EQ(device.outputs().debounce1, 8) << "10 ms";
    form->Option1_Click(0);
    EXPECT_EQ(device.outputs().debounce1, 1) << "0 ms is the smallest code";
    form->Option1_Click(9);
    EXPECT_EQ(device.outputs().debounce1, 1) << "any other index: 0 ms";
}

TEST_F(BoardPanel, SlidersDriveTheAnalogOutputsWhenTheUserMovesThem)
{
    create();
    form->VScroll1->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(form->Label3->text(), QStringLiteral("16"));
    EXPECT_EQ(device.outputs().analog1, 16);
    form->VScroll2->setSliderDown(true);
    form->VScroll2->setSliderPosition(90);
    form->VScroll2->setSliderDown(false);
    EXPECT_EQ(form->Label4->text(), QStringLiteral("90"));
    EXPECT_EQ(device.outputs().analog2, 90);
}

TEST_F(BoardPanel, SetAndClearAllAnalogMoveTheSlidersWithOneWriteEach)
{
    create();
    const std::size_t before = writes();
    form->SetAllAnalog1_Click();
    EXPECT_EQ(writes(), before + 1);
    EXPECT_EQ(form->VScroll1->value(), 255);
    EXPECT_EQ(form->VScroll2->value(), 255);
    EXPECT_EQ(form->Label3->text(), QStringLiteral("255"));
    EXPECT_EQ(device.outputs().analog2, 255);
    form->ClearAllAnalog1_Click();
    EXPECT_EQ(writes(), before + 2);
    EXPECT_EQ(form->VScroll2->value(), 0);
    EXPECT_EQ(form->Label4->text(), QStringLiteral("0"));
    EXPECT_EQ(device.outputs().analog1, 0);
}

TEST_F(BoardPanel, AnUnpluggedBoardIsShownAndConnectFindsItAgain)
{
    create();
    device.unplug(0);
    poll();
    EXPECT_EQ(form->Label1->text(), QStringLiteral("Card  0 not answering"));
    EXPECT_TRUE(form->Label1->toolTip().contains(QStringLiteral("unplugged")));
    EXPECT_FALSE(form->Timer1.isActive());
    form->Check3[1]->setChecked(true); // does nothing, quietly
    device.plugIn(0);
    form->Connect_Click();
    EXPECT_EQ(form->Label1->text(), QStringLiteral("Card  0 connected"));
    EXPECT_TRUE(form->Timer1.isActive());
}

TEST_F(BoardPanel, DestroyingItClosesTheBoardWithTheOutputsOff)
{
    create();
    form->SetAllDig_Click();
    form.reset();
    EXPECT_EQ(device.outputs().digital, 0);
    EXPECT_EQ(device.openAddress(), -1);
}

} // namespace
