// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ErrorTrap.h"

#include "ui/MessageBox.h"

QString trapMessage(int number, const QString& routine) {
    QString message = QStringLiteral("Chyba programu číslo: %1").arg(number);
    if (!routine.isEmpty())
        message += QStringLiteral(" (%1)").arg(routine);
    return message + QStringLiteral("\r\nChcete ukončit aplikaci?");
}

namespace {

bool report(QWidget* parent, int number, const QString& routine, const std::function<void()>& endProgram) {
    const bool end =
        MessageBox::confirm(parent, trapMessage(number, routine), MessageBox::Icon::Critical, QStringLiteral("NoName"));
    if (end && endProgram)
        endProgram();
    return false;
}

} // namespace

bool runTrapped(QWidget* parent, int number, const QString& routine, const std::function<void()>& body,
                const std::function<void()>& endProgram) {
    try {
        body();
        return true;
    } catch (const RoutineError& error) {
        const bool own = error.trapNumber() != 0;
        return report(parent, own ? error.trapNumber() : number, own ? error.routine() : routine, endProgram);
    } catch (const std::exception&) {
        return report(parent, number, routine, endProgram);
    }
}
