#pragma once

#include "InterfaceSettings.h"

#include <QDialog>

#include <cstdint>

class DCC;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "DCC interface": the kind of interface, the serial device (with its port
// number and its stable /dev/serial/by-id name), speed and handshake, or host
// and TCP port; "Test" runs the detection in the background on a link of its
// own and shows what answered when it ends. The caller stores the choice when
// the dialog is accepted.
class InterfaceDialog : public QDialog {
    Q_OBJECT
public:
    InterfaceDialog(DCC& dcc, std::uint8_t portNumber, QWidget* parent = nullptr);
    ~InterfaceDialog() override;
    InterfaceDialog(const InterfaceDialog&) = delete;
    InterfaceDialog& operator=(const InterfaceDialog&) = delete;

    InterfaceSettings settings() const;
    std::uint8_t portNumber() const;

    void cboKind_Change();
    void cboDevice_Change();
    void cmdTest_Click();
    void done(int result) override;

    QComboBox* cboKind = nullptr;
    QComboBox* cboDevice = nullptr;
    QSpinBox* spnPort = nullptr;
    QComboBox* cboSpeed = nullptr;
    QComboBox* cboHandshake = nullptr;
    QLineEdit* txtHost = nullptr;
    QSpinBox* spnTcpPort = nullptr;
    QPushButton* cmdTest = nullptr;
    QLabel* lblResult = nullptr;

private:
    void display(const InterfaceSettings& settings);

    DCC& dcc_;
};
