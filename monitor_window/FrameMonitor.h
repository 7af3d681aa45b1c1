#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>

class Clock;
class ClockTimer;
class Dialogs;
class FrameLog;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The frame monitor: every frame to and from the DCC box, newest at the
// bottom, with its time, bytes and words. The log behind it keeps running
// while the view is paused; the view catches up a little later than the
// frames come (every RefreshMs at most), so it never holds up the throttle.
class FrameMonitor : public QWidget {
    Q_OBJECT
public:
    static constexpr int RefreshMs = 100;

    FrameMonitor(FrameLog& log, Clock& clock, Dialogs& dialogs, QWidget* parent = nullptr);
    ~FrameMonitor() override;

    // Shows the lines not shown yet (all of the log when it has moved on by
    // more than it holds).
    void refresh();
    void cmdPause_Click();
    // Asks for a file name and writes the whole log there.
    void cmdSave_Click();

    QPlainTextEdit* txtFrames = nullptr;
    QPushButton* cmdPause = nullptr;
    QPushButton* cmdSave = nullptr;
    QLabel* lblCount = nullptr;
    bool Paused = false;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void added();

    FrameLog& log_;
    Dialogs& dialogs_;
    std::unique_ptr<ClockTimer> refreshTimer_;
    std::uint64_t shown_ = 0;
};
