// SPDX-License-Identifier: GPL-3.0-or-later
// The readers of other programs' files on any bytes: the first byte picks KVTML, CSV, TSV or flash-card
// text, the rest is the file. Whatever they make of it, the plan stores only lines the program reads
// back as the same two sides (no "*", no control character, at most 10 alternatives, 2,000 pairs a
// lesson, 999 lessons, titles on one line), and a KVTML book written out and read again plans the same.

#include "Fuzz.h"

#include "exchange/Transfer.h"
#include "store/TextRoutines.h"

#include <QTemporaryDir>

namespace {

// A title file's line: no control character (a "*" is fine there, only pair lines use it).
bool oneLine(const QString& text) {
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

bool oneLineWithoutStar(const QString& text) {
    return !text.contains(u'*') && oneLine(text);
}

QStringList planned(const Exchange::StorePlan& plan) {
    QStringList lines;
    for (const Exchange::ExportedLesson& lesson : plan.lessons)
        lines << lesson.title + u':' + lesson.pairLines.join(u'|');
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static const QTemporaryDir scratch;
    const auto format = Exchange::Format(data[0] % 4);
    const QString path = scratch.filePath(QStringLiteral("input"));
    writeBytes(path, QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)));
    const Exchange::ImportOptions options{format, -1, -1, {}, (data[0] & 4) != 0};
    const Exchange::ImportedBook book = Exchange::readFile(path, options);
    if (!book.problem.isEmpty())
        return 0;
    const Exchange::StorePlan plan = Exchange::plan(book);
    FUZZ_CHECK(plan.lessons.size() <= 999, QString::number(plan.lessons.size()));
    for (const Exchange::ExportedLesson& lesson : plan.lessons) {
        FUZZ_CHECK(lesson.pairLines.size() <= 2000 && oneLine(lesson.title), shown(lesson.title));
        for (const QString& line : lesson.pairLines) {
            const QString foreign = pairField(line, 1), czech = pairField(line, 2);
            FUZZ_CHECK(line == pairLine(foreign, czech) && !foreign.isEmpty() && !czech.isEmpty() &&
                           oneLineWithoutStar(foreign) && oneLineWithoutStar(czech) && foreign.count(u'+') < 10 &&
                           czech.count(u'+') < 10,
                       shown(line));
        }
    }
    if (format != Exchange::Format::Kvtml)
        return 0;
    // KVTML keeps everything a plan holds: out and in again, the same lessons and lines.
    Exchange::ExportedBook out{plan.title, plan.lessons};
    const QString again = scratch.filePath(QStringLiteral("again.kvtml"));
    FUZZ_CHECK(Exchange::writeBook(out, again, Exchange::Format::Kvtml).ok(), QString());
    const Exchange::StorePlan back =
        Exchange::plan(Exchange::readFile(again, {Exchange::Format::Kvtml, -1, -1, {}, false}));
    FUZZ_CHECK(planned(back) == planned(plan),
               shown(planned(plan).join(u'\n')) + QStringLiteral(" / ") + shown(planned(back).join(u'\n')));
    return 0;
}
