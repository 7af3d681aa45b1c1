#pragma once

#include "Sound.h"

#include <QStringList>

#include <memory>

// The sound of the sound module (SoundModule.h), loaded on the first play:
// a run that plays nothing never loads Qt Multimedia. The module is looked
// for in the folders given, in order, and the first copy found is used. A
// module that is missing, cannot be loaded or has no factory gives silence
// and one warning naming the file. The module is never unloaded.
class LoadedSound final : public Sound {
public:
    explicit LoadedSound(QStringList folders);
    ~LoadedSound() override;
    void play(const QString& path) override;

private:
    std::unique_ptr<Sound> load() const;

    QStringList folders_;
    bool tried_ = false;
    std::unique_ptr<Sound> sound_; // made by the module; empty: silence
};
