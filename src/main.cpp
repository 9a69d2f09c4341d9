#include "app/FrmHl.h"
#include "app/Translation.h"
#include "core/AppState.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    installCzechTranslation(app);
    // The wizard hides the main window; the program ends only by its own ways out.
    app.setQuitOnLastWindowClosed(false);

    DataDir dataDir(QDir::currentPath());
    MersenneRandom random;
    SystemClock clock;
    AppState state(dataDir, random, clock);

    FrmHl mainWindow(state);
    QObject::connect(&mainWindow, &FrmHl::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    mainWindow.Form_Load();
    return app.exec();
}
