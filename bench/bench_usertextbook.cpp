// SPDX-License-Identifier: GPL-3.0-or-later
// What the user textbook's pages do to a full textbook of 999 lessons: list them (each time an option
// with a lesson list is clicked) and delete lesson 1, which moves lessons 2 to 998 one number down
// (the renumbering walks up to 997 only, so lesson 999 stays). Measured against the least a plain loop
// has to do for the same result.
#include "BenchFiles.h"
#include "BenchReport.h"

#include "app/MainWindow.h"
#include "core/AppState.h"
#include "core/Clock.h"
#include "core/RandomSource.h"
#include "store/Cp1250.h"
#include "store/DataDir.h"
#include "store/UserTextbook.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>

#include <cstdio>

using namespace BenchReport;
using namespace BenchFiles;

namespace {

constexpr int kRounds = 15;
constexpr int kLessons = UserTextbook::kMaxLessons;
constexpr int kMoved = kLessons - 1; // lessons 2 to kMoved move

QString unitsPath(const QString& root, int n, bool title) {
    return root + QStringLiteral("/units/1_%1%2").arg(n).arg(title ? QStringLiteral("t.mum") : QStringLiteral(".mum"));
}

void writeLesson(const QString& root, int n) {
    writeFile(unitsPath(root, n, true), line(QStringLiteral("Rodina a příbuzní %1").arg(n)));
    writeFile(unitsPath(root, n, false),
              line(QStringLiteral("der Vater*otec+táta*")) + line(QStringLiteral("die Mutter*matka*")));
}

void makeDataDir(const QString& root) {
    if (!QDir(root).mkpath(QStringLiteral("books")) || !QDir(root).mkpath(QStringLiteral("units")))
        qFatal("cannot create the folders in %s", qPrintable(root));
    for (int n = 1; n <= kLessons; ++n)
        writeLesson(root, n);
}

bool renameFile(const QString& root, int from, int to, bool title) {
    return std::rename(QFile::encodeName(unitsPath(root, from, title)).constData(),
                       QFile::encodeName(unitsPath(root, to, title)).constData()) == 0;
}

// After a deletion of lesson 1: the moved lessons go back up and lesson 1 is written anew.
void restore(const QString& root) {
    bool ok = true;
    for (int n = kMoved - 1; n >= 1; --n)
        ok = renameFile(root, n, n + 1, false) && renameFile(root, n, n + 1, true) && ok;
    if (!ok)
        qFatal("cannot restore the lessons in %s", qPrintable(root));
    writeLesson(root, 1);
}

// Lists units and reads line 1 of each of the 999 title files: the least any listing does.
int listAndRead(const QString& units) {
    const QStringList names = QDir(units).entryList({QStringLiteral("1_*t.mum")}, QDir::Files);
    qsizetype read = 0;
    for (const QString& name : names) {
        QFile file(units + u'/' + name);
        if (file.open(QIODevice::ReadOnly))
            read += file.readLine().size();
    }
    if (read == 0)
        qFatal("the baseline read nothing");
    return static_cast<int>(names.size());
}

QStringList benchList(const DataDir& dir) {
    const UserTextbook::Lessons check = UserTextbook::list(dir);
    warnUnless(check.lessons.size() == kLessons && check.errors.isEmpty(),
               QStringLiteral("list() did not list the 999 lessons"));
    const QString units = dir.root() + QStringLiteral("/units");
    const Comparison c = compareAlternating(
        kRounds, [&] { return measure([&] { listAndRead(units); }); },
        [&] { return measure([&] { UserTextbook::list(dir); }); });
    return ratioRow(QStringLiteral("a list(), 999 lessons (vs listing units and reading the title files)"), c, 2.0);
}

// The same list as the user meets it: a click of page 3's option that fills its lesson list, with
// the progress indicator of the main window; option 0 between the runs, outside the timing.
QStringList benchPageList(DataDir& dir) {
    MersenneRandom random;
    SystemClock clock;
    AppState state(dir, random, clock);
    MainWindow window(state);
    window.start();
    window.showPage(PageId::UserTextbook);
    auto* withList = window.findChild<QRadioButton*>(QStringLiteral("F3Opt(1)"));
    auto* without = window.findChild<QRadioButton*>(QStringLiteral("F3Opt(0)"));
    auto* lessons = window.findChild<QComboBox*>(QStringLiteral("F3Cmbbx"));
    const QString units = dir.root() + QStringLiteral("/units");
    const TimedRun click = [&] {
        const Stopwatch stopwatch;
        withList->click();
        const Sample sample = stopwatch.elapsed();
        without->click();
        return sample;
    };
    const Comparison c = compareAlternating(
        kRounds, [&] { return measure([&] { listAndRead(units); }); }, click);
    warnUnless(lessons->count() == kLessons, QStringLiteral("page 3 did not list the 999 lessons"));
    return ratioRow(QStringLiteral("c page 3's lesson list filled, 999 lessons (vs listing units and reading them)"), c,
                    2.0);
}

// Lesson 1 deleted and the lessons behind it moved down; restored outside the timing.
QStringList benchDelete(const DataDir& dir) {
    const QString root = dir.root();
    bool allDeleted = true;
    const TimedRun plain = [&] {
        const Stopwatch stopwatch;
        bool ok = QFile::remove(unitsPath(root, 1, false)) && QFile::remove(unitsPath(root, 1, true));
        for (int n = 2; n <= kMoved; ++n)
            ok = renameFile(root, n, n - 1, false) && renameFile(root, n, n - 1, true) && ok;
        const Sample sample = stopwatch.elapsed();
        if (!ok)
            qFatal("the plain loop could not rename the lessons");
        restore(root);
        return sample;
    };
    const TimedRun subject = [&] {
        const Stopwatch stopwatch;
        const IoStatus status = UserTextbook::deleteLesson(dir, 1);
        const Sample sample = stopwatch.elapsed();
        allDeleted = allDeleted && status.ok() && !QFile::exists(unitsPath(root, kMoved, true)) &&
                     QFile::exists(unitsPath(root, kMoved - 1, false));
        restore(root);
        return sample;
    };
    const Comparison c = compareAlternating(kRounds, plain, subject);
    warnUnless(allDeleted, QStringLiteral("deleteLesson(1) did not move lessons 2 to 998 down"));
    return ratioRow(QStringLiteral("b deleteLesson(1) of 999 lessons (vs removing 2 files and 1,994 renames)"), c, 2.0);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir temp;
    if (!temp.isValid())
        qFatal("no temporary directory: %s", qPrintable(temp.errorString()));
    makeDataDir(temp.path());
    DataDir dir(temp.path());

    Table summary(ratioHeader());
    summary.addRow(benchList(dir));
    summary.addRow(benchDelete(dir));
    summary.addRow(benchPageList(dir));
    summary.print(
        QStringLiteral("bench_usertextbook (CPU time, medians of %1 alternating rounds; ratio = subject / baseline)")
            .arg(kRounds));
    return 0;
}
