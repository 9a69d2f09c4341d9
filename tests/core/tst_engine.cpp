// SPDX-License-Identifier: GPL-3.0-or-later
#include "Files.h"
#include "FixedSources.h"
#include "core/RoutineError.h"
#include "core/TestSession.h"
#include "store/DataDir.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace TestEngine;
using Way = Verdict::Way;

namespace {

// "5 DoPlechovkyCz" for the trap an action raised, empty when it raised none.
template <typename Action> QString trapOf(Action&& action) {
    try {
        action();
    } catch (const RoutineError& error) {
        return QString::number(error.trapNumber()) + u' ' + error.routine();
    }
    return {};
}

// "a+a+...+a": a side of n alternatives.
QString side(const char* alternative, int n) {
    return QStringList(n, QString::fromLatin1(alternative)).join(u'+');
}

void load(TestSession& session, const QStringList& lines) {
    session.words().clear();
    for (const QString& line : lines)
        session.words().addPairLine(line);
}

// What is read from a "Try.cfg" of these bytes (none: no file), "-" for an unset value, text lines
// in brackets.
QString readTryCfgOf(const QByteArray& bytes) {
    QTemporaryDir tmp;
    if (!bytes.isEmpty())
        writeBytes(tmp.filePath(QStringLiteral("Try.cfg")), bytes);
    const SavedTestSettings s = SavedTestSettings::read(DataDir(tmp.path()));
    auto number = [](auto v) { return v ? QString::number(int(*v)) : QStringLiteral("-"); };
    auto text = [](const std::optional<QString>& v) { return v ? u'[' + *v + u']' : QStringLiteral("-"); };
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(number(s.level), number(s.answerMode), text(s.repeats), text(s.penalty), text(s.maxRepeats),
             s.halfAnswer ? QString::number(*s.halfAnswer) : QStringLiteral("-"));
}

} // namespace

class TestSessionCore : public QObject {
    Q_OBJECT
    TestSession session;
    ScriptedRandom random;

private slots:
    void init() {
        session = TestSession();
        random = ScriptedRandom();
    }

    void loadLines_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("lastPair"); // "count:foreign*count:Czech", or the trap raised
        QTest::newRow("two alternatives") << QStringList{"A+B*C*"} << "2:A+B*1:C";
        QTest::newRow("leading +") << QStringList{"X*+A*"} << "1:X*2:+A";
        QTest::newRow("doubled +") << QStringList{"X*A++B*"} << "1:X*3:A++B";
        QTest::newRow("empty Czech side") << QStringList{"X**"} << "1:X*1:";
        QTest::newRow("empty foreign side") << QStringList{"*c*"} << "1:*1:c";
        QTest::newRow("10 Czech, trailing + adds none")
            << QStringList{"x*" + side("c", 10) + "+*"} << "1:x*10:" + side("c", 10);
        QTest::newRow("11 Czech") << QStringList{"x*" + side("c", 11) + "*"} << "5 DoPlechovkyCz";
        QTest::newRow("11 foreign") << QStringList{side("f", 11) + "*c*"} << "6 DoPlechovkyCiz";
        QStringList most;
        for (int i = 1; i <= WordLists::kMaxPairs; ++i)
            most.append(QStringLiteral("w%1*s%1*").arg(i));
        QTest::newRow("2000 pairs") << most << "1:w2000*1:s2000";
        QTest::newRow("2001 pairs") << most + QStringList{"w2001*s2001*"} << "4 NaplnSlova";
    }
    void loadLines() {
        QFETCH(QStringList, lines);
        const QString trap = trapOf([&] { load(session, lines); });
        const WordLists& w = session.words();
        const int pair = w.pairCount();
        const QString last = QString::number(w.foreignCount(pair)) + u':' + w.alternatives(pair, true).join(u'+') +
                             u'*' + QString::number(w.czechCount(pair)) + u':' + w.alternatives(pair, false).join(u'+');
        QTEST(trap.isEmpty() ? last : trap, "lastPair");
    }

    // A smaller load after a larger one: nothing of the earlier pairs stands in, counts or is drawn.
    void smallerLoadAfterLarger() {
        load(session, {"A+B+C*a+b*", "D*d*", "E*e*"});
        session.begin({});
        load(session, {"*kočka*", "Y+Z*y*"});
        const WordLists& w = session.words();
        QCOMPARE(w.foreignCount(1), 1);
        QCOMPARE(w.foreignAlternative(1, 1) + u'|' + w.czechAlternative(1, 1), QStringLiteral("|kočka"));
        QCOMPARE(w.czechCount(3) + w.czechCount(WordLists::kMaxPairs) + w.remaining(WordLists::kMaxPairs), 1 + 0 + 0);
        session.settings().repeats = 1;
        session.begin({});
        QCOMPARE(session.asked(), 2);
        session.words().setRemaining(1, 0);
        session.words().setRemaining(2, 0);
        QCOMPARE(trapOf([&] { session.drawQuestion(random); }), QStringLiteral("3 Generuj"));
    }

    void drawPairs() {
        load(session, {"a*a*", "b*b*", "c*c*", "d*d*", "e*e*"});
        session.settings().repeats = 1;
        session.begin({});
        // The whole part of pairCount * r + 1; the mode "foreign" draws no direction.
        random.values = {0.0, 0.1999, 0.2, 0.7999, std::nextafter(1.0, 0.0)};
        QList<int> pairs;
        for (int i = 0; i < 5; ++i) {
            session.drawQuestion(random);
            pairs.append(session.pair());
        }
        QCOMPARE(pairs, (QList<int>{1, 1, 2, 4, 5}));
        // A pair with count 0 is drawn again.
        session.words().setRemaining(1, 0);
        session.words().setRemaining(3, 0);
        random.values = {0.0, 0.5, 0.3};
        random.draws = 0;
        session.drawQuestion(random);
        QCOMPARE(session.pair(), 2);
        QCOMPARE(random.draws, 3);
    }

    void directions_data() {
        QTest::addColumn<AnswerMode>("mode");
        QTest::addColumn<double>("draw");   // the direction's draw after the pair's (none for one side)
        QTest::addColumn<QString>("asked"); // shown|expected|sought
        const QString czechShown = "pes+čokl|der Hund+der Köter|der Hund";
        const QString foreignShown = "der Hund+der Köter|pes+čokl|pes";
        QTest::newRow("foreign answers") << AnswerMode::Foreign << 0.9 << czechShown;
        QTest::newRow("Czech answers") << AnswerMode::Czech << 0.0 << foreignShown;
        QTest::newRow("both, low draw") << AnswerMode::Both << 0.4999 << czechShown;
        QTest::newRow("both, high draw") << AnswerMode::Both << 0.5 << foreignShown;
    }
    void directions() {
        QFETCH(AnswerMode, mode);
        QFETCH(double, draw);
        // Pair 2, so that a pair number mixed up with another shows.
        load(session, {"x*y*", QStringLiteral("der Hund+der Köter*pes+čokl*")});
        session.settings().answerMode = mode;
        session.begin({});
        random.values = {0.5, draw};
        session.drawQuestion(random);
        QCOMPARE(session.pair(), 2);
        QCOMPARE(random.draws, mode == AnswerMode::Both ? 2 : 1);
        const QStringList asked{session.shownAlternatives().join(u'+'), session.expectedAlternatives().join(u'+'),
                                session.soughtWord(2)};
        QTEST(asked.join(u'|'), "asked");
    }

    // "der Vater" asked (answers otec, táta); repeats 3, penalty 2, at most 6.
    void verdicts_data() {
        QTest::addColumn<Level>("level");
        QTest::addColumn<bool>("half");
        QTest::addColumn<int>("hint"); // -1 none
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Way>("way");
        const auto row = [](const char* name, Level level, bool half, int hint, const char* typed, Way way) {
            QTest::newRow(name) << level << half << hint << QString::fromUtf8(typed) << way;
        };
        row("any case, second alternative", Level::Medium, false, -1, "TÁTA", Way::FirstTry);
        row("wrong", Level::Medium, false, -1, "bratr", Way::Wrong);
        row("start only", Level::Medium, false, -1, "ot", Way::Wrong);
        row("half answer", Level::Medium, true, -1, "TÁ", Way::HalfAnswer);
        row("half, whole word", Level::Medium, true, -1, "otec", Way::FirstTry);
        row("half, trailing blank", Level::Medium, true, -1, "otec ", Way::Wrong);
        row("empty, half", Level::Medium, true, -1, "", Way::HalfAnswer);
        row("quick answer on easy", Level::Easy, false, -1, "", Way::QuickAnswer);
        row("custom level judges", Level::Custom, false, -1, "", Way::Wrong);
        row("after a hint", Level::Easy, false, int(HintKind::WordLength), "otec", Way::AfterHint);
        row("wrong after a hint", Level::Easy, false, int(HintKind::FiveOptions), "x", Way::Wrong);
        row("ß is not SS", Level::Medium, false, -1, "otecß", Way::Wrong);
    }
    void verdicts() {
        QFETCH(Level, level);
        QFETCH(bool, half);
        QFETCH(int, hint);
        QFETCH(QString, typed);
        QFETCH(Way, way);
        load(session, {"der Vater*otec+táta*", "x*y*"});
        session.settings() = TestSettings{.level = level, .answerMode = AnswerMode::Czech, .halfAnswer = half};
        session.begin(QStringLiteral("Němčina - Rodina"));
        session.drawQuestion(random);
        if (hint >= 0)
            session.noteHint(HintKind(hint));
        const Verdict verdict = session.answer(typed);
        QCOMPARE(verdict.way, way);
        QCOMPARE(verdict.hint.has_value(), hint >= 0);
        const bool right = way != Way::Wrong;
        // A wrong answer costs the penalty (2, up to 6); a right one takes 1 off.
        QCOMPARE(QList<qint64>({session.asked(), session.right(), session.wrong(), session.remaining()}),
                 (QList<qint64>{6, right ? 1 : 0, right ? 0 : 1, right ? 5 : 8}));
        QCOMPARE(session.words().remaining(1), right ? 2 : 5);
        QCOMPARE(session.outcome().wrongPairs, right ? QList<int>() : QList<int>{1});
        // The next question starts without a hint.
        session.drawQuestion(random);
        QVERIFY(!session.answer(QStringLiteral("otec")).hint);
    }

    void penalties_data() {
        QTest::addColumn<int>("repeats");
        QTest::addColumn<int>("penalty");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<QList<int>>("counts"); // pair 1's count after each wrong answer
        QTest::newRow("cut to the maximum") << 3 << 2 << 4 << QList<int>{4, 4};
        QTest::newRow("the whole penalty") << 3 << 3 << 9 << QList<int>{6, 9, 9};
        QTest::newRow("above a maximum lowered since") << 7 << 2 << 4 << QList<int>{7};
    }
    void penalties() {
        QFETCH(int, repeats);
        QFETCH(int, penalty);
        QFETCH(int, maximum);
        load(session, {"a*b*"});
        session.settings() = TestSettings{.repeats = repeats, .penalty = penalty, .maxRepeats = maximum};
        session.begin({});
        QFETCH(QList<int>, counts);
        QList<int> seen;
        for (int i = 0; i < counts.size(); ++i) {
            session.drawQuestion(random);
            session.answer(QStringLiteral("wrong"));
            seen.append(session.words().remaining(1));
        }
        QCOMPARE(seen, counts);
        QCOMPARE(session.outcome().wrongPairs, QList<int>{1}); // once, however often
    }

    // Two pairs, 3 repeats, penalty 1, at most 5; wrong answers to pair 1, then pair 2 twice, then
    // right answers to pair 1 (the Czech side shown) and to pair 2 (the foreign side shown).
    void wholeTestAndWorstPair() {
        load(session, {"der Hund*pes*", QStringLiteral("die Straße*ulice+silnice*")});
        session.settings() = TestSettings{.answerMode = AnswerMode::Both, .repeats = 3, .penalty = 1, .maxRepeats = 5};
        session.begin(QStringLiteral("Kniha - Lekce"));
        random.values = {0.0, 0.0, 0.9, 0.9, 0.9, 0.9};
        random.values.insert(random.values.end(), 8, 0.0);
        random.values.insert(random.values.end(), 10, 0.9);
        QList<int> worst;
        for (int i = 0; i < 3; ++i) {
            session.drawQuestion(random);
            session.answer(QStringLiteral("x"));
            worst.append(session.worstPair().pair);
        }
        QCOMPARE(worst, (QList<int>{1, 1, 2})); // pair 2 replaces pair 1 only with a higher count
        while (!session.finished() && session.right() < 100) {
            session.drawQuestion(random);
            session.answer(session.soughtWord(session.pair()).toLower());
        }
        const TestOutcome outcome = session.outcome();
        QCOMPARE(QList<qint64>({outcome.asked, outcome.right, outcome.wrong, outcome.worstPair.count}),
                 (QList<qint64>{6, 9, 3, 5}));
        QCOMPARE(outcome.caption + u'|' + QString::number(outcome.worstPair.pair), QStringLiteral("Kniha - Lekce|2"));
        QCOMPARE(outcome.wrongPairs, (QList<int>{1, 2}));
    }

    void successRates_data() {
        QTest::addColumn<qint64>("right");
        QTest::addColumn<qint64>("wrong");
        QTest::addColumn<int>("rate");
        QTest::newRow("two of three") << 2LL << 1LL << 66;
        QTest::newRow("no float rounding") << 29LL << 71LL << 29; // not 28 from 0.29 * 100 = 28.999...
        QTest::newRow("none answered") << 0LL << 0LL << 0;
        QTest::newRow("counts past the int limit") << 3000000000LL << 3000000000LL << 50;
    }
    void successRates() {
        QFETCH(qint64, right);
        QFETCH(qint64, wrong);
        QTEST(successRate(right, wrong), "rate");
    }

    void canonicalNumbers() {
        const auto canonical = [](const QString& text) {
            QString result = QStringLiteral("-");
            return canonicalNumber(text, &result) ? result : QStringLiteral("fails");
        };
        QCOMPARE(QStringList({canonical("007"), canonical("2.5"), canonical("abc"), canonical("3abc"), canonical("")}),
                 QStringList({"7", "2", "fails", "fails", "fails"}));
    }

    // Written under the name the folder already has, in the file's own format, and read back as written.
    void tryCfg() {
        QTemporaryDir tmp;
        QVERIFY(writeBytes(tmp.filePath("TRY.CFG"), " 3\r\n"));
        const TestSettings written{
            .level = Level::Hard, .answerMode = AnswerMode::Czech, .repeats = 4, .halfAnswer = true};
        QVERIFY(SavedTestSettings::write(DataDir(tmp.path()), written).ok());
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"TRY.CFG"});
        QCOMPARE(readBytes(tmp.filePath("TRY.CFG")), " 2\r\n 1\r\n 4\r\n 2\r\n 6\r\n 1\r\n");
        QCOMPARE(readTryCfgOf(readBytes(tmp.filePath("TRY.CFG"))), QStringLiteral("2 1 [ 4] [ 2] [ 6] 1"));
        QCOMPARE(readTryCfgOf(QByteArray()), QStringLiteral("- - - - - -"));
        QCOMPARE(readTryCfgOf("3\r\n2\r\n"), QStringLiteral("3 2 - - - -"));
        // A level or mode out of range leaves it unset.
        QCOMPARE(readTryCfgOf("7\r\n5\r\n3\r\n2\r\n6\r\n0\r\n"), QStringLiteral("- - [3] [2] [6] 0"));
    }
};

QTEST_GUILESS_MAIN(TestSessionCore)
#include "tst_engine.moc"
