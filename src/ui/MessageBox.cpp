// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MessageBox.h"

#include "store/IoStatus.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSpacerItem>

namespace MessageBox {

namespace {

Handler& handler() {
    static Handler current;
    return current;
}

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// A question is answered by Yes or No: Escape gives neither answer.
class QuestionBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cancel) && buttons().size() > 1) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
};

// The window manager cuts the title to the width of the box ("Memoran 20…ition"): the box is at
// least as wide as the title in bold, with room for the icon and buttons of the title bar.
void fitTitle(QMessageBox& box) {
    QFont bold = box.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int width = metrics.horizontalAdvance(box.windowTitle()) + 8 * metrics.height();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

Answer showReal(QWidget* parent, const Request& request) {
    QuestionBox box(qtIcon(request.icon), request.title, request.text, QMessageBox::NoButton, parent);
    fitTitle(box);
    if (request.buttons == Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
        return Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ano"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Ne"));
    box.setDefaultButton(request.defaultAnswer == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

} // namespace

QString mainCaption() {
    return QStringLiteral("Memoran 2002 Second Edition - Beta 3");
}

Answer show(QWidget* parent, const QString& text, Buttons buttons, Icon icon, const QString& title) {
    return show(parent, Request{text, buttons, icon, title, buttons == Buttons::Ok ? Answer::Ok : Answer::Yes});
}

bool confirm(QWidget* parent, const QString& text, Icon icon, const QString& title) {
    return show(parent, Request{text, Buttons::YesNo, icon, title, Answer::No}) == Answer::Yes;
}

Answer show(QWidget* parent, const Request& request) {
    if (handler())
        return handler()(request);
    return showReal(parent, request);
}

void showFileError(QWidget* parent, const QString& message) {
    show(parent, message, Buttons::Ok, Icon::Critical);
}

bool reportWrite(QWidget* parent, const IoStatus& status) {
    if (!status.ok())
        showFileError(parent, status.message());
    else if (!status.notice().isEmpty())
        show(parent, status.notice(), Buttons::Ok, Icon::Information);
    return status.ok();
}

void setHandler(Handler next) {
    handler() = std::move(next);
}

} // namespace MessageBox
