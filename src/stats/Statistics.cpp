// SPDX-License-Identifier: GPL-3.0-or-later
#include "Statistics.h"

#include "history/LessonIndex.h"
#include "history/ReviewHistory.h"
#include "store/Cp1250.h"
#include "store/DataDir.h"

#include <QMap>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

constexpr int kDaysBack = 365;
constexpr int kDaysAhead = 30;
constexpr int kHardest = 20;

// Progress of StatisticsData::read in per cent: the log takes most of the time, then the history,
// then the lessons that place the hardest pairs.
constexpr int kLogShare = 70;
constexpr int kHistoryDone = 85;

// One point a day from first, count days, each 0.
QList<ChartPoint> emptyDays(QDate first, int count) {
    QList<ChartPoint> points;
    points.reserve(count);
    for (int i = 0; i < count; ++i)
        points.append({first.addDays(i), 0});
    return points;
}

// Adds count to the point of the day; a day after the points is dropped, and so is one before them
// unless early says it counts on the first.
void addTo(QList<ChartPoint>& points, const QVariant& dayText, double count, bool early = false) {
    const QDate day = QDate::fromString(dayText.toString(), Qt::ISODate);
    if (!day.isValid())
        return;
    qint64 index = points.constFirst().date.daysTo(day);
    if (early)
        index = std::max<qint64>(index, 0);
    if (index >= 0 && index < points.size())
        points[index].value += count;
}

void readHistory(StatisticsData& data, const QString& root) {
    ReviewHistory history(root, ReviewHistory::Access::ReadOnly);
    const auto perDay = [&data](const QSqlQuery& row) {
        addTo(data.answersPerDay, row.value(0), row.value(1).toDouble());
    };
    // An overdue pair is due today.
    const auto due = [&data](const QSqlQuery& row) {
        addTo(data.forecast, row.value(0), row.value(1).toDouble(), true);
    };
    const auto hard = [&data](const QSqlQuery& row) {
        data.hardest.append({row.value(0).toString(),
                             row.value(1).toString(),
                             row.value(2).toInt() == 2,
                             row.value(3).toInt(),
                             row.value(4).toDouble(),
                             row.value(5).toInt(),
                             {},
                             {}});
    };
    const auto dayText = [](const ChartPoint& point) { return point.date.toString(Qt::ISODate); };
    const bool read =
        history.select(QStringLiteral("SELECT day, count(*) FROM answers WHERE day BETWEEN ? AND ? GROUP BY day"),
                       {dayText(data.answersPerDay.constFirst()), dayText(data.answersPerDay.constLast())}, perDay) &&
        history.select(QStringLiteral("SELECT due_day, count(*) FROM cards WHERE due_day <= ? GROUP BY due_day"),
                       {dayText(data.forecast.constLast())}, due) &&
        history.select(
            QStringLiteral("SELECT foreign_side, czech_side, direction, lapses, stability, reviews FROM cards "
                           "ORDER BY lapses DESC, stability, foreign_side, czech_side, direction LIMIT %1")
                .arg(kHardest),
            {}, hard);
    data.historyProblem = read ? QString() : history.problem();
}

void placeHardest(StatisticsData& data, const DataDir& dir, const std::function<void(int)>& step) {
    LessonIndex lessons;
    lessons.read(dir, [&](int done, int total) { step(kHistoryDone + (100 - kHistoryDone) * done / total); });
    for (HardPair& pair : data.hardest) {
        if (const PairPlace* place = lessons.find({pair.foreign, pair.czech})) {
            pair.textbook = lessons.textbooks().at(place->textbook);
            pair.lesson = place->lessonTitle;
        }
    }
}

} // namespace

StatisticsData StatisticsData::read(const QString& root, QDate today, const std::function<void(int, int)>& progress) {
    const auto step = [&](int done) {
        if (progress)
            progress(done, 100);
    };
    const DataDir dir(root);
    StatisticsData data;
    data.log = ResultsLog::read(dir.resolve(QStringLiteral("Zkouseni.txt")),
                                [&](int done, int total) { step(kLogShare * done / std::max(total, 1)); });
    step(kLogShare);
    data.answersPerDay = emptyDays(today.addDays(1 - kDaysBack), kDaysBack);
    data.forecast = emptyDays(today, kDaysAhead);
    readHistory(data, root);
    step(kHistoryDone);
    if (!data.hardest.isEmpty())
        placeHardest(data, dir, step);
    step(100);
    return data;
}

namespace Statistics {

RateSeries successRate(const QList<LogRecord>& records, const QString& caption) {
    QList<const LogRecord*> chosen;
    QDate first;
    QDate last;
    for (const LogRecord& record : records) {
        if (!caption.isEmpty() && record.caption != caption)
            continue;
        chosen.append(&record);
        const QDate day = record.at.date();
        first = first.isValid() ? std::min(first, day) : day;
        last = last.isValid() ? std::max(last, day) : day;
    }
    RateSeries series;
    // Beyond a year, days are too many points to tell apart on a chart.
    series.weekly = first.isValid() && last > first.addYears(1);
    struct Sums {
        qint64 right = 0;
        qint64 answers = 0;
    };
    QMap<QDate, Sums> tests;
    QMap<QDate, Sums> reviews;
    for (const LogRecord* record : std::as_const(chosen)) {
        QDate day = record->at.date();
        if (series.weekly)
            day = day.addDays(1 - day.dayOfWeek());
        Sums& sums = (ResultsLog::isReview(record->caption) ? reviews : tests)[day];
        sums.right += record->right;
        sums.answers += record->right + record->wrong;
    }
    // A day whose tests asked nothing has no rate: no point rather than a false 0 %.
    const auto points = [](const QMap<QDate, Sums>& sums) {
        QList<ChartPoint> list;
        for (auto it = sums.cbegin(); it != sums.cend(); ++it) {
            if (it->answers > 0)
                list.append({it.key(), 100.0 * double(it->right) / double(it->answers)});
        }
        return list;
    };
    series.tests = points(tests);
    series.reviews = points(reviews);
    return series;
}

QList<ChartPoint> lastDays(const QList<ChartPoint>& perDay, int days) {
    return perDay.mid(std::max<qsizetype>(0, perDay.size() - std::max(days, 0)));
}

QByteArray csv(const QStringList& header, const QList<QStringList>& rows) {
    QString text;
    const auto addRow = [&text](const QStringList& fields) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const QString& field = fields.at(i);
            if (i > 0)
                text += u';';
            if (field.contains(u';') || field.contains(u'"') || field.contains(u'\n') || field.contains(u'\r'))
                text += u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"';
            else
                text += field;
        }
        text += QStringLiteral("\r\n");
    };
    addRow(header);
    for (const QStringList& row : rows)
        addRow(row);
    return TextCodec::byteOrderMark(TextEncoding::Utf8Bom) + text.toUtf8();
}

} // namespace Statistics
