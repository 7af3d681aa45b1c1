// The frame monitor's "save...": the whole log into the file the user names.
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FrameLog.h"
#include "FrameMonitor.h"
#include "DataFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(FrameMonitorSave, ReplacesTheNamedFileWhateverItsSize)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakeClock clock;
    FrameLog log(clock);
    log.add(true, QByteArray::fromHex("8080"));
    log.add(false, QByteArray::fromHex("810081"));
    FakeDialogs dialogs;
    FrameMonitor monitor(log, clock, dialogs);
    const struct {
        const char* file;
        qint64 oldSize;
    } cases[] = {{"new.txt", -1}, {"small.txt", 10}, {"an-earlier-long-log.txt", 2 * data_file::ReadLimit}};
    for (const auto& c : cases) {
        dialogs.savePath = dir.filePath(QLatin1String(c.file));
        if (c.oldSize >= 0) {
            QFile old(dialogs.savePath);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(c.oldSize, 'x'));
        }
        monitor.cmdSave_Click();
        QFile saved(dialogs.savePath);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << c.file;
        EXPECT_EQ(saved.readAll(), log.text()) << c.file;
        EXPECT_TRUE(dialogs.messages().empty()) << c.file << ": " << dialogs.messageTexts().join(QLatin1Char('\n')).toStdString();
    }
}

} // namespace
