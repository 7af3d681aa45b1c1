#pragma once

#include <QByteArray>
#include <QString>

// Whole-file access for the small data files.
namespace data_file {

struct ReadResult {
    bool ok = false;
    QByteArray content;
    QString error; // names the file and the reason when !ok
};

// The safe open: creates a missing file (and its folder) empty, leaves an
// existing file untouched, then reads it whole. Files larger than maxBytes
// are read only up to that size; the data files are tiny, and a stray huge
// file must not eat the memory.
ReadResult readCreatingEmpty(const QString& path, qint64 maxBytes = 1 << 20);

// Replaces the file atomically: a temporary file in the same folder is
// written, flushed and renamed over the old one, so a crash or a full disk
// never leaves an empty or half-written file. Returns an empty string on
// success, otherwise a message naming the file and the reason.
QString writeAtomically(const QString& path, const QByteArray& content);

} // namespace data_file
