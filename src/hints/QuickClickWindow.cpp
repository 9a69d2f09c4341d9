// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuickClickWindow.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <utility>

namespace {

// Window 7200 x 1500 twips.
constexpr ControlSpec kControls[] = {
    {"Label1", Kind::Label, 0, 0, 7200, 1500, "Pro tuto nabídku neexistuje QuickClick menu"},
    {"FramesQL(0)", Kind::Frame, 0, 0, 7200, 1500},
    {"F1CmdZk", Kind::Button, 150, 420, 2220, 600, "Zkoušení slovíček", "FramesQL(0)"},
    {"F1CmdUziv", Kind::Button, 2490, 420, 2220, 600, "Editor slovní zásoby", "FramesQL(0)"},
    {"F1CmdOpt", Kind::Button, 4830, 420, 2220, 600, "Nastavení Zorirode", "FramesQL(0)"},
    {"FramesQL(1)", Kind::Frame, 0, 0, 7200, 1500},
    {"F2Opt(0)", Kind::Option, 150, 300, 1500, 330, "Znaky", "FramesQL(1)"},
    {"F2Opt(1)", Kind::Option, 150, 780, 1500, 330, "Nápovědy", "FramesQL(1)"},
    {"F2CmdPrvPism", Kind::Button, 1800, 390, 1700, 660, "První písmeno", "FramesQL(1)"},
    {"F2CmdDelkSlov", Kind::Button, 3600, 390, 1700, 660, "Délka slova", "FramesQL(1)"},
    {"F2CmdPetMoznosti", Kind::Button, 5400, 390, 1650, 660, "Pět možností", "FramesQL(1)"},
    {"F2CmdB", Kind::Button, 1890, 240, 840, 600, "ß", "FramesQL(1)"},
    {"F2CmdA", Kind::Button, 2940, 240, 840, 600, "ä", "FramesQL(1)"},
    {"F2CmdO", Kind::Button, 3990, 240, 840, 600, "ö", "FramesQL(1)"},
    {"F2CmdU", Kind::Button, 5040, 240, 840, 600, "ü", "FramesQL(1)"},
    {"F2CmdApostr", Kind::Button, 6090, 240, 840, 600, "'", "FramesQL(1)"},
    {"F2Lbl(0)", Kind::Label, 1770, 900, 1080, 270, "Ctrl + S", "FramesQL(1)"},
    {"F2Lbl(1)", Kind::Label, 2820, 900, 1080, 270, "Ctrl + A", "FramesQL(1)"},
    {"F2Lbl(2)", Kind::Label, 3870, 900, 1080, 270, "Ctrl + O", "FramesQL(1)"},
    {"F2Lbl(3)", Kind::Label, 4920, 900, 1080, 270, "Ctrl + U", "FramesQL(1)"},
    {"F2Lbl(4)", Kind::Label, 5970, 900, 1080, 270, "Ctrl + Q", "FramesQL(1)"},
};

const char* const kCharacterButtons[] = {"F2CmdB", "F2CmdA", "F2CmdO", "F2CmdU", "F2CmdApostr"};
const char* const kHintButtons[] = {"F2CmdPrvPism", "F2CmdDelkSlov", "F2CmdPetMoznosti"};

} // namespace

QuickClickWindow::QuickClickWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("FrmQL"));
    setWindowTitle(QStringLiteral("QuickClick Menu"));
    // A companion of the main window: the keyboard stays where the user types.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(tw(7200), tw(1500));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    m_controls.build(this, kControls);
    bindControls();

    m_controls.get<QLabel>("Label1")->setAlignment(Qt::AlignCenter);
    for (QFrame* frame : m_pages) {
        frame->setAutoFillBackground(true);
        frame->hide();
    }
    connect(m_controls.get<QPushButton>("F1CmdZk"), &QPushButton::clicked, this, &QuickClickWindow::F1CmdZk_Click);
    connect(m_controls.get<QPushButton>("F1CmdUziv"), &QPushButton::clicked, this, &QuickClickWindow::F1CmdUziv_Click);
    connect(m_controls.get<QPushButton>("F1CmdOpt"), &QPushButton::clicked, this, &QuickClickWindow::F1CmdOpt_Click);
    for (int i = 0; i < 2; ++i)
        connect(m_modes[i], &QRadioButton::clicked, this, [this, i] { F2Opt_Click(i); });
    for (int i = 0; i < 5; ++i) {
        QPushButton* button = m_characterButtons[i];
        button->setFocusPolicy(Qt::NoFocus); // the caret stays where the user was typing
        setPointSize(button, 13, true);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, button] {
            const QChar character = button->text().at(0);
            Q_EMIT characterChosen(std::exchange(m_shiftClick, false) ? character.toUpper() : character);
        });
        m_characterKeys[i]->setAlignment(Qt::AlignCenter);
        if (const QChar capital = button->text().at(0).toUpper(); capital != button->text().at(0)) {
            QString keys = m_characterKeys[i]->text();
            button->setToolTip(
                QStringLiteral("Velké %1: Shift + klepnutí nebo %2")
                    .arg(capital, keys.replace(QStringLiteral("Ctrl + "), QStringLiteral("Ctrl + Shift + "))));
        }
    }
    // The buttons stand in the order of the hints.
    for (const HintKind hint : {HintKind::FirstLetter, HintKind::WordLength, HintKind::FiveOptions}) {
        connect(m_hintButtons[static_cast<std::size_t>(hint)], &QPushButton::clicked, this,
                [this, hint] { Q_EMIT hintChosen(hint); });
    }
    m_modes[0]->setChecked(true);
    F2Opt_Click(0);
}

void QuickClickWindow::bindControls() {
    m_pages = m_controls.array<QFrame, 2>("FramesQL");
    m_modes = m_controls.array<QRadioButton, 2>("F2Opt");
    m_characterButtons = m_controls.all<QPushButton>(kCharacterButtons);
    m_characterKeys = m_controls.array<QLabel, 5>("F2Lbl");
    m_hintButtons = m_controls.all<QPushButton>(kHintButtons);
}

// A button clicks as the mouse is released; the event tells whether Shift was held (and the
// desktop's input method cannot take a click, as it may take Ctrl+Shift+U).
bool QuickClickWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease)
        m_shiftClick = static_cast<QMouseEvent*>(event)->modifiers().testFlag(Qt::ShiftModifier);
    return QWidget::eventFilter(watched, event);
}

void QuickClickWindow::showQuickClickPage(QuickClickPage page) {
    m_pages[0]->setVisible(page == QuickClickPage::MenuJumps);
    m_pages[1]->setVisible(page == QuickClickPage::TestHints);
}

QuickClickPage QuickClickWindow::page() const {
    if (!m_pages[0]->isHidden())
        return QuickClickPage::MenuJumps;
    return m_pages[1]->isHidden() ? QuickClickPage::None : QuickClickPage::TestHints;
}

void QuickClickWindow::setHintsEnabled(bool enabled) {
    for (QPushButton* button : m_hintButtons)
        button->setEnabled(enabled);
}

void QuickClickWindow::F2Opt_Click(int index) {
    Q_UNUSED(index);
    const bool characters = m_modes[0]->isChecked();
    for (QPushButton* button : m_hintButtons)
        button->setVisible(!characters);
    for (int i = 0; i < 5; ++i) {
        m_characterButtons[i]->setVisible(characters);
        m_characterKeys[i]->setVisible(characters);
    }
}
