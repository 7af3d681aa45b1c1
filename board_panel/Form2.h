#pragma once

#include <QWidget>

// The K8055 test panel. Created hidden at start-up in the DC systems; it
// owns the board connection.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
};
