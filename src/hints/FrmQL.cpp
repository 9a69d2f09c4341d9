#include "FrmQL.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

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

FrmQL::FrmQL(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("FrmQL"));
    setWindowTitle(QStringLiteral("QuickClick Menu"));
    setFixedSize(tw(7200), tw(1500));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    m_controls.build(this, kControls);

    auto* note = m_controls.get<QLabel>(QStringLiteral("Label1"));
    note->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < 2; ++i) {
        auto* frame = m_controls[arrayName("FramesQL", i)];
        frame->setAutoFillBackground(true);
        frame->hide();
    }
    m_controls.onClick("F1CmdZk", this, &FrmQL::F1CmdZk_Click);
    m_controls.onClick("F1CmdUziv", this, &FrmQL::F1CmdUziv_Click);
    m_controls.onClick("F1CmdOpt", this, &FrmQL::F1CmdOpt_Click);
    for (int i = 0; i < 2; ++i) {
        connect(m_controls.get<QRadioButton>(arrayName("F2Opt", i)), &QRadioButton::clicked, this,
                [this, i] { F2Opt_Click(i); });
    }
    for (int i = 0; i < 5; ++i) {
        auto* button = m_controls.get<QPushButton>(QString::fromUtf8(kCharacterButtons[i]));
        button->setFocusPolicy(Qt::NoFocus); // the caret stays where the user was typing
        setPointSize(button, 13, true);
        connect(button, &QPushButton::clicked, this, [this, button] { Q_EMIT characterChosen(button->text().at(0)); });
        m_controls.get<QLabel>(arrayName("F2Lbl", i))->setAlignment(Qt::AlignCenter);
    }
    for (int i = 0; i < 3; ++i) {
        connect(m_controls.get<QPushButton>(QString::fromUtf8(kHintButtons[i])), &QPushButton::clicked, this,
                [this, i] { Q_EMIT hintChosen(i); });
    }
    m_controls.get<QRadioButton>(QStringLiteral("F2Opt(0)"))->setChecked(true);
    F2Opt_Click(0);
}

void FrmQL::ZobrazQuickClick(int page) {
    for (int i = 0; i < 2; ++i)
        m_controls[arrayName("FramesQL", i)]->hide();
    if (page > 0 && page <= 2)
        m_controls[arrayName("FramesQL", page - 1)]->show();
}

int FrmQL::page() const {
    for (int i = 0; i < 2; ++i) {
        if (!m_controls[arrayName("FramesQL", i)]->isHidden())
            return i + 1;
    }
    return 0;
}

void FrmQL::setHintsEnabled(bool enabled) {
    for (const char* name : kHintButtons)
        m_controls[QString::fromUtf8(name)]->setEnabled(enabled);
}

void FrmQL::F2Opt_Click(int index) {
    Q_UNUSED(index);
    const bool characters = m_controls.get<QRadioButton>(QStringLiteral("F2Opt(0)"))->isChecked();
    for (const char* name : kHintButtons)
        m_controls[QString::fromUtf8(name)]->setVisible(!characters);
    for (int i = 0; i < 5; ++i) {
        m_controls[QString::fromUtf8(kCharacterButtons[i])]->setVisible(characters);
        m_controls[arrayName("F2Lbl", i)]->setVisible(characters);
    }
}
