#include "AnsweringDialogs.h"

#include <QRegularExpression>

#include <cstdio>

namespace {

// The prompts break their lines with long runs of blanks.
QString oneLine(const QString& text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return QString(text).replace(space, QStringLiteral(" ")).trimmed();
}

void printError(const QString& line)
{
    std::fprintf(stderr, "Varnolix: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

AnsweringDialogs::AnsweringDialogs(Dialogs* shown)
    : shown_(shown)
{
}

void AnsweringDialogs::message(const QString& text, const QString& title, int style)
{
    if (shown_)
        shown_->message(text, title, style);
    else
        printError(oneLine(title) + QStringLiteral(": ") + oneLine(text));
}

void AnsweringDialogs::notice(const QString& key, const QString& text, const QString& title, int style)
{
    if (shown_)
        shown_->notice(key, text, title, style);
    else
        message(text, title, style);
}

QString AnsweringDialogs::input(const QString& prompt, const QString& title, const QString& defaultAnswer)
{
    const QString question = title + QLatin1Char('\n') + prompt;
    if (asked_.contains(question)) {
        printError(QStringLiteral("\"%1\" was asked again: its default answer \"%2\" did not work, so the start ends.")
                       .arg(oneLine(title), defaultAnswer));
        return {};
    }
    asked_.insert(question);
    return defaultAnswer;
}
