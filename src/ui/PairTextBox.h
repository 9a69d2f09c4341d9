// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/FileTextBox.h"

// A box for one side of a pair, on one line like every box whose text goes into a file. "*" closes
// each side in a lesson file, so the box never takes it: typed, pasted, dropped or composed, it is
// refused with "Tento znak je zakázán!" and the box keeps the text it had. The Ctrl keys of the answer
// box type German letters here too (LetterKeys).
class PairTextBox : public FileTextBox {
    Q_OBJECT
public:
    explicit PairTextBox(QWidget* parent = nullptr);

    static constexpr QChar kSeparator = u'*';

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void refuse();
    void takeEdit(const QString& text);

    // The text as it was before the last edit, to go back to when an edit brought in "*".
    QString m_accepted;
    int m_acceptedCursor = 0;
};
