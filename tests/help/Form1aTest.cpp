#include "Form1a.h"

#include "TestFolder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

namespace {

// A help document: a contents paragraph that mentions "hardware" in a
// sentence, then long sections under their headings.
QByteArray helpDocument()
{
    QByteArray rtf = R"({\rtf1\ansi{\fonttbl{\f0\fswiss Arial;}}\f0\fs20 )"
                     R"({\b\fs32 What is 3D-Tessaline?}\par Your hardware needs a serial port.\par )";
    const char* headings[] = {"Connecting the PC Mimic to your railway", "Hardware", "Off-line", "Scroll layout"};
    for (const char* heading : headings) {
        rtf += QByteArray("{\\b\\fs32 ") + heading + "}\\par ";
        for (int line = 0; line < 40; ++line)
            rtf += "Filler line " + QByteArray::number(line) + " of the section.\\par ";
    }
    return rtf + "}";
}

class HelpWindow : public ::testing::Test {
protected:
    HelpWindow() { dir.write(QStringLiteral("data/text/varnohelp.rtf"), helpDocument()); }

    Form1a& load()
    {
        window = std::make_unique<Form1a>(dir.folder());
        window->Form_Load();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    QScrollBar* bar() const { return window->RichTextBox->verticalScrollBar(); }

    TestFolder dir;
    std::unique_ptr<Form1a> window;
};

TEST_F(HelpWindow, LoadShowsTheDocumentLockedAndCountsItsText)
{
    Form1a& help = load();
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.windowTitle(), QStringLiteral("3D-Tessaline HELP"));
    EXPECT_EQ(help.HelpPath, dir.path() + QStringLiteral("/data/text/varnohelp.rtf"));
    EXPECT_TRUE(help.RichTextBox->isReadOnly());
    EXPECT_EQ(help.RichTextBox->document()->firstBlock().text(), QStringLiteral("What is 3D-Tessaline?"));
    QTextCursor heading(help.RichTextBox->document());
    heading.setPosition(1);
    EXPECT_TRUE(heading.charFormat().font().bold());
    EXPECT_EQ(help.HelpTextLength, help.RichTextBox->toPlainText().size());
    EXPECT_GT(help.HelpTextLength, 4000);
}

TEST_F(HelpWindow, ContentsMenuListsTheTwentyOneTopics)
{
    Form1a& help = load();
    EXPECT_EQ(help.mnuContents->title(), QStringLiteral("Contents"));
    const QList<QAction*> items = help.mnuContents->actions();
    ASSERT_EQ(items.size(), 21);
    EXPECT_EQ(items.front()->objectName(), QStringLiteral("mnuContent_0"));
    EXPECT_EQ(items.front()->text(), QStringLiteral("What is 3D-Tessaline?"));
    EXPECT_EQ(items[6]->text(), QStringLiteral("trash"));
    EXPECT_EQ(items.back()->objectName(), QStringLiteral("mnuContent_20"));
    EXPECT_EQ(items.back()->text(), QStringLiteral("Control buttons and systems"));
}

TEST_F(HelpWindow, ChoosingATopicFromTheMenuScrollsItsHeadingToTheTop)
{
    Form1a& help = load();
    help.mnuContent[3]->trigger(); // "Off-line"
    const QTextCursor cursor = help.RichTextBox->textCursor();
    EXPECT_EQ(cursor.selectedText(), QStringLiteral("Off-line"));
    EXPECT_EQ(cursor.block().text(), QStringLiteral("Off-line")) << "the heading, not a mention";
    // Found coming from the end, the heading stands at the top of the view.
    const QRect caret = help.RichTextBox->cursorRect(cursor);
    EXPECT_GE(caret.top(), -2);
    EXPECT_LT(caret.top(), caret.height() * 2);
    EXPECT_LT(bar()->value(), bar()->maximum());
}

TEST_F(HelpWindow, ATopicWordEarlierInASentenceIsFoundFirstIgnoringCase)
{
    Form1a& help = load();
    help.mnuContent_Click(2); // "Hardware"
    const QTextCursor cursor = help.RichTextBox->textCursor();
    EXPECT_EQ(cursor.selectedText(), QStringLiteral("hardware"));
    EXPECT_EQ(cursor.block().text(), QStringLiteral("Your hardware needs a serial port."));
}

TEST_F(HelpWindow, AMissingTopicLeavesTheViewAtTheEndWithNothingSelected)
{
    Form1a& help = load();
    help.mnuContent_Click(5); // "Squares" is not in this document
    const QTextCursor cursor = help.RichTextBox->textCursor();
    EXPECT_FALSE(cursor.hasSelection());
    EXPECT_EQ(cursor.position(), help.HelpTextLength);
    EXPECT_EQ(bar()->value(), bar()->maximum());
    EXPECT_GT(bar()->maximum(), 0);
}

TEST_F(HelpWindow, ClosingOnlyHidesAndShowingAgainKeepsThePlace)
{
    Form1a& help = load();
    help.mnuContent_Click(4); // "Scroll layout", far down
    const int place = bar()->value();
    ASSERT_GT(place, 0);
    EXPECT_FALSE(help.close()) << "the close is cancelled";
    EXPECT_FALSE(help.isVisible());
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    EXPECT_EQ(bar()->value(), place);
    EXPECT_EQ(help.RichTextBox->textCursor().selectedText(), QStringLiteral("Scroll layout"));
}

TEST_F(HelpWindow, TheTextFillsTheClientAreaAtEverySize)
{
    Form1a& help = load();
    const int menu = help.menuBar->height();
    EXPECT_GT(menu, 0);
    EXPECT_EQ(help.RichTextBox->geometry(), QRect(0, menu, help.width(), help.height() - menu));
    EXPECT_EQ(help.RichTextBox->width(), 764) << "11460 twips at design";
    help.resize(500, 300);
    EXPECT_EQ(help.RichTextBox->geometry(), QRect(0, menu, 500, 300 - menu));
    help.showMinimized();
    help.showNormal();
    EXPECT_EQ(help.RichTextBox->geometry(), QRect(0, menu, help.width(), help.height() - menu));
}

TEST_F(HelpWindow, AMissingOrForeignDocumentShowsTextNamingThePath)
{
    struct Case {
        const char* name;
        bool write;
        QByteArray content;
        const char* reason;
    };
    for (const Case& c : {Case{"missing", false, {}, "No such file"},
                          Case{"not rtf", true, "Just words.", "not a Rich Text Format document"}}) {
        TestFolder empty;
        if (c.write)
            empty.write(QStringLiteral("data/text/varnohelp.rtf"), c.content);
        Form1a help(empty.folder());
        help.Form_Load();
        const QString shown = help.RichTextBox->toPlainText();
        EXPECT_TRUE(shown.contains(empty.path() + QStringLiteral("/data/text/varnohelp.rtf"))) << c.name;
        EXPECT_TRUE(shown.contains(QLatin1String(c.reason), Qt::CaseInsensitive)) << c.name << ": " << shown.toStdString();
        EXPECT_EQ(help.HelpTextLength, shown.size()) << c.name;
        help.mnuContent_Click(0); // nothing to find, nothing breaks
        EXPECT_FALSE(help.RichTextBox->textCursor().hasSelection()) << c.name;
    }
}

TEST_F(HelpWindow, HelpFileLoadsAnotherDocumentWithoutShowingTheWindow)
{
    Form1a& help = load();
    help.hide();
    dir.write(QStringLiteral("other.rtf"), R"({\rtf1 Only {\b Squares} here.})");
    help.HelpFile(dir.path() + QStringLiteral("/other.rtf"));
    EXPECT_FALSE(help.isVisible());
    EXPECT_EQ(help.HelpPath, dir.path() + QStringLiteral("/other.rtf"));
    EXPECT_EQ(help.RichTextBox->toPlainText(), QStringLiteral("Only Squares here."));
    EXPECT_EQ(help.HelpTextLength, 18);
    help.mnuContent_Click(5);
    EXPECT_EQ(help.RichTextBox->textCursor().selectionStart(), 5);
}

} // namespace
