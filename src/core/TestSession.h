// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/HintKind.h"
#include "core/RandomSource.h"
#include "core/TestEngine.h"
#include "core/TestSettings.h"
#include "core/WordLists.h"

#include <QList>
#include <QString>

#include <optional>

// The worst-remembered pair of a test: the pair whose count of answers still needed was the
// highest right after a wrong answer, and that count. Pair 0 means none.
struct WorstPair {
    int pair = 0;
    int count = 0;
};

// How an answer was judged; the review history rates answers by the way.
struct Verdict {
    enum class Way {
        FirstTry,    // right, no hint asked for the question
        AfterHint,   // right after the hint below
        HalfAnswer,  // right only because the half answer takes a part of an alternative
        QuickAnswer, // empty on the easy level: shown, and counted as right
        Wrong,
    };
    Way way = Way::Wrong;
    std::optional<HintKind> hint; // the last hint given for the question
    bool right() const { return way != Way::Wrong; }
};

// A finished test as the results page shows and logs it.
struct TestOutcome {
    QString caption;
    qint64 asked = 0; // answers asked for at the start, repetitions included
    qint64 right = 0;
    qint64 wrong = 0;
    WorstPair worstPair;
    QList<int> wrongPairs; // the pairs answered wrongly at least once, in the order of their first mistake
};

// What a test asks: a lesson chosen on the setup page, the due pairs of a review, or the pairs
// missed in the test just finished. Only a lesson's test keeps its settings in "Try.cfg".
enum class TestKind { Lesson, Review, Practice };

// One test from its first question to its outcome: the word lists and settings it runs on, the
// question asked, the counts and the letters a hint has given. Windows render it and ask it.
class TestSession {
public:
    TestSettings& settings() { return m_settings; }
    const TestSettings& settings() const { return m_settings; }
    WordLists& words() { return m_words; }
    const WordLists& words() const { return m_words; }

    // The words are loaded: each pair needs the repetitions, the counts start at 0, no pair is worst.
    // fixedDirections, one per pair, asks each pair one way (a review asks a pair the way it is due);
    // without them the answer mode draws the direction of each question.
    void begin(const QString& caption, TestKind kind = TestKind::Lesson,
               const QList<TestEngine::Direction>& fixedDirections = {});
    TestKind kind() const { return m_kind; }
    const QList<TestEngine::Direction>& fixedDirections() const { return m_fixedDirections; }
    // The next question: a pair with answers still needed and its direction. Raises the error of
    // "Generuj" (trap 3) when none is left.
    void drawQuestion(RandomSource& random);
    // Judges the answer to the question asked and counts it.
    Verdict answer(const QString& text);
    // No pair needs another answer.
    bool finished() const { return m_remaining == 0; }
    TestOutcome outcome() const;

    // A pair needs this many more right answers (a wrong answer's penalty).
    void addRepetitions(int pair, int count);

    // A hint given for the question asked; the letter hints start the letters typed into their mask.
    void noteHint(HintKind hint, const QString& letters = {});
    const QString& hintLetters() const { return m_hintLetters; }
    void addHintLetter(QChar letter) { m_hintLetters.append(letter); }

    int pair() const { return m_pair; }
    TestEngine::Direction direction() const { return m_direction; }
    QStringList shownAlternatives() const { return TestEngine::shownAlternatives(m_words, m_pair, m_direction); }
    QStringList expectedAlternatives() const { return TestEngine::expectedAlternatives(m_words, m_pair, m_direction); }
    // The first expected alternative of a pair, in the direction asked: what a hint gives away.
    QString soughtWord(int pair) const { return TestEngine::soughtWord(m_words, pair, m_direction); }

    const QString& caption() const { return m_caption; }
    int pairCount() const { return m_words.pairCount(); }
    qint64 asked() const { return m_asked; }
    qint64 right() const { return m_right; }
    qint64 wrong() const { return m_wrong; }
    qint64 remaining() const { return m_remaining; }
    WorstPair worstPair() const { return m_worstPair; }

private:
    TestSettings m_settings;
    WordLists m_words;
    QString m_caption;
    int m_pair = 0;
    TestEngine::Direction m_direction = TestEngine::Direction::CzechShown;
    std::optional<HintKind> m_hint;
    QString m_hintLetters;
    qint64 m_asked = 0;
    qint64 m_right = 0;
    qint64 m_wrong = 0;
    qint64 m_remaining = 0;
    WorstPair m_worstPair;
    QList<int> m_wrongPairs;
    TestKind m_kind = TestKind::Lesson;
    QList<TestEngine::Direction> m_fixedDirections;
};
