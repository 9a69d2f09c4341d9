// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QListWidget;
class QListWidgetItem;
struct FileListing;

// Lists of textbooks or lessons: each item shows a name and carries its file name, so that what is
// chosen is read from the item, never from a list kept beside it.
namespace FileItems {

// Replaces the list's items by the listing's names, each carrying its file name; none is chosen.
void fill(QListWidget* list, const FileListing& listing);
// The file name an item carries; empty for no item.
QString fileOf(const QListWidgetItem* item);

} // namespace FileItems
