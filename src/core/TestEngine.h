#pragma once

#include "core/RandomSource.h"
#include "core/WordLists.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The rules of a test, free of any window: drawing questions, judging answers, counting.
namespace TestEngine {

// Direction 1: the Czech side is shown and the foreign side is the answer; 2: the other way.
constexpr int kCzechShown = 1;
constexpr int kForeignShown = 2;

// A pair whose count is not 0, each such pair equally likely. Raises the error of "Generuj"
// (trap 3) when no pair has a count left, where the draw could never end.
int drawPair(const WordLists& words, RandomSource& random);
// 1 for mode 0, 2 for mode 1, either at random for mode 2.
int drawDirection(int answerMode, RandomSource& random);

// The alternatives shown as the question, and those expected as the answer, of a pair.
QStringList shownAlternatives(const WordLists& words, int pair, int direction);
QStringList expectedAlternatives(const WordLists& words, int pair, int direction);
// The captions of the question's and the answer's language.
QString questionLanguage(int direction);
QString answerLanguage(int direction);
// The sought word of a hint: the first expected alternative.
QString soughtWord(const WordLists& words, int pair, int direction);

// Upper case letter by letter, Czech letters included; "ß" stays one letter, as typed.
QString upperCase(const QString& text);
// Right when the answer equals an alternative regardless of case, or with the half answer on,
// when it lies within one.
bool isRight(const QString& answer, const QStringList& alternatives, bool halfAnswer);

// How much a wrong answer raises a pair's count: the penalty, but never past the maximum.
double penaltyRise(double remaining, double penalty, double maximum);

// The whole part of right / (right + wrong) * 100.
int successRate(int right, int wrong);

// The canonical form of a number box's text: the whole number it spells in plain decimal
// ("007" is "7", "2.5" is "2"). Fails for a text that does not spell a number.
bool canonicalNumber(const QString& text, QString* canonical);

// One line of the results log.
QString resultRecord(const QDateTime& now, const QString& caption, const QString& rate, const QString& total,
                     const QString& right, const QString& wrong);

} // namespace TestEngine
