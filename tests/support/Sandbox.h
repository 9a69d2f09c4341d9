// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FixedSources.h"

#include "core/AppState.h"

#include <QDir>
#include <QTemporaryDir>

// A data directory of a test's own, scripted draws, a fixed clock and the state that holds them.
// Like every installation it has its folders "books" and "units" (empty): a missing one is an error
// that the test setup page reports, at start-up too.
struct Sandbox {
    QTemporaryDir dir;
    bool folders = QDir(dir.path()).mkdir(QStringLiteral("books")) && QDir(dir.path()).mkdir(QStringLiteral("units"));
    DataDir dataDir{dir.path()};
    ScriptedRandom random;
    FixedClock clock;
    AppState state{dataDir, random, clock};
};
