// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonIndex.h"

#include "store/DataDir.h"
#include "store/FileNames.h"
#include "store/TextRoutines.h"

#include <algorithm>

namespace {

// Files of a folder by the number their name carries after prefix, as the pages list them.
QStringList byNumber(QStringList names, qsizetype prefixLength, qsizetype suffixLength) {
    const auto number = [&](const QString& name) {
        return numericValue(name.mid(prefixLength, name.size() - prefixLength - suffixLength));
    };
    std::ranges::stable_sort(names, [&](const QString& a, const QString& b) { return number(a) < number(b); });
    return names;
}

QString nameOr(const FileLines& file, const QString& fileName) {
    const QString line = file.lines.value(0);
    return line.trimmed().isEmpty() ? fileName : line;
}

} // namespace

void LessonIndex::read(const DataDir& dir, const std::function<void(int, int)>& progress) {
    m_textbooks.clear();
    m_places.clear();
    m_problems.clear();
    const FolderIndex books = dir.folder(FileNames::kBooks);
    const FolderIndex units = dir.folder(FileNames::kUnits);
    const QStringList bookFiles = byNumber(books.matchingFiles(QString(), FileNames::kMum), 0, 4);
    const auto note = [this](const FileLines& file) {
        if (!file.status.ok())
            m_problems.append(file.status.message());
    };
    for (const QString& bookFile : bookFiles) {
        const FileLines book = dir.readLines(books, bookFile);
        note(book);
        const int textbook = int(m_textbooks.size());
        m_textbooks.append(nameOr(book, bookFile));
        const QString t = textbookNumberText(bookFile);
        const QString titleSuffix = QStringLiteral("T.mum");
        for (const QString& titleFile :
             byNumber(units.matchingFiles(t + u'_', titleSuffix), t.size() + 1, titleSuffix.size())) {
            const FileLines title = dir.readLines(units, titleFile);
            note(title);
            const QString l = titleFile.mid(t.size() + 1, titleFile.size() - t.size() - 1 - titleSuffix.size());
            const QString lessonFile = FileNames::lessonFile(t, l);
            if (!units.contains(lessonFile))
                continue;
            const FileLines lesson = dir.readLines(units, lessonFile);
            note(lesson);
            const PairPlace place{textbook, nameOr(title, titleFile)};
            for (const QString& line : lesson.lines) {
                if (line.isEmpty())
                    continue;
                const QString key = pairLine(pairField(line, 1), pairField(line, 2));
                if (!m_places.contains(key)) // the first lesson by textbook and lesson number names it
                    m_places.insert(key, place);
            }
        }
        if (progress)
            progress(textbook + 1, int(bookFiles.size()));
    }
}

const PairPlace* LessonIndex::find(const PairSides& pair) const {
    const auto found = m_places.constFind(pairLine(pair.foreign, pair.czech));
    return found == m_places.cend() ? nullptr : &found.value();
}
