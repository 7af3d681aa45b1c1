// The loco window's controls, their places and how the window shows the
// DCC module's state.
#include "Form2a.h"

#include "DCC.h"
#include "ImageButton.h"
#include "LocoFrames.h"
#include "Picture.h"
#include "PressButtons.h"
#include "ProgramFolder.h"
#include "Shared.h"
#include "ThrottleKeys.h"
#include "TwipsGeometry.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString OperateCaption = QStringLiteral("function F0-F12 operate");
const QString StatusCaption = QStringLiteral("function F0-F12 status");

// Ampersands in names are shown, not taken as access keys.
QString shown(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// The first of the families that is installed.
QString firstInstalled(const QStringList& wanted)
{
    QStringList installed = QFontDatabase::families();
    // Families may carry their foundry: "Nimbus Sans Narrow [urw]".
    for (QString& family : installed)
        family = family.section(QStringLiteral(" ["), 0, 0);
    for (const QString& family : wanted)
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    return wanted.back();
}

// The throttle's display font where Windows fonts are installed, else a bold
// condensed face that Debian ships (Nimbus Sans Narrow with the URW fonts,
// DejaVu Sans Condensed always), a little smaller as both run wider.
QFont throttleFont()
{
    const QString family = firstInstalled(
        {QStringLiteral("Haettenschweiler"), QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("DejaVu Sans Condensed")});
    QFont font(family);
    font.setPointSizeF(family == QStringLiteral("Haettenschweiler") ? 14.25 : 13.5);
    font.setBold(true);
    return font;
}

// The panels' small print, sized so that a function box's caption fits its
// 1500 x 200 twips.
QFont panelFont()
{
    QFont font(firstInstalled({QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("DejaVu Sans Condensed")}));
    font.setPixelSize(10);
    return font;
}

QPixmap arrowPicture(const QString& resource)
{
    const QPixmap picture = loadPicture(resource);
    if (picture.isNull())
        return {};
    return picture.scaled(twips::toPixels(195), twips::toPixels(195), Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// Frames drawn white inside their border, whatever the widget style. A
// style sheet stops fonts passing down, so each control gets its own.
void makeWhiteFrame(QGroupBox* frame)
{
    frame->setFont(panelFont());
    frame->setStyleSheet(QStringLiteral(
        "QGroupBox { background-color: white; border: 1px solid #a8a8a8; margin-top: 6px; }"
        "QCheckBox, QLabel { background-color: white; }"
        "QCheckBox { spacing: 3px; }"
        "QCheckBox::indicator { width: 10px; height: 10px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; padding: 0 2px; }"));
}

void makeWhite(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

struct ThrottleDesign {
    int left;
    int top;
    int width;
    int height;
    QColor colour;
};

ThrottleDesign throttleDesign(int index)
{
    static constexpr int lefts[15] = {20, 400, 830, 1230, 1630, 2030, 2430, 2820, 3220, 3620, 4020, 4400, 4800, 5200, 5600};
    const int left = lefts[index];
    if (index == 0)
        return {left, 390, 800, 790, QColor(255, 0, 0)};
    if (index == 1)
        return {left, 400, 105, 315, QColor(255, 255, 255)};
    if (index == 2)
        return {left, 390, 400, 500, QColor(255, 255, 0)};
    return {left, 390, 400, 500, QColor(0, 192, 0)};
}

// Row tops of the five boxes of a page.
constexpr int FunctionRowTops[5] = {180, 380, 570, 770, 960};

} // namespace

Form2a::Form2a(Shared& shared, DCC& dcc, SR& sr, const ProgramFolder& folder, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , shared_(shared)
    , dcc_(dcc)
    , sr_(sr)
    , folder_(folder)
{
    setObjectName(QStringLiteral("Form2a"));
    setWindowTitle(QStringLiteral("DCC Loco Control"));
    makeWhite(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    layout->setMenuBar(menuBar);
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedHeight(twips::toPixels(1200));
    makeWhite(client);
    layout->addWidget(client);

    buildFunctionPanel();
    buildEntryPanel();
    buildThrottle();
    buildMenus();
    buildBanner(layout);

    setClientWidth(8025);
    showDirectionPicture();
    AddLocoMenus();
    showRosterMenus();
    showFunctionPanel();
    keys_ = new ThrottleKeys(*this, dcc_, sr_);
}

void Form2a::takeThrottleKeysFrom(QWidget* window)
{
    keys_->driveFrom(window);
}

void Form2a::buildMenus()
{
    const char* titles[2] = {"pilot", "train engine"};
    for (int i = 0; i < 2; ++i) {
        mnuList[static_cast<std::size_t>(i)] = menuBar->addMenu(QString::fromLatin1(titles[i]));
        mnuList[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("mnuList_%1").arg(i));
    }
    mnuChip = menuBar->addAction(QString());
    mnuChip->setObjectName(QStringLiteral("mnuChip"));
    mnuFuncTot = menuBar->addAction(QString());
    mnuFuncTot->setObjectName(QStringLiteral("mnuFuncTot"));
    connect(mnuFuncTot, &QAction::triggered, this, [this] { mnuFuncTot_Click(); });
    const char* adds[2] = {"&add loco", "&write loco"};
    for (int i = 0; i < 2; ++i) {
        QAction* item = menuBar->addAction(QString::fromLatin1(adds[i]));
        item->setObjectName(QStringLiteral("mnuAdd_%1").arg(i));
        connect(item, &QAction::triggered, this, [this, i] { mnuAdd_Click(i); });
        mnuAdd[static_cast<std::size_t>(i)] = item;
    }
    mnuAdd[1]->setVisible(false);
}

void Form2a::buildFunctionPanel()
{
    fraFuncOp = new QGroupBox(OperateCaption, client);
    fraFuncOp->setObjectName(QStringLiteral("fraFuncOp"));
    fraFuncOp->setToolTip(QStringLiteral("F0-F12 keyboard"));
    makeWhite(fraFuncOp);
    makeWhiteFrame(fraFuncOp);
    twips::place(fraFuncOp, 0, 0, 1980, 1200);
    fraFuncOp->installEventFilter(this);

    for (int i = 0; i < 15; ++i) {
        auto* box = new FunctionBox(fraFuncOp);
        box->setObjectName(QStringLiteral("chkFunc_%1").arg(i));
        // The tag is the box's weight in the function byte; 13 and 14 have none.
        box->setProperty("tag", i < DCC::FunctionCount ? QString::number(loco_frames::functionWeight(i)) : QString());
        if (i >= 12)
            box->setToolTip(QStringLiteral("direction"));
        makeWhite(box);
        box->setFont(panelFont());
        box->setEnabled(false);
        twips::place(box, 140, FunctionRowTops[i % 5], 1500, 200);
        connect(box, &FunctionBox::mousePressed, this, [this, i](int button) { chkFunc_MouseDown(i, button); });
        connect(box, &FunctionBox::mouseReleased, this, [this, i](int button) { chkFunc_MouseUp(i, button); });
        chkFunc[static_cast<std::size_t>(i)] = box;
    }
    // Page 0 in front.
    for (int i = 4; i >= 0; --i)
        chkFunc[static_cast<std::size_t>(i)]->raise();

    const char* arrows[2] = {":/images/arrow_up.png", ":/images/arrow_down.png"};
    const char* fallback[2] = {"^", "v"};
    const int tops[2] = {180, 960};
    for (int i = 0; i < 2; ++i) {
        auto* arrow = new ImageButton(fraFuncOp);
        arrow->setObjectName(QStringLiteral("imgBtnFunc_%1").arg(i));
        const QPixmap picture = arrowPicture(QString::fromLatin1(arrows[i]));
        if (picture.isNull())
            arrow->setPicture(QString(), QString::fromLatin1(fallback[i]));
        else
            arrow->setPixmap(picture);
        twips::place(arrow, 1740, tops[i], 195, 195);
        connect(arrow, &ImageButton::mousePressed, this, [this, i](int) { imgBtnFunc_MouseDown(i); });
        imgBtnFunc[static_cast<std::size_t>(i)] = arrow;
    }
}

void Form2a::buildThrottle()
{
    fraControl = new QGroupBox(client);
    fraControl->setObjectName(QStringLiteral("fraControl"));
    makeWhite(fraControl);
    makeWhiteFrame(fraControl);
    twips::place(fraControl, 1980, 0, 6050, 1200);

    const QFont font = throttleFont();
    for (int i = 0; i < 15; ++i) {
        const ThrottleDesign design = throttleDesign(i);
        const QString caption = i == 0 ? QStringLiteral("STOP") : i == 1 ? QString() : QString::number(i);
        auto* button = new ThrottleButton(caption, fraControl);
        button->setObjectName(QStringLiteral("cmdLoco_%1").arg(i));
        button->setFont(font);
        // A style sheet, so the back colour shows whatever the widget style.
        button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: black; border: 2px outset %2; }"
                                             "QPushButton:pressed { border-style: inset; }")
                                  .arg(design.colour.name(), design.colour.lighter(130).name()));
        twips::place(button, design.left, design.top, design.width, design.height);
        locoHeight_[static_cast<std::size_t>(i)] = design.height;
        connect(button, &ThrottleButton::mousePressed, this, [this, i](int b) { cmdLoco_MouseDown(i, b); });
        connect(button, &ThrottleButton::mouseMoved, this, [this, i] { cmdLoco_MouseMove(i); });
        cmdLoco[static_cast<std::size_t>(i)] = button;
    }
    // The focus holder lies behind STOP, wholly covered by it.
    cmdLoco[1]->lower();

    imgDir = new ImageButton(fraControl);
    imgDir->setObjectName(QStringLiteral("imgDir"));
    twips::place(imgDir, 45, 0, 555, 390);
    connect(imgDir, &ImageButton::mouseReleased, this, [this](int button) {
        if (button == 1)
            imgDir_Click();
    });
}

void Form2a::buildEntryPanel()
{
    fraLoco = new QGroupBox(QStringLiteral("new chip"), client);
    fraLoco->setObjectName(QStringLiteral("fraLoco"));
    fraLoco->setToolTip(QStringLiteral("select loco"));
    makeWhite(fraLoco);
    makeWhiteFrame(fraLoco);
    twips::place(fraLoco, 1980, 0, 3500, 1200);
    fraLoco->hide();

    lbl0000 = new QLabel(QStringLiteral("0001-9999 >"), fraLoco);
    lbl0000->setObjectName(QStringLiteral("lbl0000"));
    lbl0000->setFont(panelFont());
    twips::place(lbl0000, 120, 490, 800, 200);

    const auto makeBox = [this](const char* name, int left, int width, int maxLength) {
        auto* box = new QLineEdit(fraLoco);
        box->setObjectName(QString::fromLatin1(name));
        box->setMaxLength(maxLength);
        box->setFont(panelFont());
        box->setStyleSheet(QStringLiteral("QLineEdit { background: white; color: black; border: 1px solid #7a7a7a; padding: 0; }"));
        box->installEventFilter(this);
        twips::place(box, left, 490, width, 195);
        return box;
    };
    txtChip = makeBox("txtChip", 1200, 370, 4);
    connect(txtChip, &QLineEdit::textChanged, this, [this] { txtChip_Change(); });

    picLoco = new QLabel(fraLoco);
    picLoco->setObjectName(QStringLiteral("picLoco"));
    picLoco->setAlignment(Qt::AlignCenter);
    const QPixmap logo(folder_.resolve(QStringLiteral("\\data\\vm110\\LocoLogo.bmp")));
    if (logo.isNull())
        picLoco->setText(QStringLiteral("loco"));
    else
        picLoco->setPixmap(logo);
    twips::place(picLoco, 1590, 430, 700, 390);

    txtLoco = makeBox("txtLoco", 2400, 550, 6);

    linLoco = new QFrame(fraLoco);
    linLoco->setObjectName(QStringLiteral("linLoco"));
    linLoco->setFrameShape(QFrame::HLine);
    linLoco->setFrameShadow(QFrame::Plain);
    twips::place(linLoco, 1000, 820, 1800, 15);

    // The way out that writes nothing.
    cmdCancel = new QPushButton(QStringLiteral("cancel"), fraLoco);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setToolTip(QStringLiteral("close without adding a loco (Esc)"));
    cmdCancel->setFont(panelFont());
    cmdCancel->setFocusPolicy(Qt::NoFocus);
    twips::place(cmdCancel, 2400, 880, 1000, 270);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cancelOpenEntry(); });
}

void Form2a::setClientWidth(int widthTw)
{
    client->setFixedWidth(twips::toPixels(widthTw));
    fitHeight();
}

void Form2a::fitHeight()
{
    // The banner comes on top of the panel, never in place of part of it.
    const int banner = lblBanner && !lblBanner->isHidden() ? lblBanner->sizeHint().height() : 0;
    setFixedSize(client->width(), menuBar->sizeHint().height() + banner + client->height());
}

int Form2a::clientWidth() const
{
    return twips::fromPixels(client->width());
}

void Form2a::showDirectionPicture()
{
    // The design picture faces right.
    const QString letter = DirLetter.trimmed().isEmpty() ? QStringLiteral("R") : DirLetter.trimmed();
    const QString path = DirPicturePath.isEmpty() ? QStringLiteral("\\data\\vm110\\DCClogoR.bmp") : DirPicturePath;
    QPixmap picture = loadPicture(folder_.resolve(path));
    if (picture.isNull()) {
        // No bitmap: a plain drawing with the letter, so the direction still shows.
        picture = QPixmap(imgDir->size());
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.setPen(Qt::black);
        painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(picture.height() - 8);
        painter.setFont(font);
        const QString arrow = letter == QStringLiteral("L") ? QStringLiteral("\u25C0 L") : QStringLiteral("R \u25B6");
        painter.drawText(picture.rect(), Qt::AlignCenter, arrow);
    }
    imgDir->setPixmap(picture);
    imgDir->setToolTip(letter == QStringLiteral("L") ? QStringLiteral("direction L") : QStringLiteral("direction R"));
}

void Form2a::showFunctionPanel()
{
    for (std::size_t i = 0; i < chkFunc.size(); ++i) {
        FunctionBox* box = chkFunc[i];
        box->setChecked(dcc_.FuncBoxTicked[i]);
        box->setText(shown(dcc_.FuncBoxCaption[i]));
        // Boxes 13 and 14 have no function behind them.
        box->setEnabled(dcc_.FuncBoxesEnabled && i < static_cast<std::size_t>(DCC::FunctionCount));
    }
    fraFuncOp->setTitle(dcc_.OperateMode ? OperateCaption : StatusCaption);
    fraFuncOp->setToolTip(dcc_.OperateMode ? QStringLiteral("F0-F12 keyboard") : QStringLiteral("click to save status"));
    mnuFuncTot->setText(dcc_.FuncTotCaption);
}

void Form2a::showRosterMenus()
{
    for (std::size_t i = 0; i < mnuUnitA.size(); ++i) {
        mnuUnitA[i]->setChecked(dcc_.EngineChosen && static_cast<int>(i) == dcc_.EngineIndex);
        // A pilot is ticked once the box has acknowledged the double header.
        mnuUnitB[i]->setChecked(static_cast<int>(i) == dcc_.PilotIndex && !dcc_.PilotPending);
    }
    // A blank name still leaves something to click in the menu bar.
    const auto title = [](const QString& name) { return name.isEmpty() ? QStringLiteral("   ") : shown(name); };
    mnuList[1]->setTitle(dcc_.EngineChosen ? title(dcc_.roster.LocoName[dcc_.EngineIndex]) : QStringLiteral("train engine"));
    mnuList[0]->setTitle(dcc_.PilotIndex != DCC::NoPilot && !dcc_.PilotPending ? title(dcc_.roster.LocoName[static_cast<std::size_t>(dcc_.PilotIndex)])
                                                         : QStringLiteral("pilot"));
    mnuChip->setText(dcc_.EngineChosen ? QStringLiteral("chip ") + dcc_.roster.LocoChip[dcc_.EngineIndex] : QString());
    mnuChip->setVisible(dcc_.EngineChosen);
    showLinkState();
}

bool Form2a::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == fraFuncOp && event->type() == QEvent::MouseButtonRelease) {
        fraFuncOp_MouseUp(vbButton(static_cast<QMouseEvent*>(event)->button()));
        return true;
    }
    if ((watched == txtChip || watched == txtLoco) && event->type() == QEvent::KeyPress)
        return filterKey(static_cast<QLineEdit*>(watched), event);
    return QWidget::eventFilter(watched, event);
}
