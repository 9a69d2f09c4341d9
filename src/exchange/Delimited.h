// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/Exchange.h"

namespace Exchange {

// A CSV or TSV file as rows of fields, for the preview and the choice of columns: encoding detected
// (UTF-8 with or without a byte-order mark, Windows-1250, UTF-16 with a byte-order mark), separator
// detected (";", ",", tab) unless given, RFC 4180 quoting.
struct DelimitedTable {
    QList<QStringList> rows;
    QChar separator;
    bool headerLikely = false; // the first row looks like names of columns
    QString problem;           // the file could not be read (Czech); empty on success
};
DelimitedTable readDelimited(const QString& path, QChar separator = {});

// Which columns (0-based) hold what; lesson -1: one lesson named after the title.
struct ColumnChoice {
    int foreign = 0;
    int czech = 1;
    int lesson = -1;
    bool header = false; // the first row is left out
};
// The columns a table most likely holds its pairs in: where a header row names a lesson column
// ("Lekce", "Lesson", "Deck"…), the lesson is there and the first two other columns are foreign and
// Czech; otherwise columns 0 and 1 without a lesson.
ColumnChoice guessColumns(const DelimitedTable& table);
// The pairs of the chosen columns; a side's "+" separates its alternatives.
ImportedBook importDelimited(const DelimitedTable& table, const ColumnChoice& columns, const QString& title);

// A textbook as CSV for Czech spreadsheets: UTF-8 with a byte-order mark, a header row, three
// columns (lesson title, foreign, Czech), alternatives kept with "+", RFC 4180 quoting, CR LF.
// separator ";" for CSV, tab for TSV.
QByteArray writeDelimited(const ExportedBook& book, QChar separator);
// One lesson: two columns (foreign, Czech).
QByteArray writeDelimited(const ExportedLesson& lesson, QChar separator);

} // namespace Exchange
