#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// The pairs of the running test, numbered 1 to PairCount in load order, each side split into its
// alternatives (numbered 1 to its count). Loading a test overwrites pairs 1 to PairCount only.
class WordLists {
public:
    static constexpr int kMaxPairs = 2000;
    static constexpr int kMaxAlternatives = 10;

    int PairCount = 0;

    const QString& CzAlt(int pair, int alternative) const { return m_pairs[pair].cz[alternative]; }
    const QString& CizAlt(int pair, int alternative) const { return m_pairs[pair].ciz[alternative]; }
    int CzCount(int pair) const { return m_pairs[pair].czCount; }
    int CizCount(int pair) const { return m_pairs[pair].cizCount; }
    double& Remaining(int pair) { return m_pairs[pair].remaining; }
    double Remaining(int pair) const { return m_pairs[pair].remaining; }

    // Starts an empty load.
    void clear() { PairCount = 0; }
    // Loads one pair line as the next pair: foreign side (field 1) and Czech side (field 2) split
    // into alternatives. Raises the loading error (trap 4) past 2,000 pairs and the error of the
    // side (trap 5 Czech, 6 foreign) past 10 alternatives.
    void addPairLine(const QString& line);
    // Split a side into the alternatives of pair PairCount, whose count the caller set to 1.
    // An empty Czech side gives one empty alternative; an empty foreign side stores nothing.
    void DoPlechovkyCz(const QString& Retezec);
    void DoPlechovkyCiz(const QString& Retezec);

    // The alternatives of a side: the foreign side when foreign is true, otherwise the Czech one.
    QStringList alternatives(int pair, bool foreign) const;
    // Every pair gets the same count of correct answers still needed.
    void setAllRemaining(double repeats);
    // The sum of the counts of pairs 1 to PairCount.
    double remainingTotal() const;

private:
    struct Pair {
        std::array<QString, kMaxAlternatives + 1> cz;
        std::array<QString, kMaxAlternatives + 1> ciz;
        int czCount = 0;
        int cizCount = 0;
        double remaining = 0;
    };
    void split(const QString& text, std::array<QString, kMaxAlternatives + 1>& into, int& count, int trap,
               const char* routine);

    std::vector<Pair> m_pairs = std::vector<Pair>(kMaxPairs + 1);
};
