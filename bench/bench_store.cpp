// SPDX-License-Identifier: GPL-3.0-or-later
// Listing textbooks and lessons, and looking lesson names up, in data directories far larger than
// anyone keeps: the pages list these folders each time they are shown.
#include "BenchFiles.h"
#include "BenchReport.h"

#include "store/Cp1250.h"
#include "store/DataDir.h"
#include "store/FolderIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

using namespace BenchReport;
using namespace BenchFiles;

namespace {

constexpr int kRounds = 25; // a round takes milliseconds; many rounds steady the medians
constexpr int kLessonsPerTextbook = 100;
constexpr int kTextbooks = 1000;
constexpr int kLookedUp = 999; // lesson numbers 1..999, as a page looking for a free number asks
constexpr int kFolderSizes[] = {500, 1000, 2000, 4000};
constexpr int kNaiveFolderSize = 2000;
constexpr int kNaiveRounds = 2; // each run lists the folder 999 times: seconds, not milliseconds

QString makeFolder(const QString& root, const QString& name) {
    if (!QDir(root).mkpath(name))
        qFatal("cannot create %s/%s", qPrintable(root), qPrintable(name));
    return root + u'/' + name + u'/';
}

// Opens each file by its known path and reads line 1: the least any listing has to do.
void readFirstLines(const QStringList& paths) {
    qsizetype read = 0;
    for (const QString& path : paths) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            read += file.readLine().size();
    }
    if (read == 0)
        qFatal("the baseline read nothing");
}

// A data directory with books\1.mum ... books\<count>.mum; returns the paths of the files.
QStringList makeTextbooks(const QString& root, int count) {
    const QString books = makeFolder(root, QStringLiteral("books"));
    QStringList paths;
    for (int t = 1; t <= count; ++t) {
        paths.append(books + QString::number(t) + QStringLiteral(".mum"));
        writeFile(paths.last(), line(QStringLiteral("Němčina pro začátečníky – díl %1").arg(t)));
    }
    return paths;
}

// A data directory whose units folder holds `files` files: the title and the vocabulary file of
// each lesson, 100 lessons to a textbook.
void makeUnits(const QString& root, int files) {
    const QString units = makeFolder(root, QStringLiteral("units"));
    const QByteArray words =
        line(QStringLiteral("der Vater*otec+táta*")) + line(QStringLiteral("die Mutter*matka+máma*"));
    for (int i = 0; i < files / 2; ++i) {
        const QString lesson =
            QStringLiteral("%1_%2").arg(i / kLessonsPerTextbook + 1).arg(i % kLessonsPerTextbook + 1);
        writeFile(units + lesson + QStringLiteral("T.mum"), line(QStringLiteral("Rodina a příbuzní %1").arg(lesson)));
        writeFile(units + lesson + QStringLiteral(".mum"), words);
    }
}

QString unitsRoot(const QString& temp, int files) {
    return temp + QStringLiteral("/units") + QString::number(files);
}

QStringList benchTextbooks(const QString& temp) {
    const QString root = temp + QStringLiteral("/books");
    const QStringList paths = makeTextbooks(root, kTextbooks);
    const DataDir dir(root);
    const FileListing check = dir.listTextbooks();
    warnUnless(check.names.size() == kTextbooks && check.errors.isEmpty() &&
                   check.names.first() == QStringLiteral("Němčina pro začátečníky – díl 1"),
               QStringLiteral("listTextbooks() did not list the 1,000 textbooks"));
    const Comparison c = compareAlternating(
        kRounds, [&] { return measure([&] { readFirstLines(paths); }); },
        [&] { return measure([&] { dir.listTextbooks(); }); });
    return ratioRow(QStringLiteral("1a listTextbooks(), 1,000 files (vs reading them)"), c, 2.0);
}

QStringList benchLessons(const QString& temp) {
    const QString root = unitsRoot(temp, kNaiveFolderSize);
    const DataDir dir(root);
    QStringList paths;
    for (int l = 1; l <= kLessonsPerTextbook; ++l)
        paths.append(root + QStringLiteral("/units/7_%1T.mum").arg(l));
    const FileListing check = dir.listLessons(QStringLiteral("7"));
    warnUnless(check.names.size() == kLessonsPerTextbook && check.errors.isEmpty() &&
                   check.fileNames.last() == QStringLiteral("7_100T.mum"),
               QStringLiteral("listLessons(\"7\") did not list textbook 7's 100 lessons"));
    // The floor: one listing of the folder that tells files from the rest (Qt's cheapest), then the 100
    // title files read.
    const Comparison c = compareAlternating(
        kRounds,
        [&] {
            return measure([&] {
                int files = 0;
                for (QDirIterator it(root + QStringLiteral("/units"), QDir::Files); it.hasNext(); it.next())
                    ++files;
                if (files != kNaiveFolderSize)
                    qFatal("the baseline did not list the units folder");
                readFirstLines(paths);
            });
        },
        [&] { return measure([&] { dir.listLessons(QStringLiteral("7")); }); });
    return ratioRow(QStringLiteral("1b listLessons(\"7\"), 100 of 2,000 files (vs listing units, reading the 100)"), c,
                    2.0);
}

QString lessonName(int l) {
    return QStringLiteral("1_%1.mum").arg(l);
}

// One listing for all the names, as the pages do it.
int countWithIndex(const DataDir& dir) {
    const FolderIndex units = dir.folder(QStringLiteral("units"));
    int found = 0;
    for (int l = 1; l <= kLookedUp; ++l)
        found += units.contains(lessonName(l));
    return found;
}

// A listing per name: what the pages must not do.
int countOneByOne(const DataDir& dir) {
    int found = 0;
    for (int l = 1; l <= kLookedUp; ++l)
        found += dir.fileExists(QStringLiteral("units\\") + lessonName(l));
    return found;
}

QString perCheck(double totalMs) {
    return QString::number(totalMs * 1000 / kLookedUp, 'f', 2) + QStringLiteral(" us");
}

QList<QStringList> benchLookups(const QString& temp) {
    std::vector<DataDir> dirs;
    for (int files : kFolderSizes) {
        dirs.emplace_back(unitsRoot(temp, files));
        warnUnless(countWithIndex(dirs.back()) == kLessonsPerTextbook,
                   QStringLiteral("the index did not find textbook 1's 100 lessons"));
    }
    // The folder sizes take turns within each round, so that a slow spell hits all of them.
    std::vector<std::vector<Sample>> times(dirs.size());
    for (int round = 0; round <= kRounds; ++round) {
        for (size_t i = 0; i < dirs.size(); ++i) {
            const Sample t = measure([&] { countWithIndex(dirs[i]); });
            if (round > 0) // round 0 warms up
                times[i].push_back(t);
        }
    }
    const size_t naiveAt =
        std::find(std::begin(kFolderSizes), std::end(kFolderSizes), kNaiveFolderSize) - std::begin(kFolderSizes);
    std::vector<Sample> naiveTimes;
    int naiveFound = kLessonsPerTextbook;
    for (int round = 0; round < kNaiveRounds; ++round)
        naiveTimes.push_back(measure([&] { naiveFound = std::min(naiveFound, countOneByOne(dirs[naiveAt])); }));
    warnUnless(naiveFound == kLessonsPerTextbook, QStringLiteral("fileExists() did not find textbook 1's 100 lessons"));
    const Sample naive = median(naiveTimes);

    Table detail({QStringLiteral("files in units"), QStringLiteral("FolderIndex: total"), QStringLiteral("per check"),
                  QStringLiteral("fileExists: total"), QStringLiteral("per check")});
    for (size_t i = 0; i < dirs.size(); ++i) {
        const double indexMs = median(times[i]).cpuMs;
        detail.addRow({QString::number(kFolderSizes[i]), ms(indexMs), perCheck(indexMs),
                       i == naiveAt ? ms(naive.cpuMs) : QStringLiteral("-"),
                       i == naiveAt ? perCheck(naive.cpuMs) : QStringLiteral("-")});
    }
    detail.print(QStringLiteral("1c existence of lessons 1_1.mum .. 1_999.mum (CPU time, medians of %1 rounds; "
                                "fileExists %2 rounds)")
                     .arg(kRounds)
                     .arg(kNaiveRounds));

    Comparison growth;
    growth.baseline = median(times.front());
    growth.subject = median(times.back());
    Comparison oneByOne;
    oneByOne.baseline = median(times[naiveAt]);
    oneByOne.subject = naive;
    return {ratioRow(QStringLiteral("1c 999 checks, 4,000 vs 500 files in units"), growth, 8.0),
            infoRow(QStringLiteral("1c 999 checks, 2,000 files: fileExists vs FolderIndex"), oneByOne)};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    if (!temp.isValid())
        qFatal("no temporary directory: %s", qPrintable(temp.errorString()));

    Table summary(ratioHeader());
    for (int files : kFolderSizes)
        makeUnits(unitsRoot(temp.path(), files), files);
    summary.addRow(benchTextbooks(temp.path()));
    summary.addRow(benchLessons(temp.path()));
    for (const QStringList& row : benchLookups(temp.path()))
        summary.addRow(row);
    summary.print(QStringLiteral("bench_store (CPU time, medians of %1 alternating rounds; ratio = subject / baseline)")
                      .arg(kRounds));
    return 0;
}
