#pragma once

#include "store/DataDir.h"

#include <optional>

// The settings of the running test, taken from the test setup page by its OK (and Storno).
struct TestSettings {
    int Level = 0;      // 0 "Lehká", 1 "Střední", 2 "Těžká", 3 "Vlastní ..."
    int AnswerMode = 0; // 0 answer in the foreign language, 1 in Czech, 2 both at random
    double Repeats = 3;
    double Penalty = 2;
    double MaxRepeats = 6;
    int HalfAnswer = 0;
    int TextbookNumber = 0;
    int LessonNumber = 0;
};

// What "Try.cfg" holds for the test setup page. A line that is missing, or a level or mode out of
// range, leaves that value unset, and the page keeps its initial value for it.
struct SavedTestSettings {
    std::optional<int> level;
    std::optional<int> answerMode;
    std::optional<QString> repeats; // the lines as read, for the text boxes
    std::optional<QString> penalty;
    std::optional<QString> maxRepeats;
    std::optional<bool> halfAnswer;

    static SavedTestSettings read(const DataDir& dir);
    // Six lines: level, mode, the three numbers and the half-answer switch, each with a leading blank.
    static IoStatus write(const DataDir& dir, const TestSettings& settings, bool halfAnswer);
};
