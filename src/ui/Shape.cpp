// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Shape.h"

#include <QPainter>

#include <algorithm>

Shape::Shape(Fill fill, QWidget* parent) : QFrame(parent), m_fill(fill) {}

void Shape::setColor(const QColor& color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void Shape::setOutlineWidth(int width) {
    if (width == m_outlineWidth)
        return;
    m_outlineWidth = width;
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    const int w = std::min({m_outlineWidth, r.width(), r.height()});
    if (m_fill == Fill::Whole || 2 * w >= r.width() || 2 * w >= r.height()) {
        painter.fillRect(r, m_color);
        return;
    }
    painter.fillRect(QRect(r.left(), r.top(), r.width(), w), m_color);
    painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), m_color);
    painter.fillRect(QRect(r.left(), r.top() + w, w, r.height() - 2 * w), m_color);
    painter.fillRect(QRect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w), m_color);
}
