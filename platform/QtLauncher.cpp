#include "QtLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool QtLauncher::start(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool QtLauncher::openDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
