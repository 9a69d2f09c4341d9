// SPDX-License-Identifier: GPL-3.0-or-later
// Saves killed at random moments, as a killed program or a power cut leaves them (SIGKILL: nothing of
// the program runs afterwards). Once the next start has removed the temporary files and finished a
// renumbering, the data directory is as the last save reported done left it or as the one under way
// would have: never torn, no pair, record or lesson lost or doubled.
#include "DataTree.h"

#include "core/AppSettings.h"
#include "core/TestSettings.h"
#include "history/ReviewHistory.h"
#include "store/UserTextbook.h"
#include "store/Vocabulary.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <cstdio>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// One kind of save, done again and again: save i for i from 1 on.
struct Kind {
    const char* name;
    IoStatus (*save)(const DataDir& dir, int i);
};
const Kind kKinds[] = {
    {"settings",
     [](const DataDir& dir, int i) {
         return AppSettings{i % 2 == 1, i / 2 % 2 == 1}.write(dir);
     }},
    {"test settings",
     [](const DataDir& dir, int i) {
         return SavedTestSettings::write(dir, {.level = Level(i % 4), .repeats = i + 3, .halfAnswer = i % 2 == 1});
     }},
    {"results log",
     [](const DataDir& dir, int i) {
         return dir.appendLine(u"Zkouseni.txt"_s,
                               u"14.3.2026   9:05:07   Název:Němčina - Lekce č. %1   Úspěšnost: 100%"_s.arg(i));
     }},
    {"editor: pair append",
     [](const DataDir& dir, int i) {
         return Vocabulary::appendPair(dir, u"2_1.mum"_s, u"Wort %1"_s.arg(i), u"slovo č. %1"_s.arg(i));
     }},
    {"editor: textbook name",
     [](const DataDir& dir, int i) { return Vocabulary::renameTextbook(dir, u"2.mum"_s, u"Učebnice č. %1"_s.arg(i)); }},
    {"editor: lesson title",
     [](const DataDir& dir, int i) {
         return Vocabulary::openForExtension(dir, u"2_1T.mum"_s, u"Lekce verze %1"_s.arg(i), nullptr);
     }},
    // Each list a few pairs fewer or more than the last, each pair of its own version.
    {"editor: pair list",
     [](const DataDir& dir, int i) {
         return Vocabulary::savePairs(dir, u"2_1.mum"_s, QStringList(300 - i % 5, u"Wort*slovo, verze %1*"_s.arg(i)));
     }},
    {"user textbook: renumbering", [](const DataDir& dir, int) { return UserTextbook::deleteLesson(dir, 1); }},
};

// What every kind starts from: textbook 2 with a lesson, a log, and 60 lessons of the user textbook
// with a gap (30), lessons without their lesson file and one lesson file without its title (45).
Tree start() {
    Tree tree{{"books/2.mum", "N\xecm\xe8ina\r\n"},
              {"units/2_1.mum", "der Vater*otec*\r\n"},
              {"Zkouseni.txt", "D\xf8\xedve\r\n"}};
    for (int n = 1; n <= 60; ++n) {
        const QByteArray k = QByteArray::number(n);
        if (n != 30 && n != 45)
            tree.insert(u"units/1_%1t.mum"_s.arg(n), "Lekce \xe8. " + k + "\r\n");
        if (n != 30 && (n % 7 != 3 || n == 45))
            tree.insert(u"units/1_%1.mum"_s.arg(n), "slovo*p\xf8" + QByteArray("eklad ") + k + "*\r\n");
    }
    return tree;
}

// A child process that runs step(0), its preparation (a child's first touches of memory are slow), then
// step(1), step(2) … until it is killed delayUs after its start; how many steps it reported done. -1 when
// it stopped on its own (a step that failed: it returns why, empty when done).
int killedChild(const std::function<QString(int)>& step, qint64 delayUs) {
    int reports[2];
    if (pipe(reports) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        for (int i = 0;; ++i) {
            const QString problem = step(i);
            if (!problem.isEmpty()) {
                // Why, in the test's output: a child that stops on its own fails the run.
                std::fprintf(stderr, "step %d failed: %s\n", i, qPrintable(problem));
                _exit(1);
            }
            (void)!write(reports[1], &i, sizeof i);
        }
    }
    close(reports[1]);
    int done = -1;
    if (read(reports[0], &done, sizeof done) == sizeof done) {
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    for (int i = 0; read(reports[0], &i, sizeof i) == sizeof i;)
        done = i;
    close(reports[0]);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? done : -1;
}

// In memory where the system has it: the kills test the order of the steps, not the disk.
QString scratchFolder() {
    return QFileInfo(u"/dev/shm"_s).isWritable() ? u"/dev/shm"_s : QDir::tempPath();
}

// Answer i of the history's kill loop: seven pairs both ways, every way of judging, a new day every five
// answers, so that most answers review their card and some come second that day.
JudgedAnswer answerNo(int i) {
    const auto way = Verdict::Way(i % 5);
    return {{u"Wort %1"_s.arg(i % 7), u"slovo č. %1"_s.arg(i % 7)},
            i / 7 % 2 ? TestEngine::Direction::ForeignShown : TestEngine::Direction::CzechShown,
            {way, way == Verdict::Way::AfterHint ? std::optional(HintKind(i % 3)) : std::nullopt},
            u"Lekce č. %1"_s.arg(i % 3)};
}
QDateTime answeredAt(int i) {
    return QDateTime(QDate(2026, 3, 2).addDays(i / 5), QTime(8, 0).addSecs(i));
}

// What a query gives on the history in root, a row a line, its fields separated by tabs.
QStringList rows(const QString& root, const QString& sql) {
    QStringList result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"check"_s);
        db.setDatabaseName(root + u"/memoran.sqlite"_s);
        QSqlQuery query(db);
        if (!db.open() || !query.exec(sql))
            result.append(u"unreadable: "_s + db.lastError().text() + query.lastError().text());
        for (QStringList fields; query.next(); fields.clear()) {
            for (int i = 0; i < query.record().count(); ++i)
                fields.append(query.value(i).toString());
            result.append(fields.join(u'\t'));
        }
    }
    QSqlDatabase::removeDatabase(u"check"_s);
    return result;
}

// Printed at the end, where scripts/harden collects them.
QStringList figures;

} // namespace

class TestKilled : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedAnywhere_data() {
        QTest::addColumn<int>("kind");
        for (int i = 0; i < int(std::size(kKinds)); ++i)
            QTest::newRow(kKinds[i].name) << i;
    }
    void killedAnywhere() {
        QFETCH(int, kind);
        const Kind& save = kKinds[kind];
        const QString where = scratchFolder();
        // Kills spread over about eight saves, however fast this build saves (a sanitizer's is several
        // times slower): a few saves timed here first.
        const Data timing(start(), where);
        QElapsedTimer timed;
        timed.start();
        for (int i = 1; i <= 4; ++i)
            QVERIFY(timing.ok && save.save(timing.dir, i).ok());
        const int within = int(std::max<qint64>(8000, timed.nsecsElapsed() / 1000 * 2));
        // What saves 0, 1, 2 … leave when nothing stops them.
        const Data uninterrupted(start(), where);
        QList<QStringList> states{uninterrupted.now()};
        const auto state = [&](int i) {
            while (states.size() <= i) {
                const IoStatus saved = save.save(uninterrupted.dir, int(states.size()));
                states.append(saved.ok() ? uninterrupted.now() : QStringList{saved.message()});
            }
            return states.at(i);
        };
        QRandomGenerator random(20261207 + kind);
        int kills = 0, newer = 0, unfinished = 0;
        qint64 saves = 0;
        for (; kills < 200; ++kills) {
            const Data data(start(), where);
            QVERIFY(data.ok);
            const int done = killedChild(
                [&](int i) {
                    if (i == 0) {
                        UserTextbook::list(data.dir);
                        return QString();
                    }
                    const IoStatus saved = save.save(data.dir, i);
                    return saved.ok() ? QString() : saved.message();
                },
                random.bounded(within));
            QVERIFY2(done >= 0, "the child stopped before it was killed");
            saves += done;
            const QStringList left = data.now();
            data.dir.completeInterruptedAppends(); // as the next start does
            data.dir.removeStaleTempFiles(std::chrono::seconds(-1)); // however young
            const IoStatus finished = UserTextbook::completeRenumbering(data.dir);
            QVERIFY2(finished.ok(), qPrintable(finished.message()));
            const QStringList now = data.now();
            unfinished += now != left;
            newer += now == state(done + 1);
            if (now != state(done + 1))
                QCOMPARE(now, state(done));
        }
        figures.append(u"%1: %2 kills after %3 saves on average; %4 left the save under way done, %5 left work "
                       u"for the next start"_s.arg(QString::fromLatin1(save.name))
                           .arg(kills)
                           .arg(saves / kills)
                           .arg(newer)
                           .arg(unfinished));
    }

    // Answers recorded by a child until it is killed: every answer it reported done is there in order,
    // the one under way at most besides, and the cards are as those answers leave them.
    void historyKilledDuringAnswers() {
        // The cards after answers 0, 1, 2 … of a history that nothing stops.
        const Data uninterrupted({}, scratchFolder());
        ReviewHistory reference(uninterrupted.dir.root());
        QVERIFY(reference.open());
        const QString kCards = u"SELECT * FROM cards ORDER BY foreign_side, czech_side, direction"_s;
        QList<QStringList> cards{rows(uninterrupted.dir.root(), kCards)};
        QRandomGenerator random(20261208);
        int kills = 0, newer = 0;
        qint64 answers = 0;
        for (; kills < 200; ++kills) {
            const Data data({}, scratchFolder());
            const QString root = data.dir.root();
            std::optional<ReviewHistory> history; // made in the child
            const int done = killedChild(
                [&](int i) {
                    const bool ok = i == 0 ? history.emplace(root).open() : history->record(answerNo(i), answeredAt(i));
                    return ok ? QString() : u"not recorded: "_s + history->problem();
                },
                random.bounded(10000)); // µs: a hundred answers or so, a few dozen under a sanitizer
            QVERIFY2(done >= 0, "the child stopped before it was killed");
            answers += done;
            QCOMPARE(rows(root, u"PRAGMA integrity_check"_s), QStringList{u"ok"_s});
            const QStringList left = rows(root, u"SELECT * FROM answers ORDER BY id"_s);
            QVERIFY2(left.size() == done || left.size() == done + 1, qPrintable(left.join(u'\n')));
            newer += left.size() > done;
            while (cards.size() <= left.size()) {
                QVERIFY(reference.record(answerNo(int(cards.size())), answeredAt(int(cards.size()))));
                cards.append(rows(uninterrupted.dir.root(), kCards));
            }
            QCOMPARE(left, rows(uninterrupted.dir.root(),
                                u"SELECT * FROM answers WHERE id <= %1 ORDER BY id"_s.arg(left.size())));
            QCOMPARE(rows(root, kCards), cards.at(left.size()));
        }
        figures.append(
            u"review history: %1 kills after %2 answers on average; %3 left the answer under way done"_s.arg(kills)
                .arg(answers / kills)
                .arg(newer));
    }

    void cleanupTestCase() {
        for (const QString& line : std::as_const(figures))
            qInfo("%s", qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestKilled)
#include "tst_killed.moc"
