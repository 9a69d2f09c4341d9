// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/ReviewHistory.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>

class DataDir;

// Where a pair lies now: the first lesson holding it, by textbook and lesson number.
struct PairPlace {
    int textbook = 0; // index into LessonIndex::textbooks()
    QString lessonTitle;
};

// The pairs of every lesson of the data directory, read once: one listing of each folder and one read
// of each file. The history names pairs by their sides; this says where they are today, after
// lessons were renamed, renumbered or emptied.
class LessonIndex {
public:
    // Reads the lessons; progress(done, total) is called after each textbook when given.
    void read(const DataDir& dir, const std::function<void(int, int)>& progress = {});

    // The textbooks' names by number order.
    const QStringList& textbooks() const { return m_textbooks; }
    // Where the pair lies, or null when no lesson holds it.
    const PairPlace* find(const PairSides& pair) const;
    // Files that could not be read, in Czech; their pairs are missing from the index.
    const QStringList& problems() const { return m_problems; }

private:
    QStringList m_textbooks;
    QHash<QString, PairPlace> m_places; // by the pair line
    QStringList m_problems;
};
