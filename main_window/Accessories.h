#pragma once

#include <QString>
#include <QStringList>

class Dialogs;
class Launcher;
class ProgramFolder;
class Sound;

// The toolbar's small services beside the help window: the About sound and
// the word processor that opens the control-system file.
class Accessories {
public:
    // What the word-processor button starts: a program with its arguments,
    // or, when the program folder holds no word processor, the document
    // alone for the desktop's default editor.
    struct WordPadCommand {
        QString program; // empty: open document with the default editor
        QStringList arguments;
        QString document;
    };

    // Either service may be missing: no sound then, and the word processor
    // cannot be started (the user is told).
    Accessories(const ProgramFolder& folder, Dialogs& dialogs, Sound* sound, Launcher* launcher);

    // A path in the program folder, from a literal such as "\telephone.wav".
    QString programFile(const char* literal) const;
    // The data folder in use, for the user to see.
    QString dataFolder() const;

    // Plays SoundFile once; silence when it or the audio device is missing.
    void PlaySound();
    // Opens data\text\version.txt in the word processor; says so when
    // nothing can be started.
    void OpenInWordPad();

    WordPadCommand wordPadCommand() const;

    QString SoundFile;

private:
    const ProgramFolder& folder_;
    Dialogs& dialogs_;
    Sound* sound_;
    Launcher* launcher_;
};
