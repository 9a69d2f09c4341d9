// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Page.h"

#include <QAbstractButton>
#include <QKeyEvent>

Page::Page(PageId id, const QString& caption, QWidget* parent) : QFrame(parent), m_caption(caption) {
    setObjectName(arrayName("Frames", static_cast<int>(pageIndex(id))));
    setFrameShape(QFrame::NoFrame);
}

void Page::setBackButton(QAbstractButton* back) {
    m_back = back;
}

void Page::keyPressEvent(QKeyEvent* event) {
    // The boxes and lists of a page leave Escape to it.
    if (m_back && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        m_back->click();
        return;
    }
    QFrame::keyPressEvent(event);
}
