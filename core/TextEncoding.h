#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The two encodings data files come in: UTF-8, and Windows-1252 ("ANSI"),
// which the Windows program wrote. A file that is not valid UTF-8 is taken
// as Windows-1252; every byte has a meaning there, so nothing is lost.
namespace text_encoding {

enum class Encoding { Utf8, Windows1252 };

// UTF-8 when the bytes are valid UTF-8 (plain ASCII and nothing included).
Encoding detect(const QByteArray& bytes);

QString decode(const QByteArray& bytes, Encoding encoding);

// Nothing when the encoding cannot hold every character of the text.
std::optional<QByteArray> encode(const QString& text, Encoding encoding);

} // namespace text_encoding
