#include "DataLocation.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool isDir(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

ProgramFolder DataPlaces::folder() const
{
    if (kind == Kind::BesideProgram)
        return ProgramFolder(programFolder);
    return ProgramFolder(programFolder, dataFolder);
}

DataPlaces chooseDataPlaces(const DataSearch& search)
{
    const QString besideData = ProgramFolder(search.executableFolder).dataPath();
    const QString installedData = ProgramFolder(search.installedShare).dataPath();
    // An installed program's own files sit in its share folder; a program
    // run from anywhere else carries them beside itself.
    const bool installed = isDir(search.installedShare) && isDir(installedData);
    const QString programFolder = installed ? search.installedShare : search.executableFolder;
    const QString shipped = installed ? installedData : (isDir(besideData) ? besideData : QString());

    if (!search.namedFolder.isEmpty())
        return {DataPlaces::Kind::Named, programFolder, QDir::cleanPath(search.namedFolder), shipped};
    if (isDir(besideData) && search.writable(besideData))
        return {DataPlaces::Kind::BesideProgram, search.executableFolder, besideData, shipped};
    return {DataPlaces::Kind::UserFolder, programFolder, search.userDataFolder, shipped};
}

QString userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/data");
}

QStringList fillMissingFiles(const QString& shipped, const QString& target)
{
    QStringList failures;
    if (!QDir().mkpath(target))
        return {QStringLiteral("%1: the folder cannot be created").arg(QDir::toNativeSeparators(target))};
    const QDir source(shipped);
    QDirIterator files(shipped, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString from = files.next();
        const QString relative = source.relativeFilePath(from);
        const QString to = ProgramFolder(target).resolve(relative);
        if (QFileInfo::exists(to))
            continue;
        const QString folder = QFileInfo(to).path();
        if (!QDir().mkpath(folder)) {
            failures << QStringLiteral("%1: the folder cannot be created").arg(QDir::toNativeSeparators(folder));
            continue;
        }
        QFile copy(from);
        if (!copy.copy(to)) {
            failures << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(to), copy.errorString());
            continue;
        }
        // Shipped files may be read-only; the user's copy is the user's own.
        QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return failures;
}
