#pragma once

#include "DCC.h"
#include "Form1.h"
#include "SR.h"
#include "Shared.h"
#include "WindowHost.h"

#include <memory>

class Clock;
class Dialogs;
class Form2;
class Form2a;
class Form2b;
class ProgramFolder;
class SerialLink;

// The composition root: creates every module and window once and wires
// them. The platform services come from outside, so tests hand in fakes.
class App final : public WindowHost {
public:
    App(const ProgramFolder& folder, Dialogs& dialogs, Clock& clock, SerialLink& link);
    ~App() override;

    // Runs the start-up sequence and shows the main window. False when the
    // user ended the program during start-up.
    bool start();

    Shared& shared() { return shared_; }
    SR& sr() { return sr_; }
    DCC& dcc() { return dcc_; }
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
    Form2a& locoWindow();
    Form2b& coilWindow();
    Places defaultPlaces();

    const ProgramFolder& folder_;
    Shared shared_;
    DCC dcc_;
    SR sr_;
    Form1 form1_;
    std::unique_ptr<Form2a> form2a_;
    std::unique_ptr<Form2b> form2b_;
    std::unique_ptr<Form2> form2_;
};
