// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DataDir.h"

#include <QString>
#include <QStringList>

// What the vocabulary editor does to the files of textbooks and lessons: create, rename and delete
// them, load and save a lesson's pair list, add pairs one by one. Every write either completes or
// leaves the files as they were and says why in its IoStatus (a Czech sentence for a message box);
// nothing here shows a message. File names are given without folder ("3.mum", "3_2T.mum").
namespace Vocabulary {

// The lesson file of a title file: "3_2T.mum" (or "3_2t.mum") gives "3_2.mum".
QString lessonFileOf(const QString& titleFileName);

struct Created {
    QString fileName; // the new textbook file or lesson title file; empty when nothing was created
    IoStatus status;
};

// A new textbook: "books\" + t + ".mum" for the smallest t >= first whose name no entry of "books"
// takes, holding name, exactly as typed, as its only line. An import passes 2: textbook 1 is the user's.
Created createTextbook(const DataDir& dir, const QString& name, int first = 1);
// The textbook's file holds name as its only line afterwards; its lessons are not touched.
IoStatus renameTextbook(const DataDir& dir, const QString& fileName, const QString& name);
// Deletes "books\" + fileName and, with lessons, every file "units\" + t + "_*.mum" (t the textbook's
// number as text): lesson files and title files of that textbook only, never those of textbook 12 when
// t is 1. Stops at the first file that cannot be deleted (a folder of such a name is not), the
// textbook file itself last, so that a failure leaves the textbook listed. A deletion with lessons is
// recorded before its first file goes, and the record removed when the textbook file is gone: a run
// that ends half-way leaves the record for the next start (unfinishedDeletion()).
IoStatus deleteTextbook(const DataDir& dir, const QString& fileName, bool withLessons);

// The textbook whose deletion an earlier run left half done (fileName empty: none), with the name the
// textbook had.
struct UnfinishedDeletion {
    QString fileName;
    QString name;
};
UnfinishedDeletion unfinishedDeletion(const DataDir& dir);
// Settles that deletion: finish deletes the textbook and the rest of its lessons; otherwise they stay
// as they are. The record goes either way (so nobody is asked again), unless finishing fails.
IoStatus settleDeletion(const DataDir& dir, bool finish);

// The number a new lesson of textbook t gets in the editor: one above the highest number of the
// lesson files "units\" + t + "*.mum" (title files skipped; the number is the leading digits after
// the last "_", 0 without "_"). Lessons of textbook 12 count for textbook 1: the number is still one
// that textbook 1 has no lesson file for. 0 when no number is left.
int nextLessonNumber(const FolderIndex& units, const QString& t);
// A new lesson of textbook t numbered as above: its title file holding description as its only
// line, and its lesson file, empty. On failure no new file is left behind, and a title file that
// was there without its lesson file keeps its old line.
Created createLesson(const DataDir& dir, const QString& t, const QString& description);

// The pair lines of a lesson file, empty lines included, with the file's fingerprint. A missing lesson
// file is an empty lesson.
FileLines loadPairs(const DataDir& dir, const QString& lessonFileName);
// The lesson file holds exactly these pair lines afterwards (its encoding kept where it can be).
IoStatus savePairs(const DataDir& dir, const QString& lessonFileName, const QStringList& pairLines);
// A lesson opened for more pairs: its title file rewritten with description, its lesson file created
// empty when missing; lastLine receives the lesson file's last line that is not empty ("" if none).
// A lesson file that cannot be read changes nothing.
IoStatus openForExtension(const DataDir& dir, const QString& titleFileName, const QString& description,
                          QString* lastLine);
// One pair line appended to a lesson file (created when missing), on disk before this returns.
IoStatus appendPair(const DataDir& dir, const QString& lessonFileName, const QString& foreign, const QString& czech);
// Deletes the title file, then the lesson file; a file already missing is no error.
IoStatus deleteLesson(const DataDir& dir, const QString& titleFileName);

} // namespace Vocabulary
