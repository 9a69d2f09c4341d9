// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/DataDir.h"

// The two switches kept in "me.cfg": line 1 the background window, line 2 the QuickClick window.
struct AppSettings {
    bool background = false;
    bool quickClick = false;

    // A missing file or a missing or unreadable line reads as off; only the value 1 is on.
    static AppSettings read(const DataDir& dir);
    IoStatus write(const DataDir& dir) const;
};
