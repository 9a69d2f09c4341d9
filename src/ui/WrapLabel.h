// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

class QPainter;

// Text laid out in lines no wider than width, breaking between words and, where one word is wider
// than a line, inside it: the height it needs, and the text drawn at the top or in the middle of
// area (returns where it went).
int wrappedHeight(const QWidget& widget, const QString& text, int width);
QRect drawWrapped(QPainter& painter, const QWidget& widget, const QRect& area, const QString& text, bool centred);

// A label whose text wraps (inside a word where that alone is wider than a line) and that tells the
// height it needs for a width, so that a window can grow to show all of it. Where the label stays
// smaller than its text, the last line that fits ends in "…" and the whole text is its tool tip.
class WrapLabel : public QLabel {
    Q_OBJECT
public:
    explicit WrapLabel(const QString& text, QWidget* parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSizeHint() const override;
    // Whether the whole text fits in the label as it is now.
    bool fitsWhole() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
