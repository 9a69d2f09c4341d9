// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LetterKeys.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace LetterKeys {

bool isControlChord(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier) &&
           !modifiers.testFlag(Qt::MetaModifier);
}

QChar letter(const QKeyEvent& event) {
    if (!isControlChord(event))
        return {};
    const bool capital = event.modifiers().testFlag(Qt::ShiftModifier);
    switch (event.key()) {
    case Qt::Key_S:
        return u'ß';
    case Qt::Key_A:
        return capital ? u'Ä' : u'ä';
    case Qt::Key_O:
        return capital ? u'Ö' : u'ö';
    case Qt::Key_U:
        return capital ? u'Ü' : u'ü';
    case Qt::Key_Q:
        return u'\'';
    default:
        return {};
    }
}

bool take(QLineEdit& box, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const QChar typed = letter(static_cast<const QKeyEvent&>(*event));
    if (typed.isNull())
        return false;
    event->accept();
    if (event->type() == QEvent::KeyPress && !box.isReadOnly())
        box.insert(QString(typed));
    return true;
}

} // namespace LetterKeys
