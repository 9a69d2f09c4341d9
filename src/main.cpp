#include "app/MainWindow.h"
#include "app/Translation.h"
#include "core/AppState.h"
#include "instance/SingleInstance.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    installCzechTranslation(app);
    // The wizard hides the main window; the program ends only by its own ways out.
    app.setQuitOnLastWindowClosed(false);

    // One window per data directory: two would renumber and save the same files unaware of each other.
    SingleInstance instance(QDir::currentPath());
    switch (instance.start()) {
    case SingleInstance::Start::HandedOver:
        return 0;
    case SingleInstance::Start::Refused:
        // Said on the terminal too, for a start from a script.
        std::fprintf(stderr, "%s\n", qPrintable(instance.busyMessage()));
        MessageBox::tell(nullptr, instance.busyMessage(), MessageBox::Icon::Exclamation);
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
