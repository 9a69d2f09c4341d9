// SPDX-License-Identifier: GPL-3.0-or-later
// What the statistics window shows: the results log read in every form it was written, the chart series
// against values worked out by hand, and the CSV for spreadsheets.
#include "Files.h"

#include "core/TestEngine.h"
#include "history/ReviewHistory.h"
#include "stats/Statistics.h"
#include "store/Cp1250.h"
#include "store/DataDir.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString fields(const LogRecord& r) {
    const auto n = [](qint64 value) { return QString::number(value); };
    return QStringList{
        r.at.toString(u"yyyy-MM-dd HH:mm:ss"_s), r.caption, n(r.rate), n(r.total), n(r.right), n(r.wrong)}
        .join(u'|');
}
QString points(const QList<ChartPoint>& list) {
    QStringList found;
    for (const ChartPoint& p : list)
        found << p.date.toString(u"d.M.yyyy="_s) + QString::number(p.value, 'g', 6);
    return found.join(u' ');
}
LogRecord record(const QString& at, const QString& caption, qint64 right, qint64 wrong) {
    return {QDateTime::fromString(at, u"d.M.yyyy H:mm"_s), caption, 0, right + wrong, right, wrong};
}

// Record i of the big log (by day: no hour the clocks skip): every stamp form the program and older ones
// wrote; a caption holding the markers.
const QStringList kStamps{u"d.M.yyyy   H:mm:ss"_s, u"d. M. yyyy   H:mm:ss"_s, u"d.M.yyyy   HH:mm"_s,
                          u"d. M. yyyy   H:mm"_s};
const QStringList kCaptions{u"Němčina - Lekce č. 12"_s, u"Opakování"_s, u"Žluť   Úspěšnost: 5%   Špatně:9"_s};
LogRecord bigRecord(int i) {
    const QTime time(7 + i % 14, i % 60, i % 4 < 2 ? i % 59 : 0);
    return {QDateTime(QDate(2020, 1, 1).addDays(i / 50), time), kCaptions.at(i % 3), i % 101, i % 50, i % 37, i % 13};
}
// A broken line after every 1,000th record, of six kinds.
const QStringList kBroken{u"31.2.2021   9:05:00   Název:X   Úspěšnost: 5%   Slovíček:1   Správně:1   Špatně:0"_s,
                          u"1.3.2021   9:05:00   Název:Lekce 1   Úspěšnost: 50%   Slovíček:2   Správně:1   Špa"_s,
                          u"1.3.2021   9:05:00   Název:X   Úspěšnost: 5%   Slovíček:1   Správně:x   Špatně:0"_s,
                          u"Zkoušení"_s,
                          u"1.3.2021   Název:X   Úspěšnost: 5%   Slovíček:1   Správně:1   Špatně:0"_s,
                          u"1.3.21   9:05:00   Název:X   Úspěšnost: 5%   Slovíček:1   Správně:1   Špatně:0"_s};

} // namespace

class TestStats : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsBigLogInEveryForm_data() {
        QTest::addColumn<bool>("utf8");
        QTest::newRow("Windows-1250") << false;
        QTest::newRow("UTF-8 with a byte-order mark") << true;
    }
    void readsBigLogInEveryForm() {
        QFETCH(bool, utf8);
        QString text;
        for (int i = 0; i < 100'000; ++i) {
            const LogRecord r = bigRecord(i);
            const QString line = TestEngine::resultRecord(r.at, r.caption, r.rate, r.total, r.right, r.wrong);
            text += r.at.toString(kStamps.at(i % 4)) + line.sliced(line.indexOf(u"   Název:"_s));
            text += i % 5 ? u"\r\n"_s : u"\n"_s;
            if (i % 1000 == 999)
                text += kBroken.at(i / 1000 % 6) + u"\r\n"_s;
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Zkouseni.txt"_s);
        QVERIFY(writeBytes(path, utf8 ? "\xEF\xBB\xBF" + text.toUtf8() : Cp1250::encode(text)));
        QVERIFY(QFileInfo(path).size() > DataDir::kMaxFileSize);
        const ResultsLog log = ResultsLog::read(path);
        QCOMPARE(log.unreadable, 100);
        QCOMPARE(log.records.size(), 100'000);
        for (int i : {0, 1, 2, 3, 4, 50'001, 99'999})
            QCOMPARE(fields(log.records.at(i)), fields(bigRecord(i)));
        QCOMPARE(log.captions(), kCaptions); // in code-point order
    }

    void unreadableText() {
        QCOMPARE(ResultsLog::unreadableText(0), QString());
        for (const auto& [count, lines] : {std::pair{1, u"1 řádek"_s}, {4, u"4 řádky"_s}, {5, u"5 řádků"_s}})
            QCOMPARE(ResultsLog::unreadableText(count), lines + u" souboru Zkouseni.txt se nepodařilo přečíst"_s);
    }

    // Tests and reviews apart, right ÷ (right + wrong) of a whole day or week; a day that asked nothing has no point.
    void successRate_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("later");
        QTest::addColumn<QString>("tests");
        QTest::addColumn<QString>("reviews");
        QTest::newRow("daily") << QString() << false << u"14.3.2026=80 15.3.2026=25"_s
                               << u"14.3.2026=75 17.3.2026=33.3333"_s;
        QTest::newRow("one caption") << u"Němčina - Lekce 1"_s << false << u"14.3.2026=87.5 15.3.2026=25"_s
                                     << QString();
        QTest::newRow("weekly, by Mondays, beyond a year")
            << QString() << true << u"9.3.2026=64.2857 15.3.2027=50"_s << u"9.3.2026=75 16.3.2026=33.3333"_s;
    }
    void successRate() {
        QFETCH(QString, caption);
        QFETCH(bool, later);
        const QString lesson = u"Němčina - Lekce 1"_s;
        QList<LogRecord> log{record(u"14.3.2026 9:00"_s, lesson, 7, 1),
                             record(u"14.3.2026 18:00"_s, u"Němčina - Lekce 2"_s, 1, 1),
                             record(u"14.3.2026 19:00"_s, u"Opakování"_s, 3, 1),
                             record(u"16.3.2026 8:00"_s, lesson, 0, 0),
                             record(u"17.3.2026 8:00"_s, u"Opakování - nejtěžší"_s, 1, 2),
                             record(u"15.3.2026 8:00"_s, lesson, 1, 3)};
        if (later)
            log.append(record(u"20.3.2027 8:00"_s, lesson, 1, 1));
        const RateSeries series = Statistics::successRate(log, caption);
        QCOMPARE(series.weekly, later);
        QTEST(points(series.tests), "tests");
        QTEST(points(series.reviews), "reviews");
    }

    void history() {
        QTemporaryDir dir;
        const QString root = dir.path();
        const QDate today(2026, 3, 14);
        StatisticsData data = StatisticsData::read(root, today); // nothing yet: no problem, all days 0
        QCOMPARE(data.historyProblem + data.log.problem, QString());
        QCOMPARE(points(Statistics::lastDays(data.forecast, 2)), u"11.4.2026=0 12.4.2026=0"_s);
        QVERIFY(ReviewHistory(root).open());
        QVERIFY(writeFiles(root, u"zkouseni.txt=Zkoušení;books/1.mum=Němčina;units/1_1T.mum=Zvířata;"
                                 "units/1_1.mum=der Hund*pes*|die Katze*kočka*"_s));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"fill"_s);
            db.setDatabaseName(root + u"/memoran.sqlite"_s);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(u"INSERT INTO answers (at, day, foreign_side, czech_side, direction, way, caption) "
                               "SELECT '', column1, '', '', 1, 0, '' FROM (VALUES ('2025-02-07'), ('2025-03-15'), "
                               "('2026-03-12'), ('2026-03-12'), ('2026-03-14'), ('2026-03-14'), ('2026-03-14'), "
                               "('2026-03-15'))"_s));
            QVERIFY(query.exec(u"INSERT INTO cards VALUES ('der Hund', 'pes', 1, 2.0, 5, 4, 3, '', '2026-03-09'), "
                               "('die Katze', 'kočka', 2, 1.0, 5, 4, 3, '', '2026-03-14'), ('das Haus', 'dům', 1, 0.5, "
                               "5, 4, 1, '', '2026-03-16'), ('rot', 'červená', 2, 9.0, 5, 4, 0, '', '2026-04-12'), "
                               "('blau', 'modrá', 1, 0.1, 5, 4, 0, '', '2026-04-13')"_s));
        }
        QSqlDatabase::removeDatabase(u"fill"_s);
        data = StatisticsData::read(root, today);
        QCOMPARE(data.log.unreadable, 1);
        QCOMPARE(data.answersPerDay.constFirst(), (ChartPoint{today.addDays(-364), 1}));
        QCOMPARE(points(Statistics::lastDays(data.answersPerDay, 3)), u"12.3.2026=2 13.3.2026=0 14.3.2026=3"_s);
        QCOMPARE(points(data.forecast.first(3)), u"14.3.2026=2 15.3.2026=0 16.3.2026=1"_s);
        QCOMPARE(data.forecast.constLast(), (ChartPoint{today.addDays(29), 1}));
        QStringList hardest;
        for (const HardPair& p : std::as_const(data.hardest))
            hardest << p.foreign + (p.foreignShown ? u'>' : u'<') + QString::number(p.lapses) + u' ' + p.textbook +
                           u'/' + p.lesson;
        QCOMPARE(hardest.join(u", "_s), u"die Katze>3 Němčina/Zvířata, der Hund<3 Němčina/Zvířata, das Haus<1 /, "
                                        "blau<0 /, rot>0 /"_s);
        QVERIFY(writeBytes(root + u"/memoran.sqlite"_s, QByteArray(4096, 'x')));
        QVERIFY(StatisticsData::read(root, today).historyProblem.contains(u"poškozený"_s));
    }

    void csv() {
        const QByteArray bytes =
            Statistics::csv({u"Den"_s, u"Úspěšnost"_s},
                            {{u"14.3.2026"_s, u"87,5"_s}, {u"a;b"_s, u"řekl \"ne\""_s}, {u"dva\nřádky"_s, {}}});
        QCOMPARE(
            bytes,
            u"\uFEFFDen;Úspěšnost\r\n14.3.2026;87,5\r\n\"a;b\";\"řekl \"\"ne\"\"\"\r\n\"dva\nřádky\";\r\n"_s.toUtf8());
    }
};

QTEST_GUILESS_MAIN(TestStats)
#include "tst_stats.moc"
