#include "TextEncoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace text_encoding {

namespace {

// Qt provides Windows-1252 through the system's converters; where it does
// not, Latin-1 is the closest (it differs only in 0x80-0x9F). Converters are
// built where they are used: a moved one no longer reports errors.
const char* windows1252()
{
    static const bool available = QStringDecoder("windows-1252").isValid();
    return available ? "windows-1252" : "ISO-8859-1";
}

} // namespace

Encoding detect(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    // The decoder only runs when its result is taken.
    const QString text = decoder(bytes);
    Q_UNUSED(text);
    return decoder.hasError() ? Encoding::Windows1252 : Encoding::Utf8;
}

QString decode(const QByteArray& bytes, Encoding encoding)
{
    if (encoding == Encoding::Utf8)
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(windows1252(), QStringConverter::Flag::Stateless);
    return decoder(bytes);
}

std::optional<QByteArray> encode(const QString& text, Encoding encoding)
{
    if (encoding == Encoding::Utf8)
        return text.toUtf8();
    QStringEncoder encoder(windows1252(), QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace text_encoding
