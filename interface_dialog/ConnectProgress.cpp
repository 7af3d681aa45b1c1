#include "ConnectProgress.h"

#include "DCC.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ConnectProgress::ConnectProgress(DCC& dcc, QWidget* parent)
    : QDialog(parent)
    , dcc_(dcc)
{
    setObjectName(QStringLiteral("ConnectProgress"));
    setWindowTitle(QStringLiteral("DCC box"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    lblLooking = new QLabel(this);
    lblLooking->setObjectName(QStringLiteral("lblLooking"));
    layout->addWidget(lblLooking);
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0);
    layout->addWidget(busy);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setToolTip(QStringLiteral("stop looking and go on offline"));
    layout->addWidget(cmdCancel, 0, Qt::AlignRight);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(&dcc_.Events, &DccEvents::linkChanged, this, [this] { follow(); });
}

void ConnectProgress::follow()
{
    if (!dcc_.Connecting()) {
        hide();
        return;
    }
    const QString where = dcc_.ConnectingTo();
    lblLooking->setText(where.isEmpty() ? QStringLiteral("looking for the DCC box...")
                                        : QStringLiteral("looking for the DCC box on %1...").arg(where));
    show();
}

void ConnectProgress::cmdCancel_Click()
{
    dcc_.CancelConnect();
}

void ConnectProgress::reject()
{
    cmdCancel_Click();
    follow();
}
