// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the statistics: a results log of 100,000 records and a review history of 500,000 answers of
// 50,000 cards read into the chart series, against reading the same log and rows in a plain loop.
#include "BenchFiles.h"
#include "BenchReport.h"
#include "GapMeter.h"

#include "core/TestEngine.h"
#include "history/ReviewHistory.h"
#include "statistics/StatisticsWindow.h"
#include "stats/Statistics.h"
#include "store/Cp1250.h"

#include <QApplication>
#include <QEventLoop>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace BenchReport;
using namespace BenchFiles;

namespace {

constexpr int kRecords = 100'000;
constexpr int kLogDays = 730; // two years: the success rate comes weekly
constexpr int kCards = 50'000;
constexpr int kAnswers = 500'000;
constexpr int kRounds = 7;
constexpr double kGoal = 3.0;
const QString kLogFile = QStringLiteral("/Zkouseni.txt");

// Tests of 20 lessons and reviews, a few a day, as the results page writes them.
void makeLog(const QString& root, QDate today) {
    QByteArray bytes;
    bytes.reserve(kRecords * 110);
    const QDate first = today.addDays(-kLogDays);
    for (int i = 0; i < kRecords; ++i) {
        const QDateTime at(first.addDays(qint64(i) * kLogDays / kRecords), QTime(7 + i % 14, i % 60, i % 59));
        const QString caption =
            i % 5 ? QStringLiteral("Němčina, díl 1 - Lekce č. %1").arg(i % 20 + 1) : QStringLiteral("Opakování");
        const qint64 right = i % 30;
        const qint64 wrong = i % 7;
        bytes += line(TestEngine::resultRecord(at, caption, TestEngine::successRate(right, wrong), right + wrong / 2,
                                               right, wrong));
    }
    writeFile(root + kLogFile, bytes);
}

void exec(const QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    if (!query.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
}

// 50,000 cards due from 40 days ago to 79 days ahead, each with 10 answers spread over the last 400 days.
void makeHistory(const QString& root, QDate today) {
    {
        ReviewHistory made(root);
        if (!made.open())
            qFatal("cannot make the history: %s", qPrintable(made.problem()));
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(root + QStringLiteral("/memoran.sqlite"));
        if (!db.open())
            qFatal("cannot open the history: %s", qPrintable(db.lastError().text()));
        const QString day = today.toString(Qt::ISODate);
        exec(db, QStringLiteral("BEGIN"));
        exec(db, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                "INSERT INTO cards SELECT 'der Hund ' || i, 'pes č. ' || i, 1 + i % 2, 1.5 + i % 97, "
                                "1 + i % 9, 10, i % 4, date('%2', '-' || (1 + i % 30) || ' days'), "
                                "date('%2', ((i * 7919) % 120 - 40) || ' days') FROM n")
                     .arg(kCards)
                     .arg(day));
        exec(db, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1 - 1) "
                                "INSERT INTO answers (at, day, foreign_side, czech_side, direction, way, hint, rating, "
                                "caption) SELECT d || 'T08:00:00+01:00', d, 'der Hund ' || c, 'pes č. ' || c, "
                                "1 + c % 2, i % 5, NULL, 1 + i % 3, 'Němčina, díl 1 - Lekce č. 1' FROM (SELECT i, "
                                "1 + i / 10 AS c, date('%2', '-' || ((i * 7) % 400) || ' days') AS d FROM n)")
                     .arg(kAnswers)
                     .arg(day));
        exec(db, QStringLiteral("COMMIT"));
        exec(db, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
}

// The log read and decoded line by line.
qsizetype plainLog(const QString& root) {
    QFile file(root + kLogFile);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the log");
    qsizetype lines = 0;
    while (!file.atEnd())
        lines += Cp1250::decode(file.readLine()).isEmpty() ? 0 : 1;
    return lines;
}

// The same rows in plain SELECTs: the answers of the last 365 days, every card.
qsizetype plainRows(const QString& root, QDate today) {
    qsizetype rows = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plain"));
        db.setDatabaseName(root + QStringLiteral("/memoran.sqlite"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
        QSqlQuery answers(db);
        answers.setForwardOnly(true);
        answers.prepare(QStringLiteral("SELECT day FROM answers WHERE day BETWEEN ? AND ?"));
        answers.addBindValue(today.addDays(-364).toString(Qt::ISODate));
        answers.addBindValue(today.toString(Qt::ISODate));
        answers.exec();
        while (answers.next())
            rows += answers.value(0).toString().isEmpty() ? 0 : 1;
        QSqlQuery cards(db);
        cards.setForwardOnly(true);
        cards.exec(QStringLiteral("SELECT foreign_side, czech_side, direction, lapses, stability, reviews, due_day "
                                  "FROM cards"));
        while (cards.next())
            rows += cards.value(6).toString().isEmpty() ? 0 : 1;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plain"));
    return rows;
}

// The statistics window opened on the data, then each view shown: the longest the event loop could
// not run while it read and drew, and the time each view takes to draw.
QStringList benchWindow(const QString& root, QDate today) {
    ReviewHistory history(root);
    StatisticsWindow window(root, [today] { return today; }, history);
    window.show();
    QCoreApplication::processEvents();
    double longest = 0;
    for (int round = 0; round < 3; ++round) {
        GapMeter meter;
        QEventLoop loop;
        bool started = false;
        int ticksAfter = -1; // the ticks after loading, which take the window's repaint in
        meter.start([&] {
            if (!std::exchange(started, true))
                window.reload();
            else if (!window.isLoading() && ++ticksAfter >= 20)
                loop.quit();
        });
        loop.exec();
        longest = std::max(longest, meter.stop());
    }
    QStringList views;
    for (int view = 0; view < 4; ++view) {
        const Sample drawn = measure([&] {
            window.showView(StatisticsWindow::View(view));
            window.repaint();
        });
        views << ms(drawn.wallMs);
    }
    note(QStringLiteral("4: the views drawn after the reading (wall): %1").arg(views.join(QStringLiteral(", "))));
    return {QStringLiteral("4 statistics window opened: longest the event loop was blocked (1 ms timer)"),
            QStringLiteral("-"),
            ms(longest),
            QStringLiteral("-"),
            QStringLiteral("<= 50 ms"),
            verdict(longest <= 50),
            QStringLiteral("-")};
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir temp;
    if (!temp.isValid())
        qFatal("no temporary directory: %s", qPrintable(temp.errorString()));
    const QString root = temp.path();
    const QDate today = QDate::currentDate();
    const Sample made = measure([&] {
        makeLog(root, today);
        makeHistory(root, today);
    });
    note(QStringLiteral("data directory made in %1 (wall): a log of %2 MB, no lessons (the hardest pairs' lessons "
                        "are read as the review page reads them: bench_history)")
             .arg(ms(made.wallMs))
             .arg(double(QFileInfo(root + kLogFile).size()) / 1e6, 0, 'f', 1));

    Table summary(ratioHeader());
    qsizetype plainLines = 0;
    qsizetype plainRowCount = 0;
    StatisticsData data;
    const Comparison whole = compareAlternating(
        kRounds,
        [&] {
            return measure([&] {
                plainLines = plainLog(root);
                plainRowCount = plainRows(root, today);
            });
        },
        [&] { return measure([&] { data = StatisticsData::read(root, today); }); });
    double answered = 0;
    for (const ChartPoint& point : std::as_const(data.answersPerDay))
        answered += point.value;
    warnUnless(data.log.records.size() == kRecords && plainLines == kRecords && data.log.unreadable == 0 &&
                   data.historyProblem.isEmpty() && data.hardest.size() == 20 && answered > kAnswers / 2 &&
                   plainRowCount == qsizetype(answered) + kCards,
               QStringLiteral("the statistics did not read what the plain loop read: %1 records, %2 answers")
                   .arg(data.log.records.size())
                   .arg(answered));
    summary.addRow(ratioRow(QStringLiteral("1 StatisticsData::read, 100,000 log records, 500,000 answers, 50,000 cards "
                                           "(vs reading the log line by line and the same rows in plain SELECTs)"),
                            whole, kGoal));

    ResultsLog log;
    const Comparison logOnly = compareAlternating(
        kRounds, [&] { return measure([&] { plainLines = plainLog(root); }); },
        [&] { return measure([&] { log = ResultsLog::read(root + kLogFile); }); });
    summary.addRow(
        infoRow(QStringLiteral("2 of which ResultsLog::read (vs reading and decoding the log line by line)"), logOnly));
    // The window may work the rate out again when another caption is chosen.
    std::vector<Sample> rates;
    for (int round = 0; round < kRounds; ++round)
        rates.push_back(measure([&] { Statistics::successRate(log.records); }));
    note(QStringLiteral("3: the success rate of 100,000 records, weekly, again: %1 (CPU, median)")
             .arg(ms(median(rates).cpuMs)));

    summary.addRow(benchWindow(root, today));
    summary.print(QStringLiteral("bench_stats (CPU time, medians; ratio = subject / baseline)"));
    return 0;
}
