#include "MainMenuPage.h"

#include "ui/Pictures.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

#include <utility>

namespace {

const char* const kHotZones[] = {"F2ImgTry", "F2ImgBook", "F2ImgOpt"};
const QColor kItemColors[] = {QColor(210, 30, 30), QColor(20, 150, 50), QColor(30, 90, 210)};
const QColor kQuietGrey(208, 208, 208);

// Page area 7680 x 6750 twips; items at 690, 2670 and 4650 twips from the top, each 1680 high.
// Later rows lie on top: the coloured frame over the grey one, the hot zone over everything.
constexpr ControlSpec kControls[] = {
    {"F2Lbl(3)", Kind::Label, 240, 120, 7200, 450, "Co chcete udělat?"},
    {"F2Shp(3)", Kind::Shape, 240, 690, 7200, 1680},
    {"F2Shp(0)", Kind::Shape, 240, 690, 7200, 1680},
    {"F2Img(0)", Kind::Picture, 540, 1050, 960, 960},
    {"F2Lbl(0)", Kind::Label, 1800, 1080, 5400, 480, "Zkoušení slovíček"},
    {"F2Ln(3)", Kind::Line, 1800, 1710, 5250, 30},
    {"F2Ln(0)", Kind::Line, 1800, 1695, 5250, 45},
    {"F2ImgTry", Kind::HotZone, 240, 690, 7200, 1680},
    {"F2Shp(4)", Kind::Shape, 240, 2670, 7200, 1680},
    {"F2Shp(1)", Kind::Shape, 240, 2670, 7200, 1680},
    {"F2Img(1)", Kind::Picture, 540, 3030, 960, 960},
    {"F2Lbl(1)", Kind::Label, 1800, 3060, 5400, 480, "Editor slovní zásoby"},
    {"F2Ln(4)", Kind::Line, 1800, 3690, 5250, 30},
    {"F2Ln(1)", Kind::Line, 1800, 3675, 5250, 45},
    {"F2ImgBook", Kind::HotZone, 240, 2670, 7200, 1680},
    {"F2Shp(5)", Kind::Shape, 240, 4650, 7200, 1680},
    {"F2Shp(2)", Kind::Shape, 240, 4650, 7200, 1680},
    {"F2Img(2)", Kind::Picture, 540, 5010, 960, 960},
    {"F2Lbl(2)", Kind::Label, 1800, 5040, 5400, 480, "Nastavení Zorirode"},
    {"F2Ln(5)", Kind::Line, 1800, 5670, 5250, 30},
    {"F2Ln(2)", Kind::Line, 1800, 5655, 5250, 45},
    {"F2ImgOpt", Kind::HotZone, 240, 4650, 7200, 1680},
};

} // namespace

MainMenuPage::MainMenuPage(QWidget* parent) : Page(1, QStringLiteral("Hlavní menu"), parent) {
    m_controls.build(this, kControls);
    bindControls();
    setMouseTracking(true);
    setPointSize(m_controls["F2Lbl(3)"], 13, true);
    for (int i = 0; i < 3; ++i) {
        const Item& item = m_items[i];
        m_controls.get<QLabel>(arrayName("F2Img", i))->setPixmap(Pictures::menuIcon(i));
        setPointSize(item.caption, 15);
        setShapeColor(m_controls[arrayName("F2Shp", i + 3)], kQuietGrey);
        setLineColor(m_controls[arrayName("F2Ln", i + 3)], kQuietGrey);
        setShapeColor(item.frame, kItemColors[i], 2);
        setLineColor(item.underline, kItemColors[i]);
        item.hotZone->installEventFilter(this);
        setLit(i, false);
    }
}

void MainMenuPage::bindControls() {
    for (int i = 0; i < 3; ++i) {
        m_items[i] = Item{m_controls[QString::fromUtf8(kHotZones[i])], m_controls.get<QFrame>(arrayName("F2Shp", i)),
                          m_controls.get<QFrame>(arrayName("F2Ln", i)), m_controls.get<QLabel>(arrayName("F2Lbl", i))};
    }
}

bool MainMenuPage::isLit(int item) const {
    return !m_items.at(item).frame->isHidden();
}

void MainMenuPage::light(int item) {
    if (!isLit(item))
        setLit(item, true);
}

void MainMenuPage::setLit(int item, bool lit) {
    m_items[item].frame->setVisible(lit);
    m_items[item].underline->setVisible(lit);
    setBold(m_items[item].caption, lit);
}

void MainMenuPage::Frames_MouseMove() {
    for (int i = 0; i < 3; ++i)
        setLit(i, false);
}

void MainMenuPage::mouseMoveEvent(QMouseEvent* event) {
    Frames_MouseMove();
    event->accept();
}

bool MainMenuPage::eventFilter(QObject* watched, QEvent* event) {
    int item = -1;
    for (int i = 0; i < 3; ++i) {
        if (watched == m_items[i].hotZone)
            item = i;
    }
    if (item < 0)
        return Page::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        light(item);
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (std::exchange(m_releaseEndsDoubleClick, false) || mouse->button() != Qt::LeftButton ||
            !static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint()))
            return true;
        if (item == 0)
            F2ImgTry_Click();
        else if (item == 1)
            F2ImgBook_Click();
        else
            F2ImgOpt_Click();
        return true;
    }
    case QEvent::MouseButtonDblClick:
        m_releaseEndsDoubleClick = true;
        if (item == 2)
            F2ImgOpt_DblClick();
        return true;
    default:
        return Page::eventFilter(watched, event);
    }
}
