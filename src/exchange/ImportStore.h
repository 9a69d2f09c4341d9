// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/Exchange.h"
#include "store/IoStatus.h"

class DataDir;

namespace Exchange {

// What of an imported book cannot be stored as it is, each row named by its source ("řádek 12",
// "položka 7") or, for lessons, by its title.
struct Refusals {
    QStringList star;                // a "*" inside a text: the pair line could not be read back
    QStringList tooManyAlternatives; // more than 10 on a side
    QStringList emptySide;           // a side without any text
    QStringList tooManyLessons;      // lessons beyond the 999th, left out whole
    QStringList splitLessons;        // lessons of more than 2,000 pairs, stored as "Název (2)"… (nothing lost)
    // Rows or lessons that would be left out (the user agrees first).
    bool leavesOut() const;
};

// The book as it will be stored: texts on one line (line breaks and tabs inside a side become one
// blank, other control characters go), pairs that cannot be stored left out, long lessons split.
struct StorePlan {
    QString title;
    QList<ExportedLesson> lessons; // titles and pair lines, at most 999
    Refusals refused;
    QList<Omitted> omitted; // what the reader left out, passed on
};
StorePlan plan(const ImportedBook& book);

// What storing did.
struct Stored {
    int textbook = 0; // its number; 0 when nothing was created
    int lessons = 0;
    int pairs = 0;
    bool utf8 = false; // some files are UTF-8 with a byte-order mark: a text needed it
    IoStatus status;   // a failure leaves nothing of the new textbook behind
};
// A new textbook: the editor's numbering, but never number 1 (the user textbook), its lessons
// numbered from 1.
Stored store(const DataDir& dir, const StorePlan& plan);

// The Czech summary of an import: textbook, lessons, pairs, what was left out and where, the
// encoding note (once).
QString summary(const StorePlan& plan, const Stored& stored);
// The same before anything is stored: what will be created and what will be left out.
QString planSummary(const StorePlan& plan);
// One line for each kind of row or lesson the plan leaves out, with their sources; empty when none.
QStringList leftOut(const Refusals& refused);

// A textbook of ours for the writers; status says why it could not be read.
ExportedBook loadTextbook(const DataDir& dir, int textbook, IoStatus* status);

} // namespace Exchange
