#include "FunctionCaptions.h"

#include <QRegularExpression>

namespace function_captions {

QString label(int function, bool on)
{
    return QLatin1Char('F') + QString::number(function) + (on ? QStringLiteral("   ON ") : QStringLiteral("   OFF"));
}

QString namePart(const QString& caption)
{
    static const QRegularExpression labelled(QStringLiteral("^F\\d{1,2}   (?:ON |OFF)"));
    const QRegularExpressionMatch match = labelled.match(caption);
    if (match.hasMatch())
        return caption.mid(match.capturedLength());
    if (caption.isEmpty() || caption.startsWith(QLatin1Char(' ')))
        return caption;
    return QLatin1Char(' ') + caption;
}

} // namespace function_captions
