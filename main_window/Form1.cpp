// The main window's controls and layout.
#include "Form1.h"

#include "ImageButton.h"
#include "MimicPicture.h"
#include "SR.h"
#include "Shared.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

Form1::Form1(Shared& shared, SR& sr, Accessories& accessories)
    : shared_(shared)
    , sr_(sr)
    , accessories_(accessories)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Varnolix"));
    resize(1000, 700);
    setMinimumSize(640, 400);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(buildToolbar());
    layout->addWidget(buildMimic(), 1);

    timModem.setObjectName(QStringLiteral("timModem"));
    timModem.setInterval(500);
    connect(&timModem, &QTimer::timeout, this, &Form1::timModem_Timer);
    timModem.start();

    timPollKeys.setObjectName(QStringLiteral("timPollKeys"));
    timPollKeys.setInterval(40);
    connect(&timPollKeys, &QTimer::timeout, this, &Form1::timPollKeys_Timer);
}

QWidget* Form1::buildToolbar()
{
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("toolbar"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);

    // The byte-display toggle stands beside the view toggle, shown in the
    // DCC systems; "DCC + DC" needs both, or its motors are out of reach.
    row->addWidget(buildViewToggle());
    row->addWidget(buildByteToggle());
    fraToggle[0]->hide();
    row->addWidget(buildTrackFrame());
    row->addWidget(buildAboutFrame());

    auto* program = new QGroupBox(QStringLiteral("program"), bar);
    program->setObjectName(QStringLiteral("fraProgram"));
    auto* programRow = new QHBoxLayout(program);
    imgBtnHelp = new ImageButton(program);
    imgBtnHelp->setObjectName(QStringLiteral("imgBtnHelp"));
    imgBtnHelp->setPicture(QStringLiteral(":/images/help.png"), QStringLiteral("help"));
    imgBtnHelp->setToolTip(QStringLiteral("help"));
    connect(imgBtnHelp, &ImageButton::mouseReleased, this, [this](int) { imgBtnHelp_MouseUp(); });
    programRow->addWidget(imgBtnHelp);
    imgBtnExit = new ImageButton(program);
    imgBtnExit->setObjectName(QStringLiteral("imgBtnExit"));
    imgBtnExit->setPicture(QStringLiteral(":/images/exit.png"), QStringLiteral("exit"));
    imgBtnExit->setToolTip(QStringLiteral("save the window places and end Varnolix"));
    connect(imgBtnExit, &ImageButton::mouseReleased, this, [this](int) { imgBtnExit_MouseUp(); });
    programRow->addWidget(imgBtnExit);
    row->addWidget(program);

    row->addStretch(1);
    row->addWidget(buildScrollPad());
    return bar;
}

QGroupBox* Form1::buildViewToggle()
{
    auto* frame = new QGroupBox(QStringLiteral("display"));
    frame->setObjectName(QStringLiteral("fraToggle_1"));
    fraToggle[1] = frame;
    auto* row = new QHBoxLayout(frame);
    imgBtnTog[0] = new ImageButton(frame);
    imgBtnTog[0]->setObjectName(QStringLiteral("imgBtnTog_0"));
    imgBtnTog[0]->setPicture(QStringLiteral(":/images/view_toggle.png"), QStringLiteral("view"));
    imgBtnTog[0]->setToolTip(QStringLiteral("modem OFF"));
    connect(imgBtnTog[0], &ImageButton::mousePressed, this, [this](int b) { imgBtnTog_MouseDown(0, b); });
    lblToggle[1] = new QLabel(QStringLiteral("motors"), frame);
    lblToggle[1]->setObjectName(QStringLiteral("lblToggle_1"));
    lblToggle[1]->setMinimumWidth(64);
    row->addWidget(imgBtnTog[0]);
    row->addWidget(lblToggle[1]);
    return frame;
}

QGroupBox* Form1::buildByteToggle()
{
    auto* frame = new QGroupBox(QStringLiteral("byte array"));
    frame->setObjectName(QStringLiteral("fraToggle_0"));
    fraToggle[0] = frame;
    auto* row = new QHBoxLayout(frame);
    // The "modem OFF" and "modem ON" pictures lie one above the other; the
    // status tick brings the right one to the front.
    modemStack = new QStackedWidget(frame);
    modemStack->setObjectName(QStringLiteral("modemStack"));
    const char* names[] = {nullptr, "modem_off", "modem_on"};
    const char* tips[] = {nullptr, "modem OFF", "modem ON"};
    for (int i = 1; i <= 2; ++i) {
        imgBtnTog[i] = new ImageButton(modemStack);
        imgBtnTog[i]->setObjectName(QStringLiteral("imgBtnTog_%1").arg(i));
        imgBtnTog[i]->setPicture(QStringLiteral(":/images/%1.png").arg(QLatin1String(names[i])), QLatin1String(tips[i]));
        imgBtnTog[i]->setToolTip(QLatin1String(tips[i]));
        connect(imgBtnTog[i], &ImageButton::mousePressed, this, [this, i](int b) { imgBtnTog_MouseDown(i, b); });
        modemStack->addWidget(imgBtnTog[i]);
    }
    lblToggle[0] = new QLabel(QStringLiteral("hide"), frame);
    lblToggle[0]->setObjectName(QStringLiteral("lblToggle_0"));
    lblToggle[0]->setMinimumWidth(64);
    row->addWidget(modemStack);
    row->addWidget(lblToggle[0]);
    return frame;
}

QWidget* Form1::buildScrollPad()
{
    auto* pad = new QWidget(this);
    pad->setObjectName(QStringLiteral("scrollPad"));
    auto* grid = new QGridLayout(pad);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    struct Arrow {
        int index;
        const char* picture;
        const char* fallback;
        int row;
        int column;
    };
    const Arrow arrows[] = {{0, "arrow_up", "^", 0, 1}, {3, "arrow_right", ">", 1, 2},
                            {6, "arrow_down", "v", 2, 1}, {9, "arrow_left", "<", 1, 0}};
    for (const Arrow& a : arrows) {
        auto* button = new ImageButton(pad);
        button->setObjectName(QStringLiteral("imgBtnScroll_%1").arg(a.index));
        button->setPicture(QStringLiteral(":/images/%1.png").arg(QLatin1String(a.picture)), QLatin1String(a.fallback));
        button->setToolTip(QStringLiteral("hold to scroll the layout"));
        const int index = a.index;
        connect(button, &ImageButton::mousePressed, this, [this, index](int b) { imgBtnScroll_MouseDown(index, b); });
        connect(button, &ImageButton::mouseReleased, this, [this, index](int b) { imgBtnScroll_MouseUp(index, b); });
        imgBtnScroll[static_cast<std::size_t>(a.index)] = button;
        grid->addWidget(button, a.row, a.column);
    }
    for (int i = 1; i <= 2; ++i) {
        auto* box = new QLineEdit(QStringLiteral("0%"), pad);
        box->setObjectName(QStringLiteral("txtPercent_%1").arg(i));
        box->setToolTip(QStringLiteral("0% click"));
        box->setReadOnly(true);
        // Only a click matters here; the box never needs the keyboard.
        box->setFocusPolicy(Qt::NoFocus);
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(52);
        box->installEventFilter(this);
        txtPercent[static_cast<std::size_t>(i)] = box;
    }
    // Horizontal position beside the left/right arrows, vertical beside up/down.
    grid->addWidget(txtPercent[1], 1, 3);
    grid->addWidget(txtPercent[2], 0, 3);
    return pad;
}

QWidget* Form1::buildMimic()
{
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("mimicArea"));
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    mimicView_ = new QWidget(area);
    mimicView_->setObjectName(QStringLiteral("mimicView"));
    mimicView_->setAutoFillBackground(true);
    QPalette dark = mimicView_->palette();
    dark.setColor(QPalette::Window, QColor(30, 34, 40));
    mimicView_->setPalette(dark);
    mimicView_->installEventFilter(this);

    picScreen = new MimicPicture(mimicView_);
    picScreen->setObjectName(QStringLiteral("picScreen"));
    picScreen->installEventFilter(this);

    hsbScreen = new QScrollBar(Qt::Horizontal, area);
    hsbScreen->setObjectName(QStringLiteral("hsbScreen"));
    hsbScreen->setRange(0, 32750);
    vsbScreen = new QScrollBar(Qt::Vertical, area);
    vsbScreen->setObjectName(QStringLiteral("vsbScreen"));
    vsbScreen->setRange(0, 32767);
    for (QScrollBar* bar : {hsbScreen, vsbScreen}) {
        bar->setSingleStep(100);
        bar->setPageStep(2600);
    }
    connect(hsbScreen, &QScrollBar::valueChanged, this, &Form1::hsbScreen_Change);
    connect(vsbScreen, &QScrollBar::valueChanged, this, &Form1::vsbScreen_Change);

    grid->addWidget(mimicView_, 0, 0);
    grid->addWidget(vsbScreen, 0, 1);
    grid->addWidget(hsbScreen, 1, 0);
    return area;
}

void Form1::setControlWindows(QWidget* locoWindow, QWidget* coilWindow)
{
    locoWindow_ = locoWindow;
    coilWindow_ = coilWindow;
}

void Form1::showControlWindows()
{
    if (locoWindow_ && shared_.ControlSystem != control_system::DC) {
        locoWindow_->show();
        locoWindow_->raise();
    }
    if (coilWindow_) {
        coilWindow_->show();
        coilWindow_->raise();
    }
}

void Form1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        showControlWindows();
}

void Form1::closeEvent(QCloseEvent* event)
{
    // Closing through the window frame ends the program as the exit button does.
    if (!exiting_) {
        event->ignore();
        imgBtnExit_MouseUp();
        return;
    }
    event->accept();
}

void Form1::imgBtnExit_MouseUp()
{
    if (exiting_)
        return;
    exiting_ = true;
    sr_.SaveWindowCoords();
    emit exitRequested();
}
