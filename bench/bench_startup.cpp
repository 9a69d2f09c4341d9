// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up to the main menu, and the memory it holds there, against the smallest Qt Widgets programs
// started the same way: what Qt itself costs is not ours to shave. The floor is a window with one
// label of text, since the first text a program draws loads the fonts; a bare window, which draws
// none, shows how much of that floor the fonts are.
#include "BenchReport.h"

#include "app/MainWindow.h"
#include "app/Translation.h"
#include "core/AppState.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace BenchReport;

namespace {

constexpr int kRounds = 31;
constexpr int kProcessRounds = 31;
constexpr int kMemoryRuns = 3;
constexpr int kIdleMs = 300;
constexpr QSize kWindowSize(720, 520); // the main window's size
const QString kChildOption = QStringLiteral("--child");
const QString kBare = QStringLiteral("bare");
const QString kLabel = QStringLiteral("label");
const QString kMemoran = QStringLiteral("memoran");

QtMessageHandler s_defaultHandler = nullptr;

// The offscreen platform complains on every raise() and about a missing runtime directory; the
// report stays readable without them, and any other message still shows.
void dropPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")) ||
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    s_defaultHandler(type, context, message);
}

// Counts the paint events of the whole application.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Spins the event loop until the window is exposed and painted and one more pass paints nothing.
// QTest::qWaitForWindowExposed would sleep 10 ms between passes, which would hide the difference.
bool settle(QWidget& window, const PaintCounter& counter) {
    const QDeadlineTimer deadline(5000);
    int seen = -1;
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents();
        const bool exposed = window.windowHandle() && window.windowHandle()->isExposed();
        if (exposed && counter.paints > 0 && counter.paints == seen)
            return true;
        seen = counter.paints;
    }
    return false;
}

// The program as main() starts it: the intro painted, then the main menu that the intro's timer
// brings, here at once rather than a second later. The wait is idle time, the intro's drawing is not.
struct StartedMemoran {
    StartedMemoran(const QString& dataRoot, PaintCounter& counter)
        : dir(dataRoot), state(dir, random, clock), window(state) {
        window.start();
        if (!settle(window, counter))
            note(QStringLiteral("WARNING: the intro was not painted within 5 s"));
        counter.paints = 0; // the main menu must paint anew
        window.F1Tmr_Timer();
    }

    DataDir dir;
    MersenneRandom random;
    SystemClock clock;
    AppState state;
    MainWindow window;
};

std::unique_ptr<QWidget> startBare() {
    auto window = std::make_unique<QWidget>();
    window->setFixedSize(kWindowSize);
    window->show();
    return window;
}

// The same window with one line of text in the default font, as the main menu's caption stands.
std::unique_ptr<QWidget> startLabelled() {
    auto window = std::make_unique<QWidget>();
    window->setFixedSize(kWindowSize);
    auto* label = new QLabel(QStringLiteral("Hlavní menu"), window.get());
    label->setGeometry(212, 14, 488, 32);
    window->show();
    return window;
}

QWidget& windowOf(QWidget& window) {
    return window;
}
QWidget& windowOf(StartedMemoran& started) {
    return started.window;
}

// Times one start-up, from nothing to the window on screen; the tear-down is not timed.
template <typename Start> Sample timeStartUp(PaintCounter& counter, Start start) {
    counter.paints = 0;
    const Stopwatch stopwatch;
    auto started = start();
    if (!settle(windowOf(*started), counter))
        note(QStringLiteral("WARNING: a window was not painted within 5 s"));
    const Sample elapsed = stopwatch.elapsed();
    started.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return elapsed;
}

void copyTree(const QString& from, const QString& to) {
    const QDir source(from);
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + u'/' + source.relativeFilePath(file);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target))
            qFatal("cannot copy %s to %s", qPrintable(file), qPrintable(target));
    }
}

// Both windows in this process, after QApplication is up: what our own windows add.
QStringList benchInProcess(const QString& dataRoot) {
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    const Comparison c = compareAlternating(
        kRounds, [&] { return timeStartUp(counter, startLabelled); },
        [&] { return timeStartUp(counter, [&] { return std::make_unique<StartedMemoran>(dataRoot, counter); }); });
    qApp->removeEventFilter(&counter);
    // The first window to draw text loads the fonts; the warm-up runs take that out of the medians.
    note(QStringLiteral("first start-ups, CPU time (warm-up, not in the medians): one label %1, Memoran %2")
             .arg(ms(c.firstBaseline.cpuMs), ms(c.firstSubject.cpuMs)));
    return ratioRow(QStringLiteral("main window built to main menu painted, one QApplication (vs one-label window)"), c,
                    3);
}

qint64 residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The child process: one window of the given kind; "painted" and the CPU time the process has used
// on stdout once the window is on screen, then, when asked to idle for a while, its resident memory
// in kB after that. Memoran starts as main() starts it, translation included.
int runChild(QApplication& app, const QString& kind, const QString& dataRoot, int idleMs) {
    PaintCounter counter;
    app.installEventFilter(&counter);
    std::unique_ptr<QWidget> plain;
    std::unique_ptr<StartedMemoran> memoran;
    QWidget* window = nullptr;
    if (kind == kBare || kind == kLabel) {
        plain = kind == kBare ? startBare() : startLabelled();
        window = plain.get();
    } else if (kind == kMemoran) {
        installCzechTranslation(app);
        memoran = std::make_unique<StartedMemoran>(dataRoot, counter);
        window = &memoran->window;
    } else {
        return 2;
    }
    if (!settle(*window, counter))
        return 3;
    std::printf("painted %.3f\n", processCpuMs());
    std::fflush(stdout);
    if (idleMs <= 0)
        return 0;
    QTimer::singleShot(idleMs, &app, &QCoreApplication::quit);
    app.exec();
    std::printf("%lld\n", static_cast<long long>(residentKb()));
    return 0;
}

struct ChildRun {
    Sample startUp{-1, -1}; // from starting the process to its window painted
    double residentMb = -1;
};

ChildRun runChildProcess(const QString& kind, const QString& dataRoot, int idleMs) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {kChildOption, kind, dataRoot, QString::number(idleMs)});
    while (!child.canReadLine() && child.waitForReadyRead(30000)) {
    }
    ChildRun run;
    const QList<QByteArray> painted =
        child.canReadLine() ? child.readLine().simplified().split(' ') : QList<QByteArray>();
    if (painted.size() == 2 && painted[0] == "painted")
        run.startUp = {painted[1].toDouble(), static_cast<double>(timer.nsecsElapsed()) / 1e6};
    if (!child.waitForFinished(30000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return {};
    const qint64 kb = child.readAllStandardOutput().trimmed().toLongLong();
    if (kb > 0)
        run.residentMb = static_cast<double>(kb) / 1024;
    return run;
}

QString mb(double value) {
    return QString::number(value, 'f', 1) + QStringLiteral(" MB");
}

QStringList memoryRow(const std::vector<double>& bare, const std::vector<double>& memoran) {
    const QString what = QStringLiteral("idle memory (VmRSS) on the main menu (vs bare)");
    const QString goal = QStringLiteral("<= +10 MB");
    const auto failed = [](double value) { return value <= 0; };
    if (std::any_of(bare.begin(), bare.end(), failed) || std::any_of(memoran.begin(), memoran.end(), failed)) {
        const QString unknown = QStringLiteral("?");
        return {what, unknown, unknown, unknown, goal, QStringLiteral("child failed")};
    }
    const double bareMb = median(bare);
    const double memoranMb = median(memoran);
    const double extra = memoranMb - bareMb;
    const QString difference = (extra >= 0 ? QStringLiteral("+") : QString()) + mb(extra);
    return {what, mb(bareMb), mb(memoranMb), difference, goal, verdict(extra <= 10)};
}

// Whole processes, as the user starts the program: Qt's own start-up is in both.
QStringList benchProcessStartUp(const QString& dataRoot, const QString& baseline, const QString& what, double goal) {
    const auto startUp = [&](const QString& kind) { return runChildProcess(kind, dataRoot, 0).startUp; };
    const Comparison c = compareAlternating(
        kProcessRounds, [&] { return startUp(baseline); }, [&] { return startUp(kMemoran); });
    QStringList row = goal > 0 ? ratioRow(what, c, goal) : infoRow(what, c);
    if (c.firstBaseline.cpuMs <= 0 || c.firstSubject.cpuMs <= 0 || c.baseline.cpuMs <= 0 || c.subject.cpuMs <= 0)
        row[5] = QStringLiteral("child failed");
    return row;
}

// Each in its own process, so that neither holds what the other allocated.
QStringList benchMemory(const QString& dataRoot) {
    std::vector<double> bare;
    std::vector<double> memoran;
    for (int run = 0; run < kMemoryRuns; ++run) {
        bare.push_back(runChildProcess(kBare, dataRoot, kIdleMs).residentMb);
        memoran.push_back(runChildProcess(kMemoran, dataRoot, kIdleMs).residentMb);
    }
    return memoryRow(bare, memoran);
}

} // namespace

int main(int argc, char* argv[]) {
    s_defaultHandler = qInstallMessageHandler(dropPlatformNoise);
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == kChildOption)
        return runChild(app, args[2], args[3], args[4].toInt());
    installCzechTranslation(app); // as main() does, before either window of this process

    // The program may write to its data directory: it runs on a copy of the demo data.
    QTemporaryDir dataCopy;
    if (!dataCopy.isValid())
        qFatal("no temporary directory: %s", qPrintable(dataCopy.errorString()));
    copyTree(QStringLiteral(MEMORAN_DEMO_DATA), dataCopy.path());

    Table summary(ratioHeader());
    summary.addRow(benchInProcess(dataCopy.path()));
    summary.addRow(benchProcessStartUp(
        dataCopy.path(), kLabel, QStringLiteral("process start to main menu painted (vs one-label window)"), 1.25));
    summary.addRow(benchProcessStartUp(dataCopy.path(), kBare,
                                       QStringLiteral("process start to main menu painted (vs bare window)"), 0));
    summary.addRow(benchMemory(dataCopy.path()));
    summary.print(QStringLiteral("bench_startup (CPU time, medians of alternating rounds: %1 in this process, %2 child "
                                 "processes of each pair; memory: %3 child processes of each, idle %4 ms)")
                      .arg(kRounds)
                      .arg(kProcessRounds)
                      .arg(kMemoryRuns)
                      .arg(kIdleMs));
    return 0;
}
