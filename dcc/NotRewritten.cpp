#include "NotRewritten.h"

#include "Dialogs.h"

#include <QDir>

void reportNotRewritten(Dialogs& dialogs, const QString& path, const QString& consequence, const QString& title)
{
    dialogs.message(QDir::toNativeSeparators(path) + QStringLiteral(" could not be read at start, so it is not rewritten: ")
                        + consequence,
                    title, Dialogs::Critical);
}
