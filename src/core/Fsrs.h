// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// FSRS-6 with its published default parameters: no learning steps, no fuzz, whole days. States are
// rounded as the reference client rounds them, so a history replayed anywhere gives the same intervals.
namespace Fsrs {

enum class Rating { Again = 1, Hard = 2, Good = 3, Easy = 4 };

struct MemoryState {
    double stability = 0;  // days
    double difficulty = 0; // 1 to 10
};

// A card's state after a review and the whole days until the next one.
struct Review {
    MemoryState state;
    int intervalDays = 0;
};

class Scheduler {
public:
    static constexpr double kDefaultRetention = 0.9;
    explicit Scheduler(double desiredRetention = kDefaultRetention);
    // The first review of a card never reviewed.
    Review first(Rating rating) const;
    // A review elapsedDays (whole calendar days, 0 or more) after the card's previous one.
    Review next(const MemoryState& state, int elapsedDays, Rating rating) const;

private:
    double m_intervalModifier; // days of interval per day of stability at the desired retention
};

} // namespace Fsrs
