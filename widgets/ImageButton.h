#pragma once

#include <QLabel>

// A picture that reports mouse presses and releases with the button code
// the handlers test: 1 = left, 2 = right, 4 = middle.
class ImageButton : public QLabel {
    Q_OBJECT
public:
    explicit ImageButton(QWidget* parent = nullptr);
    // Loads a picture; a missing one leaves a framed box with the fallback
    // text, so the control stays usable.
    void setPicture(const QString& resource, const QString& fallbackText);

signals:
    void mousePressed(int button);
    void mouseReleased(int button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

int vbButton(Qt::MouseButton button);
