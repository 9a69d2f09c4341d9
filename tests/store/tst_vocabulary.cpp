// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataTree.h"
#include "FileSizeLimit.h"

#include "store/Vocabulary.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kPair = "a*b*\r\n";

// The folders books and units with these entries: "name/" a folder, "name|" a pipe, any other name a
// file holding one pair line; then those of tree, with their bytes.
Tree files(const QStringList& paths, Tree tree = {}) {
    tree.insert(QStringLiteral("books/"), {});
    tree.insert(QStringLiteral("units/"), {});
    for (const QString& path : paths)
        path.endsWith(u'|') ? tree.insert(path.chopped(1), kFifo) : tree.insert(path, path.endsWith(u'/') ? "" : kPair);
    return tree;
}

const QString kNewName = QStringLiteral("  Nová učebnice  ");
const QByteArray kNewNameLine = "  Nov\xe1 u\xe8"
                                "ebnice  \r\n";

const QByteArray kGone = "<gone>";

// Runs "function file rest" as the editor does; rest: the pairs to save or the sides of one to append,
// "|" between, or "with lessons" for a textbook deletion.
IoStatus run(const DataDir& dir, const QString& op, QString* last) {
    const QString function = op.section(u' ', 0, 0), file = op.section(u' ', 1, 1);
    const QStringList lines = op.section(u' ', 2).split(u'|', Qt::SkipEmptyParts);
    return function == "createTextbook"   ? Vocabulary::createTextbook(dir, kNewName).status
           : function == "renameTextbook" ? Vocabulary::renameTextbook(dir, file, kNewName)
           : function == "deleteTextbook" ? Vocabulary::deleteTextbook(dir, file, op.endsWith(u"with lessons"))
           : function == "createLesson"   ? Vocabulary::createLesson(dir, file, kNewName).status
           : function == "savePairs"      ? Vocabulary::savePairs(dir, file, lines)
           : function == "appendPair"     ? Vocabulary::appendPair(dir, file, lines.at(0), lines.at(1))
           : function == "deleteLesson"   ? Vocabulary::deleteLesson(dir, file)
                                          : Vocabulary::openForExtension(dir, file, kNewName, last);
}

} // namespace

class TestVocabulary : public QObject {
    Q_OBJECT

private slots:
    // Each operation changes exactly these files; a new textbook or lesson takes the next free number.
    void edits_data() {
        QTest::addColumn<QString>("op"); // as run() takes it; for an extension, rest is the last pair it finds
        QTest::addColumn<Tree>("before");
        QTest::addColumn<Tree>("changes"); // path -> bytes afterwards; kGone: removed
        const auto gone = [](const QStringList& paths) {
            Tree tree;
            for (const QString& path : paths)
                tree.insert(path, kGone);
            return tree;
        };
        const auto named = [](const QString& path) { return Tree{{path, kNewNameLine}}; };
        const auto lesson = [](const QString& title) {
            return Tree{{"units/" + title, kNewNameLine}, {"units/" + Vocabulary::lessonFileOf(title), ""}};
        };
        // The first gap, whatever the entry that holds a number.
        QTest::newRow("textbook after any entry, any case")
            << "createTextbook" << files({"books/1.MUM", "books/2.Mum/", "books/3.mum|", "books/5.mum"})
            << named("books/4.mum");
        // Renaming rewrites the textbook file only; deleting takes the lessons of that textbook only.
        const Tree books =
            files({"books/1.mum", "books/2.mum", "units/1_1.mum", "units/1_1T.mum", "units/12_3.mum", "units/2_1.mum",
                   "units/2_1T.mum", "units/2_15t.MUM", "units/20_1.mum", "units/21_4T.mum", "units/2_1.txt"});
        QTest::newRow("rename 2") << "renameTextbook 2.mum" << books << named("books/2.mum");
        QTest::newRow("delete 2 alone") << "deleteTextbook 2.mum" << books << gone({"books/2.mum"});
        QTest::newRow("delete 2 with lessons")
            << "deleteTextbook 2.mum with lessons" << books
            << gone({"books/2.mum", "units/2_1.mum", "units/2_1T.mum", "units/2_15t.MUM"});
        QTest::newRow("delete 1 with lessons")
            << "deleteTextbook 1.mum with lessons" << books << gone({"books/1.mum", "units/1_1.mum", "units/1_1T.mum"});
        QTest::newRow("first lesson") << "createLesson 3" << files({"units/4_5.mum"}) << lesson("3_1T.mum");
        // Title files do not count: one without its lesson file is written over.
        QTest::newRow("lesson over title files")
            << "createLesson 3" << files({"units/3_1.mum", "units/3_2T.mum", "units/3_9t.mum"}) << lesson("3_2T.mum");
        // Lessons of textbook 32 count for textbook 3; the number is the leading digits after the last "_".
        QTest::newRow("lesson, digit prefix")
            << "createLesson 3" << files({"units/3_2.mum", "units/32_9.mum"}) << lesson("3_10T.mum");
        QTest::newRow("lesson, leading digits") << "createLesson 3"
                                                << files({"units/3_4a.mum", "units/3_x_2.mum", "units/3.mum",
                                                          "units/3_x.mum", "units/3_00000000000000000007.MUM"})
                                                << lesson("3_8T.mum");
        QTest::newRow("lesson, highest number")
            << "createLesson 3" << files({"units/3_2147483646.mum"}) << lesson("3_2147483647T.mum");
        // On a lesson whose title file is 3_1T.mum.
        const auto lessonOf = [](const QByteArray& bytes) {
            return files({"units/3_1T.mum"}, {{"units/3_1.mum", bytes}});
        };
        QTest::newRow("save") << "savePairs 3_1.mum house*dům*|**" << lessonOf("old*star\xfd*\r\nx*y*\r\n")
                              << Tree{{"units/3_1.mum", "house*d\xf9m*\r\n**\r\n"}};
        QTest::newRow("save nothing") << "savePairs 3_1.mum" << lessonOf("x*y*\r\n") << Tree{{"units/3_1.mum", ""}};
        QTest::newRow("append to a missing file")
            << "appendPair 3_1.mum a|b" << files({"units/3_1T.mum"}) << Tree{{"units/3_1.mum", kPair}};
        QTest::newRow("append converts") << "appendPair 3_1.mum niño|dítě" << lessonOf("d\xf9m*x*\r\n")
                                         << Tree{{"units/3_1.mum",
                                                  "\xef\xbb\xbf" + u"dům*x*\r\nniño*dítě*\r\n"_s.toUtf8()}};
        QTest::newRow("extend after an empty line")
            << "openForExtension 3_1T.mum kůň*horse*" << lessonOf("a*b*\r\nk\xf9\xf2*horse*\r\n\r\n")
            << named("units/3_1T.mum");
        QTest::newRow("extend, no lesson file") << "openForExtension 3_1T.mum" << files({"units/3_1T.mum"})
                                                << Tree{{"units/3_1T.mum", kNewNameLine}, {"units/3_1.mum", ""}};
        QTest::newRow("delete lesson") << "deleteLesson 3_1T.mum"
                                       << files({"units/3_1T.mum", "units/3_1.mum", "units/3_2T.mum", "units/13_1.mum"})
                                       << gone({"units/3_1T.mum", "units/3_1.mum"});
        QTest::newRow("delete lesson without its lesson file")
            << "deleteLesson 3_2T.mum" << files({"units/3_2T.mum", "units/13_1.mum"}) << gone({"units/3_2T.mum"});
    }
    void edits() {
        QFETCH(QString, op);
        QFETCH(Tree, before);
        QFETCH(Tree, changes);
        const Data data(before);
        QVERIFY(data.ok);
        QString last = "unset";
        const IoStatus status = run(data.dir, op, &last);
        QVERIFY2(status.ok(), qPrintable(status.message()));
        bool converted = false; // told when a file had to become UTF-8
        for (const auto& [path, bytes] : changes.asKeyValueRange()) {
            bytes == kGone ? void(before.remove(path)) : void(before.insert(path, bytes));
            converted = converted || bytes.startsWith("\xef\xbb\xbf");
        }
        QCOMPARE(data.now(), listing(before));
        QCOMPARE(!status.notice().isEmpty(), converted);
        if (op.startsWith(u"openForExtension"))
            QCOMPARE(last, op.section(u' ', 2));
    }

    // A textbook deletion that stops half-way is recorded: later it is finished, or the rest stays.
    void unfinishedDeletion_data() {
        QTest::addColumn<bool>("finish");
        QTest::newRow("finished") << true;
        QTest::newRow("the rest stays") << false;
    }
    void unfinishedDeletion() {
        QFETCH(bool, finish);
        const Data data(files({"books/2.mum", "units/2_1.mum", "units/2_1T.mum", "units/2_9.mum/", "units/3_1.mum"}));
        QVERIFY(data.ok);
        const QString stopped = Vocabulary::deleteTextbook(data.dir, "2.mum", true).message();
        QVERIFY2(stopped.contains(QStringLiteral("2_9.mum“ se nepodařilo odstranit: je to složka")),
                 qPrintable(stopped));
        QCOMPARE(Vocabulary::unfinishedDeletion(data.dir).name, "a*b*");
        QVERIFY(QDir(data.tmp.filePath("units/2_9.mum")).removeRecursively());
        QVERIFY(Vocabulary::settleDeletion(data.dir, finish).ok());
        QVERIFY(Vocabulary::unfinishedDeletion(data.dir).fileName.isEmpty());
        QCOMPARE(QDir(data.tmp.filePath("books")).entryList(QDir::Files),
                 finish ? QStringList() : QStringList{"2.mum"});
        QVERIFY(QFile::exists(data.tmp.filePath("units/3_1.mum")));
    }

    // Each failure names the file and why, and leaves every file as it was: no half-written file,
    // no temporary file, no lesson file without its title. These fail for root too.
    void failuresLoseNothing_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<Tree>("before");
        QTest::addColumn<int>("room");        // bytes a file may hold; 0: no limit
        QTest::addColumn<QString>("failure"); // the file named, ": ", part of the reason
        const Tree link = files({"units/2_1T.mum"}, {{"units/2_1.mum", kLink + "/etc/passwd"}});
        const QString create = "createLesson 2", extend = "openForExtension 2_1T.mum";
        QTest::newRow("new textbook, no books folder")
            << "createTextbook" << Tree{{"units/", {}}} << 0 << "books/1.mum: neexistuje";
        QTest::newRow("new lesson, a folder at the title's name")
            << create << files({"units/2_1.mum", "units/2_2T.mum/"}) << 0 << "units/2_2T.mum: je to složka";
        // The title file is written over on success.
        QTest::newRow("new lesson, full disk, an old title")
            << create << files({"units/2_1.mum", "units/2_2T.mum"}) << 3 << "units/2_2T.mum: největší dovolenou";
        QTest::newRow("new lesson, no number left")
            << create << files({"units/2_2147483647.mum"}) << 0 << "units/2_2147483648T.mum: 2147483647";
        QTest::newRow("new lesson, huge number") << create << files({"units/2_99999999999999999999.mum"}) << 0
                                                 << "units/2_100000000000000000000T.mum: 2147483647";
        QTest::newRow("save pairs, no units folder")
            << "savePairs 2_1.mum a*b*|c*d*" << Tree{{"books/", {}}} << 0 << "units/2_1.mum: neexistuje";
        QTest::newRow("extend, lesson file is a folder")
            << extend << files({"units/2_1T.mum", "units/2_1.mum/"}) << 0 << "units/2_1.mum: je to složka";
        // Read, but never appended to: the title is not renamed first.
        QTest::newRow("extend, lesson file a link elsewhere")
            << extend << link << 0 << "units/2_1.mum: odkaz mimo složku s daty";
        QTest::newRow("extend, full disk, no lesson file")
            << extend << files({"units/2_1T.mum"}) << 3 << "units/2_1T.mum: největší dovolenou";
        QTest::newRow("delete lesson, title is a pipe")
            << "deleteLesson 2_1T.mum" << files({"units/2_1T.mum|", "units/2_1.mum"}) << 0
            << "units/2_1T.mum: obyčejný";
    }
    void failuresLoseNothing() {
        QFETCH(QString, op);
        QFETCH(Tree, before);
        QFETCH(int, room);
        QFETCH(QString, failure);
        const Data data(before);
        QVERIFY(data.ok);
        IoStatus status;
        {
            const FileSizeLimit limit(room > 0 ? room : RLIM_INFINITY);
            QVERIFY(limit.ok());
            QString last;
            status = run(data.dir, op, &last);
        }
        QVERIFY(!status.ok());
        const QString path = QDir::toNativeSeparators(data.dir.root() + u'/' + failure.section(u": "_s, 0, 0));
        QVERIFY2(status.message().contains(u'„' + path + u'“') &&
                     status.message().contains(failure.section(u": "_s, 1)),
                 qPrintable(status.message()));
        QCOMPARE(data.now(), listing(before));
    }
};

QTEST_GUILESS_MAIN(TestVocabulary)
#include "tst_vocabulary.moc"
