// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class LessonActionPage;
class NewLessonPage;
class PairListPage;

// The three pages of the user textbook; the main window connects the lesson action page to the
// other two.
struct UserTextbookPages {
    LessonActionPage* actions = nullptr; // page 3
    NewLessonPage* entry = nullptr;      // page 7
    PairListPage* pairs = nullptr;       // page 8
};
