// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Fsrs.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Fsrs {

namespace {

constexpr std::array<double, 21> kW = {0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194,
                                       0.001,  1.8722, 0.1666, 0.796,  1.4835, 0.0614, 0.2629,
                                       1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
constexpr double kDecay = -kW[20];
constexpr double kMinStability = 0.001;
constexpr double kMaxStability = 36500;
constexpr int kMaxInterval = 36500;
// The setting's range; anything else (a damaged setting) would make intervals meaningless or NaN.
constexpr double kMinRetention = 0.70;
constexpr double kMaxRetention = 0.97;

using States = std::array<MemoryState, 4>;

// JavaScript's Math.round: a half goes up, also below zero (the damping of an Easy rating is negative).
double roundHalfUp(double x) {
    const double down = std::floor(x);
    return x - down >= 0.5 ? down + 1 : down;
}

// Every stored number is cut to 8 decimals, as the reference does between steps.
double round8(double x) {
    return roundHalfUp(x * 1e8) / 1e8;
}

// The forgetting curve passes through 90 % at t = S.
double curveFactor() {
    return round8(std::exp(std::log(0.9) / kDecay) - 1);
}

double retrievability(int elapsedDays, double stability) {
    return round8(std::pow(1 + curveFactor() * elapsedDays / stability, kDecay));
}

// Not clamped: the mean reversion pulls towards this value even where it lies below 1.
double initialDifficulty(int g) {
    return round8(kW[4] - std::exp((g - 1) * kW[5]) + 1);
}

double nextDifficulty(double d, int g) {
    const double delta = -kW[6] * (g - 3);
    const double damped = d + round8(delta * (10 - d) / 9);
    return std::clamp(round8(kW[7] * initialDifficulty(4) + (1 - kW[7]) * damped), 1.0, 10.0);
}

double recallStability(const MemoryState& m, double r, int g) {
    const double hardPenalty = g == 2 ? kW[15] : 1;
    const double easyBonus = g == 4 ? kW[16] : 1;
    const double s = m.stability;
    const double grown = s * (1 + std::exp(kW[8]) * (11 - m.difficulty) * std::pow(s, -kW[9]) *
                                      (std::exp((1 - r) * kW[10]) - 1) * hardPenalty * easyBonus);
    return round8(std::clamp(grown, kMinStability, kMaxStability));
}

// A lapse never leaves the card more stable than it was.
double lapseStability(const MemoryState& m, double r) {
    const double afterLapse = round8(std::clamp(
        kW[11] * std::pow(m.difficulty, -kW[12]) * (std::pow(m.stability + 1, kW[13]) - 1) * std::exp((1 - r) * kW[14]),
        kMinStability, kMaxStability));
    return std::min(std::max(round8(m.stability), kMinStability), afterLapse);
}

Review pick(const States& states, double modifier, Rating rating) {
    std::array<int, 4> days{};
    for (std::size_t i = 0; i < days.size(); ++i) {
        const double ideal = std::max(1.0, roundHalfUp(states[i].stability * modifier));
        days[i] = static_cast<int>(std::min(ideal, double(kMaxInterval)));
    }
    // A better answer never comes back sooner, even if that takes the interval past the maximum.
    days[0] = std::min(days[0], days[1]);
    for (std::size_t i = 1; i < days.size(); ++i)
        days[i] = std::max(days[i], days[i - 1] + 1);
    const auto i = static_cast<std::size_t>(rating) - 1;
    return {states[i], days[i]};
}

} // namespace

Scheduler::Scheduler(double desiredRetention) {
    const double retention = std::clamp(desiredRetention, kMinRetention, kMaxRetention);
    m_intervalModifier = round8((std::pow(retention, 1 / kDecay) - 1) / curveFactor());
}

Review Scheduler::first(Rating rating) const {
    States states;
    for (int g = 1; g <= 4; ++g)
        states[g - 1] = {std::max(kW[g - 1], 0.1), std::clamp(initialDifficulty(g), 1.0, 10.0)};
    return pick(states, m_intervalModifier, rating);
}

Review Scheduler::next(const MemoryState& state, int elapsedDays, Rating rating) const {
    const double r = retrievability(elapsedDays, state.stability);
    States states;
    for (int g = 1; g <= 4; ++g)
        states[g - 1] = {g == 1 ? lapseStability(state, r) : recallStability(state, r, g),
                         nextDifficulty(state.difficulty, g)};
    return pick(states, m_intervalModifier, rating);
}

} // namespace Fsrs
