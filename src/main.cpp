// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"
#include "app/Translation.h"
#include "core/AppState.h"
#include "history/DueOverview.h"
#include "instance/SingleInstance.h"
#include "launch/CommandLine.h"
#include "launch/DataHome.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>

#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Said on the terminal too, for a start from a script or a menu entry's log.
void refuse(const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    MessageBox::tell(nullptr, message, MessageBox::Icon::Exclamation);
}

// Every file of the program is named relative to the data directory: it becomes the working directory.
DataHome::Choice enterDataHome(const CommandLine& line) {
    DataHome::Choice home =
        DataHome::choose({line.dataDir, qEnvironmentVariable("MEMORAN_DATA"), QDir::currentPath(), QDir::homePath(),
                          QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                          DataHome::installedDemo(QCoreApplication::applicationDirPath())});
    if (!home.dir.isEmpty() && !QDir::setCurrent(home.dir))
        home.problem = QStringLiteral("Do složky dat „%1“ nelze přejít.").arg(home.dir);
    return home;
}

// --due: the pairs to revise, on the terminal. Reads only, so it needs neither a display nor the
// lock a running window holds.
int listDuePairs(int argc, char* argv[], const CommandLine& line) {
    QCoreApplication app(argc, argv);
    const DataHome::Choice home = enterDataHome(line);
    if (home.dir.isEmpty() || !home.problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(home.problem));
        return 1;
    }
    const DueOverview due =
        DueOverview::read(QDir::currentPath(), line.dueDate.isValid() ? line.dueDate : QDate::currentDate());
    if (!due.problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", due.problem.toLocal8Bit().constData());
        return 1;
    }
    const QByteArray list = due.terminalList();
    std::fwrite(list.constData(), 1, size_t(list.size()), stdout);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // Answered before any window exists: --help and --version need no display.
    const CommandLine line = CommandLine::parse(argumentsOf(argc, argv));
    switch (line.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        std::fputs(qPrintable(line.message), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fprintf(stderr, "%s\n", qPrintable(line.message));
        return CommandLine::kUsageExitCode;
    case CommandLine::Action::Due:
    case CommandLine::Action::Run:
        break;
    }

    QCoreApplication::setApplicationName(QStringLiteral("Memoran"));
    if (line.action == CommandLine::Action::Due)
        return listDuePairs(argc, argv, line);
    QApplication app(argc, argv);
    installCzechTranslation(app);
    // The menu entry and the icon installed with the program: the desktop ties the windows to them.
    QGuiApplication::setDesktopFileName(QStringLiteral("cz.memoran.Memoran"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("cz.memoran.Memoran")));

    const DataHome::Choice home = enterDataHome(line);
    if (home.dir.isEmpty() || !home.problem.isEmpty()) {
        refuse(home.problem);
        return 1;
    }
    // The wizard hides the main window; the program ends only by its own ways out.
    app.setQuitOnLastWindowClosed(false);

    // One window per data directory: two would renumber and save the same files unaware of each other.
    SingleInstance instance(QDir::currentPath());
    switch (instance.start()) {
    case SingleInstance::Start::HandedOver:
        return 0;
    case SingleInstance::Start::Refused:
        refuse(instance.busyMessage());
        return 1;
    case SingleInstance::Start::First:
    case SingleInstance::Start::Unlocked:
        break;
    }

    DataDir dataDir(QDir::currentPath());
    MersenneRandom random;
    SystemClock clock;
    AppState state(dataDir, random, clock);

    MainWindow mainWindow(state);
    QObject::connect(&mainWindow, &MainWindow::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    QObject::connect(&instance, &SingleInstance::raiseRequested, &mainWindow, &MainWindow::bringToFront);
    mainWindow.start();
    return app.exec();
}
