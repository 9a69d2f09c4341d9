// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataTree.h"
#include "FileSizeLimit.h"

#include "store/UserTextbook.h"

#include <QCryptographicHash>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Lesson k's title (Windows-1250, CR LF) and pairs.
QByteArray titleBytes(int k) {
    return "Lekce \xe8. " + QByteArray::number(k) + "\r\n";
}
QByteArray pairBytes(int k) {
    return "slovo*p\xf8" + QByteArray("eklad ") + QByteArray::number(k) + "*\r\n";
}

// The user textbook, number by number from 1: "L" a lesson, "E" a lesson without its lesson file, "O" a
// lesson file without its title, "X" a lesson whose title is a link out of the data directory, "-" nothing; "!" after
// the letter spells the names in capitals. placement: whose files each number holds afterwards ("-" none's); empty:
// each number its own.
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
        if (kind.startsWith(u'X'))
            tree.insert(base + "t.mum", kLink + "/etc/passwd");
        if (kind.startsWith(u'L') || kind.startsWith(u'O') || kind.startsWith(u'X'))
            tree.insert(base + (caps ? ".MUM" : ".mum"), pairBytes(k));
    }
    return tree;
}
} // namespace

class TestUserTextbook : public QObject {
    Q_OBJECT

private slots:
    // The page that makes a missing one checks its name; one spelt otherwise is kept.
    void ensureTextbookKeepsAny() {
        const Data present({{"books/1.MUM", "Moje\r\n"}});
        QVERIFY(present.ok && UserTextbook::ensureTextbook(present.dir).ok());
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
        QStringList shown;
        for (const UserTextbook::Lesson& lesson : listed.lessons)
            shown.append(QString::number(lesson.number) + u' ' + lesson.description);
        QCOMPARE(shown, (QStringList{"1 Lekce č. 1", "2 Lekce č. 2", "3 ", "4   Čtyři  ", "999 Poslední"}));
        QVERIFY(done == 999 && total == 999);
    }

    // Each later lesson moves one number down where the number below it is free.
    void deleteLesson_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("placement");
        QTest::newRow("2 of 1 to 3") << "L L L" << 2 << "1 3 -";
        QTest::newRow("gaps, empty lessons") << "L E L - L E" << 1 << "2 3 - 5 6 -";
        QTest::newRow("names in capitals") << "L L! E!" << 1 << "2 3 -";
        // A lesson file without its title is never written over, nor is its number free.
        QTest::newRow("lesson file in a gap") << "L L O - L" << 1 << "2 - 3 5 -";
        QTest::newRow("lesson file before a lesson") << "L O L" << 1 << "- 2 3";
        QTest::newRow("lesson file at the deleted number") << "L O L" << 2 << "1 3 -";
        QTest::newRow("a lesson held by a link stays") << "L X L" << 1 << "- 2 3";
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
    }

    // Each failure names the file and why, and changes nothing.
    void failures_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<Tree>("before");
        QTest::addColumn<QString>("failure"); // the file named, ": ", part of the reason
        const Tree noUnits{{"books/", {}}};
        Tree folder = lessons("L L");
        folder.insert("units/1_3t.mum/", {});
        QTest::newRow("list, no units folder") << "list" << noUnits << "units: neexistuje";
        QTest::newRow("new lesson, no units folder") << "create" << noUnits << "units: neexistuje";
        QTest::newRow("new lesson, all 999 taken")
            << "create" << lessons(QStringList(999, "O").join(u' ')) << "units: všech 999 čísel";
        QTest::newRow("delete, a folder") << "delete 3" << folder << "units/1_3t.mum: je to složka";
        QTest::newRow("delete, a link out") << "delete 2" << lessons("L X L") << "units/1_2t.mum: odkaz mimo složku";
        // The disk takes no record of the renumbering: the user hears of the lesson kept, not of the record.
        QTest::newRow("delete, disk full")
            << "full, delete 2" << lessons("L L L") << "units/1_2t.mum: nebyla odstraněna";
    }
    void failures() {
        QFETCH(QString, op);
        QFETCH(Tree, before);
        QFETCH(QString, failure);
        const Data data(before);
        QVERIFY(data.ok);
        const FileSizeLimit full(op.startsWith(u"full"_s) ? 16 : RLIM_INFINITY);
        const IoStatus status = op == "list"     ? UserTextbook::list(data.dir).errors.value(0)
                                : op == "create" ? UserTextbook::createLesson(data.dir, "x").status
                                                 : UserTextbook::deleteLesson(data.dir, op.back().digitValue());
        const QString file = QDir::toNativeSeparators(data.tmp.filePath(failure.section(u": "_s, 0, 0)));
        QVERIFY2(status.message().contains(u'„' + file + u'“') &&
                     status.message().contains(failure.section(u": "_s, 1)),
                 qPrintable(status.message()));
        QCOMPARE(data.now(), listing(before));
    }

    // A journal that this program did not write is never carried out; once discarded, work goes on.
    void foreignJournal_data() {
        QTest::addColumn<QByteArray>("journal");
        const QByteArray mark = "Memoran: renumbering of the user textbook, version 1\r\n";
        const QByteArray sum = QCryptographicHash::hash("2", QCryptographicHash::Sha256).toHex() + "\r\n";
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

    // Stopped after any move (the program killed there), a deletion is finished by the next operation
    // as an uninterrupted one ends; test_killed kills it at random moments.
    void interruptedDeletion_data() {
        QTest::addColumn<int>("moves"); // made before the stop
        QTest::newRow("after the first move") << 1;
        QTest::newRow("half-way") << 2;
        QTest::newRow("after the last move") << 3;
    }
    void interruptedDeletion() {
        QFETCH(int, moves);
        const Data data(lessons("L L E L L"));
        QVERIFY(data.ok);
        struct Killed {};
        try {
            UserTextbook::deleteLesson(data.dir, 2, [&](int done, int) {
                if (done == moves)
                    throw Killed();
            });
            QFAIL("the deletion was never stopped");
        } catch (const Killed&) {
        }
        QVERIFY(UserTextbook::completeRenumbering(data.dir).ok());
        QCOMPARE(data.now(), listing(lessons("L L E L L", "1 3 4 5 -")));
    }
};

QTEST_GUILESS_MAIN(TestUserTextbook)
#include "tst_usertextbook.moc"
