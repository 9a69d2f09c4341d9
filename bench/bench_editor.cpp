// SPDX-License-Identifier: GPL-3.0-or-later
// What the vocabulary editor does to a data directory each time one of its steps is entered or left:
// list the textbooks, list one textbook's lessons, create a lesson; the two listings also as the
// wizard's steps fill their lists. Measured in a directory of 1,000 textbooks and 4,000 lesson files
// against the least a plain loop has to do for the same result.
#include "BenchFiles.h"
#include "BenchReport.h"

#include "store/Cp1250.h"
#include "store/DataDir.h"
#include "store/Vocabulary.h"
#include "wizard/EditorWizard.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace BenchReport;
using namespace BenchFiles;

namespace {

constexpr int kRounds = 25;
constexpr int kTextbooks = 1000;
constexpr int kLessonTextbooks = 20; // textbooks 1..20 hold the 2,000 lessons
constexpr int kLessonsPerTextbook = 100;
const QString kTextbook = QStringLiteral("7");

void makeDataDir(const QString& root) {
    if (!QDir(root).mkpath(QStringLiteral("books")) || !QDir(root).mkpath(QStringLiteral("units")))
        qFatal("cannot create the folders in %s", qPrintable(root));
    for (int t = 1; t <= kTextbooks; ++t)
        writeFile(root + QStringLiteral("/books/%1.mum").arg(t), line(QStringLiteral("Němčina – díl %1").arg(t)));
    const QByteArray pairs = line(QStringLiteral("der Vater*otec+táta*")) + line(QStringLiteral("die Mutter*matka*"));
    for (int t = 1; t <= kLessonTextbooks; ++t) {
        for (int l = 1; l <= kLessonsPerTextbook; ++l) {
            const QString base = root + QStringLiteral("/units/%1_%2").arg(t).arg(l);
            writeFile(base + QStringLiteral("T.mum"), line(QStringLiteral("Rodina a příbuzní %1").arg(l)));
            writeFile(base + QStringLiteral(".mum"), pairs);
        }
    }
}

// Lists a folder and reads line 1 of every file the filter takes: the least any listing does.
int listAndRead(const QString& folder, const QString& filter) {
    const QStringList names = QDir(folder).entryList({filter}, QDir::Files);
    qsizetype read = 0;
    for (const QString& name : names) {
        QFile file(folder + u'/' + name);
        if (file.open(QIODevice::ReadOnly))
            read += file.readLine().size();
    }
    if (read == 0)
        qFatal("the baseline read nothing");
    return static_cast<int>(names.size());
}

QStringList benchTextbooks(const DataDir& dir) {
    const FileListing check = dir.listTextbooks();
    warnUnless(check.names.size() == kTextbooks && check.errors.isEmpty(),
               QStringLiteral("listTextbooks() did not list the 1,000 textbooks"));
    const QString books = dir.root() + QStringLiteral("/books");
    const Comparison c = compareAlternating(
        kRounds, [&] { return measure([&] { listAndRead(books, QStringLiteral("*.mum")); }); },
        [&] { return measure([&] { dir.listTextbooks(); }); });
    return ratioRow(QStringLiteral("a listTextbooks(), 1,000 textbooks (vs listing and reading them)"), c, 2.0);
}

QStringList benchLessons(const DataDir& dir) {
    const FileListing check = dir.listLessons(kTextbook);
    warnUnless(check.names.size() == kLessonsPerTextbook && check.errors.isEmpty(),
               QStringLiteral("listLessons() did not list the textbook's 100 lessons"));
    const QString units = dir.root() + QStringLiteral("/units");
    const Comparison c = compareAlternating(
        kRounds, [&] { return measure([&] { listAndRead(units, kTextbook + QStringLiteral("_*T.mum")); }); },
        [&] { return measure([&] { dir.listLessons(kTextbook); }); });
    return ratioRow(QStringLiteral("b listLessons(\"7\"), 100 of 4,000 files (vs listing and reading them)"), c, 2.0);
}

QList<QStringList> benchCreateLesson(const DataDir& dir) {
    const QString units = dir.root() + QStringLiteral("/units/");
    bool allCreated = true;
    // Each run makes lesson 7_101 and removes it again outside the timing.
    const TimedRun create = [&] {
        const Stopwatch stopwatch;
        const Vocabulary::Created created = Vocabulary::createLesson(dir, kTextbook, QStringLiteral("Nová lekce"));
        const Sample sample = stopwatch.elapsed();
        allCreated = allCreated && created.status.ok() && created.fileName == QStringLiteral("7_101T.mum");
        QFile::remove(units + created.fileName);
        QFile::remove(units + Vocabulary::lessonFileOf(created.fileName));
        return sample;
    };
    const Comparison c = compareAlternating(
        kRounds, [&] { return measure([&] { QDir(units).entryList(); }); }, create);
    // entryList() sorts the names; the bare listing shows what the rest of the operation costs.
    const Comparison bare = compareAlternating(
        kRounds, [&] { return measure([&] { QDir(units).entryList(QDir::AllEntries, QDir::Unsorted); }); }, create);
    warnUnless(allCreated, QStringLiteral("createLesson() did not create lesson 7_101"));
    return {ratioRow(QStringLiteral("c createLesson(\"7\"), 4,000 files (vs one listing of units)"), c, 2.0),
            infoRow(QStringLiteral("c the same, vs one unsorted listing"), bare)};
}

// The same two listings as the user meets them: Next into the textbook step, which fills its list
// with the 1,000 textbooks, and Next into the lesson step for textbook 7. Back between the runs
// stays outside the timing.
QList<QStringList> benchWizardSteps(const DataDir& dir) {
    EditorWizard wizard(dir);
    auto* next = wizard.findChild<QPushButton*>(QStringLiteral("CmdNext"));
    auto* back = wizard.findChild<QPushButton*>(QStringLiteral("CmdPrev"));
    auto* books = wizard.findChild<QListWidget*>(QStringLiteral("Lst"));
    auto* lessons = wizard.findChild<QListWidget*>(QStringLiteral("Lst2"));
    wizard.findChild<QRadioButton*>(QStringLiteral("Opt4"))->setChecked(true);
    next->click(); // the action step
    const TimedRun nextThenBack = [&] {
        const Stopwatch stopwatch;
        next->click();
        const Sample sample = stopwatch.elapsed();
        back->click();
        return sample;
    };
    const QString bookFolder = dir.root() + QStringLiteral("/books");
    const Comparison textbooks = compareAlternating(
        kRounds, [&] { return measure([&] { listAndRead(bookFolder, QStringLiteral("*.mum")); }); }, nextThenBack);
    warnUnless(books->count() == kTextbooks, QStringLiteral("the textbook step did not list the 1,000 textbooks"));

    next->click();
    const QList<QListWidgetItem*> seven = books->findItems(QStringLiteral("Němčina – díl 7"), Qt::MatchExactly);
    warnUnless(!seven.isEmpty(), QStringLiteral("textbook 7 is not listed"));
    if (!seven.isEmpty())
        books->setCurrentItem(seven.first());
    const QString units = dir.root() + QStringLiteral("/units");
    const Comparison lessonList = compareAlternating(
        kRounds, [&] { return measure([&] { listAndRead(units, kTextbook + QStringLiteral("_*T.mum")); }); },
        nextThenBack);
    warnUnless(lessons->count() == kLessonsPerTextbook, QStringLiteral("the lesson step did not list 100 lessons"));
    return {ratioRow(QStringLiteral("d the wizard's textbook step, 1,000 textbooks (vs listing and reading them)"),
                     textbooks, 2.0),
            ratioRow(QStringLiteral("e the wizard's lesson step, 100 of 4,000 files (vs listing and reading them)"),
                     lessonList, 2.0)};
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir temp;
    if (!temp.isValid())
        qFatal("no temporary directory: %s", qPrintable(temp.errorString()));
    makeDataDir(temp.path());
    const DataDir dir(temp.path());

    Table summary(ratioHeader());
    summary.addRow(benchTextbooks(dir));
    summary.addRow(benchLessons(dir));
    for (const QStringList& row : benchCreateLesson(dir))
        summary.addRow(row);
    for (const QStringList& row : benchWizardSteps(dir))
        summary.addRow(row);
    summary.print(
        QStringLiteral("bench_editor (CPU time, medians of %1 alternating rounds; ratio = subject / baseline)")
            .arg(kRounds));
    return 0;
}
