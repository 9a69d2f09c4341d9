// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Fsrs.h"
#include "core/TestEngine.h"
#include "core/TestSession.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>

class QSqlQuery;

// A pair as the lesson files hold it: the same two sides in two lessons are one pair.
struct PairSides {
    QString foreign;
    QString czech;
    bool operator==(const PairSides&) const = default;
};

// One answer as the test judged it.
struct JudgedAnswer {
    PairSides pair;
    TestEngine::Direction direction = TestEngine::Direction::CzechShown;
    Verdict verdict;
    QString caption; // the test's, as the log names it
};

// A pair asked in one direction, as the scheduler keeps it.
struct Card {
    PairSides pair;
    TestEngine::Direction direction = TestEngine::Direction::CzechShown;
    Fsrs::MemoryState state;
    int reviews = 0;
    int lapses = 0;
    QDate lastReview;
    QDate due;
};

// The pages' settings kept in the history.
struct ReviewSettings {
    static constexpr double kMinRetention = 0.70;
    static constexpr double kMaxRetention = 0.97;
    double retention = Fsrs::Scheduler::kDefaultRetention;
    int maxPairs = 50;
    Level level = Level::Easy;
};

// How a judged answer rates as a review: right at the first try Good; right after a hint or by the half
// answer Hard; wrong, or shown by the quick answer (nothing was recalled), Again.
Fsrs::Rating ratingOf(const Verdict& verdict);
// The direction as the terminal and the history name it: "cz>ciz" when the Czech side is shown.
QString directionName(TestEngine::Direction direction);

// Every answer of every test and the memory state of each (pair, direction), in "memoran.sqlite"
// beside the vocabulary. A pair gets one review per local calendar day: its first answer that day.
//
// Nothing here stops a test: a database that cannot be opened or written makes the call fail with a
// Czech reason, and the next call tries again. A lock held by another program is waited for at most
// kBusyTimeoutMs.
class ReviewHistory {
public:
    static inline const QString kFileName = QStringLiteral("memoran.sqlite");
    static constexpr int kBusyTimeoutMs = 50;
    static constexpr int kSchemaVersion = 1;
    enum class Access { ReadWrite, ReadOnly };

    // root: the data directory. Each history object has a connection of its own, usable from the
    // thread that made it only.
    explicit ReviewHistory(const QString& root, Access access = Access::ReadWrite);
    ~ReviewHistory();
    ReviewHistory(const ReviewHistory&) = delete;
    ReviewHistory& operator=(const ReviewHistory&) = delete;

    // Opens the file (made and brought to the current schema when writable); true when it is usable.
    bool open();
    // Why the last call failed, in Czech; empty after a success.
    const QString& problem() const { return m_problem; }

    // Records the answer at that moment, and reviews its card when it is the card's first answer
    // that day; committed before it returns.
    bool record(const JudgedAnswer& answer, const QDateTime& at);

    // The cards due on or before that day, by due date, then foreign side in code-point order.
    QList<Card> dueBy(QDate day);
    // A card's state; a card never reviewed has reviews 0.
    Card card(const PairSides& pair, TestEngine::Direction direction);

    // A query of a reader that needs counts or orders the calls above do not give: each row handed to
    // row(). False when it fails (problem() says why), or when there is no history yet (no problem).
    bool select(const QString& sql, const QVariantList& values, const std::function<void(const QSqlQuery&)>& row);

    ReviewSettings settings();
    bool saveSettings(const ReviewSettings& settings);
    // Another window's setting by its key (its size, say); empty when none is kept.
    QString value(const QString& key);
    bool setValue(const QString& key, const QString& value);

private:
    struct Statements;
    bool fail(const QString& what);
    bool migrate();
    bool exec(const QString& sql);

    QString m_root;
    Access m_access;
    QString m_connection;
    QString m_problem;
    std::unique_ptr<Statements> m_statements;
    bool m_open = false;
    double m_retention = Fsrs::Scheduler::kDefaultRetention;
};
