// SPDX-License-Identifier: GPL-3.0-or-later
#include "AsUser.h"
#include "DataTree.h"

#include "store/Cp1250.h"
#include "store/DataDir.h"
#include "store/TextRoutines.h"

#include <QDateTime>
#include <QDirIterator>
#include <QStringEncoder>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

class TestStore : public QObject {
    Q_OBJECT

private slots:
    void pairField_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields"); // fields 1 to 3
        QTest::newRow("A*B*") << u"der Hund*pes*"_s << QStringList{"der Hund", "pes", ""};
        QTest::newRow("A**B*") << u"a**b*"_s << QStringList{"a", "", "b"};
        QTest::newRow("no star") << u"a"_s << QStringList{"a", "", ""};
        QTest::newRow("no closing *") << u"a*b"_s << QStringList{"a", "b", ""};
    }
    void pairField() {
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(::pairField(text, n), fields.at(n - 1));
        QCOMPARE(::pairField(text, 0), QString());
    }

    void sidesAndNumbers() {
        QCOMPARE(::plusesToCommas(u"dog++hound+"_s), u"dog, hound"_s);
        QCOMPARE(::editFormSide(u"dog+hound = dog"_s, 1), u"dog+hound"_s);
        QCOMPARE(::editFormSide(u"dog+hound = dog"_s, 2), u"dog"_s);
        QCOMPARE(::editFormSide(u" = "_s, 2), QString());
        QCOMPARE(::numericValue(u" 1 2"_s), 12.0);
        QCOMPARE(::numericValue(u"2.5x"_s), 2.5);
        QCOMPARE(::signedNumber(3), u" 3"_s); // the blank stands for the sign
        QCOMPARE(::signedNumber(-2), u"-2"_s);
        // Numbers of any size, without overflow: saturated, not 0.
        QCOMPARE(::numericValue(QString(400, u'9')), std::numeric_limits<double>::max());
        QCOMPARE(::saturatedInt(-1e11), std::numeric_limits<int>::min());
        // A number no int holds names no file the program could address: 0, refused like a missing one.
        QCOMPARE(textbookNumber(u"99999999999.mum"_s), 0);
        QCOMPARE(textbookNumber(u"2147483647.mum"_s), 2147483647);
        QCOMPARE(lessonNumber(u"3_99999999999T.mum"_s, u"3"_s), 0);
        QCOMPARE(lessonNumber(u"12_7t.mum"_s, u"12"_s), 7);
    }

    // "|" marks the caret before and after.
    void fileText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pasted line break at the end") << u"Haus\n|"_s << u"Haus|"_s;
        QTest::newRow("a run inside, caret after it") << u"a\r\n\t|b"_s << u"a |b"_s;
        QTest::newRow("a run inside, caret before it") << u"a|\r\n\tb"_s << u"a| b"_s;
        QTest::newRow("breaks at either end, blanks kept") << u"\r\n  Straße – ů \t|"_s << u"  Straße – ů |"_s;
        QTest::newRow("other controls dropped") << u"a\u0001b\u007f\u009fc\u2028d|"_s << u"abc d|"_s;
        QTest::newRow("caret in a leading run") << u"\n|\nab"_s << u"|ab"_s;
    }
    void fileText() {
        QFETCH(QString, text);
        int caret = int(text.indexOf(u'|'));
        text.remove(caret, 1);
        QString kept = ::fileText(text, &caret);
        QTEST(kept.insert(caret, u'|'), "expected");
    }

    // Every byte round-trips; a character outside the code page is refused, never written as "?".
    void windows1250() {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = static_cast<char>(b);
        QCOMPARE(Cp1250::encode(Cp1250::decode(all)), all);
        QCOMPARE(Cp1250::decode("\xf8\xf9\xec\x9a\x9e\xe4\xf6\xfc\xdf"), u"řůěšžäöüß"_s);
        bool ok = true;
        QVERIFY(Cp1250::encode(u"žena = жена"_s, &ok).isEmpty() && !ok);
        QCOMPARE(Cp1250::unencodable(u"žena = жена"_s), u"жена"_s);
    }

    // A file is Windows-1250 unless it is plainly UTF-8 or carries a mark.
    void detect_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextEncoding>("encoding");
        const auto utf8 = TextEncoding::Utf8, cp1250 = TextEncoding::Windows1250;
        QTest::newRow("UTF-8") << u"žluťoučký kůň*Úžas*\r\n"_s.toUtf8() << utf8;
        for (const QString& text : {u"die Brücke*most*"_s, u"Москва*Moskva*"_s, u"καλημέρα*"_s, u"Țară*země*"_s})
            QTest::newRow(qPrintable(text)) << text.toUtf8() << utf8;
        QTest::newRow("Windows-1250") << QByteArray("\x9elu\x9dou\xe8k\xfd k\xf9\xf2") << cp1250;
        QTest::newRow("Windows-1250, valid UTF-8") << QByteArray("\xda\x9e\x61s") << cp1250; // "Úžas", "ڞas"
        QTest::newRow("a sequence cut off at the end") << QByteArray("\xc5\xbe\x61\xc5") << cp1250;
        QTest::newRow("ASCII") << QByteArray("der Hund*pes*\r\n") << cp1250;
        QTest::newRow("a mark, then what reads as Windows-1250 too")
            << "\xef\xbb\xbf\xda\x9e\x61s"_ba << TextEncoding::Utf8Bom;
    }
    void detect() {
        QFETCH(QByteArray, bytes);
        QFETCH(TextEncoding, encoding);
        QCOMPARE(TextCodec::detect(bytes), encoding); // fed in pieces: fuzz_codec
        const bool bom = encoding == TextEncoding::Utf8Bom;
        QCOMPARE(Cp1250::decodeFile(bytes), encoding == TextEncoding::Windows1250
                                                ? Cp1250::decode(bytes)
                                                : QString::fromUtf8(bytes.mid(bom ? 3 : 0)));
    }

    // No Czech text of two or three letters in Windows-1250 reads as UTF-8, though many are valid UTF-8
    // ("čŠš" is E8 8A 9A); each letter with a diacritic in UTF-8 reads as UTF-8.
    void czechLetters() {
        const QString lower = u"aábcčdďeéěfghiíjklmnňoópqrřsštťuúůvwxyýzž"_s, all = lower + lower.toUpper();
        for (QChar x : all) {
            for (QChar y : all) {
                for (const QString& text :
                     {QString(x) + y, u"Kniha "_s + x + y + u"\r\n"_s, QString(x) + y + u"*x*\r\n"_s})
                    QVERIFY2(TextCodec::detect(Cp1250::encode(text)) == TextEncoding::Windows1250, qPrintable(text));
                for (QChar z : all)
                    QVERIFY2(TextCodec::detect(Cp1250::encode(QString(x) + y + z)) == TextEncoding::Windows1250,
                             qPrintable(QString(x) + y + z));
            }
        }
    }

    void splitLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << u"a*b*\r\nc*d*\r\n"_s << QStringList{"a*b*", "c*d*"};
        QTest::newRow("empty line kept, last without end") << u"a\r\n\r\nb"_s << QStringList{"a", "", "b"};
        QTest::newRow("lone LF") << u"a\nb\n"_s << QStringList{"a", "b"};
        QTest::newRow("lone CR: part of its line") << u"c*d\re*f*\r\n"_s << QStringList{"c*d\re*f*"};
        QTest::newRow("CR before CR LF") << u"a\r\r\nb"_s << QStringList{"a\r", "b"};
    }
    void splitLines() {
        QFETCH(QString, text);
        QTEST(::splitLines(text), "lines");
    }

    // A file keeps its encoding; one that must take a character Windows-1250 cannot hold becomes UTF-8
    // whole, and the user is told once. Every append starts on a line of its own.
    void writes_data() {
        QTest::addColumn<bool>("append");
        QTest::addColumn<QByteArray>("before"); // null: no file
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("notice");
        const QByteArray bom("\xef\xbb\xbf"), cp1250("die K\xe4lte*zima*\r\nder Fu\xdf*noha*\r\n");
        const QByteArray utf8 = u"die Kälte*zima*\r\nder Fuß*noha*\r\n"_s.toUtf8();
        const QString kalt = u"Kälte*mráz*"_s, ninos = u"Niños*děti*"_s, moskva = u"Moskau*Москва*"_s;
        const QByteArray kaltBytes = "K\xe4lte*mr\xe1z*\r\n", ninosBytes = (ninos + "\r\n").toUtf8();
        const QByteArray moskvaBytes = bom + (moskva + "\r\n").toUtf8();
        QTest::newRow("append after no CR LF")
            << true << "a*b*\r\nc*d*"_ba << u"e*f*"_s << "a*b*\r\nc*d*\r\ne*f*\r\n"_ba << false;
        QTest::newRow("append after LF") << true << "c*d*\n"_ba << u"e*f*"_s << "c*d*\ne*f*\r\n"_ba << false;
        QTest::newRow("append after a cut CR LF") << true << "c*d*\r"_ba << u"e*f*"_s << "c*d*\r\ne*f*\r\n"_ba << false;
        QTest::newRow("append, Windows-1250") << true << cp1250 << kalt << cp1250 + kaltBytes << false;
        QTest::newRow("append, UTF-8 stays") << true << utf8 << kalt << utf8 + (kalt + "\r\n").toUtf8() << false;
        QTest::newRow("append, UTF-8 with mark") << true << bom + utf8 << ninos << bom + utf8 + ninosBytes << false;
        QTest::newRow("append, converted") << true << cp1250 << ninos << bom + utf8 + ninosBytes << true;
        QTest::newRow("append, new file") << true << QByteArray() << moskva << moskvaBytes << true;
        QTest::newRow("append, new file, Windows-1250") << true << QByteArray() << kalt << kaltBytes << false;
        QTest::newRow("rewrite, converted") << false << cp1250 << moskva << moskvaBytes << true;
        // Windows-1250 bytes that would read back as UTF-8 ("ÄŤ" is "č"): written so that they cannot.
        QTest::newRow("rewrite, would read as UTF-8")
            << false << cp1250 << u"ÄŤas*x*"_s << bom + u"ÄŤas*x*\r\n"_s.toUtf8() << true;
        // A text that starts with U+FEFF (a zero-width no-break space) keeps it after the file's own mark.
        QTest::newRow("rewrite, converted, U+FEFF first")
            << false << cp1250 << u"\uFEFFa*b*"_s << bom + u"\uFEFFa*b*\r\n"_s.toUtf8() << true;
        QStringEncoder le(QStringConverter::Utf16LE);
        const QByteArray utf16 = "\xff\xfe" + QByteArray(le.encode(u"a*b*"_s));
        QTest::newRow("append, UTF-16 without end")
            << true << utf16 << moskva << utf16 + QByteArray(le.encode(u"\r\n"_s + moskva + u"\r\n"_s)) << false;
        QTest::newRow("rewrite, UTF-16, U+FEFF first")
            << false << utf16 << u"\uFEFFa*b*"_s << "\xff\xfe" + QByteArray(le.encode(u"\uFEFFa*b*\r\n"_s)) << false;
    }
    void writes() {
        QFETCH(bool, append);
        QFETCH(QByteArray, before);
        QFETCH(QString, line);
        QFETCH(bool, notice);
        const Data data(before.isNull() ? Tree{{"units/", {}}} : Tree{{"units/1_1.mum", before}});
        QVERIFY(data.ok);
        const QString sysPath = u"units\\1_1.mum"_s, path = data.tmp.filePath(u"units/1_1.mum"_s);
        const IoStatus status = append ? data.dir.appendLine(sysPath, line) : data.dir.rewrite(sysPath, {line});
        QVERIFY2(status.ok(), qPrintable(status.message()));
        QTEST(readBytes(path), "after");
        QCOMPARE(data.dir.readLines(sysPath).lines.last(), line);
        QCOMPARE(!status.notice().isEmpty(), notice);
        QVERIFY2(!notice || (status.notice().contains(QDir::toNativeSeparators(path)) &&
                             status.notice().contains(u"Starší programy"_s)),
                 qPrintable(status.notice()));
        QVERIFY(data.dir.appendLine(sysPath, line).notice().isEmpty()); // told once
        QCOMPARE(QDir(data.tmp.filePath(u"units"_s)).entryList(QDir::Files | QDir::Hidden), QStringList{"1_1.mum"});
    }

    // What reading makes of a file: its lines, or why it is refused. A file at the size cap is read.
    void reading_data() {
        QTest::addColumn<QByteArray>("bytes"); // "<link>target": a link to target
        QTest::addColumn<QString>("lines");    // the first two read, "|" between
        QTest::addColumn<QString>("reason");   // part of the message when the file is refused
        const QByteArray line = QByteArray(98, 'x') + "\r\n";
        QByteArray atCap = line.repeated(DataDir::kMaxFileSize / line.size());
        atCap += QByteArray(DataDir::kMaxFileSize - atCap.size(), 'y');
        const QString text = u"die Brücke*most*\r\nNiños*děti*\r\n"_s, lines = u"die Brücke*most*|Niños*děti*"_s;
        QStringEncoder le(QStringConverter::Utf16LE), be(QStringConverter::Utf16BE);
        const QString nul = u"není to textový soubor"_s;
        QTest::newRow("UTF-16 LE with its mark") << "\xff\xfe" + QByteArray(le.encode(text)) << lines << QString();
        QTest::newRow("UTF-16 BE with its mark") << "\xfe\xff" + QByteArray(be.encode(text)) << lines << QString();
        QTest::newRow("at the size cap") << atCap << QString(98, u'x') + u'|' + QString(98, u'x') << QString();
        QTest::newRow("UTF-16 without its mark") << QByteArray(le.encode(text)) << QString() << nul;
        QTest::newRow("NULs after the lines") << "a*b*\r\n\0\0\0"_ba << QString() << nul;
        QTest::newRow("above the size cap") << atCap + "z" << QString() << u"je větší než 8 MB"_s;
        QTest::newRow("a device") << kLink + "/dev/zero" << QString() << u"není to obyčejný soubor"_s;
    }
    void reading() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const Data data({{"units/1_1.mum", bytes}});
        QVERIFY(data.ok);
        const FileLines read = data.dir.readLines(u"units\\1_1.mum"_s);
        QTEST(read.lines.mid(0, 2).join(u'|'), "lines");
        QCOMPARE(read.status.ok(), reason.isEmpty());
        QVERIFY2(read.status.message().contains(reason), qPrintable(read.status.message()));
    }

    // No write goes through a link that leads out of the data directory or nowhere; reading does, and
    // a link to a file inside keeps working.
    void links_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("target"); // "outside": a file in another folder
        QTest::addColumn<QString>("reason"); // empty: the write goes through the link
        for (const char* op : {"rewrite", "append", "remove"}) {
            QTest::addRow("%s, outside", op) << op << "outside" << u"odkaz mimo složku s daty"_s;
            QTest::addRow("%s, dangling", op) << op << "gone.mum" << u"odkaz na soubor, který neexistuje"_s;
            QTest::addRow("%s, inside", op) << op << "../books/2.mum" << QString();
        }
    }
    void links() {
        QFETCH(QString, op);
        QFETCH(QString, target);
        QFETCH(QString, reason);
        QTemporaryDir elsewhere;
        const QString outside = elsewhere.filePath("x.txt");
        QVERIFY(writeBytes(outside, "a*b*\r\n"));
        const QByteArray link = kLink + (target == "outside" ? outside : target).toUtf8();
        const Data data({{"units/1_1.mum", link}, {"books/2.mum", "a*b*\r\n"}});
        QVERIFY(data.ok);
        const QString sysPath = u"units\\1_1.mum"_s;
        QCOMPARE(data.dir.readLines(sysPath).lines, target == "gone.mum" ? QStringList() : QStringList{"a*b*"});
        const QStringList before = data.now();
        const IoStatus status = op == "rewrite"  ? data.dir.rewrite(sysPath, {"c*d*"})
                                : op == "append" ? data.dir.appendLine(sysPath, "c*d*")
                                                 : data.dir.remove(sysPath);
        QCOMPARE(readBytes(outside), "a*b*\r\n"_ba);
        if (reason.isEmpty()) {
            QVERIFY2(status.ok(), qPrintable(status.message()));
            QCOMPARE(readBytes(data.tmp.filePath("books/2.mum")), op == "rewrite"  ? "c*d*\r\n"_ba
                                                                  : op == "append" ? "a*b*\r\nc*d*\r\n"_ba
                                                                                   : "a*b*\r\n"_ba);
            return;
        }
        const QString path = QDir::toNativeSeparators(data.tmp.filePath("units/1_1.mum"));
        QVERIFY2(!status.ok() && status.message().contains(u'„' + path + u'“') && status.message().contains(reason),
                 qPrintable(status.message()));
        QCOMPARE(data.now(), before);
    }

    // Temporary files of interrupted saves are removed once stale; nothing else is: names not of ours, seven
    // or five characters, no textbook number, a "-" among the six.
    void staleTempFiles() {
        QTemporaryDir tmp;
        const QStringList stale = {"me.cfg.GyqEae", "Zkouseni.txt.xYzAbC", "units/2_1T.mum.aBcDeF",
                                   "units/1_renumber.txt.Q1w2E3", "books/delete_textbook.txt.Xy12Zz"};
        const QStringList kept = {"units/2_1.mum", "notes.txt.AbCdEf", "me.cfg.AbCdE", "books/abc.mum.QwErTy",
                                  "units/2_1.mum.Ab-dEf"};
        const QStringList fresh = {"me.cfg.FrEsHh", "units/2_2.mum.NeWwWw"}; // a save may be under way
        const QDateTime now = QDateTime::currentDateTime();
        for (const QString& name : stale + kept + fresh) {
            QVERIFY(writeBytes(tmp.filePath(name), "x"));
            QFile file(tmp.filePath(name));
            const QDateTime changed = now.addSecs(fresh.contains(name) ? -60 : -3600);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(changed, QFileDevice::FileModificationTime));
        }
        QVERIFY(QDir(tmp.path()).mkdir(u"me.cfg.FoLdEr"_s)); // a folder: left alone
        const DataDir dir(tmp.path());
        QCOMPARE(dir.removeStaleTempFiles(), stale.size());
        for (const QString& name : stale)
            QVERIFY2(!QFileInfo::exists(tmp.filePath(name)), qPrintable(name));
        QCOMPARE(dir.removeStaleTempFiles(std::chrono::seconds(30)), fresh.size());
        for (const QString& name : kept + QStringList{"me.cfg.FoLdEr"})
            QVERIFY2(QFileInfo::exists(tmp.filePath(name)), qPrintable(name));
    }

    void caseBlindLookUp() {
        const Data data({{"books/1.mum", ""}, {"units/2_1.mum", "x"}, {"units/2_1.MUM", "x"}});
        QVERIFY(data.ok);
        const DataDir& dir = data.dir;
        const QString root = dir.root() + u'/';
        QCOMPARE(dir.resolve(u"Books\\1.MUM"_s), root + "books/1.mum");
        QCOMPARE(dir.resolve(u"UNITS\\2_1.mum"_s), root + "units/2_1.mum"); // the exact match wins
        QCOMPARE(dir.resolve(u"units\\2_1.MUM"_s), root + "units/2_1.MUM");
        QCOMPARE(dir.resolve(u"Books\\7.Mum"_s), root + "books/7.Mum"); // kept as given
        QVERIFY(dir.fileExists(u"BOOKS\\1.Mum"_s) && !dir.fileExists(u"books\\2.mum"_s));
        QVERIFY(!dir.fileExists(u"Units"_s));
        // A rewrite spelt otherwise replaces the file it names, never joins it by a twin.
        QVERIFY(dir.rewrite(u"Books\\1.MUM"_s, {u"Bär*x*"_s}).ok());
        QCOMPARE(QDir(data.tmp.filePath("books")).entryList(QDir::Files), QStringList{"1.mum"});
        QCOMPARE(readBytes(data.tmp.filePath("books/1.mum")), "B\xe4r*x*\r\n"_ba);
    }

    // By number, a number beyond int's range after the others; by line 1 (a lone CR is part of it), or by
    // the file name when line 1 is blank.
    void listings() {
        const Data data({{"books/12.mum", "N\xecm\xe8ina\r\n"},
                         {"books/2.mum", "Angli\xe8tina\r\n"},
                         {"books/5.mum", ""},
                         {"books/6.mum", "   \r\nx\r\n"},
                         {"books/4.mum", "Kniha\rjedna\r\nx\r\n"},
                         {"books/99999999999.mum", "Velk\xe1\r\n"},
                         {"books/notes.txt", "x\r\n"},
                         {"units/1_2T.mum", "Dva\r\n"},
                         {"units/1_10t.mum", "Deset\r\n"},
                         {"units/1_99999999999T.mum", "Velk\xe1\r\n"},
                         {"units/1_2.mum", "a*b*\r\n"},
                         {"units/12_1T.mum", "Jin\xe1\r\n"}});
        QVERIFY(data.ok);
        const FileListing books = data.dir.listTextbooks();
        QCOMPARE(books.fileNames, (QStringList{"2.mum", "4.mum", "5.mum", "6.mum", "12.mum", "99999999999.mum"}));
        QCOMPARE(books.names, (QStringList{"Angličtina", "Kniha\rjedna", "5.mum", "6.mum", "Němčina", "Velká"}));
        const FileListing lessons = data.dir.listLessons(u"1"_s);
        QCOMPARE(lessons.fileNames, (QStringList{"1_2T.mum", "1_10t.mum", "1_99999999999T.mum"}));
        QCOMPARE(lessons.names, (QStringList{"Dva", "Deset", "Velká"}));
        QVERIFY(DataDir(data.tmp.filePath("units")).listTextbooks().fileNames.isEmpty()); // no books folder there
    }

    // The bundled files and the fixtures are Windows-1250 with CR LF; every demo textbook has lessons.
    void demoData() {
        for (const QString& root : {QStringLiteral(MEMORAN_DEMO_DATA), QStringLiteral(MEMORAN_TEST_DATA)}) {
            QDirIterator it(root, {u"*.mum"_s, u"*.cfg"_s, u"*.txt"_s}, QDir::Files, QDirIterator::Subdirectories);
            QVERIFY(it.hasNext());
            while (it.hasNext()) {
                const QByteArray bytes = readBytes(it.next());
                const auto crLf = bytes.count("\r\n");
                QVERIFY2(TextCodec::detect(bytes) == TextEncoding::Windows1250 && bytes.endsWith("\r\n") &&
                             bytes.count('\n') == crLf && bytes.count('\r') == crLf,
                         qPrintable(it.filePath()));
            }
        }
    }

    // The part of a line that a killed append left is cut at the next start; a whole line, and a file
    // changed since, stay. The append's note goes either way.
    void interruptedAppend_data() {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QByteArray>("kept");
        QTest::newRow("part of a line") << QByteArray("a\r\nbc") << QByteArray("a\r\n");
        QTest::newRow("whole line") << QByteArray("a\r\nbcd\r\n") << QByteArray("a\r\nbcd\r\n");
        QTest::newRow("longer since") << QByteArray("a\r\nbcd\r\nefgh") << QByteArray("a\r\nbcd\r\nefgh");
    }
    void interruptedAppend() {
        QFETCH(QByteArray, log);
        const Data data({{"Zkouseni.txt", log}, {"Zkouseni.txt.appending", "3 8\n"}, {"units/2_1.mum", "a*b"}});
        QCOMPARE(data.dir.completeInterruptedAppends(), log.size() < 8 ? 1 : 0);
        QTEST(readBytes(data.tmp.filePath(u"Zkouseni.txt"_s)), "kept");
        QVERIFY(!QFile::exists(data.tmp.filePath(u"Zkouseni.txt.appending"_s)));
        QVERIFY(data.dir.appendLine(u"units\\2_1.mum"_s, u"c*d*"_s).ok()); // a whole append leaves no note
        QCOMPARE(QDir(data.tmp.filePath(u"units"_s)).entryList(QDir::Files), QStringList{u"2_1.mum"_s});
    }

    // Permissions, as a user they stop: a folder that takes no change is named as the cause; a
    // read-only file in a writable folder is the file's own fault.
    void readOnlyFolderIsNamed() {
        RUN_AS_ORDINARY_USER();
        const Data data({{"units/1_1.mum", "a*b*\r\n"}});
        const QString units = data.tmp.filePath(u"units"_s);
        QVERIFY(data.ok && QFile::setPermissions(units, QFile::ReadOwner | QFile::ExeOwner));
        const QString folder = u"do složky „%1“ nelze zapisovat (přístup byl odepřen)"_s.arg(units);
        QVERIFY2(data.dir.rewrite(u"units\\1_1.mum"_s, {u"c*d*"_s}).message().contains(folder), qPrintable(folder));
        QVERIFY(QFile::setPermissions(units, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner) &&
                QFile::setPermissions(units + u"/1_1.mum"_s, QFile::ReadOwner));
        QCOMPARE(
            data.dir.appendLine(u"units\\1_1.mum"_s, u"c*d*"_s).message(),
            u"Soubor „%1/1_1.mum“ se nepodařilo uložit: přístup byl odepřen.\nPředchozí obsah souboru zůstal beze změny."_s
                .arg(units));
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
