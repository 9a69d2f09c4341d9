// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a user does to the windows in a test: click named controls, type text (Czech letters
// included), pick in a combo box. Pictures of the windows come from tools/shots.cpp, not from tests.

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QWidget>

// The control of that objectName below root; a test that names a missing control stops there.
template <class T = QWidget> T* control(const QObject* root, const QString& name) {
    T* found = root->findChild<T*>(name);
    if (!found)
        qFatal("no control named %s of the expected class", qPrintable(name));
    return found;
}

// A left click as the mouse gives it: in the middle of a control, on the indicator of an option or
// a check box (they take clicks on their indicator and caption only, not on the free width).
inline void click(QWidget* widget) {
    const auto* button = qobject_cast<QAbstractButton*>(widget);
    const bool indicator = button && button->isCheckable() && !qobject_cast<QPushButton*>(widget);
    const QPoint at = indicator ? QPoint(6, widget->height() / 2) : widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
}
inline void click(const QObject* root, const QString& name) {
    click(control(root, name));
}

// A double-click at a point of a widget, as the window system delivers it: press, release, press,
// double-click, release (QTest::mouseDClick sends the double-click alone).
inline void doubleClick(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(widget, &dbl);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at);
}

// Types text key by key; QTest::keyClicks takes ASCII only, so each character goes in its own event.
inline void type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}
// Types over the whole text of a box, as a user does: select all, then type (or delete).
inline void retype(QWidget* box, const QString& text) {
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_End, Qt::ShiftModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        type(box, text);
}

// Picks an item of a combo box with the arrow keys, each step chosen as the user chooses it.
inline bool choose(QComboBox* combo, const QString& item) {
    const int target = combo->findText(item);
    if (target < 0)
        return false;
    while (combo->currentIndex() != target)
        QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    return true;
}
