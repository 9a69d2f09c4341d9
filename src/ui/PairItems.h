// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QListWidget;
class QWidget;

// Pair lists that the user edits (the editor's and the user textbook's): each item shows a pair in its
// edit form, "foreign = Czech", and keeps the two sides as read, so that a side holding " = " itself
// is written back unchanged.
namespace PairItems {

// Replaces the list's items by the pairs of these pair lines, in their order; none is chosen.
void fill(QListWidget* list, const QStringList& pairLines);
// Adds the pairs of these pair lines after the list's last item; the user's choice stays.
void append(QListWidget* list, const QStringList& pairLines);
// The pair lines of the list's items, in list order.
QStringList pairLines(const QListWidget* list);
// The selected item's pair opened in the change window. OK puts the edited pair back in its place;
// giving the change up puts the old pair back.
void changeSelected(QListWidget* list, QWidget* dialogParent);
// Removes the selected item; afterwards no item is chosen, so that the next removal is the user's choice.
void removeSelected(QListWidget* list);
// Whether an item is selected (the buttons that act on one ask this first).
bool hasSelection(const QListWidget* list);

} // namespace PairItems
