#pragma once

#include "core/Clock.h"
#include "core/RandomSource.h"
#include "core/TestSettings.h"
#include "core/TestState.h"
#include "core/WordLists.h"
#include "store/DataDir.h"

// The values that several windows share for the whole run; owned by the main window's creator
// and handed to the pages that need them. Nothing here is saved.
struct AppState {
    AppState(DataDir& dataDir, RandomSource& random, Clock& systemClock)
        : dir(dataDir), rng(random), clock(systemClock) {}

    DataDir& dir;
    RandomSource& rng;
    Clock& clock;

    TestSettings testSettings;
    WordLists wordLists;
    int currentPair = 0; // the pair being asked
    int direction = 1;   // 1 Czech side shown, 2 foreign side shown
    WorstPair worstPair;
    // The letters typed into the letter mask of a hint so far.
    QString hintLetters;
    // The user-textbook lesson file being filled or edited.
    QString currentLessonFile;
    // The word lists wait for the user to pick pairs; the user confirmed a selection.
    bool selectionPending = false;
    bool selectionDone = false;
};
