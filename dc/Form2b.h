#pragma once

#include "WindowHost.h"

#include <QWidget>

#include <vector>

class QGroupBox;
class QPushButton;
class SR;
struct Shared;

// The DC solenoid and motor window: the grid of coil buttons and the motor
// panel.
class Form2b : public QWidget {
    Q_OBJECT
public:
    Form2b(Shared& shared, SR& sr, QWidget* parent = nullptr);

    // Lays out the coil buttons and shows the window.
    void Form_Load();
    bool loaded() const { return loaded_; }

    void showView(const WindowHost::CoilView& view);
    void setCoilButtonSizes(int widthTw, int heightTw, int fontPt);

    QPushButton* cmdCoilTemplate = nullptr;
    std::vector<QPushButton*> cmdCoil; // element 0 is the template
    QGroupBox* fraBoxHM = nullptr;

private:
    Shared& shared_;
    SR& sr_;
    bool loaded_ = false;
};
