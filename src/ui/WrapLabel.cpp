// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WrapLabel.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QTextLayout>
#include <QToolTip>
#include <QtMath>

namespace {

// A layout breaks lines at a line separator only, not at "\n".
QString withBreaks(QString text) {
    return text.replace(u'\n', QChar::LineSeparator);
}

int layOut(QTextLayout& layout, int width) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1, width));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return qCeil(y);
}

} // namespace

int wrappedHeight(const QWidget& widget, const QString& text, int width) {
    QTextLayout layout(withBreaks(text), widget.font(), &widget);
    return layOut(layout, width);
}

QRect drawWrapped(QPainter& painter, const QWidget& widget, const QRect& area, const QString& text, bool centred) {
    QTextLayout layout(withBreaks(text), widget.font(), &widget);
    const int height = layOut(layout, area.width());
    const int top = centred ? area.top() + std::max(0, (area.height() - height) / 2) : area.top();
    layout.draw(&painter, QPointF(area.left(), top));
    return {area.left(), top, qCeil(layout.boundingRect().width()), height};
}

WrapLabel::WrapLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true); // keeps the height-for-width size policy, which a scroll area asks
}

int WrapLabel::heightForWidth(int width) const {
    return wrappedHeight(*this, text(), width);
}

QSize WrapLabel::minimumSizeHint() const {
    return {fontMetrics().maxWidth(), fontMetrics().height()};
}

bool WrapLabel::fitsWhole() const {
    return heightForWidth(width()) <= height();
}

bool WrapLabel::event(QEvent* event) {
    // The tool tip shows what the label had to cut, and nothing when it shows all.
    if (event->type() == QEvent::ToolTip) {
        if (fitsWhole())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        return true;
    }
    return QLabel::event(event);
}

void WrapLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    if (fitsWhole()) {
        drawWrapped(painter, *this, rect(), text(), alignment() & Qt::AlignVCenter);
        return;
    }
    // The lines that fit; the last of them takes the rest of the text, cut with "…".
    QTextLayout layout(withBreaks(text()), font(), this);
    layOut(layout, width());
    const int lineHeight = fontMetrics().height();
    const int shown = std::max(1, height() / lineHeight);
    for (int i = 0; i < shown && i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (i + 1 < shown) {
            line.draw(&painter, QPointF(0, 0));
            continue;
        }
        const QString rest = text().mid(line.textStart()).simplified();
        painter.drawText(QRect(0, qRound(line.y()), width(), lineHeight), Qt::AlignLeft | Qt::AlignTop,
                         fontMetrics().elidedText(rest, Qt::ElideRight, width()));
    }
}
