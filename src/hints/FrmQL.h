#pragma once

#include "ui/Form.h"

#include <QWidget>

// The QuickClick window: a small tool window below the main window with jumps on the main menu,
// and special characters and hints during a test.
class FrmQL : public QWidget {
    Q_OBJECT
public:
    explicit FrmQL(QWidget* mainWindow);

    // 0 no page (only the note that there is no quick menu), 1 main-menu jumps, 2 test.
    void ZobrazQuickClick(int page);
    // The page shown now, 0 when none.
    int page() const;
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
    // A character button: the character goes into the answer box of the test.
    void characterChosen(QChar character);
    // A hint button: 0 first letter, 1 word length, 2 five options.
    void hintChosen(int hint);

private:
    Controls m_controls;
};
