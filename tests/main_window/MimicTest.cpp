#include "AppFixture.h"

#include "ImageButton.h"
#include "MimicPicture.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

namespace {

class Mimic : public AppFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(startWith("DC"));
        form = &app->form1();
    }

    QWidget* arrow(int index) const { return find<QWidget>(form, QStringLiteral("imgBtnScroll_%1").arg(index)); }

    std::vector<int> holdFor(int index, int ticks)
    {
        QTest::mousePress(arrow(index), Qt::LeftButton);
        std::vector<int> values;
        QScrollBar* bar = index == 0 || index == 6 ? form->vsbScreen : form->hsbScreen;
        for (int i = 0; i < ticks; ++i) {
            form->timPollKeys_Timer();
            values.push_back(bar->value());
        }
        QTest::mouseRelease(arrow(index), Qt::LeftButton);
        return values;
    }

    Form1* form = nullptr;
};

TEST_F(Mimic, TheBitmapIsLoadedIntoPicScreenAtItsFullSize)
{
    EXPECT_GT(form->picScreen->heldBytes(), 0);
    EXPECT_EQ(form->picScreen->size(), QSize(3000, 2000));
    EXPECT_EQ(form->picScreen->objectName(), QStringLiteral("picScreen"));
}

TEST_F(Mimic, ARunLengthCodedBitmapStaysCodedAndPaintsWhereItIsScrolled)
{
    // The demo's mimic: 3000 x 2000 pixels, kept as the file codes them and
    // decoded only where it is painted.
    const QString path = QStringLiteral(VARNOLIX_SOURCE_DATA "/Layouts/Millbrook Junction.bmp");
    ASSERT_TRUE(form->loadMimic(path, nullptr));
    EXPECT_LT(form->picScreen->heldBytes(), 3000 * 2000 / 10); // not a byte a pixel
    const QImage whole(path);

    form->hsbScreen->setValue(15000); // 1000 pixels
    form->vsbScreen->setValue(9000);  // 600 pixels
    auto* view = find<QWidget>(form, QStringLiteral("mimicView"));
    const QImage shown = view->grab().toImage();
    int compared = 0;
    for (int y = 0; y < shown.height(); y += 37) {
        for (int x = 0; x < shown.width(); x += 41) {
            ASSERT_EQ(shown.pixel(x, y), whole.pixel(1000 + x, 600 + y)) << x << "," << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 100);
    EXPECT_EQ(form->picScreen->pixels(QRect(1000, 600, 50, 40)), whole.copy(1000, 600, 50, 40));
}

TEST_F(Mimic, HoldingTheRightArrowScrollsFasterAndFaster)
{
    const std::vector<int> values = holdFor(3, 5);
    EXPECT_EQ(values, (std::vector<int>{10, 30, 60, 100, 150}));
    EXPECT_EQ(form->txtPercent[1]->text(), QStringLiteral(" 0%"));
    EXPECT_EQ(form->picScreen->pos(), QPoint(-10, 0));
    EXPECT_EQ(form->ScrollStep, 0);
    EXPECT_FALSE(form->timPollKeys.isActive());
}

TEST_F(Mimic, PercentageFollowsTheBarAtThreeHundredTwentySixTwipsAPercent)
{
    const std::pair<int, const char*> cases[] = {{325, " 0%"}, {326, " 1%"}, {16300, " 50%"}, {32750, " 100%"}};
    for (const auto& [value, text] : cases) {
        form->hsbScreen->setValue(value);
        EXPECT_EQ(form->txtPercent[1]->text(), QString::fromLatin1(text));
    }
    form->vsbScreen->setValue(32767);
    EXPECT_EQ(form->txtPercent[2]->text(), QStringLiteral(" 100%"));
    EXPECT_EQ(form->picScreen->y(), -2184);
}

TEST_F(Mimic, EveryArrowMovesItsBarItsWay)
{
    form->hsbScreen->setValue(5000);
    form->vsbScreen->setValue(5000);
    EXPECT_EQ(holdFor(0, 2), (std::vector<int>{4990, 4970}));
    EXPECT_EQ(holdFor(6, 2), (std::vector<int>{4980, 5000}));
    EXPECT_EQ(holdFor(9, 2), (std::vector<int>{4990, 4970}));
    EXPECT_EQ(holdFor(3, 2), (std::vector<int>{4980, 5000}));
}

TEST_F(Mimic, AStepPastTheEndIsDroppedUntilTheArrowIsPressedAnew)
{
    form->hsbScreen->setValue(32700);
    EXPECT_EQ(holdFor(3, 4), (std::vector<int>{32710, 32730, 32730, 32730}));
    EXPECT_EQ(holdFor(3, 1), (std::vector<int>{32740}));
    form->vsbScreen->setValue(15);
    EXPECT_EQ(holdFor(0, 2), (std::vector<int>{5, 5}));
}

TEST_F(Mimic, OnlyTheLeftButtonHoldsAnArrow)
{
    QTest::mousePress(arrow(3), Qt::RightButton);
    EXPECT_FALSE(form->timPollKeys.isActive());
    QTest::mousePress(arrow(3), Qt::MiddleButton);
    EXPECT_FALSE(form->timPollKeys.isActive());
    QTest::mousePress(arrow(3), Qt::LeftButton);
    EXPECT_TRUE(form->timPollKeys.isActive());
    EXPECT_EQ(form->timPollKeys.interval(), 40);
    // A right release does not stop a left hold.
    QTest::mouseRelease(arrow(3), Qt::RightButton);
    EXPECT_TRUE(form->timPollKeys.isActive());
    QTest::mouseRelease(arrow(3), Qt::LeftButton);
    EXPECT_FALSE(form->timPollKeys.isActive());
}

TEST_F(Mimic, ClickingAPercentageBoxReturnsToTheOrigin)
{
    form->hsbScreen->setValue(4000);
    QTest::mouseClick(form->txtPercent[2], Qt::LeftButton);
    EXPECT_EQ(form->hsbScreen->value(), 0);
    EXPECT_EQ(form->vsbScreen->value(), 0);
    EXPECT_EQ(form->picScreen->pos(), QPoint(0, 0));
    EXPECT_EQ(form->txtPercent[1]->text(), QStringLiteral(" 0%"));
    // The vertical bar never moved, so its box keeps the design text.
    EXPECT_EQ(form->txtPercent[2]->text(), QStringLiteral("0%"));
}

TEST_F(Mimic, AClickOnTheMimicBringsBackTheCoilWindow)
{
    app->form2b()->hide();
    QTest::mouseClick(form->picScreen, Qt::RightButton, {}, QPoint(30, 30));
    EXPECT_TRUE(app->form2b()->isVisible());
    EXPECT_EQ(app->form2a(), nullptr) << "never in DC";
}

} // namespace
