// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileItems.h"

#include "store/DataDir.h"
#include "ui/Form.h"

#include <QListWidget>

namespace FileItems {

void fill(QListWidget* list, const FileListing& listing) {
    list->clear();
    for (qsizetype i = 0; i < listing.names.size(); ++i) {
        auto* item = new QListWidgetItem(listing.names.at(i), list);
        item->setData(Qt::UserRole, listing.fileNames.value(i));
    }
    clearChoice(list);
}

QString fileOf(const QListWidgetItem* item) {
    return item ? item->data(Qt::UserRole).toString() : QString();
}

} // namespace FileItems
