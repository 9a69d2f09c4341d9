// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// The answer box of the test page (F5TxtJaz2). Enter answers; the Ctrl keys of LetterKeys type German
// letters; Ctrl+Y asks for the first-letter hint. The box takes these keys before the line edit's own
// shortcuts (select all, undo, ...) can.
class AnswerBox : public QLineEdit {
    Q_OBJECT
public:
    explicit AnswerBox(QWidget* parent = nullptr);

    // Replaces the selection by the character, or puts it at the caret.
    void insertCharacter(QChar character);

    // What a key types into an answer: its German letter, or else its printable text. Other Ctrl
    // keys and control codes type nothing.
    static QString typedText(const QKeyEvent& event);
    // Enter or Return without Ctrl, Alt or Meta: the key that hands an answer in.
    static bool isEnter(const QKeyEvent& event);

Q_SIGNALS:
    void enterPressed();
    void firstLetterRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
