#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString withoutTrailingSeparator(QString folder)
{
    while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    return folder;
}

// Appends each part to `start`, taking an existing entry whose name differs
// only in case when the exact name is not there.
QString resolveBelow(QString current, const QStringList& parts)
{
    bool exists = QFileInfo(current).isDir();
    for (const QString& part : parts) {
        QString chosen = part;
        if (exists && !QFileInfo::exists(current + QLatin1Char('/') + part)) {
            const QStringList entries = QDir(current).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    chosen = entry;
                    break;
                }
            }
        }
        current += QLatin1Char('/') + chosen;
        exists = exists && QFileInfo::exists(current);
    }
    return current;
}

} // namespace

ProgramFolder::ProgramFolder(QString folder)
    : folder_(withoutTrailingSeparator(std::move(folder)))
{
}

ProgramFolder::ProgramFolder(QString folder, QString dataFolder)
    : folder_(withoutTrailingSeparator(std::move(folder)))
    , dataFolder_(withoutTrailingSeparator(std::move(dataFolder)))
{
}

QString ProgramFolder::dataPath() const
{
    return dataFolder_.isEmpty() ? resolve(QStringLiteral("\\data")) : dataFolder_;
}

QString ProgramFolder::resolve(const QString& literal) const
{
    QString literalPath = literal;
    literalPath.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QStringList parts = literalPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (!dataFolder_.isEmpty() && !parts.isEmpty()
        && parts.front().compare(QLatin1String("data"), Qt::CaseInsensitive) == 0) {
        parts.removeFirst();
        return resolveBelow(dataFolder_, parts);
    }
    return resolveBelow(folder_, parts);
}
