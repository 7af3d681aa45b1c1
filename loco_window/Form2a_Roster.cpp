// The roster menus and the new-loco entry panel.
#include "Form2a.h"

#include "DCC.h"
#include "SR.h"
#include "Shared.h"
#include "TwipsGeometry.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

void Form2a::AddLocoMenus()
{
    // Item 0 of each menu is there even for an empty roster.
    const int count = std::max(1, static_cast<int>(dcc_.roster.LocoCount));
    for (shared_.LoopIndex = 0; shared_.LoopIndex < count; ++shared_.LoopIndex) {
        const int i = shared_.LoopIndex;
        if (i >= static_cast<int>(mnuUnitA.size())) {
            QAction* pilot = mnuList[0]->addAction(QString());
            pilot->setObjectName(QStringLiteral("mnuUnitB_%1").arg(i));
            pilot->setCheckable(true);
            connect(pilot, &QAction::triggered, this, [this, i] { mnuUnitB_Click(i); });
            mnuUnitB.push_back(pilot);
            QAction* engine = mnuList[1]->addAction(QString());
            engine->setObjectName(QStringLiteral("mnuUnitA_%1").arg(i));
            engine->setCheckable(true);
            connect(engine, &QAction::triggered, this, [this, i] { mnuUnitA_Click(i); });
            mnuUnitA.push_back(engine);
        }
        QString name = i < dcc_.roster.LocoCount ? dcc_.roster.LocoName[static_cast<std::size_t>(i)] : QString();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        mnuUnitB[static_cast<std::size_t>(i)]->setText(name);
        mnuUnitA[static_cast<std::size_t>(i)]->setText(name);
    }
}

void Form2a::mnuUnitA_Click(int Index)
{
    if (dcc_.SelectTrainEngine(Index)) {
        mnuAdd[0]->setVisible(true);
        mnuFuncTot->setVisible(true);
        showFunctionPanel();
        sr_.ResetButtonSizes(0);
    }
    // The items tick themselves when clicked; the module has the say.
    showRosterMenus();
}

void Form2a::mnuUnitB_Click(int Index)
{
    const DCC::PilotChoice choice = dcc_.SelectPilot(Index);
    if (choice == DCC::PilotChoice::NoEngine)
        sr_.Prompt(13);
    // Both locos were stopped before coupling: the throttle shows STOP.
    if (choice == DCC::PilotChoice::Coupled)
        sr_.ResetButtonSizes(1);
    showRosterMenus();
}

void Form2a::mnuAdd_Click(int)
{
    AddLocoOpen = !AddLocoOpen;
    if (AddLocoOpen)
        OpenLocoEntry();
    else if (!WriteLoco())
        AddLocoOpen = true;
}

void Form2a::OpenLocoEntry()
{
    widthBeforeEntry_ = clientWidth();
    mnuAdd[1]->setVisible(true);
    mnuAdd[0]->setVisible(false);
    fraLoco->resize(twips::toPixels(3500), fraLoco->height());
    fraLoco->show();
    fraLoco->raise();
    fraControl->hide();
    txtChip->setFocus();
    setClientWidth(5540);
}

bool Form2a::WriteLoco()
{
    if (dcc_.roster.WriteLoco(txtChip->text(), txtLoco->text()) == Roster::LocoWrite::BadChip) {
        // Refused: the panel stays open with what was typed.
        txtChip->setFocus();
        return false;
    }
    closeLocoEntry(8550);
    AddLocoMenus();
    showRosterMenus();
    return true;
}

bool Form2a::cancelOpenEntry()
{
    if (!AddLocoOpen)
        return false;
    AddLocoOpen = false;
    closeLocoEntry(widthBeforeEntry_);
    return true;
}

void Form2a::closeLocoEntry(int widthTw)
{
    setClientWidth(widthTw);
    fraControl->show();
    fraControl->raise();
    fraLoco->hide();
    mnuAdd[0]->setVisible(true);
    mnuAdd[1]->setVisible(false);
    txtChip->clear();
    txtLoco->clear();
}

int Form2a::txtChip_KeyPress(int KeyAscii)
{
    if (KeyAscii == 8 || (KeyAscii >= '0' && KeyAscii <= '9'))
        return KeyAscii;
    return 0;
}

void Form2a::txtChip_Change()
{
    if (Roster::CheckChipEntry(txtChip->text()))
        txtLoco->setFocus();
}

int Form2a::txtLoco_KeyPress(int KeyAscii)
{
    const bool empty = txtLoco->text().isEmpty();
    switch (KeyAscii) {
    case 8:
        return KeyAscii;
    case 13:
        if (WriteLoco())
            AddLocoOpen = false;
        return 0;
    case 'D':
    case 'E':
        return empty ? KeyAscii : 0;
    case 'd':
    case 'e':
        return empty ? KeyAscii - 'a' + 'A' : 0;
    default:
        break;
    }
    if (KeyAscii >= '0' && KeyAscii <= '9') {
        txtLoco->setToolTip(QStringLiteral("Write Loco"));
        return KeyAscii;
    }
    return 0;
}

bool Form2a::filterKey(QLineEdit* box, QEvent* event)
{
    const auto* key = static_cast<QKeyEvent*>(event);
    int ascii = 0;
    switch (key->key()) {
    case Qt::Key_Backspace:
        ascii = 8;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ascii = 13;
        break;
    default:
        // Keys that type nothing (arrows, Delete, Tab) are the box's own;
        // Escape is the program's emergency stop, which closes the panel too.
        if (key->text().isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab
            || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Escape)
            return false;
        if (key->text().size() == 1 && key->text()[0].unicode() < 128)
            ascii = key->text()[0].unicode();
        break;
    }
    const int typed = box == txtChip ? txtChip_KeyPress(ascii) : txtLoco_KeyPress(ascii);
    if (typed == 0)
        return true;
    if (typed != ascii) {
        box->insert(QString(QChar(typed)));
        return true;
    }
    return false;
}
