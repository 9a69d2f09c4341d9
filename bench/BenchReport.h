// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The machine the benchmarks run on is shared and noisy, so they report ratios against a baseline
// measured in the same process, alternating the two, rather than absolute times. The figures
// judged are CPU time: under load, wall-clock time mostly counts other programs' turns on the CPU,
// and more of them in a long run than in a short one. Wall-clock ratios are shown beside them.
namespace BenchReport {

struct Sample {
    double cpuMs = 0;
    double wallMs = 0;
};

// CPU time of the calling thread, and of the whole process since it started.
double threadCpuMs();
double processCpuMs();

// Started on construction; measures the calling thread.
class Stopwatch {
public:
    Stopwatch();
    Sample elapsed() const;

private:
    QElapsedTimer m_wall;
    double m_cpuStart;
};

// One run that times itself, so that set-up and tear-down can stay outside.
using TimedRun = std::function<Sample()>;

Sample measure(const std::function<void()>& run);
double median(std::vector<double> values);
// Medians of the CPU times and of the wall times, each taken separately.
Sample median(const std::vector<Sample>& samples);

struct Comparison {
    Sample firstBaseline; // the warm-up runs, kept out of the medians
    Sample firstSubject;
    Sample baseline; // medians
    Sample subject;

    double ratio() const { return baseline.cpuMs > 0 ? subject.cpuMs / baseline.cpuMs : 0; }
    double wallRatio() const { return baseline.wallMs > 0 ? subject.wallMs / baseline.wallMs : 0; }
};

// One warm-up run of each, then rounds of both; the order is swapped every round so that neither
// side always runs second, on caches the other has just warmed.
Comparison compareAlternating(int rounds, const TimedRun& baseline, const TimedRun& subject);

// A plain text table; each column as wide as its widest cell.
class Table {
public:
    explicit Table(QStringList header) : m_header(std::move(header)) {}
    void addRow(QStringList cells) { m_rows.append(std::move(cells)); }
    void print(const QString& title) const;

private:
    QStringList m_header;
    QList<QStringList> m_rows;
};

QString ms(double value);
QString times(double ratio);
QString verdict(bool withinGoal);

// The summary columns every benchmark prints: what, baseline, subject, ratio, goal, verdict, and
// the wall-clock ratio of the same runs.
QStringList ratioHeader();
QStringList ratioRow(const QString& what, const Comparison& comparison, double goal);
// A comparison shown for information, without a goal.
QStringList infoRow(const QString& what, const Comparison& comparison);

void note(const QString& text);
// A warning above the table when a benchmark did not do what its figures claim.
void warnUnless(bool ok, const QString& what);

} // namespace BenchReport
