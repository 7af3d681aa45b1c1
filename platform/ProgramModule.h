#pragma once

#include <QString>
#include <QStringList>

// Modules of this program: plugin libraries loaded when first needed, so a
// run that does not need one never loads the libraries behind it (Qt
// Multimedia for the sound, Qt Serial Port and Qt Network for the DCC link).
// A module is looked for in the folders given, in order; the first copy found
// is loaded and stays loaded for the rest of the run, as the objects it makes
// need.
namespace program_module {

// The function `symbol` exported by the module file `fileName`; null, with
// the reason in words naming the file, when the module is in none of the
// folders, cannot be loaded or does not export it.
QFunctionPointer resolve(const QString& fileName, const QStringList& folders, const char* symbol, QString* error);

} // namespace program_module
