// SPDX-License-Identifier: GPL-3.0-or-later
// A whole data directory made from the input, read by every reader the program has: the textbook
// and lesson listings with their title lines, the lesson files, "me.cfg", "Try.cfg", the results log
// and the user textbook's list. Nothing may hang, crash or write (but the user textbook, which
// finishes an interrupted renumbering); what is read must be what the files hold.

#include "Fuzz.h"

#include "core/AppSettings.h"
#include "core/TestSettings.h"
#include "store/TextRoutines.h"
#include "store/UserTextbook.h"
#include "store/Vocabulary.h"

#include <algorithm>
#include <functional>

namespace {

// The lines of a file as a plain reading of its bytes gives them.
QStringList refLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // A line ends at LF, with the CR before it; a lone CR is part of its line, as is one at the very end.
    QStringList lines = Cp1250::decodeFile(file.readAll()).split(u'\n');
    const QString last = lines.takeLast();
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    if (!last.isEmpty())
        lines.append(last);
    return lines;
}

void checkLines(const QString& path, const FileLines& read) {
    if (read.status.ok() && QFileInfo(path).isFile())
        FUZZ_CHECK(read.lines == refLines(path), path);
}

// The entries of folder that a listing takes: regular files (or links to them) whose name has the
// prefix and suffix in any case.
QStringList refFiles(const QString& folder, const QString& prefix, const QString& suffix) {
    QStringList result;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (name.size() >= prefix.size() + suffix.size() && name.startsWith(prefix, Qt::CaseInsensitive) &&
            name.endsWith(suffix, Qt::CaseInsensitive))
            result.append(name);
    }
    return result;
}

// A listing holds exactly the files it should, by number then name, each named by its line 1 unless
// that is blank or unreadable.
void checkListing(const FileListing& listing, const QString& folder, const QStringList& expected,
                  const std::function<double(const QString&)>& number) {
    if (!QFileInfo(folder).isDir())
        return;
    QStringList files = listing.fileNames;
    files.sort();
    QStringList wanted = expected;
    wanted.sort();
    FUZZ_CHECK(files == wanted && listing.names.size() == files.size(), folder + u' ' + files.join(u'|'));
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& name = listing.fileNames.at(i);
        if (i > 0) {
            const QString& previous = listing.fileNames.at(i - 1);
            const double a = number(previous), b = number(name);
            FUZZ_CHECK(a < b || (a == b && previous.compare(name, Qt::CaseInsensitive) <= 0), previous + u' ' + name);
        }
        const QStringList lines = refLines(folder + u'/' + name);
        const QString first = lines.value(0);
        const bool readable = std::none_of(listing.errors.cbegin(), listing.errors.cend(),
                                           [&](const IoStatus& e) { return e.path().endsWith(u'/' + name); });
        const QString shownName = readable && !first.trimmed().isEmpty() ? first : name;
        FUZZ_CHECK(listing.names.at(i) == shownName, name + u' ' + shown(listing.names.at(i)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ScratchDir box(parseEntries(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size))));
    const DataDir dir(box.tmp.path());
    const Tree before = box.now();

    const QString books = dir.resolve(QStringLiteral("books")), units = dir.resolve(QStringLiteral("units"));
    const FileListing textbooks = dir.listTextbooks();
    checkListing(textbooks, books, refFiles(books, QString(), QStringLiteral(".mum")),
                 [](const QString& name) { return numericValue(textbookNumberText(name)); });
    for (const QString& book : textbooks.fileNames) {
        const QString t = textbookNumberText(book);
        const FileListing lessons = dir.listLessons(t);
        checkListing(lessons, units, refFiles(units, t + u'_', QStringLiteral("T.mum")), [&t](const QString& name) {
            return numericValue(name.mid(t.size() + 1, name.size() - t.size() - 6));
        });
        for (const QString& title : lessons.fileNames) {
            const QString lesson = Vocabulary::lessonFileOf(title);
            checkLines(units + u'/' + lesson, Vocabulary::loadPairs(dir, lesson));
            IoStatus status;
            const QString first = dir.readFirstLine(QStringLiteral("units\\") + title, &status);
            FUZZ_CHECK(!status.ok() || first == refLines(units + u'/' + title).value(0), title);
        }
    }
    for (const QString& name : {QStringLiteral("me.cfg"), QStringLiteral("Try.cfg"), QStringLiteral("Zkouseni.txt")})
        checkLines(dir.resolve(name), dir.readLines(name));
    const AppSettings app = AppSettings::read(dir);
    if (dir.readLines(QStringLiteral("me.cfg")).status.ok()) { // a regular file: its reference reading cannot hang
        const QStringList me = refLines(dir.resolve(QStringLiteral("me.cfg")));
        FUZZ_CHECK(app.background == (numericValue(me.value(0)) == 1) &&
                       app.quickClick == (numericValue(me.value(1)) == 1),
                   "me.cfg");
    }
    SavedTestSettings::read(dir);
    FUZZ_CHECK(box.now() == before, "a reader changed the data directory");

    const UserTextbook::Lessons user = UserTextbook::list(dir);
    for (qsizetype i = 0; i < user.lessons.size(); ++i) {
        const int n = user.lessons.at(i).number;
        FUZZ_CHECK(n >= 1 && n <= UserTextbook::kMaxLessons && (i == 0 || user.lessons.at(i - 1).number < n),
                   QString::number(n));
    }
    return 0;
}
