#pragma once

#include <QString>

// The worst-remembered pair of a test: the pair whose count of answers still needed was the
// highest right after a wrong answer, and that count. Pair 0 means none.
struct WorstPair {
    int pair = 0;
    double count = 0;
};

// A finished test as the results page shows and logs it: the test page's caption and its
// counters as written in their labels.
struct TestOutcome {
    QString caption;
    QString asked; // answers asked for, repetitions included
    QString right;
    QString wrong;
};
