// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/WordLists.h"

#include "core/RoutineError.h"

const WordLists::Pair& WordLists::entry(int pair) const {
    static const Pair empty;
    return pair >= 0 && static_cast<std::size_t>(pair) < m_pairs.size() ? m_pairs[pair] : empty;
}

WordLists::Pair& WordLists::stored(int pair) {
    if (static_cast<std::size_t>(pair) >= m_pairs.size())
        m_pairs.resize(pair + 1);
    return m_pairs[pair];
}

void WordLists::addPairLine(const QString& line) {
    if (m_pairCount >= kMaxPairs)
        throw RoutineError("more than 2000 pairs", 4, QStringLiteral("NaplnSlova"));
    ++m_pairCount;
    Pair& pair = stored(m_pairCount);
    pair.line = line;
    pair.czCount = 1;
    pair.cizCount = 1;
    // Field 1 is the foreign side, field 2 the Czech side, each closed by "*" (the last one may lack it).
    const qsizetype size = line.size();
    qsizetype firstStar = line.indexOf(u'*');
    if (firstStar < 0)
        firstStar = size;
    const qsizetype czechBegin = std::min(firstStar + 1, size);
    qsizetype secondStar = line.indexOf(u'*', czechBegin);
    if (secondStar < 0)
        secondStar = size;
    splitCzechSide(czechBegin, secondStar);
    splitForeignSide(0, firstStar);
}

void WordLists::splitCzechSide(qsizetype begin, qsizetype end) {
    Pair& pair = m_pairs[m_pairCount];
    split(begin, end, pair.cz, pair.czCount, 5, "DoPlechovkyCz");
}

void WordLists::splitForeignSide(qsizetype begin, qsizetype end) {
    // An empty foreign side gets one empty alternative, like an empty Czech side: an alternative
    // left from an earlier test would be asked as the answer.
    Pair& pair = m_pairs[m_pairCount];
    split(begin, end, pair.ciz, pair.cizCount, 6, "DoPlechovkyCiz");
}

void WordLists::split(qsizetype begin, qsizetype end, Spans& into, int& count, int trap, const char* routine) {
    auto store = [&](qsizetype from, qsizetype to) {
        if (count > kMaxAlternatives)
            throw RoutineError("more than 10 alternatives", trap, QString::fromLatin1(routine));
        into[count] = Span{from, to - from};
    };
    const QChar* text = m_pairs[m_pairCount].line.constData();
    qsizetype partBegin = begin;
    for (qsizetype i = begin; i < end; ++i) {
        if (text[i] != u'+')
            continue;
        store(partBegin, i);
        ++count;
        partBegin = i + 1;
    }
    if (end > begin && text[end - 1] == u'+')
        --count;
    else
        store(partBegin, end);
}

QStringList WordLists::alternatives(int pair, bool foreign) const {
    const Pair& loaded = entry(pair);
    const Spans& side = foreign ? loaded.ciz : loaded.cz;
    const int count = foreign ? loaded.cizCount : loaded.czCount;
    QStringList result;
    result.reserve(count);
    for (int i = 1; i <= count; ++i)
        result.append(text(loaded, side[i]));
    return result;
}

void WordLists::setAllRemaining(int repeats) {
    for (int i = 1; i <= m_pairCount; ++i)
        m_pairs[i].remaining = repeats;
}

void WordLists::load(const QStringList& pairLines) {
    clear();
    for (const QString& line : pairLines)
        addPairLine(line);
}
