// Saves killed at random moments, as a killed program or a power cut leaves them (SIGKILL: nothing of
// the program runs afterwards): the file is old or new, never torn, no pair or record lost or doubled,
// and what a save leaves beside it is a temporary file that the next start removes. The user
// textbook's renumbering is killed the same way in test_usertextbook (killedAnywhere).
#include "DataTree.h"

#include "core/AppSettings.h"
#include "core/TestSettings.h"
#include "store/TextRoutines.h"
#include "store/Vocabulary.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

#include <cstdio>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

QByteArray lines(const QStringList& texts) {
    QByteArray bytes;
    for (const QString& text : texts)
        bytes += Cp1250::encode(text) + "\r\n";
    return bytes;
}
QString record(int k) {
    return u"14.3.2026   9:05:07   Název:Němčina - Lekce č. %1   Úspěšnost: 100%"_s.arg(k);
}
QString pair(int k) {
    return pairLine(u"Wort %1"_s.arg(k), u"slovo č. %1"_s.arg(k));
}
// Each save of the pair list leaves another list: a few pairs fewer or more, each of its own version.
QStringList pairList(int i) {
    QStringList list;
    for (int k = 1; k <= 300 - i % 5; ++k)
        list.append(pairLine(u"Wort %1"_s.arg(k), u"slovo %1, verze %2"_s.arg(k).arg(i)));
    return list;
}
// The records or pairs 1 to i after the lines the file had.
QByteArray appended(const QStringList& first, QString (*line)(int), int i) {
    QStringList all = first;
    for (int k = 1; k <= i; ++k)
        all.append(line(k));
    return lines(all);
}

// One kind of save, done again and again: save i leaves the file holding bytes(i); bytes(0) is the file
// before the first.
struct Kind {
    const char* name;
    const char* file;
    QByteArray (*bytes)(int i);
    IoStatus (*save)(const DataDir& dir, int i);
};
const Kind kKinds[] = {
    {"settings", "me.cfg",
     [](int i) {
         return lines({signedNumber(i % 2), signedNumber(i / 2 % 2)});
     },
     [](const DataDir& dir, int i) {
         return AppSettings{i % 2 == 1, i / 2 % 2 == 1}.write(dir);
     }},
    {"test settings", "Try.cfg",
     [](int i) { return lines(u" %1| %2| %3| 2| 6| %4"_s.arg(i % 4).arg(i % 3).arg(i + 3).arg(i % 2).split(u'|')); },
     [](const DataDir& dir, int i) {
         return SavedTestSettings::write(dir, TestSettings{.level = Level(i % 4),
                                                           .answerMode = AnswerMode(i % 3),
                                                           .repeats = i + 3,
                                                           .halfAnswer = i % 2 == 1});
     }},
    {"results log", "Zkouseni.txt", [](int i) { return appended({u"Dříve"_s}, record, i); },
     [](const DataDir& dir, int i) { return dir.appendLine(u"Zkouseni.txt"_s, record(i)); }},
    {"editor: pair append", "units/2_1.mum", [](int i) { return appended({u"der Vater*otec*"_s}, pair, i); },
     [](const DataDir& dir, int i) {
         return Vocabulary::appendPair(dir, u"2_1.mum"_s, u"Wort %1"_s.arg(i), u"slovo č. %1"_s.arg(i));
     }},
    {"editor: textbook name", "books/2.mum", [](int i) { return lines({u"Učebnice č. %1"_s.arg(i)}); },
     [](const DataDir& dir, int i) { return Vocabulary::renameTextbook(dir, u"2.mum"_s, u"Učebnice č. %1"_s.arg(i)); }},
    {"editor: lesson title", "units/2_1T.mum", [](int i) { return lines({u"Lekce verze %1"_s.arg(i)}); },
     [](const DataDir& dir, int i) {
         return Vocabulary::openForExtension(dir, u"2_1T.mum"_s, u"Lekce verze %1"_s.arg(i), nullptr);
     }},
    {"editor: pair list", "units/2_1.mum", [](int i) { return lines(pairList(i)); },
     [](const DataDir& dir, int i) { return Vocabulary::savePairs(dir, u"2_1.mum"_s, pairList(i)); }},
};

// A child process that saves from 1 on until it is killed delayUs after its start; how many saves it
// reported done. -1 when it stopped on its own (a failed save).
int killedChild(const DataDir& dir, const Kind& kind, qint64 delayUs) {
    int reports[2];
    if (pipe(reports) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        dir.readLines(QString::fromLatin1(kind.file)); // a child's first touches of memory are slow: before the start
        for (int i = 0;; ++i) {
            if (i > 0) {
                const IoStatus saved = kind.save(dir, i);
                if (!saved.ok()) {
                    // Why, in the test's output: a child that stops on its own fails the run.
                    std::fprintf(stderr, "save %d failed: %s\n", i, qPrintable(saved.message()));
                    _exit(1);
                }
            }
            (void)!write(reports[1], &i, sizeof i);
        }
    }
    close(reports[1]);
    int done = -1;
    if (read(reports[0], &done, sizeof done) == sizeof done) {
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    for (int i = 0; read(reports[0], &i, sizeof i) == sizeof i;)
        done = i;
    close(reports[0]);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? done : -1;
}

QStringList figures;

} // namespace

class TestKilled : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedAnywhere_data() {
        QTest::addColumn<int>("kind");
        for (int i = 0; i < int(std::size(kKinds)); ++i)
            QTest::newRow(kKinds[i].name) << i;
    }
    void killedAnywhere() {
        QFETCH(int, kind);
        const Kind& save = kKinds[kind];
        // In memory where the system has it: the kills test the order of the steps, not the disk.
        // The lesson title's save creates a missing lesson file: there is one from the start.
        const Data data({{"books/", {}}, {"units/2_1.mum", "der Vater*otec*\r\n"}},
                        QFileInfo(u"/dev/shm"_s).isWritable() ? u"/dev/shm"_s : QDir::tempPath());
        QVERIFY(data.ok);
        const QString path = data.tmp.filePath(QString::fromLatin1(save.file));
        const QDir folder = QFileInfo(path).dir();
        // Kills spread over about eight saves, however fast this build saves (a sanitizer's is several
        // times slower): a few saves timed here first.
        QElapsedTimer timed;
        timed.start();
        for (int i = 1; i <= 4; ++i)
            QVERIFY(save.save(data.dir, i).ok());
        const int within = int(std::max<qint64>(8000, timed.nsecsElapsed() / 1000 * 2));
        QRandomGenerator random(20261207 + kind);
        int kills = 0, torn = 0, newer = 0, leftovers = 0;
        qint64 saves = 0;
        for (; kills < 200; ++kills) {
            QVERIFY(writeBytes(path, save.bytes(0)));
            const QStringList before = folder.entryList(QDir::Files | QDir::Hidden);
            const int done = killedChild(data.dir, save, random.bounded(within));
            QVERIFY2(done >= 0, "the child stopped before it was killed");
            saves += done;
            // Old or new: the last save reported done, or the one under way.
            const QByteArray now = readBytes(path);
            newer += now == save.bytes(done + 1);
            torn += now != save.bytes(done) && now != save.bytes(done + 1);
            // Anything beside the file is a temporary file that start-up removes once it is old.
            const QStringList beside =
                folder.entryList(QDir::Files | QDir::Hidden)
                    .filter(QRegularExpression(u"^"_s + QRegularExpression::escape(QFileInfo(path).fileName()) +
                                               u"\\.[A-Za-z0-9]{6}$"_s));
            for (const QString& name : beside) {
                QFile old(folder.filePath(name));
                QVERIFY(old.open(QIODevice::ReadWrite) && old.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                                                          QFileDevice::FileModificationTime));
            }
            QCOMPARE(data.dir.removeStaleTempFiles(), beside.size());
            leftovers += beside.size();
            QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), before);
        }
        figures.append(u"%1: %2 kills after %3 saves on average; %4 left the save under way done, %5 a temporary "
                       u"file; %6 torn"_s.arg(QString::fromLatin1(save.name))
                           .arg(kills)
                           .arg(saves / kills)
                           .arg(newer)
                           .arg(leftovers)
                           .arg(torn));
        QCOMPARE(torn, 0);
    }

    void cleanupTestCase() {
        figures.append(u"user textbook: renumbering: killed in test_usertextbook (killedAnywhere)"_s);
        for (const QString& line : std::as_const(figures))
            qInfo("%s", qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestKilled)
#include "tst_killed.moc"
