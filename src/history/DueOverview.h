// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/ReviewHistory.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// A card due for review and where its pair lies today.
struct DueCard {
    Card card;
    int textbook = -1; // index into DueOverview::textbooks, -1 when no lesson holds the pair
    QString textbookName;
    QString lessonTitle;
    bool inLesson() const { return textbook >= 0; }
};

// The cards due up to a day, each found in the current lessons: what the review page shows and
// starts, and what the terminal lists. Made with a connection of its own, so it may run off the
// window's thread.
struct DueOverview {
    QList<DueCard> cards;  // by due date, then foreign side in code-point order
    QStringList textbooks; // every textbook, by number
    QString problem;       // why the history could not be read; empty when it could (or is new)
    QStringList fileProblems;

    // progress(done, total) may be called from the thread that reads.
    static DueOverview read(const QString& root, QDate until, const std::function<void(int, int)>& progress = {});
    // The terminal's list: one line per card, nine fields separated by tabs, UTF-8 with LF.
    QByteArray terminalList() const;
};
