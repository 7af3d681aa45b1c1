#include "Demo.h"

#include "DataLocation.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

dccbox::Options demoBox()
{
    dccbox::Options options;
    options.answerDelayMs = 16; // like a USB adapter
    return options;
}

} // namespace

Demo::Demo()
    : dir_(QDir::tempPath() + QStringLiteral("/varnolix-demo-XXXXXX"))
    , box_(demoBox())
{
}

Demo::~Demo()
{
    box_.stop();
}

QString Demo::dataFolder() const
{
    return dir_.path() + QStringLiteral("/data");
}

QString Demo::boxDevice() const
{
    return QString::fromStdString(box_.devicePath());
}

bool Demo::start(const QString& demoSettings, const QString& shippedData, QString* error)
{
    if (!dir_.isValid()) {
        *error = QStringLiteral("No temporary folder for the demo data: %1").arg(dir_.errorString());
        return false;
    }
    if (!QFileInfo(demoSettings).isDir() || shippedData.isEmpty()) {
        *error = QStringLiteral("The demo settings (%1) or the shipped data are missing: reinstall Varnolix.")
                     .arg(QDir::toNativeSeparators(demoSettings));
        return false;
    }
    // The demo settings first: the shipped data fills in only what they lack.
    QStringList failures = fillMissingFiles(demoSettings, dataFolder() + QStringLiteral("/text"));
    failures << fillMissingFiles(shippedData, dataFolder());
    if (!failures.isEmpty()) {
        *error = QStringLiteral("The demo data could not be made:\n") + failures.join(QLatin1Char('\n'));
        return false;
    }
    box_.setLineHandler([](const std::string& line) {
        std::fprintf(stdout, "dccbox  %s\n", line.c_str());
        std::fflush(stdout);
    });
    std::string why;
    if (!box_.start(&why)) {
        *error = QStringLiteral("The simulated DCC box could not start: %1").arg(QString::fromStdString(why));
        return false;
    }
    return true;
}
