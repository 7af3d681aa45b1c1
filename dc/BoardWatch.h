#pragma once

#include <QTimer>

#include <functional>

class Dialogs;
class K8055Board;
struct Shared;

// Keeps the K8055 board's state where the user looks. While the board is
// missing the status line says "K8055 card N not answering" and the board is
// looked for about once a second and opened again as soon as it is back; a
// board that was there and stops answering is reported once in a notice.
class BoardWatch {
public:
    static constexpr int LookMs = 1000;

    BoardWatch(Shared& shared, K8055Board& board, Dialogs& dialogs);
    BoardWatch(const BoardWatch&) = delete;
    BoardWatch& operator=(const BoardWatch&) = delete;

    // What a connection attempt found: the card address tried and whether it
    // opened. Watching starts with the first one.
    void cardConnected(int cardAddress, bool opened);
    // One look, the timer's tick: notices a board that went, tries a missing one.
    void timBoardWatch_Timer();
    bool missing() const { return watching_ && !present_; }

    // Opens the card again (the board panel's Connect, so the panel shows it);
    // unset, the watch opens it itself.
    std::function<void()> reconnect;
    // A board that was missing is open again, with every output off.
    std::function<void()> reopened;

private:
    void showState();

    Shared& shared_;
    K8055Board& board_;
    Dialogs& dialogs_;
    QTimer timer_;
    int card_ = 0;
    bool watching_ = false;
    bool present_ = false;
};
