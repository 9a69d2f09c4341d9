#include "WordLists.h"

#include "RoutineError.h"
#include "store/TextRoutines.h"

void WordLists::addPairLine(const QString& line) {
    if (PairCount >= kMaxPairs)
        throw RoutineError("more than 2000 pairs", 4, QStringLiteral("NaplnSlova"));
    ++PairCount;
    m_pairs[PairCount].czCount = 1;
    m_pairs[PairCount].cizCount = 1;
    DoPlechovkyCz(VratPole(line, 2));
    DoPlechovkyCiz(VratPole(line, 1));
}

void WordLists::DoPlechovkyCz(const QString& Retezec) {
    Pair& pair = m_pairs[PairCount];
    split(Retezec, pair.cz, pair.czCount, 5, "DoPlechovkyCz");
}

void WordLists::DoPlechovkyCiz(const QString& Retezec) {
    if (Retezec.isEmpty())
        return;
    Pair& pair = m_pairs[PairCount];
    split(Retezec, pair.ciz, pair.cizCount, 6, "DoPlechovkyCiz");
}

void WordLists::split(const QString& text, std::array<QString, kMaxAlternatives + 1>& into, int& count, int trap,
                      const char* routine) {
    auto overflow = [&] { throw RoutineError("more than 10 alternatives", trap, QString::fromLatin1(routine)); };
    QString part;
    bool afterPlus = false;
    for (QChar c : text) {
        if (c != u'+') {
            part.append(c);
            afterPlus = false;
            continue;
        }
        if (count > kMaxAlternatives)
            overflow();
        into[count++] = part;
        part.clear();
        afterPlus = true;
    }
    // A trailing "+" adds no empty alternative.
    if (afterPlus) {
        --count;
        return;
    }
    if (count > kMaxAlternatives)
        overflow();
    into[count] = part;
}

QStringList WordLists::alternatives(int pair, bool foreign) const {
    const Pair& entry = m_pairs[pair];
    const auto& side = foreign ? entry.ciz : entry.cz;
    const int count = foreign ? entry.cizCount : entry.czCount;
    QStringList result;
    result.reserve(count);
    for (int i = 1; i <= count; ++i)
        result.append(side[i]);
    return result;
}

void WordLists::setAllRemaining(double repeats) {
    for (int i = 1; i <= PairCount; ++i)
        m_pairs[i].remaining = repeats;
}

double WordLists::remainingTotal() const {
    double total = 0;
    for (int i = 1; i <= PairCount; ++i)
        total += m_pairs[i].remaining;
    return total;
}
