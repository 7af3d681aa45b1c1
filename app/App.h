#pragma once

#include "Accessories.h"
#include "BoardWatch.h"
#include "DCC.h"
#include "DLL.h"
#include "DccPhoneLayout.h"
#include "Form1.h"
#include "LS.h"
#include "PhoneThrottles.h"
#include "SR.h"
#include "Shared.h"
#include "WindowHost.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class Dialogs;
class ExitHook;
class ConnectProgress;
class Form1a;
class Form2;
class Launcher;
class Sound;
class Form2a;
class Form2b;
class FrameMonitor;
class K8055Board;
class PhoneDialog;
class ProgramFolder;
class DccLink;

// The About sound and the word processor's launcher; either may be missing
// (no sound; the word processor cannot be started, and the user is told).
struct DesktopServices {
    Sound* sound = nullptr;
    Launcher* launcher = nullptr;
    // Makes the phone server on the layout given; none: no phone throttles.
    std::function<std::unique_ptr<withrottle::PhoneService>(withrottle::PhoneLayout&, Clock&)> phoneService;
};

// The composition root: creates every module and window once and wires
// them. The platform services come from outside, so tests hand in fakes.
class App final : public WindowHost {
public:
    // The board is the real USB driver or, in the demo and the tests, the
    // driver over a simulated board: the caller decides, never this class.
    App(const ProgramFolder& folder, Dialogs& dialogs, Clock& clock, DccLink& link, K8055Board& board,
        DesktopServices desktop = {});
    // Ends the run: every output of the board off, the board closed.
    ~App() override;

    // The whole end of the run, whatever asks for it (exit button, window
    // frame, a stop signal, the session ending): the window places are saved
    // once the windows are up, every output goes off, and the event loops end
    // without asking any window to close (the help window only hides).
    void endRun();
    bool ended() const { return ended_; }
    // Hooks every other way out to endRun: Ctrl+C and the system's stop
    // signals, the session's end, and an exit() from inside a library (Qt
    // ends the process that way when the display connection breaks).
    void watchExitPaths();
    // The main event loop, until endRun.
    int runEventLoop();

    // The help button: the first request creates the help window (its load
    // shows it), a later one shows it again as it was.
    void showHelpWindow();
    Form1a* form1a() const { return form1a_.get(); }

    // Escape in any window, and the toolbar's STOP: every DCC loco stops
    // (80 80), both K8055 motors go to 0 and every digital output off.
    // Escape also closes an open new-loco panel.
    void emergencyStop();
    void escapePressed();
    // The frame monitor (toolbar, F12).
    void showMonitor();
    FrameMonitor* monitor() const { return monitor_.get(); }
    // The "DCC interface" dialog; true when a setting was chosen and stored.
    bool chooseInterface();
    // For the command line: the dialog before start-up, on the stored files.
    void chooseInterfaceBeforeStart();
    Accessories& accessories() { return accessories_; }

    // Runs the start-up sequence and shows the main window. False when the
    // user ended the program during start-up.
    bool start();

    // Phone throttles (App_Phones.cpp): the server as withrottle.txt says,
    // or on (on `port`, 0 for the stored one) from the command line.
    void startPhones(std::optional<std::uint16_t> port);
    void showPhoneDialog();
    withrottle::PhoneThrottles* phones() const { return phones_.get(); }
    PhoneDialog* phoneDialog() const { return phoneDialog_.get(); }

    Shared& shared() { return shared_; }
    SR& sr() { return sr_; }
    DCC& dcc() { return dcc_; }
    LS& ls() { return ls_; }
    DLL& dll() { return dll_; }
    BoardWatch& boardWatch() { return boardWatch_; }
    Form1& form1() { return form1_; }
    Form2a* form2a() const { return form2a_.get(); }
    Form2b* form2b() const { return form2b_.get(); }
    Form2* form2() const { return form2_.get(); }

    // WindowHost
    void loadBoardPanel() override;
    void loadLocoWindow() override;
    void loadCoilWindow() override;
    void setCoilWindowCaptionAndSize(const QString& caption, int heightTw, int widthTw) override;
    bool loadMimic(const QString& path, QString* error) override;
    void raiseByteArrayToggle() override;
    void placeControlWindows(const std::optional<Places>& places) override;
    Places controlWindowPlaces() const override;
    void showCoilView(const CoilView& view) override;
    void setCoilButtonSizes(int widthTw, int heightTw, int fontPt) override;
    void setLocoButtonHeight(int index, int heightTw) override;

private:
    void finishRun();
    void endAtProcessExit();
    Form2a& locoWindow();
    Form2b& coilWindow();
    Places defaultPlaces() const;

    void wireTrackControls();
    void wirePhones(DesktopServices& desktop);
    // The name phones see the server under: the layout's.
    QString phoneServiceName() const;

    const ProgramFolder& folder_;
    Clock& clock_;
    Dialogs& dialogs_;
    Shared shared_;
    DCC dcc_;
    SR sr_;
    K8055Board& board_;
    LS ls_;
    DLL dll_;
    BoardWatch boardWatch_;
    Accessories accessories_;
    Form1 form1_;
    std::unique_ptr<Form1a> form1a_;
    std::unique_ptr<Form2a> form2a_;
    std::unique_ptr<Form2b> form2b_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<FrameMonitor> monitor_;
    std::unique_ptr<ConnectProgress> connectProgress_;
    withrottle::DccPhoneLayout phoneLayout_;
    std::unique_ptr<withrottle::PhoneService> phoneService_;
    std::unique_ptr<withrottle::PhoneThrottles> phones_;
    std::unique_ptr<PhoneDialog> phoneDialog_;
    std::unique_ptr<ExitHook> exitHook_;
    // Where the control windows were put; a window this run never builds
    // (the loco window in "DC") keeps its place for the next run.
    Places places_{};
    bool starting_ = false;
    bool started_ = false;
    bool loopRunning_ = false;
    bool ended_ = false;
};
