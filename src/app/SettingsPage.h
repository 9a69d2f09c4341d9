// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Page.h"

struct AppState;
class QCheckBox;
class QLabel;
class QPushButton;
class Shell;
struct AppSettings;

// Page 4: the two switches of "me.cfg", the background window and the QuickClick window.
class SettingsPage : public Page {
    Q_OBJECT
public:
    SettingsPage(AppState& state, Shell& shell, const QLabel* introLogo, QWidget* parent = nullptr);

    // Fills the page from "me.cfg".
    void loadSettings();
    void F4CmdOK_Click();
    void F4CmdStorno_Click();

private:
    AppState& m_state;
    Shell& m_shell;
    const QLabel* m_introLogo;
    QLabel* m_logo = nullptr;
    QCheckBox* m_quickClick = nullptr;
    QCheckBox* m_background = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_storno = nullptr;
};
