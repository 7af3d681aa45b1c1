// The toolbar's About, word-processor, help and exit buttons, through the
// whole program over fakes.
#include "AppFixture.h"

#include "FakeLauncher.h"
#include "FakeSound.h"
#include "Form1a.h"
#include "ImageButton.h"
#include "Twips.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

namespace {

class ToolbarServices : public AppFixture {
protected:
    ~ToolbarServices() override { app.reset(); } // before the fakes it points at

    bool startWithDesktop(const char* controlSystem)
    {
        dir.write(QStringLiteral("data/text/version.txt"), QByteArray("\"") + controlSystem + "\"\r\n");
        dialogs.answer(QStringLiteral("Home"));
        app = std::make_unique<App>(dir.folder(), dialogs, clock, link, board, DesktopServices{&sound, &launcher, {}});
        return app->start();
    }

    void click(QWidget* button, Qt::MouseButton which = Qt::LeftButton) { QTest::mouseClick(button, which); }
    Form1& form() { return app->form1(); }

    FakeSound sound;
    FakeLauncher launcher;
};

TEST_F(ToolbarServices, AboutClicksAlternateShowingWithTheRingAndHidingSilently)
{
    ASSERT_TRUE(startWithDesktop("DC"));
    const QString ring = dir.path() + QStringLiteral("/telephone.wav");
    EXPECT_EQ(form().txtAbout, nullptr) << "made when first asked for";

    click(form().imgBtnAbout);
    EXPECT_TRUE(form().AboutShown);
    EXPECT_TRUE(form().txtAbout->isVisible());
    EXPECT_EQ(app->accessories().SoundFile, ring);
    EXPECT_EQ(sound.played, QStringList{ring});

    click(form().imgBtnAbout, Qt::RightButton);
    EXPECT_FALSE(form().txtAbout->isVisible());
    EXPECT_EQ(sound.played.size(), 1) << "hiding is silent";

    click(form().imgBtnAbout);
    EXPECT_TRUE(form().txtAbout->isVisible());
    EXPECT_EQ(sound.played, (QStringList{ring, ring}));
}

TEST_F(ToolbarServices, InstalledTheRingIsTheProgramsAndTheTooltipNamesTheUsersDataFolder)
{
    TestFolder user;
    user.write(QStringLiteral("data/text/version.txt"), "\"DC\"\r\n");
    user.addLayout(QStringLiteral("Home"));
    const ProgramFolder installed(dir.path(), user.path() + QStringLiteral("/data"));
    dialogs.answer(QStringLiteral("Home"));
    app = std::make_unique<App>(installed, dialogs, clock, link, board, DesktopServices{&sound, &launcher, {}});
    ASSERT_TRUE(app->start());
    EXPECT_TRUE(form().imgBtnAbout->toolTip().endsWith(QStringLiteral("data folder: ") + user.path()
                                                       + QStringLiteral("/data")))
        << form().imgBtnAbout->toolTip().toStdString();
    click(form().imgBtnAbout);
    EXPECT_EQ(sound.played, QStringList{dir.path() + QStringLiteral("/telephone.wav")});
    app.reset(); // before the folders it points at
}

TEST_F(ToolbarServices, TheRingIsFoundWhateverTheCaseOfItsName)
{
    dir.write(QStringLiteral("Telephone.WAV"), "RIFF");
    ASSERT_TRUE(startWithDesktop("DC"));
    click(form().imgBtnAbout);
    EXPECT_EQ(sound.played, QStringList{dir.path() + QStringLiteral("/Telephone.WAV")});
}

TEST_F(ToolbarServices, WithoutASoundServiceTheAboutTextStillShows)
{
    ASSERT_TRUE(startWith("DCC + DC"));
    const std::size_t before = dialogs.messages().size();
    click(form().imgBtnAbout);
    EXPECT_TRUE(form().txtAbout->isVisible());
    EXPECT_EQ(dialogs.messages().size(), before) << "silence, no message";
}

TEST_F(ToolbarServices, AboutTextHasNineLinesWithTheProductAndContacts)
{
    ASSERT_TRUE(startWithDesktop("DC"));
    QStringList lines = Form1::AboutText.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 10) << "nine lines, each ending in CR LF";
    EXPECT_TRUE(lines.takeLast().isEmpty());
    EXPECT_FALSE(Form1::AboutText.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral(" Product ")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" Varnolix-Digital")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral(" Programmer ")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral(" Address ")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("     ")) && lines[4].startsWith(QStringLiteral("     ")))
        << "the address continues indented";
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral(" Telephone ")));
    EXPECT_TRUE(lines[6].startsWith(QLatin1Char('\t')));
    EXPECT_EQ(lines[7].trimmed(), QStringLiteral("E-mail"));
    EXPECT_TRUE(lines[8].trimmed().endsWith(QStringLiteral("@example.org")));

    click(form().imgBtnAbout);
    EXPECT_EQ(form().txtAbout->blockCount(), 9);
    EXPECT_TRUE(form().txtAbout->isReadOnly());
    // Every line fits: the box is as wide as its longest line.
    const QFontMetrics metrics = form().txtAbout->fontMetrics();
    EXPECT_GE(form().txtAbout->viewport()->width(), metrics.horizontalAdvance(lines[4]));
    EXPECT_GE(form().txtAbout->viewport()->height(), metrics.lineSpacing() * 9);
}

TEST_F(ToolbarServices, TheAboutFrameCarriesItsCaption)
{
    ASSERT_TRUE(startWithDesktop("DC"));
    EXPECT_EQ(form().fraAbout->title(), QStringLiteral("    MS Wordpad          E-mail"));
    EXPECT_EQ(form().imgBtnAbout->parentWidget(), form().fraAbout);
    EXPECT_EQ(form().imgBtnWordPad->parentWidget(), form().fraAbout);
    for (ImageButton* picture : {form().imgBtnAbout, form().imgBtnWordPad, form().imgBtnHelp})
        EXPECT_FALSE(picture->pixmap().isNull()) << picture->objectName().toStdString();
}

TEST_F(ToolbarServices, TheWordProcessorButtonOpensVersionTxt)
{
    ASSERT_TRUE(startWithDesktop("DC"));
    click(form().imgBtnWordPad, Qt::MiddleButton);
    EXPECT_TRUE(launcher.started.empty()) << "no word processor in the program folder";
    EXPECT_EQ(launcher.opened, QStringList{dir.path() + QStringLiteral("/data/text/version.txt")});
}

TEST_F(ToolbarServices, TheHelpButtonCreatesTheHelpWindowOnceAndShowsItAgainAsItWas)
{
    QByteArray manual = R"({\rtf1 {\b What is 3D-Tessaline?}\par )";
    for (int i = 0; i < 80; ++i)
        manual += "Line " + QByteArray::number(i) + "\\par ";
    dir.write(QStringLiteral("data/text/varnohelp.rtf"), manual + R"({\b Hardware}\par More.\par})");
    ASSERT_TRUE(startWithDesktop("DC"));
    EXPECT_EQ(app->form1a(), nullptr) << "created on the first request";

    click(form().imgBtnHelp);
    Form1a* help = app->form1a();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    help->mnuContent_Click(2);
    const int place = help->RichTextBox->verticalScrollBar()->value();
    ASSERT_GT(place, 0);

    help->close();
    EXPECT_FALSE(help->isVisible());
    click(form().imgBtnHelp, Qt::RightButton);
    EXPECT_EQ(app->form1a(), help) << "the same window, not a new one";
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->RichTextBox->verticalScrollBar()->value(), place);
    EXPECT_EQ(help->RichTextBox->textCursor().selectedText(), QStringLiteral("Hardware"));
}

TEST_F(ToolbarServices, TheExitButtonSavesTheWindowPlacesAndEnds)
{
    ASSERT_TRUE(startWithDesktop("DCC + DC"));
    app->form2b()->move(twips::toPixels(9000), twips::toPixels(1200));
    app->form2a()->move(20, 600);
    QSignalSpy exit(&form(), &Form1::exitRequested);
    click(form().imgBtnExit);
    EXPECT_EQ(exit.count(), 1);
    EXPECT_EQ(dir.read(QStringLiteral("data/text/coord.txt")), QByteArray("9000,300,1200,9000\r\n"));
    click(form().imgBtnExit);
    EXPECT_EQ(exit.count(), 1) << "the program ends once";
}

} // namespace
