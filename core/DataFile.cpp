#include "DataFile.h"

#include "FieldFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace data_file {

namespace {

QString tooLargeMessage(const QString& native, qint64 size)
{
    return QStringLiteral("%1 holds %2 bytes, more than a data file can (%3 bytes): it is not read, and Varnolix "
                          "leaves it as it is. Shorten it with a text editor while Varnolix is not running.")
        .arg(native)
        .arg(size)
        .arg(ReadLimit);
}

QString reasonFor(const QString& path, const QFile& file)
{
    const QString why = whyUnreadable(path);
    return why.isEmpty() ? file.errorString() : QStringLiteral("it ") + why;
}

} // namespace

ReadResult readCreatingEmpty(const QString& path)
{
    ReadResult result;
    const QString native = QDir::toNativeSeparators(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        result.error = QStringLiteral("The folder of %1 could not be created.").arg(native);
        return result;
    }
    QFile file(path);
    if (!file.exists()) {
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
            result.error = QStringLiteral("%1 could not be created: %2").arg(native, file.errorString());
            return result;
        }
        file.close();
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("%1 could not be read: %2").arg(native, reasonFor(path, file));
        return result;
    }
    // One byte beyond the limit tells a file at the limit from a larger one.
    result.content = file.read(ReadLimit + 1);
    if (result.content.size() > ReadLimit) {
        result.content.clear();
        result.tooLarge = true;
        result.error = tooLargeMessage(native, file.size());
        return result;
    }
    result.ok = true;
    return result;
}

QString writeAtomically(const QString& path, const QByteArray& content)
{
    const QFileInfo old(path);
    if (old.isFile() && old.size() > ReadLimit)
        return tooLargeMessage(QDir::toNativeSeparators(path), old.size());
    return replaceFile(path, content);
}

QString replaceFile(const QString& path, const QByteArray& content)
{
    const QString native = QDir::toNativeSeparators(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("The folder of %1 could not be created.").arg(native);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("%1 could not be written: %2").arg(native, file.errorString());
    if (file.write(content) != content.size() || !file.commit())
        return QStringLiteral("%1 could not be written: %2").arg(native, file.errorString());
    return {};
}

QString writeAtomically(const QString& path, const FieldWriter& writer)
{
    return writeAtomically(path, writer.bytes(encodingOf(path)));
}

text_encoding::Encoding encodingOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return text_encoding::Encoding::Utf8;
    return text_encoding::detect(file.read(ReadLimit));
}

QString whyUnreadable(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("is a folder");
    if (!info.exists())
        return QStringLiteral("does not exist");
    if (!info.isReadable())
        return QStringLiteral("cannot be read (permission)");
    return {};
}

QString lineList(const QList<int>& lines)
{
    constexpr qsizetype Shown = 10;
    QStringList numbers;
    for (qsizetype i = 0; i < lines.size() && i < Shown; ++i)
        numbers << QString::number(lines[i]);
    QString text = (lines.size() == 1 ? QStringLiteral("line ") : QStringLiteral("lines ")) + numbers.join(QStringLiteral(", "));
    if (lines.size() > Shown)
        text += QStringLiteral(" \u2026 and %1 more").arg(lines.size() - Shown);
    return text;
}

int removeStaleTemporaries(const QString& folder, const QStringList& names)
{
    QStringList escaped;
    for (const QString& name : names)
        escaped << QRegularExpression::escape(name);
    const QRegularExpression ours(QStringLiteral("^(?:%1)\\.[A-Za-z0-9]{6}$").arg(escaped.join(QLatin1Char('|'))),
                                  QRegularExpression::CaseInsensitiveOption);
    QDir dir(folder);
    int removed = 0;
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (ours.match(entry).hasMatch() && dir.remove(entry))
            ++removed;
    }
    return removed;
}

} // namespace data_file
