// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReviewHistory.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

using Direction = TestEngine::Direction;

int directionCode(Direction direction) {
    return direction == Direction::CzechShown ? 1 : 2;
}
Direction directionFrom(int code) {
    return code == 2 ? Direction::ForeignShown : Direction::CzechShown;
}
QString dayText(QDate day) {
    return day.toString(Qt::ISODate);
}

// SQLite's primary result codes, as the driver reports them, in words the user can act on.
QString reasonOf(const QSqlError& error) {
    bool number = false;
    const int code = error.nativeErrorCode().toInt(&number) & 0xff;
    if (!number)
        return QStringLiteral("databázový ovladač SQLite chybí nebo nejde spustit");
    switch (code) {
    case 5:
    case 6:
        return QStringLiteral("databázi právě používá jiný program");
    case 8:
        return QStringLiteral("soubor nebo jeho složka je jen pro čtení");
    case 10:
        return QStringLiteral("chyba čtení nebo zápisu na disk");
    case 11:
    case 26:
        return QStringLiteral("soubor je poškozený nebo to není databáze");
    case 13:
        return QStringLiteral("disk je plný");
    case 14:
        return QStringLiteral("soubor nelze otevřít ani vytvořit");
    case 23:
        return IoStatus::kAccessDenied;
    default:
        return QStringLiteral("chyba databáze číslo %1").arg(code);
    }
}

const char* const kSchema[] = {
    // Every answer of every test. rating: the review it made of its card, NULL when the card had
    // had its review that day already.
    "CREATE TABLE answers (id INTEGER PRIMARY KEY, at TEXT NOT NULL, day TEXT NOT NULL, "
    "foreign_side TEXT NOT NULL, czech_side TEXT NOT NULL, direction INTEGER NOT NULL, "
    "way INTEGER NOT NULL, hint INTEGER, rating INTEGER, caption TEXT NOT NULL)",
    "CREATE INDEX answers_day ON answers (day)",
    "CREATE TABLE cards (foreign_side TEXT NOT NULL, czech_side TEXT NOT NULL, direction INTEGER NOT NULL, "
    "stability REAL NOT NULL, difficulty REAL NOT NULL, reviews INTEGER NOT NULL, lapses INTEGER NOT NULL, "
    "last_day TEXT NOT NULL, due_day TEXT NOT NULL, PRIMARY KEY (foreign_side, czech_side, direction)) WITHOUT ROWID",
    "CREATE INDEX cards_due ON cards (due_day)",
    "CREATE TABLE settings (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
};

constexpr const char* kCardColumns =
    "foreign_side, czech_side, direction, stability, difficulty, reviews, lapses, last_day, due_day";

Card newCard(const PairSides& pair, Direction direction) {
    Card card;
    card.pair = pair;
    card.direction = direction;
    return card;
}

Card cardFrom(const QSqlQuery& row) {
    Card card;
    card.pair = {row.value(0).toString(), row.value(1).toString()};
    card.direction = directionFrom(row.value(2).toInt());
    card.state = {row.value(3).toDouble(), row.value(4).toDouble()};
    card.reviews = row.value(5).toInt();
    card.lapses = row.value(6).toInt();
    card.lastReview = QDate::fromString(row.value(7).toString(), Qt::ISODate);
    card.due = QDate::fromString(row.value(8).toString(), Qt::ISODate);
    return card;
}

} // namespace

Fsrs::Rating ratingOf(const Verdict& verdict) {
    switch (verdict.way) {
    case Verdict::Way::FirstTry:
        return Fsrs::Rating::Good;
    case Verdict::Way::AfterHint:
    case Verdict::Way::HalfAnswer:
        return Fsrs::Rating::Hard;
    case Verdict::Way::QuickAnswer:
    case Verdict::Way::Wrong:
        break;
    }
    return Fsrs::Rating::Again;
}

QString directionName(Direction direction) {
    return direction == Direction::CzechShown ? QStringLiteral("cz>ciz") : QStringLiteral("ciz>cz");
}

// Prepared once per connection: an answer is recorded while the user waits for the next question.
struct ReviewHistory::Statements {
    explicit Statements(const QSqlDatabase& db) : begin(db), commit(db), rollback(db), card(db), answer(db), save(db) {}
    QSqlQuery begin, commit, rollback, card, answer, save;
};

ReviewHistory::ReviewHistory(const QString& root, Access access)
    : m_root(root), m_access(access),
      m_connection(QStringLiteral("memoran-history-%1").arg(reinterpret_cast<quintptr>(this))) {}

ReviewHistory::~ReviewHistory() {
    m_statements.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

bool ReviewHistory::fail(const QString& what) {
    m_problem = QStringLiteral("Historii opakování (soubor %1) nelze %2.").arg(kFileName, what);
    return false;
}

bool ReviewHistory::exec(const QString& sql) {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (query.exec(sql))
        return true;
    return fail(QStringLiteral("použít: %1").arg(reasonOf(query.lastError())));
}

bool ReviewHistory::open() {
    if (m_open)
        return true;
    const QString path = QDir(m_root).filePath(kFileName);
    const bool readOnly = m_access == Access::ReadOnly;
    if (readOnly && !QFileInfo::exists(path)) {
        m_problem.clear(); // no history yet: nothing is due
        return false;
    }
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
                          ? QSqlDatabase::database(m_connection, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!db.isValid())
        return fail(QStringLiteral("otevřít: databázový ovladač SQLite chybí"));
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1%2")
                             .arg(kBusyTimeoutMs)
                             .arg(readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
    if (!db.open())
        return fail(QStringLiteral("otevřít: %1").arg(reasonOf(db.lastError())));
    if (!migrate()) {
        db.close();
        return false;
    }
    m_statements = std::make_unique<Statements>(db);
    Statements& s = *m_statements;
    s.begin.prepare(QStringLiteral("BEGIN IMMEDIATE"));
    s.commit.prepare(QStringLiteral("COMMIT"));
    s.rollback.prepare(QStringLiteral("ROLLBACK"));
    s.card.prepare(QStringLiteral("SELECT %1 FROM cards WHERE foreign_side = ? AND czech_side = ? AND direction = ?")
                       .arg(QLatin1String(kCardColumns)));
    s.answer.prepare(QStringLiteral("INSERT INTO answers (at, day, foreign_side, czech_side, direction, way, hint, "
                                    "rating, caption) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    s.save.prepare(QStringLiteral("INSERT OR REPLACE INTO cards (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                       .arg(QLatin1String(kCardColumns)));
    m_open = true;
    m_retention = settings().retention;
    m_problem.clear();
    return true;
}

bool ReviewHistory::migrate() {
    QSqlQuery version(QSqlDatabase::database(m_connection, false));
    if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next())
        return fail(QStringLiteral("otevřít: %1").arg(reasonOf(version.lastError())));
    const int found = version.value(0).toInt();
    version.finish();
    if (found > kSchemaVersion)
        return fail(QStringLiteral("použít: pochází z novější verze programu"));
    if (m_access == Access::ReadOnly && found < kSchemaVersion) {
        m_problem.clear(); // not made yet (or not yet brought up by the window): nothing is due
        return false;
    }
    if (m_access == Access::ReadOnly)
        return true;
    // WAL: a reader (the terminal's --due, the page's loading) never waits for a writer.
    if (!exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !exec(QStringLiteral("PRAGMA synchronous = NORMAL")))
        return false;
    if (found == kSchemaVersion)
        return true;
    // Each version's steps run in one transaction with the version they reach.
    if (!exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    for (const char* statement : kSchema) {
        if (!exec(QString::fromUtf8(statement))) {
            exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    }
    return exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion)) && exec(QStringLiteral("COMMIT"));
}

bool ReviewHistory::record(const JudgedAnswer& judged, const QDateTime& at) {
    if (!open())
        return false;
    Statements& s = *m_statements;
    const auto failed = [this, &s](const QSqlQuery& query) {
        const QString reason = reasonOf(query.lastError());
        s.rollback.exec();
        return fail(QStringLiteral("zapsat: %1").arg(reason));
    };
    if (!s.begin.exec())
        return fail(QStringLiteral("zapsat: %1").arg(reasonOf(s.begin.lastError())));

    const QDate day = at.date();
    const int direction = directionCode(judged.direction);
    s.card.addBindValue(judged.pair.foreign);
    s.card.addBindValue(judged.pair.czech);
    s.card.addBindValue(direction);
    if (!s.card.exec())
        return failed(s.card);
    const bool known = s.card.next();
    Card card = known ? cardFrom(s.card) : newCard(judged.pair, judged.direction);
    s.card.finish();

    QVariant rating; // no review: the card had its review today (or, with the clock put back, later)
    if (!known || card.lastReview < day) {
        const Fsrs::Rating given = ratingOf(judged.verdict);
        const Fsrs::Scheduler scheduler(m_retention);
        const Fsrs::Review review =
            known ? scheduler.next(card.state, int(card.lastReview.daysTo(day)), given) : scheduler.first(given);
        card.state = review.state;
        ++card.reviews;
        card.lapses += given == Fsrs::Rating::Again && known ? 1 : 0;
        card.lastReview = day;
        card.due = day.addDays(review.intervalDays);
        for (const QVariant& value :
             {QVariant(card.pair.foreign), QVariant(card.pair.czech), QVariant(direction),
              QVariant(card.state.stability), QVariant(card.state.difficulty), QVariant(card.reviews),
              QVariant(card.lapses), QVariant(dayText(card.lastReview)), QVariant(dayText(card.due))})
            s.save.addBindValue(value);
        if (!s.save.exec())
            return failed(s.save);
        rating = int(given);
    }
    const QDateTime local = at.toOffsetFromUtc(at.offsetFromUtc());
    for (const QVariant& value :
         {QVariant(local.toString(Qt::ISODate)), QVariant(dayText(day)), QVariant(judged.pair.foreign),
          QVariant(judged.pair.czech), QVariant(direction), QVariant(int(judged.verdict.way)),
          judged.verdict.hint ? QVariant(int(*judged.verdict.hint)) : QVariant(), rating, QVariant(judged.caption)})
        s.answer.addBindValue(value);
    if (!s.answer.exec())
        return failed(s.answer);
    if (!s.commit.exec())
        return failed(s.commit);
    m_problem.clear();
    return true;
}

QList<Card> ReviewHistory::dueBy(QDate day) {
    QList<Card> cards;
    if (!open())
        return cards;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM cards WHERE due_day <= ? ORDER BY due_day, foreign_side, "
                                 "czech_side, direction")
                      .arg(QLatin1String(kCardColumns)));
    query.addBindValue(dayText(day));
    if (!query.exec()) {
        fail(QStringLiteral("číst: %1").arg(reasonOf(query.lastError())));
        return cards;
    }
    while (query.next())
        cards.append(cardFrom(query));
    return cards;
}

Card ReviewHistory::card(const PairSides& pair, Direction direction) {
    Card found = newCard(pair, direction);
    if (!open())
        return found;
    QSqlQuery& query = m_statements->card;
    query.addBindValue(pair.foreign);
    query.addBindValue(pair.czech);
    query.addBindValue(directionCode(direction));
    if (query.exec() && query.next())
        found = cardFrom(query);
    query.finish();
    return found;
}

bool ReviewHistory::select(const QString& sql, const QVariantList& values,
                           const std::function<void(const QSqlQuery&)>& row) {
    if (!open())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return fail(QStringLiteral("číst: %1").arg(reasonOf(query.lastError())));
    while (query.next())
        row(query);
    m_problem.clear();
    return true;
}

ReviewSettings ReviewHistory::settings() {
    ReviewSettings settings;
    if (!m_open && !open())
        return settings;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("SELECT key, value FROM settings")))
        return settings;
    while (query.next()) {
        const QString key = query.value(0).toString();
        bool number = false;
        const double value = query.value(1).toString().toDouble(&number);
        if (!number)
            continue; // a value another program spoilt keeps its default
        if (key == u"retention")
            settings.retention = std::clamp(value, ReviewSettings::kMinRetention, ReviewSettings::kMaxRetention);
        else if (key == u"max_pairs")
            settings.maxPairs = std::clamp(int(value), 1, WordLists::kMaxPairs);
        else if (key == u"level" && value >= 0 && value <= 2)
            settings.level = Level(int(value));
    }
    return settings;
}

bool ReviewHistory::saveSettings(const ReviewSettings& settings) {
    if (!open())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO settings (key, value) VALUES (?, ?)"));
    query.addBindValue(QStringList{QStringLiteral("retention"), QStringLiteral("max_pairs"), QStringLiteral("level")});
    query.addBindValue(QStringList{QString::number(settings.retention, 'f', 2), QString::number(settings.maxPairs),
                                   QString::number(int(settings.level))});
    if (!query.execBatch())
        return fail(QStringLiteral("zapsat: %1").arg(reasonOf(query.lastError())));
    m_retention = settings.retention;
    m_problem.clear();
    return true;
}

QString ReviewHistory::value(const QString& key) {
    if (!open())
        return {};
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT value FROM settings WHERE key = ?"));
    query.addBindValue(key);
    return query.exec() && query.next() ? query.value(0).toString() : QString();
}

bool ReviewHistory::setValue(const QString& key, const QString& value) {
    if (!open())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO settings (key, value) VALUES (?, ?)"));
    query.addBindValue(key);
    query.addBindValue(value);
    if (!query.exec())
        return fail(QStringLiteral("zapsat: %1").arg(reasonOf(query.lastError())));
    m_problem.clear();
    return true;
}
