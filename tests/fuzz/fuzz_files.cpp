// The editor's and the user textbook's file operations, and the results log, on a data directory made
// from the input. The entry "ops" holds the operations, one a line: a letter, then its arguments
// separated by "|". After each one: it touched only the files it may, it did what it says or nothing
// at all (the deletions and renumbering may stop half way, as documented), left no temporary file,
// and no lesson of the user textbook was lost or doubled.

#include "Fuzz.h"

#include "store/TextRoutines.h"
#include "store/UserTextbook.h"
#include "store/Vocabulary.h"

#include <QRegularExpression>

#include <algorithm>
#include <functional>

namespace {

// The user textbook's files by kind and bytes ("t:" a title, "l:" pairs), whatever their numbers; with n,
// only the two files that lesson n's names find.
QStringList userFiles(const DataDir& dir, const Entries& entries, int n = 0) {
    static const QRegularExpression lessonName(QStringLiteral("^1_[1-9][0-9]{0,2}(t?)\\.mum\\z"),
                                               QRegularExpression::CaseInsensitiveOption);
    const FolderIndex units = dir.folder(QStringLiteral("units"));
    const QString prefix = QDir(dir.root()).relativeFilePath(units.path()) + u'/';
    const QStringList names = n > 0 ? QStringList{units.find(QStringLiteral("1_%1t.mum").arg(n)),
                                                  units.find(QStringLiteral("1_%1.mum").arg(n))}
                                    : units.matchingFiles(QStringLiteral("1_"), QStringLiteral(".mum"));
    QStringList files;
    for (const QString& name : names) {
        const QRegularExpressionMatch match = lessonName.match(name);
        const QByteArray bytes = entries.value(prefix + name, kFifo);
        if (match.hasMatch() && bytes != kFifo && !bytes.startsWith(kLink))
            files.append((match.capturedLength(1) ? "t:" : "l:") + QString::fromLatin1(bytes.toHex()));
    }
    return files;
}

// Whether every item of part is in whole, counted with its repetitions.
bool within(const QStringList& part, QStringList whole) {
    return std::all_of(part.cbegin(), part.cend(), [&whole](const QString& item) { return whole.removeOne(item); });
}

// Whether the units folder holds a renumbering's journal or trash.
bool renumbering(const DataDir& dir, const Entries& entries) {
    const QString units = QDir(dir.root()).relativeFilePath(dir.resolve(QStringLiteral("units")));
    return std::any_of(entries.keyBegin(), entries.keyEnd(), [&units](const QString& path) {
        return path.section(u'/', 0, 0) == units &&
               QStringLiteral("1_renumber.txt 1_renumber_title.txt 1_renumber_lesson.txt")
                   .split(u' ')
                   .contains(path.section(u'/', 1), Qt::CaseInsensitive);
    });
}

// A file's lines as the program reads them; "<unreadable>" when it cannot.
QStringList linesOf(const DataDir& dir, const QString& sysPath) {
    const FileLines file = dir.readLines(sysPath);
    return file.status.ok() ? file.lines : QStringList{QStringLiteral("<unreadable>")};
}

// A file name as the program would get it, from a listing: no folder in it.
QString argument(const QStringList& args, int i) {
    QString arg = args.value(i);
    arg.remove(u'/').remove(u'\\');
    return arg == u"." || arg == u".." ? QString() : arg;
}

struct Operation {
    QString name;
    std::function<bool(const QString& path)> mayTouch; // relative paths, folder and name as on disk
    bool partial = false;                              // may stop half way on a failure
};

// A last line that ends in CR is a CR LF cut short: an appended line completes it.
QStringList linesBeforeAppend(const DataDir& dir, const QString& sysPath) {
    FileLines old = dir.readLines(sysPath);
    QFile file(dir.resolve(sysPath));
    if (old.status.ok() && file.open(QIODevice::ReadOnly) && Cp1250::decodeFile(file.readAll()).endsWith(u'\r'))
        old.lines.last().chop(1);
    return old.lines;
}

bool in(const QString& path, const QString& folder, const QString& name) {
    return path.compare(folder + u'/' + name, Qt::CaseInsensitive) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Entries entries = parseEntries(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    // No text box gives U+0000.
    const QStringList ops = QString::fromUtf8(entries.take(QStringLiteral("ops"))).remove(QChar(0)).split(u'\n');
    // What an operation may touch follows names, which a link to a folder would make ambiguous.
    entries.removeIf([](const auto& entry) { return entry.value().startsWith(kLink); });
    ScratchDir box(entries);
    const DataDir dir(box.tmp.path());
    // What an interrupted save leaves: the file's name, "." and six letters or digits.
    static const QRegularExpression temporary(QStringLiteral("\\.(mum|txt|cfg)\\.[A-Za-z0-9]{6}\\z"),
                                              QRegularExpression::CaseInsensitiveOption);

    for (qsizetype k = 0; k < std::min<qsizetype>(ops.size(), 16); ++k) {
        const QString& op = ops.at(k);
        const QStringList args = op.mid(1).split(u'|');
        const QString a = argument(args, 0), b = argument(args, 1);
        const Entries before = box.now();
        const bool journal = renumbering(dir, before);
        const QStringList lessonsBefore = userFiles(dir, before);
        const int n = saturatedInt(numericValue(a));
        const QStringList deletedLesson =
            op.startsWith(u'x') && n >= 1 && n <= UserTextbook::kMaxLessons ? userFiles(dir, before, n) : QStringList();
        const QString books = QStringLiteral("books"), units = QStringLiteral("units");
        auto inUnits = [&](const QString& name) { return [=](const QString& p) { return in(p, units, name); }; };
        auto userFile = [](const QString& p) { return p.startsWith(QStringLiteral("units/1_"), Qt::CaseInsensitive); };
        IoStatus status;
        Operation what;
        QStringList expected, actual; // what the operation says the file holds afterwards
        QStringList replaced;         // the user textbook's files that a new lesson takes the place of

        // The operations on a listed file get its name, never an empty one.
        if (op.isEmpty() || (QStringLiteral("RDSAXE").contains(op.at(0)) && a.isEmpty()))
            continue;
        switch (op.at(0).unicode()) {
        case u'B': {
            const Vocabulary::Created created = Vocabulary::createTextbook(dir, args.value(0));
            status = created.status;
            what = {"createTextbook", [=](const QString& p) { return in(p, books, created.fileName); }};
            if (status.ok()) {
                expected = {args.value(0), "listed"};
                actual =
                    linesOf(dir, QStringLiteral("books\\") + created.fileName)
                    << (dir.listTextbooks().fileNames.contains(created.fileName, Qt::CaseInsensitive) ? "listed"
                                                                                                      : "not listed");
            }
            break;
        }
        case u'R':
            status = Vocabulary::renameTextbook(dir, a, args.value(1));
            what = {"renameTextbook", [=](const QString& p) { return in(p, books, a); }};
            expected = {args.value(1)}, actual = linesOf(dir, QStringLiteral("books\\") + a);
            break;
        case u'D': {
            const QString t = textbookNumberText(a);
            status = Vocabulary::deleteTextbook(dir, a, b == u"1");
            what = {"deleteTextbook",
                    [=](const QString& p) {
                        const QString name = p.section(u'/', 1);
                        // With lessons, its record stays when it stops half way.
                        return in(p, books, a) || (b == u"1" && in(p, books, QStringLiteral("delete_textbook.txt"))) ||
                               (b == u"1" && p.startsWith(QStringLiteral("units/"), Qt::CaseInsensitive) &&
                                name.startsWith(t + u'_', Qt::CaseInsensitive) &&
                                name.endsWith(QStringLiteral(".mum"), Qt::CaseInsensitive));
                    },
                    true};
            break;
        }
        case u'L': {
            const Vocabulary::Created created = Vocabulary::createLesson(dir, a, args.value(1));
            status = created.status;
            const QString lesson = Vocabulary::lessonFileOf(created.fileName);
            what = {"createLesson",
                    [=](const QString& p) { return in(p, units, created.fileName) || in(p, units, lesson); }};
            if (status.ok()) {
                expected = {args.value(1), "no pairs", "listed"};
                actual =
                    linesOf(dir, QStringLiteral("units\\") + created.fileName)
                    << (linesOf(dir, QStringLiteral("units\\") + lesson).isEmpty() ? "no pairs" : "pairs")
                    << (dir.listLessons(a).fileNames.contains(created.fileName, Qt::CaseInsensitive) ? "listed"
                                                                                                     : "not listed");
            }
            break;
        }
        case u'S': {
            const QStringList lines = op.mid(1).split(u'|').mid(1);
            const QString lesson = Vocabulary::lessonFileOf(a);
            status = Vocabulary::savePairs(dir, lesson, lines);
            what = {"savePairs", inUnits(lesson)};
            expected = lines, actual = linesOf(dir, QStringLiteral("units\\") + lesson);
            break;
        }
        case u'A':
        case u'Z': {
            // A pair into a lesson file, or a record into the results log.
            const QString file = op.at(0) == u'Z' ? QStringLiteral("Zkouseni.txt")
                                                  : QStringLiteral("units\\") + Vocabulary::lessonFileOf(a);
            const bool readable = dir.readLines(file).status.ok() || !QFileInfo::exists(dir.resolve(file));
            const QStringList old = linesBeforeAppend(dir, file);
            const QString line = op.at(0) == u'Z' ? op.mid(1) : pairLine(args.value(1), args.value(2));
            status = op.at(0) == u'Z'
                         ? dir.appendLine(file, line)
                         : Vocabulary::appendPair(dir, Vocabulary::lessonFileOf(a), args.value(1), args.value(2));
            const QString path = QDir(dir.root()).relativeFilePath(dir.resolve(file));
            what = {"append", [=](const QString& p) { return p == path; }};
            if (readable)
                expected = old + QStringList{line}, actual = linesOf(dir, file);
            break;
        }
        case u'X':
            status = Vocabulary::deleteLesson(dir, a);
            what = {"deleteLesson",
                    [=](const QString& p) { return in(p, units, a) || in(p, units, Vocabulary::lessonFileOf(a)); },
                    true};
            break;
        case u'E': {
            const QString lesson = Vocabulary::lessonFileOf(a);
            const FileLines old = dir.readLines(QStringLiteral("units\\") + lesson);
            QString last;
            status = Vocabulary::openForExtension(dir, a, args.value(1), &last);
            what = {"openForExtension", [=](const QString& p) { return in(p, units, a) || in(p, units, lesson); }};
            if (status.ok()) {
                const auto found =
                    std::find_if(old.lines.crbegin(), old.lines.crend(), [](const QString& l) { return !l.isEmpty(); });
                expected = {args.value(1), found == old.lines.crend() ? QString() : *found};
                actual = linesOf(dir, QStringLiteral("units\\") + a) << last;
            }
            break;
        }
        case u'u': {
            const UserTextbook::Created created = UserTextbook::createLesson(dir, args.value(0));
            status = created.status;
            // Its number may be an empty lesson's (a title without pairs): the new title replaces that one.
            if (created.number > 0)
                replaced = userFiles(dir, before, created.number);
            what = {"UserTextbook::createLesson", userFile, journal};
            if (status.ok()) {
                const QList<UserTextbook::Lesson> listed = UserTextbook::list(dir).lessons;
                expected = {args.value(0), "listed"};
                actual =
                    linesOf(dir, UserTextbook::titleFile(created.number))
                    << (std::any_of(listed.cbegin(), listed.cend(),
                                    [&](const UserTextbook::Lesson& lesson) {
                                        return lesson.number == created.number && lesson.description == args.value(0);
                                    })
                            ? "listed"
                            : "not listed");
            }
            break;
        }
        case u'x':
            status = UserTextbook::deleteLesson(dir, saturatedInt(numericValue(a)));
            what = {"UserTextbook::deleteLesson", userFile, true};
            break;
        case u'c':
            status = UserTextbook::completeRenumbering(dir);
            what = {"completeRenumbering", userFile, true};
            break;
        default:
            continue;
        }

        const Entries after = box.now();
        const QString context = what.name + u' ' + shown(op) + u' ' + status.message();
        QStringList changed;
        for (const Entries* side : {&before, &after}) {
            for (const auto& [path, bytes] : side->asKeyValueRange()) {
                if ((side == &before ? after : before).value(path, "<none>") != bytes && !changed.contains(path))
                    changed.append(path);
            }
        }
        for (const QString& path : changed) {
            FUZZ_CHECK(what.mayTouch(path), context + " touched " + path);
            FUZZ_CHECK(!temporary.match(path).hasMatch() || !after.contains(path), context + " left " + path);
        }
        FUZZ_CHECK(status.ok() || what.partial || changed.isEmpty(),
                   context + " failed but changed " + changed.join(u' '));
        if (status.ok())
            FUZZ_CHECK(actual == expected,
                       context + ": " + shown(actual.join(u'|')) + " instead of " + shown(expected.join(u'|')));

        // The user textbook: a deletion takes exactly its lesson's files, a new lesson adds its title,
        // finishing a renumbering takes at most the lesson it was deleting; no file is changed or doubled.
        if (status.ok() && QStringLiteral("xuc").contains(op.at(0))) {
            const QStringList lessonsAfter = userFiles(dir, after);
            FUZZ_CHECK(!renumbering(dir, after), context + " left its journal");
            QStringList expectedFiles = lessonsBefore;
            for (const QString& gone : deletedLesson + replaced)
                expectedFiles.removeOne(gone);
            if (op.at(0) == u'u')
                FUZZ_CHECK(journal ||
                               (within(expectedFiles, lessonsAfter) && lessonsAfter.size() == expectedFiles.size() + 1),
                           context + " lost or changed a lesson's file");
            else if (journal) // the journal's own deletion first, whose lesson is not known here
                FUZZ_CHECK(within(lessonsAfter, expectedFiles) && lessonsAfter.size() + 2 >= expectedFiles.size(),
                           context + " lost or changed a lesson's file");
            else
                FUZZ_CHECK(within(lessonsAfter, expectedFiles) && within(expectedFiles, lessonsAfter),
                           context + " lost or changed a lesson's file");
        }
    }
    return 0;
}
