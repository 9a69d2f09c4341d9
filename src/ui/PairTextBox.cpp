// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PairTextBox.h"

#include "ui/LetterKeys.h"
#include "ui/MessageBox.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

PairTextBox::PairTextBox(QWidget* parent) : FileTextBox(parent) {
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.contains(kSeparator)) {
            m_accepted = text;
            m_acceptedCursor = cursorPosition();
        }
    });
    connect(this, &QLineEdit::cursorPositionChanged, this, [this](int, int now) {
        if (text() == m_accepted)
            m_acceptedCursor = now;
    });
    // Paste by keys or menu, drops and the middle button end here, after the box changed.
    connect(this, &QLineEdit::textEdited, this, &PairTextBox::takeEdit);
}

bool PairTextBox::event(QEvent* event) {
    return LetterKeys::take(*this, event) || FileTextBox::event(event);
}

void PairTextBox::keyPressEvent(QKeyEvent* event) {
    if (event->text().contains(kSeparator)) {
        event->accept();
        refuse();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void PairTextBox::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().contains(kSeparator)) {
        event->accept();
        refuse();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void PairTextBox::takeEdit(const QString& text) {
    if (!text.contains(kSeparator))
        return;
    setText(m_accepted);
    setCursorPosition(m_acceptedCursor);
    refuse();
}

void PairTextBox::refuse() {
    MessageBox::tell(window(), QStringLiteral("Tento znak je zakázán!"), MessageBox::Icon::Critical);
}
