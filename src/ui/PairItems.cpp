// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PairItems.h"

#include "store/TextRoutines.h"
#include "ui/Form.h"
#include "ui/HintWindow.h"

#include <QListWidget>

namespace {

constexpr int kForeignRole = Qt::UserRole;
constexpr int kCzechRole = Qt::UserRole + 1;

void insertPair(QListWidget* list, int row, const QString& foreign, const QString& czech) {
    auto* item = new QListWidgetItem(foreign + QStringLiteral(" = ") + czech);
    item->setData(kForeignRole, foreign);
    item->setData(kCzechRole, czech);
    list->insertItem(row, item);
}

} // namespace

namespace PairItems {

void fill(QListWidget* list, const QStringList& pairLines) {
    list->clear();
    append(list, pairLines);
    clearChoice(list);
}

void append(QListWidget* list, const QStringList& pairLines) {
    for (const QString& line : pairLines)
        insertPair(list, list->count(), pairField(line, 1), pairField(line, 2));
}

void removeSelected(QListWidget* list) {
    delete list->currentItem();
    clearChoice(list);
}

QStringList pairLines(const QListWidget* list) {
    QStringList lines;
    lines.reserve(list->count());
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* item = list->item(i);
        lines.append(pairLine(item->data(kForeignRole).toString(), item->data(kCzechRole).toString()));
    }
    return lines;
}

bool hasSelection(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected();
}

void changeSelected(QListWidget* list, QWidget* dialogParent) {
    QListWidgetItem* item = list->currentItem();
    const int row = list->row(item);
    QString foreign = item->data(kForeignRole).toString();
    QString czech = item->data(kCzechRole).toString();
    delete item;
    HintWindow::changePair(dialogParent, &foreign, &czech);
    insertPair(list, row, foreign, czech);
    list->setCurrentRow(row);
}

} // namespace PairItems
