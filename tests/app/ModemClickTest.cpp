// A click on the "modem OFF" picture looks for a lost DCC box at once.
#include "AppFixture.h"

#include "Form1.h"
#include "ImageButton.h"

#include <QStackedWidget>
#include <QTest>

namespace {

using ModemClick = AppFixture;

TEST_F(ModemClick, OnTheModemOffPictureReconnectsWithoutWaiting)
{
    ASSERT_TRUE(startWith("DCC"));
    dialogs.shown.clear();
    link.unplug();
    app->form1().timModem_Timer();
    ASSERT_EQ(app->form1().modemStack->currentWidget(), app->form1().imgBtnTog[1]);
    EXPECT_TRUE(app->form1().windowTitle().endsWith(QStringLiteral("  modem OFF")));
    ASSERT_EQ(dialogs.shown.size(), 1u) << "the loss is told once";
    link.written.clear();

    QTest::mousePress(app->form1().imgBtnTog[1], Qt::LeftButton);
    EXPECT_EQ(link.takeWritten(), (QStringList{QStringLiteral("F0 F0"), QStringLiteral("21 21 00"), QStringLiteral("21 24 05")}));
    EXPECT_EQ(app->shared().PortNumber, 3);
    EXPECT_TRUE(app->form1().windowTitle().contains(QStringLiteral("  modem ON")));
    EXPECT_EQ(dialogs.shown.size(), 1u) << "and the return is not";
}

} // namespace
