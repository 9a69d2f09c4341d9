// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/ImportStore.h"
#include "exchange/Kvtml.h"

namespace Exchange {

// How a file is read: its format and the choices the wizard or the command line made.
struct ImportOptions {
    Format format = Format::Csv;
    int foreignId = -1; // KVTML identifiers; -1: the preselected ones
    int czechId = -1;
    QList<int> columns;       // CSV/TSV: foreign, Czech[, lesson], 0-based; empty: 0, 1 and the header guessed
    bool splitCommas = false; // flash cards: ", " separates alternatives
};

// A file read into a book, by its format; book.problem says why it could not be.
ImportedBook readFile(const QString& path, const ImportOptions& options);
// A textbook written to a file in a format, whole or not at all; a KVTML file names its two languages
// as given.
IoStatus writeFile(const DataDir& dir, int textbook, const QString& path, Format format,
                   const KvtmlLanguages& languages = {});
// A book written to a file the same way. oneLesson: the book's only lesson is what is exported, so
// CSV and TSV leave the lesson column out.
IoStatus writeBook(const ExportedBook& book, const QString& path, Format format, bool oneLesson = false,
                   const KvtmlLanguages& languages = {});

} // namespace Exchange
