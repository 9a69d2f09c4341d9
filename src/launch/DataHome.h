// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Which directory the program keeps its data in. The files themselves are where they always were,
// relative to that directory; this only chooses it, before the program makes it its working directory.
class DataHome {
public:
    struct Places {
        QString option;      // --data DIR
        QString environment; // MEMORAN_DATA
        QString startDir;    // where the program was started
        QString homeDir;
        QString userDataDir; // the per-user data folder (~/.local/share/Memoran)
        QString demoDir;     // the installed demo data, copied into a new per-user folder
    };
    struct Choice {
        QString dir;     // empty when refused
        QString problem; // the Czech reason when refused
    };

    static Choice choose(const Places& places);
    // The demo data found beside the program: bin/../share/memoran/demo, in an install tree or the build tree.
    static QString installedDemo(const QString& programDir);
    static bool holdsData(const QString& dir);
};
