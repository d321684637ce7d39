#pragma once

#include <QDate>
#include <QDateTime>

// Where "today" and "now" come from, so that tests can fix the date.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate Today() const = 0;
    virtual QDateTime Now() const = 0;
};

// The computer's own clock, in local time.
class SystemClock : public Clock {
public:
    QDate Today() const override { return QDate::currentDate(); }
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};
