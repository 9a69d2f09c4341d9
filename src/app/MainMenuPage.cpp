// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainMenuPage.h"

#include "ui/Pictures.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// The controls of one item, by item index.
struct ItemNames {
    const char* hotZone;
    const char* frame;
    const char* underline;
    const char* caption;
    const char* icon;
    const char* quietFrame;
    const char* quietLine;
    const char* key;
};
constexpr ItemNames kItemNames[MainMenuPage::kItemCount] = {
    {"F2ImgTry", "F2Shp(0)", "F2Ln(0)", "F2Lbl(0)", "F2Img(0)", "F2Shp(3)", "F2Ln(3)", "F2Klav(0)"},
    {"F2ImgBook", "F2Shp(1)", "F2Ln(1)", "F2Lbl(1)", "F2Img(1)", "F2Shp(4)", "F2Ln(4)", "F2Klav(1)"},
    {"F2ImgOpt", "F2Shp(2)", "F2Ln(2)", "F2Lbl(2)", "F2Img(2)", "F2Shp(5)", "F2Ln(5)", "F2Klav(2)"},
    {"F2ImgUziv", "F2UzivShp", "F2UzivLn", "F2UzivLbl", "F2UzivImg", "F2UzivShpGrey", "F2UzivLnGrey", "F2Klav(3)"},
    {"F2ImgOpak", "F2OpakShp", "F2OpakLn", "F2OpakLbl", "F2OpakImg", "F2OpakShpGrey", "F2OpakLnGrey", "F2Klav(4)"},
};
const QColor kItemColors[] = {QColor(210, 30, 30), QColor(20, 150, 50), QColor(30, 90, 210), QColor(235, 135, 0),
                              QColor(135, 60, 175)};
// With Alt, each chooses its item: the first letter of its caption.
constexpr Qt::Key kItemKeys[] = {Qt::Key_Z, Qt::Key_E, Qt::Key_N, Qt::Key_U, Qt::Key_O};
// The items as they stand on the page, top to bottom.
constexpr int kRows[] = {0, 1, 3, 2, 4};
const QColor kQuietGrey(208, 208, 208);
const QColor kKeyGrey(128, 128, 128);

// Page area 7680 x 6750 twips: the heading, then five rows of 1050 twips, 1200 apart.
constexpr int kRowHeight = 1050;
constexpr int row(int index) {
    return 690 + 1200 * index;
}

// Later rows lie on top: the coloured frame over the grey one, the hot zone over everything.
constexpr ControlSpec kControls[] = {
    {"F2Lbl(3)", Kind::Label, 240, 120, 7200, 450, "Co chcete udělat?"},
    {"F2Shp(3)", Kind::Shape, 240, row(0), 7200, kRowHeight},
    {"F2Shp(0)", Kind::Shape, 240, row(0), 7200, kRowHeight},
    {"F2Img(0)", Kind::Picture, 540, row(0) + 165, 720, 720},
    {"F2Lbl(0)", Kind::Label, 1560, row(0) + 225, 4320, 480, "Zkoušení slovíček"},
    {"F2Klav(0)", Kind::Label, 5880, row(0) + 225, 1320, 480},
    {"F2Ln(3)", Kind::Line, 1560, row(0) + 795, 5640, 30},
    {"F2Ln(0)", Kind::Line, 1560, row(0) + 780, 5640, 45},
    {"F2ImgTry", Kind::HotZone, 240, row(0), 7200, kRowHeight},
    {"F2Shp(4)", Kind::Shape, 240, row(1), 7200, kRowHeight},
    {"F2Shp(1)", Kind::Shape, 240, row(1), 7200, kRowHeight},
    {"F2Img(1)", Kind::Picture, 540, row(1) + 165, 720, 720},
    {"F2Lbl(1)", Kind::Label, 1560, row(1) + 225, 4320, 480, "Editor slovní zásoby"},
    {"F2Klav(1)", Kind::Label, 5880, row(1) + 225, 1320, 480},
    {"F2Ln(4)", Kind::Line, 1560, row(1) + 795, 5640, 30},
    {"F2Ln(1)", Kind::Line, 1560, row(1) + 780, 5640, 45},
    {"F2ImgBook", Kind::HotZone, 240, row(1), 7200, kRowHeight},
    {"F2UzivShpGrey", Kind::Shape, 240, row(2), 7200, kRowHeight},
    {"F2UzivShp", Kind::Shape, 240, row(2), 7200, kRowHeight},
    {"F2UzivImg", Kind::Picture, 540, row(2) + 165, 720, 720},
    {"F2UzivLbl", Kind::Label, 1560, row(2) + 225, 4320, 480, "Uživatelská učebnice"},
    {"F2Klav(3)", Kind::Label, 5880, row(2) + 225, 1320, 480},
    {"F2UzivLnGrey", Kind::Line, 1560, row(2) + 795, 5640, 30},
    {"F2UzivLn", Kind::Line, 1560, row(2) + 780, 5640, 45},
    {"F2ImgUziv", Kind::HotZone, 240, row(2), 7200, kRowHeight},
    {"F2Shp(5)", Kind::Shape, 240, row(3), 7200, kRowHeight},
    {"F2Shp(2)", Kind::Shape, 240, row(3), 7200, kRowHeight},
    {"F2Img(2)", Kind::Picture, 540, row(3) + 165, 720, 720},
    {"F2Lbl(2)", Kind::Label, 1560, row(3) + 225, 4320, 480, "Nastavení Zorirode"},
    {"F2Klav(2)", Kind::Label, 5880, row(3) + 225, 1320, 480},
    {"F2Ln(5)", Kind::Line, 1560, row(3) + 795, 5640, 30},
    {"F2Ln(2)", Kind::Line, 1560, row(3) + 780, 5640, 45},
    {"F2ImgOpt", Kind::HotZone, 240, row(3), 7200, kRowHeight},
    {"F2OpakShpGrey", Kind::Shape, 240, row(4), 7200, kRowHeight},
    {"F2OpakShp", Kind::Shape, 240, row(4), 7200, kRowHeight},
    {"F2OpakImg", Kind::Picture, 540, row(4) + 165, 720, 720},
    {"F2OpakLbl", Kind::Label, 1560, row(4) + 225, 4320, 480, "Opakování"},
    {"F2Klav(4)", Kind::Label, 5880, row(4) + 225, 1320, 480},
    {"F2OpakLnGrey", Kind::Line, 1560, row(4) + 795, 5640, 30},
    {"F2OpakLn", Kind::Line, 1560, row(4) + 780, 5640, 45},
    {"F2ImgOpak", Kind::HotZone, 240, row(4), 7200, kRowHeight},
};

QString name(const char* controlName) {
    return QString::fromUtf8(controlName);
}

// The place of an item on the page, or -1 for none.
int rowOf(int item) {
    const auto* found = std::ranges::find(kRows, item);
    return found == std::end(kRows) ? -1 : static_cast<int>(found - std::begin(kRows));
}

} // namespace

MainMenuPage::MainMenuPage(QWidget* parent) : Page(PageId::MainMenu, QStringLiteral("Hlavní menu"), parent) {
    m_controls.build(this, kControls);
    bindControls();
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Hlavní menu"));
    setPointSize(m_controls["F2Lbl(3)"], 13, true);
    for (int i = 0; i < kItemCount; ++i)
        styleItem(i);
    addShortcuts();
    // The page takes the keys for all its items: a screen reader says which.
    QStringList items;
    for (int i = 0; i < kItemCount; ++i)
        items << QStringLiteral("%1 (Alt+%2)").arg(m_items[i].caption->text(), QChar(kItemKeys[i]));
    setAccessibleDescription(items.join(QStringLiteral(", ")));
}

void MainMenuPage::bindControls() {
    for (int i = 0; i < kItemCount; ++i) {
        const ItemNames& names = kItemNames[i];
        m_items[i] = Item{m_controls[name(names.hotZone)], m_controls.get<QFrame>(name(names.frame)),
                          m_controls.get<QFrame>(name(names.underline)), m_controls.get<QLabel>(name(names.caption))};
    }
}

void MainMenuPage::styleItem(int index) {
    const Item& item = m_items[index];
    const ItemNames& names = kItemNames[index];
    auto* icon = m_controls.get<QLabel>(name(names.icon));
    icon->setPixmap(Pictures::menuIcon(index));
    icon->setAccessibleName(item.caption->text());
    icon->setAccessibleDescription(QStringLiteral("Obrázek položky „%1“").arg(item.caption->text()));
    setPointSize(item.caption, 15);
    auto* key = m_controls.get<QLabel>(name(names.key));
    key->setText(QStringLiteral("Alt + %1").arg(QChar(kItemKeys[index])));
    key->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette grey = key->palette();
    grey.setColor(QPalette::WindowText, kKeyGrey);
    key->setPalette(grey);
    setShapeColor(m_controls[name(names.quietFrame)], kQuietGrey);
    setLineColor(m_controls[name(names.quietLine)], kQuietGrey);
    setShapeColor(item.frame, kItemColors[index], 2);
    setLineColor(item.underline, kItemColors[index]);
    item.hotZone->installEventFilter(this);
    setLit(index, false);
}

void MainMenuPage::addShortcuts() {
    // A window shortcut of a hidden widget is off: they work while the menu is on screen only.
    for (int i = 0; i < kItemCount; ++i) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | kItemKeys[i]), this);
        connect(shortcut, &QShortcut::activated, this, [this, i] { choose(i); });
    }
}

bool MainMenuPage::isLit(int item) const {
    return !m_items.at(item).frame->isHidden();
}

void MainMenuPage::light(int item) {
    m_current = item;
    if (!isLit(item))
        setLit(item, true);
}

void MainMenuPage::setLit(int item, bool lit) {
    m_items[item].frame->setVisible(lit);
    m_items[item].underline->setVisible(lit);
    setBold(m_items[item].caption, lit);
}

void MainMenuPage::choose(int item) {
    switch (item) {
    case 0:
        Q_EMIT testChosen();
        break;
    case 1:
        Q_EMIT editorChosen();
        break;
    case 2:
        Q_EMIT settingsChosen();
        break;
    case 3:
        Q_EMIT userTextbookChosen();
        break;
    default:
        Q_EMIT reviewChosen();
        break;
    }
}

void MainMenuPage::select(int item) {
    clearHighlights();
    light(item);
}

bool MainMenuPage::step(int by, bool wrap) {
    constexpr int count = std::size(kRows);
    const int from = rowOf(m_current);
    int to = from < 0 ? (by > 0 ? 0 : count - 1) : from + by;
    if (wrap)
        to = (to + count) % count;
    if (to < 0 || to >= count)
        return false;
    select(kRows[to]);
    return true;
}

void MainMenuPage::clearHighlights() {
    for (int item = 0; item < kItemCount; ++item)
        setLit(item, false);
    m_current = -1;
}

void MainMenuPage::mouseMoveEvent(QMouseEvent* event) {
    // The mouse over the free area of the page clears every highlight.
    clearHighlights();
    event->accept();
}

bool MainMenuPage::event(QEvent* event) {
    // Tab would otherwise leave the page at once: it walks the items first.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        const bool back = key->key() == Qt::Key_Backtab || key->modifiers() & Qt::ShiftModifier;
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && step(back ? -1 : 1, false))
            return true;
    }
    return Page::event(event);
}

void MainMenuPage::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Down:
        step(1, true);
        break;
    case Qt::Key_Up:
        step(-1, true);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_current >= 0 && isLit(m_current))
            choose(m_current);
        break;
    default:
        Page::keyPressEvent(event);
        return;
    }
    event->accept();
}

void MainMenuPage::focusInEvent(QFocusEvent* event) {
    Page::focusInEvent(event);
    // Arriving by Tab lights the first item, by Shift+Tab the last, as a list would.
    if (event->reason() == Qt::TabFocusReason)
        select(kRows[0]);
    else if (event->reason() == Qt::BacktabFocusReason)
        select(kRows[std::size(kRows) - 1]);
}

void MainMenuPage::focusOutEvent(QFocusEvent* event) {
    Page::focusOutEvent(event);
    // Tabbed away: a lit item would look as if Enter still chose it. A page being hidden hands the
    // focus on the same way; what it showed lit stays as the mouse left it.
    if ((event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) && isVisible())
        clearHighlights();
}

void MainMenuPage::showEvent(QShowEvent* event) {
    Page::showEvent(event);
    setFocus();
}

bool MainMenuPage::eventFilter(QObject* watched, QEvent* event) {
    const auto zone = std::ranges::find(m_items, watched, &Item::hotZone);
    if (zone == m_items.end())
        return Page::eventFilter(watched, event);
    const int item = static_cast<int>(zone - m_items.begin());
    switch (event->type()) {
    case QEvent::MouseMove:
        light(item);
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (std::exchange(m_releaseEndsDoubleClick, false) || mouse->button() != Qt::LeftButton ||
            !zone->hotZone->rect().contains(mouse->position().toPoint()))
            return true;
        choose(item);
        return true;
    }
    case QEvent::MouseButtonDblClick:
        m_releaseEndsDoubleClick = true;
        if (item == 2)
            Q_EMIT settingsChosen();
        return true;
    default:
        return Page::eventFilter(watched, event);
    }
}
