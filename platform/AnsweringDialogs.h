#pragma once

#include "Dialogs.h"

#include <QSet>
#include <QString>

// Answers every question with its default answer, so the program starts
// with nobody at the keyboard (the demo, scripts, tests). A question asked
// again gets Cancel: a default that does not work ends the start instead of
// asking for ever, and standard error says which question it was. Messages
// and notices go to `shown`, or to standard error when it is null.
class AnsweringDialogs final : public Dialogs {
public:
    explicit AnsweringDialogs(Dialogs* shown);

    void message(const QString& text, const QString& title, int style) override;
    // Goes on as a notice to `shown`, or to standard error like a message.
    void notice(const QString& key, const QString& text, const QString& title, int style) override;
    QString input(const QString& prompt, const QString& title, const QString& defaultAnswer) override;

private:
    Dialogs* shown_;
    QSet<QString> asked_;
};
