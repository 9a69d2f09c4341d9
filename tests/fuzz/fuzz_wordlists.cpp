// SPDX-License-Identifier: GPL-3.0-or-later
// A lesson's lines loaded as word lists: each pair split as its line says, and the loading stops
// with its own trap (a RoutineError) where a limit is passed, never anyhow else.

#include "Fuzz.h"

#include "core/RoutineError.h"
#include "core/WordLists.h"
#include "store/DataDir.h"

#include <utility>
#include <vector>

namespace {

// The alternatives of a side: the pieces between "+" signs, a trailing "+" adding none.
QStringList refAlternatives(const QString& line, int field) {
    const QString side = line.split(u'*').value(field - 1);
    QStringList pieces = side.split(u'+');
    if (side.endsWith(u'+'))
        pieces.removeLast();
    return pieces;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One line can stand for many: the first byte repeats the lines up to 255 times, so that the
    // 2,000 pairs a lesson may hold are within reach of a short input.
    if (size < 1)
        return 0;
    const QStringList lines =
        splitLines(QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)));
    std::vector<std::pair<QStringList, QStringList>> sides; // Czech, foreign
    for (const QString& line : lines)
        sides.emplace_back(refAlternatives(line, 2), refAlternatives(line, 1));
    static WordLists words; // its 2,001 slots are large: loaded over and over, as the program does
    words.clear();
    int loaded = 0;
    for (int round = 0; round <= data[0]; ++round) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString& line = lines.at(i);
            const auto& [czech, foreign] = sides.at(i);
            try {
                words.addPairLine(line);
            } catch (const RoutineError& error) {
                const int expected = loaded == WordLists::kMaxPairs               ? 4
                                     : czech.size() > WordLists::kMaxAlternatives ? 5
                                                                                  : 6;
                FUZZ_CHECK(error.trapNumber() == expected,
                           QStringLiteral("trap %1 for pair %2 ").arg(error.trapNumber()).arg(loaded + 1) +
                               shown(line));
                FUZZ_CHECK(expected != 6 || foreign.size() > WordLists::kMaxAlternatives, shown(line));
                return 0;
            }
            ++loaded;
            FUZZ_CHECK(loaded <= WordLists::kMaxPairs && czech.size() <= WordLists::kMaxAlternatives &&
                           foreign.size() <= WordLists::kMaxAlternatives,
                       QStringLiteral("loaded past a limit: pair %1 ").arg(loaded) + shown(line));
            FUZZ_CHECK(words.pairCount() == loaded && words.alternatives(loaded, false) == czech &&
                           words.alternatives(loaded, true) == foreign,
                       shown(line));
        }
    }
    return 0;
}
