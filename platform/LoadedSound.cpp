#include "LoadedSound.h"
#include "ProgramModule.h"
#include "SoundModule.h"

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
    QString error;
    const auto create = reinterpret_cast<CreateSound>(
        program_module::resolve(QStringLiteral(VARNOLIX_SOUND_MODULE_FILE), folders_, CreateSoundSymbol, &error));
    if (!create) {
        qWarning("varnolix: %s: the About sound stays silent. Reinstall Varnolix to hear it.", qPrintable(error));
        return nullptr;
    }
    return std::unique_ptr<Sound>(create());
}
