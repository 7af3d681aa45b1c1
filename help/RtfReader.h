#pragma once

#include <QByteArrayView>

class QTextDocument;

// Turns a Rich Text Format document into a Qt rich-text document: paragraphs
// and line breaks, bold, italic, underline, font sizes, the font and colour
// tables, \'hh and \uN characters, tabs, paragraph alignment and indents.
// Pictures, objects and unknown destinations are skipped; tables come out
// as one paragraph per row with the cells separated by tabs. Characters
// given as \'hh are read as Windows code page 1252 whatever the file says.
//
// Any bytes are safe to read: malformed input gives some document, never a
// crash or an endless loop, and the work is linear in the input's size. A
// paragraph of more than some thousand characters goes on in further blocks
// (without indent or space between them), so that a view lays it out in
// time that grows with its length, not with its square.
namespace rtf {

// Replaces the document's content. False, leaving the document empty, when
// the bytes do not start with "{\rtf".
bool read(QByteArrayView bytes, QTextDocument& document);

} // namespace rtf
