// SPDX-License-Identifier: GPL-3.0-or-later
#include "SelectionPage.h"

#include "store/TextRoutines.h"
#include "ui/MessageBox.h"
#include "ui/Shell.h"

#include <QListWidget>
#include <QPushButton>

namespace {

// Page area 7680 x 6750 twips.
constexpr ControlSpec kControls[] = {
    {"Label1", Kind::Label, 240, 150, 7200, 300, "Vyberte dvojice, které se mají zkoušet:"},
    {"F9Lst", Kind::ListBox, 240, 510, 7200, 5310},
    {"F9CmdOK", Kind::Button, 3930, 6060, 1710, 480, "OK"},
    {"F9CmdStorno", Kind::Button, 5730, 6060, 1710, 480, "Storno"},
};

} // namespace

SelectionPage::SelectionPage(Shell& shell, QWidget* parent)
    : Page(PageId::PairSelection, QStringLiteral("Zkoušení"), parent), m_shell(shell) {
    m_controls.build(this, kControls);
    m_pairs = m_controls.get<QListWidget>("F9Lst");
    m_ok = m_controls.get<QPushButton>("F9CmdOK");
    m_storno = m_controls.get<QPushButton>("F9CmdStorno");
    m_pairs->setSelectionMode(QAbstractItemView::MultiSelection);
    connect(m_ok, &QPushButton::clicked, this, &SelectionPage::F9CmdOK_Click);
    connect(m_storno, &QPushButton::clicked, this, &SelectionPage::F9CmdStorno_Click);
}

void SelectionPage::fill(const QStringList& pairLines) {
    m_pairs->clear();
    for (const QString& line : pairLines) {
        auto* item = new QListWidgetItem(selectionForm(line), m_pairs);
        item->setData(Qt::UserRole, line);
    }
}

QStringList SelectionPage::selectedLines() const {
    QStringList lines;
    for (int i = 0; i < m_pairs->count(); ++i) {
        if (m_pairs->item(i)->isSelected())
            lines.append(m_pairs->item(i)->data(Qt::UserRole).toString());
    }
    return lines;
}

void SelectionPage::F9CmdOK_Click() {
    if (m_pairs->selectedItems().isEmpty()) {
        // A test of no pair could never ask a question.
        MessageBox::tell(m_shell.dialogParent(), QStringLiteral("Vyberte alespoň jednu dvojici."),
                         MessageBox::Icon::Exclamation);
        return;
    }
    Q_EMIT pairsChosen(selectedLines());
}

void SelectionPage::F9CmdStorno_Click() {
    m_shell.showPage(PageId::TestSetup);
    m_pairs->clear();
}
