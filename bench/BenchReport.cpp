// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchReport.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace BenchReport {

namespace {

double cpuMs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

} // namespace

double threadCpuMs() {
    return cpuMs(CLOCK_THREAD_CPUTIME_ID);
}

double processCpuMs() {
    return cpuMs(CLOCK_PROCESS_CPUTIME_ID);
}

Stopwatch::Stopwatch() : m_cpuStart(threadCpuMs()) {
    m_wall.start();
}

Sample Stopwatch::elapsed() const {
    return {threadCpuMs() - m_cpuStart, static_cast<double>(m_wall.nsecsElapsed()) / 1e6};
}

Sample measure(const std::function<void()>& run) {
    const Stopwatch stopwatch;
    run();
    return stopwatch.elapsed();
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

Sample median(const std::vector<Sample>& samples) {
    std::vector<double> cpu;
    std::vector<double> wall;
    for (const Sample& sample : samples) {
        cpu.push_back(sample.cpuMs);
        wall.push_back(sample.wallMs);
    }
    return {median(cpu), median(wall)};
}

Comparison compareAlternating(int rounds, const TimedRun& baseline, const TimedRun& subject) {
    Comparison result;
    result.firstBaseline = baseline();
    result.firstSubject = subject();
    std::vector<Sample> baselineTimes;
    std::vector<Sample> subjectTimes;
    for (int round = 0; round < rounds; ++round) {
        if (round % 2) {
            subjectTimes.push_back(subject());
            baselineTimes.push_back(baseline());
        } else {
            baselineTimes.push_back(baseline());
            subjectTimes.push_back(subject());
        }
    }
    result.baseline = median(baselineTimes);
    result.subject = median(subjectTimes);
    return result;
}

void Table::print(const QString& title) const {
    QList<qsizetype> widths;
    for (const QString& cell : m_header)
        widths.append(cell.size());
    for (const QStringList& row : m_rows) {
        for (qsizetype i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    }
    const auto line = [&widths](const QStringList& cells) {
        QString text;
        for (qsizetype i = 0; i < widths.size(); ++i) {
            const QString cell = i < cells.size() ? cells[i] : QString();
            // The first column is text, the others figures.
            text += i == 0 ? cell.leftJustified(widths[i]) : QStringLiteral("  ") + cell.rightJustified(widths[i]);
        }
        return text;
    };
    QString out = u'\n' + title + u'\n' + line(m_header) + u'\n';
    qsizetype total = 0;
    for (qsizetype width : widths)
        total += width + 2;
    out += QString(total - 2, u'-') + u'\n';
    for (const QStringList& row : m_rows)
        out += line(row) + u'\n';
    std::fputs(out.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

QString ms(double value) {
    const int decimals = value < 1 ? 3 : value < 100 ? 2 : 1;
    return QString::number(value, 'f', decimals) + QStringLiteral(" ms");
}

QString times(double ratio) {
    return QString::number(ratio, 'f', 2) + u'x';
}

QString verdict(bool withinGoal) {
    return withinGoal ? QStringLiteral("ok") : QStringLiteral("OVER GOAL");
}

QStringList ratioHeader() {
    return {QStringLiteral("what"),      QStringLiteral("baseline"), QStringLiteral("subject"),
            QStringLiteral("ratio"),     QStringLiteral("goal"),     QString(),
            QStringLiteral("wall ratio")};
}

QStringList ratioRow(const QString& what, const Comparison& comparison, double goal) {
    return {what,
            ms(comparison.baseline.cpuMs),
            ms(comparison.subject.cpuMs),
            times(comparison.ratio()),
            QStringLiteral("<= ") + times(goal),
            verdict(comparison.ratio() <= goal),
            times(comparison.wallRatio())};
}

QStringList infoRow(const QString& what, const Comparison& comparison) {
    return {what,
            ms(comparison.baseline.cpuMs),
            ms(comparison.subject.cpuMs),
            times(comparison.ratio()),
            QStringLiteral("-"),
            QStringLiteral("(info)"),
            times(comparison.wallRatio())};
}

void note(const QString& text) {
    std::fputs((text + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

void warnUnless(bool ok, const QString& what) {
    if (!ok)
        note(QStringLiteral("WARNING: ") + what + QStringLiteral(" - the figures below measure something else"));
}

} // namespace BenchReport
