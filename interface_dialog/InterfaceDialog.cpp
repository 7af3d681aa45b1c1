#include "InterfaceDialog.h"

#include "DCC.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr InterfaceSettings::Kind Kinds[] = {InterfaceSettings::Kind::Serial, InterfaceSettings::Kind::Usb,
                                             InterfaceSettings::Kind::Lan, InterfaceSettings::Kind::XnTcp};

} // namespace

InterfaceDialog::~InterfaceDialog()
{
    dcc_.CancelTest();
}

InterfaceDialog::InterfaceDialog(DCC& dcc, std::uint8_t portNumber, QWidget* parent)
    : QDialog(parent)
    , dcc_(dcc)
{
    setObjectName(QStringLiteral("InterfaceDialog"));
    setWindowTitle(QStringLiteral("DCC interface"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);

    cboKind = new QComboBox(this);
    cboKind->setObjectName(QStringLiteral("cboKind"));
    for (const auto kind : Kinds)
        cboKind->addItem(kindTitle(kind), static_cast<int>(kind));
    form->addRow(QStringLiteral("kind"), cboKind);

    cboDevice = new QComboBox(this);
    cboDevice->setObjectName(QStringLiteral("cboDevice"));
    for (const DccLink::PortInfo& port : dcc_.link().ports()) {
        QString text = QStringLiteral("%1 = %2").arg(port.number).arg(port.device);
        if (!port.description.isEmpty())
            text += QStringLiteral("  (%1)").arg(port.description);
        if (!port.stableName.isEmpty())
            text += QStringLiteral("  ") + port.stableName;
        cboDevice->addItem(text, port.number);
    }
    if (cboDevice->count() == 0)
        cboDevice->addItem(QStringLiteral("(no serial device found)"), 0);
    form->addRow(QStringLiteral("serial devices present"), cboDevice);
    spnPort = new QSpinBox(this);
    spnPort->setObjectName(QStringLiteral("spnPort"));
    spnPort->setRange(0, 255);
    spnPort->setToolTip(QStringLiteral("0 = offline"));
    form->addRow(QStringLiteral("port number"), spnPort);

    cboSpeed = new QComboBox(this);
    cboSpeed->setObjectName(QStringLiteral("cboSpeed"));
    for (const int speed : InterfaceSettings::Speeds)
        cboSpeed->addItem(QStringLiteral("%1 baud").arg(speed), speed);
    form->addRow(QStringLiteral("speed"), cboSpeed);
    cboHandshake = new QComboBox(this);
    cboHandshake->setObjectName(QStringLiteral("cboHandshake"));
    cboHandshake->addItem(QStringLiteral("none"));
    cboHandshake->addItem(QStringLiteral("RTS/CTS"));
    form->addRow(QStringLiteral("handshake"), cboHandshake);

    txtHost = new QLineEdit(this);
    txtHost->setObjectName(QStringLiteral("txtHost"));
    txtHost->setPlaceholderText(QStringLiteral("192.168.0.200"));
    form->addRow(QStringLiteral("host"), txtHost);
    spnTcpPort = new QSpinBox(this);
    spnTcpPort->setObjectName(QStringLiteral("spnTcpPort"));
    spnTcpPort->setRange(1, 65535);
    form->addRow(QStringLiteral("TCP port"), spnTcpPort);

    auto* testRow = new QHBoxLayout;
    cmdTest = new QPushButton(QStringLiteral("Test"), this);
    cmdTest->setObjectName(QStringLiteral("cmdTest"));
    cmdTest->setToolTip(QStringLiteral("look for the box with these settings"));
    lblResult = new QLabel(this);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setWordWrap(true);
    testRow->addWidget(cmdTest);
    testRow->addWidget(lblResult, 1);
    layout->addLayout(testRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cboKind, &QComboBox::currentIndexChanged, this, [this] { cboKind_Change(); });
    connect(cboDevice, &QComboBox::activated, this, [this] { cboDevice_Change(); });
    connect(cmdTest, &QPushButton::clicked, this, [this] { cmdTest_Click(); });

    spnPort->setValue(portNumber);
    display(dcc_.Interface);
}

void InterfaceDialog::display(const InterfaceSettings& settings)
{
    cboKind->setCurrentIndex(cboKind->findData(static_cast<int>(settings.kind)));
    const int speed = cboSpeed->findData(settings.speed);
    cboSpeed->setCurrentIndex(speed >= 0 ? speed : cboSpeed->findData(InterfaceSettings::DefaultSpeed));
    cboHandshake->setCurrentIndex(settings.rtsCts ? 1 : 0);
    txtHost->setText(settings.host);
    const int device = cboDevice->findData(spnPort->value());
    if (device >= 0)
        cboDevice->setCurrentIndex(device);
    cboKind_Change();
}

void InterfaceDialog::cboKind_Change()
{
    const auto kind = static_cast<InterfaceSettings::Kind>(cboKind->currentData().toInt());
    const InterfaceSettings defaults = defaultsFor(kind);
    const bool network = defaults.network();
    for (QWidget* w : {static_cast<QWidget*>(cboDevice), static_cast<QWidget*>(spnPort),
                       static_cast<QWidget*>(cboSpeed), static_cast<QWidget*>(cboHandshake)})
        w->setEnabled(!network);
    txtHost->setEnabled(network);
    spnTcpPort->setEnabled(network);
    // An LI-USB runs at 57600 only; each network kind has its usual port.
    if (kind == InterfaceSettings::Kind::Usb)
        cboSpeed->setCurrentIndex(cboSpeed->findData(InterfaceSettings::UsbSpeed));
    cboSpeed->setEnabled(kind == InterfaceSettings::Kind::Serial);
    if (network)
        spnTcpPort->setValue(kind == dcc_.Interface.kind ? dcc_.Interface.tcpPort : defaults.tcpPort);
}

void InterfaceDialog::cboDevice_Change()
{
    const int number = cboDevice->currentData().toInt();
    if (number > 0)
        spnPort->setValue(number);
}

void InterfaceDialog::cmdTest_Click()
{
    // The test runs in the background: the dialog, Cancel included, stays live.
    lblResult->setText(QStringLiteral("looking for the DCC box..."));
    cmdTest->setEnabled(false);
    dcc_.TestInterface(settings(), portNumber(), [this](const QString& result) {
        lblResult->setText(result);
        cmdTest->setEnabled(true);
    });
}

void InterfaceDialog::done(int result)
{
    // However the dialog ends, a test still running is given up.
    dcc_.CancelTest();
    cmdTest->setEnabled(true);
    QDialog::done(result);
}

InterfaceSettings InterfaceDialog::settings() const
{
    InterfaceSettings s = defaultsFor(static_cast<InterfaceSettings::Kind>(cboKind->currentData().toInt()));
    if (s.network()) {
        s.host = txtHost->text().trimmed();
        s.tcpPort = spnTcpPort->value();
    } else {
        s.speed = cboSpeed->currentData().toInt();
        s.rtsCts = cboHandshake->currentIndex() == 1;
    }
    return s;
}

std::uint8_t InterfaceDialog::portNumber() const
{
    return static_cast<std::uint8_t>(spnPort->value());
}
