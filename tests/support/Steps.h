// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One script format for every window test: the steps a user takes, separated by blanks.
//   "Name"       clicks the control of that objectName
//   "Name=text"  types over a box, picks in a combo box or clicks an item of a list ("_" for a blank)
//   "Name:keys"  presses keys on the control, as QKeySequence spells them ("Lst:Down", "Txt:Ctrl+V")
//   "Ano", "Ne"  answers the next question Yes or No (one that nobody answered gets No)
// A window may add steps of its own (`extra`, e.g. "@1" for a page). A step whose control or item
// is missing makes run() false, so that a table row can expect it.

#include "Gui.h"
#include "ScriptedMessages.h"

#include <QComboBox>
#include <QKeySequence>
#include <QListWidget>

#include <functional>

// Clicks the item of a list that shows text, as the user does; false when no item shows it.
inline bool pick(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    if (items.isEmpty())
        return false;
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
    return true;
}

struct Steps {
    std::function<QWidget*(const QString&)> find; // a control by objectName, null when missing
    ScriptedMessages& messages;
    std::function<bool(const QString&)> extra = {}; // true when it took the step

    bool run(const QString& script) {
        for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
            if (!take(step))
                return false;
        }
        return true;
    }
    bool take(const QString& step) {
        if (step == QStringLiteral("Ano") || step == QStringLiteral("Ne")) {
            messages.answer(step == QStringLiteral("Ano") ? MessageBox::Answer::Yes : MessageBox::Answer::No);
            return true;
        }
        if (extra && extra(step))
            return true;
        const qsizetype eq = step.indexOf(u'='), colon = step.indexOf(u':');
        const bool keys = colon >= 0 && (eq < 0 || colon < eq);
        QWidget* target = find(keys ? step.left(colon) : eq < 0 ? step : step.left(eq));
        if (!target)
            return false;
        if (keys) {
            const QKeyCombination key = QKeySequence::fromString(step.mid(colon + 1))[0];
            if (key.toCombined() == 0 || key.key() == Qt::Key_unknown)
                return false;
            QTest::keyClick(target, key.key(), key.keyboardModifiers());
            return true;
        }
        if (eq < 0) {
            click(target);
            return true;
        }
        const QString text = step.mid(eq + 1).replace(u'_', u' ');
        if (auto* combo = qobject_cast<QComboBox*>(target))
            return choose(combo, text);
        if (auto* list = qobject_cast<QListWidget*>(target))
            return pick(list, text);
        retype(target, text);
        return true;
    }
};
