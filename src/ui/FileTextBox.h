// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// A box whose text goes into a file, where a line break would split the line it stands on. However
// the text arrives (typed, pasted, dropped, composed or set by the program), the box keeps it on one
// line and without control characters, as fileText() does.
class FileTextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit FileTextBox(QWidget* parent = nullptr);
};
