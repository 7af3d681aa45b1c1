#include "DataFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace data_file {

ReadResult readCreatingEmpty(const QString& path, qint64 maxBytes)
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
        result.error = QStringLiteral("%1 could not be read: %2").arg(native, file.errorString());
        return result;
    }
    result.content = file.read(maxBytes);
    result.ok = true;
    return result;
}

QString writeAtomically(const QString& path, const QByteArray& content)
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

} // namespace data_file
