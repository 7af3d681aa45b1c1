#pragma once

#include <QWidget>

#include <array>

class QGroupBox;
class QPushButton;

// The loco control window: function panel on the left, throttle on the right.
class Form2a : public QWidget {
    Q_OBJECT
public:
    explicit Form2a(QWidget* parent = nullptr);

    void setLocoButtonHeight(int index, int heightTw);

    QGroupBox* fraFuncOp = nullptr;
    QGroupBox* fraControl = nullptr;
    std::array<QPushButton*, 15> cmdLoco{};
};
