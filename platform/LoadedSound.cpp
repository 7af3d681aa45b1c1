#include "LoadedSound.h"
#include "SoundModule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

LoadedSound::LoadedSound(QStringList folders)
    : folders_(std::move(folders))
{
}

LoadedSound::~LoadedSound() = default;

void LoadedSound::play(const QString& path)
{
    if (!tried_) {
        tried_ = true;
        sound_ = load();
    }
    if (sound_)
        sound_->play(path);
}

std::unique_ptr<Sound> LoadedSound::load() const
{
    const QString name = QStringLiteral(VARNOLIX_SOUND_MODULE_FILE);
    for (const QString& folder : folders_) {
        const QString file = QDir::cleanPath(QDir(folder).absoluteFilePath(name));
        if (!QFileInfo::exists(file))
            continue;
        // QLibrary leaves the module loaded when it goes, as the sound needs.
        QLibrary module(file);
        if (!module.load()) {
            qWarning("varnolix: %s: the About sound stays silent. Reinstall Varnolix to hear it.",
                     qPrintable(module.errorString()));
            return nullptr;
        }
        const auto create = reinterpret_cast<CreateSound>(module.resolve(CreateSoundSymbol));
        if (!create) {
            qWarning("varnolix: the sound module %s has no %s: the About sound stays silent. "
                     "Reinstall Varnolix to hear it.",
                     qPrintable(file), CreateSoundSymbol);
            return nullptr;
        }
        return std::unique_ptr<Sound>(create());
    }
    qWarning("varnolix: the sound module %s is in none of %s: the About sound stays silent. "
             "Reinstall Varnolix to hear it.",
             qPrintable(name), qPrintable(folders_.join(QStringLiteral(", "))));
    return nullptr;
}
