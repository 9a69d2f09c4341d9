// SPDX-License-Identifier: GPL-3.0-or-later
// A test on the largest lesson the program takes (2,000 pairs, every side with alternatives):
// loading it, one answer when a single pair is left to draw, and a whole test answered through
// the pages.
#include "BenchReport.h"

#include "app/MainMenuPage.h"
#include "app/MainWindow.h"
#include "core/AppState.h"
#include "core/TestEngine.h"
#include "store/Cp1250.h"
#include "store/DataDir.h"
#include "testing/ResultsPage.h"
#include "testing/TestPage.h"
#include "testing/TestSetupPage.h"
#include "ui/AnswerBox.h"
#include "ui/HintWindow.h"
#include "ui/MessageBox.h"
#include "ui/Page.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace BenchReport;

namespace {

constexpr int kPairs = WordLists::kMaxPairs;
constexpr int kLoadRounds = 25;
constexpr int kAnswers = 2000;     // timed answers of each kind in the one-pair-left measurement
constexpr int kWarmUpAnswers = 50; // untimed, before them
constexpr int kWholeRounds = 3;
constexpr int kRepeats = 3;
constexpr int kPenalty = 1;
constexpr int kMaxRepeats = 4;
constexpr AnswerMode kBothDirections = AnswerMode::Both; // either side asked, at random
constexpr int kWrongEvery = 997;                         // a few wrong answers in a whole test, on varied pairs
constexpr quint64 kSeed = 20260314;
const QString kLessonPath = QStringLiteral("units\\2_1.mum");
const QString kTextbook = QStringLiteral("Němčina");
const QString kLesson = QStringLiteral("Zvířata a ulice");
const QString kAllPairsQuestion = QStringLiteral("Chcete vybrat všechna slovíčka z lekce ke zkoušení?");
const QString kWrongAnswer = QStringLiteral("falsch");

// Sides with alternatives and the letters that need Windows-1250; each pair gets its own number.
struct Theme {
    const char* foreign;
    const char* czech;
};
constexpr Theme kThemes[] = {
    {"der Hund+der Rüde+das Tier", "pes+pejsek+čokl"},
    {"die Straße+die Gasse+der Weg", "ulice+ulička+cesta"},
    {"das Mädchen+die Maid", "dívka+děvče+holka"},
    {"schön+hübsch+fesch", "krásný+hezký+pěkný"},
    {"grüßen+begrüßen", "zdravit+pozdravit"},
    {"die Tür+das Tor", "dveře+brána+vrata"},
    {"über+oberhalb", "přes+nad"},
    {"der Bär+der Petz", "medvěd+míša+brumla"},
};

QStringList s_unexpectedBoxes;

// Every box the benchmark meets is the question whether to test all pairs; anything else is noted.
MessageBox::Answer answerMessageBox(const MessageBox::Request& request) {
    if (request.text == kAllPairsQuestion)
        return MessageBox::Answer::Yes;
    s_unexpectedBoxes.append(request.text);
    return request.buttons == MessageBox::Buttons::YesNo ? MessageBox::Answer::No : MessageBox::Answer::Ok;
}

void checkNoBoxes(const QString& where) {
    warnUnless(s_unexpectedBoxes.isEmpty(),
               where + QStringLiteral(" showed a message box: ") + s_unexpectedBoxes.join(QStringLiteral(" | ")));
    s_unexpectedBoxes.clear();
}

QString side(const char* alternatives, int number) {
    QStringList numbered;
    for (const QString& word : QString::fromUtf8(alternatives).split(u'+'))
        numbered.append(word + u' ' + QString::number(number));
    return numbered.join(u'+');
}

QString pairLine(int number) {
    const Theme& theme = kThemes[number % std::size(kThemes)];
    return side(theme.foreign, number) + u'*' + side(theme.czech, number) + u'*';
}

void writeLines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bool ok = false;
        bytes += Cp1250::encode(line, &ok) + "\r\n";
        if (!ok)
            qFatal("not in Windows-1250: %s", qPrintable(line));
    }
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Textbook 2, its lesson 1 with 2,000 pairs, and settings that open no companion window.
void makeDataDir(const QString& root) {
    QStringList lesson;
    for (int number = 1; number <= kPairs; ++number)
        lesson.append(pairLine(number));
    writeLines(root + QStringLiteral("/units/2_1.mum"), lesson);
    writeLines(root + QStringLiteral("/units/2_1T.mum"), {kLesson});
    writeLines(root + QStringLiteral("/books/2.mum"), {kTextbook});
    writeLines(root + QStringLiteral("/me.cfg"), {QStringLiteral(" 0"), QStringLiteral(" 0")});
}

// ---- 1. Loading the lesson ----

// The least any loading does: the bytes read, decoded and cut into lines.
QStringList readPlain(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    const QString text = Cp1250::decode(file.readAll());
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype end = text.indexOf(u"\r\n"); end >= 0; end = text.indexOf(u"\r\n", start)) {
        lines.append(text.mid(start, end - start));
        start = end + 2;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QStringList readLesson(const DataDir& dir) {
    const FileLines file = dir.readLines(kLessonPath);
    if (!file.status.ok())
        qFatal("cannot read the lesson: %s", qPrintable(file.status.message()));
    QStringList lines;
    for (const QString& line : file.lines) {
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

// What the start of a test does with a lesson when all its pairs are tested.
void loadLesson(const DataDir& dir, WordLists& words) {
    const QStringList lines = readLesson(dir);
    words.clear();
    for (const QString& line : lines)
        words.addPairLine(line);
}

void checkLoaded(const WordLists& words) {
    warnUnless(words.pairCount() == kPairs && words.foreignCount(1) == 3 && words.czechCount(kPairs) == 3 &&
                   words.foreignAlternative(1, 1) == QStringLiteral("die Straße 1") &&
                   words.czechAlternative(1, 3) == QStringLiteral("cesta 1") &&
                   words.foreignAlternative(kPairs, 2) == QStringLiteral("der Rüde 2000"),
               QStringLiteral("the lesson did not load as 2,000 pairs of three alternatives"));
}

QStringList benchLoading(const DataDir& dir) {
    const QString path = dir.root() + QStringLiteral("/units/2_1.mum");
    WordLists words;
    loadLesson(dir, words);
    checkLoaded(words);
    warnUnless(readPlain(path).size() == kPairs, QStringLiteral("the plain read did not give 2,000 lines"));

    // The parts of the loading take turns within each round, so that a slow spell hits all of them.
    const std::function<void()> parts[] = {
        [&] { readPlain(path); },
        [&] { dir.readLines(kLessonPath); },
        [&] { readLesson(dir); },
        [&] { loadLesson(dir, words); },
    };
    const QString names[] = {
        QStringLiteral("QFile::readAll + Cp1250::decode + split at CR LF (baseline)"),
        QStringLiteral("DataDir::readLines"),
        QStringLiteral("DataDir::readLines + skipping empty lines"),
        QStringLiteral("+ WordLists::clear + addPairLine x 2,000 (subject)"),
    };
    constexpr size_t kParts = std::size(parts);
    std::vector<std::vector<Sample>> samples(kParts);
    for (int round = 0; round <= kLoadRounds; ++round) {
        for (size_t i = 0; i < kParts; ++i) {
            const size_t at = round % 2 ? kParts - 1 - i : i;
            const Sample t = measure(parts[at]);
            if (round > 0) // round 0 warms up
                samples[at].push_back(t);
        }
    }
    checkLoaded(words);

    const double baseMs = median(samples.front()).cpuMs;
    Table detail({QStringLiteral("part of loading the 2,000-pair lesson"), QStringLiteral("CPU time"),
                  QStringLiteral("vs baseline")});
    for (size_t i = 0; i < kParts; ++i) {
        const double partMs = median(samples[i]).cpuMs;
        detail.addRow({names[i], ms(partMs), times(baseMs > 0 ? partMs / baseMs : 0)});
    }
    detail.print(QStringLiteral("1 loading the lesson (CPU time, medians of %1 rounds)").arg(kLoadRounds));

    Comparison c;
    c.baseline = median(samples.front());
    c.subject = median(samples.back());
    return ratioRow(QStringLiteral("1 loading 2,000 pairs (vs reading and decoding the file)"), c, 2.0);
}

// ---- 2. One answer with a single pair left ----

QString us(double milliseconds) {
    return QString::number(milliseconds * 1000, 'f', milliseconds < 0.01 ? 2 : 1) + QStringLiteral(" us");
}

double percentile(std::vector<double> values, double share) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(std::ceil(share * static_cast<double>(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

struct Spread {
    double median = 0;
    double p99 = 0;
    double max = 0;
};

Spread spread(const std::vector<Sample>& samples, bool wall) {
    std::vector<double> values;
    for (const Sample& sample : samples)
        values.push_back(wall ? sample.wallMs : sample.cpuMs);
    return {median(values), percentile(values, 0.99),
            values.empty() ? 0 : *std::max_element(values.begin(), values.end())};
}

// One row of answers: the goal, when there is one, is on the CPU median.
QStringList answerRow(const QString& what, const std::vector<Sample>& samples, double goalMs = 0) {
    const Spread cpu = spread(samples, false);
    const Spread wall = spread(samples, true);
    return {what,
            QString::number(samples.size()),
            us(cpu.median),
            us(cpu.p99),
            us(cpu.max),
            us(wall.median),
            us(wall.p99),
            goalMs > 0 ? QStringLiteral("< ") + ms(goalMs) : QStringLiteral("-"),
            goalMs > 0 ? verdict(cpu.median < goalMs) : QStringLiteral("(info)")};
}

Comparison medians(const std::vector<Sample>& baseline, const std::vector<Sample>& subject) {
    Comparison c;
    c.baseline = median(baseline);
    c.subject = median(subject);
    return c;
}

std::vector<Sample> sum(const std::vector<Sample>& a, const std::vector<Sample>& b) {
    std::vector<Sample> total;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        total.push_back({a[i].cpuMs + b[i].cpuMs, a[i].wallMs + b[i].wallMs});
    return total;
}

struct Question {
    int pair = 0;
    TestEngine::Direction direction = TestEngine::Direction::CzechShown;
};

QString expectedAnswer(const WordLists& words, const Question& question) {
    return TestEngine::expectedAlternatives(words, question.pair, question.direction).first();
}

// What the test page's OK asks of the engine for a right answer: the judgement and the next question.
bool judgeAndDraw(const WordLists& words, Question& question, const QString& typed, RandomSource& random) {
    const QStringList expected = TestEngine::expectedAlternatives(words, question.pair, question.direction);
    const bool right = TestEngine::isRight(typed, expected, false);
    question.pair = TestEngine::drawPair(words, random);
    question.direction = TestEngine::drawDirection(kBothDirections, random);
    return right;
}

// The words of a running test with the given pairs still to be asked (pair numbers from 1).
struct RunningTest {
    RunningTest(const DataDir& dir, int firstLeft, int lastLeft) {
        loadLesson(dir, words);
        for (int pair = 1; pair <= words.pairCount(); ++pair)
            words.setRemaining(pair, pair >= firstLeft && pair <= lastLeft ? 1 : 0);
        random.seed(kSeed);
        question = {TestEngine::drawPair(words, random), TestEngine::drawDirection(kBothDirections, random)};
    }
    Sample answer(int& wrong) {
        const QString typed = expectedAnswer(words, question);
        bool right = false;
        const Sample elapsed = measure([&] { right = judgeAndDraw(words, question, typed, random); });
        wrong += right ? 0 : 1;
        return elapsed;
    }

    WordLists words;
    MersenneRandom random;
    Question question;
};

// The engine alone: the answers with every pair left and with one left take turns.
QStringList benchEngineAnswer(const DataDir& dir, Table& detail) {
    constexpr int kLastLeft = 1234;
    RunningTest all(dir, 1, kPairs);
    RunningTest one(dir, kLastLeft, kLastLeft);
    int wrong = 0;
    for (int i = 0; i < kWarmUpAnswers; ++i) {
        all.answer(wrong);
        one.answer(wrong);
    }
    std::vector<Sample> allTimes;
    std::vector<Sample> oneTimes;
    for (int i = 0; i < kAnswers; ++i) {
        if (i % 2) {
            oneTimes.push_back(one.answer(wrong));
            allTimes.push_back(all.answer(wrong));
        } else {
            allTimes.push_back(all.answer(wrong));
            oneTimes.push_back(one.answer(wrong));
        }
    }
    warnUnless(wrong == 0 && one.question.pair == kLastLeft,
               QStringLiteral("the engine judged a right answer wrong or drew a finished pair"));

    std::vector<Sample> clockTimes;
    for (int i = 0; i < kAnswers; ++i)
        clockTimes.push_back(measure([] {}));

    detail.addRow(answerRow(QStringLiteral("engine, all 2,000 pairs left"), allTimes));
    detail.addRow(answerRow(QStringLiteral("engine, 1 of 2,000 pairs left"), oneTimes, 1.0));
    detail.addRow(answerRow(QStringLiteral("(the stopwatch alone)"), clockTimes));
    return infoRow(QStringLiteral("2 engine answer, 1 pair left (vs all 2,000 left)"), medians(allTimes, oneTimes));
}

// The program on the bench's data directory, started to the main menu.
struct Program {
    explicit Program(const QString& root) : dir(root), state(dir, random, clock), window(state) {
        window.start();
        window.F1Tmr_Timer();
    }

    TestSetupPage& setup() const { return *window.testPages().setup; }
    TestPage& test() const { return *window.testPages().test; }
    bool shows(PageId page) const { return !window.page(page)->isHidden(); }
    template <class T> T* control(const char* name) const {
        auto* widget = window.findChild<T*>(QString::fromUtf8(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QString label(const char* name) const { return control<QLabel>(name)->text(); }
    Question question() const { return {state.test.pair(), state.test.direction()}; }

    DataDir dir;
    MersenneRandom random;
    SystemClock clock;
    AppState state;
    MainWindow window;
};

void choose(Program& program, int index, const QString& text) {
    auto* combo = program.control<QComboBox>(index == 0 ? "F2Cmbbx(0)" : "F2Cmbbx(1)");
    combo->setCurrentIndex(combo->findText(text));
    program.setup().F2Cmbbx_Click(index);
}

// From wherever the program is to the setup page, filled in for a test of the bench's lesson.
void fillSetupPage(Program& program, int repeats) {
    Q_EMIT program.window.mainMenu()->testChosen();
    choose(program, 0, kTextbook);
    choose(program, 1, kLesson);
    program.control<QRadioButton>("F2OptUZ(1)")->setChecked(true);
    program.control<QRadioButton>("F2OptRO(2)")->setChecked(true);
    // The maximum goes out of the way first, so that no order of the three trips a check.
    program.control<QLineEdit>("F2TxtMax")->setText(QStringLiteral("99"));
    program.control<QLineEdit>("F2TxtChyb")->setText(QString::number(kPenalty));
    program.control<QLineEdit>("F2TxtSl")->setText(QString::number(repeats));
    program.control<QLineEdit>("F2TxtMax")->setText(QString::number(kMaxRepeats));
    program.random.seed(kSeed);
}

struct PageAnswer {
    Sample answer; // F5CmdOK_Click
    Sample paint;  // the repaint it asks for
};

PageAnswer answerOnPage(Program& program) {
    program.test().answerBox()->setText(expectedAnswer(program.state.test.words(), program.question()));
    PageAnswer times;
    times.answer = measure([&] { program.test().F5CmdOK_Click(); });
    times.paint = measure([] { QCoreApplication::processEvents(); });
    return times;
}

// Through the real test page: a test of each pair once, answered right down to its last pair.
// The answers while more than half the pairs were left serve as the baseline; they come first
// rather than in turns, so that ratio is a rough one.
QStringList benchPageAnswer(const QString& root, Table& detail) {
    Program program(root);
    fillSetupPage(program, 1);
    program.setup().F2CmdOk_Click();
    warnUnless(program.shows(PageId::Test) && program.state.test.words().pairCount() == kPairs,
               QStringLiteral("the test did not start on the 2,000 pairs"));
    std::vector<Sample> early;
    for (int left = kPairs; left > 1 && program.shows(PageId::Test); --left) {
        const PageAnswer answered = answerOnPage(program);
        if (left > kPairs / 2)
            early.push_back(answered.answer);
    }
    warnUnless(program.label("F5LblZbyva") == QStringLiteral("1") && program.state.test.remaining() == 1,
               QStringLiteral("the page did not come down to one pair left"));

    // The last pair must not run out while it is measured: it needs more answers, as after a
    // wrong answer.
    const int extra = kWarmUpAnswers + kAnswers;
    program.state.test.addRepetitions(program.state.test.pair(), extra);
    const int lastPair = program.state.test.pair();
    for (int i = 0; i < kWarmUpAnswers; ++i)
        answerOnPage(program);
    std::vector<Sample> last;
    std::vector<Sample> lastPaint;
    for (int i = 0; i < kAnswers; ++i) {
        const PageAnswer answered = answerOnPage(program);
        last.push_back(answered.answer);
        lastPaint.push_back(answered.paint);
    }
    warnUnless(program.shows(PageId::Test) && program.state.test.pair() == lastPair &&
                   program.label("F5LblSpravne") == QString::number(kPairs - 1 + extra) &&
                   program.label("F5LblSpatne") == QStringLiteral("0") &&
                   program.label("F5LblZbyva") == QStringLiteral("1"),
               QStringLiteral("the page did not count every answer right"));

    detail.addRow(answerRow(QStringLiteral("page F5CmdOK_Click, 2,000 to 1,001 pairs left"), early));
    detail.addRow(answerRow(QStringLiteral("page F5CmdOK_Click, 1 of 2,000 pairs left"), last, 1.0));
    detail.addRow(answerRow(QStringLiteral("page, the repaint after it (processEvents)"), lastPaint));
    detail.addRow(answerRow(QStringLiteral("page, answer + repaint, 1 pair left"), sum(last, lastPaint)));
    return infoRow(QStringLiteral("2 page answer, 1 pair left (vs 2,000..1,001 left)"), medians(early, last));
}

// ---- 3. A whole test through the pages ----

struct Outcome {
    int answers = 0;
    int wrong = 0;
};

bool answersWrong(const Outcome& outcome) {
    return outcome.answers % kWrongEvery == 0;
}

// The same test in the engine alone: same lesson, same draws, same answers.
Sample engineWholeTest(const DataDir& dir, WordLists& words, RandomSource& random, Outcome& outcome) {
    random.seed(kSeed);
    outcome = {};
    const Stopwatch stopwatch;
    loadLesson(dir, words);
    words.setAllRemaining(kRepeats);
    qint64 left = qint64(kRepeats) * words.pairCount();
    Question question{TestEngine::drawPair(words, random), TestEngine::drawDirection(kBothDirections, random)};
    while (left != 0) {
        ++outcome.answers;
        const QStringList expected = TestEngine::expectedAlternatives(words, question.pair, question.direction);
        const int remaining = words.remaining(question.pair);
        if (TestEngine::isRight(answersWrong(outcome) ? kWrongAnswer : expected.first(), expected, false)) {
            words.setRemaining(question.pair, remaining - 1);
            left -= 1;
        } else {
            ++outcome.wrong;
            const int rise = TestEngine::penaltyRise(remaining, kPenalty, kMaxRepeats);
            words.setRemaining(question.pair, remaining + rise);
            left += rise;
        }
        if (left != 0)
            question = {TestEngine::drawPair(words, random), TestEngine::drawDirection(kBothDirections, random)};
    }
    return stopwatch.elapsed();
}

// From the setup page's OK to the results page shown; the setup page is filled in untimed.
Sample pageWholeTest(Program& program, Outcome& outcome) {
    constexpr int kGiveUp = 100 * kPairs;
    fillSetupPage(program, kRepeats);
    QCoreApplication::processEvents();
    outcome = {};
    const Stopwatch stopwatch;
    program.setup().F2CmdOk_Click();
    while (program.shows(PageId::Test) && outcome.answers < kGiveUp) {
        ++outcome.answers;
        const bool wrong = answersWrong(outcome);
        outcome.wrong += wrong ? 1 : 0;
        program.test().answerBox()->setText(wrong ? kWrongAnswer
                                                  : expectedAnswer(program.state.test.words(), program.question()));
        program.test().F5CmdOK_Click();
    }
    QCoreApplication::processEvents();
    return stopwatch.elapsed();
}

QString perAnswer(const Sample& sample, const Outcome& outcome) {
    return outcome.answers > 0 ? us(sample.cpuMs / outcome.answers) : QStringLiteral("-");
}

QStringList benchWholeTest(const QString& root, const DataDir& dir) {
    Program program(root);
    WordLists words;
    MersenneRandom random;
    Outcome engine;
    Outcome page;
    int feedbackShown = 0;
    HintWindow::setShowHook([&feedbackShown](HintWindow& window) {
        ++feedbackShown;
        window.CmdOK_Click();
    });
    const Comparison c = compareAlternating(
        kWholeRounds, [&] { return engineWholeTest(dir, words, random, engine); },
        [&] { return pageWholeTest(program, page); });
    HintWindow::setShowHook({});

    const int rounds = kWholeRounds + 1;
    const QString expectedTotal = QString::number(kRepeats * kPairs);
    warnUnless(program.shows(PageId::Results) && program.label("F6LblCelkem") == expectedTotal &&
                   program.label("F6LblSpravne") == QString::number(page.answers - page.wrong) &&
                   program.label("F6LblSpatne") == QString::number(page.wrong),
               QStringLiteral("the test did not end on the results page with every answer counted"));
    warnUnless(page.wrong > 0 && feedbackShown == rounds * page.wrong,
               QStringLiteral("the wrong answers did not each show the feedback window"));
    warnUnless(engine.answers == page.answers && engine.wrong == page.wrong,
               QStringLiteral("the engine's test (%1 answers) differs from the page's (%2)")
                   .arg(engine.answers)
                   .arg(page.answers));

    Table detail({QStringLiteral("whole test, %1 pairs x %2").arg(kPairs).arg(kRepeats), QStringLiteral("answers"),
                  QStringLiteral("wrong"), QStringLiteral("CPU total"), QStringLiteral("per answer"),
                  QStringLiteral("wall total"), QStringLiteral("first run (CPU)")});
    detail.addRow({QStringLiteral("engine alone, load included (baseline)"), QString::number(engine.answers),
                   QString::number(engine.wrong), ms(c.baseline.cpuMs), perAnswer(c.baseline, engine),
                   ms(c.baseline.wallMs), ms(c.firstBaseline.cpuMs)});
    detail.addRow({QStringLiteral("pages: setup OK .. results page shown"), QString::number(page.answers),
                   QString::number(page.wrong), ms(c.subject.cpuMs), perAnswer(c.subject, page), ms(c.subject.wallMs),
                   ms(c.firstSubject.cpuMs)});
    detail.print(QStringLiteral("3 a whole test answered through the pages (medians of %1 alternating rounds after a "
                                "warm-up; no repaint between answers)")
                     .arg(kWholeRounds));
    return infoRow(QStringLiteral("3 whole test, %1 answers, pages (vs engine alone)").arg(page.answers), c);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    QTemporaryDir temp;
    if (!temp.isValid())
        qFatal("no temporary directory: %s", qPrintable(temp.errorString()));
    makeDataDir(temp.path());
    const DataDir dir(temp.path());
    MessageBox::setHandler(answerMessageBox);

    Table summary(ratioHeader());
    summary.addRow(benchLoading(dir));

    Table answers({QStringLiteral("one answer (judge + next draw)"), QStringLiteral("answers"),
                   QStringLiteral("CPU median"), QStringLiteral("CPU p99"), QStringLiteral("CPU max"),
                   QStringLiteral("wall median"), QStringLiteral("wall p99"), QStringLiteral("goal"), QString()});
    summary.addRow(benchEngineAnswer(dir, answers));
    summary.addRow(benchPageAnswer(temp.path(), answers));
    answers.print(QStringLiteral("2 one answer on the 2,000-pair lesson (per answer; goal on the CPU median)"));
    checkNoBoxes(QStringLiteral("the one-answer measurement"));

    summary.addRow(benchWholeTest(temp.path(), dir));
    checkNoBoxes(QStringLiteral("the whole test"));

    summary.print(QStringLiteral("bench_test (CPU time, medians; ratio = subject / baseline)"));
    MessageBox::setHandler({});
    return 0;
}
