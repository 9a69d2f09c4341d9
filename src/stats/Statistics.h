// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// One record of the results log "Zkouseni.txt", as the results page wrote it.
struct LogRecord {
    QDateTime at;
    QString caption; // exactly as logged: the only stable name a test has
    int rate = 0;    // the success rate logged, in per cent
    qint64 total = 0;
    qint64 right = 0;
    qint64 wrong = 0;
};

// The results log read whole: its records in file order, and how many lines could not be read.
struct ResultsLog {
    QList<LogRecord> records;
    int unreadable = 0;
    QString problem; // the file could not be read (Czech); a missing file is no problem, just empty

    // Reads a log of any size, in Windows-1250, UTF-8 or UTF-16 as the program's files may be. Dates in
    // every form the program writes: d.M.yyyy with or without blanks after the dots, the time with or
    // without seconds. A line that does not parse is counted, never fatal.
    static ResultsLog read(const QString& path, const std::function<void(int, int)>& progress = {});
    // "3 řádky souboru Zkouseni.txt se nepodařilo přečíst" (empty for 0).
    static QString unreadableText(int count);
    // Whether a caption is a review's ("Opakování", "Opakování - nejtěžší"), not a lesson's test.
    static bool isReview(const QString& caption);
    // The distinct captions, in code-point order.
    QStringList captions() const;
};

// A point of a chart: a day (for weekly points, the Monday of the week) and its value.
struct ChartPoint {
    QDate date;
    double value = 0;
    bool operator==(const ChartPoint&) const = default;
};

// The success rate over time: right ÷ (right + wrong) × 100 of all records in a day (a week, when the
// records span more than a year), tests and reviews apart.
struct RateSeries {
    QList<ChartPoint> tests;
    QList<ChartPoint> reviews;
    bool weekly = false;
};

// A pair among the hardest: most lapses, then the lowest stability.
struct HardPair {
    QString foreign;
    QString czech;
    bool foreignShown = false; // the direction it was asked: "ciz>cz" when true
    int lapses = 0;
    double stability = 0;
    int reviews = 0;
    QString textbook; // where it lies now; both empty when no lesson holds it
    QString lesson;
};

// Everything the statistics window shows, read in one go off the window's thread.
struct StatisticsData {
    ResultsLog log;
    // Answers per day over the last 365 days, oldest first, one point for every day (0 for none).
    QList<ChartPoint> answersPerDay;
    // Pairs due per day over the next 30 days from today (overdue ones counted today), one point a day.
    QList<ChartPoint> forecast;
    QList<HardPair> hardest; // at most 20
    QString historyProblem;  // the review history could not be read (Czech)

    // root: the data directory (its "Zkouseni.txt" and "memoran.sqlite"); progress may be called from
    // the reading thread.
    static StatisticsData read(const QString& root, QDate today, const std::function<void(int, int)>& progress = {});
};

namespace Statistics {
// The success rate of one caption's records (all records when caption is empty).
RateSeries successRate(const QList<LogRecord>& records, const QString& caption = {});
// The last `days` points of answers per day.
QList<ChartPoint> lastDays(const QList<ChartPoint>& perDay, int days);
// A table as CSV for Czech spreadsheets: UTF-8 with a byte-order mark, ";" between fields, a header
// row, fields quoted as RFC 4180 asks (a ";", a quote or a line break inside).
QByteArray csv(const QStringList& header, const QList<QStringList>& rows);
} // namespace Statistics
