#pragma once

#include "Launcher.h"

#include <QStringList>

#include <vector>

// Records what the program asked to start; each kind of request succeeds
// or fails as the test sets it.
class FakeLauncher final : public Launcher {
public:
    struct Started {
        QString program;
        QStringList arguments;
    };

    bool start(const QString& program, const QStringList& arguments) override
    {
        started.push_back({program, arguments});
        return startWorks;
    }

    bool openDocument(const QString& path) override
    {
        opened << path;
        return openWorks;
    }

    bool startWorks = true;
    bool openWorks = true;
    std::vector<Started> started;
    QStringList opened;
};
