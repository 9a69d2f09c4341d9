// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TestSettings.h"

#include "store/TextRoutines.h"

namespace {

// The one file that both reading and writing use. The settings are read as "Try.cfg" and
// written as "try.cfg", the same file under the case rule; where both spellings lie side by side,
// a reader and a writer that each looked for its own spelling would use two files, and saved
// settings would never come back. So both take the file that "Try.cfg" finds (the exact spelling
// first, then any case); a new file is created as "try.cfg".
QString tryCfg(const DataDir& dir) {
    const QString existing = dir.folder(QString()).find(QStringLiteral("Try.cfg"));
    return existing.isEmpty() ? QStringLiteral("try.cfg") : existing;
}

} // namespace

SavedTestSettings SavedTestSettings::read(const DataDir& dir) {
    SavedTestSettings saved;
    const QStringList lines = dir.readLines(tryCfg(dir)).lines;
    auto inRange = [](const QString& line, int last) -> std::optional<int> {
        const double value = numericValue(line);
        if (value < 0 || value > last || value != saturatedInt(value))
            return std::nullopt;
        return saturatedInt(value);
    };
    if (lines.size() > 0) {
        if (const std::optional<int> level = inRange(lines.at(0), 3))
            saved.level = Level(*level);
    }
    if (lines.size() > 1) {
        if (const std::optional<int> mode = inRange(lines.at(1), 2))
            saved.answerMode = AnswerMode(*mode);
    }
    if (lines.size() > 2)
        saved.repeats = lines.at(2);
    if (lines.size() > 3)
        saved.penalty = lines.at(3);
    if (lines.size() > 4)
        saved.maxRepeats = lines.at(4);
    if (lines.size() > 5)
        saved.halfAnswer = numericValue(lines.at(5)) == 1.0;
    return saved;
}

IoStatus SavedTestSettings::write(const DataDir& dir, const TestSettings& settings) {
    return dir.rewrite(tryCfg(dir), {signedNumber(int(settings.level)), signedNumber(int(settings.answerMode)),
                                     signedNumber(settings.repeats), signedNumber(settings.penalty),
                                     signedNumber(settings.maxRepeats), signedNumber(settings.halfAnswer ? 1 : 0)});
}
