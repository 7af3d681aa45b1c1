// The K8055 board's state where the user looks: the status line while it is
// missing, one message when it goes, reopened by itself when it is back.
#include "AppFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

class BoardState : public AppFixture {
protected:
    QString statusLine() const
    {
        app->form1().timModem_Timer();
        return app->form1().windowTitle();
    }
    void look() const { app->boardWatch().timBoardWatch_Timer(); }
    int boardMessages() const { return static_cast<int>(dialogs.messageTexts().filter(QStringLiteral("K8055 card 0")).size()); }
    void clickCoilThree() const { QTest::mouseClick(app->form2b()->cmdCoil.at(3), Qt::LeftButton); }
    std::size_t outputChanges() const { return boardDevice.outputChanges().size(); }
};

TEST_F(BoardState, ABoardThatGoesIsShownSaidOnceAndReopenedWhenBack)
{
    ASSERT_TRUE(startWith("DC"));
    EXPECT_FALSE(statusLine().contains(QStringLiteral("K8055")));
    app->form2b()->picKnob_MouseDown(1, 2); // motor 1 running
    ASSERT_EQ(app->form2b()->lblPwm[1]->text(), QStringLiteral("7"));
    boardDevice.unplug(0);
    for (int i = 0; i < 3; ++i)
        look();
    EXPECT_TRUE(statusLine().endsWith(QStringLiteral("modem OFF  K8055 card 0 not answering"))) << statusLine().toStdString();
    EXPECT_EQ(boardMessages(), 1);
    ASSERT_EQ(dialogs.notices().size(), 1u) << "told without a box that waits";
    EXPECT_EQ(dialogs.notices()[0].noticeKey, QStringLiteral("k8055-lost"));
    const std::size_t before = outputChanges();
    clickCoilThree();
    EXPECT_EQ(outputChanges(), before) << "nothing reaches a missing board";

    boardDevice.plugIn(0);
    look();
    EXPECT_FALSE(statusLine().contains(QStringLiteral("K8055")));
    EXPECT_EQ(app->form2()->Label1->text(), QStringLiteral("Card  0 connected"));
    EXPECT_EQ(app->form2b()->lblPwm[1]->text(), QStringLiteral("0")) << "a board opened again stands still";
    EXPECT_EQ(app->form2b()->picKnob[1]->property("knobPicture").toString(), QStringLiteral("Fwd0"));
    clickCoilThree();
    EXPECT_EQ(boardDevice.outputs().digital, 0);
    EXPECT_EQ(outputChanges(), before + 4) << "the opening's all off, then select, fire, off";
    EXPECT_EQ(boardDevice.outputs().analog1, 0);
    EXPECT_EQ(boardMessages(), 1);
}

TEST_F(BoardState, ABoardMissingAtStartIsShownAndLookedForWithoutAMessage)
{
    boardDevice.unplug(0);
    ASSERT_TRUE(startWith("DCC + DC"));
    EXPECT_TRUE(statusLine().endsWith(QStringLiteral("modem ON  K8055 card 0 not answering")));
    look();
    EXPECT_EQ(boardMessages(), 0);
    boardDevice.plugIn(0);
    look();
    EXPECT_EQ(boardDevice.openAddress(), 0);
    EXPECT_FALSE(statusLine().contains(QStringLiteral("K8055")));
}

} // namespace
