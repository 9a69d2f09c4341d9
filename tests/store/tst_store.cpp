#include "Files.h"

#include "app/AppSettings.h"
#include "store/Cp1250.h"
#include "store/DataDir.h"
#include "store/TextRoutines.h"

#include <QDirIterator>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

namespace {

// Files of a fixture: path relative to the data directory -> exact bytes.
bool writeFiles(const QString& root, const QHash<QString, QByteArray>& files) {
    for (const auto& [path, bytes] : files.asKeyValueRange())
        if (!writeBytes(root + u'/' + path, bytes))
            return false;
    return true;
}

} // namespace

class TestStore : public QObject {
    Q_OBJECT

private slots:
    void VratPole_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields"); // fields 1 to 3
        QTest::newRow("A*B*") << QStringLiteral("der Hund*pes*") << QStringList{"der Hund", "pes", ""};
        QTest::newRow("A**B*") << QStringLiteral("a**b*") << QStringList{"a", "", "b"};
        QTest::newRow("no star") << QStringLiteral("a") << QStringList{"a", "", ""};
        QTest::newRow("empty") << QString() << QStringList{"", "", ""};
        QTest::newRow("no closing *") << QStringLiteral("a*b") << QStringList{"a", "b", ""};
    }
    void VratPole() {
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(::VratPole(text, n), fields.at(n - 1));
        QCOMPARE(::VratPole(text, 0), QString());
    }

    void sides() {
        QCOMPARE(::PlusNaCarky(QStringLiteral("dog+hound")), QStringLiteral("dog, hound"));
        QCOMPARE(::PlusNaCarky(QStringLiteral("dog++hound+")), QStringLiteral("dog, hound"));
        QCOMPARE(::PlusNaCarky(QStringLiteral("+dog")), QStringLiteral(", dog"));
        QCOMPARE(::StranaDvojice(QStringLiteral("dog+hound = dog"), 1), QStringLiteral("dog+hound"));
        QCOMPARE(::StranaDvojice(QStringLiteral("dog+hound = dog"), 2), QStringLiteral("dog"));
        QCOMPARE(::StranaDvojice(QStringLiteral(" = "), 1), QString());
        QCOMPARE(::StranaDvojice(QStringLiteral(" = "), 2), QString());
    }

    void numbers() {
        QCOMPARE(::numericValue(QStringLiteral(" 3")), 3.0);
        QCOMPARE(::numericValue(QStringLiteral("007")), 7.0);
        QCOMPARE(::numericValue(QStringLiteral("2.5x")), 2.5);
        QCOMPARE(::numericValue(QStringLiteral("abc")), 0.0);
        QCOMPARE(::numericValue(QString()), 0.0);
        QCOMPARE(::numericValue(QStringLiteral(" 1 2")), 12.0);
        QCOMPARE(::signedNumber(3), QStringLiteral(" 3")); // the blank stands for the sign
        QCOMPARE(::signedNumber(-2), QStringLiteral("-2"));
    }

    // Numbers of any size become ints without overflow (0b).
    void hugeNumbers() {
        const QString huge(400, u'9');
        QCOMPARE(::numericValue(huge), std::numeric_limits<double>::max()); // saturated, not 0
        QCOMPARE(::numericValue(u'-' + huge), -std::numeric_limits<double>::max());
        QCOMPARE(::numericValue(QStringLiteral("0.") + QString(400, u'0') + u'1'), 0.0);
        QCOMPARE(::saturatedInt(1e11), std::numeric_limits<int>::max());
        QCOMPARE(::saturatedInt(-1e11), std::numeric_limits<int>::min());
        QCOMPARE(::saturatedInt(std::numeric_limits<double>::infinity()), std::numeric_limits<int>::max());
        QCOMPARE(::saturatedInt(std::numeric_limits<double>::quiet_NaN()), 0);
        QCOMPARE(::saturatedInt(-2.7), -2);
        QCOMPARE(::saturatedInt(2147483647.0), 2147483647);
        // A number no int can hold names no file the program could address: number 0, which the test
        // setup page refuses like any other missing number.
        QCOMPARE(textbookNumber(QStringLiteral("99999999999.mum")), 0);
        QCOMPARE(textbookNumber(huge + QStringLiteral(".mum")), 0);
        QCOMPARE(textbookNumber(QStringLiteral("2147483647.mum")), 2147483647);
        QCOMPARE(lessonNumber(QStringLiteral("3_99999999999T.mum"), QStringLiteral("3")), 0);
        QCOMPARE(lessonNumber(QStringLiteral("3_2147483647T.mum"), QStringLiteral("3")), 2147483647);

        // Listed all the same, after the smaller numbers.
        QTemporaryDir tmp;
        QVERIFY(writeFiles(tmp.path(), {{"books/99999999999.mum", "Velk\xe1\r\n"},
                                        {"books/2.mum", "Mal\xe1\r\n"},
                                        {"units/2_99999999999T.mum", "Velk\xe1\r\n"},
                                        {"units/2_3T.mum", "Mal\xe1\r\n"}}));
        const DataDir dir(tmp.path());
        QCOMPARE(dir.listTextbooks().fileNames, (QStringList{"2.mum", "99999999999.mum"}));
        QCOMPARE(dir.listLessons(QStringLiteral("2")).fileNames, (QStringList{"2_3T.mum", "2_99999999999T.mum"}));
    }

    void windows1250() {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = static_cast<char>(b);
        const QString text = Cp1250::decode(all);
        QCOMPARE(QSet<QChar>(text.cbegin(), text.cend()).size(), 256); // no two bytes share a character
        QCOMPARE(Cp1250::encode(text), all);
        QCOMPARE(Cp1250::decode("\xf8\xf9\xec\x9a\x9e\xe4\xf6\xfc\xdf"), QStringLiteral("řůěšžäöüß"));

        // A character outside the code page is refused, never written as "?".
        bool ok = true;
        QVERIFY(Cp1250::encode(QStringLiteral("žena = жена"), &ok).isEmpty());
        QVERIFY(!ok);
        QCOMPARE(Cp1250::unencodable(QStringLiteral("žena = жена")), QStringLiteral("жена"));

        QCOMPARE(Cp1250::decodeFile("\xc5\xbelu\xc5\xa5ou\xc4\x8dk\xc3\xbd k\xc5\xaf\xc5\x88"),
                 QStringLiteral("žluťoučký kůň"));
        QCOMPARE(Cp1250::decodeFile("\x9elu\x9dou\xe8k\xfd k\xf9\xf2"), QStringLiteral("žluťoučký kůň"));
    }

    // Windows-1250 bytes that happen to be valid UTF-8 are read as Windows-1250 (2).
    void czechLettersAreNotUtf8() {
        const QString letters = QStringLiteral("aábcčdďeéěfghiíjklmnňoópqrřsštťuúůvwxyýzž");
        const QString all = letters + letters.toUpper();
        QCOMPARE(all.size(), 82); // 41 letters ("ch" is two)
        QCOMPARE(Cp1250::decodeFile("\xda\x9e" "as"), QStringLiteral("Úžas"));
        QCOMPARE(Cp1250::decodeFile("\xda\x8a"), QStringLiteral("ÚŠ"));
        int utf8Valid = 0;
        for (QChar x : all) {
            for (QChar y : all) {
                const QString pair = QString(x) + y;
                const QByteArray bytes = Cp1250::encode(pair);
                if (QString(QStringDecoder(QStringConverter::Utf8).decode(bytes)).indexOf(QChar::ReplacementCharacter) < 0)
                    ++utf8Valid;
                // Alone, as a line of a file, as a word in a line and as a pair line.
                for (const QString& text : {pair, pair + "\r\n", "Kniha " + pair + " a " + pair + "\r\n",
                                            pair + "*" + pair + "as*\r\n" + pair + "*x*\r\n"}) {
                    const QByteArray file = Cp1250::encode(text);
                    QVERIFY2(TextCodec::detect(file) == TextEncoding::Windows1250, qPrintable(text));
                    QCOMPARE(Cp1250::decodeFile(file), text);
                }
            }
        }
        QVERIFY(utf8Valid >= 60); // the cases that matter: valid UTF-8 by accident
        // Three letters reach the three-byte forms of UTF-8 ("čŠš" is E8 8A 9A).
        for (QChar x : all)
            for (QChar y : all)
                for (QChar z : all) {
                    const QString word = QString(x) + y + z;
                    QVERIFY2(TextCodec::detect(Cp1250::encode(word)) == TextEncoding::Windows1250, qPrintable(word));
                }
    }

    // UTF-8 without a byte-order mark is recognised when it is plainly UTF-8.
    void utf8IsRecognised() {
        const QString letters = QStringLiteral("áčďéěíňóřšťúůýžäöüßÁČĎÉĚÍŇÓŘŠŤÚŮÝŽÄÖÜ");
        for (QChar c : letters) {
            for (const QString& text : {QString(c), QString(c) + "as", "sl" + QString(c) + "vo*" + c + "*\r\n"}) {
                QVERIFY2(TextCodec::detect(text.toUtf8()) == TextEncoding::Utf8, qPrintable(text));
                QCOMPARE(Cp1250::decodeFile(text.toUtf8()), text);
            }
        }
        for (const QString& text :
             {QStringLiteral("Čeština"), QStringLiteral("Úžas"), QStringLiteral("žluťoučký kůň"),
              QStringLiteral("die Brücke*most*\r\nNiños*děti*\r\n"), QStringLiteral("Москва*Moskva*"),
              QStringLiteral("καλημέρα*dobré ráno*"), QStringLiteral("Țară*země*"), QStringLiteral("Straße")}) {
            QVERIFY2(TextCodec::detect(text.toUtf8()) == TextEncoding::Utf8, qPrintable(text));
            QCOMPARE(Cp1250::decodeFile(text.toUtf8()), text);
        }
        // With a byte-order mark any text is UTF-8, even one that reads as Windows-1250 too.
        QCOMPARE(Cp1250::decodeFile("\xef\xbb\xbf" + QStringLiteral("ڞas").toUtf8()), QStringLiteral("ڞas"));
        QCOMPARE(TextCodec::detect("\xef\xbb\xbf"), TextEncoding::Utf8Bom);
        // ASCII is the same in both: Windows-1250.
        QCOMPARE(TextCodec::detect("der Hund*pes*\r\n"), TextEncoding::Windows1250);
    }

    void demoAndTestDataAreWindows1250() {
        for (const QString& root : {QStringLiteral(MEMORAN_DEMO_DATA), QStringLiteral(MEMORAN_TEST_DATA)}) {
            QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
            int files = 0;
            while (it.hasNext()) {
                const QString path = it.next();
                const QByteArray bytes = readBytes(path);
                QVERIFY2(TextCodec::detect(bytes) == TextEncoding::Windows1250, qPrintable(path));
                // Their text, written as UTF-8, reads back as UTF-8.
                const QString text = Cp1250::decode(bytes);
                if (text.toUtf8() != bytes)
                    QVERIFY2(TextCodec::detect(text.toUtf8()) == TextEncoding::Utf8, qPrintable(path));
                ++files;
            }
            QVERIFY(files > 0);
        }
    }

    // The detector takes a file in pieces and stops at the first byte that is not UTF-8.
    void detectorInPieces() {
        const QByteArray utf8 = QStringLiteral("Úžas*žluťoučký kůň*\r\n").repeated(50).toUtf8();
        for (int piece : {1, 2, 3, 7, 64}) {
            TextCodec::Detector detector;
            for (qsizetype at = 0; at < utf8.size(); at += piece)
                detector.feed(utf8.mid(at, piece));
            detector.finish();
            QCOMPARE(detector.encoding(), TextEncoding::Utf8);
        }
        TextCodec::Detector cp1250;
        cp1250.feed("Hund*pes*\r\n\xe8" "ek"); // "ček": E8 is no UTF-8 before "e"
        QVERIFY(cp1250.decided());
        QCOMPARE(cp1250.encoding(), TextEncoding::Windows1250);
        TextCodec::Detector cut; // a sequence cut off at the end is not UTF-8
        cut.feed("\xc5\xbe" "a\xc5");
        cut.finish();
        QCOMPARE(cut.encoding(), TextEncoding::Windows1250);
    }

    void splitLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QStringLiteral("a*b*\r\nc*d*\r\n") << QStringList{"a*b*", "c*d*"};
        QTest::newRow("last without CR LF") << QStringLiteral("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("empty line kept") << QStringLiteral("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("lone LF") << QStringLiteral("a\nb\n") << QStringList{"a", "b"};
    }
    void splitLines() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(::splitLines(text), lines);
    }

    void rewriteMatchesGoldenFile() {
        const QStringList lesson =
            QStringLiteral("der Bär*medvěd*|die Brücke+der Steg*most+lávka*||schön*krásný+pěkný*|"
                           "Grüße*pozdravy*|der Fluss*Řeka+tok*|die Schnur*šňůra*|Übung*cvičení+úloha*")
                .split(u'|');
        QTemporaryDir tmp;
        // An older, longer lesson spelt otherwise: replaced, not joined by a twin.
        QVERIFY(writeBytes(tmp.filePath("units/9_1.mum"), QByteArray(200, 'x') + "\r\n"));
        const IoStatus status = DataDir(tmp.path()).rewrite(QStringLiteral("Units\\9_1.MUM"), lesson);
        QVERIFY2(status.ok(), qPrintable(status.message()));
        QCOMPARE(readBytes(tmp.filePath("units/9_1.mum")), readBytes(QStringLiteral(MEMORAN_TEST_DATA "/lesson.mum")));
        QCOMPARE(QDir(tmp.filePath("units")).entryList(QDir::Files), QStringList{"9_1.mum"});
    }

    void appendLine() {
        QTemporaryDir tmp;
        QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("units")));
        const DataDir dir(tmp.path());
        QVERIFY(dir.appendLine(QStringLiteral("units\\1_1.mum"), QStringLiteral("die Kälte*zima*")).ok());
        QCOMPARE(readBytes(tmp.filePath("units/1_1.mum")), QByteArray("die K\xe4lte*zima*\r\n"));
        QVERIFY(dir.appendLine(QStringLiteral("Units\\1_1.MUM"), QStringLiteral("a*b*")).ok());
        QCOMPARE(readBytes(tmp.filePath("units/1_1.mum")), QByteArray("die K\xe4lte*zima*\r\na*b*\r\n"));
    }

    void failedWriteLeavesFile_data() {
        QTest::addColumn<bool>("append");
        QTest::addColumn<QString>("sysPath");
        QTest::addColumn<QString>("line");
        const QString file = QStringLiteral("units\\2_5.mum");
        QTest::newRow("rewrite, unencodable") << false << file << QStringLiteral("Moskau*Москва*");
        QTest::newRow("append, unencodable") << true << file << QStringLiteral("Moskau*Москва*");
        QTest::newRow("missing folder") << false << QStringLiteral("lessons\\2_5.mum") << QStringLiteral("a*b*");
    }
    void failedWriteLeavesFile() {
        QFETCH(bool, append);
        QFETCH(QString, sysPath);
        QFETCH(QString, line);
        QTemporaryDir tmp;
        const QByteArray old("hallo*ahoj*\r\ndanke*d\xeckuji*\r\n");
        QVERIFY(writeBytes(tmp.filePath("units/2_5.mum"), old));
        const DataDir dir(tmp.path());
        const IoStatus status = append ? dir.appendLine(sysPath, line) : dir.rewrite(sysPath, {line});
        QVERIFY(!status.ok());
        QVERIFY2(status.message().contains(QDir::toNativeSeparators(dir.resolve(sysPath))),
                 qPrintable(status.message()));
        QCOMPARE(readBytes(tmp.filePath("units/2_5.mum")), old);
        // Neither a half-written twin nor a new folder is left behind.
        QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"units"});
        QCOMPARE(QDir(tmp.filePath("units")).entryList(QDir::Files), QStringList{"2_5.mum"});
    }

    void caseBlindLookUp() {
        QTemporaryDir tmp;
        QVERIFY(writeFiles(tmp.path(), {{"books/1.mum", ""}, {"units/2_1.mum", "x"}, {"units/2_1.MUM", "x"}}));
        const DataDir dir(tmp.path());
        const QString root = dir.root() + u'/';
        QCOMPARE(dir.resolve(QStringLiteral("Books\\1.MUM")), root + "books/1.mum");
        QCOMPARE(dir.resolve(QStringLiteral("UNITS\\2_1.mum")), root + "units/2_1.mum"); // the exact match wins
        QCOMPARE(dir.resolve(QStringLiteral("units\\2_1.MUM")), root + "units/2_1.MUM");
        QCOMPARE(dir.resolve(QStringLiteral("Books\\7.Mum")), root + "books/7.Mum"); // kept as given
        QVERIFY(dir.SouborExistuje(QStringLiteral("BOOKS\\1.Mum")));
        QVERIFY(!dir.SouborExistuje(QStringLiteral("books\\2.mum")));
        QVERIFY(!dir.SouborExistuje(QStringLiteral("Units")));
    }

    void listings() {
        QTemporaryDir tmp;
        QVERIFY(writeFiles(tmp.path(), {{"books/12.mum", "N\xecm\xe8ina\r\n"},
                                        {"books/2.mum", "Angli\xe8tina\r\n"},
                                        {"books/5.mum", ""}, // listed with an empty name
                                        {"books/notes.txt", "x\r\n"},
                                        {"units/1_2T.mum", "Dva\r\n"},
                                        {"units/1_10t.mum", "Deset\r\n"},
                                        {"units/1_2.mum", "a*b*\r\n"},
                                        {"units/12_1T.mum", "Jin\xe1\r\n"}}));
        const DataDir dir(tmp.path());
        const FileListing books = dir.listTextbooks();
        QCOMPARE(books.fileNames, (QStringList{"2.mum", "5.mum", "12.mum"}));
        QCOMPARE(books.names, (QStringList{"Angličtina", "", "Němčina"}));
        const FileListing lessons = dir.listLessons(QStringLiteral("1"));
        QCOMPARE(lessons.fileNames, (QStringList{"1_2T.mum", "1_10t.mum"}));
        QCOMPARE(lessons.names, (QStringList{"Dva", "Deset"}));
        QVERIFY(DataDir(tmp.filePath("units")).listTextbooks().fileNames.isEmpty()); // no books folder there
        QCOMPARE(textbookNumber(QStringLiteral("12.mum")), 12);
        QCOMPARE(lessonNumber(QStringLiteral("12_7t.mum"), QStringLiteral("12")), 7);
    }

    void settings() {
        QTemporaryDir tmp;
        const DataDir dir(tmp.path());
        const QString cfg = tmp.filePath("me.cfg");
        const auto read = [&] {
            const AppSettings settings = AppSettings::read(dir);
            return std::pair(settings.background, settings.quickClick);
        };
        QCOMPARE(read(), std::pair(false, false)); // no file
        QVERIFY(writeBytes(cfg, " 1\r\n"));
        QCOMPARE(read(), std::pair(true, false)); // no second line
        QVERIFY(writeBytes(cfg, "x\r\n1\r\nthird line\r\n"));
        QCOMPARE(read(), std::pair(false, true)); // not a number
        QVERIFY((AppSettings{true, false}.write(dir).ok()));
        QCOMPARE(readBytes(cfg), QByteArray(" 1\r\n 0\r\n")); // the longer old file replaced whole
    }

    void demoData() {
        const DataDir dir(QStringLiteral(MEMORAN_DEMO_DATA));
        QDirIterator it(dir.root(), {QStringLiteral("*.mum")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QByteArray bytes = readBytes(path);
            const auto crLf = bytes.count("\r\n");
            QVERIFY2(bytes.endsWith("\r\n") && bytes.count('\n') == crLf && bytes.count('\r') == crLf,
                     qPrintable(path));
            QVERIFY2(Cp1250::decodeFile(bytes) == Cp1250::decode(bytes), qPrintable(path + " reads as UTF-8"));
        }

        const FileListing books = dir.listTextbooks();
        QVERIFY(books.fileNames.size() >= 3);
        for (const QString& book : books.fileNames) {
            const FileListing lessons = dir.listLessons(book.chopped(4));
            QVERIFY2(!lessons.fileNames.isEmpty() && !lessons.names.contains(QString()), qPrintable(book));
            for (const QString& title : lessons.fileNames) {
                const FileLines pairs = dir.readLines("units\\" + title.chopped(5) + ".mum");
                QVERIFY2(pairs.status.ok() && !pairs.lines.isEmpty(), qPrintable(title));
                for (const QString& line : pairs.lines)
                    QVERIFY2(!::VratPole(line, 1).isEmpty() && !::VratPole(line, 2).isEmpty(), qPrintable(line));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
