#pragma once

#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>

class Accessories;
class ImageButton;
class MimicPicture;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class SR;
struct Shared;

// The main window: toolbar, layout mimic and, in its title bar, the status
// line. It turns Qt events into calls of its handlers; the SR module decides.
class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(Shared& shared, SR& sr, Accessories& accessories);

    // Mimic.
    bool loadMimic(const QString& path, QString* error);
    void hsbScreen_Change();
    void vsbScreen_Change();
    void imgBtnScroll_MouseDown(int index, int button);
    void imgBtnScroll_MouseUp(int index, int button);
    void timPollKeys_Timer();
    void txtPercent_Click();
    void picScreen_MouseUp();

    // Toolbar and status line.
    void imgBtnTog_MouseDown(int index, int button);
    void timModem_Timer();
    void raiseByteArrayToggle();
    void imgBtnExit_MouseUp();

    // About, sound, word processor and help.
    void imgBtnAbout_Click();
    void PlaySound();
    void imgBtnWordPad_MouseUp();
    void OpenInWordPad();
    void imgBtnHelp_MouseUp();
    // The About text, nine lines ending in CR LF.
    static const QString AboutText;
    bool AboutShown = false;

    // Track and link controls (Form1_Track.cpp): the emergency stop, track
    // power off and resume, the frame monitor and the interface dialog. Only
    // the stop stays in "DC", where it stops the motors.
    void setDccControlsVisible(bool visible);
    QGroupBox* fraTrack = nullptr;
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdPowerOff = nullptr;
    QPushButton* cmdResume = nullptr;
    QPushButton* cmdMonitor = nullptr;
    QPushButton* cmdInterface = nullptr;
    QPushButton* cmdPhones = nullptr;

    // Brings the control windows to the front, as when the window is activated.
    void showControlWindows();
    void setControlWindows(QWidget* locoWindow, QWidget* coilWindow);

    std::uint8_t ScrollDirection = 0;
    std::int16_t ScrollStep = 0;

    QScrollBar* hsbScreen = nullptr;
    QScrollBar* vsbScreen = nullptr;
    MimicPicture* picScreen = nullptr;
    std::array<QLineEdit*, 3> txtPercent{};
    std::array<ImageButton*, 10> imgBtnScroll{};
    std::array<ImageButton*, 3> imgBtnTog{};
    std::array<QLabel*, 2> lblToggle{};
    std::array<QGroupBox*, 2> fraToggle{};
    QStackedWidget* modemStack = nullptr;
    ImageButton* imgBtnExit = nullptr;
    QGroupBox* fraAbout = nullptr;
    ImageButton* imgBtnAbout = nullptr;
    ImageButton* imgBtnWordPad = nullptr;
    ImageButton* imgBtnHelp = nullptr;
    QPlainTextEdit* txtAbout = nullptr; // made on the first About click
    QTimer timModem;
    QTimer timPollKeys;

signals:
    // The user ended the program (exit button or window frame).
    void exitRequested();
    // The help button: the composition root opens the help window.
    void helpRequested();
    // The track and link controls; the composition root acts on them.
    void emergencyStopRequested();
    void trackPowerOffRequested();
    void resumeRequested();
    void monitorRequested();
    void interfaceRequested();
    void phonesRequested();
    // A click on the modem picture (besides the byte display's toggle).
    void modemClicked();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildToolbar();
    QWidget* buildMimic();
    QGroupBox* buildViewToggle();
    QGroupBox* buildByteToggle();
    QWidget* buildScrollPad();
    QGroupBox* buildAboutFrame();
    void buildAboutText();
    QGroupBox* buildTrackFrame();
    void placeAboutText();
    void placeMimic();
    void scrollBy(QScrollBar* bar, int delta, QLineEdit* box);

    Shared& shared_;
    SR& sr_;
    Accessories& accessories_;
    QWidget* mimicView_ = nullptr;
    QWidget* locoWindow_ = nullptr;
    QWidget* coilWindow_ = nullptr;
    bool exiting_ = false;
};
