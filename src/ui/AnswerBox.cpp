#include "ui/AnswerBox.h"

#include <QKeyEvent>

namespace {

// Ctrl, with or without Shift. Ctrl+Alt is AltGr on Windows, which types the letters of the
// keyboard's third level, so it does not count.
bool isControlChord(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier) &&
           !modifiers.testFlag(Qt::MetaModifier);
}

bool isFirstLetterKey(const QKeyEvent& event) {
    return isControlChord(event) && event.key() == Qt::Key_Y;
}

} // namespace

AnswerBox::AnswerBox(QWidget* parent) : QLineEdit(parent) {}

void AnswerBox::insertCharacter(QChar character) {
    insert(QString(character));
}

QChar AnswerBox::germanLetter(const QKeyEvent& event) {
    if (!isControlChord(event))
        return {};
    switch (event.key()) {
    case Qt::Key_S:
        return u'ß';
    case Qt::Key_A:
        return u'ä';
    case Qt::Key_O:
        return u'ö';
    case Qt::Key_U:
        return u'ü';
    case Qt::Key_Q:
        return u'\'';
    default:
        return {};
    }
}

QString AnswerBox::typedText(const QKeyEvent& event) {
    if (const QChar letter = germanLetter(event); !letter.isNull())
        return QString(letter);
    // Platforms disagree on the text of a Ctrl key ("a" or "\x01"); neither is typing.
    if (isControlChord(event))
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
    // The line edit claims Ctrl+A (select all) and friends before they reach keyPressEvent, and a
    // default button or shortcut elsewhere could take Enter: claim the box's own keys first.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (isEnter(key) || !germanLetter(key).isNull() || isFirstLetterKey(key)) {
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
    } else if (const QChar letter = germanLetter(*event); !letter.isNull()) {
        event->accept();
        insertCharacter(letter);
    } else if (isFirstLetterKey(*event)) {
        event->accept();
        Q_EMIT firstLetterRequested();
    } else {
        QLineEdit::keyPressEvent(event);
    }
}
