#include "Hints.h"

#include "core/AppState.h"
#include "core/TestEngine.h"
#include "store/TextRoutines.h"
#include "ui/HintWindow.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <array>

namespace Hints {

namespace {

QString soughtWord(const Context& context) {
    return TestEngine::soughtWord(context.state.wordLists, context.state.currentPair, context.state.direction);
}

QString dashes(qsizetype count) {
    return QString(std::max<qsizetype>(0, count), u'-');
}

HintWindow* loadHintWindow(const Context& context, const QString& heading) {
    auto* window = new HintWindow(context.parent, &context.state, context.answer);
    window->LblNadpis()->setText(heading); // in the heading's own red
    return window;
}

// The letter hints: the sentence above the mask and the mask, ready to be typed into.
void showLetterMask(HintWindow* window, const QString& sentence, const QString& mask) {
    window->LblPocetPism()->setText(sentence);
    window->showPart(HintWindow::Part::DelkaSlova);
    window->Pism()->setText(mask);
    window->showModal();
}

// A pair other than the one asked and those already taken, each equally likely.
int drawOtherPair(const AppState& state, const std::array<int, HintWindow::kOptionCount>& taken) {
    int cand = 0;
    do {
        cand = static_cast<int>(state.rng.next() * state.wordLists.PairCount) + 1;
    } while (cand == state.currentPair || std::find(taken.begin(), taken.end(), cand) != taken.end());
    return cand;
}

} // namespace

void firstLetter(const Context& context) {
    const QString sought = soughtWord(context);
    // An empty sought word has no first letter: the sentence and the mask stay without one.
    const QString first = sought.left(1);
    HintWindow* window = loadHintWindow(context, QStringLiteral("První písmeno"));
    context.state.hintLetters = first;
    showLetterMask(window, QStringLiteral("Hledané slovo začíná písmenem ") + first + u'.',
                   first + dashes(sought.size() - 1));
}

void wordLength(const Context& context) {
    context.state.hintLetters.clear();
    const QString sought = soughtWord(context);
    HintWindow* window = loadHintWindow(context, QStringLiteral("Délka slova"));
    showLetterMask(window,
                   QStringLiteral("Hledané slovo má celkem ") + signedNumber(double(sought.size())) +
                       QStringLiteral(" znaků"),
                   dashes(sought.size()));
}

void fiveOptions(const Context& context) {
    const AppState& state = context.state;
    const WordLists& words = state.wordLists;
    if (words.PairCount <= 5)
        return;
    HintWindow* window = loadHintWindow(context, QStringLiteral("Pět možností"));
    window->showPart(HintWindow::Part::Moznosti);
    std::array<int, HintWindow::kOptionCount> taken{};
    for (int i = 0; i < HintWindow::kOptionCount; ++i) {
        taken[i] = drawOtherPair(state, taken);
        window->setOptionCaption(i, TestEngine::soughtWord(words, taken[i], state.direction));
    }
    window->LblSlovo()->setText(context.question ? context.question->text() : QString());
    // The right answer's place: options 2 to 5 when the Czech side is asked, 1 to 4 otherwise.
    const int k = state.direction == TestEngine::kForeignShown ? static_cast<int>(state.rng.next() * 4) + 1
                                                               : static_cast<int>(state.rng.next() * 4);
    window->setOptionCaption(k, TestEngine::soughtWord(words, state.currentPair, state.direction));
    window->showModal();
}

} // namespace Hints
