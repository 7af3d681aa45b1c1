#pragma once

#include <QString>
#include <QStringList>

// Starts other programs. Nothing goes through a shell: the program and each
// argument are passed separately, so paths with blanks need no quoting.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts program with arguments and returns at once; false when it could
    // not be started.
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
    // Opens a document with the desktop's default application for its type;
    // false when the desktop has none or refused.
    virtual bool openDocument(const QString& path) = 0;
};
