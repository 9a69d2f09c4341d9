// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileTextBox.h"

#include "store/TextRoutines.h"

#include <QValidator>

namespace {

// The line edit hands every change of its text to its validator before it takes it, setText
// included, and the text it takes is the one the validator leaves: signals see only clean text.
class OneLine : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override {
        input = fileText(input, &position);
        return Acceptable;
    }
};

} // namespace

FileTextBox::FileTextBox(QWidget* parent) : QLineEdit(parent) {
    setValidator(new OneLine(this));
}
