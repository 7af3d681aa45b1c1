#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

ProgramFolder::ProgramFolder(QString folder)
    : folder_(std::move(folder))
{
    while (folder_.size() > 1 && (folder_.endsWith(QLatin1Char('/')) || folder_.endsWith(QLatin1Char('\\'))))
        folder_.chop(1);
}

QString ProgramFolder::resolve(const QString& literal) const
{
    QString literalPath = literal;
    literalPath.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = literalPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);

    QString current = folder_;
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
