#include "ui/Page.h"

#include <QAbstractButton>
#include <QKeyEvent>

Page::Page(int index, const QString& caption, QWidget* parent) : QFrame(parent), m_index(index), m_caption(caption) {
    setObjectName(arrayName("Frames", index));
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
