#pragma once

#include <QPixmap>
#include <QString>

// A picture file read by the reader its name says (".png", ".bmp"). Asked
// to guess, Qt loads every image-format plugin it has (GIF, ICO, JPEG and
// their libraries) to ask each whether it reads the file; the program's own
// pictures are PNG and BMP, which Qt reads itself. A file whose name does not
// say what it holds is still read, with the guessing. Null when unreadable.
QPixmap loadPicture(const QString& path);
