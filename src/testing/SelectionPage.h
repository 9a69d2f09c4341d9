// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Page.h"

struct AppState;
class QListWidget;
class QPushButton;
class Shell;

// Page 9: the pairs of the lesson, of which the user picks those to be tested.
class SelectionPage : public Page {
    Q_OBJECT
public:
    explicit SelectionPage(Shell& shell, QWidget* parent = nullptr);

    // Lists the pair lines in their selection form, nothing selected.
    void fill(const QStringList& pairLines);
    void F9CmdOK_Click();
    void F9CmdStorno_Click();

Q_SIGNALS:
    // OK with at least one pair picked: the stored pair lines, in list order.
    void pairsChosen(const QStringList& pairLines);

private:
    // The pair lines of the selected items, in list order.
    QStringList selectedLines() const;

    Shell& m_shell;
    QListWidget* m_pairs = nullptr; // the pairs as the user reads them, each carrying its pair line
    QPushButton* m_ok = nullptr;
    QPushButton* m_storno = nullptr;
};
