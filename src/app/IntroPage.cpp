#include "IntroPage.h"

#include "ui/Pictures.h"

#include <QLabel>

namespace {
// Page area 7680 x 6750 twips.
constexpr ControlSpec kControls[] = {
    {"F1ImgLogo", Kind::Picture, 1545, 900, 4590, 2250},
    {"F1LblText(0)", Kind::Label, 0, 3600, 7680, 300, "Program && Design:"},
    {"F1LblText(1)", Kind::Label, 0, 3930, 7680, 330, "Vývojový tým Memoran"},
    {"F1LblText(2)", Kind::Label, 0, 4320, 7680, 300, ""},
};
} // namespace

IntroPage::IntroPage(QWidget* parent) : Page(0, QString(), parent) {
    m_controls.build(this, kControls);
    logo()->setPixmap(Pictures::logo(logo()->size()));
    for (int i = 0; i < 3; ++i) {
        auto* label = m_controls.get<QLabel>(arrayName("F1LblText", i));
        label->setAlignment(Qt::AlignCenter);
        // "&&" is the escaped ampersand: a buddy makes the label interpret it and show one "&".
        label->setBuddy(logo());
    }
    setPointSize(m_controls["F1LblText(1)"], 11, true);
}

QLabel* IntroPage::logo() const {
    return m_controls.get<QLabel>(QStringLiteral("F1ImgLogo"));
}
