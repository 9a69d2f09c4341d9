// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TestEngine.h"

#include "core/RoutineError.h"
#include "store/TextRoutines.h"

#include <QRegularExpression>

#include <cmath>

namespace TestEngine {

int drawPair(const WordLists& words, RandomSource& random) {
    bool anyLeft = false;
    for (int i = 1; i <= words.pairCount() && !anyLeft; ++i)
        anyLeft = words.remaining(i) != 0;
    if (!anyLeft)
        throw RoutineError("no pair left to draw", 3, QStringLiteral("Generuj"));
    for (;;) {
        const int pair = static_cast<int>(words.pairCount() * random.next() + 1);
        if (pair >= 1 && pair <= words.pairCount() && words.remaining(pair) != 0)
            return pair;
    }
}

Direction drawDirection(AnswerMode answerMode, RandomSource& random) {
    if (answerMode == AnswerMode::Both)
        return static_cast<int>(2 * random.next() + 1) == 1 ? Direction::CzechShown : Direction::ForeignShown;
    return answerMode == AnswerMode::Foreign ? Direction::CzechShown : Direction::ForeignShown;
}

QStringList shownAlternatives(const WordLists& words, int pair, Direction direction) {
    return words.alternatives(pair, direction == Direction::ForeignShown);
}

QStringList expectedAlternatives(const WordLists& words, int pair, Direction direction) {
    return words.alternatives(pair, direction != Direction::ForeignShown);
}

QString questionLanguage(Direction direction) {
    return direction == Direction::ForeignShown ? QStringLiteral("Výraz v cizím jazyce:")
                                                : QStringLiteral("Výraz v českém jazyce:");
}

QString answerLanguage(Direction direction) {
    return direction == Direction::ForeignShown ? QStringLiteral("Výraz v českém jazyce:")
                                                : QStringLiteral("Výraz v cizím jazyce:");
}

QString soughtWord(const WordLists& words, int pair, Direction direction) {
    return direction == Direction::ForeignShown ? words.czechAlternative(pair, 1) : words.foreignAlternative(pair, 1);
}

namespace {

// Upper case letter by letter, Czech letters included; "ß" stays one letter, as typed.
QString upperCase(const QString& text) {
    QString upper = text;
    for (QChar& c : upper)
        c = c.toUpper();
    return upper;
}

} // namespace

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

int penaltyRise(int remaining, int penalty, int maximum) {
    if (remaining >= maximum)
        return 0;
    return remaining + penalty > maximum ? maximum - remaining : penalty;
}

int successRate(qint64 right, qint64 wrong) {
    const qint64 answers = right + wrong;
    return answers > 0 ? static_cast<int>(100LL * right / answers) : 0;
}

QString rateText(int rate) {
    return signedNumber(rate) + u'%';
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

QString resultRecord(const QDateTime& now, const QString& caption, int rate, qint64 total, qint64 right, qint64 wrong) {
    return now.toString(QStringLiteral("d.M.yyyy")) + QStringLiteral("   ") + now.toString(QStringLiteral("H:mm:ss")) +
           QStringLiteral("   Název:") + caption + QStringLiteral("   Úspěšnost:") + rateText(rate) +
           QStringLiteral("   Slovíček:") + QString::number(total) + QStringLiteral("   Správně:") +
           QString::number(right) + QStringLiteral("   Špatně:") + QString::number(wrong);
}

} // namespace TestEngine
