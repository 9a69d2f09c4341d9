// SPDX-License-Identifier: GPL-3.0-or-later
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

IntroPage::IntroPage(QWidget* parent) : Page(PageId::Intro, QString(), parent) {
    m_controls.build(this, kControls);
    m_logo = m_controls.get<QLabel>("F1ImgLogo");
    const auto texts = m_controls.array<QLabel, 3>("F1LblText");
    m_logo->setPixmap(Pictures::logo(m_logo->size()));
    m_logo->setAccessibleName(QStringLiteral("Memoran"));
    m_logo->setAccessibleDescription(QStringLiteral("Logo programu Memoran"));
    for (QLabel* label : texts) {
        label->setAlignment(Qt::AlignCenter);
        // "&&" is the escaped ampersand: a buddy makes the label interpret it and show one "&".
        label->setBuddy(m_logo);
    }
    setPointSize(texts[1], 11, true);
}
