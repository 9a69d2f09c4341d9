// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

class QLineEdit;
class RandomSource;
class TestSession;
class QWidget;

// The hint and feedback uses of the hint window during a test.
namespace Hints {

// What a hint works on: the test session (the question asked, the word lists, the letters typed
// so far), the random source, and the question and answer boxes of the test page.
struct Context {
    QWidget* parent;
    TestSession& session;
    RandomSource& random;
    const QLineEdit* question; // F5TxtJaz1
    QLineEdit* answer;         // F5TxtJaz2
};

// "První písmeno": the mask starts with the first letter of the sought word.
void firstLetter(const Context& context);
// "Délka slova": the mask has one dash for each letter of the sought word.
void wordLength(const Context& context);
// "Pět možností": five answers to pick from, one of them right; nothing with 5 pairs or fewer.
void fiveOptions(const Context& context);

} // namespace Hints
