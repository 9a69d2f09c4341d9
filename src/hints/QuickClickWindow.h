// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Form.h"
#include "ui/PageId.h"

#include <QWidget>

#include <array>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

// The QuickClick window: a small tool window below the main window with jumps on the main menu,
// and special characters and hints during a test.
class QuickClickWindow : public QWidget {
    Q_OBJECT
public:
    explicit QuickClickWindow(QWidget* mainWindow);

    // 0 no page (only the note that there is no quick menu), 1 main-menu jumps, 2 test.
    void showQuickClickPage(QuickClickPage page);
    // The page shown now, 0 when none.
    QuickClickPage page() const;
    // Enables or disables the three hint buttons (disabled on the hardest level).
    void setHintsEnabled(bool enabled);

    void F1CmdZk_Click() { Q_EMIT testChosen(); }
    void F1CmdUziv_Click() { Q_EMIT editorChosen(); }
    void F1CmdOpt_Click() { Q_EMIT settingsChosen(); }
    void F2Opt_Click(int index);

    QWidget* control(const QString& name) const { return m_controls[name]; }

Q_SIGNALS:
    void testChosen();
    void editorChosen();
    void settingsChosen();
    // A character button: the character goes into the answer box of the test (with Shift, ä, ö and ü
    // as capitals).
    void characterChosen(QChar character);
    // A hint button: 0 first letter, 1 word length, 2 five options.
    void hintChosen(HintKind hint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bindControls();

    Controls m_controls;
    // FramesQL: 0 the main-menu jumps, 1 the test's characters and hints.
    std::array<QFrame*, 2> m_pages{};
    // F2Opt: 0 characters, 1 hints.
    std::array<QRadioButton*, 2> m_modes{};
    std::array<QPushButton*, 5> m_characterButtons{};
    // The keys that type the characters, each under its button.
    std::array<QLabel*, 5> m_characterKeys{};
    std::array<QPushButton*, 3> m_hintButtons{};
    // Shift was held as the mouse released the character button that the click is about.
    bool m_shiftClick = false;
};
