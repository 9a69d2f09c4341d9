// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/RandomSource.h"
#include "core/TestSettings.h"
#include "core/WordLists.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The rules of a test, free of any window: drawing questions, judging answers, counting.
namespace TestEngine {

// Which side of a pair a question shows; the other side is the answer.
enum class Direction { CzechShown, ForeignShown };

// A pair whose count is not 0, each such pair equally likely. Raises the error of "Generuj"
// (trap 3) when no pair has a count left, where the draw could never end.
int drawPair(const WordLists& words, RandomSource& random);
// The Czech side shown for answers in the foreign language and the other way round; for both,
// either at random.
Direction drawDirection(AnswerMode answerMode, RandomSource& random);

// The alternatives shown as the question, and those expected as the answer, of a pair.
QStringList shownAlternatives(const WordLists& words, int pair, Direction direction);
QStringList expectedAlternatives(const WordLists& words, int pair, Direction direction);
// The captions of the question's and the answer's language.
QString questionLanguage(Direction direction);
QString answerLanguage(Direction direction);
// The sought word of a hint: the first expected alternative.
QString soughtWord(const WordLists& words, int pair, Direction direction);

// Right when the answer equals an alternative regardless of case, or with the half answer on,
// when it lies within one.
bool isRight(const QString& answer, const QStringList& alternatives, bool halfAnswer);

// How much a wrong answer raises a pair's count: the penalty, but never past the maximum.
int penaltyRise(int remaining, int penalty, int maximum);

// The whole part of right / (right + wrong) * 100.
int successRate(qint64 right, qint64 wrong);
// A rate as the results page and the log show it: " 87%".
QString rateText(int rate);

// The canonical form of a number box's text: the whole number it spells in plain decimal
// ("007" is "7", "2.5" is "2"). Fails for a text that does not spell a number.
bool canonicalNumber(const QString& text, QString* canonical);

// One line of the results log.
QString resultRecord(const QDateTime& now, const QString& caption, int rate, qint64 total, qint64 right, qint64 wrong);

} // namespace TestEngine
