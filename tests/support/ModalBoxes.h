#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

// What a real message box showed before the test answered it.
struct SeenBox {
    bool seen = false;
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString yes; // the captions of the Yes and No buttons, empty when the box has none
    QString no;
    qsizetype buttonCount = 0;
};

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

// Answers the next modal message box with that button, after noting what it showed.
inline void answerNextBox(QMessageBox::StandardButton answer, const std::shared_ptr<SeenBox>& seen) {
    answerNextWindow<QMessageBox>([=](QMessageBox& box) {
        auto captionOf = [&box](QMessageBox::StandardButton which) {
            return box.button(which) ? box.button(which)->text() : QString();
        };
        seen->seen = true;
        seen->text = box.text();
        seen->title = box.windowTitle();
        seen->icon = box.icon();
        seen->yes = captionOf(QMessageBox::Yes);
        seen->no = captionOf(QMessageBox::No);
        seen->buttonCount = box.buttons().size();
        if (QAbstractButton* button = box.button(answer))
            button->click();
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
