#pragma once

#include "Dialogs.h"
#include "QtPrint.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

// Scripted dialogs: input() takes the next scripted answer (empty = Cancel
// once the script runs out), message() and notice() are recorded.
class FakeDialogs final : public Dialogs {
public:
    struct Shown {
        QString text;
        QString title;
        int style = 0;
        QString defaultAnswer; // inputs only
        bool input = false;
        // Set for a notice: the key it replaces by.
        QString noticeKey;
    };

    void answer(const QString& text) { answers.push_back(text); }

    void message(const QString& text, const QString& title, int style) override
    {
        shown.push_back({text, title, style, {}, false, {}});
    }

    // Notices count among the messages shown; notices() lists them alone.
    void notice(const QString& key, const QString& text, const QString& title, int style) override
    {
        shown.push_back({text, title, style, {}, false, key});
    }

    std::vector<Shown> notices() const
    {
        std::vector<Shown> out;
        for (const Shown& s : shown)
            if (!s.noticeKey.isEmpty())
                out.push_back(s);
        return out;
    }

    QString input(const QString& prompt, const QString& title, const QString& defaultAnswer) override
    {
        shown.push_back({prompt, title, 0, defaultAnswer, true, {}});
        if (answers.empty())
            return {};
        QString next = answers.front();
        answers.pop_front();
        return next;
    }

    // The scripted answer ChoiceAnswer presses the extra button of inputWithChoice.
    static inline const QString ChoiceAnswer = QStringLiteral("<choice>");

    QString inputWithChoice(const QString& prompt, const QString& title, const QString& defaultAnswer,
                            const QString& choice, bool* chosen) override
    {
        choices << choice;
        QString typed = input(prompt, title, defaultAnswer);
        *chosen = typed == ChoiceAnswer;
        return *chosen ? QString() : typed;
    }

    QString saveFileName(const QString& title, const QString&) override
    {
        shown.push_back({{}, title, 0, {}, true, {}});
        return savePath;
    }

    std::vector<Shown> messages() const
    {
        std::vector<Shown> out;
        for (const Shown& s : shown)
            if (!s.input)
                out.push_back(s);
        return out;
    }

    QStringList messageTitles() const
    {
        QStringList out;
        for (const Shown& s : messages())
            out << s.title;
        return out;
    }

    QStringList messageTexts() const
    {
        QStringList out;
        for (const Shown& s : messages())
            out << s.text;
        return out;
    }

    QStringList titles() const
    {
        QStringList out;
        for (const Shown& s : shown)
            out << s.title;
        return out;
    }

    std::deque<QString> answers;
    QStringList choices;
    QString savePath;
    std::vector<Shown> shown;
};
