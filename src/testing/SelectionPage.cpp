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
    : Page(9, QStringLiteral("Zkoušení"), parent), m_shell(shell) {
    m_controls.build(this, kControls);
    list("F9Lst")->setSelectionMode(QAbstractItemView::MultiSelection);
    list("F9LstDat")->hide();
    m_controls.onClick("F9CmdOK", this, &SelectionPage::F9CmdOK_Click);
    m_controls.onClick("F9CmdStorno", this, &SelectionPage::F9CmdStorno_Click);
}

QListWidget* SelectionPage::list(const char* name) const {
    return m_controls.get<QListWidget>(QString::fromUtf8(name));
}

void SelectionPage::fill(const QStringList& pairLines) {
    list("F9Lst")->clear();
    list("F9LstDat")->clear();
    for (const QString& line : pairLines) {
        list("F9LstDat")->addItem(line);
        list("F9Lst")->addItem(selectionForm(line));
    }
}

QStringList SelectionPage::selectedLines() const {
    QStringList lines;
    const QListWidget* shown = list("F9Lst");
    for (int i = 0; i < shown->count(); ++i) {
        if (shown->item(i)->isSelected())
            lines.append(list("F9LstDat")->item(i)->text());
    }
    return lines;
}

void SelectionPage::F9CmdOK_Click() {
    if (list("F9Lst")->selectedItems().isEmpty()) {
        // A test of no pair could never ask a question.
        MessageBox::tell(m_shell.dialogParent(), QStringLiteral("Vyberte alespoň jednu dvojici."),
                         MessageBox::Icon::Exclamation);
        return;
    }
    Q_EMIT pairsChosen(selectedLines());
}

void SelectionPage::F9CmdStorno_Click() {
    m_shell.ZobrazStranku(2);
    list("F9Lst")->clear();
    list("F9LstDat")->clear();
}
