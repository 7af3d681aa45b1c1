// What the command station says, shown in the loco window.
#include "Form2a.h"

#include "DCC.h"
#include "LinkState.h"
#include "SR.h"
#include "Shared.h"

#include <QBoxLayout>
#include <QLabel>

void Form2a::buildBanner(QBoxLayout* layout)
{
    lblBanner = new QLabel(this);
    lblBanner->setObjectName(QStringLiteral("lblBanner"));
    lblBanner->setAlignment(Qt::AlignCenter);
    lblBanner->setStyleSheet(QStringLiteral("QLabel { background-color: #c81e1e; color: white; font-weight: bold; padding: 3px; }"));
    lblBanner->hide();
    layout->insertWidget(0, lblBanner);
    connect(&dcc_.Events, &DccEvents::linkChanged, this, &Form2a::showLinkState);
    connect(&dcc_.Events, &DccEvents::pilotChanged, this, [this] { showRosterMenus(); });
    connect(&dcc_.Events, &DccEvents::engineChanged, this, &Form2a::showEngineState);
}

void Form2a::showLinkState()
{
    const QString banner = link_words::locoBanner(dcc_.linkState(), static_cast<unsigned>(dcc_.EngineNumber()));
    lblBanner->setText(banner);
    if (lblBanner->isHidden() == banner.isEmpty())
        return;
    lblBanner->setVisible(!banner.isEmpty());
    fitHeight();
}
