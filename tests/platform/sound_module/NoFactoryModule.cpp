// A library named like the sound module that has no factory.
#include <QtGlobal>

extern "C" Q_DECL_EXPORT int not_a_sound_factory()
{
    return 0;
}
