// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/DataDir.h"
#include "ui/Page.h"

#include <array>

struct AppState;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class Shell;

// Page 3, the entry to the user textbook: a new lesson, more pairs for a lesson, the pairs of a
// lesson to correct, or a lesson deleted (the later ones move one number down).
class LessonActionPage : public Page {
    Q_OBJECT
public:
    LessonActionPage(Shell& shell, AppState& state, QWidget* parent = nullptr);

    void F3Opt_Click(int Index);
    void F3CmdOk_Click();
    void F3CmdStorno_Click();

    // The lesson number an entry of the lesson list acts on.
    int lessonNumber(int entry) const;

Q_SIGNALS:
    // Page 7 is to take pairs for the lesson in state.currentLessonFile, whose last pair is lastPair
    // (in edit form).
    void addPairsRequested(const QString& lastPair);
    // Page 8 is to list these pair lines of the lesson in state.currentLessonFile, read as read, whose
    // description is lesson.
    void editPairsRequested(const QStringList& pairLines, const Fingerprint& read, const QString& lesson);

private:
    void refillLessons();
    // The pair lines of lesson n; false (and the message shown) when its file cannot be read.
    bool readLesson(int n, FileLines* lesson);
    void deleteLesson(int n);

    Shell& m_shell;
    AppState& m_state;
    std::array<QRadioButton*, 4> m_options{};
    QLabel* m_lessonLabel = nullptr;
    QComboBox* m_lessons = nullptr;
};
