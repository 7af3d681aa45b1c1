#pragma once

#include <QImage>
#include <QWidget>

// The layout bitmap at its full size, moved about to scroll. It keeps the
// bitmap in the form it was read in: an 8-bit bitmap stays 8-bit, a quarter
// of what it would take as screen pixels, and each paint converts only the
// part that is exposed. So memory follows the size of the file's pixels,
// and the time to paint follows the size of the window.
class MimicPicture : public QWidget {
    Q_OBJECT
public:
    explicit MimicPicture(QWidget* parent = nullptr);

    // Replaces the picture and takes its size; false, with the reason, when
    // the file gives no picture.
    bool load(const QString& path, QString* error);
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};
