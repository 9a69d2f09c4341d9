// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// The program's clock, handed in so that tests can fix the time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
