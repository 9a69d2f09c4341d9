// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Pictures.h"

#include <QFont>
#include <QGlyphRun>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QRadialGradient>
#include <QRawFont>

#include <algorithm>
#include <cmath>

namespace Pictures {

namespace {

const QColor kDeepBlue(18, 52, 120);
const QColor kBlue(40, 96, 190);
const QColor kSky(120, 170, 235);

// The side panels' blue, lighter at the top.
QPixmap blueFromTop(const QSize& size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    QLinearGradient back(0, 0, 0, size.height());
    back.setColorAt(0, kBlue);
    back.setColorAt(1, kDeepBlue);
    p.fillRect(pixmap.rect(), back);
    return pixmap;
}

// The lettering of the pictures. Each size of a font loaded through the font database is matched
// and configured anew, a good part of start-up when the pictures used six sizes of their own; they
// take the two sizes of DejaVu Sans that the main window's captions load anyway (9 pt and 15 pt
// bold at 96 dpi) and derive every other size from them, sharing the loaded face.
QRawFont letteringFont(bool bold, qreal pixelSize) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(bold);
    font.setPixelSize(bold ? 20 : 12);
    QRawFont raw = QRawFont::fromFont(font);
    raw.setPixelSize(pixelSize);
    return raw;
}

// One line of glyphs, the origin at the start of its baseline; its advance in *width.
QGlyphRun lettering(const QRawFont& font, const QString& text, qreal* width) {
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    QList<QPointF> positions;
    qreal x = 0;
    for (const QPointF& advance : font.advancesForGlyphIndexes(glyphs)) {
        positions.append(QPointF(x, 0));
        x += advance.x();
    }
    *width = x;
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    return run;
}

qreal letteringWidth(const QString& text, bool bold, qreal pixelSize) {
    qreal width = 0;
    lettering(letteringFont(bold, pixelSize), text, &width);
    return width;
}

// One line of text in area, placed as QPainter::drawText places it with the same alignment.
void drawLettering(QPainter& p, const QRectF& area, Qt::Alignment alignment, const QString& text, bool bold,
                   qreal pixelSize, const QColor& color) {
    const QRawFont font = letteringFont(bold, pixelSize);
    qreal width = 0;
    const QGlyphRun run = lettering(font, text, &width);
    qreal x = area.left();
    if (alignment & Qt::AlignHCenter)
        x += (area.width() - width) / 2;
    else if (alignment & Qt::AlignRight)
        x = area.right() - width;
    const qreal height = font.ascent() + font.descent();
    const qreal top = alignment & Qt::AlignVCenter ? area.top() + (area.height() - height) / 2 : area.top();
    p.setPen(color);
    p.drawGlyphRun(QPointF(x, top + font.ascent()), run);
}

QPixmap canvas(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// An open book seen from the front, the mark of the logo.
void drawBook(QPainter& p, const QRectF& r, const QColor& paper, const QColor& edge) {
    const qreal mid = r.center().x();
    QPainterPath left;
    left.moveTo(mid, r.top() + r.height() * 0.12);
    left.cubicTo(mid - r.width() * 0.2, r.top(), r.left() + r.width() * 0.1, r.top(), r.left(),
                 r.top() + r.height() * 0.08);
    left.lineTo(r.left(), r.bottom() - r.height() * 0.08);
    left.cubicTo(r.left() + r.width() * 0.1, r.bottom() - r.height() * 0.16, mid - r.width() * 0.2,
                 r.bottom() - r.height() * 0.16, mid, r.bottom());
    left.closeSubpath();
    QTransform mirror;
    mirror.translate(2 * mid, 0);
    mirror.scale(-1, 1);
    const QPainterPath right = mirror.map(left);
    p.setPen(QPen(edge, std::max(1.0, r.width() / 60)));
    p.setBrush(paper);
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(edge.lighter(130), std::max(1.0, r.width() / 110)));
    for (int i = 1; i <= 3; ++i) {
        const qreal y = r.top() + r.height() * (0.25 + 0.17 * i);
        p.drawLine(QPointF(r.left() + r.width() * 0.08, y), QPointF(mid - r.width() * 0.08, y + r.height() * 0.04));
        p.drawLine(QPointF(mid + r.width() * 0.08, y + r.height() * 0.04), QPointF(r.right() - r.width() * 0.08, y));
    }
}

// A pencil from its point at `tip` towards `angle` degrees (0 is to the right, positive turns clockwise),
// each part shaded as if lit from above.
void drawPencil(QPainter& p, const QPointF& tip, qreal angle, qreal length, qreal width) {
    p.save();
    p.translate(tip);
    p.rotate(angle);
    const qreal h = width / 2;
    const qreal cone = width * 1.5;
    const qreal lead = cone * 0.36;
    const qreal eraser = width * 0.95;
    const qreal ferrule = width * 0.75;
    const qreal bodyEnd = length - eraser - ferrule;
    const QPen outline(QColor(90, 60, 20, 200), std::max(0.6, width / 10));

    auto across = [&](const QColor& light, const QColor& mid, const QColor& dark) {
        QLinearGradient g(0, -h, 0, h);
        g.setColorAt(0, light);
        g.setColorAt(0.45, mid);
        g.setColorAt(1, dark);
        return g;
    };

    // the sharpened wood, then the lead at its point
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(cone, -h);
    wood.lineTo(cone, h);
    wood.closeSubpath();
    p.setPen(outline);
    p.setBrush(across(QColor(250, 228, 190), QColor(236, 200, 150), QColor(200, 160, 110)));
    p.drawPath(wood);
    QPainterPath point;
    point.moveTo(0, 0);
    point.lineTo(lead, -h * lead / cone);
    point.lineTo(lead, h * lead / cone);
    point.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 70));
    p.drawPath(point);

    p.setPen(outline);
    p.setBrush(across(QColor(255, 220, 110), QColor(255, 184, 40), QColor(205, 120, 20)));
    p.drawRect(QRectF(cone, -h, bodyEnd - cone, width));
    // the edges between the faces of a hexagonal pencil
    p.setPen(QPen(QColor(190, 110, 10, 110), std::max(0.5, width / 14)));
    p.drawLine(QPointF(cone, -h / 3), QPointF(bodyEnd, -h / 3));
    p.drawLine(QPointF(cone, h / 3), QPointF(bodyEnd, h / 3));
    p.setPen(outline);
    p.setBrush(across(QColor(240, 240, 245), QColor(185, 190, 200), QColor(120, 125, 135)));
    p.drawRect(QRectF(bodyEnd, -h, ferrule, width));
    p.setBrush(across(QColor(255, 180, 180), QColor(235, 120, 130), QColor(190, 80, 95)));
    p.drawRoundedRect(QRectF(bodyEnd + ferrule, -h, eraser, width), h * 0.6, h * 0.6, Qt::AbsoluteSize);
    p.restore();
}

// The editor's mark: the open book with a pencil writing on its right page.
void drawEditorMark(QPainter& p, const QRectF& r) {
    const QRectF book(r.left(), r.top() + r.height() * 0.08, r.width() * 0.92, r.height() * 0.72);
    drawBook(p, book, QColor(250, 250, 245), QColor(255, 170, 40));
    const QPointF tip(r.left() + r.width() * 0.68, r.top() + r.height() * 0.68);
    // the word being written: a run of arches like cursive letters, ending at the pencil's point
    const qreal u = r.width() / 100;
    const qreal widths[] = {3.2, 2.6, 3.6, 2.8, 3.4};
    qreal x = tip.x();
    for (qreal w : widths)
        x -= w * u;
    QPainterPath word;
    word.moveTo(x, tip.y());
    for (qreal w : widths) {
        const qreal height = (w > 3 ? 3.4 : 2.4) * u;
        word.cubicTo(x + 0.1 * w * u, tip.y() - height, x + 0.9 * w * u, tip.y() - height, x + w * u, tip.y());
        x += w * u;
    }
    p.setPen(QPen(QColor(60, 70, 100), std::max(0.7, r.width() / 80), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(word);
    drawPencil(p, tip, -60, r.width() * 0.6, r.width() * 0.12);
}

// The user textbook's mark on a menu disc of that colour: a ring-bound notebook and a pencil, in white.
void drawNotebook(QPainter& p, const QColor& disc) {
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawRoundedRect(QRectF(19, 13, 25, 37), 3, 3);
    p.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(25, 22 + 7 * i), QPointF(38, 22 + 7 * i));
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(15, 18 + 9 * i), QPointF(23, 18 + 9 * i));
    // the pencil across the lower right corner, edged in the disc's colour to stand off the page
    p.save();
    p.translate(37, 50);
    p.rotate(-58);
    p.setPen(QPen(disc.darker(115), 1.5, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    QPainterPath pencil;
    pencil.moveTo(0, 0);
    pencil.lineTo(7, -3.5);
    pencil.lineTo(27, -3.5);
    pencil.lineTo(27, 3.5);
    pencil.lineTo(7, 3.5);
    pencil.closeSubpath();
    p.drawPath(pencil);
    p.drawLine(QPointF(7, -3.5), QPointF(7, 3.5));
    p.drawLine(QPointF(22, -3.5), QPointF(22, 3.5));
    p.restore();
}

QPixmap drawLogo(const QSize& size) {
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0, 0, size.width(), size.height());
    QLinearGradient back(r.topLeft(), r.bottomRight());
    back.setColorAt(0, kBlue);
    back.setColorAt(1, kDeepBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), r.height() * 0.12, r.height() * 0.12);

    const qreal unit = r.height() / 150.0;
    drawBook(p, QRectF(r.left() + 18 * unit, r.top() + 30 * unit, 84 * unit, 70 * unit), QColor(250, 250, 245),
             QColor(255, 170, 40));

    const QRectF textArea(r.left() + 114 * unit, r.top() + 26 * unit, r.width() - 124 * unit, 50 * unit);
    const QString name = QStringLiteral("Memoran");
    // Fonts differ between systems: the name shrinks, in whole pixels, until it fits beside the
    // book. The search starts from the size the width at full size suggests.
    const auto fits = [&](int pixels) { return letteringWidth(name, true, pixels) <= textArea.width(); };
    int titleSize = qRound(40 * unit);
    if (const qreal full = letteringWidth(name, true, titleSize); full > textArea.width()) {
        titleSize = std::max(1, static_cast<int>(titleSize * textArea.width() / full));
        while (titleSize > 1 && !fits(titleSize))
            --titleSize;
        while (fits(titleSize + 1))
            ++titleSize;
    }
    drawLettering(p, textArea, Qt::AlignLeft | Qt::AlignVCenter, name, true, titleSize, Qt::white);
    drawLettering(p, QRectF(textArea.left(), textArea.bottom(), textArea.width(), 24 * unit),
                  Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("2002 Second Edition"), false, qRound(17 * unit),
                  kSky.lighter(120));
    drawLettering(p, QRectF(r.left(), r.bottom() - 36 * unit, r.width(), 24 * unit), Qt::AlignCenter,
                  QStringLiteral("slovíčka bez námahy"), false, qRound(13 * unit), QColor(255, 190, 90));
    return pixmap;
}

QPixmap drawBlueBackground() {
    QPixmap pixmap(256, 256);
    QPainter p(&pixmap);
    QLinearGradient back(0, 0, 256, 256);
    back.setColorAt(0, kBlue);
    back.setColorAt(0.6, kDeepBlue);
    back.setColorAt(1, QColor(8, 22, 60));
    p.fillRect(pixmap.rect(), back);
    QRadialGradient glow(QPointF(200, 40), 160);
    glow.setColorAt(0, QColor(255, 255, 255, 50));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(pixmap.rect(), glow);
    return pixmap;
}

QPixmap drawSidePanel(const QSize& size) {
    QPixmap pixmap = blueFromTop(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawBook(p, QRectF(16, 20, 44, 36), QColor(250, 250, 245), QColor(255, 170, 40));
    drawLettering(p, QRect(68, 20, size.width() - 72, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Memoran"),
                  true, 20, Qt::white);
    drawLettering(p, QRect(68, 44, size.width() - 72, 14), Qt::AlignLeft | Qt::AlignVCenter,
                  QStringLiteral("2002 Second Edition"), false, 10, kSky.lighter(120));
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.drawLine(14, 74, size.width() - 14, 74);
    p.setPen(QPen(QColor(0, 0, 0, 60), 1));
    p.drawLine(size.width() - 1, 0, size.width() - 1, size.height());
    return pixmap;
}

QPixmap drawMenuIcon(int item) {
    QPixmap pixmap = canvas(QSize(64, 64));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colors[] = {QColor(205, 40, 40), QColor(40, 150, 60), QColor(40, 90, 200), QColor(230, 130, 10),
                             QColor(135, 60, 175)};
    const QColor color = colors[std::clamp(item, 0, 4)];
    QRadialGradient disc(QPointF(24, 20), 44);
    disc.setColorAt(0, color.lighter(150));
    disc.setColorAt(1, color);
    p.setPen(QPen(color.darker(140), 2));
    p.setBrush(disc);
    p.drawEllipse(QRectF(3, 3, 58, 58));
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (item == 0) {
        // a card with a question mark: being asked
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(QColor(255, 255, 255, 60));
        p.drawRoundedRect(QRectF(18, 14, 28, 36), 4, 4);
        drawLettering(p, QRectF(18, 14, 28, 36), Qt::AlignCenter, QStringLiteral("?"), true, 26, Qt::white);
    } else if (item == 1) {
        drawBook(p, QRectF(14, 18, 36, 28), QColor(250, 250, 245), Qt::white);
    } else if (item == 3) {
        drawNotebook(p, color);
    } else if (item == 4) {
        // a circling arrow round a dot: coming back to what is due
        const QRectF ring(16, 16, 32, 32);
        p.drawArc(ring, 60 * 16, 280 * 16);
        const QPointF tip(32 + 16 * std::cos(M_PI / 3), 32 - 16 * std::sin(M_PI / 3));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF{tip + QPointF(-9, -5), tip + QPointF(4, -9), tip + QPointF(1, 5)});
        p.drawEllipse(QPointF(32, 32), 4, 4);
    } else {
        // a gear: settings. Its teeth and body are filled one by one and the hole is the disc's own
        // brush again: the same picture as the union of the parts less the hole, without computing it.
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        const QPointF c(32, 32);
        for (int i = 0; i < 8; ++i) {
            QTransform t;
            t.translate(c.x(), c.y());
            t.rotateRadians(i * M_PI / 4);
            p.drawPolygon(t.map(QPolygonF(QRectF(-4, -21, 8, 10))));
        }
        p.drawEllipse(c, 15, 15);
        p.setBrush(disc);
        p.drawEllipse(c, 6, 6);
    }
    return pixmap;
}

QPixmap drawEditorLogo() {
    QPixmap pixmap = canvas(QSize(48, 48));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, 47, 47);
    QLinearGradient back(r.topLeft(), r.bottomRight());
    back.setColorAt(0, kBlue);
    back.setColorAt(1, kDeepBlue);
    p.setPen(QPen(kDeepBlue.darker(130), 1));
    p.setBrush(back);
    p.drawRoundedRect(r, 8, 8);
    // a faint light along the upper rim, as on a raised tile
    QLinearGradient rim(0, 0, 0, 24);
    rim.setColorAt(0, QColor(255, 255, 255, 90));
    rim.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(QPen(rim, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 7, 7);
    drawEditorMark(p, QRectF(5, 8.5, 40, 35));
    return pixmap;
}

QPixmap drawEditorBanner() {
    const QSize size(163, 302);
    QPixmap pixmap = blueFromTop(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF mark(24, 62, 116, 100);
    QRadialGradient glow(QPointF(size.width() / 2.0, mark.center().y()), 120);
    glow.setColorAt(0, QColor(255, 255, 255, 50));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(pixmap.rect(), glow);

    // a large faint book low down, cut by the edges, so the lower half is not bare
    p.setOpacity(0.07);
    drawBook(p, QRectF(-40, 212, 230, 170), Qt::white, Qt::white);
    p.setOpacity(1);

    // a soft shadow under the book, so the mark stands above the panel
    QRadialGradient shadow(0.5, 0.5, 0.5);
    shadow.setCoordinateMode(QGradient::ObjectBoundingMode);
    shadow.setColorAt(0, QColor(0, 0, 30, 90));
    shadow.setColorAt(1, QColor(0, 0, 30, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(QRectF(mark.left(), mark.top() + mark.height() * 0.86, mark.width() * 0.92, 18));

    drawEditorMark(p, mark);
    p.setPen(QPen(QColor(0, 0, 0, 60), 1));
    p.drawLine(size.width() - 1, 0, size.width() - 1, size.height());
    return pixmap;
}

// Each picture is drawn once a process and kept: the hint window, the wizard and the background
// window take theirs again every time they are built.
template <typename Draw> QPixmap cached(const QString& key, Draw draw) {
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = draw();
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

QString sized(const char* name, const QSize& size) {
    return QStringLiteral("Pictures/%1/%2x%3").arg(QLatin1String(name)).arg(size.width()).arg(size.height());
}

} // namespace

QPixmap logo(const QSize& size) {
    return cached(sized("logo", size), [&] { return drawLogo(size); });
}

QPixmap blueBackground() {
    return cached(QStringLiteral("Pictures/blueBackground"), drawBlueBackground);
}

QPixmap sidePanel(const QSize& size) {
    return cached(sized("sidePanel", size), [&] { return drawSidePanel(size); });
}

QPixmap menuIcon(int item) {
    return cached(QStringLiteral("Pictures/menuIcon/%1").arg(item), [&] { return drawMenuIcon(item); });
}

QPixmap editorLogo() {
    return cached(QStringLiteral("Pictures/editorLogo"), drawEditorLogo);
}

QPixmap editorBanner() {
    return cached(QStringLiteral("Pictures/editorBanner"), drawEditorBanner);
}

} // namespace Pictures
