#include "DataTree.h"

#include "store/UserTextbook.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSet>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <malloc.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

// Lesson k's title (Windows-1250, CR LF) and pairs.
QByteArray titleBytes(int k) {
    return "Lekce \xe8. " + QByteArray::number(k) + "\r\n";
}
QByteArray pairBytes(int k) {
    return "slovo*p\xf8" + QByteArray("eklad ") + QByteArray::number(k) + "*\r\n";
}

// The user textbook, number by number from 1: "L" a lesson, "E" a lesson without its lesson file, "O" a
// lesson file without its title, "-" nothing; "!" after the letter spells the names in capitals.
// placement: whose files each number holds afterwards ("-" none's); empty: each number its own.
Tree lessons(const QString& layout, const QString& placement = {}) {
    const QStringList kinds = layout.split(u' ', Qt::SkipEmptyParts);
    const QStringList at = placement.split(u' ', Qt::SkipEmptyParts);
    Tree tree{{"books/", {}}, {"units/", {}}};
    for (int n = 1; n <= kinds.size(); ++n) {
        const int k = at.isEmpty() ? n : at.at(n - 1).toInt();
        const QString kind = k > 0 ? kinds.at(k - 1) : QStringLiteral("-");
        const bool caps = kind.endsWith(u'!') && k == n; // a moved lesson takes the names the program spells
        const QString base = QStringLiteral("units/1_%1").arg(n);
        if (kind.startsWith(u'L') || kind.startsWith(u'E'))
            tree.insert(base + (caps ? "T.MUM" : "t.mum"), titleBytes(k));
        if (kind.startsWith(u'L') || kind.startsWith(u'O'))
            tree.insert(base + (caps ? ".MUM" : ".mum"), pairBytes(k));
    }
    return tree;
}

QStringList unitNames(const Data& data) {
    return QDir(data.tmp.filePath("units")).entryList(QDir::Files);
}

QStringList shown(const UserTextbook::Lessons& listed) {
    QStringList result;
    for (const UserTextbook::Lesson& lesson : listed.lessons)
        result.append(QString::number(lesson.number) + u' ' + lesson.description);
    return result;
}
// What list() shows of lessons placed as lessons() places them.
QStringList shown(const QString& layout, const QString& placement) {
    QStringList result;
    const QStringList kinds = layout.split(u' '), at = placement.split(u' ');
    for (int n = 1; n <= at.size(); ++n) {
        if (const int k = at.at(n - 1).toInt(); k > 0 && !kinds.at(k - 1).startsWith(u'O'))
            result.append(QString::number(n) + u' ' + Cp1250::decode(titleBytes(k).chopped(2)));
    }
    return result;
}

// A file that not even root can rename, where the file system and the process's capabilities allow it.
bool setImmutable(const QString& path, bool on) {
    const int fd = open(QFile::encodeName(path).constData(), O_RDONLY);
    int flags = 0;
    const bool ok =
        fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
        (flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    close(fd);
    return ok;
}

// deleteLesson(4) in a child process on a copy of source's lessons, killed delayUs after it began or
// after its first move; or left to finish (Never), telling when it made its first move and when it ended.
struct Run {
    using Clock = std::chrono::steady_clock; // the same in both processes
    enum From { Start, FirstMove, Never };
    Run(const Data& source, From from, qint64 delayUs)
        : data({{"books/", {}}, {"units/", {}}}, QFileInfo(source.tmp.path()).path()) {
        // Hard links: a deletion renames and removes files, it never writes into one.
        for (const QString& name : unitNames(source)) {
            data.ok = data.ok && link(QFile::encodeName(source.tmp.filePath("units/" + name)).constData(),
                                      QFile::encodeName(data.tmp.filePath("units/" + name)).constData()) == 0;
        }
        int times[2]; // when the child starts, makes its first move and ends
        if (!data.ok || pipe(times) != 0)
            return;
        malloc_trim(0); // less of the heap for the child to copy as it touches it
        const pid_t child = fork();
        if (child == 0) {
            UserTextbook::list(data.dir); // a child's first touches of memory are slow: outside the timing
            const auto tell = [&] {
                const Clock::time_point now = Clock::now();
                (void)!write(times[1], &now, sizeof now);
            };
            bool moved = false;
            tell();
            const bool ok =
                UserTextbook::deleteLesson(data.dir, 4, [&](int, int) { moved || (tell(), moved = true); }).ok();
            tell();
            _exit(ok ? 0 : 1);
        }
        close(times[1]);
        Clock::time_point at[3];
        for (int i = 0; i <= from; ++i)
            data.ok = data.ok && read(times[0], &at[i], sizeof at[i]) == sizeof at[i];
        if (from == Never) {
            firstMoveUs = std::chrono::duration_cast<std::chrono::microseconds>(at[1] - at[0]).count();
            endUs = std::chrono::duration_cast<std::chrono::microseconds>(at[2] - at[0]).count();
        } else {
            std::this_thread::sleep_until(at[from] + std::chrono::microseconds(delayUs));
            kill(child, SIGKILL);
        }
        int status = 0;
        data.ok = data.ok && waitpid(child, &status, 0) == child && (WIFSIGNALED(status) || WEXITSTATUS(status) == 0);
        killed = WIFSIGNALED(status);
        close(times[0]);
    }
    Data data;
    bool killed = false;
    qint64 firstMoveUs = 0;
    qint64 endUs = 0;
};

} // namespace

class TestUserTextbook : public QObject {
    Q_OBJECT

private slots:
    void ensureTextbook() {
        const Data missing({{"books/", {}}});
        const Data present({{"books/1.MUM", "Moje\r\n"}});
        QVERIFY(missing.ok && present.ok);
        QVERIFY(UserTextbook::ensureTextbook(missing.dir).ok() && UserTextbook::ensureTextbook(present.dir).ok());
        const QByteArray name = "U\x9eivatelsk\xe1 u\xe8" + QByteArray("ebnice\r\n");
        QCOMPARE(missing.now(), listing({{"books/", {}}, {"books/1.mum", name}}));
        QCOMPARE(present.now(), listing({{"books/", {}}, {"books/1.MUM", "Moje\r\n"}}));
    }

    void createLesson_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("title"); // the file that holds the description
        QTest::addColumn<QString>("description");
        QTest::addColumn<QByteArray>("bytes");
        const QString family = QStringLiteral("  Rodina a příbuzní ");
        const QByteArray familyBytes = "  Rodina a p\xf8\xed" + QByteArray("buzn\xed \r\n");
        QTest::newRow("1, 2 and 4") << "L L - L" << 3 << "1_3t.mum" << family << familyBytes;
        QTest::newRow("3 without its lesson file") << "L L E L" << 3 << "1_3t.mum" << family << familyBytes;
        QTest::newRow("title in capitals") << "L E!" << 2 << "1_2T.MUM" << family << familyBytes;
        QTest::newRow("a lesson file without title") << "O" << 2 << "1_2t.mum" << family << familyBytes;
        QTest::newRow("empty description") << QString() << 1 << "1_1t.mum" << QString() << QByteArray("\r\n");
    }
    void createLesson() {
        QFETCH(QString, layout);
        QFETCH(QString, description);
        QFETCH(int, number);
        QFETCH(QString, title);
        QFETCH(QByteArray, bytes);
        const Data data(lessons(layout));
        QVERIFY(data.ok);
        const UserTextbook::Created created = UserTextbook::createLesson(data.dir, description);
        QVERIFY2(created.status.ok(), qPrintable(created.status.message()));
        QCOMPARE(created.number, number);
        Tree after = lessons(layout);
        after.insert("units/" + title, bytes);
        QCOMPARE(data.now(), listing(after));
    }

    void list() {
        Tree tree = lessons("L E!");
        tree.insert("units/1_3t.mum", "");                            // no line: an empty description
        tree.insert("units/1_4t.mum", "  \xc8ty\xf8i  \r\nnext\r\n"); // line 1 exactly
        tree.insert("units/1_5t.mum/", {});
        for (const char* name : {"units/1_05t.mum", "units/1_1000t.mum", "units/2_6t.mum", "units/1_7.mum"})
            tree.insert(name, "x\r\n");
        tree.insert("units/1_999t.mum", "Posledn\xed\r\n");
        const Data data(tree);
        QVERIFY(data.ok);
        int done = 0, total = 0;
        const UserTextbook::Lessons listed = UserTextbook::list(data.dir, [&](int d, int t) { done = d, total = t; });
        QVERIFY(listed.errors.isEmpty());
        QCOMPARE(shown(listed), (QStringList{"1 Lekce č. 1", "2 Lekce č. 2", "3 ", "4   Čtyři  ", "999 Poslední"}));
        QVERIFY(done == 999 && total == 999);
    }

    // Each later lesson moves one number down where the number below it is free.
    void deleteLesson_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("placement");
        QTest::newRow("2 of 1 to 3") << "L L L" << 2 << "1 3 -";
        QTest::newRow("the last") << "L L" << 2 << "1 -";
        QTest::newRow("gaps, empty lessons") << "L E L - L E" << 1 << "2 3 - 5 6 -";
        QTest::newRow("an empty one") << "E L" << 1 << "2 -";
        QTest::newRow("names in capitals") << "L L! E!" << 1 << "2 3 -";
        // A lesson file without its title is never written over, nor is its number free.
        QTest::newRow("lesson file in a gap") << "L L O - L" << 1 << "2 - 3 5 -";
        QTest::newRow("lesson file at the deleted number") << "L O L" << 2 << "1 3 -";
        const QString none = QStringList(997, "-").join(u' ');
        QTest::newRow("lesson 999 stays") << none + " L L" << 998 << none + " - 999"; // the walk ends at 997
    }
    void deleteLesson() {
        QFETCH(QString, layout);
        QFETCH(int, n);
        QFETCH(QString, placement);
        const Data data(lessons(layout));
        QVERIFY(data.ok);
        const IoStatus status = UserTextbook::deleteLesson(data.dir, n);
        QVERIFY2(status.ok(), qPrintable(status.message()));
        QCOMPARE(data.now(), listing(lessons(layout, placement)));
        QCOMPARE(shown(UserTextbook::list(data.dir)), shown(layout, placement));
    }

    // Each failure names the file and why, and changes nothing.
    void failures_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("file");
        QTest::addColumn<Tree>("before");
        QTest::addColumn<QString>("reason");
        const Tree noUnits{{"books/", {}}};
        QTest::newRow("list, no units folder") << "list"
                                               << "units" << noUnits << "neexistuje";
        QTest::newRow("new lesson, no units folder") << "create"
                                                     << "units" << noUnits << "neexistuje";
        QTest::newRow("delete, no units folder") << "delete 1"
                                                 << "units" << noUnits << "neexistuje";
        QTest::newRow("new lesson, all 999 taken")
            << "create"
            << "units" << lessons(QStringList(999, "O").join(u' ')) << "všech 999 čísel";
        Tree folder = lessons("L L");
        folder.insert("units/1_3t.mum/", {});
        QTest::newRow("delete, a folder") << "delete 3"
                                          << "units/1_3t.mum" << folder << "je to složka";
    }
    void failures() {
        QFETCH(QString, op);
        QFETCH(Tree, before);
        QFETCH(QString, file);
        QFETCH(QString, reason);
        const Data data(before);
        QVERIFY(data.ok);
        const IoStatus status = op == "list"     ? UserTextbook::list(data.dir).errors.value(0)
                                : op == "create" ? UserTextbook::createLesson(data.dir, "x").status
                                                 : UserTextbook::deleteLesson(data.dir, op.back().digitValue());
        QVERIFY2(status.message().contains(u'„' + QDir::toNativeSeparators(data.tmp.filePath(file)) + u'“') &&
                     status.message().contains(reason),
                 qPrintable(status.message()));
        QCOMPARE(data.now(), listing(before));
    }

    // A journal that this program did not write is never carried out; once discarded, work goes on.
    void foreignJournal_data() {
        QTest::addColumn<QByteArray>("journal");
        const QByteArray mark = "Memoran: renumbering of the user textbook, version 1\r\n";
        const QByteArray sum = QCryptographicHash::hash("2", QCryptographicHash::Sha256).toHex() + "\r\n";
        QTest::newRow("a plan alone, by hand") << QByteArray("3\r\n");
        QTest::newRow("no mark") << sum + "2\r\n";
        QTest::newRow("a plan changed by hand") << mark + sum + "3\r\n";
    }
    void foreignJournal() {
        QFETCH(QByteArray, journal);
        Tree tree = lessons("L L L L");
        tree.insert("units/1_renumber.txt", journal);
        const Data data(tree);
        QVERIFY(data.ok);
        const IoStatus refused = UserTextbook::deleteLesson(data.dir, 1);
        QVERIFY2(refused.message().contains(QStringLiteral("neobsahuje záznam přečíslování lekcí")),
                 qPrintable(refused.message()));
        QVERIFY(UserTextbook::refusedJournal(data.dir, refused));
        QCOMPARE(data.now(), listing(tree));
        QVERIFY(UserTextbook::discardJournal(data.dir).ok());
        QVERIFY(UserTextbook::deleteLesson(data.dir, 1).ok());
        QCOMPARE(data.now(), listing(lessons("L L L L", "2 3 4 -")));
    }

    // A lesson whose title is a link out of the data directory is neither moved nor deleted.
    void linkedLessonStays() {
        Tree tree = lessons("L L L");
        tree.insert("units/1_2t.mum", kLink + "/etc/passwd");
        const Data data(tree);
        QVERIFY(data.ok);
        const IoStatus deleted = UserTextbook::deleteLesson(data.dir, 1);
        QVERIFY2(deleted.ok(), qPrintable(deleted.message()));
        tree.remove("units/1_1t.mum");
        tree.remove("units/1_1.mum");
        QCOMPARE(data.now(), listing(tree));
        const QString refused = UserTextbook::deleteLesson(data.dir, 2).message();
        QVERIFY2(refused.contains(QStringLiteral("1_2t.mum“ se nepodařilo odstranit: je to odkaz mimo složku s daty")),
                 qPrintable(refused));
        QCOMPARE(data.now(), listing(tree));
    }

    // A rename that fails stops the renumbering with its reason; the next operation finishes it.
    void failedRenameIsFinishedLater() {
        const Data data(lessons("L L L L"));
        const QString stuck = data.tmp.filePath("units/1_4t.mum");
        if (!data.ok || !setImmutable(stuck, true))
            QSKIP("this file system or process cannot make a file immutable");
        auto unstick = qScopeGuard([&] { setImmutable(stuck, false); });
        const QString message = UserTextbook::deleteLesson(data.dir, 2).message();
        QVERIFY2(
            message.contains(u'„' + QDir::toNativeSeparators(stuck) + QStringLiteral("“ se nepodařilo přejmenovat")),
            qPrintable(message));
        QCOMPARE(UserTextbook::createLesson(data.dir, "x").number, 0); // nothing taken while lessons move
        unstick.dismiss();
        QVERIFY(setImmutable(stuck, false));
        QCOMPARE(shown(UserTextbook::list(data.dir)), shown("L L L L", "1 3 4 -"));
        QCOMPARE(data.now(), listing(lessons("L L L L", "1 3 4 -")));
    }

    // Killed at any moment, a deletion is finished by the next run: the files end exactly as an
    // uninterrupted deletion leaves them (or as they were, when it was killed before saving its journal).
    void killedAnywhere() {
        QStringList kinds(60, "L");
        for (int n = 3; n <= 60; n += 7)
            kinds[n - 1] = "E";
        kinds[30 - 1] = "-";
        kinds[45 - 1] = "O";
        // In memory where the system has it: the kills test the order of the steps, not the disk.
        const Data source(lessons(kinds.join(u' ')),
                          QFileInfo("/dev/shm").isWritable() ? "/dev/shm" : QDir::tempPath());
        QVERIFY(source.ok);
        const QStringList before = source.now(), sourceNames = unitNames(source);
        QStringList expected;
        std::vector<qint64> firsts, ends;
        for (int i = 0; i < 5; ++i) {
            const Run uninterrupted(source, Run::Never, 0);
            QVERIFY(uninterrupted.data.ok && !uninterrupted.killed);
            firsts.push_back(uninterrupted.firstMoveUs);
            ends.push_back(uninterrupted.endUs);
            expected = uninterrupted.data.now();
        }
        std::sort(firsts.begin(), firsts.end());
        std::sort(ends.begin(), ends.end());
        const qint64 first = firsts[2], end = ends[2];
        QRandomGenerator random(20240611);
        int kills = 0, unchanged = 0, midway = 0;
        QSet<QStringList> states;
        QElapsedTimer total;
        total.start();
        while (kills < 200) {
            // Half of them from 0 to a little beyond a whole run, half timed from the first move: a busy
            // machine slows the child unevenly.
            const Run::From from = random.bounded(2) ? Run::Start : Run::FirstMove;
            const Run run(source, from, random.bounded((from == Run::Start ? end : end - first) * 6 / 5 + 1));
            QVERIFY(run.data.ok);
            if (!run.killed)
                continue; // finished before the kill
            ++kills;
            const QStringList names = unitNames(run.data); // files are only renamed: names tell the states apart
            const bool untouched = names == sourceNames;
            unchanged += untouched;
            if (names.contains("1_renumber.txt")) {
                ++midway;
                states.insert(names);
            }
            const IoStatus status = UserTextbook::completeRenumbering(run.data.dir);
            QVERIFY2(status.ok(), qPrintable(status.message()));
            QCOMPARE(run.data.now(), untouched ? before : expected);
        }
        qInfo("%d kills within a run of %lld us (first move at %lld us): %d before any change, %d mid-way in %lld "
              "different states, %d after the journal was removed; %lld ms",
              kills, end, first, unchanged, midway, qint64(states.size()), kills - unchanged - midway, total.elapsed());
        QVERIFY(midway >= kills / 4);
    }
};

QTEST_GUILESS_MAIN(TestUserTextbook)
#include "tst_usertextbook.moc"
