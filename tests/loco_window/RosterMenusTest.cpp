// The train-engine and pilot menus, and the new-loco entry panel typed into
// with real key presses.
#include "LocoWindowFixture.h"
#include "Twips.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

namespace {

class RosterMenus : public LocoWindowFixture {
protected:
    QString engineTitle() const { return form->mnuList[1]->title(); }
    QString pilotTitle() const { return form->mnuList[0]->title(); }
    QList<int> ticked(const std::vector<QAction*>& items) const
    {
        QList<int> out;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i]->isChecked())
                out << static_cast<int>(i);
        return out;
    }
    QStringList captions(const std::vector<QAction*>& items) const
    {
        QStringList out;
        for (QAction* item : items)
            out << item->text();
        return out;
    }
};

TEST_F(RosterMenus, BothMenusListTheRosterInSortedOrder)
{
    start();
    const QStringList names{QStringLiteral("D1"), QStringLiteral("E27"), QStringLiteral("E4567")};
    EXPECT_EQ(captions(form->mnuUnitA), names);
    EXPECT_EQ(captions(form->mnuUnitB), names);
    EXPECT_TRUE(ticked(form->mnuUnitA).isEmpty());
    EXPECT_TRUE(ticked(form->mnuUnitB).isEmpty());
}

TEST_F(RosterMenus, ChoosingAnEngineShowsItsNameChipAndAddress)
{
    start();
    chooseEngine(E4567);
    EXPECT_EQ(engineTitle(), QStringLiteral("E4567"));
    EXPECT_TRUE(form->mnuChip->isVisible());
    EXPECT_EQ(form->mnuChip->text(), QStringLiteral("chip 4567"));
    EXPECT_EQ(ticked(form->mnuUnitA), QList<int>{E4567});
    EXPECT_EQ((std::pair{dcc().EngineAddrHigh, dcc().EngineAddrLow}), (std::pair<std::uint8_t, std::uint8_t>{0xD1, 0xD7}));
    chooseEngine(E27);
    EXPECT_EQ(ticked(form->mnuUnitA), QList<int>{E27}) << "one engine ticked at a time";
    EXPECT_EQ(form->mnuChip->text(), QStringLiteral("chip 0003"));
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(RosterMenus, APilotFormsAndReleasesTheDoubleHeader)
{
    start();
    chooseEngine(E27);
    choosePilot(D1);
    EXPECT_EQ(pilotTitle(), QStringLiteral("D1"));
    EXPECT_EQ(ticked(form->mnuUnitB), QList<int>{D1});
    EXPECT_EQ(sent(), (QStringList{QStringLiteral("E4 12 00 03 00 F5"), QStringLiteral("E4 12 C4 D2 00 E0"),
                                   QStringLiteral("E5 43 00 03 C4 D2 B3")}));
    choosePilot(D1);
    EXPECT_EQ(pilotTitle(), QStringLiteral("pilot"));
    EXPECT_TRUE(ticked(form->mnuUnitB).isEmpty());
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E5 43 00 03 00 00 A5")});
}

TEST_F(RosterMenus, UnderADoubleHeaderNeitherTheEngineNorThePilotCanChange)
{
    start();
    chooseEngine(E27);
    choosePilot(D1);
    sent();
    chooseEngine(E4567);
    choosePilot(E4567);
    choosePilot(E27);
    EXPECT_EQ(engineTitle(), QStringLiteral("E27"));
    EXPECT_EQ(ticked(form->mnuUnitA), QList<int>{E27});
    EXPECT_EQ(pilotTitle(), QStringLiteral("D1"));
    EXPECT_EQ(ticked(form->mnuUnitB), QList<int>{D1});
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_TRUE(dialogs.shown.empty()) << "refused silently";
}

TEST_F(RosterMenus, APilotBeforeAnyEngineGetsMessage13ExceptOnRowZero)
{
    start();
    choosePilot(E27);
    ASSERT_EQ(messageTexts(), QStringList{QStringLiteral("no train engine selected")});
    choosePilot(D1);
    EXPECT_EQ(dialogs.messages().size(), 1u) << "row 0 is the engine index until an engine is chosen";
    EXPECT_TRUE(ticked(form->mnuUnitB).isEmpty());
    EXPECT_EQ(pilotTitle(), QStringLiteral("pilot"));
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(RosterMenus, TheBlankItemOfAnEmptyRosterDoesNothing)
{
    start(QByteArray());
    ASSERT_EQ(form->mnuUnitA.size(), 1u);
    EXPECT_TRUE(form->mnuUnitA[0]->text().isEmpty());
    chooseEngine(0);
    choosePilot(0);
    EXPECT_EQ(engineTitle(), QStringLiteral("train engine"));
    EXPECT_FALSE(form->mnuUnitA[0]->isChecked());
    EXPECT_FALSE(form->chkFunc[0]->isEnabled());
    EXPECT_FALSE(form->mnuChip->isVisible());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(RosterMenus, TypingANewLocoAddsItEverywhere)
{
    start();
    form->mnuAdd[0]->trigger();
    EXPECT_TRUE(form->AddLocoOpen);
    EXPECT_TRUE(form->fraLoco->isVisible());
    EXPECT_EQ(form->fraLoco->geometry(), QRect(twips::toPixels(1980), 0, twips::toPixels(3500), twips::toPixels(1200)));
    EXPECT_EQ(form->clientWidth(), 5535) << "5540 twips, to the pixel";
    EXPECT_FALSE(form->mnuAdd[0]->isVisible());
    EXPECT_TRUE(form->mnuAdd[1]->isVisible());
    EXPECT_EQ(form->focusWidget(), form->txtChip);

    QTest::keyClicks(form->txtChip, QStringLiteral("0x3.1-5"));
    EXPECT_EQ(form->txtChip->text(), QStringLiteral("0315")) << "only digits pass";
    EXPECT_EQ(form->focusWidget(), form->txtLoco) << "four digits move on to the name";
    QTest::keyClicks(form->txtLoco, QStringLiteral("dx1e0D15"));
    EXPECT_EQ(form->txtLoco->text(), QStringLiteral("D1015"));
    EXPECT_EQ(form->txtLoco->toolTip(), QStringLiteral("Write Loco"));
    QTest::keyClick(form->txtLoco, Qt::Key_Return);

    EXPECT_FALSE(form->AddLocoOpen);
    EXPECT_FALSE(form->fraLoco->isVisible());
    EXPECT_EQ(form->clientWidth(), 8550);
    EXPECT_TRUE(form->mnuAdd[0]->isVisible());
    EXPECT_FALSE(form->mnuAdd[1]->isVisible());
    EXPECT_TRUE(form->txtChip->text().isEmpty());
    EXPECT_TRUE(form->txtLoco->text().isEmpty());
    EXPECT_EQ(dcc().roster.lstLoco.indexOf(QStringLiteral("D10150315")), 0) << "D1015 sorts before D1: 0 comes before 1";
    EXPECT_EQ(captions(form->mnuUnitA), (QStringList{QStringLiteral("D1015"), QStringLiteral("D1"), QStringLiteral("E27"),
                                                     QStringLiteral("E4567")}));
    EXPECT_EQ(captions(form->mnuUnitB), captions(form->mnuUnitA));
    EXPECT_EQ(dir.read(QStringLiteral("data/text/loco.txt")),
              QByteArray("\"0315\",\"D1015\"\r\n\"1234\",\"D1\"\r\n\"0003\",\"E27\"\r\n\"4567\",\"E4567\"\r\n"));

    // Closed by Enter, the panel opens again from the menu.
    form->mnuAdd[0]->trigger();
    EXPECT_TRUE(form->fraLoco->isVisible());
}

TEST_F(RosterMenus, TheWriteMenuWritesAndAShortChipIsCompleted)
{
    start();
    form->mnuAdd[0]->trigger();
    QTest::keyClicks(form->txtChip, QStringLiteral("42"));
    EXPECT_EQ(form->focusWidget(), form->txtChip);
    form->mnuAdd[1]->trigger();
    EXPECT_FALSE(form->AddLocoOpen);
    EXPECT_EQ(dcc().roster.LocoChip[0], QStringLiteral("0042"));
    EXPECT_EQ(dcc().roster.LocoName[0], QString()) << "an empty name is stored as it is";
    EXPECT_TRUE(form->mnuUnitA[0]->text().isEmpty());
}

TEST_F(RosterMenus, AnEmptyOrZeroChipIsRefusedAndThePanelKeepsWhatWasTyped)
{
    start();
    for (const char* chip : {"", "0000"}) {
        dialogs.shown.clear();
        form->mnuAdd[0]->trigger();
        QTest::keyClicks(form->txtChip, QString::fromLatin1(chip));
        QTest::keyClicks(form->txtLoco, QStringLiteral("E9"));
        QTest::keyClick(form->txtLoco, Qt::Key_Return);
        ASSERT_EQ(dialogs.messages().size(), 1u) << chip;
        EXPECT_TRUE(form->AddLocoOpen);
        EXPECT_TRUE(form->fraLoco->isVisible());
        EXPECT_EQ(form->clientWidth(), 5535);
        EXPECT_EQ(form->txtChip->text(), QString::fromLatin1(chip));
        EXPECT_EQ(form->txtLoco->text(), QStringLiteral("E9"));
        EXPECT_EQ(dcc().roster.LocoCount, 3);
        form->mnuAdd[1]->trigger();
        EXPECT_TRUE(form->AddLocoOpen) << "the menu is refused the same way";
        EXPECT_TRUE(form->cancelOpenEntry());
    }
    form->mnuAdd[0]->trigger();
    QTest::keyClicks(form->txtChip, QStringLiteral("9"));
    form->mnuAdd[1]->trigger();
    EXPECT_FALSE(form->AddLocoOpen);
    EXPECT_EQ(dcc().roster.LocoCount, 4);
}

TEST_F(RosterMenus, EscapeOrCancelClosesTheEntryPanelWritingNothing)
{
    start();
    chooseEngine(E27);
    const QByteArray file = dir.read(QStringLiteral("data/text/loco.txt"));
    struct Way {
        std::function<void()> close;
        bool stops; // Escape is the emergency stop as well
    };
    const Way ways[] = {
        {[this] { QTest::keyClick(form->txtChip, Qt::Key_Escape); }, true},
        {[this] { QTest::keyClick(form->txtLoco, Qt::Key_Escape); }, true},
        {[this] { click(form->cmdCancel); }, false},
    };
    for (const Way& way : ways) {
        press(form->cmdLoco[9]);
        const int width = form->clientWidth();
        form->mnuAdd[0]->trigger();
        EXPECT_TRUE(form->cmdCancel->isVisible());
        QTest::keyClicks(form->txtChip, QStringLiteral("0042"));
        QTest::keyClicks(form->txtLoco, QStringLiteral("D4"));
        sent();
        way.close();
        EXPECT_FALSE(form->AddLocoOpen);
        EXPECT_FALSE(form->fraLoco->isVisible());
        EXPECT_TRUE(form->fraControl->isVisible());
        EXPECT_EQ(form->clientWidth(), width);
        EXPECT_TRUE(form->mnuAdd[0]->isVisible());
        EXPECT_FALSE(form->mnuAdd[1]->isVisible());
        EXPECT_EQ(form->locoButtonHeight(9), way.stops ? 500 : 800) << "the throttle as it was, or stopped";
        EXPECT_EQ(dcc().roster.LocoCount, 3);
        EXPECT_EQ(dir.read(QStringLiteral("data/text/loco.txt")), file);
        const QStringList frames = sent();
        // The emergency stop first; nothing at all for "cancel".
        EXPECT_EQ(frames.isEmpty() ? QString() : frames.first(), way.stops ? QStringLiteral("80 80") : QString());
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_TRUE(form->txtChip->text().isEmpty()) << "the next entry starts afresh";
    }
    EXPECT_FALSE(form->cancelOpenEntry()) << "a closed panel has nothing to close";
}

TEST_F(RosterMenus, ALocoWithChipZeroStaysInTheRosterButCannotBeChosen)
{
    const QByteArray roster = "\"0003\",\"E27\"\r\n\"0000\",\"E0\"\r\n\"1234\",\"D1\"\r\n";
    start(roster);
    constexpr int E0 = 1, E27Here = 2;
    EXPECT_EQ(form->mnuUnitA[E0]->text(), QStringLiteral("E0"));
    chooseEngine(E27Here);
    chooseEngine(E0);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(messageTexts()[0].contains(QStringLiteral("\"E0\""))) << messageTexts()[0].toStdString();
    EXPECT_EQ(engineTitle(), QStringLiteral("E27"));
    EXPECT_EQ(form->mnuChip->text(), QStringLiteral("chip 0003"));
    EXPECT_EQ(ticked(form->mnuUnitA), QList<int>{E27Here});
    choosePilot(E0);
    EXPECT_EQ(dialogs.messages().size(), 2u);
    EXPECT_EQ(pilotTitle(), QStringLiteral("pilot")) << "no double header shown as formed";
    EXPECT_TRUE(ticked(form->mnuUnitB).isEmpty());
    EXPECT_TRUE(sent().isEmpty());
    press(form->cmdLoco[9]);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("E4 12 00 03 09 FC")}) << "the train shown is the train driven";

    form->mnuAdd[0]->trigger();
    QTest::keyClicks(form->txtChip, QStringLiteral("0005"));
    QTest::keyClick(form->txtLoco, Qt::Key_Return);
    EXPECT_TRUE(dir.read(QStringLiteral("data/text/loco.txt")).contains("\"0000\",\"E0\"\r\n")) << "kept in the file";
}

TEST_F(RosterMenus, AHundredAndFirstLocoIsRefusedAndThePanelCloses)
{
    QByteArray full;
    for (int i = 1; i <= 100; ++i)
        full += QStringLiteral("\"%1\",\"D%2\"\r\n").arg(i, 4, 10, QLatin1Char('0')).arg(i).toLatin1();
    start(full);
    const QByteArray before = dir.read(QStringLiteral("data/text/loco.txt"));
    form->mnuAdd[0]->trigger();
    QTest::keyClicks(form->txtChip, QStringLiteral("0200"));
    QTest::keyClick(form->txtLoco, Qt::Key_Return);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.startsWith(QStringLiteral("The roster is full")));
    EXPECT_FALSE(form->AddLocoOpen) << "with no room, the panel does not hold the user";
    EXPECT_FALSE(form->fraLoco->isVisible());
    EXPECT_EQ(form->mnuUnitA.size(), 100u);
    EXPECT_EQ(dir.read(QStringLiteral("data/text/loco.txt")), before);
}

TEST_F(RosterMenus, ANewLocoBeforeTheEngineAndPilotLeavesTheirTicksOnThem)
{
    start();
    chooseEngine(E4567);
    choosePilot(E27);
    form->mnuAdd[0]->trigger();
    QTest::keyClicks(form->txtChip, QStringLiteral("0005"));
    QTest::keyClicks(form->txtLoco, QStringLiteral("D3"));
    QTest::keyClick(form->txtLoco, Qt::Key_Return);
    // D3 lands at row 1, before E27 and E4567.
    EXPECT_EQ(form->mnuUnitA[3]->text(), QStringLiteral("E4567"));
    EXPECT_EQ(ticked(form->mnuUnitA), QList<int>{3});
    EXPECT_EQ(ticked(form->mnuUnitB), QList<int>{2});
    EXPECT_EQ(engineTitle(), QStringLiteral("E4567"));
    EXPECT_EQ(pilotTitle(), QStringLiteral("E27"));
}

TEST_F(RosterMenus, ChoosingAnEngineShowsAddLocoAgainWhileThePanelIsOpen)
{
    start();
    form->mnuAdd[0]->trigger();
    QTest::keyClicks(form->txtChip, QStringLiteral("0011"));
    chooseEngine(D1);
    EXPECT_TRUE(form->mnuAdd[0]->isVisible());
    EXPECT_TRUE(form->AddLocoOpen);
    form->mnuAdd[0]->trigger(); // writes, since the panel is open
    EXPECT_FALSE(form->AddLocoOpen);
    EXPECT_EQ(dcc().roster.LocoCount, 4);
}

TEST_F(RosterMenus, BlanksAfterTheLastLineShowMessage18AtStart)
{
    dir.write(QStringLiteral("data/text/loco.txt"), "\"1234\",\"D1\"\r\n\r\n");
    dialogs.answer(QStringLiteral("Home"));
    app = std::make_unique<App>(dir.folder(), dialogs, clock, link, board);
    ASSERT_TRUE(app->start());
    const auto messages = dialogs.messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0].title, QStringLiteral("no spaces allowed after last line"));
    EXPECT_EQ(messages[0].text, dir.path() + QStringLiteral("\\data\\loco.txt data error"));
    EXPECT_EQ(messages[0].style, Dialogs::Critical);
    EXPECT_EQ(app->form2a()->mnuUnitA[0]->text(), QStringLiteral("D1"));
}

} // namespace
