#pragma once

#include <QString>

#include <array>
#include <optional>

// What the start-up and the toolbar routines ask of the windows. The
// composition root implements it over the real windows; tests record calls.
class WindowHost {
public:
    // Loco window top/left, coil window top/left, in twips.
    using Places = std::array<int, 4>;

    // The coil window's view as the toolbar toggles leave it.
    struct CoilView {
        bool coilsVisible = true;
        bool motorFrameVisible = false;
        int motorFrameLeft = 0; // twips
        QString caption;
        int width = 0; // twips
    };

    virtual ~WindowHost() = default;

    // Creates the board window hidden; that connects the K8055 board.
    virtual void loadBoardPanel() = 0;
    virtual void loadLocoWindow() = 0;
    // Loads the coil window if it is not loaded yet (its own load lays out
    // the coil buttons and shows it).
    virtual void loadCoilWindow() = 0;
    virtual void setCoilWindowCaptionAndSize(const QString& caption, int heightTw, int widthTw) = 0;
    // Shows the bitmap in the mimic; false and a reason when it cannot be read.
    virtual bool loadMimic(const QString& path, QString* error) = 0;
    virtual void raiseByteArrayToggle() = 0;

    // Places the control windows; nullopt asks for default places. Places
    // that would put a window off every screen are brought back on screen.
    virtual void placeControlWindows(const std::optional<Places>& places) = 0;
    virtual Places controlWindowPlaces() const = 0;

    virtual void showCoilView(const CoilView& view) = 0;
    virtual void setCoilButtonSizes(int widthTw, int heightTw, int fontPt) = 0;
    virtual void setLocoButtonHeight(int index, int heightTw) = 0;
};
