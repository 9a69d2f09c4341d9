// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AnswerBox.h"

#include "ui/LetterKeys.h"

#include <QKeyEvent>

namespace {

bool isFirstLetterKey(const QKeyEvent& event) {
    return LetterKeys::isControlChord(event) && event.key() == Qt::Key_Y;
}

} // namespace

AnswerBox::AnswerBox(QWidget* parent) : QLineEdit(parent) {}

void AnswerBox::insertCharacter(QChar character) {
    insert(QString(character));
}

QString AnswerBox::typedText(const QKeyEvent& event) {
    if (const QChar letter = LetterKeys::letter(event); !letter.isNull())
        return QString(letter);
    // Platforms disagree on the text of a Ctrl key ("a" or "\x01"); neither is typing.
    if (LetterKeys::isControlChord(event))
        return {};
    QString typed;
    for (const QChar c : event.text()) {
        if (c.isPrint())
            typed.append(c);
    }
    return typed;
}

bool AnswerBox::isEnter(const QKeyEvent& event) {
    const bool enterKey = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    return enterKey && !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool AnswerBox::event(QEvent* event) {
    if (LetterKeys::take(*this, event))
        return true;
    // The line edit claims Ctrl+A (select all) and friends before they reach keyPressEvent, and a
    // default button or shortcut elsewhere could take Enter: claim the box's own keys first.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (isEnter(key) || isFirstLetterKey(key)) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void AnswerBox::keyPressEvent(QKeyEvent* event) {
    if (isEnter(*event)) {
        event->accept();
        Q_EMIT enterPressed();
    } else if (isFirstLetterKey(*event)) {
        event->accept();
        Q_EMIT firstLetterRequested();
    } else {
        QLineEdit::keyPressEvent(event);
    }
}
