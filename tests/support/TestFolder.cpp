#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

TestFolder::TestFolder()
    : folder_(dir_.path())
{
    QDir(dir_.path()).mkpath(QStringLiteral("data/text"));
}

void TestFolder::write(const QString& relative, const QByteArray& content) const
{
    const QString full = dir_.path() + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

QByteArray TestFolder::read(const QString& relative) const
{
    QFile file(dir_.path() + QLatin1Char('/') + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TestFolder::exists(const QString& relative) const
{
    return QFileInfo::exists(dir_.path() + QLatin1Char('/') + relative);
}

void TestFolder::addLayout(const QString& name, int width, int height) const
{
    QDir().mkpath(dir_.path() + QStringLiteral("/data/Layouts"));
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(20, 60, 40));
    image.save(dir_.path() + QStringLiteral("/data/Layouts/") + name + QStringLiteral(".bmp"), "BMP");
}

QString PrintableBytes(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}
