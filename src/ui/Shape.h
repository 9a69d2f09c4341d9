// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFrame>

// A rectangle of the designs in one colour: a bar filled whole (a line) or an outline with the
// inside left clear (a shape). It paints itself: a palette or a style sheet per control cost more
// to set up than the rectangle costs to draw.
class Shape : public QFrame {
    Q_OBJECT
public:
    enum class Fill { Whole, Outline };

    explicit Shape(Fill fill, QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    // The outline's width in pixels; a bar is filled whole whatever it is.
    void setOutlineWidth(int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Fill m_fill;
    QColor m_color = Qt::black;
    int m_outlineWidth = 1;
};
