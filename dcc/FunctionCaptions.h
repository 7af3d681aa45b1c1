#pragma once

#include <QString>

// The caption of a function box: the label "F", the function number and
// "   ON " or "   OFF", followed directly by the function's name part.
// A caption saved to the function file and read back yields the same name
// part however often it goes round, whatever the width of its label.
namespace function_captions {

QString label(int function, bool on);

// The name part of a stored caption: what follows its label. A caption
// without a label (typed by hand) is all name; it gets a leading blank so
// that it stands apart from "OFF".
QString namePart(const QString& caption);

inline QString caption(int function, bool on, const QString& storedCaption)
{
    return label(function, on) + namePart(storedCaption);
}

} // namespace function_captions
