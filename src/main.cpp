// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"
#include "app/Translation.h"
#include "core/AppState.h"
#include "exchange/Transfer.h"
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

// --import and --export: a textbook in or out, on the terminal. They write into the data directory
// (or read what a window may be changing), so a running window's lock refuses them.
int exchangeFiles(int argc, char* argv[], const CommandLine& line) {
    QCoreApplication app(argc, argv);
    const DataHome::Choice home = enterDataHome(line);
    const auto fail = [](const QString& message) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        return 1;
    };
    if (home.dir.isEmpty() || !home.problem.isEmpty())
        return fail(home.problem);
    SingleInstance instance(QDir::currentPath());
    if (!instance.lockForWriting())
        return fail(QStringLiteral("Data ve složce „%1“ jsou otevřena v okně programu Memoran: zavřete ho a "
                                   "spusťte příkaz znovu. Nic se nezměnilo.")
                        .arg(QDir::toNativeSeparators(QDir::currentPath())));
    const DataDir dir(QDir::currentPath());
    Exchange::Format format = Exchange::Format::Csv;
    const QHash<QString, Exchange::Format> named{{QStringLiteral("kvtml"), Exchange::Format::Kvtml},
                                                 {QStringLiteral("csv"), Exchange::Format::Csv},
                                                 {QStringLiteral("tsv"), Exchange::Format::Tsv},
                                                 {QStringLiteral("anki"), Exchange::Format::FlashCards}};
    if (!line.format.isEmpty())
        format = named.value(line.format);
    else if (!Exchange::formatOf(line.file, &format)) {
        std::fprintf(
            stderr, "%s\n",
            qPrintable(QStringLiteral("Formát souboru „%1“ nepoznám podle přípony: zadejte --format.").arg(line.file)));
        return CommandLine::kUsageExitCode;
    }
    const QString file = QDir(QDir::currentPath()).absoluteFilePath(line.file);
    if (line.action == CommandLine::Action::Export) {
        const IoStatus written = Exchange::writeFile(dir, line.textbook, file, format);
        if (!written.ok())
            return fail(written.message());
        std::printf(
            "%s\n",
            qPrintable(QStringLiteral("Učebnice č. %1 je zapsána do souboru „%2“.").arg(line.textbook).arg(file)));
        return 0;
    }
    const Exchange::ImportedBook book =
        Exchange::readFile(file, {format, line.foreignId, line.czechId, line.columns, false});
    if (!book.problem.isEmpty())
        return fail(book.problem);
    const Exchange::StorePlan plan = Exchange::plan(book);
    const Exchange::Stored stored = Exchange::store(dir, plan);
    const QString summary = Exchange::summary(plan, stored);
    if (!stored.status.ok())
        return fail(summary);
    std::printf("%s\n", summary.toLocal8Bit().constData());
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
    case CommandLine::Action::Import:
    case CommandLine::Action::Export:
    case CommandLine::Action::Run:
        break;
    }

    QCoreApplication::setApplicationName(QStringLiteral("Memoran"));
    if (line.action == CommandLine::Action::Due)
        return listDuePairs(argc, argv, line);
    if (line.action == CommandLine::Action::Import || line.action == CommandLine::Action::Export)
        return exchangeFiles(argc, argv, line);
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
