#pragma once

#include <QString>

// Plays a short sound file once. Playing is best effort: a missing file or
// a machine without an audio device gives silence, never an error.
class Sound {
public:
    virtual ~Sound() = default;
    // Stops whatever this sound was playing, then plays the file at path.
    virtual void play(const QString& path) = 0;
};
