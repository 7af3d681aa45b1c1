#pragma once

#include <QString>

#include <array>
#include <cstdint>

// Values that several modules and windows read and write for the whole run.
// One object, created by the composition root and held by reference.
struct Shared {
    // "DC", "DCC" or "DCC + DC"; empty until chosen. Compared byte for byte.
    QString ControlSystem;
    // Serial port of the DCC box; 0 means offline.
    std::uint8_t PortNumber = 0;
    // Every DCC frame is built here and sent from here.
    std::array<std::uint8_t, 7> FrameBuf{};
    // The bytes of the last frame as shown in the status line.
    QString FrameText;
    // What the status line says about the K8055 board: empty while it answers
    // (or the system has none), "K8055 card N not answering" while it is missing.
    QString BoardState;
    // Base name of the layout bitmap.
    QString LayoutName;

    // Index of the control last pressed (throttle button, knob, coil button).
    std::uint8_t ActiveIndex = 0;
    // Element 1: the loco window's direction (true = reverse). The knobs keep
    // their own directions (DLL::KnobReversed).
    std::array<bool, 3> DirReversed{};

    // Coil request values set by the coil window.
    std::uint8_t CoilCode = 0;
    QString CoilSide;
    std::uint8_t CoilCount = 0;
    std::int16_t CoilPitch = 0;
    bool RestorePending = false;

    // Message slots of the message routine.
    QString MsgPrompt;
    QString MsgTitle;
    std::uint8_t MsgStyle = 0;

    // Full paths of the roster files, set at start-up.
    QString FunctionFilePath;
    QString LocoFilePath;

    // Loop counter shared by the roster and function-file procedures.
    std::uint8_t LoopIndex = 0;
};

namespace control_system {
inline const QString DC = QStringLiteral("DC");
inline const QString Dcc = QStringLiteral("DCC");
inline const QString DccAndDc = QStringLiteral("DCC + DC");
} // namespace control_system
