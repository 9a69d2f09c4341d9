#pragma once

// The worst-remembered pair of a test: the pair whose count of answers still needed was the
// highest right after a wrong answer, and that count. Pair 0 means none.
struct WorstPair {
    int pair = 0;
    double count = 0;
};
