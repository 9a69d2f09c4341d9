#pragma once

#include "FixedSources.h"

#include "core/AppState.h"

#include <QTemporaryDir>

// A data directory of a test's own, scripted draws, a fixed clock and the state that holds them.
struct Sandbox {
    QTemporaryDir dir;
    DataDir dataDir{dir.path()};
    ScriptedRandom random;
    FixedClock clock;
    AppState state{dataDir, random, clock};
};
