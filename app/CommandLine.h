#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The program's options. Parsing is separate from acting on them, so every
// combination is tested without starting anything.
struct CommandLine {
    enum class Action {
        Run,   // start the program
        Print, // print `text` on standard output and end (help, version)
        Fail,  // print `text` on standard error and end with code 2
    };

    Action action = Action::Run;
    QString text;
    QString dataFolder; // --data DIR, made absolute; empty when not given
    bool demo = false;
    bool unattended = false;
    bool chooseInterface = false; // --interface
    bool phones = false;          // --withrottle[=PORT]
    std::uint16_t phonePort = 0;  // PORT; 0 for the stored one

    // `arguments` as QCoreApplication::arguments() gives them, the program first.
    static CommandLine parse(const QStringList& arguments, const QString& version);
};
