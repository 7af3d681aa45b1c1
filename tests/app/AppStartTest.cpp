#include "AppFixture.h"

#include "Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QScreen>
#include <QStackedWidget>

namespace {

using AppStart = AppFixture;

TEST_F(AppStart, DccAndDcShowsBothControlWindowsAndTheLiveStatusLine)
{
    ASSERT_TRUE(startWith("DCC + DC"));
    ASSERT_NE(app->form2a(), nullptr);
    ASSERT_NE(app->form2b(), nullptr);
    ASSERT_NE(app->form2(), nullptr);
    EXPECT_TRUE(app->form1().isVisible());
    EXPECT_TRUE(app->form2a()->isVisible());
    EXPECT_TRUE(app->form2b()->isVisible());
    EXPECT_FALSE(app->form2()->isVisible()) << "the board window stays hidden";
    EXPECT_EQ(app->form2()->windowTitle(), QStringLiteral("K8055 Demo"));
    EXPECT_EQ(app->form2a()->windowTitle(), QStringLiteral("DCC Loco Control"));
    EXPECT_EQ(app->form2b()->windowTitle(), QStringLiteral("DC solenoid control "));
    EXPECT_TRUE(app->form1().windowTitle().endsWith(QStringLiteral("   Home in Varnolix DCC + DC  modem ON")))
        << app->form1().windowTitle().toStdString();
    EXPECT_TRUE(app->form1().fraToggle[0]->isVisible());
    EXPECT_TRUE(app->form1().fraToggle[1]->isVisible()) << "the motors are reached through the view toggle";
    EXPECT_NE(find<QPushButton>(app->form2b(), QStringLiteral("cmdCoil_64")), nullptr);
    EXPECT_EQ(find<QPushButton>(app->form2b(), QStringLiteral("cmdCoil_64"))->text(), QStringLiteral("128"));
}

TEST_F(AppStart, ToolbarPicturesAreCompiledIn)
{
    ASSERT_TRUE(startWith("DC"));
    for (const char* name : {"imgBtnTog_0", "imgBtnTog_1", "imgBtnTog_2", "imgBtnExit", "imgBtnScroll_0", "imgBtnScroll_3",
                             "imgBtnScroll_6", "imgBtnScroll_9"}) {
        const auto* picture = find<QLabel>(&app->form1(), QString::fromLatin1(name));
        ASSERT_NE(picture, nullptr) << name;
        EXPECT_FALSE(picture->pixmap().isNull()) << name << " shows its fallback text";
    }
}

TEST_F(AppStart, DcBuildsNoLocoWindowAndKeepsTheViewToggle)
{
    ASSERT_TRUE(startWith("DC"));
    EXPECT_EQ(app->form2a(), nullptr);
    EXPECT_TRUE(app->form2b()->isVisible());
    app->form1().showControlWindows();
    EXPECT_EQ(app->form2a(), nullptr);
    EXPECT_TRUE(app->form1().windowTitle().endsWith(QStringLiteral("Home in Varnolix DC  modem OFF")));
    EXPECT_TRUE(app->form1().fraToggle[1]->isVisible());
    EXPECT_FALSE(app->form1().fraToggle[0]->isVisible());
    EXPECT_EQ(link.opens, 0);
}

TEST_F(AppStart, DccTitlesAndSizesTheCoilWindowForAccessories)
{
    ASSERT_TRUE(startWith("DCC"));
    EXPECT_EQ(app->form2b()->windowTitle(), QStringLiteral("DCC solenoid control"));
    EXPECT_EQ(app->form2b()->width(), twips::toPixels(4210));
    EXPECT_EQ(app->form2b()->height(), twips::toPixels(4700));
    EXPECT_EQ(find<QPushButton>(app->form2b(), QStringLiteral("cmdCoil_99"))->text(), QStringLiteral("99"));
    EXPECT_EQ(find<QPushButton>(app->form2b(), QStringLiteral("cmdCoil_100")), nullptr);
    EXPECT_EQ(app->form2(), nullptr) << "no board in DCC";
}

class WindowPlaces : public AppStart, public ::testing::WithParamInterface<const char*> {};

TEST_P(WindowPlaces, ComeBackWhereTheyWereSaved)
{
    dir.write(QStringLiteral("data/text/coord.txt"), "1200,300,1500,9000\r\n");
    ASSERT_TRUE(startWith(GetParam()));
    // "DC" has no use for the loco window: it is not built, and its place is kept.
    if (QString::fromLatin1(GetParam()) == QStringLiteral("DC"))
        EXPECT_EQ(app->form2a(), nullptr);
    else
        EXPECT_EQ(app->form2a()->pos(), QPoint(20, 80));
    EXPECT_EQ(app->form2b()->pos(), QPoint(600, 100));
    EXPECT_EQ(app->controlWindowPlaces(), (WindowHost::Places{1200, 300, 1500, 9000}));
}

INSTANTIATE_TEST_SUITE_P(AppStart, WindowPlaces, ::testing::Values("DCC + DC", "DC"));

TEST_F(AppStart, AWindowStoredOffEveryScreenIsBroughtBack)
{
    dir.write(QStringLiteral("data/text/coord.txt"), "-30000,-30000,32000,32000\r\n");
    ASSERT_TRUE(startWith("DCC + DC"));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Whole, with room above for the title bar a window manager adds.
    for (const QWidget* window : {static_cast<QWidget*>(app->form2a()), static_cast<QWidget*>(app->form2b())})
        EXPECT_TRUE(screen.contains(window->geometry().adjusted(0, 0, 0, 40))) << window->objectName().toStdString();
}

TEST_F(AppStart, ClosingTheMainWindowSavesThePlacesAndEnds)
{
    ASSERT_TRUE(startWith("DCC + DC"));
    app->form2b()->move(600, 80);
    app->form2a()->move(-3, 40);
    QSignalSpy exit(&app->form1(), &Form1::exitRequested);
    app->form1().close();
    EXPECT_EQ(exit.count(), 1);
    EXPECT_EQ(dir.read(QStringLiteral("data/text/coord.txt")), QByteArray("600,-45,1200,9000\r\n"));
}

TEST_F(AppStart, CancellingTheLayoutEndsBeforeAnyWindowShows)
{
    dir.write(QStringLiteral("data/text/version.txt"), "\"DC\"\r\n");
    app = std::make_unique<App>(dir.folder(), dialogs, clock, link, board);
    EXPECT_FALSE(app->start());
    EXPECT_FALSE(app->form1().isVisible());
}

} // namespace
