// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TestSession.h"

void TestSession::begin(const QString& caption, TestKind kind, const QList<TestEngine::Direction>& fixedDirections) {
    m_caption = caption;
    m_kind = kind;
    m_fixedDirections = fixedDirections;
    m_words.setAllRemaining(m_settings.repeats);
    m_asked = m_remaining = qint64(m_settings.repeats) * m_words.pairCount();
    m_right = m_wrong = 0;
    m_worstPair = WorstPair{};
    m_wrongPairs.clear();
    m_pair = 0;
}

void TestSession::drawQuestion(RandomSource& random) {
    m_pair = TestEngine::drawPair(m_words, random);
    m_direction = !m_fixedDirections.isEmpty() ? m_fixedDirections.value(m_pair - 1)
                                               : TestEngine::drawDirection(m_settings.answerMode, random);
    m_hint.reset();
}

Verdict TestSession::answer(const QString& text) {
    const QStringList expected = expectedAlternatives();
    Verdict verdict{Verdict::Way::Wrong, m_hint};
    if (m_settings.level == Level::Easy && text.isEmpty())
        verdict.way = Verdict::Way::QuickAnswer;
    else if (TestEngine::isRight(text, expected, false))
        verdict.way = m_hint ? Verdict::Way::AfterHint : Verdict::Way::FirstTry;
    else if (m_settings.halfAnswer && TestEngine::isRight(text, expected, true))
        verdict.way = Verdict::Way::HalfAnswer;

    if (verdict.right()) {
        ++m_right;
        --m_remaining;
        m_words.setRemaining(m_pair, m_words.remaining(m_pair) - 1);
        return verdict;
    }
    ++m_wrong;
    if (!m_wrongPairs.contains(m_pair))
        m_wrongPairs.append(m_pair);
    addRepetitions(m_pair,
                   TestEngine::penaltyRise(m_words.remaining(m_pair), m_settings.penalty, m_settings.maxRepeats));
    if (m_words.remaining(m_pair) > m_worstPair.count)
        m_worstPair = WorstPair{m_pair, m_words.remaining(m_pair)};
    return verdict;
}

void TestSession::addRepetitions(int pair, int count) {
    m_words.setRemaining(pair, m_words.remaining(pair) + count);
    m_remaining += count;
}

void TestSession::noteHint(HintKind hint, const QString& letters) {
    m_hint = hint;
    m_hintLetters = letters;
}

TestOutcome TestSession::outcome() const {
    return TestOutcome{m_caption, m_asked, m_right, m_wrong, m_worstPair, m_wrongPairs};
}
