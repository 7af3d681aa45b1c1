#include "QtSound.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

QtSound::QtSound() = default;

QtSound::~QtSound() = default;

void QtSound::play(const QString& path)
{
    if (!QFileInfo(path).isFile() || QMediaDevices::audioOutputs().isEmpty())
        return;
    if (!effect_)
        effect_ = std::make_unique<QSoundEffect>();
    effect_->stop();
    effect_->setSource(QUrl::fromLocalFile(path));
    // Plays as soon as the file has loaded; a file that cannot be decoded
    // leaves the effect in its error state and nothing is heard.
    effect_->play();
}
