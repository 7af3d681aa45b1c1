// The keyboard throttle: real key and wheel events in the loco window and on
// the mimic, checked as the frames the simulated DCC box reads on the far
// side of the pseudo-terminal. Each family is one table; the rows of a table
// run one after another on the same program, so each starts where the one
// before ended.
#include "Form1.h"
#include "Form2a.h"
#include "Form2b.h"
#include "ImageButton.h"
#include "PressButtons.h"
#include "ThrottleKeyMap.h"
#include "ThrottlePathFixture.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include <chrono>
#include <vector>

namespace {

using namespace std::chrono_literals;
using dccbox::Frame;

enum class Where { Loco, Mimic, Coil, OtherProgram };
enum class Do { Press, Repeat, Release, Wheel, Activate };

// One thing the user does: a key going down (again, by auto-repeat) or up,
// a wheel turn over the throttle row, or another window taking the keyboard.
struct Step {
    Do what;
    int key = 0;
    Qt::KeyboardModifiers modifiers = {};
    int angle = 0;
    Where where = Where::Loco;
};

Step press(int key, Qt::KeyboardModifiers modifiers = {}) { return {Do::Press, key, modifiers}; }
Step repeat(int key) { return {Do::Repeat, key}; }
Step release(int key) { return {Do::Release, key}; }
Step wheel(int angle) { return {Do::Wheel, 0, {}, angle}; }
Step activate(Where where) { return {Do::Activate, 0, {}, 0, where}; }

// A key pressed and let go; held: with `repeats` auto-repeats between.
std::vector<Step> tap(int key, int repeats = 0, Qt::KeyboardModifiers modifiers = {})
{
    std::vector<Step> steps{press(key, modifiers)};
    for (int i = 0; i < repeats; ++i)
        steps.push_back(repeat(key));
    steps.push_back(release(key));
    return steps;
}

std::vector<Step> operator+(std::vector<Step> a, const std::vector<Step>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A frame with its check byte.
Frame closed(std::initializer_list<std::uint8_t> bytes)
{
    Frame frame(bytes);
    std::uint8_t check = 0;
    for (std::uint8_t byte : frame)
        check ^= byte;
    frame.push_back(check);
    return frame;
}

// Speed and function frames to E27 (chip 0003) and D1 (chip 1234).
Frame speed(std::uint8_t code) { return closed({0xE4, 0x12, 0x00, 0x03, code}); }
Frame speedD1(std::uint8_t code) { return closed({0xE4, 0x12, 0xC4, 0xD2, code}); }
Frame functions(std::uint8_t group, std::uint8_t byte) { return closed({0xE4, group, 0x00, 0x03, byte}); }

// D1 is row 0, E27 row 1, E4567 row 2.
const QByteArray Roster = "\"0003\",\"E27\"\r\n\"1234\",\"D1\"\r\n\"4567\",\"E4567\"\r\n";

class KeyThrottle : public ThrottlePath {
protected:
    // The program with the loco window active and, unless -1, the loco of
    // that roster row as train engine.
    void startDriving(int engine)
    {
        start(Roster);
        form = app->form2a();
        if (engine >= 0)
            form->mnuUnitA.at(static_cast<std::size_t>(engine))->trigger();
        activateWindow(Where::Loco);
    }

    QWidget* window(Where where)
    {
        switch (where) {
        case Where::Loco:
            return form;
        case Where::Mimic:
            return &app->form1();
        case Where::Coil:
            return app->form2b();
        case Where::OtherProgram:
            break;
        }
        return nullptr;
    }

    void activateWindow(Where where)
    {
        if (where == Where::OtherProgram) {
            // A window that is no widget of Varnolix stands for another
            // program taking the keyboard.
            otherProgram = std::make_unique<QWindow>();
            otherProgram->show();
            otherProgram->requestActivate();
            ASSERT_TRUE(QTest::qWaitForWindowActive(otherProgram.get()));
            return;
        }
        QWidget* shown = window(where);
        shown->show();
        shown->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(shown));
    }

    // Keys go where the keyboard sends them: the focus widget of the active
    // window.
    static QWidget* keyTarget()
    {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : QApplication::activeWindow();
    }

    void run(const std::vector<Step>& steps)
    {
        for (const Step& step : steps) {
            const auto key = static_cast<Qt::Key>(step.key);
            switch (step.what) {
            case Do::Press:
                QTest::keyPress(keyTarget(), key, step.modifiers);
                break;
            case Do::Repeat:
                // As X11 repeats a held key: a release and a press, both marked.
                QTest::simulateEvent(keyTarget(), false, key, {}, QString(), true);
                QTest::simulateEvent(keyTarget(), true, key, {}, QString(), true);
                break;
            case Do::Release:
                // Into whatever window has the keyboard by then, if any.
                if (QWidget* target = keyTarget())
                    QTest::keyRelease(target, key, step.modifiers);
                break;
            case Do::Wheel: {
                QWidget* button = form->cmdLoco[7];
                const QPointF at = button->rect().center();
                QWheelEvent turn(at, button->mapToGlobal(at), {}, {0, step.angle}, Qt::NoButton, Qt::NoModifier,
                                 Qt::NoScrollPhase, false);
                QApplication::sendEvent(button, &turn);
                break;
            }
            case Do::Activate:
                activateWindow(step.where);
                break;
            }
        }
    }

    struct Mark {
        std::uint64_t logged;
        std::size_t received;
    };
    Mark mark() const { return {app->dcc().Log.total(), box.frames().size()}; }

    // Every frame written since the mark, as the box read it.
    std::vector<Frame> sentSince(const Mark& since)
    {
        const FrameLog& log = app->dcc().Log;
        const auto added = static_cast<std::size_t>(log.total() - since.logged);
        std::size_t written = 0;
        for (std::size_t i = log.size() - added; i < log.size(); ++i)
            written += log.at(i).outgoing ? 1 : 0;
        EXPECT_TRUE(box.waitForFrames(since.received + written, 5s));
        const std::vector<Frame> all = box.frames();
        return {all.begin() + static_cast<std::ptrdiff_t>(since.received), all.end()};
    }

    // The step button the throttle shows raised; 0 when it shows STOP.
    int shownStep() const
    {
        for (int i = 2; i <= 14; ++i)
            if (form->locoButtonHeight(i) == 800)
                return i;
        return form->locoButtonHeight(0) == 800 ? 0 : -1;
    }

    Form2a* form = nullptr;
    std::unique_ptr<QWindow> otherProgram;
};

struct Row {
    const char* what;
    std::vector<Step> steps;
    std::vector<Frame> frames;
    int shown; // the raised step button after the row, 0 STOP
};

// Only the keys of the table drive, and only with the modifiers it names:
// a shortcut of another kind must never switch a function.
TEST(ThrottleKeyMap, ModifiersOutsideTheTableLeaveTheKeyAlone)
{
    using throttle_keys::Action;
    using throttle_keys::Binding;
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        Binding binding;
    } cases[] = {
        {Qt::Key_7, Qt::KeypadModifier, {Action::Function, 7}},
        {Qt::Key_2, Qt::ControlModifier | Qt::KeypadModifier, {Action::Function, 12}},
        {Qt::Key_3, Qt::ControlModifier, {}},
        {Qt::Key_1, Qt::AltModifier, {}},
        {Qt::Key_0, Qt::ControlModifier | Qt::ShiftModifier, {}},
        {Qt::Key_Up, Qt::ShiftModifier, {}},
        {Qt::Key_Space, Qt::ControlModifier, {}},
        {Qt::Key_Escape, Qt::NoModifier, {}},
        {Qt::Key_F1, Qt::NoModifier, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(throttle_keys::bindingFor(c.key, c.modifiers), c.binding) << QKeySequence(c.key | c.modifiers).toString().toStdString();
}

TEST_F(KeyThrottle, UpDownAndTheWheelStepAlongTheThrottleRow)
{
    startDriving(1); // E27
    const std::vector<Row> rows{
        {"Up from STOP gives 2", tap(Qt::Key_Up), {speed(2)}, 2},
        {"a held Up steps on at each repeat", tap(Qt::Key_Up, 3), {speed(3), speed(4), speed(5), speed(6)}, 6},
        {"Down steps back", tap(Qt::Key_Down), {speed(5)}, 5},
        {"Up on the mimic", std::vector<Step>{activate(Where::Mimic)} + tap(Qt::Key_Up), {speed(6)}, 6},
        {"two notches of the wheel, two buttons", {activate(Where::Loco), wheel(240)}, {speed(7), speed(8)}, 8},
        {"half notches add up to one", {wheel(-60), wheel(-60)}, {speed(7)}, 7},
        {"the wheel to the top", {wheel(7 * 120)}, {speed(8), speed(9), speed(10), speed(11), speed(12), speed(13), speed(14)}, 14},
        {"nothing past 14", tap(Qt::Key_Up, 2) + std::vector<Step>{wheel(120)}, {}, 14},
        {"Down from 2 gives STOP", std::vector<Step>{wheel(-12 * 120)} + tap(Qt::Key_Down),
         {speed(13), speed(12), speed(11), speed(10), speed(9), speed(8), speed(7), speed(6), speed(5), speed(4), speed(3), speed(2), speed(0)},
         0},
        {"nothing below STOP", tap(Qt::Key_Down, 2) + std::vector<Step>{wheel(-120)}, {}, 0},
    };
    for (const Row& row : rows) {
        const Mark before = mark();
        run(row.steps);
        EXPECT_EQ(sentSince(before), row.frames) << row.what;
        EXPECT_EQ(shownStep(), row.shown) << row.what;
    }
    EXPECT_EQ(box.badFrames(), 0u);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(KeyThrottle, SpaceAndEscapeStopOncePerPressInEveryWindow)
{
    startDriving(1); // E27
    const Frame emergency{0x80, 0x80};
    struct StopRow {
        const char* what;
        std::vector<Step> steps;
        bool panelOpen; // the new-loco panel open in the loco window first
        std::vector<Frame> frames;
    };
    const std::vector<StopRow> rows{
        {"Space stops a running loco, once while held", tap(Qt::Key_Up) + tap(Qt::Key_Space, 3), false, {speed(2), speed(0)}},
        {"Space on a stopped loco sends what STOP sends", tap(Qt::Key_Space), false, {speed(0)}},
        {"Space on the mimic", std::vector<Step>{activate(Where::Mimic)} + tap(Qt::Key_Up) + tap(Qt::Key_Space), false,
         {speed(2), speed(0)}},
        {"Escape on the mimic with the panel open", tap(Qt::Key_Escape), true, {emergency}},
        {"Escape held in the coil window, panel open", std::vector<Step>{activate(Where::Coil)} + tap(Qt::Key_Escape, 4), true,
         {emergency}},
        {"Escape held in the loco window, panel open", std::vector<Step>{activate(Where::Loco)} + tap(Qt::Key_Escape, 4), true,
         {emergency}},
    };
    for (const StopRow& row : rows) {
        if (row.panelOpen) {
            form->mnuAdd[0]->trigger();
            ASSERT_TRUE(form->AddLocoOpen) << row.what;
        }
        const Mark before = mark();
        run(row.steps);
        const std::vector<Frame> sent = sentSince(before);
        if (row.frames.front() == emergency) {
            // What follows the emergency stop is the link's own business.
            ASSERT_FALSE(sent.empty()) << row.what;
            EXPECT_EQ(sent.front(), emergency) << row.what;
            EXPECT_EQ(std::count(sent.begin(), sent.end(), emergency), 1) << row.what;
        } else {
            EXPECT_EQ(sent, row.frames) << row.what;
        }
        EXPECT_FALSE(form->AddLocoOpen) << row.what;
        EXPECT_TRUE(form->fraControl->isVisibleTo(form)) << row.what;
        EXPECT_EQ(shownStep(), 0) << row.what;
    }
}

TEST_F(KeyThrottle, RightLeftAndEnterTurnTheLocoAsTheDirectionPicture)
{
    startDriving(1); // E27, direction bit clear
    struct DirectionRow {
        const char* what;
        std::vector<Step> steps;
        std::vector<Frame> frames;
        QString picture;
    };
    const QString bitSet = QStringLiteral("direction L");
    const QString bitClear = QStringLiteral("direction R");
    const std::vector<DirectionRow> rows{
        {"Right sets the bit and stops the running loco", tap(Qt::Key_Up) + tap(Qt::Key_Right, 3), {speed(2), speed(0x80)}, bitSet},
        {"Right once more: nothing", tap(Qt::Key_Right), {}, bitSet},
        {"Left clears it", tap(Qt::Key_Left, 2), {speed(0x00)}, bitClear},
        {"Left once more: nothing", tap(Qt::Key_Left), {}, bitClear},
        {"a held Enter turns once", tap(Qt::Key_Return, 3), {speed(0x80)}, bitSet},
        {"the keypad's Enter on the mimic", std::vector<Step>{activate(Where::Mimic)} + tap(Qt::Key_Enter, 0, Qt::KeypadModifier),
         {speed(0x00)}, bitClear},
        {"Right on the mimic", tap(Qt::Key_Right), {speed(0x80)}, bitSet},
    };
    for (const DirectionRow& row : rows) {
        const Mark before = mark();
        run(row.steps);
        EXPECT_EQ(sentSince(before), row.frames) << row.what;
        EXPECT_EQ(form->imgDir->toolTip(), row.picture) << row.what;
        EXPECT_EQ(shownStep(), 0) << row.what;
    }
}

TEST_F(KeyThrottle, DigitsWorkTheFunctionsAsTheirBoxes)
{
    startDriving(1); // E27; F0 and F1 latch, the rest are momentary
    struct FunctionRow {
        const char* what;
        std::vector<Step> steps;
        std::vector<Frame> frames;
        std::vector<int> ticked; // the boxes ticked after the row
    };
    const std::vector<FunctionRow> rows{
        {"a held momentary F2 is on until released", {press(Qt::Key_2), repeat(Qt::Key_2), repeat(Qt::Key_2)},
         {functions(0x20, 0x02)}, {2}},
        {"and off at the release", {release(Qt::Key_2)}, {functions(0x20, 0x00)}, {}},
        {"a latching F0 goes on at the press and stays", tap(Qt::Key_0, 2), {functions(0x20, 0x10)}, {0}},
        {"F5 from the mimic, whatever page shows", std::vector<Step>{activate(Where::Mimic)} + tap(Qt::Key_5),
         {functions(0x21, 0x30), functions(0x21, 0x10)}, {0}},
        {"the latching F0 goes off at its second click", tap(Qt::Key_0), {functions(0x20, 0x00)}, {}},
        {"Ctrl+2 is F12, its release counts without Ctrl",
         {press(Qt::Key_2, Qt::ControlModifier), release(Qt::Key_2)}, {functions(0x22, 0x00), functions(0x22, 0x00)}, {}},
        {"F6 released in another window of the program",
         {activate(Where::Loco), press(Qt::Key_6), activate(Where::Coil), release(Qt::Key_6)},
         {functions(0x21, 0x40), functions(0x21, 0x00)}, {}},
        {"F3 goes off when another program takes the keyboard",
         {activate(Where::Loco), press(Qt::Key_3), activate(Where::OtherProgram)},
         {functions(0x20, 0x04), functions(0x20, 0x00)}, {}},
        {"its late release sends nothing more", {activate(Where::Loco), release(Qt::Key_3)}, {}, {}},
    };
    for (const FunctionRow& row : rows) {
        const Mark before = mark();
        run(row.steps);
        EXPECT_EQ(sentSince(before), row.frames) << row.what;
        std::vector<int> ticked;
        for (int i = 0; i < DCC::FunctionCount; ++i)
            if (form->chkFunc.at(static_cast<std::size_t>(i))->isChecked())
                ticked.push_back(i);
        EXPECT_EQ(ticked, row.ticked) << row.what;
    }
    EXPECT_EQ(form->FunctionPage, 0) << "the keys do not page the boxes";
}

TEST_F(KeyThrottle, PageUpAndDownWalkTheRosterWithoutWrapping)
{
    startDriving(-1);
    struct RosterRow {
        const char* what;
        std::vector<Step> steps;
        QString engine; // the train engine menu's title after the row
        std::vector<Frame> frames;
    };
    const std::vector<RosterRow> rows{
        {"Page Down without an engine takes the first", tap(Qt::Key_PageDown), QStringLiteral("D1"), {}},
        {"a function held on it ends before the next is chosen",
         {press(Qt::Key_2), press(Qt::Key_PageDown), repeat(Qt::Key_PageDown), release(Qt::Key_PageDown), release(Qt::Key_2)},
         QStringLiteral("E27"), {closed({0xE4, 0x20, 0xC4, 0xD2, 0x02}), closed({0xE4, 0x20, 0xC4, 0xD2, 0x00})}},
        {"on the mimic too", std::vector<Step>{activate(Where::Mimic)} + tap(Qt::Key_PageDown), QStringLiteral("E4567"), {}},
        {"no wrap past the last", tap(Qt::Key_PageDown), QStringLiteral("E4567"), {}},
        {"Page Up goes back", tap(Qt::Key_PageUp) + tap(Qt::Key_PageUp), QStringLiteral("D1"), {}},
        {"no wrap before the first", tap(Qt::Key_PageUp), QStringLiteral("D1"), {}},
        {"the steps go to the loco chosen", tap(Qt::Key_Up), QStringLiteral("D1"), {speedD1(2)}},
    };
    for (const RosterRow& row : rows) {
        const Mark before = mark();
        run(row.steps);
        EXPECT_EQ(sentSince(before), row.frames) << row.what;
        EXPECT_EQ(form->mnuList[1]->title(), row.engine) << row.what;
        for (std::size_t i = 0; i < form->mnuUnitA.size(); ++i)
            EXPECT_EQ(form->mnuUnitA[i]->isChecked(), form->mnuUnitA[i]->text() == row.engine) << row.what;
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(KeyThrottle, BeforeAnyEngineEachKeyGivesTheMouseAnswerOncePerPress)
{
    startDriving(-1);
    struct KeyRow {
        const char* what;
        std::vector<Step> steps;
    };
    const std::vector<KeyRow> rows{
        {"Up", tap(Qt::Key_Up, 3)},
        {"Down", tap(Qt::Key_Down, 3)},
        {"Space", tap(Qt::Key_Space, 3)},
        {"Right", tap(Qt::Key_Right, 3)},
        {"Left", tap(Qt::Key_Left, 3)},
        {"Enter on the mimic", std::vector<Step>{activate(Where::Mimic)} + tap(Qt::Key_Return, 3)},
        {"a digit", tap(Qt::Key_4, 3)},
        {"Ctrl+1", tap(Qt::Key_1, 3, Qt::ControlModifier)},
        {"a notch of the wheel", {activate(Where::Loco), wheel(120)}},
    };
    const Mark before = mark();
    for (const KeyRow& row : rows) {
        dialogs.shown.clear();
        run(row.steps);
        EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("no train engine selected")}) << row.what;
    }
    EXPECT_TRUE(sentSince(before).empty());
    EXPECT_FALSE(app->dcc().EngineChosen);
}

TEST_F(KeyThrottle, TheOpenEntryPanelKeepsItsTyping)
{
    startDriving(1); // E27
    form->mnuAdd[0]->trigger();
    ASSERT_EQ(QApplication::focusWidget(), form->txtChip);
    struct EntryRow {
        const char* what;
        std::vector<Step> steps;
        QString chip;
        QString name;
        std::vector<Frame> frames;
    };
    const std::vector<EntryRow> rows{
        {"digits type the chip", tap(Qt::Key_0) + tap(Qt::Key_0) + tap(Qt::Key_4) + tap(Qt::Key_2), QStringLiteral("0042"), {}, {}},
        {"and the name; the rest stays in the box",
         tap(Qt::Key_E) + tap(Qt::Key_7) + tap(Qt::Key_Up) + tap(Qt::Key_Down) + tap(Qt::Key_Space) + tap(Qt::Key_Left)
             + tap(Qt::Key_Right) + tap(Qt::Key_PageDown),
         QStringLiteral("0042"), QStringLiteral("E7"), {}},
        {"the mimic still drives the engine", std::vector<Step>{activate(Where::Mimic)} + tap(Qt::Key_Up) + tap(Qt::Key_Space),
         QStringLiteral("0042"), QStringLiteral("E7"), {speed(2), speed(0)}},
    };
    for (const EntryRow& row : rows) {
        const Mark before = mark();
        run(row.steps);
        EXPECT_EQ(sentSince(before), row.frames) << row.what;
        EXPECT_TRUE(form->AddLocoOpen) << row.what;
        EXPECT_EQ(form->txtChip->text(), row.chip) << row.what;
        EXPECT_EQ(form->txtLoco->text(), row.name) << row.what;
        EXPECT_EQ(form->mnuList[1]->title(), QStringLiteral("E27")) << row.what;
    }
    // Enter writes the loco, as the panel always did.
    run(std::vector<Step>{activate(Where::Loco)} + tap(Qt::Key_Return));
    EXPECT_FALSE(form->AddLocoOpen);
    EXPECT_TRUE(dir.read(QStringLiteral("data/text/loco.txt")).contains("\"0042\",\"E7\""));
}

} // namespace
