// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// The pairs of the running test, numbered 1 to pairCount() in load order, each side split into its
// alternatives (numbered 1 to its count). Loading a test overwrites pairs 1 to pairCount() only.
// A pair keeps its line and where each alternative lies in it, so loading copies no text.
class WordLists {
public:
    static constexpr int kMaxPairs = 2000;
    static constexpr int kMaxAlternatives = 10;

    int pairCount() const { return m_pairCount; }
    QString czechAlternative(int pair, int alternative) const { return text(entry(pair), entry(pair).cz[alternative]); }
    QString foreignAlternative(int pair, int alternative) const {
        return text(entry(pair), entry(pair).ciz[alternative]);
    }
    // The pair's line as the lesson file holds it.
    const QString& line(int pair) const { return entry(pair).line; }
    int czechCount(int pair) const { return entry(pair).czCount; }
    int foreignCount(int pair) const { return entry(pair).cizCount; }
    // The right answers a pair still needs.
    int remaining(int pair) const { return entry(pair).remaining; }
    void setRemaining(int pair, int count) { stored(pair).remaining = count; }

    // Starts an empty load.
    void clear() { m_pairCount = 0; }
    // Loads one pair line as the next pair: foreign side (field 1) and Czech side (field 2) split
    // into alternatives. Raises the loading error (trap 4) past 2,000 pairs and the error of the
    // side (trap 5 Czech, 6 foreign) past 10 alternatives.
    void addPairLine(const QString& line);
    // A new load of these pair lines, in their order, raising the errors addPairLine raises.
    void load(const QStringList& pairLines);

    // The alternatives of a side: the foreign side when foreign is true, otherwise the Czech one.
    QStringList alternatives(int pair, bool foreign) const;
    // Every pair gets the same count of correct answers still needed.
    void setAllRemaining(int repeats);

private:
    struct Span {
        qsizetype start = 0;
        qsizetype length = 0;
    };
    using Spans = std::array<Span, kMaxAlternatives + 1>;
    struct Pair {
        QString line;
        Spans cz;
        Spans ciz;
        int czCount = 0;
        int cizCount = 0;
        int remaining = 0;
    };

    static QString text(const Pair& pair, const Span& span) { return pair.line.mid(span.start, span.length); }
    // A pair never loaded reads as an empty one.
    const Pair& entry(int pair) const;
    // The pair's place, made when it is first written to.
    Pair& stored(int pair);
    // Split the side lying at [begin, end) of the last pair's line into its alternatives, the
    // pieces between "+" signs; a trailing "+" adds no empty alternative, an empty side gives one.
    void splitCzechSide(qsizetype begin, qsizetype end);
    void splitForeignSide(qsizetype begin, qsizetype end);
    void split(qsizetype begin, qsizetype end, Spans& into, int& count, int trap, const char* routine);

    // Grows with the loads and never shrinks (a smaller load leaves the pairs above it as they were).
    // Made up front, the places of the largest test took most of a megabyte before any test ran.
    std::vector<Pair> m_pairs;
    int m_pairCount = 0;
};
