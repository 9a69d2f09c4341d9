#pragma once

#include "store/DataDir.h"
#include "testing/Clock.h"
#include "testing/RandomSource.h"
#include "testing/TestState.h"

// The values that several windows share for the whole run; owned by the main window's creator
// and handed to the pages that need them. Nothing here is saved.
struct AppState {
    AppState(DataDir& dataDir, RandomSource& random, Clock& systemClock)
        : dir(dataDir), rng(random), clock(systemClock) {}

    DataDir& dir;
    RandomSource& rng;
    Clock& clock;

    WorstPair worstPair;
};
