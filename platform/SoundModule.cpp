// The export of the sound module (see SoundModule.h).
#include "QtSound.h"
#include "SoundModule.h"

#include <QtGlobal>

#include <type_traits>

extern "C" Q_DECL_EXPORT Sound* varnolix_create_sound()
{
    return new QtSound;
}

static_assert(std::is_same_v<decltype(&varnolix_create_sound), CreateSound>);
