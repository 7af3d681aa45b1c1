#pragma once

#include <QCheckBox>
#include <QPushButton>

// Controls that report every mouse button, with the codes the handlers
// test (1 = left, 2 = right, 4 = middle).

// A command button: presses with any button, and the pointer moving over it.
class ThrottleButton : public QPushButton {
    Q_OBJECT
public:
    explicit ThrottleButton(const QString& caption, QWidget* parent = nullptr);

signals:
    void mousePressed(int button);
    void mouseMoved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
};

// A check box whose tick is set only by its owner: a click reports the
// press and the release and leaves the tick alone.
class FunctionBox : public QCheckBox {
    Q_OBJECT
public:
    explicit FunctionBox(QWidget* parent = nullptr);

signals:
    void mousePressed(int button);
    void mouseReleased(int button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
