#pragma once

#include "Rle8Bitmap.h"

#include <QImage>
#include <QWidget>

#include <optional>

// The layout bitmap at its full size, moved about to scroll. A run-length
// coded 8-bit bitmap stays coded and each paint decodes only the rows and
// columns exposed; any other picture stays in the form Qt read it in (an
// 8-bit one a byte a pixel) and each paint converts only the exposed part.
// So memory follows the size of the file, and the time to paint the size of
// the window.
class MimicPicture : public QWidget {
    Q_OBJECT
public:
    explicit MimicPicture(QWidget* parent = nullptr);

    // Replaces the picture and takes its size; false, with the reason, when
    // the file gives no picture.
    bool load(const QString& path, QString* error);
    // The picture's pixels in `area`, as painted.
    QImage pixels(const QRect& area) const;
    // The memory the picture takes.
    qsizetype heldBytes() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<rle8::Bitmap> coded_;
    QImage image_; // when the file is not run-length coded
};
