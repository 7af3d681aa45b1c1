#pragma once

#include "DLL.h"
#include "WindowHost.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

class ProgramFolder;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class SR;
struct Shared;

// The DC solenoid and motor window: the grid of coil buttons (DCC accessory
// buttons in "DCC") and the motor panel with its two knobs. It turns mouse
// actions into calls of the DLL module and shows what that module decides.
class Form2b : public QWidget {
    Q_OBJECT
public:
    // Where the drawn panel picture has its knob wells (pixels, centres).
    static constexpr int KnobCentreX[3] = {0, 69, 207};
    static constexpr int KnobCentreY = 50;

    Form2b(Shared& shared, SR& sr, DLL& dll, const ProgramFolder& folder, QWidget* parent = nullptr);

    // Lays out the coil buttons and shows the window.
    void Form_Load();
    bool loaded() const { return loaded_; }

    // The toolbar toggles' view and the coil button size restore.
    void showView(const WindowHost::CoilView& view);
    void setCoilButtonSizes(int widthTw, int heightTw, int fontPt);
    // Both knobs and their percentages as the DLL module has them.
    void showKnobs();

    // Handlers. Button: 1 left, 2 right, 4 middle.
    void cmdCoil_MouseMove(int Index);
    void txtMouseMove_Change();
    void Form_MouseMove();
    void cmdCoil_MouseUp(int Index, int Button);
    void picKnob_MouseDown(int Index, int Button);
    void picKnob_MouseUp(int Index, int Button);
    void picKnob_DblClick(int Index);

    std::int16_t ZoomWidth = 0; // twips
    float ZoomHeight = 0;       // twips

    QPushButton* cmdCoilTemplate = nullptr;
    // The hovered coil button drawn large over its neighbours. It takes no
    // mouse input, so the pointer always reaches the button under it in the
    // grid's own layout: that one magnifies and fires.
    QPushButton* coilMagnifier = nullptr;
    std::vector<QPushButton*> cmdCoil; // element 0 is the template
    QLineEdit* txtMouseMove = nullptr;
    QFrame* fraBoxHM = nullptr;
    QLabel* picBoxHM = nullptr;
    std::array<QLabel*, 3> picKnob{}; // elements 1 and 2
    std::array<QLabel*, 3> lblPwm{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void buildMotorPanel();
    void showKnob(const DLL::KnobPicture& picture);
    int indexOf(const QObject* control, const std::array<QLabel*, 3>& controls) const;

    Shared& shared_;
    SR& sr_;
    DLL& dll_;
    const ProgramFolder& folder_;
    bool loaded_ = false;
};
