// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/DataDir.h"

#include <optional>

// The levels in the order of their options, as "Try.cfg" numbers them: "Lehká", "Střední", "Těžká",
// "Vlastní ...". Only the easy level takes an empty answer as the quick answer; the hard one has no hints.
enum class Level { Easy, Medium, Hard, Custom };
// The language the answer is typed in, in the order of the options and as "Try.cfg" numbers them:
// the foreign language, Czech, or either at random for each question.
enum class AnswerMode { Foreign, Czech, Both };

// The settings of the running test, taken from the test setup page by its OK (and Storno).
struct TestSettings {
    Level level = Level::Easy;
    AnswerMode answerMode = AnswerMode::Foreign;
    int repeats = 3;    // right answers each pair needs
    int penalty = 2;    // more of them after a wrong answer
    int maxRepeats = 6; // that a wrong answer can raise a pair's count to
    bool halfAnswer = false;
    int textbookNumber = 0;
    int lessonNumber = 0;
};

// What "Try.cfg" holds for the test setup page. A line that is missing, or a level or mode out of
// range, leaves that value unset, and the page keeps its initial value for it.
struct SavedTestSettings {
    std::optional<Level> level;
    std::optional<AnswerMode> answerMode;
    std::optional<QString> repeats; // the lines as read, for the text boxes
    std::optional<QString> penalty;
    std::optional<QString> maxRepeats;
    std::optional<bool> halfAnswer;

    static SavedTestSettings read(const DataDir& dir);
    // Six lines: level, mode, the three numbers and the half-answer switch, each with a leading blank.
    static IoStatus write(const DataDir& dir, const TestSettings& settings);
};
