#include "Files.h"
#include "FixedSources.h"
#include "core/RandomSource.h"
#include "core/RoutineError.h"
#include "core/TestEngine.h"
#include "core/TestSettings.h"
#include "core/WordLists.h"
#include "store/DataDir.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>
#include <utility>

using namespace TestEngine;

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

// Word lists loaded with these lines.
std::unique_ptr<WordLists> loaded(const QStringList& lines) {
    auto words = std::make_unique<WordLists>();
    for (const QString& line : lines)
        words->addPairLine(line);
    return words;
}

// The last pair loaded as "count:foreign*count:Czech", or the trap the lines raised.
QString load(const QStringList& lines) {
    std::unique_ptr<WordLists> words;
    const QString trap = trapOf([&] { words = loaded(lines); });
    if (!trap.isEmpty())
        return trap;
    const int pair = words->PairCount;
    return QStringLiteral("%1:%2*%3:%4")
        .arg(QString::number(words->CizCount(pair)), words->alternatives(pair, true).join(u'+'),
             QString::number(words->CzCount(pair)), words->alternatives(pair, false).join(u'+'));
}

// What is read from a "Try.cfg" of these bytes (none: no file), "-" for an unset value, text lines
// in brackets.
QString readTryCfgOf(const QByteArray& bytes) {
    QTemporaryDir tmp;
    if (!bytes.isEmpty())
        writeBytes(tmp.filePath(QStringLiteral("Try.cfg")), bytes);
    const SavedTestSettings s = SavedTestSettings::read(DataDir(tmp.path()));
    auto number = [](const std::optional<int>& v) { return v ? QString::number(*v) : QStringLiteral("-"); };
    auto text = [](const std::optional<QString>& v) { return v ? u'[' + *v + u']' : QStringLiteral("-"); };
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(number(s.level), number(s.answerMode), text(s.repeats), text(s.penalty), text(s.maxRepeats),
             s.halfAnswer ? QString::number(*s.halfAnswer) : QStringLiteral("-"));
}

} // namespace

class TestEngineCore : public QObject {
    Q_OBJECT

private slots:
    void loadLines_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("lastPair"); // "count:foreign*count:Czech", or the trap raised
        QTest::newRow("two alternatives") << QStringList{"A+B*C*"} << "2:A+B*1:C";
        QTest::newRow("trailing +") << QStringList{"X*A+*"} << "1:X*1:A";
        QTest::newRow("leading +") << QStringList{"X*+A*"} << "1:X*2:+A";
        QTest::newRow("doubled +") << QStringList{"X*A++B*"} << "1:X*3:A++B";
        QTest::newRow("empty Czech side") << QStringList{"X**"} << "1:X*1:";
        QTest::newRow("empty foreign side") << QStringList{"*c*"} << "1:*1:c";
        QTest::newRow("10 Czech, trailing + adds none")
            << QStringList{"x*" + side("c", 10) + "+*"} << "1:x*10:" + side("c", 10);
        QTest::newRow("11 Czech") << QStringList{"x*" + side("c", 11) + "*"} << "5 DoPlechovkyCz";
        QTest::newRow("10 foreign") << QStringList{side("f", 10) + "+*c*"} << "10:" + side("f", 10) + "*1:c";
        QTest::newRow("11 foreign") << QStringList{side("f", 11) + "*c*"} << "6 DoPlechovkyCiz";
        QStringList most;
        for (int i = 1; i <= WordLists::kMaxPairs; ++i)
            most.append(QStringLiteral("w%1*s%1*").arg(i));
        QTest::newRow("2000 pairs") << most << "1:w2000*1:s2000";
        QTest::newRow("2001 pairs") << most + QStringList{"w2001*s2001*"} << "4 NaplnSlova";
    }
    void loadLines() {
        QFETCH(QStringList, lines);
        QTEST(load(lines), "lastPair");
    }

    // Before any load, and above the largest load so far, a pair reads as an empty one.
    void pairsNeverLoadedReadEmpty() {
        const auto words = loaded({"A*a*"});
        for (int pair : {2, WordLists::kMaxPairs}) {
            QCOMPARE(words->CizCount(pair) + words->CzCount(pair), 0);
            QCOMPARE(words->CzAlt(pair, 1) + words->CizAlt(pair, 1), QString());
            QCOMPARE(words->alternatives(pair, true), QStringList());
            QCOMPARE(std::as_const(*words).Remaining(pair), 0.0);
        }
        QCOMPARE(WordLists().CzCount(1), 0);
    }

    void smallerLoadAfterLarger() {
        const auto words = loaded({"A+B+C*a+b*", "D*d*", "E*e*"});
        words->setAllRemaining(5);
        words->clear();
        words->addPairLine(QStringLiteral("*kočka*"));
        words->addPairLine(QStringLiteral("Y+Z*y*"));
        // Nothing of the earlier pair 1 may stand in for its empty foreign side.
        QCOMPARE(words->CizCount(1), 1);
        QCOMPARE(words->CizAlt(1, 1), QString());
        QCOMPARE(words->CzAlt(1, 1), QStringLiteral("kočka"));
        // Pair 3 keeps 5 from the earlier load; it counts no more, nor may it be drawn.
        words->setAllRemaining(3);
        QCOMPARE(words->remainingTotal(), 6.0);
        words->Remaining(1) = words->Remaining(2) = 0;
        ScriptedRandom random;
        QCOMPARE(trapOf([&] { drawPair(*words, random); }), QStringLiteral("3 Generuj"));
    }

    void drawPairs() {
        auto words = loaded({"a*a*", "b*b*", "c*c*", "d*d*", "e*e*"});
        words->setAllRemaining(1);
        ScriptedRandom random;
        // The whole part of PairCount * r + 1.
        random.values = {0.0, 0.1999, 0.2, 0.7999, std::nextafter(1.0, 0.0)};
        for (const int pair : {1, 1, 2, 4, 5})
            QCOMPARE(drawPair(*words, random), pair);
        // A pair with count 0 is drawn again.
        words->Remaining(1) = words->Remaining(3) = 0;
        random.values = {0.0, 0.5, 0.3};
        random.draws = 0;
        QCOMPARE(drawPair(*words, random), 2);
        QCOMPARE(random.draws, 3);
        words->setAllRemaining(0);
        QCOMPARE(trapOf([&] { drawPair(*words, random); }), QStringLiteral("3 Generuj"));
        words->clear();
        QCOMPARE(trapOf([&] { drawPair(*words, random); }), QStringLiteral("3 Generuj"));
    }

    void drawDirectionAndSides() {
        ScriptedRandom random;
        random.values = {0.4999, 0.5};
        QCOMPARE(drawDirection(0, random), kCzechShown);
        QCOMPARE(drawDirection(1, random), kForeignShown);
        QCOMPARE(random.draws, 0); // only mode 2 takes a number
        QCOMPARE(drawDirection(2, random), kCzechShown);
        QCOMPARE(drawDirection(2, random), kForeignShown);

        // Pair 2, so that a pair number mixed up with another shows.
        const auto words = loaded({"x*y*", QStringLiteral("der Hund+der Köter*pes+čokl*")});
        const auto sides = [&](int direction) {
            return QStringList{shownAlternatives(*words, 2, direction).join(u'+'),
                               expectedAlternatives(*words, 2, direction).join(u'+'), soughtWord(*words, 2, direction),
                               questionLanguage(direction), answerLanguage(direction)}
                .join(u'|');
        };
        QCOMPARE(sides(kCzechShown),
                 QStringLiteral("pes+čokl|der Hund+der Köter|der Hund|Výraz v českém jazyce:|Výraz v cizím jazyce:"));
        QCOMPARE(sides(kForeignShown),
                 QStringLiteral("der Hund+der Köter|pes+čokl|pes|Výraz v cizím jazyce:|Výraz v českém jazyce:"));
    }

    void judging_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("alternatives");
        QTest::addColumn<bool>("half");
        QTest::addColumn<bool>("right");
        const QStringList pes{"pes"};
        QTest::newRow("Czech capitals") << "ŽLUŤOUČKÝ" << QStringList{"žluťoučký"} << false << true;
        QTest::newRow("second alternative") << "KOČKA" << QStringList{"pes", "kočka"} << false << true;
        QTest::newRow("none of them") << "myš" << QStringList{"pes", "kočka"} << false << false;
        QTest::newRow("trailing blank, half") << "pes " << pes << true << false;
        QTest::newRow("half answer") << "PE" << pes << true << true;
        QTest::newRow("start only") << "pe" << pes << false << false;
        QTest::newRow("longer, half") << "pess" << pes << true << false;
        QTest::newRow("empty") << "" << pes << false << false;
        QTest::newRow("empty, half") << "" << pes << true << true;
        QTest::newRow("one letter off") << "pas" << pes << false << false;
        // ß has no single upper-case letter: it stays ß and never equals SS.
        QTest::newRow("ß is not SS") << "STRASSE" << QStringList{"Straße"} << false << false;
    }
    void judging() {
        QFETCH(QString, answer);
        QFETCH(QStringList, alternatives);
        QFETCH(bool, half);
        QTEST(isRight(answer, alternatives, half), "right");
    }

    void counting_data() {
        QTest::addColumn<double>("remaining");
        QTest::addColumn<double>("penalty");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<double>("rise");
        QTest::newRow("cut to the maximum") << 3.0 << 2.0 << 4.0 << 1.0;
        QTest::newRow("at the maximum") << 4.0 << 2.0 << 4.0 << 0.0;
        QTest::newRow("above the maximum") << 7.0 << 2.0 << 4.0 << 0.0;
        QTest::newRow("one below") << 5.0 << 3.0 << 6.0 << 1.0;
        QTest::newRow("the whole penalty") << 3.0 << 3.0 << 6.0 << 3.0;
    }
    void counting() {
        QFETCH(double, remaining);
        QFETCH(double, penalty);
        QFETCH(double, maximum);
        QTEST(penaltyRise(remaining, penalty, maximum), "rise");
    }

    void successRates_data() {
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<int>("rate");
        QTest::newRow("all right") << 3 << 0 << 100;
        QTest::newRow("two of three") << 2 << 1 << 66;
        QTest::newRow("no float rounding") << 29 << 71 << 29; // not 28 from 0.29 * 100 = 28.999...
        QTest::newRow("none answered") << 0 << 0 << 0;
        QTest::newRow("all wrong") << 0 << 5 << 0;
        QTest::newRow("counts near the int limit") << 2000000000 << 2000000000 << 50;
    }
    void successRates() {
        QFETCH(int, right);
        QFETCH(int, wrong);
        QTEST(successRate(right, wrong), "rate");
    }

    // A whole test as the test page runs it: two pairs, 3 repeats, penalty 1, at most 4; the first
    // answer wrong, every other one the sought word.
    void wholeTest() {
        const auto words = loaded({"der Hund*pes*", QStringLiteral("die Straße*ulice+silnice*")});
        words->setAllRemaining(3);
        MersenneRandom random;
        random.seed(7);
        int right = 0, wrong = 0;
        while (words->remainingTotal() != 0 && right + wrong < 100) {
            const int pair = drawPair(*words, random);
            const int direction = drawDirection(2, random);
            const QString answer = right + wrong == 0 ? "?" : soughtWord(*words, pair, direction).toLower();
            const bool ok = isRight(answer, expectedAlternatives(*words, pair, direction), false);
            words->Remaining(pair) += ok ? -1.0 : penaltyRise(words->Remaining(pair), 1, 4);
            (ok ? right : wrong) += 1;
        }
        QCOMPARE(right, 7);
        QCOMPARE(wrong, 1);
        QCOMPARE(successRate(right, wrong), 87);
    }

    void numbersAndRecord() {
        const auto canonical = [](const QString& text) {
            QString result = QStringLiteral("-");
            return canonicalNumber(text, &result) ? result : QStringLiteral("fails");
        };
        QCOMPARE(canonical("007"), QStringLiteral("7"));
        QCOMPARE(canonical("2.5"), QStringLiteral("2"));
        QCOMPARE(canonical("abc"), QStringLiteral("fails"));
        QCOMPARE(canonical("3abc"), QStringLiteral("fails"));
        QCOMPARE(canonical(""), QStringLiteral("fails"));

        QCOMPARE(resultRecord(FixedClock().now(), QStringLiteral("Učebnice - Lekce"), " 87%", "6", "7", "1"),
                 QStringLiteral("14.3.2026   9:05:07   Název:Učebnice - Lekce   Úspěšnost: 87%   Slovíček:6   "
                                "Správně:7   Špatně:1"));
    }

    // "Try.cfg" and "try.cfg" side by side: the settings written are the settings read.
    void tryCfgTwoSpellings() {
        for (const QString& first : {QStringLiteral("Try.cfg"), QStringLiteral("try.cfg")}) {
            QTemporaryDir tmp;
            const QString other = first == u"Try.cfg" ? QStringLiteral("try.cfg") : QStringLiteral("Try.cfg");
            QVERIFY(writeBytes(tmp.filePath(first), " 0\r\n 0\r\n 9\r\n 9\r\n 9\r\n 0\r\n"));
            QVERIFY(writeBytes(tmp.filePath(other), " 3\r\n 2\r\n 8\r\n 8\r\n 8\r\n 0\r\n"));
            const DataDir dir(tmp.path());
            QVERIFY(SavedTestSettings::write(dir, TestSettings{2, 1, 4, 2, 6, 0}, true).ok());
            const SavedTestSettings read = SavedTestSettings::read(dir);
            QCOMPARE(read.level, std::optional<int>(2));
            QCOMPARE(read.answerMode, std::optional<int>(1));
            QCOMPARE(read.repeats, std::optional<QString>(QStringLiteral(" 4")));
            QCOMPARE(read.halfAnswer, std::optional<bool>(true));
            QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        }
        // Only the other spelling: read and written under its own name.
        QTemporaryDir tmp;
        QVERIFY(writeBytes(tmp.filePath("TRY.CFG"), " 3\r\n"));
        const DataDir dir(tmp.path());
        QCOMPARE(SavedTestSettings::read(dir).level, std::optional<int>(3));
        QVERIFY(SavedTestSettings::write(dir, TestSettings{1, 1, 4, 2, 6, 0}, false).ok());
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"TRY.CFG"});
        QCOMPARE(SavedTestSettings::read(dir).level, std::optional<int>(1));
    }

    void readTryCfg() {
        QCOMPARE(readTryCfgOf(QByteArray()), QStringLiteral("- - - - - -"));
        QCOMPARE(readTryCfgOf(" 2\r\n 1\r\n 3\r\n 2\r\n 6\r\n 1\r\n"), QStringLiteral("2 1 [ 3] [ 2] [ 6] 1"));
        QCOMPARE(readTryCfgOf("3\r\n2\r\n"), QStringLiteral("3 2 - - - -"));
        // A level or mode out of range leaves it unset.
        QCOMPARE(readTryCfgOf("7\r\n5\r\n3\r\n2\r\n6\r\n0\r\n"), QStringLiteral("- - [3] [2] [6] 0"));
    }
};

QTEST_GUILESS_MAIN(TestEngineCore)
#include "tst_engine.moc"
