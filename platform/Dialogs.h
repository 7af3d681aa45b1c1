#pragma once

#include <QString>

// The two modal dialogs the program uses: the standard message box and the
// one-line input box. Behind an interface so tests can script the answers.
class Dialogs {
public:
    // Message box styles as the program stores them (Windows style flags).
    static constexpr int Critical = 16;
    static constexpr int Question = 32;
    static constexpr int Information = 64;

    virtual ~Dialogs() = default;
    // Shows text with an OK button and waits for it.
    virtual void message(const QString& text, const QString& title, int style) = 0;
    // A background event told without waiting for the user, so the emergency
    // stop stays at hand: the call returns at once. A notice with the same
    // key as one still on screen replaces its text instead of stacking a
    // second one. Until an adapter shows it modelessly, it is a message.
    virtual void notice(const QString& key, const QString& text, const QString& title, int style)
    {
        (void)key;
        message(text, title, style);
    }
    // Returns the typed answer; Cancel gives an empty answer.
    virtual QString input(const QString& prompt, const QString& title, const QString& defaultAnswer) = 0;
    // The input box with one more button, e.g. "DCC interface..."; *chosen
    // says whether that button closed it (the answer is then empty).
    virtual QString inputWithChoice(const QString& prompt, const QString& title, const QString& defaultAnswer,
                                    const QString& choice, bool* chosen)
    {
        (void)choice;
        *chosen = false;
        return input(prompt, title, defaultAnswer);
    }
    // Asks where to save a file; empty when cancelled.
    virtual QString saveFileName(const QString& title, const QString& suggestion)
    {
        (void)title;
        (void)suggestion;
        return {};
    }

    // A data file that could not be saved: the reason (naming the file), then
    // what that means for this run. Nothing happens when `error` is empty.
    void reportUnsaved(const QString& error, const QString& consequence,
                       const QString& title = QStringLiteral("Varnolix"))
    {
        if (!error.isEmpty())
            message(error + QLatin1Char('\n') + consequence, title, Critical);
    }
};
