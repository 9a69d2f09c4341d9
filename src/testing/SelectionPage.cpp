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
    {"F9LstDat", Kind::ListBox, 0, 0, 0, 0},
    {"F9CmdOK", Kind::Button, 3930, 6060, 1710, 480, "OK"},
    {"F9CmdStorno", Kind::Button, 5730, 6060, 1710, 480, "Storno"},
};

} // namespace

SelectionPage::SelectionPage(Shell& shell, QWidget* parent)
    : Page(PageId::PairSelection, QStringLiteral("Zkoušení"), parent), m_shell(shell) {
    m_controls.build(this, kControls);
    m_shown = m_controls.get<QListWidget>("F9Lst");
    m_stored = m_controls.get<QListWidget>("F9LstDat");
    m_ok = m_controls.get<QPushButton>("F9CmdOK");
    m_storno = m_controls.get<QPushButton>("F9CmdStorno");
    m_shown->setSelectionMode(QAbstractItemView::MultiSelection);
    m_stored->hide();
    connect(m_ok, &QPushButton::clicked, this, &SelectionPage::F9CmdOK_Click);
    connect(m_storno, &QPushButton::clicked, this, &SelectionPage::F9CmdStorno_Click);
}

void SelectionPage::clearLists() {
    m_shown->clear();
    m_stored->clear();
}

void SelectionPage::fill(const QStringList& pairLines) {
    clearLists();
    for (const QString& line : pairLines) {
        m_stored->addItem(line);
        m_shown->addItem(selectionForm(line));
    }
}

QStringList SelectionPage::selectedLines() const {
    QStringList lines;
    for (int i = 0; i < m_shown->count(); ++i) {
        if (m_shown->item(i)->isSelected())
            lines.append(m_stored->item(i)->text());
    }
    return lines;
}

void SelectionPage::F9CmdOK_Click() {
    if (m_shown->selectedItems().isEmpty()) {
        // A test of no pair could never ask a question.
        MessageBox::tell(m_shell.dialogParent(), QStringLiteral("Vyberte alespoň jednu dvojici."),
                         MessageBox::Icon::Exclamation);
        return;
    }
    Q_EMIT pairsChosen(selectedLines());
}

void SelectionPage::F9CmdStorno_Click() {
    m_shell.showPage(PageId::TestSetup);
    clearLists();
}
