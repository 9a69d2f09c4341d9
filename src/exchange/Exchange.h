// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Vocabulary brought in from, and taken out to, the formats of other programs: KVTML (KWordQuiz,
// Parley), CSV and TSV (spreadsheets), and the flash-card programs' plain text. Readers turn a file
// into an ImportedBook, free of this program's file rules; Exchange::store (ImportStore.h) applies
// them. Writers turn a textbook of ours into a file's bytes. QtCore only, no window.
namespace Exchange {

enum class Format { Kvtml, Csv, Tsv, FlashCards };

// The lesson of the pairs a file puts in none.
inline const QString kNoLesson = QStringLiteral("Bez lekce");

// A pair as a file held it: each side's alternatives as read (texts not yet cleaned), and where it
// stood: the line number (CSV, TSV, flash cards; 1-based, header included) or the KVTML entry id.
struct ImportedPair {
    QStringList foreign;
    QStringList czech;
    QString source; // "řádek 12" or "položka 7": names the row in a summary
};

struct ImportedLesson {
    QString title;
    QList<ImportedPair> pairs;
};

// Something the reader left out on purpose (comments, images, sounds, grades, other translations…):
// counted by kind for the summary, e.g. {"komentáře", 12}.
struct Omitted {
    QString what;
    int count = 0;
};

struct ImportedBook {
    QString title;                 // the textbook's name (KVTML: <information><title>; otherwise the file's name)
    QList<ImportedLesson> lessons; // in file order; pairs in no lesson go to "Bez lekce"
    QList<Omitted> omitted;
    QString problem; // why the file could not be read at all (Czech); empty on success
};

// A textbook of ours as the writers take it: its name and its lessons' titles and pair lines
// ("foreign*czech*", alternatives joined by "+"), in lesson-number order.
struct ExportedLesson {
    QString title;
    QStringList pairLines;
};
struct ExportedBook {
    QString title;
    QList<ExportedLesson> lessons;
};

// The lessons of a book gathered by title, in the order of their first pair; a blank title is kNoLesson.
class LessonsByTitle {
public:
    explicit LessonsByTitle(ImportedBook& book) : m_book(book) {}
    ImportedLesson& operator[](const QString& title);

private:
    ImportedBook& m_book;
    QHash<QString, qsizetype> m_at; // title -> index in m_book.lessons
    // The title asked for last and its lesson: rows mostly come lesson after lesson.
    QString m_lastTitle;
    qsizetype m_last = -1;
};

// The format a file name's extension names: .kvtml, .csv, .tsv, .txt (flash cards); false for others.
bool formatOf(const QString& fileName, Format* format);

} // namespace Exchange
