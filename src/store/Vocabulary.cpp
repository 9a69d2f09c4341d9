// SPDX-License-Identifier: GPL-3.0-or-later
#include "Vocabulary.h"

#include "FileNames.h"
#include "TextRoutines.h"

#include <algorithm>
#include <limits>

namespace Vocabulary {

namespace {

using namespace FileNames;

// A folder that is there but cannot be listed hides the numbers in use: better no new file than one
// written over an old one. A missing folder is left to the write, whose message names the file.
IoStatus listable(const FolderIndex& folder) {
    return folder.exists() ? folderStatus(folder) : IoStatus();
}

// The record of a textbook deletion under way: no listing of the program takes a ".txt" in "books".
const QString kDeletionRecord = QStringLiteral("delete_textbook.txt");
const QString kDeletionMark = QStringLiteral("Memoran: deletion of a textbook with its lessons, version 1");

// The record's lines: the mark, the textbook file's name, the textbook's name for the user.
IoStatus recordDeletion(const DataDir& dir, const FolderIndex& books, const QString& fileName) {
    const QString line = dir.readFirstLine(inBooks(fileName));
    return dir.rewrite(books, kDeletionRecord, {kDeletionMark, fileName, line.trimmed().isEmpty() ? fileName : line});
}

// The digits of a lesson number as they decide the order: leading zeros dropped, "" for 0.
QString numberDigits(const QString& lessonFileName) {
    const QString base = lessonFileName.chopped(kMum.size());
    const qsizetype underscore = base.lastIndexOf(u'_');
    if (underscore < 0)
        return {};
    qsizetype start = underscore + 1;
    qsizetype end = start;
    while (end < base.size() && base.at(end) >= u'0' && base.at(end) <= u'9')
        ++end;
    while (start < end && base.at(start) == u'0')
        ++start;
    return base.mid(start, end - start);
}

bool isTitleFile(const QString& name) {
    const QChar before = name.at(name.size() - kMum.size() - 1);
    return before == u'T' || before == u't';
}

// The digits of the highest lesson number of textbook t, compared as text: a number of any length
// counts, none overflows.
QString highestDigits(const FolderIndex& units, const QString& t) {
    QString highest;
    for (const QString& name : units.matching(t, kMum)) {
        if (name.size() <= t.size() + kMum.size() || isTitleFile(name))
            continue;
        const QString digits = numberDigits(name);
        if (digits.size() > highest.size() || (digits.size() == highest.size() && digits > highest))
            highest = digits;
    }
    return highest;
}

// Decimal digits plus one: "199" gives "200".
QString incremented(QString digits) {
    qsizetype i = digits.size();
    while (i > 0 && digits.at(i - 1) == u'9')
        digits[--i] = u'0';
    if (i == 0)
        return u'1' + digits;
    digits[i - 1] = QChar(digits.at(i - 1).unicode() + 1);
    return digits;
}

// The title file with its lesson file: the lesson file, when it is new, is created first, so that a
// failed title leaves nothing behind but the old title, whole.
IoStatus writeLesson(const DataDir& dir, const FolderIndex& units, const QString& titleFileName,
                     const QString& description, bool createLessonFile) {
    const QString lessonFile = lessonFileOf(titleFileName);
    if (createLessonFile) {
        const IoStatus created = dir.rewrite(units, lessonFile, {});
        if (!created.ok())
            return created;
    }
    const IoStatus title = dir.rewrite(units, titleFileName, {description});
    if (!title.ok() && createLessonFile)
        dir.remove(units, lessonFile);
    return title;
}

} // namespace

QString lessonFileOf(const QString& titleFileName) {
    return titleFileName.chopped(std::min<qsizetype>(5, titleFileName.size())) + kMum;
}

Created createTextbook(const DataDir& dir, const QString& name, int first) {
    const FolderIndex books = dir.folder(kBooks);
    if (const IoStatus folder = listable(books); !folder.ok())
        return {{}, folder};
    // Any entry takes its number, a folder or a pipe too: the new file must not land on it. The loop
    // ends within one more than the folder's entries.
    int t = first;
    while (books.contains(textbookFile(QString::number(t))))
        ++t;
    const QString fileName = textbookFile(QString::number(t));
    const IoStatus status = dir.rewrite(books, fileName, {name});
    return {status.ok() ? fileName : QString(), status};
}

IoStatus renameTextbook(const DataDir& dir, const QString& fileName, const QString& name) {
    return dir.rewrite(inBooks(fileName), {name});
}

IoStatus deleteTextbook(const DataDir& dir, const QString& fileName, bool withLessons) {
    if (!withLessons)
        return dir.remove(inBooks(fileName));
    const FolderIndex units = dir.folder(kUnits);
    if (const IoStatus folder = listable(units); !folder.ok())
        return folder;
    const FolderIndex books = dir.folder(kBooks);
    if (const IoStatus recorded = recordDeletion(dir, books, fileName); !recorded.ok())
        return recorded.asDeletionNotStarted(IoStatus::Operation::DeleteTextbook, books.filePath(fileName));
    // Names first, then deletion: the folder changes while it is walked otherwise.
    const QStringList lessons = units.matching(textbookNumberText(fileName) + u'_', kMum);
    for (const QString& name : lessons) {
        const IoStatus removed = dir.remove(units, name);
        if (!removed.ok())
            return removed; // the textbook stays listed, so the user can try again
    }
    if (const IoStatus removed = dir.remove(books, fileName); !removed.ok())
        return removed;
    return dir.remove(books, kDeletionRecord);
}

UnfinishedDeletion unfinishedDeletion(const DataDir& dir) {
    const FolderIndex books = dir.folder(kBooks);
    if (!books.contains(kDeletionRecord))
        return {};
    const QStringList lines = dir.readLines(books, kDeletionRecord).lines;
    // Only a record of ours is acted on: a textbook file's name, in "books" itself.
    const QString fileName = lines.value(1);
    if (lines.value(0) != kDeletionMark || !fileName.endsWith(kMum, Qt::CaseInsensitive) ||
        fileName.size() <= kMum.size() || fileName.contains(u'/') || fileName.contains(u'\\'))
        return {};
    return {fileName, lines.value(2)};
}

IoStatus settleDeletion(const DataDir& dir, bool finish) {
    const UnfinishedDeletion deletion = unfinishedDeletion(dir);
    if (deletion.fileName.isEmpty())
        return {};
    if (finish)
        return deleteTextbook(dir, deletion.fileName, true);
    return dir.remove(inBooks(kDeletionRecord));
}

int nextLessonNumber(const FolderIndex& units, const QString& t) {
    const QString highest = highestDigits(units, t);
    constexpr int kMax = std::numeric_limits<int>::max();
    if (highest.size() > QString::number(kMax).size())
        return 0;
    const qint64 m = highest.isEmpty() ? 0 : highest.toLongLong();
    return m < kMax ? static_cast<int>(m) + 1 : 0;
}

Created createLesson(const DataDir& dir, const QString& t, const QString& description) {
    const FolderIndex units = dir.folder(kUnits);
    if (const IoStatus folder = listable(units); !folder.ok())
        return {{}, folder};
    const int l = nextLessonNumber(units, t);
    if (l == 0) {
        const QString title = titleFile(t, incremented(highestDigits(units, t)));
        return {{},
                IoStatus::failure(IoStatus::Operation::Write, units.filePath(title),
                                  QStringLiteral("číslo nové lekce by bylo větší než %1, tak velké číslo program "
                                                 "neumí použít")
                                      .arg(std::numeric_limits<int>::max()),
                                  IoStatus::Outcome::NotCreated)};
    }
    const QString title = titleFile(t, QString::number(l));
    const IoStatus status = writeLesson(dir, units, title, description, true);
    return {status.ok() ? title : QString(), status};
}

FileLines loadPairs(const DataDir& dir, const QString& lessonFileName) {
    const FolderIndex units = dir.folder(kUnits);
    // Missing only when a listing says so: a folder that cannot be listed may still hold the file.
    if (folderStatus(units).ok() && !units.contains(lessonFileName))
        return {}; // a lesson whose first pair is still to come (its fingerprint: no file)
    return dir.readLines(units, lessonFileName, true);
}

IoStatus savePairs(const DataDir& dir, const QString& lessonFileName, const QStringList& pairLines) {
    return dir.rewrite(inUnits(lessonFileName), pairLines);
}

IoStatus openForExtension(const DataDir& dir, const QString& titleFileName, const QString& description,
                          QString* lastLine) {
    const FolderIndex units = dir.folder(kUnits);
    // An unlisted lesson file would be created empty over the pairs it holds.
    if (const IoStatus folder = listable(units); !folder.ok())
        return folder;
    const QString lessonFile = lessonFileOf(titleFileName);
    const bool lessonExists = units.contains(lessonFile);
    QString last;
    if (lessonExists) {
        // Read before anything is written: a file that cannot be read changes nothing.
        const FileLines pairs = dir.readLines(units, lessonFile);
        if (!pairs.status.ok())
            return pairs.status;
        const auto found = std::find_if(pairs.lines.crbegin(), pairs.lines.crend(),
                                        [](const QString& line) { return !line.isEmpty(); });
        if (found != pairs.lines.crend())
            last = *found;
        // The title changes only when the pairs can follow it (a read-only lesson file keeps both).
        if (const IoStatus appendable = dir.checkAppendable(units, lessonFile); !appendable.ok())
            return appendable;
    }
    const IoStatus status = writeLesson(dir, units, titleFileName, description, !lessonExists);
    if (status.ok() && lastLine)
        *lastLine = last;
    return status;
}

IoStatus appendPair(const DataDir& dir, const QString& lessonFileName, const QString& foreign, const QString& czech) {
    return dir.appendLine(inUnits(lessonFileName), pairLine(foreign, czech));
}

IoStatus deleteLesson(const DataDir& dir, const QString& titleFileName) {
    const FolderIndex units = dir.folder(kUnits);
    const IoStatus title = dir.remove(units, titleFileName);
    if (!title.ok())
        return title;
    return dir.remove(units, lessonFileOf(titleFileName));
}

} // namespace Vocabulary
