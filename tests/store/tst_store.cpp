#include "Files.h"

#include "app/AppSettings.h"
#include "store/Cp1250.h"
#include "store/DataDir.h"
#include "store/FolderIndex.h"
#include "store/IoStatus.h"
#include "store/TextRoutines.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

// Files of a fixture: path relative to the data directory ("/" separated) -> exact bytes.
using Files = QHash<QString, QByteArray>;

namespace {

bool writeFiles(const QString& root, const Files& files) {
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (!writeBytes(root + u'/' + it.key(), it.value()))
            return false;
    }
    return true;
}

// The lesson of the golden file, as the program holds it.
const QStringList kGoldenLesson = {
    QStringLiteral("der Bär*medvěd*"),
    QStringLiteral("die Brücke+der Steg*most+lávka*"),
    QString(),
    QStringLiteral("schön*krásný+pěkný*"),
    QStringLiteral("Grüße*pozdravy*"),
    QStringLiteral("der Fluss*Řeka+tok*"),
    QStringLiteral("die Schnur*šňůra*"),
    QStringLiteral("Übung*cvičení+úloha*"),
};

} // namespace

class TestStore : public QObject {
    Q_OBJECT

private slots:
    // Text routines
    void VratPole_data();
    void VratPole();
    void PlusNaCarky_data();
    void PlusNaCarky();
    void StranaDvojice_data();
    void StranaDvojice();
    void displayForms_data();
    void displayForms();
    void numericValue_data();
    void numericValue();
    void numberTexts_data();
    void numberTexts();

    // Windows-1250
    void everyByteRoundTrips();
    void knownLetters_data();
    void knownLetters();
    void refusesCharactersOutsideCodePage_data();
    void refusesCharactersOutsideCodePage();
    void decodeFile_data();
    void decodeFile();

    // Lines and writing
    void splitLines_data();
    void splitLines();
    void rewriteMatchesGoldenFile();
    void appendLine_data();
    void appendLine();
    void unencodableWriteLeavesFile_data();
    void unencodableWriteLeavesFile();
    void rewriteFailureLeavesFile_data();
    void rewriteFailureLeavesFile();

    // Case-blind look-up
    void resolve_data();
    void resolve();
    void SouborExistuje_data();
    void SouborExistuje();

    // Listings
    void listTextbooks_data();
    void listTextbooks();
    void listLessons_data();
    void listLessons();
    void fileNumbers_data();
    void fileNumbers();

    // me.cfg
    void settingsWrite_data();
    void settingsWrite();
    void settingsRead_data();
    void settingsRead();

    // The bundled demo data
    void demoFilesAreWindows1250WithCrLf();
    void demoLessonsAreComplete();
};

// ---------------------------------------------------------------- text routines

void TestStore::VratPole_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");

    const QString a = QStringLiteral("der Hund");
    const QString b = QStringLiteral("pes");
    QTest::newRow("A*B* 1") << a + "*" + b + "*" << 1 << a;
    QTest::newRow("A*B* 2") << a + "*" + b + "*" << 2 << b;
    QTest::newRow("A*B* 3") << a + "*" + b + "*" << 3 << QString();
    QTest::newRow("A**B* 1") << a + "**" + b + "*" << 1 << a;
    QTest::newRow("A**B* 2") << a + "**" + b + "*" << 2 << QString();
    QTest::newRow("A**B* 3") << a + "**" + b + "*" << 3 << b;
    QTest::newRow("*B* 1") << QStringLiteral("*") + b + "*" << 1 << QString();
    QTest::newRow("*B* 2") << QStringLiteral("*") + b + "*" << 2 << b;
    QTest::newRow("no star 1") << a << 1 << a;
    QTest::newRow("no star 2") << a << 2 << QString();
    QTest::newRow("empty 1") << QString() << 1 << QString();
    QTest::newRow("empty 2") << QString() << 2 << QString();
    QTest::newRow("empty 3") << QString() << 3 << QString();
    QTest::newRow("n 0") << a + "*" + b + "*" << 0 << QString();
    QTest::newRow("n -1") << a + "*" + b + "*" << -1 << QString();
    // A Czech side without its closing "*" reads like one with it.
    QTest::newRow("A*B 1") << a + "*" + b << 1 << a;
    QTest::newRow("A*B 2") << a + "*" + b << 2 << b;
    QTest::newRow("A*B 3") << a + "*" + b << 3 << QString();
    QTest::newRow("alternatives kept") << QStringLiteral("dog+hound*pes*") << 1 << QStringLiteral("dog+hound");
}

void TestStore::VratPole() {
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(::VratPole(text, n), expected);
}

void TestStore::PlusNaCarky_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("A+B") << QStringLiteral("dog+hound") << QStringLiteral("dog, hound");
    QTest::newRow("A++B+") << QStringLiteral("dog++hound+") << QStringLiteral("dog, hound");
    QTest::newRow("+A") << QStringLiteral("+dog") << QStringLiteral(", dog");
    QTest::newRow("three") << QStringLiteral("a+b+c") << QStringLiteral("a, b, c");
    QTest::newRow("plus only") << QStringLiteral("+") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("blanks kept") << QStringLiteral("a + b") << QStringLiteral("a ,  b");
    QTest::newRow("others unchanged") << QStringLiteral("Že, ne*=?ů") << QStringLiteral("Že, ne*=?ů");
}

void TestStore::PlusNaCarky() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(::PlusNaCarky(text), expected);
}

void TestStore::StranaDvojice_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("side1");
    QTest::addColumn<QString>("side2");

    QTest::newRow("A+B = A") << QStringLiteral("dog+hound = dog") << QStringLiteral("dog+hound")
                             << QStringLiteral("dog");
    QTest::newRow("blanks inside") << QStringLiteral("der Hund = pes obecný") << QStringLiteral("der Hund")
                                   << QStringLiteral("pes obecný");
    QTest::newRow("empty line") << QStringLiteral(" = ") << QString() << QString();
    QTest::newRow("empty item") << QString() << QString() << QString();
    // A further "=" ends side 2 as well; that pass ends at "=", so its last character goes.
    QTest::newRow("another =") << QStringLiteral("x = y = z") << QStringLiteral("x") << QStringLiteral(" y");
}

void TestStore::StranaDvojice() {
    QFETCH(QString, item);
    QFETCH(QString, side1);
    QFETCH(QString, side2);
    QCOMPARE(::StranaDvojice(item, 1), side1);
    QCOMPARE(::StranaDvojice(item, 2), side2);
}

void TestStore::displayForms_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("selection");

    QTest::newRow("alternatives") << QStringLiteral("dog+hound*pes*") << QStringLiteral("dog+hound = pes")
                                  << QStringLiteral("pes = dog, hound");
    QTest::newRow("Czech letters") << QStringLiteral("der Bär*medvěd+méďa*") << QStringLiteral("der Bär = medvěd+méďa")
                                   << QStringLiteral("medvěd, méďa = der Bär");
}

void TestStore::displayForms() {
    QFETCH(QString, line);
    QFETCH(QString, edit);
    QFETCH(QString, selection);
    QCOMPARE(editForm(line), edit);
    QCOMPARE(selectionForm(line), selection);
    // An edit list is written back through StranaDvojice: the line must come back unchanged.
    QCOMPARE(pairLine(::StranaDvojice(edit, 1), ::StranaDvojice(edit, 2)), line);
}

void TestStore::numericValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("leading zeros") << QStringLiteral("007") << 7.0;
    QTest::newRow("leading blank") << QStringLiteral(" 3") << 3.0;
    QTest::newRow("blanks around") << QStringLiteral(" 1 ") << 1.0;
    QTest::newRow("blank inside") << QStringLiteral(" 1 2") << 12.0;
    QTest::newRow("trailing text") << QStringLiteral("2.5x") << 2.5;
    QTest::newRow("point last") << QStringLiteral("3.") << 3.0;
    QTest::newRow("point only") << QStringLiteral(".") << 0.0;
    QTest::newRow("point first") << QStringLiteral(".5") << 0.5;
    QTest::newRow("second point") << QStringLiteral("1.2.3") << 1.2;
    QTest::newRow("minus") << QStringLiteral("-2") << -2.0;
    QTest::newRow("minus blank") << QStringLiteral(" - 1.5") << -1.5;
    QTest::newRow("plus") << QStringLiteral("+4") << 4.0;
    QTest::newRow("sign only") << QStringLiteral("-") << 0.0;
    QTest::newRow("sign after digits") << QStringLiteral("3-4") << 3.0;
    QTest::newRow("file name") << QStringLiteral("12_7") << 12.0;
    QTest::newRow("word") << QStringLiteral("abc") << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("letter first") << QStringLiteral("x12") << 0.0;
}

void TestStore::numericValue() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(::numericValue(text), expected);
}

void TestStore::numberTexts_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("signedText");
    QTest::addColumn<QString>("plainText");

    QTest::newRow("3") << 3.0 << QStringLiteral(" 3") << QStringLiteral("3");
    QTest::newRow("0") << 0.0 << QStringLiteral(" 0") << QStringLiteral("0");
    QTest::newRow("-2") << -2.0 << QStringLiteral("-2") << QStringLiteral("-2");
    QTest::newRow("7") << 7.0 << QStringLiteral(" 7") << QStringLiteral("7");
    QTest::newRow("100") << 100.0 << QStringLiteral(" 100") << QStringLiteral("100");
    QTest::newRow("2.5") << 2.5 << QStringLiteral(" 2.5") << QStringLiteral("2.5");
}

void TestStore::numberTexts() {
    QFETCH(double, value);
    QFETCH(QString, signedText);
    QFETCH(QString, plainText);
    QCOMPARE(signedNumber(value), signedText);
    QCOMPARE(plainNumber(value), plainText);
    // What the program writes it reads back.
    QCOMPARE(::numericValue(signedText), value);
}

// ---------------------------------------------------------------- Windows-1250

void TestStore::everyByteRoundTrips() {
    QByteArray all(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        all[b] = static_cast<char>(b);
    const QString text = Cp1250::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(QSet<QChar>(text.cbegin(), text.cend()).size(), 256); // no two bytes share a character
    bool ok = false;
    QCOMPARE(Cp1250::encode(text, &ok), all);
    QVERIFY(ok);
    QVERIFY(Cp1250::unencodable(text).isEmpty());
}

void TestStore::knownLetters_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("letter");

    QTest::newRow("ř") << 0xF8 << QStringLiteral("ř");
    QTest::newRow("ů") << 0xF9 << QStringLiteral("ů");
    QTest::newRow("ě") << 0xEC << QStringLiteral("ě");
    QTest::newRow("š") << 0x9A << QStringLiteral("š");
    QTest::newRow("č") << 0xE8 << QStringLiteral("č");
    QTest::newRow("ž") << 0x9E << QStringLiteral("ž");
    QTest::newRow("ä") << 0xE4 << QStringLiteral("ä");
    QTest::newRow("ö") << 0xF6 << QStringLiteral("ö");
    QTest::newRow("ü") << 0xFC << QStringLiteral("ü");
    QTest::newRow("ß") << 0xDF << QStringLiteral("ß");
    QTest::newRow("Š") << 0x8A << QStringLiteral("Š");
    QTest::newRow("Ř") << 0xD8 << QStringLiteral("Ř");
    QTest::newRow("ł") << 0xB3 << QStringLiteral("ł");
    QTest::newRow("€") << 0x80 << QStringLiteral("€");
    QTest::newRow("A") << 0x41 << QStringLiteral("A");
}

void TestStore::knownLetters() {
    QFETCH(int, byte);
    QFETCH(QString, letter);
    const QByteArray bytes(1, static_cast<char>(byte));
    QCOMPARE(Cp1250::decode(bytes), letter);
    bool ok = false;
    QCOMPARE(Cp1250::encode(letter, &ok), bytes);
    QVERIFY(ok);
}

void TestStore::refusesCharactersOutsideCodePage_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refused");

    QTest::newRow("Cyrillic") << QStringLiteral("žena = жена") << QStringLiteral("жена");
    QTest::newRow("Chinese") << QStringLiteral("中") << QStringLiteral("中");
    QTest::newRow("each once, in order") << QStringLiteral("ж a 中 ж") << QStringLiteral("ж中");
    QTest::newRow("outside BMP") << QStringLiteral("úsměv 😀") << QStringLiteral("😀");
}

void TestStore::refusesCharactersOutsideCodePage() {
    QFETCH(QString, text);
    QFETCH(QString, refused);
    QCOMPARE(Cp1250::unencodable(text), refused);
    QVERIFY(!Cp1250::canEncode(refused.at(0)));
    bool ok = true;
    QVERIFY(Cp1250::encode(text, &ok).isEmpty()); // never a "?" in its place
    QVERIFY(!ok);
}

void TestStore::decodeFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    const QString horse = QStringLiteral("žluťoučký kůň");
    QTest::newRow("UTF-8") << QByteArray("\xc5\xbelu\xc5\xa5ou\xc4\x8dk\xc3\xbd k\xc5\xaf\xc5\x88") << horse;
    QTest::newRow("Windows-1250") << QByteArray("\x9elu\x9dou\xe8k\xfd k\xf9\xf2") << horse;
    QTest::newRow("UTF-8 German") << QByteArray("Gr\xc3\xbc\xc3\x9f Gott") << QStringLiteral("Grüß Gott");
    QTest::newRow("Windows-1250 German") << QByteArray("Gr\xfc\xdf Gott") << QStringLiteral("Grüß Gott");
    // The last byte would start a UTF-8 sequence that never comes.
    QTest::newRow("Windows-1250 ending in á") << QByteArray("dobr\xe1") << QStringLiteral("dobrá");
    QTest::newRow("Windows-1250 ending in Ř") << QByteArray("PEP\xd8") << QStringLiteral("PEPŘ");
    QTest::newRow("ASCII") << QByteArray("hallo*ahoj*\r\n") << QStringLiteral("hallo*ahoj*\r\n");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestStore::decodeFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(Cp1250::decodeFile(bytes), expected);
}

// ---------------------------------------------------------------- lines and writing

void TestStore::splitLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << QStringLiteral("a*b*\r\nc*d*\r\n") << QStringList{"a*b*", "c*d*"};
    QTest::newRow("last without CR LF") << QStringLiteral("a*b*\r\nc*d*") << QStringList{"a*b*", "c*d*"};
    QTest::newRow("single line") << QStringLiteral("a*b*") << QStringList{"a*b*"};
    QTest::newRow("empty lines kept") << QStringLiteral("a\r\n\r\n\r\nb\r\n") << QStringList{"a", "", "", "b"};
    QTest::newRow("empty last line") << QStringLiteral("a\r\n\r\n") << QStringList{"a", ""};
    QTest::newRow("only CR LF") << QStringLiteral("\r\n") << QStringList{""};
    QTest::newRow("lone LF") << QStringLiteral("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("mixed") << QStringLiteral("a\nb\r\nc") << QStringList{"a", "b", "c"};
    QTest::newRow("empty") << QString() << QStringList();
}

void TestStore::splitLines() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(::splitLines(text), lines);
}

void TestStore::rewriteMatchesGoldenFile() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    // An older, longer lesson under a differently spelt name: it is replaced, not joined by a twin.
    QVERIFY(writeBytes(tmp.filePath("units/9_1.mum"), QByteArray(200, 'x') + "\r\n"));
    const DataDir dir(tmp.path());

    const IoStatus status = dir.rewrite(QStringLiteral("Units\\9_1.MUM"), kGoldenLesson);
    QVERIFY2(status.ok(), qPrintable(status.message()));

    const QByteArray golden = readBytes(QStringLiteral(MEMORAN_TEST_DATA "/lesson.mum"));
    QVERIFY(!golden.isEmpty());
    QCOMPARE(readBytes(tmp.filePath("units/9_1.mum")), golden);
    QCOMPARE(QDir(tmp.filePath("units")).entryList(QDir::Files), QStringList{"9_1.mum"});

    const FileLines read = dir.readLines(QStringLiteral("units\\9_1.mum"));
    QVERIFY(read.status.ok());
    QCOMPARE(read.lines, kGoldenLesson);
}

void TestStore::appendLine_data() {
    QTest::addColumn<QByteArray>("old"); // null: no file
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("creates the file") << QByteArray() << QStringLiteral("die Kälte*zima*")
                                      << QByteArray("die K\xe4lte*zima*\r\n");
    QTest::newRow("after the last line") << QByteArray("a*b*\r\n") << QStringLiteral("schön*hezký*")
                                         << QByteArray("a*b*\r\nsch\xf6n*hezk\xfd*\r\n");
    QTest::newRow("empty line") << QByteArray("a*b*\r\n") << QString() << QByteArray("a*b*\r\n\r\n");
}

void TestStore::appendLine() {
    QFETCH(QByteArray, old);
    QFETCH(QString, line);
    QFETCH(QByteArray, expected);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("units")));
    const QString path = tmp.filePath(QStringLiteral("units/1_1.mum"));
    if (!old.isNull())
        QVERIFY(writeBytes(path, old));

    const IoStatus status = DataDir(tmp.path()).appendLine(QStringLiteral("Units\\1_1.mum"), line);
    QVERIFY2(status.ok(), qPrintable(status.message()));
    QCOMPARE(readBytes(path), expected);
    QCOMPARE(QDir(tmp.filePath("units")).entryList(QDir::Files), QStringList{"1_1.mum"});
}

void TestStore::unencodableWriteLeavesFile_data() {
    QTest::addColumn<bool>("append");
    QTest::addColumn<QByteArray>("old"); // null: no file

    const QByteArray lesson("hallo*ahoj*\r\ndanke*d\xeckuji*\r\n");
    QTest::newRow("rewrite") << false << lesson;
    QTest::newRow("rewrite, no file") << false << QByteArray();
    QTest::newRow("append") << true << lesson;
    QTest::newRow("append, no file") << true << QByteArray();
}

void TestStore::unencodableWriteLeavesFile() {
    QFETCH(bool, append);
    QFETCH(QByteArray, old);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("units")));
    const QString path = tmp.filePath(QStringLiteral("units/2_5.mum"));
    if (!old.isNull())
        QVERIFY(writeBytes(path, old));
    const DataDir dir(tmp.path());
    const QString sysPath = QStringLiteral("units\\2_5.mum");
    const QString bad = QStringLiteral("Moskau*Москва*");

    const IoStatus status =
        append ? dir.appendLine(sysPath, bad) : dir.rewrite(sysPath, {QStringLiteral("hallo*ahoj*"), bad});
    QVERIFY(!status.ok());
    QVERIFY2(status.message().contains(QDir::toNativeSeparators(path)), qPrintable(status.message()));
    QVERIFY2(status.message().contains(QStringLiteral("Москва")), qPrintable(status.message()));
    if (old.isNull())
        QVERIFY(!QFileInfo::exists(path));
    else
        QCOMPARE(readBytes(path), old);
    QCOMPARE(QDir(tmp.filePath("units")).entryList(QDir::Files).size(), old.isNull() ? 0 : 1);
}

void TestStore::rewriteFailureLeavesFile_data() {
    QTest::addColumn<bool>("readOnly"); // false: the folder is missing

    QTest::newRow("missing folder") << false;
    QTest::newRow("read-only folder") << true;
}

void TestStore::rewriteFailureLeavesFile() {
    QFETCH(bool, readOnly);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString folder = tmp.filePath(QStringLiteral("units"));
    const QString path = folder + QStringLiteral("/3_4.mum");
    const QByteArray old("hallo*ahoj*\r\n");
    const auto allRead =
        QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    // Writable again at the end, so that the temporary folder can be removed.
    auto unlock = qScopeGuard([&] { QFile::setPermissions(folder, allRead | QFile::WriteOwner); });
    if (readOnly) {
        QVERIFY(writeBytes(path, old));
        QVERIFY(QFile::setPermissions(folder, allRead));
        QFile probe(folder + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QSKIP("Permissions do not stop this user (root) from writing.");
        }
    }

    const IoStatus status = DataDir(tmp.path()).rewrite(QStringLiteral("units\\3_4.mum"), kGoldenLesson);
    QVERIFY(!status.ok());
    QVERIFY2(status.message().contains(QDir::toNativeSeparators(path)), qPrintable(status.message()));
    if (readOnly)
        QCOMPARE(readBytes(path), old);
    else
        QVERIFY(!QFileInfo::exists(folder));
}

// ---------------------------------------------------------------- case-blind look-up

void TestStore::resolve_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("sysPath");
    QTest::addColumn<QString>("expected"); // relative to the root

    const QStringList clash = {"units/2_1.mum", "units/2_1.MUM", "units/2_1.Mum"};
    QTest::newRow("folder and file") << QStringList{"books/1.mum"} << QStringLiteral("Books\\1.MUM")
                                     << QStringLiteral("books/1.mum");
    QTest::newRow("suffix") << QStringList{"units/2_3T.mum"} << QStringLiteral("units\\2_3t.mum")
                            << QStringLiteral("units/2_3T.mum");
    QTest::newRow("file at the root") << QStringList{"Me.Cfg"} << QStringLiteral("me.cfg") << QStringLiteral("Me.Cfg");
    QTest::newRow("exact wins, lower") << clash << QStringLiteral("UNITS\\2_1.mum") << QStringLiteral("units/2_1.mum");
    QTest::newRow("exact wins, upper") << clash << QStringLiteral("units\\2_1.MUM") << QStringLiteral("units/2_1.MUM");
    QTest::newRow("exact wins, mixed") << clash << QStringLiteral("Units\\2_1.Mum") << QStringLiteral("units/2_1.Mum");
    QTest::newRow("missing file") << QStringList{"books/1.mum"} << QStringLiteral("Books\\7.Mum")
                                  << QStringLiteral("books/7.Mum");
    QTest::newRow("missing folder") << QStringList{"books/1.mum"} << QStringLiteral("Units\\1_1T.mum")
                                    << QStringLiteral("Units/1_1T.mum");
}

void TestStore::resolve() {
    QFETCH(QStringList, files);
    QFETCH(QString, sysPath);
    QFETCH(QString, expected);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    for (const QString& file : files)
        QVERIFY(writeBytes(tmp.filePath(file), "x\r\n"));
    const DataDir dir(tmp.path());
    QCOMPARE(dir.resolve(sysPath), dir.root() + u'/' + expected);

    // One listing of the folder answers the same.
    const qsizetype slash = expected.lastIndexOf(u'/');
    const QString name = expected.mid(slash + 1);
    const FolderIndex folder(dir.root() + u'/' + expected.left(std::max<qsizetype>(slash, 0)));
    const bool present = files.contains(expected);
    QCOMPARE(folder.find(sysPath.section(u'\\', -1)), present ? name : QString());
    QCOMPARE(folder.contains(sysPath.section(u'\\', -1)), present);
}

void TestStore::SouborExistuje_data() {
    QTest::addColumn<QString>("sysPath");
    QTest::addColumn<bool>("exists");

    QTest::newRow("as spelt") << QStringLiteral("units\\2_3T.mum") << true;
    QTest::newRow("other case") << QStringLiteral("UNITS\\2_3t.MUM") << true;
    QTest::newRow("empty file") << QStringLiteral("books\\1.mum") << true;
    QTest::newRow("missing file") << QStringLiteral("units\\2_4T.mum") << false;
    QTest::newRow("missing folder") << QStringLiteral("lessons\\2_3T.mum") << false;
    QTest::newRow("folder") << QStringLiteral("Units") << false;
    QTest::newRow("folder with separator") << QStringLiteral("units\\") << false;
}

void TestStore::SouborExistuje() {
    QFETCH(QString, sysPath);
    QFETCH(bool, exists);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(writeFiles(tmp.path(), {{"units/2_3T.mum", "Rodina\r\n"}, {"books/1.mum", ""}}));
    QCOMPARE(DataDir(tmp.path()).SouborExistuje(sysPath), exists);
}

// ---------------------------------------------------------------- listings

void TestStore::listTextbooks_data() {
    QTest::addColumn<Files>("files");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("fileNames");

    const Files books = {
        {"books/12.mum", "N\xecm\xe8ina\r\n"},
        {"books/2.mum", "Angli\xe8tina\r\n"},
        {"books/3.MUM", "Ru\x9atina"}, // last line without CR LF
        {"books/5.mum", ""},           // no line: listed with an empty name
        {"books/1.mum", "M\xf9j slovn\xedk\r\nignored\r\n"},
        {"books/notes.txt", "not a textbook\r\n"},
        {"units/1_1T.mum", "not a textbook\r\n"},
    };
    QTest::newRow("by number") << books << QStringList{"Můj slovník", "Angličtina", "Ruština", "", "Němčina"}
                               << QStringList{"1.mum", "2.mum", "3.MUM", "5.mum", "12.mum"};
    QTest::newRow("folder spelt Books") << Files{{"Books/1.mum", "Moje\r\n"}} << QStringList{"Moje"}
                                        << QStringList{"1.mum"};
    QTest::newRow("UTF-8 name") << Files{{"books/4.mum", "N\xc4\x9bm\xc4\x8dina\r\n"}} << QStringList{"Němčina"}
                                << QStringList{"4.mum"};
    QTest::newRow("no books folder") << Files{{"units/1_1T.mum", "x\r\n"}} << QStringList() << QStringList();
}

void TestStore::listTextbooks() {
    QFETCH(Files, files);
    QFETCH(QStringList, names);
    QFETCH(QStringList, fileNames);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(writeFiles(tmp.path(), files));
    const FileListing listing = DataDir(tmp.path()).listTextbooks();
    QCOMPARE(listing.names, names);
    QCOMPARE(listing.fileNames, fileNames);
    QVERIFY(listing.errors.isEmpty());
}

void TestStore::listLessons_data() {
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("t");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("fileNames");

    const Files units = {
        {"units/1_2T.mum", "Dva\r\n"},    {"units/1_10t.mum", "Deset\r\n"},   {"units/1_1T.mum", "Jedna\r\n"},
        {"units/1_2.mum", "a*b*\r\n"},    {"units/12_1T.mum", "Jin\xe1\r\n"}, {"units/12_1.mum", "a*b*\r\n"},
        {"units/2_1T.mum", "Rodina\r\n"}, {"books/1.mum", "Moje\r\n"},
    };
    QTest::newRow("textbook 1") << units << QStringLiteral("1") << QStringList{"Jedna", "Dva", "Deset"}
                                << QStringList{"1_1T.mum", "1_2T.mum", "1_10t.mum"};
    QTest::newRow("textbook 12") << units << QStringLiteral("12") << QStringList{"Jiná"} << QStringList{"12_1T.mum"};
    QTest::newRow("textbook 2") << units << QStringLiteral("2") << QStringList{"Rodina"} << QStringList{"2_1T.mum"};
    QTest::newRow("no lessons") << units << QStringLiteral("7") << QStringList() << QStringList();
    QTest::newRow("folder spelt Units") << Files{{"Units/3_1T.mum", "Hotel\r\n"}} << QStringLiteral("3")
                                        << QStringList{"Hotel"} << QStringList{"3_1T.mum"};
    QTest::newRow("no units folder") << Files{{"books/1.mum", "x\r\n"}} << QStringLiteral("1") << QStringList()
                                     << QStringList();
}

void TestStore::listLessons() {
    QFETCH(Files, files);
    QFETCH(QString, t);
    QFETCH(QStringList, names);
    QFETCH(QStringList, fileNames);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(writeFiles(tmp.path(), files));
    const FileListing listing = DataDir(tmp.path()).listLessons(t);
    QCOMPARE(listing.names, names);
    QCOMPARE(listing.fileNames, fileNames);
    QVERIFY(listing.errors.isEmpty());
}

void TestStore::fileNumbers_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("t"); // empty: a textbook file
    QTest::addColumn<int>("number");

    QTest::newRow("textbook 12") << QStringLiteral("12.mum") << QString() << 12;
    QTest::newRow("textbook upper case") << QStringLiteral("3.MUM") << QString() << 3;
    QTest::newRow("textbook not a number") << QStringLiteral("abc.mum") << QString() << 0;
    QTest::newRow("lesson 7 of 12") << QStringLiteral("12_7t.mum") << QStringLiteral("12") << 7;
    QTest::newRow("lesson 10 of 1") << QStringLiteral("1_10T.mum") << QStringLiteral("1") << 10;
    QTest::newRow("lesson without number") << QStringLiteral("1_T.mum") << QStringLiteral("1") << 0;
    QTest::newRow("lesson not a number") << QStringLiteral("1_xT.mum") << QStringLiteral("1") << 0;
}

void TestStore::fileNumbers() {
    QFETCH(QString, fileName);
    QFETCH(QString, t);
    QFETCH(int, number);
    QCOMPARE(t.isEmpty() ? textbookNumber(fileName) : lessonNumber(fileName, t), number);
}

// ---------------------------------------------------------------- me.cfg

void TestStore::settingsWrite_data() {
    QTest::addColumn<bool>("background");
    QTest::addColumn<bool>("quickClick");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("background") << true << false << QByteArray(" 1\r\n 0\r\n");
    QTest::newRow("QuickClick") << false << true << QByteArray(" 0\r\n 1\r\n");
    QTest::newRow("both off") << false << false << QByteArray(" 0\r\n 0\r\n");
}

void TestStore::settingsWrite() {
    QFETCH(bool, background);
    QFETCH(bool, quickClick);
    QFETCH(QByteArray, expected);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(writeBytes(tmp.filePath("me.cfg"), " 1\r\n 1\r\nold third line\r\n")); // replaced whole
    const DataDir dir(tmp.path());
    const IoStatus status = AppSettings{background, quickClick}.write(dir);
    QVERIFY2(status.ok(), qPrintable(status.message()));
    QCOMPARE(readBytes(tmp.filePath("me.cfg")), expected);

    const AppSettings read = AppSettings::read(dir);
    QCOMPARE(read.background, background);
    QCOMPARE(read.quickClick, quickClick);
}

void TestStore::settingsRead_data() {
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<bool>("background");
    QTest::addColumn<bool>("quickClick");

    QTest::newRow("no file") << QByteArray() << false << false;
    QTest::newRow("empty file") << QByteArray("") << false << false;
    QTest::newRow("one line") << QByteArray(" 1\r\n") << true << false;
    QTest::newRow("no blanks") << QByteArray("1\r\n1\r\n") << true << true;
    QTest::newRow("blanks around") << QByteArray(" 1 \r\n 1 ") << true << true;
    QTest::newRow("zeros") << QByteArray(" 0\r\n 0\r\n") << false << false;
    QTest::newRow("two") << QByteArray("2\r\n 2\r\n") << false << false;
    QTest::newRow("not a number") << QByteArray("x\r\n1\r\n") << false << true;
    QTest::newRow("empty first line") << QByteArray("\r\n 1\r\n") << false << true;
}

void TestStore::settingsRead() {
    QFETCH(QByteArray, content);
    QFETCH(bool, background);
    QFETCH(bool, quickClick);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    if (!content.isNull())
        QVERIFY(writeBytes(tmp.filePath("me.cfg"), content));
    const AppSettings settings = AppSettings::read(DataDir(tmp.path()));
    QCOMPARE(settings.background, background);
    QCOMPARE(settings.quickClick, quickClick);
}

// ---------------------------------------------------------------- demo data

void TestStore::demoFilesAreWindows1250WithCrLf() {
    int files = 0;
    for (const char* folder : {"/books", "/units"}) {
        QDirIterator it(QStringLiteral(MEMORAN_DEMO_DATA) + QLatin1String(folder), QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            const QByteArray bytes = readBytes(path);
            ++files;
            QVERIFY2(!bytes.isEmpty(), qPrintable(path));
            QVERIFY2(Cp1250::decodeFile(bytes) == Cp1250::decode(bytes), qPrintable(path + " reads as UTF-8"));
            QVERIFY2(bytes.endsWith("\r\n"), qPrintable(path));
            QVERIFY2(bytes.count('\n') == bytes.count("\r\n") && bytes.count('\r') == bytes.count("\r\n"),
                     qPrintable(path + " has a line end other than CR LF"));
        }
    }
    QVERIFY(files > 0);
}

void TestStore::demoLessonsAreComplete() {
    const DataDir dir(QStringLiteral(MEMORAN_DEMO_DATA));
    const FileListing books = dir.listTextbooks();
    QVERIFY(books.errors.isEmpty());
    QVERIFY2(books.fileNames.size() >= 3, qPrintable(books.fileNames.join(u',')));
    QVERIFY(books.fileNames.contains(QStringLiteral("1.mum")));

    for (qsizetype b = 0; b < books.fileNames.size(); ++b) {
        QVERIFY2(!books.names.at(b).isEmpty(), qPrintable(books.fileNames.at(b)));
        const QString t = books.fileNames.at(b).chopped(4);
        const FileListing lessons = dir.listLessons(t);
        QVERIFY2(!lessons.fileNames.isEmpty(), qPrintable("textbook " + t + " has no lesson"));
        for (qsizetype l = 0; l < lessons.fileNames.size(); ++l) {
            const QString title = lessons.fileNames.at(l);
            QVERIFY2(!lessons.names.at(l).isEmpty(), qPrintable(title));
            const QString lessonFile = QStringLiteral("units\\") + title.chopped(5) + QStringLiteral(".mum");
            QVERIFY2(dir.SouborExistuje(lessonFile), qPrintable(lessonFile));
            const FileLines pairs = dir.readLines(lessonFile);
            QVERIFY2(pairs.status.ok(), qPrintable(pairs.status.message()));
            QVERIFY2(!pairs.lines.isEmpty(), qPrintable(lessonFile));
            for (const QString& line : pairs.lines) {
                const QString where = lessonFile + ": " + line;
                QVERIFY2(!::VratPole(line, 1).isEmpty() && !::VratPole(line, 2).isEmpty(), qPrintable(where));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
