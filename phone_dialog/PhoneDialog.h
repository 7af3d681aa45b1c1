#pragma once

#include "PhoneThrottles.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// "Phone throttles": switches the WiThrottle server on and off and sets it,
// shows the addresses phones type and whether they find the server by
// themselves, and lists the connected phones, each with a "disconnect".
// "Apply" stores the setting and the server follows it at once.
class PhoneDialog : public QDialog {
    Q_OBJECT
public:
    PhoneDialog(withrottle::PhoneThrottles& phones, QString serviceName, QWidget* parent = nullptr);
    ~PhoneDialog() override;

    withrottle::ServerSettings chosen() const;
    void cmdApply_Click();
    // Redraws the addresses and the phones from the service.
    void refresh();

    QCheckBox* chkEnabled = nullptr;
    QSpinBox* spnPort = nullptr;
    QLineEdit* txtAddress = nullptr;
    QCheckBox* chkPower = nullptr;
    QCheckBox* chkAccessories = nullptr;
    QPushButton* cmdApply = nullptr;
    QLabel* lblState = nullptr;
    QLabel* lblAddresses = nullptr;
    QLabel* lblAdvertised = nullptr;
    QTableWidget* tblPhones = nullptr;

private:
    void display(const withrottle::ServerSettings& settings);

    withrottle::PhoneThrottles& phones_;
    QString serviceName_;
    QString problem_;
};
