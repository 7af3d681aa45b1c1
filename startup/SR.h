#pragma once

#include "DataFile.h"
#include "Shared.h"
#include "WindowHost.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class Clock;
class DCC;
class Dialogs;
class ProgramFolder;

// Start-up, configuration files, status line and button layout.
class SR {
public:
    // Design height of the template coil button, twips.
    static constexpr int CoilButtonHeight = 300;
    static constexpr int CoilButtonWidth = 450;

    struct CoilButtonPlace {
        int index = 0;
        int left = 0; // twips
        int top = 0;
        int width = 0;
        QString caption;
    };

    struct StatusCaption {
        QString title;
        QString frameLabel; // lblToggle(0): "show" or "hide"
        bool modemOn = false;
    };

    SR(Shared& shared, Dialogs& dialogs, Clock& clock, const ProgramFolder& folder, DCC& dcc, WindowHost& windows);

    // Configuration files.
    void ReadControlSystem();
    void WriteControlSystem();
    void ReadLayoutName();
    void WriteLayoutName();
    void ReadWindowCoords();
    // At the end of the run: a failed write is told on standard error.
    void SaveWindowCoords();

    // Start-up.
    void Form1Load();
    void SetUpControlSystem();
    void Prompt(int number);
    void ShowMessage();

    // Status line.
    void BuildStatusText();
    void FormatFrameText();
    StatusCaption ShowStatusCaption();

    // Toolbar toggles and button layout.
    // Both return the new caption of the view toggle's label.
    QString ToggleMotorPanel();
    QString ToggleBothPanels();
    std::vector<CoilButtonPlace> LayoutCoilButtons();
    void ResetButtonSizes(int which);

    QString StatusText;
    std::array<bool, 2> PanelToggle{};
    bool ShowFrames = false;
    std::uint8_t CoilColumn = 0;
    std::int16_t CoilRowTop = 0;
    std::array<std::int16_t, 4> WindowCoords{};

    QString path(const char* literal) const;

private:
    void ChooseControlSystem();
    void AskForLayout();
    void reportWriteError(const QString& error);
    data_file::ReadResult readDataFile(const QString& path);
    std::optional<QString> readOneText(const QString& path);
    StatusCaption modemCaption();

    Shared& shared_;
    Dialogs& dialogs_;
    Clock& clock_;
    const ProgramFolder& folder_;
    DCC& dcc_;
    WindowHost& windows_;
};
