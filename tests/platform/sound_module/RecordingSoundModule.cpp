// A sound module whose sounds note what happens to them; the test reads the
// notes through a second export.
#include "SoundModule.h"

#include <QStringList>
#include <QtGlobal>

namespace {

QStringList& notes()
{
    static QStringList list;
    return list;
}

class RecordingSound final : public Sound {
public:
    RecordingSound() { notes() << QStringLiteral("made"); }
    ~RecordingSound() override { notes() << QStringLiteral("destroyed"); }
    void play(const QString& path) override { notes() << QStringLiteral("played ") + path; }
};

} // namespace

extern "C" Q_DECL_EXPORT Sound* varnolix_create_sound()
{
    return new RecordingSound;
}

extern "C" Q_DECL_EXPORT const QStringList* recorded_notes()
{
    return &notes();
}
