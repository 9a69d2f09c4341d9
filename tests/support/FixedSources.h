// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Clock.h"
#include "core/RandomSource.h"

#include <deque>

// A random source that returns scripted numbers, then repeats the last one (0 when none).
class ScriptedRandom final : public RandomSource {
public:
    void seed(quint64 value) override { seeds.push_back(value); }
    double next() override {
        if (!values.empty()) {
            last = values.front();
            values.pop_front();
        }
        ++draws;
        return last;
    }

    std::deque<double> values;
    std::deque<quint64> seeds;
    double last = 0.0;
    int draws = 0;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime at = QDateTime(QDate(2026, 3, 14), QTime(9, 5, 7))) : time(std::move(at)) {}
    QDateTime now() const override { return time; }
    QDateTime time;
};
