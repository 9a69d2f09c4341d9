// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a vocabulary of 20,000 pairs in 20 lessons, from a KVTML file and from a CSV file: read,
// planned and stored as a new textbook in a fresh data directory, against a plain loop that parses the
// same file and writes the same lesson files with plain QFile writes.
#include "BenchFiles.h"
#include "BenchReport.h"

#include "exchange/Delimited.h"
#include "exchange/Kvtml.h"
#include "exchange/Transfer.h"
#include "store/DataDir.h"
#include "store/FileNames.h"
#include "store/TextRoutines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace BenchReport;
using namespace BenchFiles;
using namespace Qt::StringLiterals;

namespace {

constexpr int kLessons = 20;
constexpr int kPairsPerLesson = 1000;
constexpr int kPairs = kLessons * kPairsPerLesson;
constexpr int kRounds = 9;
constexpr double kGoal = 2.0;
// A data directory without textbooks: the import takes number 2 (1 is the user textbook's).
const QString kNewTextbook = u"2"_s;

// German and Czech words that combine into pairs of varied length, each with letters of its language.
const QStringList kForeignAdjectives{u"schön"_s, u"groß"_s, u"klein"_s, u"alt"_s,       u"neu"_s,
                                     u"grün"_s,  u"müde"_s, u"süß"_s,   u"schwierig"_s, u"fröhlich"_s};
const QStringList kCzechAdjectives{u"krásný"_s, u"velký"_s,   u"malý"_s,   u"starý"_s, u"nový"_s,
                                   u"zelený"_s, u"unavený"_s, u"sladký"_s, u"těžký"_s, u"veselý"_s};
const QStringList kForeignNouns{u"Bahnhof"_s,  u"Straßenbahn"_s, u"Brötchen"_s, u"Schlüssel"_s, u"Kühlschrank"_s,
                                u"Zahnarzt"_s, u"Tür"_s,         u"Fußball"_s,  u"Gemüse"_s,    u"Wörterbuch"_s,
                                u"Hund"_s,     u"Übung"_s,       u"Kirche"_s,   u"Mädchen"_s,   u"Flughafen"_s};
const QStringList kCzechNouns{u"nádraží"_s, u"tramvaj"_s, u"rohlík"_s, u"klíč"_s,     u"lednička"_s,
                              u"zubař"_s,   u"dveře"_s,   u"fotbal"_s, u"zelenina"_s, u"slovník"_s,
                              u"pes"_s,     u"cvičení"_s, u"kostel"_s, u"dívka"_s,    u"letiště"_s};
const QStringList kThemes{
    u"Rodina a přátelé"_s, u"Cestování vlakem"_s, u"Nákupy"_s,       u"Ve škole"_s,  u"Zdraví a lékař"_s,
    u"Počasí"_s,           u"Bydlení"_s,          u"Jídlo a pití"_s, u"Volný čas"_s, u"Město"_s};

// Pair i: an adjective and a noun on each side; every tenth foreign and every seventh Czech side has a
// synonym, as vocabularies collected over years do.
QString pairOf(int i) {
    const qsizetype a = i % kForeignAdjectives.size();
    const qsizetype n = (i / kForeignAdjectives.size()) % kForeignNouns.size();
    const int variant = i / int(kForeignAdjectives.size() * kForeignNouns.size());
    QString foreign = kForeignAdjectives[a] + u' ' + kForeignNouns[n] + (variant ? u" %1"_s.arg(variant) : QString());
    QString czech = kCzechAdjectives[a] + u' ' + kCzechNouns[n] + (variant ? u" %1"_s.arg(variant) : QString());
    if (i % 10 == 0)
        foreign += u"+ein "_s + kForeignNouns[n];
    if (i % 7 == 0)
        czech += u"+nějaký "_s + kCzechNouns[n];
    return pairLine(foreign, czech);
}

Exchange::ExportedBook makeBook() {
    Exchange::ExportedBook book{u"Němčina – slovní zásoba"_s, {}};
    for (int l = 0; l < kLessons; ++l) {
        Exchange::ExportedLesson lesson{u"Lekce %1: %2"_s.arg(l + 1).arg(kThemes[l % kThemes.size()]), {}};
        for (int p = 0; p < kPairsPerLesson; ++p)
            lesson.pairLines << pairOf(l * kPairsPerLesson + p);
        book.lessons << lesson;
    }
    return book;
}

// What both sides of a comparison end with: lessons of pair lines, numbered from 1 in this order.
struct PlainLesson {
    QString title;
    QStringList pairLines;
};

// The files of a new textbook written as plainly as can be: one QFile write each, Windows-1250, CR LF.
// Nothing is synced to disk: the import's saves are (QSaveFile), which is most of the wall-clock ratio.
void writePlain(const QString& root, const QString& title, const QList<PlainLesson>& lessons) {
    writeFile(root + u"/books/"_s + FileNames::textbookFile(kNewTextbook), line(title));
    const QString units = root + u"/units/"_s;
    for (qsizetype i = 0; i < lessons.size(); ++i) {
        const QString l = QString::number(i + 1);
        writeFile(units + FileNames::titleFile(kNewTextbook, l), line(lessons[i].title));
        QByteArray bytes;
        for (const QString& pair : lessons[i].pairLines)
            bytes += line(pair);
        writeFile(units + FileNames::lessonFile(kNewTextbook, l), bytes);
    }
}

// The KVTML read with QXmlStreamReader in one loop: each entry's text and synonyms per translation, the
// containers' names and entry ids; no checks, nothing counted.
void plainKvtml(const QString& path, const QString& root) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QXmlStreamReader xml(&file);
    QString title;
    QHash<QString, QString> pairs; // entry id -> pair line
    QList<PlainLesson> lessons;
    QString entryId;
    QStringList sides[2];
    int side = -1;
    bool inLessons = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && !inLessons && xml.name() == "entry"_L1)
            pairs.insert(entryId, pairLine(sides[0].join(u'+'), sides[1].join(u'+')));
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        if (name == "title"_L1) {
            title = xml.readElementText();
        } else if (name == "lessons"_L1) {
            inLessons = true;
        } else if (name == "container"_L1) {
            lessons.append(PlainLesson{});
        } else if (name == "name"_L1 && inLessons) {
            lessons.last().title = xml.readElementText();
        } else if (name == "entry"_L1) {
            entryId = xml.attributes().value("id"_L1).toString();
            if (inLessons)
                lessons.last().pairLines << pairs.value(entryId);
            sides[0].clear();
            sides[1].clear();
        } else if (name == "translation"_L1) {
            side = xml.attributes().value("id"_L1).toInt();
        } else if (name == "text"_L1 && (side == 0 || side == 1)) {
            sides[side] << xml.readElementText();
        }
    }
    if (xml.hasError())
        qFatal("the baseline could not parse %s", qPrintable(path));
    writePlain(root, title, lessons);
}

// The CSV read line by line: the byte-order mark and the header row skipped, fields split at ";".
void plainCsv(const QString& path, const QString& root) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    file.readLine();
    QList<PlainLesson> lessons;
    QHash<QString, qsizetype> lessonAt;
    while (!file.atEnd()) {
        const QString text = QString::fromUtf8(file.readLine()).chopped(2); // CR LF
        const QStringList fields = text.split(u';');
        auto at = lessonAt.constFind(fields[0]);
        if (at == lessonAt.cend()) {
            at = lessonAt.insert(fields[0], lessons.size());
            lessons.append(PlainLesson{fields[0], {}});
        }
        lessons[*at].pairLines << pairLine(fields[1], fields[2]);
    }
    writePlain(root, QFileInfo(path).completeBaseName(), lessons);
}

struct Imported {
    Exchange::Stored stored;
    Sample reading, planning, storing; // the three steps' own times
};

Imported importFile(const QString& path, const QString& root, const Exchange::ImportOptions& options) {
    Imported result;
    Exchange::ImportedBook book;
    result.reading = measure([&] { book = Exchange::readFile(path, options); });
    Exchange::StorePlan planned;
    result.planning = measure([&] { planned = Exchange::plan(book); });
    result.storing = measure([&] { result.stored = Exchange::store(DataDir(root), planned); });
    return result;
}

// A fresh data directory per run, made and removed outside the time measured.
class Rounds {
public:
    explicit Rounds(const QString& temp) : m_temp(temp) {}

    QString fresh() {
        const QString root = m_temp + u"/round%1"_s.arg(++m_count);
        if (!QDir().mkpath(root + u"/books"_s) || !QDir().mkpath(root + u"/units"_s))
            qFatal("cannot create %s", qPrintable(root));
        return root;
    }
    static void remove(const QString& root) { QDir(root).removeRecursively(); }

private:
    QString m_temp;
    int m_count = 0;
};

// Every file of the two directories' books and units, byte for byte.
bool sameFiles(const QString& a, const QString& b) {
    for (const QString& folder : {FileNames::kBooks, FileNames::kUnits}) {
        const QDir one(a + u'/' + folder);
        const QStringList names = one.entryList(QDir::Files, QDir::Name);
        if (names.isEmpty() || names != QDir(b + u'/' + folder).entryList(QDir::Files, QDir::Name))
            return false;
        for (const QString& name : names) {
            QFile x(one.filePath(name));
            QFile y(b + u'/' + folder + u'/' + name);
            if (!x.open(QIODevice::ReadOnly) || !y.open(QIODevice::ReadOnly) || x.readAll() != y.readAll())
                return false;
        }
    }
    return true;
}

QStringList benchImport(const QString& what, const QString& path, const Exchange::ImportOptions& options,
                        const std::function<void(const QString&, const QString&)>& plain, Rounds& rounds) {
    const QString checkPlain = rounds.fresh();
    const QString checkOurs = rounds.fresh();
    plain(path, checkPlain);
    const Imported check = importFile(path, checkOurs, options);
    warnUnless(check.stored.status.ok() && check.stored.textbook == kNewTextbook.toInt() &&
                   check.stored.lessons == kLessons && check.stored.pairs == kPairs && !check.stored.utf8 &&
                   sameFiles(checkPlain, checkOurs),
               u"%1: the import and the plain loop did not write the same %2 lessons of %3 pairs (%4)"_s.arg(what)
                   .arg(kLessons)
                   .arg(kPairs)
                   .arg(check.stored.status.message()));
    Rounds::remove(checkPlain);
    Rounds::remove(checkOurs);

    std::vector<Sample> read, planned, stored;
    const Comparison c = compareAlternating(
        kRounds,
        [&] {
            const QString root = rounds.fresh();
            const Sample taken = measure([&] { plain(path, root); });
            Rounds::remove(root);
            return taken;
        },
        [&] {
            const QString root = rounds.fresh();
            Imported imported;
            const Sample taken = measure([&] { imported = importFile(path, root, options); });
            Rounds::remove(root);
            read.push_back(imported.reading);
            planned.push_back(imported.planning);
            stored.push_back(imported.storing);
            return taken;
        });
    note(u"%1: readFile %2, plan %3, store %4 (CPU, medians)"_s.arg(
        what, ms(median(read).cpuMs), ms(median(planned).cpuMs), ms(median(stored).cpuMs)));
    return ratioRow(what, c, kGoal);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    if (!temp.isValid())
        qFatal("no temporary directory: %s", qPrintable(temp.errorString()));
    const Exchange::ExportedBook book = makeBook();
    const QString kvtml = temp.path() + u"/slovicka.kvtml"_s;
    const QString csv = temp.path() + u"/slovicka.csv"_s;
    writeFile(kvtml, Exchange::writeKvtml(book));
    const QByteArray csvBytes = Exchange::writeDelimited(book, u';');
    // The plain loop splits at every ";": no field may be quoted.
    if (csvBytes.contains('"'))
        qFatal("the CSV has quoted fields");
    writeFile(csv, csvBytes);
    note(u"a KVTML file of %1 MB and a CSV of %2 MB: %3 pairs in %4 lessons"_s
             .arg(double(QFileInfo(kvtml).size()) / 1e6, 0, 'f', 1)
             .arg(double(csvBytes.size()) / 1e6, 0, 'f', 1)
             .arg(kPairs)
             .arg(kLessons));

    Exchange::ImportOptions kvtmlOptions;
    kvtmlOptions.format = Exchange::Format::Kvtml;
    Rounds rounds(temp.path());
    Table summary(ratioHeader());
    summary.addRow(benchImport(u"1 KVTML import, 20,000 entries (vs QXmlStreamReader loop, plain writes)"_s, kvtml,
                               kvtmlOptions, plainKvtml, rounds));
    Exchange::ImportOptions csvOptions;
    csvOptions.format = Exchange::Format::Csv;
    csvOptions.columns = {1, 2, 0};
    summary.addRow(benchImport(u"2 CSV import, 20,000 rows (vs splitting lines at \";\", plain writes)"_s, csv,
                               csvOptions, plainCsv, rounds));
    summary.print(
        u"bench_exchange (CPU time, medians of %1 alternating rounds; ratio = subject / baseline)"_s.arg(kRounds));
    return 0;
}
