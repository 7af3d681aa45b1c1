#include "ProgramModule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace program_module {

QFunctionPointer resolve(const QString& fileName, const QStringList& folders, const char* symbol, QString* error)
{
    for (const QString& folder : folders) {
        const QString file = QDir::cleanPath(QDir(folder).absoluteFilePath(fileName));
        if (!QFileInfo::exists(file))
            continue;
        // QLibrary leaves the module loaded when it goes.
        QLibrary module(file);
        if (!module.load()) {
            *error = module.errorString();
            return nullptr;
        }
        if (const QFunctionPointer function = module.resolve(symbol))
            return function;
        *error = QStringLiteral("%1 has no %2").arg(QDir::toNativeSeparators(file), QLatin1String(symbol));
        return nullptr;
    }
    *error = QStringLiteral("%1 is in none of %2").arg(fileName, folders.join(QStringLiteral(", ")));
    return nullptr;
}

} // namespace program_module
