#pragma once

#include "Launcher.h"

// Production launcher: QProcess::startDetached and QDesktopServices.
class QtLauncher final : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override;
    bool openDocument(const QString& path) override;
};
