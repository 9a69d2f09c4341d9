// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Clock.h"
#include "core/RandomSource.h"
#include "core/TestSession.h"
#include "store/DataDir.h"

// The values that several windows share for the whole run; owned by the main window's creator
// and handed to the pages that need them. Nothing here is saved.
struct AppState {
    AppState(DataDir& dataDir, RandomSource& random, Clock& systemClock)
        : dir(dataDir), rng(random), clock(systemClock) {}

    DataDir& dir;
    RandomSource& rng;
    Clock& clock;

    // The test being set up, run or shown in its results: the setup page fills it, the test page
    // and the hints run it, the results page reads its outcome.
    TestSession test;
    // The user-textbook lesson file being filled or edited.
    QString currentLessonFile;
};
