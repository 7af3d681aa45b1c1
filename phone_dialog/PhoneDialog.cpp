#include "PhoneDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

PhoneDialog::PhoneDialog(withrottle::PhoneThrottles& phones, QString serviceName, QWidget* parent)
    : QDialog(parent)
    , phones_(phones)
    , serviceName_(std::move(serviceName))
{
    setWindowTitle(QStringLiteral("Phone throttles"));
    auto* layout = new QVBoxLayout(this);

    chkEnabled = new QCheckBox(QStringLiteral("Let phones drive (WiThrottle server)"));
    layout->addWidget(chkEnabled);
    auto* form = new QFormLayout;
    spnPort = new QSpinBox;
    spnPort->setRange(1, 65535);
    form->addRow(QStringLiteral("TCP port"), spnPort);
    txtAddress = new QLineEdit;
    txtAddress->setPlaceholderText(QStringLiteral("every address of this computer"));
    form->addRow(QStringLiteral("listen on"), txtAddress);
    chkPower = new QCheckBox(QStringLiteral("phones may switch track power"));
    form->addRow(QString(), chkPower);
    chkAccessories = new QCheckBox(QStringLiteral("phones may switch points (DCC accessories 1 to 99)"));
    form->addRow(QString(), chkAccessories);
    layout->addLayout(form);

    auto* warning = new QLabel(QStringLiteral("Anyone who reaches this computer on the network can drive: "
                                              "switch the server on only on a network you trust."));
    warning->setWordWrap(true);
    layout->addWidget(warning);

    lblState = new QLabel;
    lblState->setWordWrap(true);
    layout->addWidget(lblState);
    lblAddresses = new QLabel;
    lblAddresses->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblAddresses->setWordWrap(true);
    layout->addWidget(lblAddresses);
    lblAdvertised = new QLabel;
    lblAdvertised->setWordWrap(true);
    layout->addWidget(lblAdvertised);

    tblPhones = new QTableWidget(0, 5);
    tblPhones->setHorizontalHeaderLabels({QStringLiteral("phone"), QStringLiteral("device id"), QStringLiteral("address"),
                                          QStringLiteral("locos"), QString()});
    tblPhones->verticalHeader()->hide();
    tblPhones->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPhones->setSelectionMode(QAbstractItemView::NoSelection);
    tblPhones->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblPhones->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(tblPhones, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    cmdApply = buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::ApplyRole);
    layout->addWidget(buttons);
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    display(phones_.settings());
    phones_.service().changed = [this] { refresh(); };
    refresh();
    resize(620, 460);
}

PhoneDialog::~PhoneDialog()
{
    phones_.service().changed = {};
}

withrottle::ServerSettings PhoneDialog::chosen() const
{
    withrottle::ServerSettings settings;
    settings.enabled = chkEnabled->isChecked();
    settings.port = static_cast<std::uint16_t>(spnPort->value());
    settings.listenAddress = txtAddress->text().trimmed();
    settings.allowPower = chkPower->isChecked();
    settings.allowAccessories = chkAccessories->isChecked();
    return settings;
}

void PhoneDialog::cmdApply_Click()
{
    problem_ = phones_.apply(chosen(), serviceName_);
    refresh();
}

void PhoneDialog::display(const withrottle::ServerSettings& settings)
{
    chkEnabled->setChecked(settings.enabled);
    spnPort->setValue(settings.port);
    txtAddress->setText(settings.listenAddress);
    chkPower->setChecked(settings.allowPower);
    chkAccessories->setChecked(settings.allowAccessories);
}

void PhoneDialog::refresh()
{
    withrottle::PhoneService& service = phones_.service();
    if (!problem_.isEmpty())
        lblState->setText(problem_);
    else
        lblState->setText(service.listening() ? QStringLiteral("The phone server is on.")
                                              : QStringLiteral("The phone server is off."));
    const QStringList addresses = service.addresses();
    lblAddresses->setText(addresses.isEmpty() ? QString()
                                              : QStringLiteral("Phones connect to: ") + addresses.join(QStringLiteral(", ")));
    lblAdvertised->setText(service.advertisement());

    const QList<withrottle::PhoneService::Phone> phones = service.phones();
    tblPhones->setRowCount(static_cast<int>(phones.size()));
    for (int row = 0; row < phones.size(); ++row) {
        const auto& phone = phones[row];
        const QStringList cells{phone.name, phone.deviceId, phone.address, phone.locos.join(QStringLiteral(", "))};
        for (int column = 0; column < cells.size(); ++column)
            tblPhones->setItem(row, column, new QTableWidgetItem(cells[column]));
        auto* disconnect = new QPushButton(QStringLiteral("disconnect"));
        const int id = phone.id;
        connect(disconnect, &QPushButton::clicked, this, [this, id] { phones_.service().disconnectPhone(id); });
        tblPhones->setCellWidget(row, 4, disconnect);
    }
}
