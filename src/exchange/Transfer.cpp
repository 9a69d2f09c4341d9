// SPDX-License-Identifier: GPL-3.0-or-later
#include "Transfer.h"

#include "exchange/Delimited.h"
#include "exchange/FlashCards.h"
#include "exchange/Kvtml.h"
#include "store/DataDir.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace Exchange {

ImportedBook readFile(const QString& path, const ImportOptions& options) {
    const QString title = QFileInfo(path).completeBaseName();
    switch (options.format) {
    case Format::Kvtml: {
        if (options.foreignId >= 0)
            return readKvtml(path, options.foreignId, options.czechId);
        const KvtmlHeader header = readKvtmlHeader(path);
        if (!header.problem.isEmpty()) {
            ImportedBook failed;
            failed.problem = header.problem;
            return failed;
        }
        return readKvtml(path, header.foreign, header.czech);
    }
    case Format::Csv:
    case Format::Tsv: {
        const DelimitedTable table = readDelimited(path, options.format == Format::Tsv ? QChar(u'\t') : QChar());
        if (!table.problem.isEmpty() && table.rows.isEmpty()) {
            ImportedBook failed;
            failed.problem = table.problem;
            return failed;
        }
        ColumnChoice columns;
        columns.header = table.headerLikely;
        if (options.columns.size() >= 2) {
            columns.foreign = options.columns[0];
            columns.czech = options.columns[1];
            columns.lesson = options.columns.value(2, -1);
        }
        return importDelimited(table, columns, title);
    }
    case Format::FlashCards:
        return readFlashCards(path, options.splitCommas, title);
    }
    return {};
}

IoStatus writeFile(const DataDir& dir, int textbook, const QString& path, Format format,
                   const KvtmlLanguages& languages) {
    IoStatus read;
    const ExportedBook book = loadTextbook(dir, textbook, &read);
    if (!read.ok())
        return read;
    return writeBook(book, path, format, false, languages);
}

IoStatus writeBook(const ExportedBook& book, const QString& path, Format format, bool oneLesson,
                   const KvtmlLanguages& languages) {
    QByteArray bytes;
    const bool lesson = oneLesson && book.lessons.size() == 1;
    switch (format) {
    case Format::Kvtml:
        bytes = writeKvtml(book, languages);
        break;
    case Format::Csv:
        bytes = lesson ? writeDelimited(book.lessons.first(), u';') : writeDelimited(book, u';');
        break;
    case Format::Tsv:
        bytes = lesson ? writeDelimited(book.lessons.first(), u'\t') : writeDelimited(book, u'\t');
        break;
    case Format::FlashCards:
        bytes = writeFlashCards(book);
        break;
    }
    // Whole or not at all: a file half written would look like a textbook with lessons missing.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return IoStatus::fromError(IoStatus::Operation::Write, path, file.error(), errno);
    return {};
}

} // namespace Exchange
