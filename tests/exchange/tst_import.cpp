// SPDX-License-Identifier: GPL-3.0-or-later
// What an imported book becomes in the data directory: the rows that cannot be stored, long lessons
// split, the numbering, the summary; our textbooks out to each format and back byte for byte; the
// terminal's --import and --export.
#include "Files.h"
#include "Sandbox.h"

#include "exchange/Transfer.h"
#include "store/Vocabulary.h"

#include <QLockFile>

#include <QProcess>
#include <QTest>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using namespace Exchange;

namespace {

// Under AddressSanitizer a process's memory is mostly the sanitizer's own: the peak is no measure.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPeakMeasurable = false;
#elif defined(__has_feature)
constexpr bool kPeakMeasurable = !__has_feature(address_sanitizer);
#else
constexpr bool kPeakMeasurable = true;
#endif

// One lesson "L" of pairs given as "foreign=czech", alternatives "|"-separated, rows "řádek 1", "řádek 2"…
ImportedBook oneLesson(const QStringList& pairs) {
    ImportedLesson lesson{u"L"_s, {}};
    for (qsizetype i = 0; i < pairs.size(); ++i)
        lesson.pairs << ImportedPair{pairs[i].section(u'=', 0, 0).split(u'|'), pairs[i].section(u'=', 1).split(u'|'),
                                     u"řádek %1"_s.arg(i + 1)};
    return {u"Kniha"_s, {lesson}, {}, {}};
}

QStringList many(int count, const QString& pattern) {
    QStringList result;
    for (int i = 1; i <= count; ++i)
        result << pattern.arg(i);
    return result;
}

} // namespace

class TestImport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each kind of row that cannot be stored is left out and named; the texts go on one line.
    void rowsThatCannotBeStored_data() {
        QTest::addColumn<QStringList>("pairs");
        QTest::addColumn<QString>("kept");    // pair lines, "|" between them
        QTest::addColumn<QString>("refused"); // kind: sources
        QTest::newRow("clean") << QStringList{u"dog|hound=pes"_s} << u"dog+hound*pes*"_s << QString();
        QTest::newRow("line break, tab, control")
            << QStringList{u"a\tb|c\r\nd=x\u0001y"_s} << u"a b+c d*xy*"_s << QString();
        QTest::newRow("plus inside a text") << QStringList{u"a+ +b|c=x"_s} << u"a+b+c*x*"_s << QString();
        QTest::newRow("empty alternative") << QStringList{u"a| |=b"_s} << u"a*b*"_s << QString();
        QTest::newRow("star") << QStringList{u"ok=fine"_s, u"a*b=c"_s} << u"ok*fine*"_s << u"star: řádek 2"_s;
        QTest::newRow("eleven alternatives")
            << QStringList{many(11, u"a%1"_s).join(u'|') + u"=b"_s} << QString() << u"alternatives: řádek 1"_s;
        QTest::newRow("empty side") << QStringList{u"a= "_s, u"=b"_s} << QString() << u"empty: řádek 1, řádek 2"_s;
    }
    void rowsThatCannotBeStored() {
        QFETCH(QStringList, pairs);
        const StorePlan planned = plan(oneLesson(pairs));
        QTEST(planned.lessons.value(0).pairLines.join(u'|'), "kept");
        QStringList refused;
        for (const auto& [kind, sources] : {std::pair{"star", planned.refused.star},
                                            {"alternatives", planned.refused.tooManyAlternatives},
                                            {"empty", planned.refused.emptySide}}) {
            if (!sources.isEmpty())
                refused << u"%1: %2"_s.arg(QLatin1String(kind), sources.join(u", "_s));
        }
        QTEST(refused.join(u'|'), "refused");
        QCOMPARE(planned.refused.leavesOut(), !refused.isEmpty());
    }

    // More than 2,000 pairs make more lessons, nothing lost; past 999 lessons the rest is left out and
    // named; an empty lesson stays.
    void longLessonsAndManyLessons() {
        ImportedBook book = oneLesson(many(4001, u"w%1=s%1"_s));
        book.lessons.prepend({u"Prázdná"_s, {}});
        for (int i = 0; i < 997; ++i)
            book.lessons << ImportedLesson{u"M%1"_s.arg(i), {}};
        const StorePlan planned = plan(book);
        QCOMPARE(planned.lessons.size(), 999);
        QCOMPARE(planned.lessons[0].pairLines.size(), 0);
        QCOMPARE(planned.lessons[2].title, u"L (2)"_s);
        QCOMPARE(planned.lessons[3].pairLines, QStringList{u"w4001*s4001*"_s});
        QCOMPARE(planned.refused.splitLessons, QStringList{u"L"_s});
        QCOMPARE(planned.refused.tooManyLessons, (QStringList{u"M995"_s, u"M996"_s}));
    }

    // A new textbook never takes number 1; a text Windows-1250 cannot hold is told of once; a lesson
    // that cannot be written takes the textbook back with it.
    void storing() {
        Sandbox s;
        ImportedBook book = oneLesson({u"der Hund=pes"_s, u"собака=pes"_s, u"a*=b"_s});
        book.lessons << ImportedLesson{u"Druhá"_s, {{{u"д"_s}, {u"d"_s}, u"řádek 9"_s}}};
        book.omitted = {{u"komentáře"_s, 2}};
        const StorePlan planned = plan(book);
        const Stored stored = store(s.dataDir, planned);
        QVERIFY2(stored.status.ok(), qPrintable(stored.status.message()));
        QCOMPARE(stored.textbook, 2);
        QCOMPARE(readBytes(s.dir.filePath(u"units/2_1.mum"_s)),
                 "\xef\xbb\xbf"
                 "der Hund*pes*\r\n\xd1\x81\xd0\xbe\xd0\xb1\xd0\xb0\xd0\xba\xd0\xb0*pes*\r\n");
        QCOMPARE(readBytes(s.dir.filePath(u"units/2_2T.mum"_s)), cp1250Lines(u"Druhá"_s));
        QCOMPARE(summary(planned, stored),
                 u"Založena učebnice č. 2 „Kniha“: 2 lekce, 3 dvojice.\n"
                 u"Vynecháno 1 dvojice s hvězdičkou „*“ v textu: řádek 3.\n"
                 u"Nepřeneseno: komentáře 2.\n"
                 u"Některé texty nejdou zapsat ve Windows-1250: jejich soubory jsou v UTF-8."_s);
        QVERIFY(QDir(s.dir.filePath(u"units"_s)).removeRecursively() &&
                writeBytes(s.dir.filePath(u"units"_s), "a file"));
        const Stored failed = store(s.dataDir, planned);
        QVERIFY(!failed.status.ok() && failed.textbook == 0);
        QCOMPARE(QDir(s.dir.filePath(u"books"_s)).entryList(QDir::Files), QStringList{u"2.mum"_s});
    }

    // A textbook of ours out to each format and back in is the same files, byte for byte: Czech
    // letters, alternatives, an empty lesson where the format keeps one, a 2,000-pair lesson.
    void roundTrips_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("file");
        QTest::newRow("KVTML") << int(Format::Kvtml) << u"kniha.kvtml"_s;
        QTest::newRow("CSV") << int(Format::Csv) << u"kniha.csv"_s;
        QTest::newRow("TSV") << int(Format::Tsv) << u"kniha.tsv"_s;
        QTest::newRow("flash cards") << int(Format::FlashCards) << u"kniha.txt"_s;
    }
    void roundTrips() {
        QFETCH(int, format);
        QFETCH(QString, file);
        Sandbox s;
        const bool keepsEmpty = Format(format) == Format::Kvtml;
        QVERIFY(writeFiles(s.dir.path(), u"books/2.mum=Němčina;units/2_1T.mum=Rodina;"
                                         u"units/2_1.mum=der Vater*otec+táta*|die Mutter*matka*|Fräulein*slečna*;"
                                         u"units/2_2T.mum=Velká"_s));
        QVERIFY(
            writeBytes(s.dir.filePath(u"units/2_2.mum"_s), cp1250Lines(many(2000, u"Wort %1*slovo %1*"_s).join(u'|'))));
        // Only KVTML keeps an empty lesson: the others know lessons by their pairs.
        if (keepsEmpty)
            QVERIFY(writeFiles(s.dir.path(), u"units/2_3T.mum=Prázdná"_s) &&
                    writeBytes(s.dir.filePath(u"units/2_3.mum"_s), {}));
        const QString path = s.dir.filePath(file);
        const IoStatus written = writeFile(s.dataDir, 2, path, Format(format));
        QVERIFY2(written.ok(), qPrintable(written.message()));
        ImportOptions options{Format(format), -1, -1, {}, true};
        if (Format(format) == Format::Csv || Format(format) == Format::Tsv)
            options.columns = {1, 2, 0};
        const ImportedBook book = readFile(path, options);
        QVERIFY2(book.problem.isEmpty(), qPrintable(book.problem));
        const Stored stored = store(s.dataDir, plan(book));
        QCOMPARE(stored.textbook, 3);
        for (const QString& name : QDir(s.dir.filePath(u"units"_s)).entryList({u"2_*"_s}, QDir::Files)) {
            const QString copy = u"units/3"_s + name.mid(1);
            QCOMPARE(readBytes(s.dir.filePath(copy)), readBytes(s.dir.filePath(u"units/"_s + name)));
        }
        QCOMPARE(QDir(s.dir.filePath(u"units"_s)).entryList({u"3_*"_s}, QDir::Files).size(), keepsEmpty ? 6 : 4);
    }

    // A file KDE's own library wrote (tools/kvtml-check write): nested lessons flattened, a
    // comma-separated text as alternatives, the empty lesson kept.
    void fileKdeWrote() {
        const StorePlan planned = plan(
            readFile(QStringLiteral(MEMORAN_TEST_DATA "/kvtml/kde-written.kvtml"), {Format::Kvtml, -1, -1, {}, false}));
        QStringList lessons;
        for (const ExportedLesson& lesson : planned.lessons)
            lessons << lesson.title + u": "_s + lesson.pairLines.join(u' ');
        QCOMPARE(lessons, (QStringList{u"Rodina: der Vater*otec+táta* die Mutter*matka* der Bruder*bratr*"_s,
                                       u"Cestování / Na letišti: der Flughafen*letiště* das Flugzeug*letadlo*"_s,
                                       u"Prázdná: "_s}));
    }

    // The terminal: an import prints its summary, an export writes the file; a running window's lock
    // refuses both with exit code 1; a file of no known kind is a usage error.
    void terminal() {
        Sandbox s;
        QVERIFY(writeBytes(s.dir.filePath(u"slova.csv"_s),
                           cp1250Lines(u"Lekce;Cizí;Česky|Zvířata;der Hund;pes|Zvířata;die Katze;kočka"_s)));
        const auto run = [&](const QStringList& arguments, QByteArray* out = nullptr) {
            QProcess program;
            program.setProcessEnvironment(QProcessEnvironment()); // no display
            program.setWorkingDirectory(s.dir.path());
            program.start(QStringLiteral(MEMORAN_BINARY), QStringList{u"--data"_s, s.dir.path()} + arguments);
            program.waitForFinished(20000);
            if (out)
                *out = program.readAllStandardOutput() + program.readAllStandardError();
            return program.exitCode();
        };
        QByteArray said;
        QCOMPARE(run({u"--import"_s, u"slova.csv"_s, u"--columns"_s, u"2,3,1"_s}, &said), 0);
        QCOMPARE(QString::fromUtf8(said), u"Založena učebnice č. 2 „slova“: 1 lekce, 2 dvojice.\n"_s);
        QCOMPARE(readBytes(s.dir.filePath(u"units/2_1.mum"_s)), cp1250Lines(u"der Hund*pes*|die Katze*kočka*"_s));
        QCOMPARE(run({u"--export"_s, u"2"_s, u"ven.txt"_s}), 0);
        QVERIFY(readBytes(s.dir.filePath(u"ven.txt"_s)).contains("der Hund\tpes\tslova::Zvířata"));
        QCOMPARE(run({u"--export"_s, u"2"_s, u"ven.doc"_s}), 2);
        QCOMPARE(run({u"--export"_s, u"7"_s, u"ven.csv"_s}), 1);
        QLockFile window(s.dir.filePath(u"memoran.lock"_s));
        QVERIFY(window.tryLock(0));
        QCOMPARE(run({u"--import"_s, u"slova.csv"_s}, &said), 1);
        QVERIFY2(said.contains("zavřete ho"), said.constData());
        QVERIFY(!QFile::exists(s.dir.filePath(u"books/3.mum"_s)));
    }

    // Hostile files on the terminal, smallest first (the peak is the largest of all runs so far): a
    // Czech message, exit code 1, nothing created, and at most four times the file's size plus 50 MB.
    // The bytes are made in the test itself: a child counts what its parent held when it was forked.
    void hostileFiles_data() {
        QTest::addColumn<QString>("file");
        for (const char* file : {"malformed.kvtml", "laughs.kvtml", "binary.csv", "wide.csv", "big.kvtml"})
            QTest::newRow(file) << QString::fromLatin1(file);
    }
    void hostileFiles() {
        QFETCH(QString, file);
        Sandbox s;
        qint64 size = 0;
        {
            QByteArray bytes;
            if (file == u"malformed.kvtml"_s) {
                bytes = "<kvtml version=\"2.0\"><entries><entry id=\"0\">";
            } else if (file == u"laughs.kvtml"_s) {
                bytes = "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [\n<!ENTITY a0 \"laugh\">\n";
                for (int i = 1; i <= 9; ++i)
                    bytes += "<!ENTITY a" + QByteArray::number(i) + " \"" +
                             QByteArray("&a" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
                bytes += "]>\n<kvtml version=\"2.0\"><information><title>&a9;</title></information></kvtml>\n";
            } else if (file == u"binary.csv"_s) {
                for (int i = 0; i < 40000; ++i)
                    bytes += char(i * 7919 % 256);
            } else if (file == u"wide.csv"_s) {
                bytes = QByteArray("a;").repeated(100000);
            } else {
                const QByteArray entry = "<entry id=\"1\"><translation id=\"0\"><text>Wort</text></translation>"
                                         "<translation id=\"1\"><text>slovo</text></translation></entry>\n";
                bytes = "<kvtml version=\"2.0\"><entries>" + entry.repeated((50 << 20) / entry.size()); // cut short
            }
            size = bytes.size();
            QVERIFY(writeBytes(s.dir.filePath(file), bytes));
        }
        QProcess program;
        program.setProcessEnvironment(QProcessEnvironment());
        program.start(QStringLiteral(MEMORAN_BINARY), {u"--data"_s, s.dir.path(), u"--import"_s, s.dir.filePath(file)});
        QVERIFY(program.waitForFinished(60000));
        const QString said = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(program.exitCode(), 1);
        QVERIFY2(said.contains(u"soubor"_s, Qt::CaseInsensitive), qPrintable(said));
        QCOMPARE(QDir(s.dir.filePath(u"books"_s)).entryList(QDir::Files), QStringList());
        rusage children{};
        QVERIFY(getrusage(RUSAGE_CHILDREN, &children) == 0);
        const qint64 peak = qint64(children.ru_maxrss) * 1024;
        QVERIFY2(!kPeakMeasurable || peak < 4 * size + (50 << 20), qPrintable(u"%1 MB"_s.arg(peak >> 20)));
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
