#include "TestSettings.h"

#include "store/TextRoutines.h"

SavedTestSettings SavedTestSettings::read(const DataDir& dir) {
    SavedTestSettings saved;
    const QStringList lines = dir.readLines(QStringLiteral("Try.cfg")).lines;
    auto inRange = [](const QString& line, int last) -> std::optional<int> {
        const double value = numericValue(line);
        if (value < 0 || value > last || value != static_cast<int>(value))
            return std::nullopt;
        return static_cast<int>(value);
    };
    if (lines.size() > 0)
        saved.level = inRange(lines.at(0), 3);
    if (lines.size() > 1)
        saved.answerMode = inRange(lines.at(1), 2);
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

IoStatus SavedTestSettings::write(const DataDir& dir, const TestSettings& settings, bool halfAnswer) {
    return dir.rewrite(QStringLiteral("try.cfg"),
                       {signedNumber(settings.Level), signedNumber(settings.AnswerMode), signedNumber(settings.Repeats),
                        signedNumber(settings.Penalty), signedNumber(settings.MaxRepeats),
                        signedNumber(halfAnswer ? 1 : 0)});
}
