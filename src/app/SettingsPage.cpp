// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsPage.h"

#include "core/AppSettings.h"
#include "core/AppState.h"
#include "ui/MessageBox.h"
#include "ui/Shell.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr ControlSpec kControls[] = {
    {"F4ImgLogo", Kind::Picture, 1545, 300, 4590, 2250},
    {"F4ChckQL", Kind::CheckBox, 1545, 3000, 5400, 360, "Zobrazit QuickClick menu"},
    {"F4ChckPoz", Kind::CheckBox, 1545, 3480, 5400, 360, "Zobrazit pozadí (vyžaduje restart aplikace)"},
    {"F4CmdOK", Kind::Button, 3930, 6060, 1710, 480, "OK"},
    {"F4CmdStorno", Kind::Button, 5730, 6060, 1710, 480, "Storno"},
};
} // namespace

SettingsPage::SettingsPage(AppState& state, Shell& shell, const QLabel* introLogo, QWidget* parent)
    : Page(PageId::Settings, QStringLiteral("Nastavení Zorirode"), parent), m_state(state), m_shell(shell),
      m_introLogo(introLogo) {
    m_controls.build(this, kControls);
    m_logo = m_controls.get<QLabel>("F4ImgLogo");
    m_quickClick = m_controls.get<QCheckBox>("F4ChckQL");
    m_background = m_controls.get<QCheckBox>("F4ChckPoz");
    m_ok = m_controls.get<QPushButton>("F4CmdOK");
    m_storno = m_controls.get<QPushButton>("F4CmdStorno");
    connect(m_ok, &QPushButton::clicked, this, &SettingsPage::F4CmdOK_Click);
    connect(m_storno, &QPushButton::clicked, this, &SettingsPage::F4CmdStorno_Click);
}

void SettingsPage::loadSettings() {
    m_logo->setPixmap(m_introLogo->pixmap());
    const AppSettings settings = AppSettings::read(m_state.dir);
    m_background->setChecked(settings.background);
    m_quickClick->setChecked(settings.quickClick);
}

void SettingsPage::F4CmdOK_Click() {
    AppSettings settings;
    settings.background = m_background->isChecked();
    settings.quickClick = m_quickClick->isChecked();
    // The file is written whole in one step; the indicator still walks the steps of a save.
    for (int percent : {20, 40, 60, 80})
        m_shell.showProgress(percent, 100);
    const IoStatus saved = settings.write(m_state.dir);
    if (!saved.ok()) {
        // The user stays on the page with the boxes as set, to try again or leave with Storno.
        m_shell.showProgress(0, 0);
        MessageBox::showFileError(m_shell.dialogParent(), saved.message());
        return;
    }
    m_shell.showProgress(100, 100);
    m_shell.showPage(PageId::MainMenu);
    if (settings.quickClick) {
        m_shell.showQuickClickWindow();
        m_shell.showQuickClickPage(QuickClickPage::MenuJumps);
    } else {
        m_shell.closeQuickClickWindow();
    }
    m_shell.showProgress(0, 0);
}

void SettingsPage::F4CmdStorno_Click() {
    loadSettings();
    m_shell.showPage(PageId::MainMenu);
}
