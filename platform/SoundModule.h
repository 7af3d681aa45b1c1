#pragma once

#include "Sound.h"

// The sound module: a plugin library holding the sound through Qt Multimedia,
// so that the program itself does not link Qt Multimedia and its codecs and
// loads them only for the first sound (see LoadedSound). Its one export,
// named CreateSoundSymbol, makes a new sound. The caller owns that sound,
// deletes it through Sound's virtual destructor, and keeps the module loaded
// while the sound lives: the sound's code is in the module.
using CreateSound = Sound* (*)();
inline constexpr char CreateSoundSymbol[] = "varnolix_create_sound";
