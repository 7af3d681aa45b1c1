#pragma once

#include <QDialog>

class DCC;
class QLabel;
class QPushButton;

// "looking for the DCC box on ...": a small window without modality, shown
// while the DCC module looks for the box, at start-up as after the interface
// dialog. Its Cancel stops looking; every other window keeps working, STOP
// and Escape included.
class ConnectProgress : public QDialog {
    Q_OBJECT
public:
    explicit ConnectProgress(DCC& dcc, QWidget* parent = nullptr);

    // Shown or hidden as the module is looking or not.
    void follow();
    void cmdCancel_Click();
    // Closing the window stops looking as Cancel does.
    void reject() override;

    QLabel* lblLooking = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    DCC& dcc_;
};
