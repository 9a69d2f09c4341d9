// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <random>

// The program's one source of random numbers in [0, 1). Handed to whoever draws, so that tests
// can script the draws.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seed(quint64 value) = 0;
    virtual double next() = 0;
};

class MersenneRandom final : public RandomSource {
public:
    void seed(quint64 value) override { m_engine.seed(value); }
    double next() override { return std::generate_canonical<double, 53>(m_engine); }

private:
    std::mt19937_64 m_engine;
};
