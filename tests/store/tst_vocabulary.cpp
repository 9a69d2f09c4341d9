#include "AsUser.h"
#include "DataTree.h"
#include "FileSizeLimit.h"

#include "store/Vocabulary.h"

#include <QTest>

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

} // namespace

class TestVocabulary : public QObject {
    Q_OBJECT

private slots:
    void createTextbook_data() {
        QTest::addColumn<Tree>("before");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("1 and 3") << files({"books/1.mum", "books/3.mum"}) << "2.mum";
        QTest::newRow("1 to 3") << files({"books/1.mum", "books/2.mum", "books/3.mum"}) << "4.mum";
        QTest::newRow("empty") << files({}) << "1.mum";
        QTest::newRow("any entry, any case")
            << files({"books/1.MUM", "books/2.Mum/", "books/3.mum|", "books/5.mum"}) << "4.mum";
    }
    void createTextbook() {
        QFETCH(Tree, before);
        QFETCH(QString, fileName);
        const Data data(before);
        QVERIFY(data.ok);
        const Vocabulary::Created created = Vocabulary::createTextbook(data.dir, kNewName);
        QVERIFY2(created.status.ok(), qPrintable(created.status.message()));
        QCOMPARE(created.fileName, fileName);
        before.insert("books/" + fileName, kNewNameLine);
        QCOMPARE(data.now(), listing(before));
    }

    // Renaming rewrites the textbook file only; deleting takes the lessons of that textbook only.
    void renameAndDeleteTextbook_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("how"); // 0 rename, 1 delete without lessons, 2 delete with lessons
        QTest::addColumn<QStringList>("removed");
        QTest::newRow("rename 2") << "2.mum" << 0 << QStringList();
        QTest::newRow("delete 2 alone") << "2.mum" << 1 << QStringList{"books/2.mum"};
        QTest::newRow("delete 2 with lessons")
            << "2.mum" << 2 << QStringList{"books/2.mum", "units/2_1.mum", "units/2_1T.mum", "units/2_15t.MUM"};
        QTest::newRow("delete 1 with lessons")
            << "1.mum" << 2 << QStringList{"books/1.mum", "units/1_1.mum", "units/1_1T.mum"};
    }
    void renameAndDeleteTextbook() {
        QFETCH(QString, fileName);
        QFETCH(int, how);
        QFETCH(QStringList, removed);
        Tree tree =
            files({"books/1.mum", "books/2.mum", "units/1_1.mum", "units/1_1T.mum", "units/12_3.mum", "units/2_1.mum",
                   "units/2_1T.mum", "units/2_15t.MUM", "units/20_1.mum", "units/21_4T.mum", "units/2_1.txt"});
        const Data data(tree);
        QVERIFY(data.ok);
        const IoStatus status = how == 0 ? Vocabulary::renameTextbook(data.dir, fileName, kNewName)
                                         : Vocabulary::deleteTextbook(data.dir, fileName, how == 2);
        QVERIFY2(status.ok(), qPrintable(status.message()));
        if (how == 0)
            tree.insert("books/" + fileName, kNewNameLine);
        for (const QString& path : removed)
            tree.remove(path);
        QCOMPARE(data.now(), listing(tree));
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

    void createLesson_data() {
        QTest::addColumn<Tree>("before");
        QTest::addColumn<QString>("title"); // the new title file
        QTest::newRow("3_1, 3_2, 3_7") << files({"units/3_1.mum", "units/3_2.mum", "units/3_7.mum"}) << "3_8T.mum";
        QTest::newRow("no lesson file") << files({"units/4_5.mum"}) << "3_1T.mum";
        QTest::newRow("lesson 2 of 1..3 deleted")
            << files({"units/3_1.mum", "units/3_3.mum", "units/3_3T.mum"}) << "3_4T.mum";
        // Title files do not count: one without its lesson file is written over.
        QTest::newRow("title files") << files({"units/3_1.mum", "units/3_2T.mum", "units/3_9t.mum"}) << "3_2T.mum";
        // Lessons of textbook 32 count for textbook 3; the number is the leading digits after the last "_".
        QTest::newRow("digit prefix") << files({"units/3_2.mum", "units/32_9.mum"}) << "3_10T.mum";
        QTest::newRow("leading digits") << files({"units/3_4a.mum", "units/3_x_2.mum", "units/3.mum", "units/3_x.mum",
                                                  "units/3_00000000000000000007.MUM"})
                                        << "3_8T.mum";
        QTest::newRow("highest number") << files({"units/3_2147483646.mum"}) << "3_2147483647T.mum";
    }
    void createLesson() {
        QFETCH(Tree, before);
        QFETCH(QString, title);
        const Data data(before);
        QVERIFY(data.ok);
        const Vocabulary::Created created = Vocabulary::createLesson(data.dir, "3", QStringLiteral("Rodina "));
        QVERIFY2(created.status.ok(), qPrintable(created.status.message()));
        QCOMPARE(created.fileName, title);
        before.insert("units/" + title, "Rodina \r\n");
        before.insert("units/" + Vocabulary::lessonFileOf(title), "");
        QCOMPARE(data.now(), listing(before));
    }

    void loadPairs() {
        const Data data(files({}, {{"units/3_1.mum", "house*d\xf9m*\r\n\r\nlast*posledn\xed*"}}));
        QVERIFY(data.ok);
        QCOMPARE(Vocabulary::loadPairs(data.dir, "3_1.mum").lines, (QStringList{"house*dům*", "", "last*poslední*"}));
        const FileLines missing = Vocabulary::loadPairs(data.dir, "3_3.mum");
        QVERIFY(missing.status.ok() && missing.lines.isEmpty());
    }

    // Saving, appending and opening for extension, each on a lesson whose title file is 3_1T.mum.
    void lessonWrites_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QByteArray>("before"); // null: no lesson file
        QTest::addColumn<QStringList>("lines"); // to save, or foreign and Czech side to append
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("lastLine"); // what an extension finds
        const QByteArray horse = "a*b*\r\nk\xf9\xf2*horse*\r\n";
        QTest::newRow("save") << "save" << QByteArray("old*star\xfd*\r\nx*y*\r\n") << QStringList{"house*dům*", "**"}
                              << QByteArray("house*d\xf9m*\r\n**\r\n") << "";
        QTest::newRow("save nothing") << "save" << QByteArray("x*y*\r\n") << QStringList() << QByteArray("") << "";
        QTest::newRow("append to a missing file")
            << "append" << QByteArray() << QStringList{"a", "b"} << QByteArray("a*b*\r\n") << "";
        QTest::newRow("append converts") << "append" << QByteArray("d\xf9m*x*\r\n") << QStringList{"niño", "dítě"}
                                         << "\xef\xbb\xbf" + QStringLiteral("dům*x*\r\nniño*dítě*\r\n").toUtf8() << "";
        QTest::newRow("extend after an empty line") << "extend" << horse + "\r\n"
                                                    << QStringList() << horse + "\r\n"
                                                    << "kůň*horse*";
        QTest::newRow("extend an empty lesson") << "extend" << QByteArray("") << QStringList() << QByteArray("") << "";
        QTest::newRow("extend, no lesson file") << "extend" << QByteArray() << QStringList() << QByteArray("") << "";
    }
    void lessonWrites() {
        QFETCH(QString, op);
        QFETCH(QByteArray, before);
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, after);
        QFETCH(QString, lastLine);
        const Data data(files({"units/3_1T.mum"}, before.isNull() ? Tree() : Tree{{"units/3_1.mum", before}}));
        QVERIFY(data.ok);
        QString last = "unset";
        const IoStatus status = op == "save"     ? Vocabulary::savePairs(data.dir, "3_1.mum", lines)
                                : op == "append" ? Vocabulary::appendPair(data.dir, "3_1.mum", lines.at(0), lines.at(1))
                                                 : Vocabulary::openForExtension(data.dir, "3_1T.mum", kNewName, &last);
        QVERIFY2(status.ok(), qPrintable(status.message()));
        // Told when the file had to become UTF-8.
        QCOMPARE(status.notice().isEmpty(), !after.startsWith("\xef\xbb\xbf"));
        QCOMPARE(last, op == "extend" ? lastLine : QStringLiteral("unset"));
        const QByteArray title = op == "extend" ? kNewNameLine : kPair;
        QCOMPARE(data.now(), listing(files({}, {{"units/3_1T.mum", title}, {"units/3_1.mum", after}})));
    }

    void deleteLesson() {
        const Data data(files({"units/3_1T.mum", "units/3_1.mum", "units/3_2T.mum", "units/13_1.mum"}));
        QVERIFY(data.ok);
        QVERIFY(Vocabulary::deleteLesson(data.dir, "3_1T.mum").ok());
        QVERIFY(Vocabulary::deleteLesson(data.dir, "3_2T.mum").ok()); // without its lesson file
        QCOMPARE(data.now(), listing(files({"units/13_1.mum"})));
    }

    // Each failure names the file and why, and leaves every file as it was: no half-written file,
    // no temporary file, no lesson file without its title. These fail for root too.
    void failuresLoseNothing_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<Tree>("before");
        QTest::addColumn<int>("room"); // bytes a file may hold; 0: no limit
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        const QString full = QStringLiteral("největší dovolenou velikost");
        const QString folder = QStringLiteral("je to složka");
        QTest::newRow("new textbook, no books folder") << "createTextbook" << Tree{{"units/", {}}} << 0 << "books/1.mum"
                                                       << "neexistuje";
        QTest::newRow("new lesson, a folder at the title's name")
            << "createLesson" << files({"units/2_1.mum", "units/2_2T.mum/"}) << 0 << "units/2_2T.mum" << folder;
        QTest::newRow("new lesson, full disk, an old title") // the title file is written over on success
            << "createLesson" << files({"units/2_1.mum", "units/2_2T.mum"}) << 3 << "units/2_2T.mum" << full;
        QTest::newRow("new lesson, no number left")
            << "createLesson" << files({"units/2_2147483647.mum"}) << 0 << "units/2_2147483648T.mum"
            << "2147483647";
        QTest::newRow("new lesson, huge number") << "createLesson" << files({"units/2_99999999999999999999.mum"}) << 0
                                                 << "units/2_100000000000000000000T.mum"
                                                 << "2147483647";
        QTest::newRow("save pairs, no units folder") << "savePairs" << Tree{{"books/", {}}} << 0 << "units/2_1.mum"
                                                     << "neexistuje";
        QTest::newRow("extend, lesson file is a folder")
            << "openForExtension" << files({"units/2_1T.mum", "units/2_1.mum/"}) << 0 << "units/2_1.mum" << folder;
        QTest::newRow("extend, lesson file a link elsewhere") // read, but never appended to
            << "openForExtension" << files({"units/2_1T.mum"}, {{"units/2_1.mum", kLink + "/etc/passwd"}}) << 0
            << "units/2_1.mum"
            << "odkaz mimo složku s daty";
        QTest::newRow("extend, full disk, no lesson file")
            << "openForExtension" << files({"units/2_1T.mum"}) << 3 << "units/2_1T.mum" << full;
        QTest::newRow("delete lesson, title is a pipe")
            << "deleteLesson" << files({"units/2_1T.mum|", "units/2_1.mum"}) << 0 << "units/2_1T.mum"
            << "obyčejný";
    }
    void failuresLoseNothing() {
        QFETCH(QString, op);
        QFETCH(Tree, before);
        QFETCH(int, room);
        QFETCH(QString, file);
        QFETCH(QString, reason);
        const Data data(before);
        QVERIFY(data.ok);
        const DataDir& dir = data.dir;
        const QString name = QStringLiteral("Nová");
        IoStatus status;
        {
            const FileSizeLimit limit(room > 0 ? room : RLIM_INFINITY);
            QVERIFY(limit.ok());
            QString last;
            status = op == "createTextbook"   ? Vocabulary::createTextbook(dir, name).status
                     : op == "renameTextbook" ? Vocabulary::renameTextbook(dir, "2.mum", name)
                     : op == "deleteTextbook" ? Vocabulary::deleteTextbook(dir, "2.mum", true)
                     : op == "createLesson"   ? Vocabulary::createLesson(dir, "2", name).status
                     : op == "savePairs"      ? Vocabulary::savePairs(dir, "2_1.mum", {"a*b*", "c*d*"})
                     : op == "appendPair"     ? Vocabulary::appendPair(dir, "2_1.mum", "a", "b")
                     : op == "deleteLesson"   ? Vocabulary::deleteLesson(dir, "2_1T.mum")
                                              : Vocabulary::openForExtension(dir, "2_1T.mum", name, &last);
        }
        QVERIFY(!status.ok());
        const QString path = QDir::toNativeSeparators(dir.root() + u'/' + file);
        QVERIFY2(status.message().contains(u'„' + path + u'“') && status.message().contains(reason),
                 qPrintable(status.message()));
        QCOMPARE(data.now(), listing(before));
    }

    // "Přidat výrazy" on a lesson file the user may not write: the title stays as it was.
    void extendingAReadOnlyLessonKeepsItsTitle() {
        RUN_AS_ORDINARY_USER();
        const Tree before = files({"units/2_1T.mum", "units/2_1.mum"});
        const Data data(before);
        QVERIFY(data.ok && QFile::setPermissions(data.dir.root() + QStringLiteral("/units/2_1.mum"), QFile::ReadOwner));
        QString last;
        const IoStatus status = Vocabulary::openForExtension(data.dir, "2_1T.mum", QStringLiteral("Nová"), &last);
        QVERIFY2(status.message().contains(QStringLiteral("přístup byl odepřen")), qPrintable(status.message()));
        QCOMPARE(data.now(), listing(before));
    }
};

QTEST_GUILESS_MAIN(TestVocabulary)
#include "tst_vocabulary.moc"
