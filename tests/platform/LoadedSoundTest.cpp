// The sound loaded from its module on the first play, against modules built
// for the test: one whose sounds note what they do, one without the factory.
#include "LoadedSound.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QTemporaryDir>

#include <vector>

namespace {

const QString RecordingModule = QStringLiteral(VARNOLIX_RECORDING_SOUND_MODULE);
const QString NoFactoryModule = QStringLiteral(VARNOLIX_NO_FACTORY_SOUND_MODULE);

// The warnings given while it lives.
class Warnings {
public:
    Warnings() { previous_ = qInstallMessageHandler(&Warnings::note); }
    ~Warnings() { qInstallMessageHandler(previous_); }
    Warnings(const Warnings&) = delete;
    Warnings& operator=(const Warnings&) = delete;

    static QStringList& seen()
    {
        static QStringList list;
        return list;
    }

private:
    static void note(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (type == QtWarningMsg)
            seen() << text;
    }

    QtMessageHandler previous_;
};

TEST(LoadedSound, MakesTheModulesSoundOnTheFirstPlayAndForwardsEveryPlay)
{
    QLibrary module(RecordingModule);
    const auto notes = reinterpret_cast<const QStringList* (*)()>(module.resolve("recorded_notes"));
    ASSERT_NE(notes, nullptr) << module.errorString().toStdString();
    QTemporaryDir empty;
    {
        LoadedSound sound({empty.path(), QFileInfo(RecordingModule).path()});
        EXPECT_EQ(*notes(), QStringList());
        sound.play(QStringLiteral("/a/telephone.wav"));
        sound.play(QStringLiteral("/b/telephone.wav"));
    }
    EXPECT_EQ(*notes(), (QStringList{QStringLiteral("made"), QStringLiteral("played /a/telephone.wav"),
                                     QStringLiteral("played /b/telephone.wav"), QStringLiteral("destroyed")}));
}

TEST(LoadedSound, AModuleThatDoesNotLoadGivesSilenceAndOneWarningNamingIt)
{
    const QString fileName = QFileInfo(RecordingModule).fileName();
    QTemporaryDir empty, junk;
    QFile notALibrary(junk.filePath(fileName));
    ASSERT_TRUE(notALibrary.open(QIODevice::WriteOnly));
    notALibrary.write("RIFF, not a library");
    notALibrary.close();

    struct Case {
        const char* what;
        QString folder;
        QStringList named; // in the warning
    };
    const std::vector<Case> cases{
        {"no module", empty.path(), {fileName, empty.path()}},
        {"not a library", junk.path(), {notALibrary.fileName()}},
        {"no factory", QFileInfo(NoFactoryModule).path(), {NoFactoryModule, QStringLiteral("varnolix_create_sound")}},
    };
    for (const Case& c : cases) {
        Warnings::seen().clear();
        {
            Warnings warnings;
            LoadedSound sound({c.folder});
            sound.play(QStringLiteral("/a/telephone.wav"));
            sound.play(QStringLiteral("/a/telephone.wav"));
        }
        ASSERT_EQ(Warnings::seen().size(), 1) << c.what << ": " << Warnings::seen().join(QLatin1Char('\n')).toStdString();
        for (const QString& name : c.named)
            EXPECT_TRUE(Warnings::seen().front().contains(name)) << c.what << ": " << Warnings::seen().front().toStdString();
    }
}

} // namespace
