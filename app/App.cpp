#include "App.h"

#include "ConnectProgress.h"
#include "Form1a.h"
#include "Form2.h"
#include "Form2a.h"
#include "Form2b.h"
#include "FrameMonitor.h"
#include "InterfaceDialog.h"
#include "PhoneDialog.h"
#include "K8055.h"
#include "ProgramEnd.h"
#include "StopSignals.h"
#include "Twips.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>

App::App(const ProgramFolder& folder, Dialogs& dialogs, Clock& clock, DccLink& link, K8055Board& board,
         DesktopServices desktop)
    : folder_(folder)
    , clock_(clock)
    , dialogs_(dialogs)
    , dcc_(shared_, link, clock, dialogs, folder)
    , sr_(shared_, dialogs, clock, folder, dcc_, *this)
    , board_(board)
    , ls_(shared_, dcc_)
    , dll_(shared_, board_, clock, sr_, ls_, folder)
    , boardWatch_(shared_, board_, dialogs)
    , accessories_(folder, dialogs, desktop.sound, desktop.launcher)
    , form1_(shared_, sr_, accessories_)
    , phoneLayout_(shared_, dcc_,
                   [this](int number, bool thrown) {
                       // Later, from the event loop: the switching waits out its
                       // pulse, and a phone's command must not wait inside it.
                       QMetaObject::invokeMethod(
                           &form1_, [this, number, thrown] { dll_.SwitchAccessory(number, thrown); },
                           Qt::QueuedConnection);
                   })
{
    QObject::connect(&form1_, &Form1::helpRequested, &form1_, [this] { showHelpWindow(); });
    // The exit button and the window frame save the places, then end here.
    QObject::connect(&form1_, &Form1::exitRequested, &form1_, [this] { finishRun(); });
    wireTrackControls();
    wirePhones(desktop);
}

void App::wireTrackControls()
{
    dcc_.ChooseInterface = [this] { return chooseInterface(); };
    QObject::connect(&form1_, &Form1::emergencyStopRequested, &form1_, [this] { emergencyStop(); });
    QObject::connect(&form1_, &Form1::trackPowerOffRequested, &form1_, [this] { dcc_.TrackPowerOff(); });
    QObject::connect(&form1_, &Form1::resumeRequested, &form1_, [this] { dcc_.ResumeOperation(); });
    QObject::connect(&form1_, &Form1::monitorRequested, &form1_, [this] { showMonitor(); });
    QObject::connect(&form1_, &Form1::interfaceRequested, &form1_, [this] {
        if (chooseInterface())
            dcc_.ConnectAgain();
    });
    QObject::connect(&form1_, &Form1::modemClicked, &form1_, [this] {
        if (!dcc_.Online())
            dcc_.ReconnectNow();
    });
    // While the box is looked for, a small window says so and can stop it.
    connectProgress_ = std::make_unique<ConnectProgress>(dcc_);
    // The status line follows the box at once rather than at the next tick.
    QObject::connect(&dcc_.Events, &DccEvents::linkChanged, &form1_, [this] { form1_.timModem_Timer(); });
    // Keys that work in every window of the program (dialogs excepted).
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &form1_);
    escape->setContext(Qt::ApplicationShortcut);
    // A held Escape is one stop, not one per auto-repeat.
    escape->setAutoRepeat(false);
    QObject::connect(escape, &QShortcut::activated, &form1_, [this] { escapePressed(); });
    auto* f12 = new QShortcut(QKeySequence(Qt::Key_F12), &form1_);
    f12->setContext(Qt::ApplicationShortcut);
    QObject::connect(f12, &QShortcut::activated, &form1_, [this] { showMonitor(); });
}

void App::escapePressed()
{
    // Escape always stops, wherever it is pressed; an open new-loco panel
    // closes too.
    emergencyStop();
    if (form2a_)
        form2a_->cancelOpenEntry();
}

void App::emergencyStop()
{
    dcc_.EmergencyStop();
    dll_.StopAll();
    if (form2b_)
        form2b_->showKnobs();
    // The throttle shows the loco as it now is: stopped.
    sr_.ResetButtonSizes(1);
}

void App::showMonitor()
{
    if (!monitor_)
        monitor_ = std::make_unique<FrameMonitor>(dcc_.Log, clock_, dialogs_);
    monitor_->show();
    monitor_->raise();
    monitor_->activateWindow();
}

bool App::chooseInterface()
{
    InterfaceDialog dialog(dcc_, dcc_.ChosenPort(), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dcc_.StoreInterface(dialog.settings(), dialog.portNumber());
    return true;
}

void App::chooseInterfaceBeforeStart()
{
    dcc_.ReadPortFile();
    dcc_.ReadInterfaceFile();
    chooseInterface();
}

App::~App()
{
    exitHook_.reset();
    // Every end of the run comes here: the board keeps its outputs after the
    // program has gone, so no coil may be left on and no motor running.
    board_.ClearAllDigital();
    board_.ClearAllAnalog();
    board_.CloseDevice();
}

void App::endRun()
{
    if (ended_)
        return;
    if (started_)
        form1_.imgBtnExit_MouseUp(); // saves the places, then finishRun
    else
        finishRun();
}

void App::finishRun()
{
    if (ended_)
        return;
    ended_ = true;
    // The exit may come while a coil pulse waits: that pulse ends now.
    dll_.abortCoils();
    // exit(), not quit(): quit() first asks every window to close and gives
    // up when one refuses (the help window only hides); exit() also ends a
    // start-up dialog's loop.
    if (starting_ || loopRunning_)
        QCoreApplication::exit(0);
}

void App::endAtProcessExit()
{
    if (ended_)
        return;
    // No event loop runs any more: the outputs go off first, then the places
    // are saved while the windows still stand.
    ended_ = true;
    dll_.abortCoils();
    if (started_)
        form1_.imgBtnExit_MouseUp();
}

void App::watchExitPaths()
{
    onStopSignals(&form1_, [this] { endRun(); });
    QCoreApplication* application = QCoreApplication::instance();
    if (auto* gui = qobject_cast<QGuiApplication*>(application))
        QObject::connect(gui, &QGuiApplication::commitDataRequest, &form1_, [this] { endRun(); });
    QObject::connect(application, &QCoreApplication::aboutToQuit, &form1_, [this] { endRun(); });
    exitHook_ = std::make_unique<ExitHook>([this] { endAtProcessExit(); });
}

int App::runEventLoop()
{
    if (ended_)
        return 0;
    loopRunning_ = true;
    const int result = QCoreApplication::exec();
    loopRunning_ = false;
    return result;
}

void App::showHelpWindow()
{
    if (!form1a_) {
        form1a_ = std::make_unique<Form1a>(folder_);
        form1a_->Form_Load();
    }
    form1a_->show();
    form1a_->raise();
    form1a_->activateWindow();
}

bool App::start()
{
    starting_ = true;
    try {
        sr_.Form1Load();
    } catch (const ProgramEnd&) {
        starting_ = false;
        return false;
    }
    starting_ = false;
    if (ended_)
        return false;
    started_ = true;
    form1_.setControlWindows(form2a_.get(), form2b_.get());
    form1_.setDccControlsVisible(shared_.ControlSystem != control_system::DC);
    form1_.timModem_Timer();
    form1_.show();
    form1_.showControlWindows();
    return true;
}

Form2a& App::locoWindow()
{
    if (!form2a_) {
        form2a_ = std::make_unique<Form2a>(shared_, dcc_, sr_, folder_);
        // The keyboard throttle works on the mimic as in the loco window.
        form2a_->takeThrottleKeysFrom(&form1_);
    }
    return *form2a_;
}

Form2b& App::coilWindow()
{
    if (!form2b_)
        form2b_ = std::make_unique<Form2b>(shared_, sr_, dll_, folder_);
    if (!form2b_->loaded())
        form2b_->Form_Load();
    return *form2b_;
}

void App::loadBoardPanel()
{
    if (form2_)
        return;
    form2_ = std::make_unique<Form2>(board_, board_);
    // The panel's connection is the one the watch keeps an eye on; a board
    // found again is opened through the panel, which then polls it again.
    QObject::connect(form2_.get(), &Form2::cardConnected, form2_.get(),
                     [this](int card, bool opened) { boardWatch_.cardConnected(card, opened); });
    boardWatch_.reconnect = [this] { form2_->ConnectCard(); };
    boardWatch_.reopened = [this] {
        dll_.motorsAtStop();
        if (form2b_)
            form2b_->showKnobs();
    };
    boardWatch_.cardConnected(form2_->CardAddress, form2_->cardOpen());
}

void App::loadLocoWindow()
{
    locoWindow();
}

void App::loadCoilWindow()
{
    coilWindow();
}

void App::setCoilWindowCaptionAndSize(const QString& caption, int heightTw, int widthTw)
{
    Form2b& window = coilWindow();
    window.setWindowTitle(caption);
    window.resize(twips::toPixels(widthTw), twips::toPixels(heightTw));
}

bool App::loadMimic(const QString& path, QString* error)
{
    return form1_.loadMimic(path, error);
}

void App::raiseByteArrayToggle()
{
    form1_.raiseByteArrayToggle();
}

App::Places App::defaultPlaces() const
{
    // Loco window bottom left, coil window at the right, both on the
    // primary screen whatever its size. A window not built is taken at its
    // usual size (the loco window: its fixed panel under a menu bar).
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    const QSize loco = form2a_ ? form2a_->frameGeometry().size()
                               : QSize(twips::toPixels(8025), twips::toPixels(1200) + 30);
    const QSize coil = form2b_ ? form2b_->frameGeometry().size() : QSize(284, 273);
    // Before a window is first shown its frame is not known: room is kept
    // for a title bar, so the throttle row is not cut off by the screen's edge.
    constexpr int titleBar = 40;
    const int locoTop = std::max(area.top(), area.bottom() - loco.height() - titleBar - 20);
    const int coilLeft = std::max(area.left(), area.right() - coil.width() - 20);
    return {twips::fromPixels(locoTop), twips::fromPixels(area.left() + 20), twips::fromPixels(area.top() + 60),
            twips::fromPixels(coilLeft)};
}

namespace {

// A window counts as on screen when a good part of its title bar is.
bool titleOnScreen(const QPoint& topLeft, int width)
{
    const QRect title(topLeft, QSize(std::max(width, 100), 30));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shared = screen->availableGeometry().intersected(title);
        if (shared.width() >= 60 && shared.height() >= 10)
            return true;
    }
    return false;
}

} // namespace

void App::placeControlWindows(const std::optional<Places>& places)
{
    // Every system but "DC" drives locos: placing the loco window builds it.
    if (shared_.ControlSystem != control_system::DC)
        locoWindow();
    const Places defaults = defaultPlaces();
    places_ = places.value_or(defaults);
    QWidget* windows[2] = {form2a_.get(), form2b_.get()};
    for (int w = 0; w < 2; ++w) {
        if (!windows[w])
            continue;
        const std::size_t top = static_cast<std::size_t>(2 * w);
        QPoint position(twips::toPixels(places_[top + 1]), twips::toPixels(places_[top]));
        if (!titleOnScreen(position, windows[w]->width()))
            position = QPoint(twips::toPixels(defaults[top + 1]), twips::toPixels(defaults[top]));
        windows[w]->move(position);
    }
}

App::Places App::controlWindowPlaces() const
{
    Places places = places_;
    if (form2a_) {
        places[0] = twips::fromPixels(form2a_->y());
        places[1] = twips::fromPixels(form2a_->x());
    }
    if (form2b_) {
        places[2] = twips::fromPixels(form2b_->y());
        places[3] = twips::fromPixels(form2b_->x());
    }
    return places;
}

void App::showCoilView(const CoilView& view)
{
    if (form2b_)
        form2b_->showView(view);
}

void App::setCoilButtonSizes(int widthTw, int heightTw, int fontPt)
{
    if (form2b_)
        form2b_->setCoilButtonSizes(widthTw, heightTw, fontPt);
}

void App::setLocoButtonHeight(int index, int heightTw)
{
    if (form2a_)
        form2a_->setLocoButtonHeight(index, heightTw);
}
