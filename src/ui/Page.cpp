#include "ui/Page.h"

Page::Page(int index, const QString& caption, QWidget* parent) : QFrame(parent), m_index(index), m_caption(caption) {
    setObjectName(arrayName("Frames", index));
    setFrameShape(QFrame::NoFrame);
}
