// SPDX-License-Identifier: GPL-3.0-or-later
// One running window per data directory: the lock and the hand-over in one process, then the
// program itself started twice on a copy of demo/ (its working directory is its data directory).
#include "instance/SingleInstance.h"

#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A copy of the program; whatever a test does, it does not outlive the test.
struct Program : QProcess {
    explicit Program(const QString& dir, const QString& program = QStringLiteral(MEMORAN_BINARY),
                     const QStringList& arguments = {}) {
        setWorkingDirectory(dir);
        start(program, arguments);
        waitForStarted(5000);
    }
    ~Program() override {
        kill();
        waitForFinished(5000);
    }
    // Whether it still runs, asked now (QProcess learns of an end from its event loop).
    bool running() { return !waitForFinished(0) && state() == QProcess::Running; }
};

// The data directory as a newcomer gets it.
bool copyDemo(const QString& to) {
    return QProcess::execute(u"cp"_s, {u"-R"_s, QStringLiteral(MEMORAN_DEMO_DATA "/."), to}) == 0;
}

// The process that holds the data directory's lock, 0 when none does.
qint64 lockHolder(const QString& dir) {
    qint64 pid = 0;
    QLockFile(dir + u'/' + QLatin1StringView(SingleInstance::kLockFileName)).getLockInfo(&pid, nullptr, nullptr);
    return pid;
}

} // namespace

class TestInstance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void secondStartHandsOverToTheFirst() {
        QTemporaryDir dir, other;
        SingleInstance first(dir.path()), second(dir.path()), elsewhere(other.path());
        QCOMPARE(first.start(), SingleInstance::Start::First);
        QSignalSpy raise(&first, &SingleInstance::raiseRequested);
        QVERIFY(!second.lockForWriting());
        // The second start waits for the first's answer, which this thread's event loop gives.
        std::atomic<bool> done = false;
        SingleInstance::Start answer{};
        std::thread starting([&] {
            answer = second.start();
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
        starting.join();
        QCOMPARE(answer, SingleInstance::Start::HandedOver);
        QCOMPARE(raise.size(), 1);
        QCOMPARE(elsewhere.start(), SingleInstance::Start::First);
    }

    void secondProgramEndsAndAKilledOnesLockIsTakenOver() {
        QTemporaryDir dir;
        QVERIFY(copyDemo(dir.path()));
        Program first(dir.path());
        QTRY_COMPARE_WITH_TIMEOUT(lockHolder(dir.path()), first.processId(), 10000);
        Program second(dir.path());
        QVERIFY(second.waitForFinished(10000));
        QVERIFY(second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0);
        QVERIFY(first.running());
        first.kill();
        QVERIFY(first.waitForFinished(5000));
        Program third(dir.path());
        QTRY_COMPARE_WITH_TIMEOUT(lockHolder(dir.path()), third.processId(), 10000);
        QVERIFY(third.running());
    }

    // Under a window manager (tests/support/under-wm): the minimised window of the first comes back.
    void secondStartBringsTheWindowBack() {
        if (qEnvironmentVariable("QT_QPA_PLATFORM") != u"xcb")
            QSKIP("needs a window manager: run through tests/support/under-wm");
        QTemporaryDir dir;
        QVERIFY(copyDemo(dir.path()));
        Program first(dir.path());
        auto xdotool = [](const QStringList& arguments) { // its output's first line
            QProcess tool;
            tool.start(u"xdotool"_s, arguments);
            tool.waitForFinished(5000);
            return QString::fromLocal8Bit(tool.readAllStandardOutput()).section(u'\n', 0, 0);
        };
        const QStringList mainWindow = {u"search"_s, u"--onlyvisible"_s, u"--pid"_s, QString::number(first.processId()),
                                        u"--name"_s, u"Memoran"_s};
        QTRY_VERIFY_WITH_TIMEOUT(!xdotool(mainWindow).isEmpty(), 10000);
        xdotool({u"windowminimize"_s, u"--sync"_s, xdotool(mainWindow)});
        QTRY_VERIFY(xdotool(mainWindow).isEmpty());
        Program second(dir.path());
        QVERIFY(second.waitForFinished(10000));
        QTRY_VERIFY_WITH_TIMEOUT(!xdotool(mainWindow).isEmpty(), 5000);
    }

    // Where no lock file can be made, the program runs without one: twice, as a user who may not
    // write there (root may write anywhere).
    void readOnlyDirectoryStartsWithoutTheLock() {
        if (geteuid() != 0)
            QSKIP("needs root to create a user who may not write to the data directory");
        QProcess::execute(u"useradd"_s, {u"--system"_s, u"--no-create-home"_s, u"memoran-test"_s});
        const passwd* user = getpwnam("memoran-test");
        if (!user)
            QSKIP("no user could be created (useradd)");
        QTemporaryDir scratch; // the build may lie where the user cannot read it
        const QString program = scratch.filePath(u"memoran"_s), data = scratch.filePath(u"data"_s);
        QVERIFY(QFile::copy(QStringLiteral(MEMORAN_BINARY), program) && QDir().mkdir(data) && copyDemo(data));
        QVERIFY(QProcess::execute(u"chmod"_s, {u"-R"_s, u"a+rX,go-w"_s, scratch.path()}) == 0);
        const QStringList asUser = {u"--reuid=%1"_s.arg(user->pw_uid), u"--regid=%1"_s.arg(user->pw_gid),
                                    u"--clear-groups"_s, program};
        Program first(data, u"setpriv"_s, asUser), second(data, u"setpriv"_s, asUser);
        QVERIFY(!second.waitForFinished(3000));
        QVERIFY(first.running());
        QVERIFY(!QFile::exists(data + u'/' + QLatin1StringView(SingleInstance::kLockFileName)));
        QVERIFY(!first.readAllStandardError().contains("jiném okně"));
    }
};

QTEST_GUILESS_MAIN(TestInstance)
#include "tst_instance.moc"
