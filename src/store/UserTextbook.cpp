// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserTextbook.h"

#include "FileNames.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#else
#include <filesystem>
#include <system_error>
#endif

#include <vector>

// Deleting a lesson renumbers the lessons behind it, a file at a time, and the program may be killed
// between any two steps. So the whole renumbering is planned from one listing and written to a journal
// ("1_renumber.txt", written whole or not at all) before the first file changes: a line that marks it
// as ours, a checksum of the plan, then the plan: the deleted number n and, in order, the numbers i to
// which lesson i + 1 moves. A journal without its mark or with another checksum (edited by hand: "3"
// would delete lesson 3) is never carried out. Then:
//  1. the deleted lesson's files are put aside under the trash names, lesson file first, title file
//     last (an empty trash title when it had none): the trash title says the deletion is done;
//  2. each move renames the lesson file (when the lesson has one), then the title file;
//  3. the journal is removed, then the trash files.
// Invariant while the journal exists: every move before the first one whose destination title file is
// missing is complete, and no move after it has started. A move's destination title appears only as
// the move's last step, and no later move takes from a number an earlier one moved to (sources and
// destinations both rise), so finishing means: redo step 1 unless the trash title exists, then carry on
// from that first move. Only that move can be half done, its lesson file gone ahead: from there on, a
// source lesson file that exists is one still to move. Without the journal, trash files are only what
// step 3 had still to remove.
namespace UserTextbook {

namespace {

using Operation = IoStatus::Operation;

using FileNames::kMum;
using FileNames::kUnits;
const QString kBook = QStringLiteral("1"); // the user textbook's number
const QString kPrefix = kBook + u'_';
// No listing or name pattern of the program takes these: they end in ".txt".
const QString kJournal = QStringLiteral("1_renumber.txt");
const QString kTrashTitle = QStringLiteral("1_renumber_title.txt");
const QString kTrashLesson = QStringLiteral("1_renumber_lesson.txt");

QString titleName(int n) {
    return FileNames::titleFile(kBook, QString::number(n), u't');
}

// Reports to the page about a hundred times at most: it repaints its progress bar on each report.
void report(const Progress& progress, int done, int total) {
    if (progress && (done == total || done * 100 / total != (done - 1) * 100 / total))
        progress(done, total);
}

// The lesson a name belongs to, spelt as titleFile()/lessonFile() spell it (letter case aside): number 0
// for any other name.
struct NameOf {
    int number = 0;
    bool title = false;
};
NameOf parse(const QString& name) {
    if (!name.startsWith(kPrefix) || !name.endsWith(kMum, Qt::CaseInsensitive))
        return {};
    QStringView digits = QStringView(name).sliced(kPrefix.size(), name.size() - kPrefix.size() - kMum.size());
    const bool title = digits.endsWith(u't', Qt::CaseInsensitive);
    if (title)
        digits.chop(1);
    if (digits.isEmpty() || digits.size() > 3 || digits.front() == u'0')
        return {};
    int n = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return {};
        n = n * 10 + c.digitValue();
    }
    return {n, title};
}

// ---- Renaming: never over an existing file, never by copying.

IoStatus renameIn(const DataDir& dir, const FolderIndex& units, const QString& from, const QString& to) {
    const QString source = units.path() + u'/' + from;
    const QString target = units.path() + u'/' + to;
    if (const IoStatus allowed = dir.mayWrite(source, Operation::Rename); !allowed.ok())
        return allowed;
    int error = 0;
#ifdef Q_OS_UNIX
    const QByteArray s = QFile::encodeName(source);
    const QByteArray t = QFile::encodeName(target);
    if (::renameat2(AT_FDCWD, s.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) != 0) {
        error = errno;
        struct stat info {};
        // A file system without the flag: the name was looked up free just before.
        if ((error == EINVAL || error == ENOSYS) && ::lstat(t.constData(), &info) != 0)
            error = ::rename(s.constData(), t.constData()) == 0 ? 0 : errno;
    }
#else
    std::error_code code;
    if (QFileInfo::exists(target))
        code = std::make_error_code(std::errc::file_exists);
    else
        std::filesystem::rename(source.toStdWString(), target.toStdWString(), code);
    error = code.value();
#endif
    if (error == 0)
        return {};
    return IoStatus::failure(Operation::Rename, source,
                             QStringLiteral("%1 (nový název „%2“); přečíslování lekcí se dokončí při příští "
                                            "práci s uživatelskou učebnicí")
                                 .arg(IoStatus::czechReason(QFileDevice::RenameError, error), to));
}

// ---- The journal

struct Journal {
    int deleted = 0;
    QList<int> moves; // lesson i + 1 becomes lesson i, for each i in this order
};

const QString kJournalMark = QStringLiteral("Memoran: renumbering of the user textbook, version 1");
const QString kForeignJournal = QStringLiteral("soubor neobsahuje záznam přečíslování lekcí, jak ho zapisuje tento "
                                               "program, a podle takového záznamu program lekce nepřečísluje");

QString checksum(const QStringList& plan) {
    return QString::fromLatin1(QCryptographicHash::hash(plan.join(u'\n').toUtf8(), QCryptographicHash::Sha256).toHex());
}

// The journal's plan; false when the lines are not a journal that this program wrote.
bool parseJournal(const QStringList& lines, Journal* journal) {
    if (lines.size() < 3 || lines.at(0) != kJournalMark || lines.at(1) != checksum(lines.mid(2)))
        return false;
    bool ok = false;
    journal->deleted = lines.at(2).toInt(&ok);
    ok = ok && journal->deleted >= 1 && journal->deleted <= kMaxLessons;
    int previous = 0;
    for (qsizetype k = 3; ok && k < lines.size(); ++k) {
        const int i = lines.at(k).toInt(&ok);
        ok = ok && i > previous && i < kMaxLessons;
        journal->moves.append(previous = i);
    }
    return ok;
}

IoStatus readJournal(const DataDir& dir, const FolderIndex& units, Journal* journal) {
    const FileLines file = dir.readLines(units, kJournal);
    if (!file.status.ok())
        return file.status;
    if (parseJournal(file.lines, journal))
        return {};
    return IoStatus::failure(Operation::Read, units.filePath(kJournal), kForeignJournal);
}

IoStatus writeJournal(const DataDir& dir, const FolderIndex& units, const Journal& journal) {
    QStringList plan{QString::number(journal.deleted)};
    for (const int i : journal.moves)
        plan.append(QString::number(i));
    return dir.rewrite(units, kJournal, QStringList{kJournalMark, checksum(plan)} + plan);
}

IoStatus createEmpty(const FolderIndex& units, const QString& name) {
    QFile file(units.path() + u'/' + name);
    errno = 0;
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return {};
    return IoStatus::fromError(Operation::Write, file.fileName(), file.error(), errno, IoStatus::Outcome::NotCreated);
}

// Step 1: the deleted lesson's files under the trash names.
IoStatus putAside(const DataDir& dir, const FolderIndex& units, int n) {
    const QString lesson = units.find(lessonName(n));
    if (!lesson.isEmpty() && !units.contains(kTrashLesson)) {
        if (const IoStatus moved = renameIn(dir, units, lesson, kTrashLesson); !moved.ok())
            return moved;
    }
    const QString title = units.find(titleName(n));
    return title.isEmpty() ? createEmpty(units, kTrashTitle) : renameIn(dir, units, title, kTrashTitle);
}

IoStatus removeAll(const DataDir& dir, const FolderIndex& units, const QStringList& names) {
    for (const QString& name : names) {
        if (const IoStatus removed = dir.remove(units, name); !removed.ok())
            return removed;
    }
    return {};
}

// Steps 1 to 3 from wherever an earlier run stopped. units is out of date afterwards.
IoStatus finish(const DataDir& dir, FolderIndex& units, const Journal& journal, const Progress& progress) {
    if (!units.contains(kTrashTitle)) {
        if (const IoStatus deleted = putAside(dir, units, journal.deleted); !deleted.ok())
            return deleted;
        units = FolderIndex(units.path());
    }
    const QList<int>& moves = journal.moves;
    qsizetype k = 0;
    while (k < moves.size() && units.contains(titleName(moves.at(k))))
        ++k;
    // The listing is not renewed: no move changes the source of a later one. A destination that is not
    // free (only a hand could have made it so) fails its rename.
    for (; k < moves.size(); ++k) {
        const int to = moves.at(k);
        const QString lesson = units.find(lessonName(to + 1));
        if (!lesson.isEmpty()) {
            if (const IoStatus moved = renameIn(dir, units, lesson, lessonName(to)); !moved.ok())
                return moved;
        }
        if (const QString title = units.find(titleName(to + 1)); !title.isEmpty()) {
            if (const IoStatus moved = renameIn(dir, units, title, titleName(to)); !moved.ok())
                return moved;
        }
        report(progress, static_cast<int>(k) + 1, static_cast<int>(moves.size()));
    }
    return removeAll(dir, units, {kJournal, kTrashLesson, kTrashTitle});
}

// Completes a renumbering left half done; units is listed afresh when anything changed.
IoStatus complete(const DataDir& dir, FolderIndex& units) {
    if (!units.contains(kJournal)) {
        if (!units.contains(kTrashTitle) && !units.contains(kTrashLesson))
            return {};
        const IoStatus removed = removeAll(dir, units, {kTrashLesson, kTrashTitle});
        units = FolderIndex(units.path());
        return removed;
    }
    Journal journal;
    if (const IoStatus read = readJournal(dir, units, &journal); !read.ok())
        return read;
    const IoStatus finished = finish(dir, units, journal, {});
    units = FolderIndex(units.path());
    return finished;
}

// ---- Planning a deletion

// What one number holds. Only a lesson of plain files moves, and only to a number that holds nothing:
// a lesson file without its title (left by hand or by another program), a folder or two names that
// differ in case stay where they are.
struct Slot {
    int titles = 0;
    int lessons = 0;
    int files = 0; // of those, regular files
    bool free() const { return titles == 0 && lessons == 0; }
    bool movable() const { return titles == 1 && lessons <= 1 && files == titles + lessons; }
};

std::vector<Slot> slotsOf(const DataDir& dir, const FolderIndex& units) {
    std::vector<Slot> held(kMaxLessons + 1);
    for (const QString& name : units.matching(kPrefix, kMum)) {
        if (const NameOf of = parse(name); of.number > 0)
            ++(of.title ? held[of.number].titles : held[of.number].lessons);
    }
    // A link that no write may go through is not moved either: its lesson stays where it is.
    for (const QString& name : units.matchingFiles(kPrefix, kMum)) {
        if (const NameOf of = parse(name); of.number > 0 && dir.mayWrite(units.filePath(name), Operation::Rename).ok())
            ++held[of.number].files;
    }
    return held;
}

// The walk up from 1 to 997: lesson i + 1 moves to i when i holds nothing.
QList<int> movesDown(std::vector<Slot> held) {
    QList<int> moves;
    for (int i = 1; i <= kMaxLessons - 2; ++i) {
        if (held[i].free() && held[i + 1].movable()) {
            moves.append(i);
            held[i] = held[i + 1];
            held[i + 1] = {};
        }
    }
    return moves;
}

// The deleted lesson's files must be files: a folder of that name is refused before anything changes.
IoStatus deletable(const DataDir& dir, const FolderIndex& units, const QString& name) {
    if (name.isEmpty())
        return {};
    const QFileInfo info(units.filePath(name));
    if (const IoStatus allowed = dir.mayWrite(info.filePath(), Operation::Remove); !allowed.ok())
        return allowed;
    if (info.isFile())
        return {};
    return IoStatus::failure(Operation::Remove, info.filePath(),
                             info.isDir() ? IoStatus::kFolderNotFile
                                          : QStringLiteral("není to obyčejný soubor (je to například roura nebo "
                                                           "zařízení)"));
}

} // namespace

QString titleFile(int n) {
    return FileNames::inUnits(titleName(n));
}

QString lessonName(int n) {
    return FileNames::lessonFile(kBook, QString::number(n));
}

QString lessonFile(int n) {
    return FileNames::inUnits(lessonName(n));
}

IoStatus ensureTextbook(const DataDir& dir) {
    const FolderIndex books = dir.folder(FileNames::kBooks);
    const QString name = FileNames::textbookFile(kBook);
    if (books.contains(name))
        return {};
    return dir.rewrite(books, name, {kName});
}

IoStatus completeRenumbering(const DataDir& dir) {
    FolderIndex units = dir.folder(kUnits);
    return complete(dir, units);
}

bool refusedJournal(const DataDir& dir, const IoStatus& status) {
    if (status.ok() || QFileInfo(status.path()).fileName().compare(kJournal, Qt::CaseInsensitive) != 0)
        return false;
    const FileLines file = dir.readLines(dir.folder(kUnits), kJournal);
    Journal ignored;
    return file.status.ok() && !parseJournal(file.lines, &ignored);
}

IoStatus discardJournal(const DataDir& dir) {
    return dir.remove(dir.folder(kUnits), kJournal);
}

Lessons list(const DataDir& dir, const Progress& progress) {
    Lessons result;
    FolderIndex units = dir.folder(kUnits);
    if (const IoStatus completed = complete(dir, units); !completed.ok())
        result.errors.append(completed);
    if (const IoStatus folder = folderStatus(units); !folder.ok()) {
        result.errors.append(folder);
        return result;
    }
    std::vector<QString> titles(kMaxLessons + 1);
    for (const QString& name : units.matchingFiles(kPrefix, QStringLiteral("t.mum"))) {
        // Of two names that differ in case, the one the lesson's own spelling finds: the file that page 3
        // reads and deletes under this number.
        if (const NameOf of = parse(name); of.number > 0 && units.find(titleName(of.number)) == name)
            titles[of.number] = name;
    }
    for (int n = 1; n <= kMaxLessons; ++n) {
        if (!titles[n].isEmpty()) {
            const FileLines file = dir.readLines(units, titles[n]);
            if (!file.status.ok())
                result.errors.append(file.status);
            result.lessons.append({n, file.lines.value(0)});
        }
        report(progress, n, kMaxLessons);
    }
    return result;
}

Created createLesson(const DataDir& dir, const QString& description) {
    FolderIndex units = dir.folder(kUnits);
    if (const IoStatus completed = complete(dir, units); !completed.ok())
        return {0, completed};
    if (const IoStatus folder = folderStatus(units); !folder.ok())
        return {0, folder};
    // Any entry takes its number: the first pair must not land on a folder.
    int n = 1;
    while (n <= kMaxLessons && units.contains(lessonName(n)))
        ++n;
    if (n > kMaxLessons) {
        return {0, IoStatus::failure(
                       Operation::NewFile, units.path(),
                       QStringLiteral("všech %1 čísel lekcí uživatelské učebnice je obsazeno").arg(kMaxLessons))};
    }
    const IoStatus written = dir.rewrite(units, titleName(n), {description});
    return {written.ok() ? n : 0, written};
}

IoStatus deleteLesson(const DataDir& dir, int n, const Progress& progress) {
    FolderIndex units = dir.folder(kUnits);
    if (const IoStatus completed = complete(dir, units); !completed.ok())
        return completed;
    if (const IoStatus folder = folderStatus(units); !folder.ok())
        return folder;
    if (n < 1 || n > kMaxLessons)
        return {};
    const QString title = units.find(titleName(n));
    const QString lesson = units.find(lessonName(n));
    for (const QString& name : {title, lesson}) {
        if (const IoStatus status = deletable(dir, units, name); !status.ok())
            return status;
    }
    std::vector<Slot> held = slotsOf(dir, units);
    Slot& deleted = held[n];
    deleted = {deleted.titles - !title.isEmpty(), deleted.lessons - !lesson.isEmpty(),
               deleted.files - !title.isEmpty() - !lesson.isEmpty()};
    const Journal journal{n, movesDown(std::move(held))};
    if (title.isEmpty() && lesson.isEmpty() && journal.moves.isEmpty())
        return {};
    if (const IoStatus written = writeJournal(dir, units, journal); !written.ok())
        return written.asDeletionNotStarted(Operation::DeleteLesson, units.filePath(titleName(n)));
    return finish(dir, units, journal, progress);
}

} // namespace UserTextbook
