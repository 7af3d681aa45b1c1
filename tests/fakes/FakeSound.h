#pragma once

#include "Sound.h"

#include <QStringList>

// Records the files the program asked to play.
class FakeSound final : public Sound {
public:
    void play(const QString& path) override { played << path; }

    QStringList played;
};
