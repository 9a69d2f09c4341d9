#include "Files.h"
#include "FixedSources.h"
#include "store/DataDir.h"
#include "store/TextRoutines.h"
#include "testing/RandomSource.h"
#include "testing/RoutineError.h"
#include "testing/TestEngine.h"
#include "testing/TestSettings.h"
#include "testing/WordLists.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

using namespace TestEngine;

namespace {

// The trap an action raised, or -1 and no routine when it raised none.
struct Trap {
    int number = -1;
    QString routine;
};

template <typename Action> Trap trapOf(Action&& action) {
    try {
        action();
    } catch (const RoutineError& error) {
        return {error.trapNumber(), error.routine()};
    }
    return {};
}

// "p1+p2+...+pn": a side of n alternatives.
QString side(const QString& prefix, int n) {
    QStringList parts;
    for (int i = 1; i <= n; ++i)
        parts.append(prefix + QString::number(i));
    return parts.join(u'+');
}

// The word lists are large; tests keep them on the heap.
std::unique_ptr<WordLists> loaded(const QStringList& lines) {
    auto words = std::make_unique<WordLists>();
    words->clear();
    for (const QString& line : lines)
        words->addPairLine(line);
    return words;
}

// n plain pairs "w1*s1*" ... with the given counts.
std::unique_ptr<WordLists> withCounts(const QList<double>& counts) {
    auto words = std::make_unique<WordLists>();
    for (int i = 1; i <= counts.size(); ++i)
        words->addPairLine(QStringLiteral("w%1*s%1*").arg(i));
    for (int i = 1; i <= counts.size(); ++i)
        words->Remaining(i) = counts.at(i - 1);
    return words;
}

// What was read from "Try.cfg", "-" for an unset value, text lines in brackets.
QString describe(const SavedTestSettings& saved) {
    auto number = [](const std::optional<int>& v) { return v ? QString::number(*v) : QStringLiteral("-"); };
    auto text = [](const std::optional<QString>& v) { return v ? u'[' + *v + u']' : QStringLiteral("-"); };
    const QString half = saved.halfAnswer ? QString::number(*saved.halfAnswer ? 1 : 0) : QStringLiteral("-");
    return QStringLiteral("level=%1 mode=%2 repeats=%3 penalty=%4 max=%5 half=%6")
        .arg(number(saved.level), number(saved.answerMode), text(saved.repeats), text(saved.penalty),
             text(saved.maxRepeats), half);
}

struct Outcome {
    int asked = 0;
    int right = 0;
    int wrong = 0;
    bool totalKept = true; // the running total equalled the sum of the counts after every answer
};

// A whole test as the test page runs it: draw, answer (wrongly at the given answer numbers, else
// with the sought word), apply the count rule, until the remaining total is 0.
Outcome runTest(WordLists& words, const TestSettings& settings, const QList<int>& wrongAt, RandomSource& random) {
    Outcome outcome;
    words.setAllRemaining(settings.Repeats);
    double total = settings.Repeats * words.PairCount;
    while (total != 0 && outcome.asked < 1000) {
        const int pair = drawPair(words, random);
        const int direction = drawDirection(settings.AnswerMode, random);
        ++outcome.asked;
        const QString answer =
            wrongAt.contains(outcome.asked) ? QStringLiteral("?") : soughtWord(words, pair, direction).toLower();
        if (isRight(answer, expectedAlternatives(words, pair, direction), settings.HalfAnswer == 1)) {
            ++outcome.right;
            words.Remaining(pair) -= 1;
            total -= 1;
        } else {
            ++outcome.wrong;
            const double rise = penaltyRise(words.Remaining(pair), settings.Penalty, settings.MaxRepeats);
            words.Remaining(pair) += rise;
            total += rise;
        }
        outcome.totalKept = outcome.totalKept && total == words.remainingTotal();
    }
    return outcome;
}

} // namespace

class TestEngineCore : public QObject {
    Q_OBJECT

private slots:
    // Word lists
    void loadSides_data();
    void loadSides();
    void alternativeLimit_data();
    void alternativeLimit();
    void pairLimit();
    void emptyForeignSideIsOneEmptyAlternative();
    void smallerLoadAfterLarger();

    // Drawing
    void drawPair_data();
    void drawPair();
    void drawPairWithNoneLeft_data();
    void drawPairWithNoneLeft();
    void drawDirection_data();
    void drawDirection();
    void randomDrawsCoverEveryChoice();
    void questionAndAnswerSides_data();
    void questionAndAnswerSides();

    // Judging and counting
    void isRight_data();
    void isRight();
    void penaltyRise_data();
    void penaltyRise();
    void wholeTest_data();
    void wholeTest();

    // Results
    void successRate_data();
    void successRate();
    void resultRecord_data();
    void resultRecord();
    void resultRecordIgnoresLocale_data();
    void resultRecordIgnoresLocale();

    // Number boxes
    void canonicalNumber_data();
    void canonicalNumber();

    // Try.cfg
    void writeTryCfg_data();
    void writeTryCfg();
    void writeTryCfgFailure();
    void readTryCfg_data();
    void readTryCfg();
};

// ---------------------------------------------------------------- word lists

void TestEngineCore::loadSides_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("foreign");
    QTest::addColumn<QStringList>("czech");

    QTest::newRow("A+B*C*") << QStringLiteral("A+B*C*") << QStringList{"A", "B"} << QStringList{"C"};
    QTest::newRow("Czech A+") << QStringLiteral("X*A+*") << QStringList{"X"} << QStringList{"A"};
    QTest::newRow("Czech +A") << QStringLiteral("X*+A*") << QStringList{"X"} << QStringList{"", "A"};
    QTest::newRow("Czech A++B") << QStringLiteral("X*A++B*") << QStringList{"X"} << QStringList{"A", "", "B"};
    QTest::newRow("Czech ++") << QStringLiteral("X*++*") << QStringList{"X"} << QStringList{"", ""};
    QTest::newRow("Czech +") << QStringLiteral("X*+*") << QStringList{"X"} << QStringList{""};
    QTest::newRow("empty Czech side") << QStringLiteral("X**") << QStringList{"X"} << QStringList{""};
    QTest::newRow("foreign A+") << QStringLiteral("A+*c*") << QStringList{"A"} << QStringList{"c"};
    QTest::newRow("foreign +A") << QStringLiteral("+A*c*") << QStringList{"", "A"} << QStringList{"c"};
    QTest::newRow("empty foreign side") << QStringLiteral("*c*") << QStringList{""} << QStringList{"c"};
    QTest::newRow("taken as they stand") << QStringLiteral(" der Hund + Köter*Pes *")
                                         << QStringList{" der Hund ", " Köter"} << QStringList{"Pes "};
    QTest::newRow("no closing star") << QStringLiteral("A+B*žluťoučký kůň") << QStringList{"A", "B"}
                                     << QStringList{QStringLiteral("žluťoučký kůň")};
    QTest::newRow("no star at all") << QStringLiteral("A") << QStringList{"A"} << QStringList{""};
}

void TestEngineCore::loadSides() {
    QFETCH(QString, line);
    QFETCH(QStringList, foreign);
    QFETCH(QStringList, czech);

    const auto words = loaded({line});
    QCOMPARE(words->PairCount, 1);
    QCOMPARE(words->CizCount(1), foreign.size());
    QCOMPARE(words->CzCount(1), czech.size());
    QCOMPARE(words->alternatives(1, true), foreign);
    QCOMPARE(words->alternatives(1, false), czech);
    QCOMPARE(words->CizAlt(1, 1), foreign.first());
    QCOMPARE(words->CzAlt(1, czech.size()), czech.last());
}

void TestEngineCore::alternativeLimit_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("trap"); // -1: loads
    QTest::addColumn<QString>("routine");
    QTest::addColumn<int>("foreignCount");
    QTest::addColumn<int>("czechCount");

    const QString czNone;
    QTest::newRow("ten Czech") << "x*" + side("c", 10) + "*" << -1 << czNone << 1 << 10;
    QTest::newRow("ten Czech, trailing +") << "x*" + side("c", 10) + "+*" << -1 << czNone << 1 << 10;
    QTest::newRow("ten empty Czech") << "x*" + QString(10, u'+') + "*" << -1 << czNone << 1 << 10;
    QTest::newRow("eleven Czech") << "x*" + side("c", 11) + "*" << 5 << "DoPlechovkyCz" << 0 << 0;
    QTest::newRow("eleven Czech, trailing +") << "x*" + side("c", 11) + "+*" << 5 << "DoPlechovkyCz" << 0 << 0;
    QTest::newRow("eleven empty Czech") << "x*" + QString(11, u'+') + "*" << 5 << "DoPlechovkyCz" << 0 << 0;
    QTest::newRow("ten foreign") << side("f", 10) + "*c*" << -1 << czNone << 10 << 1;
    QTest::newRow("ten foreign, trailing +") << side("f", 10) + "+*c*" << -1 << czNone << 10 << 1;
    QTest::newRow("eleven foreign") << side("f", 11) + "*c*" << 6 << "DoPlechovkyCiz" << 0 << 0;
    QTest::newRow("eleven foreign, trailing +") << side("f", 11) + "+*c*" << 6 << "DoPlechovkyCiz" << 0 << 0;
    // The Czech side is split first.
    QTest::newRow("eleven on both sides")
        << side("f", 11) + "*" + side("c", 11) + "*" << 5 << "DoPlechovkyCz" << 0 << 0;
}

void TestEngineCore::alternativeLimit() {
    QFETCH(QString, line);
    QFETCH(int, trap);
    QFETCH(QString, routine);
    QFETCH(int, foreignCount);
    QFETCH(int, czechCount);

    WordLists words;
    const Trap raised = trapOf([&] { words.addPairLine(line); });
    QCOMPARE(raised.number, trap);
    QCOMPARE(raised.routine, routine);
    if (trap != -1)
        return;
    QCOMPARE(words.CizCount(1), foreignCount);
    QCOMPARE(words.CzCount(1), czechCount);
    if (czechCount == 10 && !line.contains(QLatin1String("++")))
        QCOMPARE(words.CzAlt(1, 10), QStringLiteral("c10"));
    if (foreignCount == 10)
        QCOMPARE(words.CizAlt(1, 10), QStringLiteral("f10"));
}

void TestEngineCore::pairLimit() {
    WordLists words;
    for (int i = 1; i <= WordLists::kMaxPairs; ++i)
        words.addPairLine(QStringLiteral("w%1*s%1*").arg(i));
    QCOMPARE(words.PairCount, 2000);
    QCOMPARE(words.CizAlt(2000, 1), QStringLiteral("w2000"));
    QCOMPARE(words.CzAlt(2000, 1), QStringLiteral("s2000"));

    const Trap raised = trapOf([&] { words.addPairLine(QStringLiteral("w2001*s2001*")); });
    QCOMPARE(raised.number, 4);
    QCOMPARE(raised.routine, QStringLiteral("NaplnSlova"));
}

void TestEngineCore::emptyForeignSideIsOneEmptyAlternative() {
    const auto words = loaded({QStringLiteral("der Hund+der Köter*pes*")});
    words->clear();
    words->addPairLine(QStringLiteral("*kočka*"));

    QCOMPARE(words->PairCount, 1);
    QCOMPARE(words->CizCount(1), 1);
    // Nothing of the earlier test's pair may stand in for it.
    QCOMPARE(words->CizAlt(1, 1), QString());
    QCOMPARE(words->CzCount(1), 1);
    QCOMPARE(words->CzAlt(1, 1), QStringLiteral("kočka"));
}

void TestEngineCore::smallerLoadAfterLarger() {
    const auto words = loaded({QStringLiteral("A+B+C*a+b*"), QStringLiteral("D*d*"), QStringLiteral("E*e*")});
    words->setAllRemaining(5);
    QCOMPARE(words->remainingTotal(), 15.0);

    words->clear();
    words->addPairLine(QStringLiteral("X*x*"));
    words->addPairLine(QStringLiteral("Y+Z*y*"));

    QCOMPARE(words->PairCount, 2);
    QCOMPARE(words->alternatives(1, true), QStringList{"X"});
    QCOMPARE(words->alternatives(1, false), QStringList{"x"});
    QCOMPARE(words->alternatives(2, true), (QStringList{"Y", "Z"}));
    QCOMPARE(words->alternatives(2, false), QStringList{"y"});
    // Pair 3 still holds 5 from the earlier test; it is no longer part of this one.
    words->setAllRemaining(3);
    QCOMPARE(words->remainingTotal(), 6.0);
    words->Remaining(2) = 1;
    QCOMPARE(words->remainingTotal(), 4.0);
}

// ---------------------------------------------------------------- drawing

void TestEngineCore::drawPair_data() {
    QTest::addColumn<QList<double>>("counts");
    QTest::addColumn<QList<double>>("script");
    QTest::addColumn<QList<int>>("pairs");
    QTest::addColumn<int>("draws");

    const QList<double> five(5, 1.0);
    const double belowOne = std::nextafter(1.0, 0.0);
    QTest::newRow("whole part of count * r + 1")
        << five << QList<double>{0.0, 0.1999, 0.2, 0.5, 0.7999, belowOne} << QList<int>{1, 1, 2, 3, 4, 5} << 6;
    QTest::newRow("2000 pairs, r just below 1")
        << QList<double>(2000, 3.0) << QList<double>{belowOne, 0.0} << QList<int>{2000, 1} << 2;
    QTest::newRow("count 0 is drawn again")
        << QList<double>{0, 3, 0, 3} << QList<double>{0.0, 0.5, 0.3, 0.8} << QList<int>{2, 4} << 4;
    QTest::newRow("same pair twice in a row")
        << QList<double>{3, 3} << QList<double>{0.1, 0.2} << QList<int>{1, 1} << 2;
    // A higher count does not make a pair likelier.
    QTest::newRow("counts do not weigh") << QList<double>{1, 6} << QList<double>{0.4, 0.6, 0.0} << QList<int>{1, 2, 1}
                                         << 3;
}

void TestEngineCore::drawPair() {
    QFETCH(QList<double>, counts);
    QFETCH(QList<double>, script);
    QFETCH(QList<int>, pairs);
    QFETCH(int, draws);

    const auto words = withCounts(counts);
    ScriptedRandom random;
    random.values.assign(script.cbegin(), script.cend());
    QList<int> drawn;
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const int pair = TestEngine::drawPair(*words, random);
        QVERIFY(words->Remaining(pair) != 0);
        drawn.append(pair);
    }
    QCOMPARE(drawn, pairs);
    QCOMPARE(random.draws, draws);
}

void TestEngineCore::drawPairWithNoneLeft_data() {
    QTest::addColumn<int>("earlierPairs");
    QTest::addColumn<QList<double>>("counts");

    QTest::newRow("no pairs") << 0 << QList<double>{};
    QTest::newRow("every count used up") << 0 << QList<double>{0, 0, 0};
    // Pairs beyond PairCount keep the counts of an earlier, larger test.
    QTest::newRow("only stale pairs have counts") << 5 << QList<double>{0, 0};
}

void TestEngineCore::drawPairWithNoneLeft() {
    QFETCH(int, earlierPairs);
    QFETCH(QList<double>, counts);

    const auto words = withCounts(QList<double>(earlierPairs, 3.0));
    words->clear();
    for (int i = 1; i <= counts.size(); ++i) {
        words->addPairLine(QStringLiteral("n%1*m%1*").arg(i));
        words->Remaining(i) = counts.at(i - 1);
    }
    ScriptedRandom random;
    random.values = {0.0, 0.5, 0.99};
    const Trap raised = trapOf([&] { TestEngine::drawPair(*words, random); });
    QCOMPARE(raised.number, 3);
    QCOMPARE(raised.routine, QStringLiteral("Generuj"));
}

void TestEngineCore::drawDirection_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("r");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("draws"); // only mode 2 takes a number

    QTest::newRow("foreign answers") << 0 << 0.9 << kCzechShown << 0;
    QTest::newRow("Czech answers") << 1 << 0.1 << kForeignShown << 0;
    QTest::newRow("both, r 0") << 2 << 0.0 << kCzechShown << 1;
    QTest::newRow("both, r 0.4999") << 2 << 0.4999 << kCzechShown << 1;
    QTest::newRow("both, r 0.5") << 2 << 0.5 << kForeignShown << 1;
    QTest::newRow("both, r 0.99") << 2 << 0.99 << kForeignShown << 1;
}

void TestEngineCore::drawDirection() {
    QFETCH(int, mode);
    QFETCH(double, r);
    QFETCH(int, direction);
    QFETCH(int, draws);

    ScriptedRandom random;
    random.values = {r};
    QCOMPARE(TestEngine::drawDirection(mode, random), direction);
    QCOMPARE(random.draws, draws);
}

void TestEngineCore::randomDrawsCoverEveryChoice() {
    MersenneRandom random;
    random.seed(20260314);

    int czechShown = 0;
    for (int i = 0; i < 200; ++i)
        czechShown += TestEngine::drawDirection(2, random) == kCzechShown ? 1 : 0;
    QVERIFY2(czechShown >= 60 && czechShown <= 140, qPrintable(QString::number(czechShown)));

    const auto words = withCounts({3, 0, 3, 1});
    QList<int> seen(5, 0);
    for (int i = 0; i < 400; ++i)
        ++seen[TestEngine::drawPair(*words, random)];
    QCOMPARE(seen[2], 0);
    for (int pair : {1, 3, 4})
        QVERIFY2(seen[pair] >= 90, qPrintable(QStringLiteral("pair %1 drawn %2 times").arg(pair).arg(seen[pair])));
}

void TestEngineCore::questionAndAnswerSides_data() {
    QTest::addColumn<int>("direction");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("questionLabel");
    QTest::addColumn<QString>("answerLabel");
    QTest::addColumn<QString>("sought");

    const QStringList foreign{QStringLiteral("der Hund"), QStringLiteral("der Köter")};
    const QStringList czech{QStringLiteral("pes"), QStringLiteral("čokl")};
    const QString czechLabel = QStringLiteral("Výraz v českém jazyce:");
    const QString foreignLabel = QStringLiteral("Výraz v cizím jazyce:");
    QTest::newRow("Czech shown") << kCzechShown << czech << foreign << czechLabel << foreignLabel << foreign.first();
    QTest::newRow("foreign shown") << kForeignShown << foreign << czech << foreignLabel << czechLabel << czech.first();
}

void TestEngineCore::questionAndAnswerSides() {
    QFETCH(int, direction);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, expected);
    QFETCH(QString, questionLabel);
    QFETCH(QString, answerLabel);
    QFETCH(QString, sought);

    // Pair 2, so that a pair number mixed up with another shows.
    const auto words = loaded({QStringLiteral("x*y*"), QStringLiteral("der Hund+der Köter*pes+čokl*")});
    QCOMPARE(shownAlternatives(*words, 2, direction), shown);
    QCOMPARE(expectedAlternatives(*words, 2, direction), expected);
    QCOMPARE(questionLanguage(direction), questionLabel);
    QCOMPARE(answerLanguage(direction), answerLabel);
    QCOMPARE(soughtWord(*words, 2, direction), sought);
}

// ---------------------------------------------------------------- judging and counting

void TestEngineCore::isRight_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("alternatives");
    QTest::addColumn<bool>("halfAnswer");
    QTest::addColumn<bool>("right");

    const QStringList pes{QStringLiteral("pes")};
    const QStringList two{QStringLiteral("pes"), QStringLiteral("kočka")};
    const QStringList strasse{QStringLiteral("Straße")};

    QTest::newRow("same text") << "pes" << pes << false << true;
    QTest::newRow("upper case") << "PES" << pes << false << true;
    QTest::newRow("mixed case") << "pEs" << QStringList{"Pes"} << false << true;
    QTest::newRow("Czech letters") << QStringLiteral("ŽLUŤOUČKÝ") << QStringList{QStringLiteral("žluťoučký")} << false
                                   << true;
    QTest::newRow("every Czech letter") << QStringLiteral("ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ")
                                        << QStringList{QStringLiteral("áčďéěíňóřšťúůýž")} << false << true;
    QTest::newRow("umlauts") << QStringLiteral("GRÜßE ÄÖ") << QStringList{QStringLiteral("Grüße äö")} << false << true;
    QTest::newRow("accent counts") << "kocka" << QStringList{QStringLiteral("kočka")} << false << false;
    QTest::newRow("second alternative") << QStringLiteral("KOČKA") << two << false << true;
    QTest::newRow("first alternative") << "Pes" << two << false << true;
    QTest::newRow("no alternative") << QStringLiteral("myš") << two << false << false;
    QTest::newRow("the joined list is no alternative") << QStringLiteral("pes, kočka") << two << true << false;
    QTest::newRow("no alternatives at all") << "pes" << QStringList{} << true << false;

    QTest::newRow("trailing blank") << "pes " << pes << false << false;
    QTest::newRow("trailing blank, half answer") << "pes " << pes << true << false;
    QTest::newRow("leading blank") << " pes" << pes << false << false;
    QTest::newRow("blank inside") << "der hund" << QStringList{"der Hund"} << false << true;
    QTest::newRow("blank left out") << "derhund" << QStringList{"der Hund"} << true << false;

    QTest::newRow("prefix, half answer") << "PE" << pes << true << true;
    QTest::newRow("infix, half answer") << "e" << pes << true << true;
    QTest::newRow("suffix, half answer") << "Es" << pes << true << true;
    QTest::newRow("prefix without half answer") << "pe" << pes << false << false;
    QTest::newRow("longer text, half answer") << "pess" << pes << true << false;
    QTest::newRow("half of a later alternative") << QStringLiteral("OČK") << two << true << true;

    QTest::newRow("empty answer") << "" << pes << false << false;
    QTest::newRow("empty answer, half answer") << "" << pes << true << true;
    QTest::newRow("null answer, half answer") << QString() << pes << true << true;
    QTest::newRow("empty answer, empty alternative") << "" << QStringList{""} << false << true;

    // ß has no single upper-case letter: it stays ß and never equals SS.
    QTest::newRow("SS is not ß") << "STRASSE" << strasse << false << false;
    QTest::newRow("ss is not ß") << "strasse" << strasse << false << false;
    QTest::newRow("SS is not ß, half answer") << "STRASS" << strasse << true << false;
    QTest::newRow("ß against ß") << QStringLiteral("STRAßE") << QStringList{QStringLiteral("straße")} << false << true;
    QTest::newRow("ß within, half answer") << QStringLiteral("aßE") << strasse << true << true;
}

void TestEngineCore::isRight() {
    QFETCH(QString, answer);
    QFETCH(QStringList, alternatives);
    QFETCH(bool, halfAnswer);
    QFETCH(bool, right);
    QCOMPARE(TestEngine::isRight(answer, alternatives, halfAnswer), right);
}

void TestEngineCore::penaltyRise_data() {
    QTest::addColumn<double>("remaining");
    QTest::addColumn<double>("penalty");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("rise");

    QTest::newRow("2 of 4, at 3") << 3.0 << 2.0 << 4.0 << 1.0;
    QTest::newRow("2 of 4, at 4") << 4.0 << 2.0 << 4.0 << 0.0;
    QTest::newRow("2 of 4, at 2: reaches it exactly") << 2.0 << 2.0 << 4.0 << 2.0;
    QTest::newRow("3 of 6, at 5") << 5.0 << 3.0 << 6.0 << 1.0;
    QTest::newRow("3 of 6, at 4") << 4.0 << 3.0 << 6.0 << 2.0;
    QTest::newRow("2 of 6, at 3") << 3.0 << 2.0 << 6.0 << 2.0;
    QTest::newRow("2 of 6, at 5") << 5.0 << 2.0 << 6.0 << 1.0;
    QTest::newRow("2 of 6, at 6") << 6.0 << 2.0 << 6.0 << 0.0;
    QTest::newRow("above the maximum") << 7.0 << 2.0 << 6.0 << 0.0;
    QTest::newRow("1 of 4, at 1") << 1.0 << 1.0 << 4.0 << 1.0;
}

void TestEngineCore::penaltyRise() {
    QFETCH(double, remaining);
    QFETCH(double, penalty);
    QFETCH(double, maximum);
    QFETCH(double, rise);
    QCOMPARE(TestEngine::penaltyRise(remaining, penalty, maximum), rise);
}

void TestEngineCore::wholeTest_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("repeats");
    QTest::addColumn<double>("penalty");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<QList<int>>("wrongAt");
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<int>("rate");

    const QStringList one{QStringLiteral("der Hund+der Köter*pes*")};
    const QStringList two{QStringLiteral("der Hund*pes*"), QStringLiteral("die Straße*ulice+silnice*")};
    QTest::newRow("one pair, all right") << one << 0 << 3.0 << 2.0 << 6.0 << QList<int>{} << 3 << 3 << 0 << 100;
    QTest::newRow("one pair, all right, Czech answers")
        << one << 1 << 3.0 << 2.0 << 6.0 << QList<int>{} << 3 << 3 << 0 << 100;
    QTest::newRow("two pairs, one wrong") << two << 2 << 3.0 << 1.0 << 4.0 << QList<int>{1} << 8 << 7 << 1 << 87;
    QTest::newRow("wrong last answer") << two << 2 << 3.0 << 1.0 << 4.0 << QList<int>{6} << 8 << 7 << 1 << 87;
    QTest::newRow("rise capped at the maximum") << one << 2 << 3.0 << 2.0 << 4.0 << QList<int>{1} << 5 << 4 << 1 << 80;
    // 3, then 5, then 6, and 6 again: six right answers end it.
    QTest::newRow("missed at the maximum") << one << 2 << 3.0 << 2.0 << 6.0 << QList<int>{1, 2, 3} << 9 << 6 << 3 << 66;
}

void TestEngineCore::wholeTest() {
    QFETCH(QStringList, lines);
    QFETCH(int, mode);
    QFETCH(double, repeats);
    QFETCH(double, penalty);
    QFETCH(double, maximum);
    QFETCH(QList<int>, wrongAt);
    QFETCH(int, asked);
    QFETCH(int, right);
    QFETCH(int, wrong);
    QFETCH(int, rate);

    TestSettings settings;
    settings.AnswerMode = mode;
    settings.Repeats = repeats;
    settings.Penalty = penalty;
    settings.MaxRepeats = maximum;
    const auto words = loaded(lines);
    MersenneRandom random;
    random.seed(7);

    const Outcome outcome = runTest(*words, settings, wrongAt, random);
    QCOMPARE(outcome.asked, asked);
    QCOMPARE(outcome.right, right);
    QCOMPARE(outcome.wrong, wrong);
    QVERIFY(outcome.totalKept);
    QCOMPARE(TestEngine::successRate(outcome.right, outcome.wrong), rate);
    QCOMPARE(words->remainingTotal(), 0.0);
    QCOMPARE(trapOf([&] { TestEngine::drawPair(*words, random); }).number, 3);
}

// ---------------------------------------------------------------- results

void TestEngineCore::successRate_data() {
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<int>("rate");

    QTest::newRow("7 of 8") << 7 << 1 << 87;
    QTest::newRow("all right") << 3 << 0 << 100;
    QTest::newRow("all wrong") << 0 << 4 << 0;
    // Rounded down, and without the floating-point loss of 0.29 * 100 = 28.999...
    QTest::newRow("29 of 100") << 29 << 71 << 29;
    QTest::newRow("57 of 100") << 57 << 43 << 57;
    QTest::newRow("2 of 3") << 2 << 1 << 66;
    QTest::newRow("1 of 3") << 1 << 2 << 33;
    QTest::newRow("large counts") << 1999999 << 1 << 99;
}

void TestEngineCore::successRate() {
    QFETCH(int, right);
    QFETCH(int, wrong);
    QFETCH(int, rate);
    QCOMPARE(TestEngine::successRate(right, wrong), rate);
}

void TestEngineCore::resultRecord_data() {
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("wrong");
    QTest::addColumn<QString>("record");

    QTest::newRow("example") << FixedClock().now() << QStringLiteral("Učebnice - Lekce") << " 87%"
                             << "6"
                             << "7"
                             << "1"
                             << QStringLiteral("14.3.2026   9:05:07   Název:Učebnice - Lekce   Úspěšnost: 87%   "
                                               "Slovíček:6   Správně:7   Špatně:1");
    QTest::newRow("midnight") << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0)) << "A - B"
                              << " 100%"
                              << "3"
                              << "3"
                              << "0"
                              << QStringLiteral("1.1.2027   0:00:00   Název:A - B   Úspěšnost: 100%   Slovíček:3   "
                                                "Správně:3   Špatně:0");
    QTest::newRow("two-digit fields") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)) << ""
                                      << " 0%"
                                      << "12"
                                      << "0"
                                      << "24"
                                      << QStringLiteral(
                                             "31.12.2026   23:59:59   Název:   Úspěšnost: 0%   Slovíček:12   "
                                             "Správně:0   Špatně:24");
}

void TestEngineCore::resultRecord() {
    QFETCH(QDateTime, now);
    QFETCH(QString, caption);
    QFETCH(QString, rate);
    QFETCH(QString, total);
    QFETCH(QString, right);
    QFETCH(QString, wrong);
    QFETCH(QString, record);
    QCOMPARE(TestEngine::resultRecord(now, caption, rate, total, right, wrong), record);
}

void TestEngineCore::resultRecordIgnoresLocale_data() {
    QTest::addColumn<QString>("locale");

    QTest::newRow("Czech") << "cs_CZ";
    QTest::newRow("US English") << "en_US";
    QTest::newRow("German") << "de_DE";
    QTest::newRow("Arabic digits") << "ar_EG";
}

void TestEngineCore::resultRecordIgnoresLocale() {
    QFETCH(QString, locale);

    const QLocale before;
    const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
    QLocale::setDefault(QLocale(locale));
    const QString record = TestEngine::resultRecord(FixedClock().now(), QStringLiteral("U - L"), QStringLiteral(" 87%"),
                                                    QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("1"));
    QCOMPARE(record, QStringLiteral("14.3.2026   9:05:07   Název:U - L   Úspěšnost: 87%   Slovíček:6   Správně:7   "
                                    "Špatně:1"));
}

// ---------------------------------------------------------------- number boxes

void TestEngineCore::canonicalNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("canonical");

    QTest::newRow("leading zeros") << "007" << true << "7";
    QTest::newRow("blanks around") << " 12 " << true << "12";
    QTest::newRow("fraction cut") << "2.5" << true << "2";
    QTest::newRow("point at the end") << "3." << true << "3";
    QTest::newRow("plus sign") << "+7" << true << "7";
    QTest::newRow("zero") << "0" << true << "0";
    QTest::newRow("fraction only") << ".5" << true << "0";
    QTest::newRow("negative") << "-3" << true << "-3";
    QTest::newRow("negative fraction cut toward 0") << "-2.7" << true << "-2";
    QTest::newRow("negative below one") << "-0.5" << true << "0";
    // Still plain digits, so the box's numeric value stays the number typed.
    QTest::newRow("sixteen digits") << "1000000000000000" << true << "1000000000000000";

    QTest::newRow("letters") << "abc" << false << "";
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("blank") << " " << false << "";
    QTest::newRow("trailing letters") << "3abc" << false << "";
    QTest::newRow("blank between digits") << "1 2" << false << "";
    QTest::newRow("two points") << "1.2.3" << false << "";
    QTest::newRow("point alone") << "." << false << "";
    QTest::newRow("sign alone") << "-" << false << "";
    QTest::newRow("exponent") << "1e3" << false << "";
    QTest::newRow("decimal comma") << "3,5" << false << "";
}

void TestEngineCore::canonicalNumber() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QString, canonical);

    QString result = QStringLiteral("unchanged");
    QCOMPARE(TestEngine::canonicalNumber(text, &result), ok);
    if (!ok)
        return;
    QCOMPARE(result, canonical);
    QCOMPARE(numericValue(result), std::trunc(numericValue(text)) + 0.0);
}

// ---------------------------------------------------------------- Try.cfg

void TestEngineCore::writeTryCfg_data() {
    QTest::addColumn<QString>("existing");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("repeats");
    QTest::addColumn<double>("penalty");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<bool>("halfAnswer");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("fileName");

    const QByteArray example(" 2\r\n 1\r\n 3\r\n 2\r\n 6\r\n 1\r\n");
    QTest::newRow("new file") << "" << 2 << 1 << 3.0 << 2.0 << 6.0 << true << example << "try.cfg";
    QTest::newRow("existing Try.cfg") << "Try.cfg" << 2 << 1 << 3.0 << 2.0 << 6.0 << true << example << "Try.cfg";
    QTest::newRow("existing TRY.CFG") << "TRY.CFG" << 2 << 1 << 3.0 << 2.0 << 6.0 << true << example << "TRY.CFG";
    QTest::newRow("two-digit numbers, half answer off")
        << "" << 0 << 2 << 10.0 << 1.0 << 12.0 << false << QByteArray(" 0\r\n 2\r\n 10\r\n 1\r\n 12\r\n 0\r\n")
        << "try.cfg";
}

void TestEngineCore::writeTryCfg() {
    QFETCH(QString, existing);
    QFETCH(int, level);
    QFETCH(int, mode);
    QFETCH(double, repeats);
    QFETCH(double, penalty);
    QFETCH(double, maximum);
    QFETCH(bool, halfAnswer);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, fileName);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    if (!existing.isEmpty())
        QVERIFY(writeBytes(tmp.filePath(existing), "0\r\n0\r\n9\r\n9\r\n9\r\n0\r\n"));

    TestSettings settings;
    settings.Level = level;
    settings.AnswerMode = mode;
    settings.Repeats = repeats;
    settings.Penalty = penalty;
    settings.MaxRepeats = maximum;
    // The switch written is the check box's, handed in, not the one of the last test.
    settings.HalfAnswer = halfAnswer ? 0 : 1;
    const DataDir dir(tmp.path());
    const IoStatus status = SavedTestSettings::write(dir, settings, halfAnswer);
    QVERIFY2(status.ok(), qPrintable(status.message()));

    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{fileName});
    QCOMPARE(readBytes(tmp.filePath(fileName)), bytes);

    const SavedTestSettings saved = SavedTestSettings::read(dir);
    QCOMPARE(saved.level.value_or(-1), level);
    QCOMPARE(saved.answerMode.value_or(-1), mode);
    QCOMPARE(saved.halfAnswer.value_or(!halfAnswer), halfAnswer);
}

void TestEngineCore::writeTryCfgFailure() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const DataDir dir(tmp.filePath(QStringLiteral("missing")));
    const IoStatus status = SavedTestSettings::write(dir, TestSettings(), false);
    QVERIFY(!status.ok());
    QVERIFY2(status.path().endsWith(QLatin1String("try.cfg")), qPrintable(status.path()));
    QVERIFY(!status.reason().isEmpty());
}

void TestEngineCore::readTryCfg_data() {
    QTest::addColumn<QString>("fileName"); // empty: no file
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("saved");

    QTest::newRow("missing file") << "" << QByteArray() << "level=- mode=- repeats=- penalty=- max=- half=-";
    QTest::newRow("as written") << "try.cfg" << QByteArray(" 2\r\n 1\r\n 3\r\n 2\r\n 6\r\n 1\r\n")
                                << "level=2 mode=1 repeats=[ 3] penalty=[ 2] max=[ 6] half=1";
    QTest::newRow("upper-case name") << "TRY.CFG" << QByteArray("3\r\n2\r\n4\r\n1\r\n5\r\n0\r\n")
                                     << "level=3 mode=2 repeats=[4] penalty=[1] max=[5] half=0";
    QTest::newRow("empty file") << "Try.cfg" << QByteArray() << "level=- mode=- repeats=- penalty=- max=- half=-";
    QTest::newRow("two lines") << "Try.cfg" << QByteArray("3\r\n2\r\n")
                               << "level=3 mode=2 repeats=- penalty=- max=- half=-";
    QTest::newRow("four lines, texts as read") << "Try.cfg" << QByteArray("1\r\n0\r\n 4\r\n007 \r\n")
                                               << "level=1 mode=0 repeats=[ 4] penalty=[007 ] max=- half=-";
    QTest::newRow("no line end at the end") << "Try.cfg" << QByteArray("0\r\n1\r\n5\r\n1\r\n9\r\n1")
                                            << "level=0 mode=1 repeats=[5] penalty=[1] max=[9] half=1";
    QTest::newRow("LF line ends") << "Try.cfg" << QByteArray("0\n1\n5\n1\n9\n1\n")
                                  << "level=0 mode=1 repeats=[5] penalty=[1] max=[9] half=1";
    QTest::newRow("blanks around numbers") << "Try.cfg" << QByteArray("  3  \r\n 2 \r\n3\r\n2\r\n6\r\n  1 \r\n")
                                           << "level=3 mode=2 repeats=[3] penalty=[2] max=[6] half=1";
    QTest::newRow("level 7, mode 5") << "Try.cfg" << QByteArray("7\r\n5\r\n3\r\n2\r\n6\r\n0\r\n")
                                     << "level=- mode=- repeats=[3] penalty=[2] max=[6] half=0";
    QTest::newRow("level 4, mode 3") << "Try.cfg" << QByteArray("4\r\n3\r\n")
                                     << "level=- mode=- repeats=- penalty=- max=- half=-";
    QTest::newRow("negative") << "Try.cfg" << QByteArray("-1\r\n-1\r\n")
                              << "level=- mode=- repeats=- penalty=- max=- half=-";
    QTest::newRow("not whole") << "Try.cfg" << QByteArray("2.5\r\n1.5\r\n")
                               << "level=- mode=- repeats=- penalty=- max=- half=-";
    // A text that does not start with a number has the numeric value 0.
    QTest::newRow("text reads as 0") << "Try.cfg" << QByteArray("x\r\nabc\r\nx\r\ny\r\nz\r\nano\r\n")
                                     << "level=0 mode=0 repeats=[x] penalty=[y] max=[z] half=0";
    QTest::newRow("empty lines") << "Try.cfg" << QByteArray("\r\n\r\n\r\n\r\n\r\n\r\n")
                                 << "level=0 mode=0 repeats=[] penalty=[] max=[] half=0";
    QTest::newRow("half answer 2") << "Try.cfg" << QByteArray("0\r\n0\r\n3\r\n2\r\n6\r\n2\r\n")
                                   << "level=0 mode=0 repeats=[3] penalty=[2] max=[6] half=0";
    QTest::newRow("half answer 1.0") << "Try.cfg" << QByteArray("0\r\n0\r\n3\r\n2\r\n6\r\n1.0\r\n")
                                     << "level=0 mode=0 repeats=[3] penalty=[2] max=[6] half=1";
    QTest::newRow("extra lines ignored") << "Try.cfg" << QByteArray("1\r\n1\r\n3\r\n2\r\n6\r\n1\r\n9\r\n9\r\n")
                                         << "level=1 mode=1 repeats=[3] penalty=[2] max=[6] half=1";
}

void TestEngineCore::readTryCfg() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, saved);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    if (!fileName.isEmpty())
        QVERIFY(writeBytes(tmp.filePath(fileName), bytes));
    QCOMPARE(describe(SavedTestSettings::read(DataDir(tmp.path()))), saved);
}

QTEST_GUILESS_MAIN(TestEngineCore)
#include "tst_engine.moc"
