// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

// Acts as the user of the next real modal window (a hint window or a message box) from inside its
// loop, trying again while it is not up. A window the action leaves open is closed, so a failed check
// cannot hang the test; a window that never comes cannot leave the retries acting in a later test.
template <class Window> void answerNextWindow(std::function<void(Window&)> act, int attempts = 50) {
    QTimer::singleShot(0, [=] {
        if (QPointer<Window> window = qobject_cast<Window*>(QApplication::activeModalWidget())) {
            act(*window);
            if (window && window->isVisible())
                window->reject();
        } else if (attempts > 1) {
            answerNextWindow(act, attempts - 1);
        }
    });
}

// For cleanup(): deletes every modal and top-level window still there and names them, so that the
// test that left them fails and the next one starts clean.
inline QStringList deleteLeftoverWindows() {
    while (QWidget* modal = QApplication::activeModalWidget())
        delete modal;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList leftovers;
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        leftovers.append(QString::fromLatin1(window->metaObject()->className()) + u' ' + window->objectName());
        windows.append(window);
    }
    // A window may own another in the list: each is deleted once.
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
    return leftovers;
}
