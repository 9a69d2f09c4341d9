// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's and the user textbook's file operations, and the results log, on a data directory made
// from the input. The entry "ops" holds the operations, one a line: a letter, then its arguments
// separated by "|". After each one: it touched only the files it may, changed nothing when it failed
// (the deletions and renumbering may stop half way, as documented) and left no temporary file.

#include "Fuzz.h"

#include "store/TextRoutines.h"
#include "store/UserTextbook.h"
#include "store/Vocabulary.h"

#include <QRegularExpression>

#include <algorithm>
#include <functional>

namespace {

// A file name as the program would get it, from a listing: no folder in it.
QString argument(const QStringList& args, int i) {
    QString arg = args.value(i);
    arg.remove(u'/').remove(u'\\');
    return arg == u"." || arg == u".." ? QString() : arg;
}

bool in(const QString& path, const QString& folder, const QString& name) {
    return path.compare(folder + u'/' + name, Qt::CaseInsensitive) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Tree entries = parseEntries(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    // No text box gives U+0000.
    const QStringList ops = QString::fromUtf8(entries.take(QStringLiteral("ops"))).remove(QChar(0)).split(u'\n');
    // What an operation may touch follows names, which a link to a folder would make ambiguous.
    entries.removeIf([](const auto& entry) { return entry.value().startsWith(kLink); });
    ScratchDir box(entries);
    const DataDir dir(box.tmp.path());
    // What an interrupted save leaves: the file's name, "." and six letters or digits.
    static const QRegularExpression temporary(QStringLiteral("\\.(mum|txt|cfg)\\.[A-Za-z0-9]{6}\\z"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression journal(QStringLiteral("^units/1_renumber(_title|_lesson)?\\.txt\\z"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString books = QStringLiteral("books"), units = QStringLiteral("units");
    const auto userFile = [](const QString& p) {
        return p.startsWith(QStringLiteral("units/1_"), Qt::CaseInsensitive);
    };

    for (qsizetype k = 0; k < std::min<qsizetype>(ops.size(), 16); ++k) {
        const QString& op = ops.at(k);
        const QStringList args = op.mid(1).split(u'|');
        const QString a = argument(args, 0), b = argument(args, 1);
        const Tree before = box.now();
        IoStatus status;
        std::function<bool(const QString& path)> mayTouch; // relative paths, folder and name as on disk
        bool partial = false;                              // may stop half way on a failure

        // The operations on a listed file get its name, never an empty one.
        if (op.isEmpty() || (QStringLiteral("RDSAX").contains(op.at(0)) && a.isEmpty()))
            continue;
        switch (op.at(0).unicode()) {
        case u'B': {
            const Vocabulary::Created created = Vocabulary::createTextbook(dir, args.value(0));
            status = created.status;
            mayTouch = [=](const QString& p) { return in(p, books, created.fileName); };
            break;
        }
        case u'R':
            status = Vocabulary::renameTextbook(dir, a, args.value(1));
            mayTouch = [=](const QString& p) { return in(p, books, a); };
            break;
        case u'D': {
            const QString t = textbookNumberText(a);
            status = Vocabulary::deleteTextbook(dir, a, b == u"1");
            // With lessons, its record stays when it stops half way.
            mayTouch = [=](const QString& p) {
                const QString name = p.section(u'/', 1);
                return in(p, books, a) || (b == u"1" && (in(p, books, QStringLiteral("delete_textbook.txt")) ||
                                                         (p.startsWith(QStringLiteral("units/"), Qt::CaseInsensitive) &&
                                                          name.startsWith(t + u'_', Qt::CaseInsensitive) &&
                                                          name.endsWith(QStringLiteral(".mum"), Qt::CaseInsensitive))));
            };
            partial = true;
            break;
        }
        case u'L': {
            const Vocabulary::Created created = Vocabulary::createLesson(dir, a, args.value(1));
            status = created.status;
            const QString lesson = Vocabulary::lessonFileOf(created.fileName);
            mayTouch = [=](const QString& p) { return in(p, units, created.fileName) || in(p, units, lesson); };
            break;
        }
        case u'S': {
            const QString lesson = Vocabulary::lessonFileOf(a);
            status = Vocabulary::savePairs(dir, lesson, args.mid(1));
            mayTouch = [=](const QString& p) { return in(p, units, lesson); };
            break;
        }
        case u'A':
        case u'Z': {
            // A pair into a lesson file, or a record into the results log.
            const QString file = op.at(0) == u'Z' ? QStringLiteral("Zkouseni.txt")
                                                  : QStringLiteral("units\\") + Vocabulary::lessonFileOf(a);
            status = op.at(0) == u'Z'
                         ? dir.appendLine(file, op.mid(1))
                         : Vocabulary::appendPair(dir, Vocabulary::lessonFileOf(a), args.value(1), args.value(2));
            const QString path = QDir(dir.root()).relativeFilePath(dir.resolve(file));
            mayTouch = [=](const QString& p) { return p == path; };
            break;
        }
        case u'X':
            status = Vocabulary::deleteLesson(dir, a);
            mayTouch = [=](const QString& p) { return in(p, units, a) || in(p, units, Vocabulary::lessonFileOf(a)); };
            partial = true;
            break;
        case u'u':
            status = UserTextbook::createLesson(dir, args.value(0)).status;
            mayTouch = userFile;
            // It first finishes a renumbering that was cut short, which may stop half way.
            partial = std::any_of(before.keyBegin(), before.keyEnd(),
                                  [](const QString& p) { return journal.match(p).hasMatch(); });
            break;
        case u'x':
            status = UserTextbook::deleteLesson(dir, saturatedInt(numericValue(a)));
            mayTouch = userFile, partial = true;
            break;
        case u'c':
            status = UserTextbook::completeRenumbering(dir);
            mayTouch = userFile, partial = true;
            break;
        default:
            continue;
        }

        const Tree after = box.now();
        const QString context = shown(op) + u' ' + status.message();
        QStringList changed;
        for (const Tree* side : {&before, &after}) {
            for (const auto& [path, bytes] : side->asKeyValueRange()) {
                if ((side == &before ? after : before).value(path, "<none>") != bytes && !changed.contains(path))
                    changed.append(path);
            }
        }
        for (const QString& path : changed) {
            FUZZ_CHECK(mayTouch(path), context + " touched " + path);
            FUZZ_CHECK(!temporary.match(path).hasMatch() || !after.contains(path), context + " left " + path);
        }
        FUZZ_CHECK(status.ok() || partial || changed.isEmpty(), context + " failed but changed " + changed.join(u' '));
    }
    return 0;
}
