// SPDX-License-Identifier: GPL-3.0-or-later
#include "Hints.h"

#include "core/TestSession.h"
#include "store/TextRoutines.h"
#include "ui/HintWindow.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <array>

namespace Hints {

namespace {

QString dashes(qsizetype count) {
    return QString(std::max<qsizetype>(0, count), u'-');
}

HintWindow* loadHintWindow(const Context& context, const QString& heading) {
    auto* window = new HintWindow(context.parent, &context.session, context.answer);
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
int drawOtherPair(const Context& context, const std::array<int, HintWindow::kOptionCount>& taken) {
    const TestSession& session = context.session;
    int cand = 0;
    do {
        cand = static_cast<int>(context.random.next() * session.pairCount()) + 1;
    } while (cand == session.pair() || std::find(taken.begin(), taken.end(), cand) != taken.end());
    return cand;
}

} // namespace

void firstLetter(const Context& context) {
    const QString sought = context.session.soughtWord(context.session.pair());
    // An empty sought word has no first letter: the sentence and the mask stay without one.
    const QString first = sought.left(1);
    HintWindow* window = loadHintWindow(context, QStringLiteral("První písmeno"));
    context.session.noteHint(HintKind::FirstLetter, first);
    showLetterMask(window, QStringLiteral("Hledané slovo začíná písmenem ") + first + u'.',
                   first + dashes(sought.size() - 1));
}

void wordLength(const Context& context) {
    context.session.noteHint(HintKind::WordLength);
    const QString sought = context.session.soughtWord(context.session.pair());
    HintWindow* window = loadHintWindow(context, QStringLiteral("Délka slova"));
    showLetterMask(window,
                   QStringLiteral("Hledané slovo má celkem ") + signedNumber(double(sought.size())) +
                       QStringLiteral(" znaků"),
                   dashes(sought.size()));
}

void fiveOptions(const Context& context) {
    TestSession& session = context.session;
    if (session.pairCount() <= 5)
        return;
    session.noteHint(HintKind::FiveOptions, session.hintLetters());
    HintWindow* window = loadHintWindow(context, QStringLiteral("Pět možností"));
    window->showPart(HintWindow::Part::Moznosti);
    std::array<int, HintWindow::kOptionCount> taken{};
    for (int i = 0; i < HintWindow::kOptionCount; ++i) {
        taken[i] = drawOtherPair(context, taken);
        window->setOptionCaption(i, session.soughtWord(taken[i]));
    }
    window->LblSlovo()->setText(context.question ? context.question->text() : QString());
    // The right answer's place: options 2 to 5 when the Czech side is asked, 1 to 4 otherwise.
    const int k = session.direction() == TestEngine::Direction::ForeignShown
                      ? static_cast<int>(context.random.next() * 4) + 1
                      : static_cast<int>(context.random.next() * 4);
    window->setOptionCaption(k, session.soughtWord(session.pair()));
    window->showModal();
}

} // namespace Hints
