#pragma once

#include "PressButtons.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

class DCC;
class ImageButton;
class ProgramFolder;
class QAction;
class QBoxLayout;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class SR;
class ThrottleKeys;
struct Shared;

// The loco control window: the function panel on the left, the throttle on
// the right, the new-loco entry panel in the throttle's place while it is
// open, and the roster menus. Handlers turn Qt events into calls of the DCC
// module; the window then shows the module's state.
class Form2a : public QWidget {
    Q_OBJECT
public:
    Form2a(Shared& shared, DCC& dcc, SR& sr, const ProgramFolder& folder, QWidget* parent = nullptr);

    // Throttle.
    void cmdLoco_MouseDown(int Index, int Button);
    void cmdLoco_MouseMove(int Index);
    void imgDir_Click();
    // Called through ResetButtonSizes.
    void setLocoButtonHeight(int index, int heightTw);
    int locoButtonHeight(int index) const;

    // Function panel.
    void chkFunc_MouseDown(int Index, int Button);
    void chkFunc_MouseUp(int Index, int Button);
    void fraFuncOp_MouseUp(int Button);
    void imgBtnFunc_MouseDown(int Index);
    void mnuFuncTot_Click();

    // Entry panel. The key filters return the key to type, 0 to discard it.
    void mnuAdd_Click(int Index);
    int txtChip_KeyPress(int KeyAscii);
    void txtChip_Change();
    int txtLoco_KeyPress(int KeyAscii);
    void OpenLocoEntry();
    // False when the entry was refused and the panel stays open.
    bool WriteLoco();
    // Closes an open entry panel without writing anything and brings the
    // throttle back (the "cancel" button, and Escape after its emergency
    // stop). True when a panel was open.
    bool cancelOpenEntry();

    // Roster menus.
    void mnuUnitA_Click(int Index);
    void mnuUnitB_Click(int Index);
    void AddLocoMenus();

    // What the command station said (Form2a_Link.cpp): a red banner while the
    // track is off, stopped or in service mode, or the train engine was taken
    // over by another throttle; the pilot menu when a double header is
    // acknowledged or refused.
    void showLinkState();
    QLabel* lblBanner = nullptr;
    // The train engine as another throttle left it (Form2a_OtherThrottles.cpp).
    void showEngineState();

    // Keys pressed in `window` drive this window's throttle too, as keys
    // pressed here do.
    void takeThrottleKeysFrom(QWidget* window);

    // Client width in twips (the window's width in the system's terms).
    void setClientWidth(int widthTw);
    int clientWidth() const;

    QMenuBar* menuBar = nullptr;
    QWidget* client = nullptr;
    QGroupBox* fraFuncOp = nullptr;
    QGroupBox* fraControl = nullptr;
    QGroupBox* fraLoco = nullptr;
    std::array<ThrottleButton*, 15> cmdLoco{};
    ImageButton* imgDir = nullptr;
    std::array<FunctionBox*, 15> chkFunc{};
    std::array<ImageButton*, 2> imgBtnFunc{};
    QLabel* lbl0000 = nullptr;
    QLineEdit* txtChip = nullptr;
    QLabel* picLoco = nullptr;
    QLineEdit* txtLoco = nullptr;
    QFrame* linLoco = nullptr;
    QPushButton* cmdCancel = nullptr;
    std::array<QMenu*, 2> mnuList{};
    std::vector<QAction*> mnuUnitA;
    std::vector<QAction*> mnuUnitB;
    QAction* mnuChip = nullptr;
    QAction* mnuFuncTot = nullptr;
    std::array<QAction*, 2> mnuAdd{};

    QString DirLetter;
    QString DirPicturePath;
    std::uint8_t FunctionPage = 0;
    bool AddLocoOpen = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildFunctionPanel();
    void buildThrottle();
    void buildEntryPanel();
    void buildBanner(QBoxLayout* layout);
    void fitHeight();
    void showDirectionPicture();
    void showFunctionPanel();
    void showRosterMenus();
    bool filterKey(QLineEdit* box, QEvent* event);
    void closeLocoEntry(int widthTw);

    Shared& shared_;
    DCC& dcc_;
    SR& sr_;
    const ProgramFolder& folder_;
    ThrottleKeys* keys_ = nullptr;
    std::array<int, 15> locoHeight_{};
    // The client width before the entry panel opened, for its cancel.
    int widthBeforeEntry_ = 0;
};
