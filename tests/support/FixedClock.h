#pragma once

#include "util/Clock.h"

// A clock that always tells the time it was given.
class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime now) : now_(std::move(now)) {}
    explicit FixedClock(QDate today) : now_(today, QTime(12, 0)) {}
    QDate Today() const override { return now_.date(); }
    QDateTime Now() const override { return now_; }
    void Set(QDateTime now) { now_ = std::move(now); }

private:
    QDateTime now_;
};
