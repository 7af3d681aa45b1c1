#pragma once

#include "Clock.h"

#include <QElapsedTimer>

class QtClock final : public Clock {
public:
    QtClock();
    double seconds() const override;
    QDateTime now() const override;
    void processEvents(int maxMs) override;

private:
    QElapsedTimer elapsed_;
};
