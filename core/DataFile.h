#pragma once

#include "TextEncoding.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class FieldWriter;

// Whole-file access for the small data files.
namespace data_file {

// The data files are tiny; a larger file is not read at all (and so never
// replaced), rather than read in part and written back shorter.
constexpr qint64 ReadLimit = 1 << 20;

struct ReadResult {
    bool ok = false;
    // The file is larger than ReadLimit; `error` says so.
    bool tooLarge = false;
    QByteArray content;
    QString error; // names the file and the reason when !ok
};

// The safe open: creates a missing file (and its folder) empty, leaves an
// existing file untouched, then reads it whole.
ReadResult readCreatingEmpty(const QString& path);

// Replaces the file atomically: a temporary file in the same folder is
// written, flushed and renamed over the old one, so a crash or a full disk
// never leaves an empty or half-written file. A file larger than ReadLimit
// is left as it is. Returns an empty string on success, otherwise a message
// naming the file and the reason.
QString writeAtomically(const QString& path, const QByteArray& content);
// The same without the size rule, for a file the user names that is no data
// file of the program (a saved frame log): a large one there is replaced.
QString replaceFile(const QString& path, const QByteArray& content);
// The same for records, written in the encoding of the file they replace
// (Windows-1252 stays Windows-1252; a new file is UTF-8).
QString writeAtomically(const QString& path, const FieldWriter& writer);

// The encoding of the file as it stands; UTF-8 when there is none.
text_encoding::Encoding encodingOf(const QString& path);

// Why a file cannot be opened for reading, in words that complete "it ...":
// "is a folder", "cannot be read (permission)", "does not exist"; empty
// when none of these holds.
QString whyUnreadable(const QString& path);

// "line 3" or "lines 1, 2, 3"; a long list is cut short so that a message
// stays on the screen: "lines 1, 2, ... 10 … and 790 more".
QString lineList(const QList<int>& lines);

// Removes what an interrupted atomic write leaves in `folder`: files named
// like one of `names` followed by a dot and six letters or digits. Letter
// case of the name is ignored, as it is when the data files are found.
// Returns how many were removed.
int removeStaleTemporaries(const QString& folder, const QStringList& names);

} // namespace data_file
