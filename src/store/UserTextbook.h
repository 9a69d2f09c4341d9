// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DataDir.h"

#include <QList>
#include <QString>

#include <functional>

// The user textbook: textbook 1, whose lessons are typed on the main window's own pages and kept
// numbered 1, 2, 3 … . Lesson n is its title file "units\1_" + n + "t.mum" (one line, its
// description) and its lesson file "units\1_" + n + ".mum" (its pairs); a lesson whose lesson file
// is missing is an empty lesson. Nothing here shows a message: every failure is an IoStatus with a
// Czech sentence that names the file.
namespace UserTextbook {

constexpr int kMaxLessons = 999;
// The textbook's name, which its pages carry as their title too.
inline const QString kName = QStringLiteral("Uživatelská učebnice");

// Paths in the system's spelling: "units\1_4t.mum", "units\1_4.mum".
QString titleFile(int n);
QString lessonFile(int n);
// The lesson file's name without folder, as the vocabulary's functions take it: "1_4.mum".
QString lessonName(int n);

// Called along long operations: done of total.
using Progress = std::function<void(int done, int total)>;

// books\1.mum, created with the name "Uživatelská učebnice" when it is missing, so that the lessons
// typed here are offered by the test setup.
IoStatus ensureTextbook(const DataDir& dir);

// Finishes a renumbering that an earlier run left half done (the program killed, the power cut):
// afterwards every lesson is under one number, none twice, none lost. Cheap when there is nothing
// to finish. Every other operation here calls it first.
IoStatus completeRenumbering(const DataDir& dir);

// Whether status is the refusal of a renumbering journal that this program did not write (edited by
// hand, damaged): it is never carried out, and the user may discard it.
bool refusedJournal(const DataDir& dir, const IoStatus& status);
// Removes the journal: the lessons stay as they are, and the operations here work again.
IoStatus discardJournal(const DataDir& dir);

struct Lesson {
    int number = 0;
    QString description; // line 1 of its title file
};
struct Lessons {
    QList<Lesson> lessons;  // by number
    QList<IoStatus> errors; // the folder, or title files listed all the same (by their file name)
};
// The lessons 1 to 999 that have a title file, in the order of their numbers.
Lessons list(const DataDir& dir, const Progress& progress = {});

// A new lesson numbered with the smallest n from 1 to 999 whose lesson file does not exist: its
// title file holds description (exactly as typed, perhaps empty) as its only line; its lesson file
// is made by the first pair. number is 0 when nothing was created (status says why, also when all
// 999 numbers are taken).
struct Created {
    int number = 0;
    IoStatus status;
};
Created createLesson(const DataDir& dir, const QString& description);

// Deletes lesson n, then moves each later lesson one number down where the number below it is free
// (walking up from 1 to 998), so that the lessons stay numbered without gaps. Killed at any moment,
// it leaves files that completeRenumbering() brings to the same end.
IoStatus deleteLesson(const DataDir& dir, int n, const Progress& progress = {});

} // namespace UserTextbook
