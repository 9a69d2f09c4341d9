// SPDX-License-Identifier: GPL-3.0-or-later
#include "PairListPage.h"

#include "core/AppState.h"
#include "store/UserTextbook.h"
#include "ui/MessageBox.h"
#include "ui/PairItems.h"
#include "ui/Shell.h"
#include "ui/StoreQuestions.h"

#include <QListWidget>
#include <QPushButton>

namespace {

// Page area 7680 x 6750 twips.
constexpr ControlSpec kControls[] = {
    {"F8Lbl", Kind::Label, 240, 150, 7200, 300, "Vyberte dvojici výrazů:"},
    {"F8Lst", Kind::ListBox, 240, 510, 5400, 6030},
    {"F8CmdChange", Kind::Button, 5850, 510, 1590, 480, "Změnit"},
    {"F8CmdDel", Kind::Button, 5850, 1110, 1590, 480, "Odstranit"},
    {"F8CmdSave", Kind::Button, 5850, 6060, 1590, 480, "Uložit"},
    {"F8CmdZpet", Kind::Button, 5850, 5460, 1590, 480, "Zpět"},
};

} // namespace

PairListPage::PairListPage(Shell& shell, AppState& state, QWidget* parent)
    : Page(PageId::PairList, UserTextbook::kName, parent), m_shell(shell), m_state(state) {
    m_controls.build(this, kControls);
    m_pairs = m_controls.get<QListWidget>("F8Lst");
    m_pairs->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_controls.get<QPushButton>("F8CmdChange"), &QPushButton::clicked, this, &PairListPage::F8CmdChange_Click);
    connect(m_controls.get<QPushButton>("F8CmdDel"), &QPushButton::clicked, this, &PairListPage::F8CmdDel_Click);
    connect(m_controls.get<QPushButton>("F8CmdSave"), &QPushButton::clicked, this, &PairListPage::F8CmdSave_Click);
    auto* back = m_controls.get<QPushButton>("F8CmdZpet");
    connect(back, &QPushButton::clicked, this, &PairListPage::F8CmdZpet_Click);
    setBackButton(back);
}

void PairListPage::fill(const QStringList& pairLines, const Fingerprint& read, const QString& lesson) {
    PairItems::fill(m_pairs, pairLines);
    m_filled = PairItems::pairLines(m_pairs);
    m_read = read;
    m_lesson = lesson;
}

bool PairListPage::pairChosen() {
    if (PairItems::hasSelection(m_pairs))
        return true;
    MessageBox::tell(m_shell.dialogParent(), MessageBox::kMissingFields, MessageBox::Icon::Critical);
    return false;
}

void PairListPage::F8CmdDel_Click() {
    if (pairChosen())
        PairItems::removeSelected(m_pairs);
}

void PairListPage::F8CmdChange_Click() {
    if (pairChosen())
        PairItems::changeSelected(m_pairs, m_shell.dialogParent());
}

void PairListPage::F8CmdSave_Click() {
    if (!StoreQuestions::mayOverwrite(m_shell.dialogParent(), m_state.dir, m_state.currentLessonFile, m_read, m_lesson))
        return;
    // A list that could not be saved stays on screen, the old file whole.
    if (!MessageBox::reportWrite(m_shell.dialogParent(),
                                 m_state.dir.rewrite(m_state.currentLessonFile, PairItems::pairLines(m_pairs))))
        return;
    m_shell.showPage(PageId::MainMenu);
    m_shell.showQuickClickPage(QuickClickPage::MenuJumps);
}

void PairListPage::F8CmdZpet_Click() {
    if (PairItems::pairLines(m_pairs) != m_filled &&
        !MessageBox::confirm(m_shell.dialogParent(),
                             QStringLiteral("Změny v seznamu dvojic nebudou uloženy. Opravdu chcete odejít bez "
                                            "uložení?"),
                             MessageBox::Icon::Question))
        return;
    m_shell.showPage(PageId::UserTextbook);
    m_shell.showQuickClickPage(QuickClickPage::MenuJumps);
}

void PairListPage::showEvent(QShowEvent* event) {
    Page::showEvent(event);
    m_pairs->setFocus(); // nothing is chosen in it until the user picks a pair
}
