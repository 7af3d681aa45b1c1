#include "Form2b.h"

#include "ImageButton.h"
#include "KnobFallback.h"
#include "Picture.h"
#include "ProgramFolder.h"
#include "SR.h"
#include "Shared.h"
#include "TwipsGeometry.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr int PanelWidth = 276; // pixels, the panel picture's own size
constexpr int PanelHeight = 119;
constexpr int KnobSize = 56;

// Stands in for a missing panel picture: a plain dark face with the knob names.
QPixmap plainPanel()
{
    QPixmap panel(PanelWidth, PanelHeight);
    panel.fill(QColor(0x3b, 0x3f, 0x44));
    QPainter p(&panel);
    p.setPen(QColor(0xd8, 0xdc, 0xe0));
    for (int k = 1; k <= 2; ++k)
        p.drawText(QRect(Form2b::KnobCentreX[k] - 20, 100, 40, 16), Qt::AlignCenter, k == 1 ? QStringLiteral("A") : QStringLiteral("B"));
    return panel;
}

} // namespace

Form2b::Form2b(Shared& shared, SR& sr, DLL& dll, const ProgramFolder& folder, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , shared_(shared)
    , sr_(sr)
    , dll_(dll)
    , folder_(folder)
{
    setObjectName(QStringLiteral("Form2b"));
    setWindowTitle(QStringLiteral("DC solenoid control "));
    // Eight rows of coil buttons with room for one magnified in the last
    // row; the motor panel fits the same height.
    twips::resizeClient(this, 4260, 2820);
    // Background moves shrink an enlarged coil button back.
    setMouseTracking(true);

    cmdCoilTemplate = new QPushButton(this);
    cmdCoilTemplate->setObjectName(QStringLiteral("cmdCoil_0"));
    // Just above the visible area: the template and the focus sink.
    twips::place(cmdCoilTemplate, 0, -SR::CoilButtonHeight, SR::CoilButtonWidth, SR::CoilButtonHeight);
    cmdCoil.push_back(cmdCoilTemplate);

    coilMagnifier = new QPushButton(this);
    coilMagnifier->setObjectName(QStringLiteral("coilMagnifier"));
    coilMagnifier->setAttribute(Qt::WA_TransparentForMouseEvents);
    coilMagnifier->setFocusPolicy(Qt::NoFocus);
    coilMagnifier->hide();

    // Carries the index of the coil button under the mouse; its change
    // shrinks the buttons back. Nothing for the user to see.
    txtMouseMove = new QLineEdit(QStringLiteral("0"), this);
    txtMouseMove->setObjectName(QStringLiteral("txtMouseMove"));
    twips::place(txtMouseMove, 0, 0, 75, 195);
    txtMouseMove->hide();
    connect(txtMouseMove, &QLineEdit::textChanged, this, [this] { txtMouseMove_Change(); });

    buildMotorPanel();

    // A pulse cut twice never fired its coil: the caption says so.
    dll_.notFired = [this](std::uint8_t code) {
        setWindowTitle(QStringLiteral("DC solenoid control %1 not fired, click again").arg(code));
    };
}

void Form2b::buildMotorPanel()
{
    fraBoxHM = new QFrame(this);
    fraBoxHM->setObjectName(QStringLiteral("fraBoxHM"));
    twips::place(fraBoxHM, 0, 0, 4250, 1790);
    fraBoxHM->hide();

    picBoxHM = new QLabel(fraBoxHM);
    picBoxHM->setObjectName(QStringLiteral("picBoxHM"));
    picBoxHM->setToolTip(QStringLiteral("click L or R"));
    picBoxHM->setGeometry((fraBoxHM->width() - PanelWidth) / 2, 0, PanelWidth, PanelHeight);
    const QPixmap panel = loadPicture(folder_.resolve(QStringLiteral("\\Data\\VM110\\BoxHM.bmp")));
    picBoxHM->setPixmap(panel.isNull() ? plainPanel() : panel);
    // Moves over the panel count as background moves of the window.
    fraBoxHM->setMouseTracking(true);
    picBoxHM->setMouseTracking(true);

    QFont percent = font();
    percent.setPointSize(9);
    percent.setBold(true);
    for (int k = 1; k <= 2; ++k) {
        // The knobs sit on the wells of the drawn panel.
        auto* knob = new QLabel(picBoxHM);
        knob->setObjectName(QStringLiteral("picKnob_%1").arg(k));
        knob->setGeometry(KnobCentreX[k] - KnobSize / 2, KnobCentreY - KnobSize / 2, KnobSize, KnobSize);
        knob->setCursor(Qt::PointingHandCursor);
        knob->installEventFilter(this);
        picKnob[static_cast<std::size_t>(k)] = knob;

        auto* label = new QLabel(QStringLiteral("0"), picBoxHM);
        label->setObjectName(QStringLiteral("lblPwm_%1").arg(k));
        label->setGeometry(KnobCentreX[k] - 20, KnobCentreY + KnobSize / 2 + 1, 40, 16);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(percent);
        label->setStyleSheet(QStringLiteral("color: #2a2d31; background: transparent;"));
        label->setToolTip(QStringLiteral("motor speed in percent"));
        lblPwm[static_cast<std::size_t>(k)] = label;
    }
}

void Form2b::Form_Load()
{
    if (loaded_)
        return;
    loaded_ = true;
    shared_.CoilPitch = static_cast<std::int16_t>(SR::CoilButtonWidth + 10);
    ZoomWidth = static_cast<std::int16_t>(2 * shared_.CoilPitch);
    ZoomHeight = 2.0f * (SR::CoilButtonHeight + 10);
    dll_.KnobDir[1] = dll_.KnobDir[2] = QStringLiteral("Fwd");
    showKnobs();
    show();
    const bool dcc = shared_.ControlSystem == control_system::Dcc;
    shared_.CoilCount = dcc ? 99 : 64;
    cmdCoilTemplate->setToolTip(dcc ? QStringLiteral("click L or R") : QStringLiteral("click"));
    for (const SR::CoilButtonPlace& place : sr_.LayoutCoilButtons()) {
        auto* button = new QPushButton(place.caption, this);
        button->setObjectName(QStringLiteral("cmdCoil_%1").arg(place.index));
        button->setToolTip(cmdCoilTemplate->toolTip());
        twips::place(button, place.left, place.top, place.width, SR::CoilButtonHeight);
        button->setMouseTracking(true);
        button->installEventFilter(this);
        button->show();
        cmdCoil.push_back(button);
    }
    if (fraBoxHM->isVisible())
        fraBoxHM->raise();
}

void Form2b::showView(const WindowHost::CoilView& view)
{
    for (std::size_t i = 1; i < cmdCoil.size(); ++i)
        cmdCoil[i]->setVisible(view.coilsVisible);
    coilMagnifier->hide();
    fraBoxHM->move(twips::toPixels(view.motorFrameLeft), fraBoxHM->y());
    fraBoxHM->setVisible(view.motorFrameVisible);
    if (view.motorFrameVisible)
        fraBoxHM->raise();
    setWindowTitle(view.caption);
    resize(twips::toPixels(view.width), height());
}

void Form2b::showKnobs()
{
    for (int k = 1; k <= 2; ++k) {
        lblPwm[static_cast<std::size_t>(k)]->setText(dll_.knobPercent(k));
        showKnob(dll_.knobPicture(k));
    }
}

void Form2b::setCoilButtonSizes(int widthTw, int heightTw, int fontPt)
{
    for (std::size_t i = 1; i < cmdCoil.size(); ++i) {
        QPushButton* button = cmdCoil[i];
        QFont font = button->font();
        font.setPointSize(fontPt);
        button->setFont(font);
        button->resize(twips::toPixels(widthTw), twips::toPixels(heightTw));
    }
    coilMagnifier->hide();
}

void Form2b::cmdCoil_MouseMove(int Index)
{
    if (Index < 1 || Index >= static_cast<int>(cmdCoil.size()))
        return;
    shared_.ActiveIndex = static_cast<std::uint8_t>(Index);
    // A different button: the change handler shrinks every button first.
    txtMouseMove->setText(QString::number(Index));
    const QPushButton* button = cmdCoil[static_cast<std::size_t>(Index)];
    coilMagnifier->setText(button->text());
    QFont font = button->font();
    font.setPointSize(24);
    coilMagnifier->setFont(font);
    coilMagnifier->setDown(button->isDown());
    // Over its neighbours, growing right and down from the button's corner.
    coilMagnifier->setGeometry(button->x(), button->y(), twips::toPixels(ZoomWidth),
                               twips::toPixels(static_cast<int>(ZoomHeight)));
    coilMagnifier->show();
    coilMagnifier->raise();
    // Also when the mouse came back to the same button: the next move onto
    // the background shrinks it again.
    shared_.RestorePending = true;
}

void Form2b::txtMouseMove_Change()
{
    sr_.ResetButtonSizes(0);
}

void Form2b::Form_MouseMove()
{
    if (!shared_.RestorePending)
        return;
    sr_.ResetButtonSizes(0);
    shared_.RestorePending = false;
}

void Form2b::cmdCoil_MouseUp(int Index, int Button)
{
    if (Index < 1 || Index >= static_cast<int>(cmdCoil.size()))
        return;
    cmdCoilTemplate->setFocus();
    const QString caption = cmdCoil[static_cast<std::size_t>(Index)]->text();
    // The coil number is the button's index in every system; in "DCC" it is
    // the accessory number (see DLL::SwitchCoil).
    shared_.CoilCode = static_cast<std::uint8_t>(2 * Index);
    if (shared_.ControlSystem == control_system::Dcc) {
        shared_.CoilSide = Button == 1 ? QStringLiteral("L") : QStringLiteral("R");
        setWindowTitle(QStringLiteral("DCC solenoid control ") + caption + shared_.CoilSide);
    } else {
        setWindowTitle(QStringLiteral("DC solenoid control ") + caption);
    }
    dll_.SwitchCoil();
}

void Form2b::picKnob_MouseDown(int Index, int Button)
{
    shared_.ActiveIndex = static_cast<std::uint8_t>(Index);
    dll_.KnobButton = static_cast<std::uint8_t>(Button);
    const QString percent = dll_.StepMotorSpeed();
    if (!percent.isEmpty())
        lblPwm[static_cast<std::size_t>(Index)]->setText(percent);
}

void Form2b::picKnob_MouseUp(int Index, int /*Button*/)
{
    // The released knob, even if a hover in between named a coil button.
    shared_.ActiveIndex = static_cast<std::uint8_t>(Index);
    const QString percent = dll_.StepMotorSpeed();
    if (!percent.isEmpty())
        lblPwm[static_cast<std::size_t>(Index)]->setText(percent);
    showKnob(dll_.ShowKnob());
}

void Form2b::picKnob_DblClick(int Index)
{
    const std::size_t k = static_cast<std::size_t>(Index);
    if (dll_.KnobFrame[k] > 0) {
        // Stands in for the second press the double click does not deliver.
        const int active = shared_.ActiveIndex;
        if ((active == 1 || active == 2) && dll_.MotorStep[static_cast<std::size_t>(active)] > 0) {
            const QString percent = dll_.StepMotorSpeed();
            lblPwm[static_cast<std::size_t>(active)]->setText(percent);
        }
        return;
    }
    // At stop: the motor's direction changes and its relay is fired.
    dll_.KnobReversed[k] = !dll_.KnobReversed[k];
    if (dll_.KnobReversed[k]) {
        shared_.CoilCode = static_cast<std::uint8_t>(2 * (Index + 2));
        dll_.KnobDir[k] = QStringLiteral("Rev");
    } else {
        shared_.CoilCode = static_cast<std::uint8_t>(2 * Index);
        dll_.KnobDir[k] = QStringLiteral("Fwd");
    }
    dll_.PulseCoil();
}

void Form2b::showKnob(const DLL::KnobPicture& picture)
{
    if (picture.knob != 1 && picture.knob != 2)
        return;
    QPixmap pixmap = loadPicture(picture.path);
    if (pixmap.isNull())
        pixmap = knob_fallback::draw(picture.direction, picture.frame);
    QLabel* knob = picKnob[static_cast<std::size_t>(picture.knob)];
    knob->setPixmap(pixmap);
    knob->setProperty("knobPicture", QStringLiteral("%1%2").arg(picture.direction).arg(picture.frame));
}

int Form2b::indexOf(const QObject* control, const std::array<QLabel*, 3>& controls) const
{
    for (std::size_t i = 1; i < controls.size(); ++i)
        if (controls[i] == control)
            return static_cast<int>(i);
    return 0;
}

bool Form2b::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (const int knob = indexOf(watched, picKnob)) {
        const auto button = [event] { return vbButton(static_cast<QMouseEvent*>(event)->button()); };
        switch (type) {
        case QEvent::MouseButtonPress:
            picKnob_MouseDown(knob, button());
            return true;
        case QEvent::MouseButtonRelease:
            picKnob_MouseUp(knob, button());
            return true;
        case QEvent::MouseButtonDblClick:
            picKnob_DblClick(knob);
            return true;
        default:
            return QWidget::eventFilter(watched, event);
        }
    }
    if (type == QEvent::MouseMove || type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) {
        for (std::size_t i = 1; i < cmdCoil.size(); ++i) {
            if (cmdCoil[i] != watched)
                continue;
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (type == QEvent::MouseMove) {
                // While a button is held, moves go to the pressed button
                // wherever the pointer is: only moves over it count.
                if (cmdCoil[i]->rect().contains(mouse->position().toPoint()))
                    cmdCoil_MouseMove(static_cast<int>(i));
                // Taken here: passed on, it would reach the window's
                // background handler and shrink the button at once.
                return true;
            }
            coilMagnifier->setDown(type == QEvent::MouseButtonPress);
            // A release away from the pressed button fires nothing, as a
            // button dragged off is not clicked.
            if (type == QEvent::MouseButtonRelease && cmdCoil[i]->rect().contains(mouse->position().toPoint()))
                cmdCoil_MouseUp(static_cast<int>(i), vbButton(mouse->button()));
            break;
        }
    }
    // The button still sees its press and release, so it looks pressed and released.
    return QWidget::eventFilter(watched, event);
}

void Form2b::mouseMoveEvent(QMouseEvent* event)
{
    Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}
