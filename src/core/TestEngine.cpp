#include "core/TestEngine.h"

#include "core/RoutineError.h"
#include "store/TextRoutines.h"

#include <QRegularExpression>

#include <cmath>

namespace TestEngine {

int drawPair(const WordLists& words, RandomSource& random) {
    bool anyLeft = false;
    for (int i = 1; i <= words.PairCount && !anyLeft; ++i)
        anyLeft = words.Remaining(i) != 0;
    if (!anyLeft)
        throw RoutineError("no pair left to draw", 3, QStringLiteral("Generuj"));
    for (;;) {
        const int pair = static_cast<int>(words.PairCount * random.next() + 1);
        if (pair >= 1 && pair <= words.PairCount && words.Remaining(pair) != 0)
            return pair;
    }
}

int drawDirection(int answerMode, RandomSource& random) {
    if (answerMode == 0)
        return kCzechShown;
    if (answerMode == 1)
        return kForeignShown;
    return static_cast<int>(2 * random.next() + 1) == 1 ? kCzechShown : kForeignShown;
}

QStringList shownAlternatives(const WordLists& words, int pair, int direction) {
    return words.alternatives(pair, direction == kForeignShown);
}

QStringList expectedAlternatives(const WordLists& words, int pair, int direction) {
    return words.alternatives(pair, direction != kForeignShown);
}

QString questionLanguage(int direction) {
    return direction == kForeignShown ? QStringLiteral("Výraz v cizím jazyce:")
                                      : QStringLiteral("Výraz v českém jazyce:");
}

QString answerLanguage(int direction) {
    return direction == kForeignShown ? QStringLiteral("Výraz v českém jazyce:")
                                      : QStringLiteral("Výraz v cizím jazyce:");
}

QString soughtWord(const WordLists& words, int pair, int direction) {
    return direction == kForeignShown ? words.CzAlt(pair, 1) : words.CizAlt(pair, 1);
}

QString upperCase(const QString& text) {
    QString upper = text;
    for (QChar& c : upper)
        c = c.toUpper();
    return upper;
}

bool isRight(const QString& answer, const QStringList& alternatives, bool halfAnswer) {
    const QString typed = upperCase(answer);
    bool right = false;
    for (const QString& alternative : alternatives) {
        const QString expected = upperCase(alternative);
        if (typed == expected || (halfAnswer && expected.contains(typed)))
            right = true;
    }
    return right;
}

double penaltyRise(double remaining, double penalty, double maximum) {
    if (remaining >= maximum)
        return 0;
    return remaining + penalty > maximum ? maximum - remaining : penalty;
}

int successRate(int right, int wrong) {
    const qint64 answers = qint64(right) + wrong;
    return answers > 0 ? static_cast<int>(100LL * right / answers) : 0;
}

bool canonicalNumber(const QString& text, QString* canonical) {
    static const QRegularExpression number(
        QStringLiteral("^\\s*([+-]?)\\s*([0-9]+)(\\.[0-9]*)?\\s*$|^\\s*([+-]?)\\.[0-9]+\\s*$"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return false;
    // Counts are whole numbers: a test whose counts could never reach 0 exactly could never end.
    // Written out in full digits: an exponent form ("1e+15") would read back as 1.
    *canonical = QString::number(std::trunc(numericValue(text)), 'f', 0);
    if (*canonical == QLatin1String("-0"))
        *canonical = QStringLiteral("0");
    return true;
}

QString resultRecord(const QDateTime& now, const QString& caption, const QString& rate, const QString& total,
                     const QString& right, const QString& wrong) {
    return now.toString(QStringLiteral("d.M.yyyy")) + QStringLiteral("   ") + now.toString(QStringLiteral("H:mm:ss")) +
           QStringLiteral("   Název:") + caption + QStringLiteral("   Úspěšnost:") + rate +
           QStringLiteral("   Slovíček:") + total + QStringLiteral("   Správně:") + right +
           QStringLiteral("   Špatně:") + wrong;
}

} // namespace TestEngine
