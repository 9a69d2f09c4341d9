// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class IoStatus;
class QWidget;

// Every message box of the program goes through here: a modal box with a text, OK or Yes/No
// (captioned "OK", "Ano", "Ne"), an icon and a title.
namespace MessageBox {

enum class Buttons { Ok, YesNo };
enum class Icon { Critical, Exclamation, Question, Information };
enum class Answer { Ok, Yes, No };

struct Request {
    QString text;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::Information;
    QString title;
    // The button that Enter and Space press when the user has not moved the focus.
    Answer defaultAnswer = Answer::Ok;
};

// Said by every page whose form the user sent off with a box left empty.
inline const QString kMissingFields = QStringLiteral("Nejsou zadány všechny údaje!");

// The caption of the main window, the title of its pages' message boxes.
QString mainCaption();

Answer show(QWidget* parent, const QString& text, Buttons buttons, Icon icon, const QString& title = mainCaption());
// A Yes/No box; defaultAnswer is what Enter or Space gives (Yes or No).
Answer show(QWidget* parent, const Request& request);
// A question whose Yes only goes on with what the user started: Yes is the default.
inline bool ask(QWidget* parent, const QString& text, Icon icon) {
    return show(parent, text, Buttons::YesNo, icon) == Answer::Yes;
}
// A question whose Yes ends the program or a test, deletes, or throws work away: No is the default,
// so that an Enter or a Space meant for the window behind never does it.
bool confirm(QWidget* parent, const QString& text, Icon icon, const QString& title = mainCaption());
// A message with OK only.
inline void tell(QWidget* parent, const QString& text, Icon icon) {
    show(parent, text, Buttons::Ok, icon);
}
// The reason a file operation failed, on the critical icon.
void showFileError(QWidget* parent, const QString& message);
// What the user must know of a write: why it failed (critical icon), or that the file was converted
// to another encoding on the way (information icon). Returns whether the write succeeded.
bool reportWrite(QWidget* parent, const IoStatus& status);

// Tests put a scripted answerer in place of the real box; an empty handler brings the real box back.
using Handler = std::function<Answer(const Request&)>;
void setHandler(Handler handler);

} // namespace MessageBox
