#include "AsUser.h"
#include "DataTree.h"
#include "Files.h"

#include "store/Cp1250.h"
#include "store/DataDir.h"
#include "store/TextRoutines.h"

#include <QDateTime>
#include <QDirIterator>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// A data directory holding one lesson file, "units\\1_1.mum", with these bytes (none: no file).
struct LessonFile {
    explicit LessonFile(const QByteArray& bytes)
        : ok(QDir(tmp.path()).mkdir(QStringLiteral("units")) && (bytes.isEmpty() || writeBytes(path, bytes))) {}
    QTemporaryDir tmp;
    QString path = tmp.filePath(QStringLiteral("units/1_1.mum"));
    QString sysPath = QStringLiteral("units\\1_1.mum");
    DataDir dir{tmp.path()};
    bool ok;
};

} // namespace

class TestStore : public QObject {
    Q_OBJECT

private slots:
    void pairField_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields"); // fields 1 to 3
        QTest::newRow("A*B*") << QStringLiteral("der Hund*pes*") << QStringList{"der Hund", "pes", ""};
        QTest::newRow("A**B*") << QStringLiteral("a**b*") << QStringList{"a", "", "b"};
        QTest::newRow("no star") << QStringLiteral("a") << QStringList{"a", "", ""};
        QTest::newRow("empty") << QString() << QStringList{"", "", ""};
        QTest::newRow("no closing *") << QStringLiteral("a*b") << QStringList{"a", "b", ""};
    }
    void pairField() {
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(::pairField(text, n), fields.at(n - 1));
        QCOMPARE(::pairField(text, 0), QString());
    }

    void sides() {
        QCOMPARE(::plusesToCommas(QStringLiteral("dog+hound")), QStringLiteral("dog, hound"));
        QCOMPARE(::plusesToCommas(QStringLiteral("dog++hound+")), QStringLiteral("dog, hound"));
        QCOMPARE(::plusesToCommas(QStringLiteral("+dog")), QStringLiteral(", dog"));
        QCOMPARE(::editFormSide(QStringLiteral("dog+hound = dog"), 1), QStringLiteral("dog+hound"));
        QCOMPARE(::editFormSide(QStringLiteral("dog+hound = dog"), 2), QStringLiteral("dog"));
        QCOMPARE(::editFormSide(QStringLiteral(" = "), 1), QString());
        QCOMPARE(::editFormSide(QStringLiteral(" = "), 2), QString());
    }

    // "|" marks the caret before and after.
    void fileText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pasted line break at the end") << u"Haus\n|"_s << u"Haus|"_s;
        QTest::newRow("two lines") << u"dog\nhound|"_s << u"dog hound|"_s;
        QTest::newRow("a run inside, caret after it") << u"a\r\n\t|b"_s << u"a |b"_s;
        QTest::newRow("a run inside, caret before it") << u"a|\r\n\tb"_s << u"a| b"_s;
        QTest::newRow("breaks at either end, blanks kept") << u"\r\n  Straße – ů \t|"_s << u"  Straße – ů |"_s;
        QTest::newRow("other controls dropped") << u"a\u0001b\u007f\u009fc\u2028d|"_s << u"abc d|"_s;
        QTest::newRow("caret in a leading run") << u"\n|\nab"_s << u"|ab"_s;
        QTest::newRow("nothing but breaks") << u"\n\t|"_s << u"|"_s;
    }
    void fileText() {
        QFETCH(QString, text);
        int caret = int(text.indexOf(u'|'));
        text.remove(caret, 1);
        QString kept = ::fileText(text, &caret);
        QTEST(kept.insert(caret, u'|'), "expected");
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

    // Numbers of any size become ints without overflow.
    void hugeNumbers() {
        const QString huge(400, u'9');
        QCOMPARE(::numericValue(huge), std::numeric_limits<double>::max()); // saturated, not 0
        QCOMPARE(::numericValue(u'-' + huge), -std::numeric_limits<double>::max());
        QCOMPARE(::numericValue(QStringLiteral("0.") + QString(400, u'0') + u'1'), 0.0);
        QCOMPARE(::saturatedInt(-1e11), std::numeric_limits<int>::min());
        QCOMPARE(::saturatedInt(std::numeric_limits<double>::quiet_NaN()), 0);
        // A number no int can hold names no file the program could address: number 0, which the test
        // setup page refuses like any other missing number.
        QCOMPARE(textbookNumber(QStringLiteral("99999999999.mum")), 0);
        QCOMPARE(textbookNumber(huge + QStringLiteral(".mum")), 0);
        QCOMPARE(textbookNumber(QStringLiteral("2147483647.mum")), 2147483647);
        QCOMPARE(lessonNumber(QStringLiteral("3_99999999999T.mum"), QStringLiteral("3")), 0);
        QCOMPARE(lessonNumber(QStringLiteral("3_2147483647T.mum"), QStringLiteral("3")), 2147483647);

        // Listed all the same, after the smaller numbers.
        const Data data({{"books/99999999999.mum", "Velk\xe1\r\n"},
                         {"books/2.mum", "Mal\xe1\r\n"},
                         {"units/2_99999999999T.mum", "Velk\xe1\r\n"},
                         {"units/2_3T.mum", "Mal\xe1\r\n"}});
        QVERIFY(data.ok);
        const DataDir& dir = data.dir;
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

    // Windows-1250 bytes that happen to be valid UTF-8 are read as Windows-1250.
    void czechLettersAreNotUtf8() {
        const QString letters = QStringLiteral("aábcčdďeéěfghiíjklmnňoópqrřsštťuúůvwxyýzž");
        const QString all = letters + letters.toUpper();
        QCOMPARE(Cp1250::decodeFile("\xda\x9e"
                                    "as"),
                 QStringLiteral("Úžas"));
        QCOMPARE(Cp1250::decodeFile("\xda\x8a"), QStringLiteral("ÚŠ"));
        int utf8Valid = 0;
        for (QChar x : all) {
            for (QChar y : all) {
                const QString pair = QString(x) + y;
                const QByteArray bytes = Cp1250::encode(pair);
                if (QString(QStringDecoder(QStringConverter::Utf8).decode(bytes)).indexOf(QChar::ReplacementCharacter) <
                    0)
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
        cp1250.feed("Hund*pes*\r\n\xe8"
                    "ek"); // "ček": E8 is no UTF-8 before "e"
        QVERIFY(cp1250.decided());
        QCOMPARE(cp1250.encoding(), TextEncoding::Windows1250);
        TextCodec::Detector cut; // a sequence cut off at the end is not UTF-8
        cut.feed("\xc5\xbe"
                 "a\xc5");
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
        // A lone CR is part of its line.
        QTest::newRow("lone CR") << QStringLiteral("c*d\re*f*\r\n") << QStringList{"c*d\re*f*"};
        QTest::newRow("CR before CR LF") << QStringLiteral("a\r\r\nb") << QStringList{"a\r", "b"};
        QTest::newRow("CR at the end") << QStringLiteral("a\r\nb\r") << QStringList{"a", "b\r"};
        QTest::newRow("mixed ends") << QStringLiteral("a\nb\r\nc") << QStringList{"a", "b", "c"};
    }
    void splitLines() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(::splitLines(text), lines);
    }

    // A lone CR is part of its line in files too, line 1 included.
    void loneCrInFiles() {
        const Data data({{"books/4.mum", "Kniha\rjedna\r\nx\r\n"},
                         {"units/4_1T.mum", "Lekce\rjedna"},
                         {"units/4_1.mum", "a*b*\r\nc*d\re*f*\r\ng*h*"}});
        QVERIFY(data.ok);
        const DataDir& dir = data.dir;
        QCOMPARE(dir.readFirstLine(QStringLiteral("books\\4.mum")), QStringLiteral("Kniha\rjedna"));
        QCOMPARE(dir.listTextbooks().names, QStringList{"Kniha\rjedna"});
        QCOMPARE(dir.listLessons(QStringLiteral("4")).names, QStringList{"Lekce\rjedna"});
        QCOMPARE(dir.readLines(QStringLiteral("units\\4_1.mum")).lines, (QStringList{"a*b*", "c*d\re*f*", "g*h*"}));
        QCOMPARE(firstLine(QStringLiteral("a\r\nb")), QStringLiteral("a"));
        QCOMPARE(firstLine(QStringLiteral("a\nb")), QStringLiteral("a"));
        QCOMPARE(firstLine(QStringLiteral("a\rb")), QStringLiteral("a\rb"));
    }

    // Every append starts on a line of its own.
    void appendStartsOnItsOwnLine_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("before"); // empty: no file
        QTest::addColumn<QByteArray>("after");
        const QString lesson = QStringLiteral("units/1_1.mum");
        const QString log = QStringLiteral("Zkouseni.txt");
        QTest::newRow("last line without CR LF")
            << lesson << QByteArray("a*b*\r\nc*d*") << QByteArray("a*b*\r\nc*d*\r\ne*f*\r\n");
        QTest::newRow("last line with CR LF") << lesson << QByteArray("c*d*\r\n") << QByteArray("c*d*\r\ne*f*\r\n");
        QTest::newRow("last line with LF") << lesson << QByteArray("c*d*\n") << QByteArray("c*d*\ne*f*\r\n");
        QTest::newRow("CR LF cut short") << lesson << QByteArray("c*d*\r") << QByteArray("c*d*\r\ne*f*\r\n");
        QTest::newRow("empty file") << lesson << QByteArray("") << QByteArray("e*f*\r\n");
        QTest::newRow("UTF-8 without end")
            << lesson << QByteArray("\xef\xbb\xbf\xc5\xbe*d*") << QByteArray("\xef\xbb\xbf\xc5\xbe*d*\r\ne*f*\r\n");
        QTest::newRow("UTF-16 without end") << lesson
                                            << QByteArray("\xff\xfe"
                                                          "c\0*\0",
                                                          6)
                                            << QByteArray("\xff\xfe"
                                                          "c\0*\0\r\0\n\0e\0*\0f\0*\0\r\0\n\0",
                                                          22);
        QTest::newRow("log without CR LF") << log << QByteArray("1.1.2024   8:00:00   N\xe1zev:X")
                                           << QByteArray("1.1.2024   8:00:00   N\xe1zev:X\r\ne*f*\r\n");
    }
    void appendStartsOnItsOwnLine() {
        QFETCH(QString, file);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QTemporaryDir tmp;
        QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("units")));
        QVERIFY(writeBytes(tmp.filePath(file), before));
        const DataDir dir(tmp.path());
        const QString sysPath = QString(file).replace(u'/', u'\\');
        const IoStatus status = dir.appendLine(sysPath, QStringLiteral("e*f*"));
        QVERIFY2(status.ok() && status.notice().isEmpty(), qPrintable(status.message()));
        QCOMPARE(readBytes(tmp.filePath(file)), after);
        QCOMPARE(dir.readLines(sysPath).lines.last(), QStringLiteral("e*f*"));
    }

    // What reading makes of a file: its lines, or why it is refused. A file at the size cap is read.
    void reading_data() {
        QTest::addColumn<QByteArray>("bytes"); // "<link>target": a link to target
        QTest::addColumn<QString>("lines");    // the first two read, "|" between
        QTest::addColumn<QString>("reason");   // part of the message when the file is refused
        const QByteArray line = QByteArray(98, 'x') + "\r\n";
        QByteArray atCap = line.repeated(DataDir::kMaxFileSize / line.size());
        atCap += QByteArray(DataDir::kMaxFileSize - atCap.size(), 'y');
        const QString text = QStringLiteral("die Brücke*most*\r\nNiños*děti*\r\n");
        const QString lines = QStringLiteral("die Brücke*most*|Niños*děti*");
        QStringEncoder le(QStringConverter::Utf16LE), be(QStringConverter::Utf16BE);
        QTest::newRow("UTF-16 LE with its mark") << "\xff\xfe" + QByteArray(le.encode(text)) << lines << QString();
        QTest::newRow("UTF-16 BE with its mark") << "\xfe\xff" + QByteArray(be.encode(text)) << lines << QString();
        QTest::newRow("at the size cap") << atCap << QString(98, u'x') + u'|' + QString(98, u'x') << QString();
        const QString nul = QStringLiteral("není to textový soubor");
        QTest::newRow("UTF-16 without its mark") << QByteArray(le.encode(text)) << QString() << nul;
        QTest::newRow("NULs after the lines") << QByteArray("a*b*\r\n\0\0\0", 9) << QString() << nul;
        QTest::newRow("above the size cap") << atCap + "z" << QString() << QStringLiteral("je větší než 8 MB");
        QTest::newRow("a device") << kLink + "/dev/zero" << QString() << QStringLiteral("není to obyčejný soubor");
    }
    void reading() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const Data data({{"units/1_1.mum", bytes}});
        QVERIFY(data.ok);
        const FileLines read = data.dir.readLines(QStringLiteral("units\\1_1.mum"));
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
            QTest::addRow("%s, outside", op) << op << "outside" << QStringLiteral("odkaz mimo složku s daty");
            QTest::addRow("%s, dangling", op)
                << op << "gone.mum" << QStringLiteral("odkaz na soubor, který neexistuje");
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
        const QString sysPath = QStringLiteral("units\\1_1.mum");
        QCOMPARE(data.dir.readLines(sysPath).lines, target == "gone.mum" ? QStringList() : QStringList{"a*b*"});
        const QStringList before = data.now();
        const IoStatus status = op == "rewrite"  ? data.dir.rewrite(sysPath, {"c*d*"})
                                : op == "append" ? data.dir.appendLine(sysPath, "c*d*")
                                                 : data.dir.remove(sysPath);
        QCOMPARE(readBytes(outside), QByteArray("a*b*\r\n"));
        if (reason.isEmpty()) {
            QVERIFY2(status.ok(), qPrintable(status.message()));
            QCOMPARE(readBytes(data.tmp.filePath("books/2.mum")), op == "rewrite"  ? QByteArray("c*d*\r\n")
                                                                  : op == "append" ? QByteArray("a*b*\r\nc*d*\r\n")
                                                                                   : QByteArray("a*b*\r\n"));
            QCOMPARE(QFileInfo(data.tmp.filePath("units/1_1.mum")).isSymLink(), op != "remove");
            return;
        }
        const QString path = QDir::toNativeSeparators(data.tmp.filePath("units/1_1.mum"));
        QVERIFY2(!status.ok() && status.message().contains(u'„' + path + u'“') && status.message().contains(reason),
                 qPrintable(status.message()));
        QCOMPARE(data.now(), before);
        QVERIFY(!QFileInfo::exists(data.tmp.filePath("units/gone.mum")));
    }

    // Every reason is Czech, built by IoStatus; none is the system's English text.
    void czechReasons() {
        QTemporaryDir tmp;
        QVERIFY(QDir().mkpath(tmp.filePath("units/1_1.mum")));
        const DataDir dir(tmp.path());
        QStringList messages = {dir.readLines(QStringLiteral("units\\1_1.mum")).status.message(),
                                dir.rewrite(QStringLiteral("units\\1_1.mum"), {"a*b*"}).message(),
                                dir.appendLine(QStringLiteral("units\\1_1.mum"), "a*b*").message(),
                                dir.readLines(QStringLiteral("units\\1_7.mum")).status.message(),
                                dir.rewrite(QStringLiteral("lessons\\1_7.mum"), {"a*b*"}).message(),
                                dir.appendLine(QStringLiteral("lessons\\1_7.mum"), "a*b*").message()};
        QVERIFY(messages.at(0).contains(QStringLiteral("je to složka, ne soubor")));
        QVERIFY(messages.at(1).contains(QStringLiteral("je to složka, ne soubor")));
        QVERIFY(messages.at(3).contains(QStringLiteral("soubor nebo složka neexistuje")));
        QVERIFY(messages.at(4).contains(QStringLiteral("neexistuje")) &&
                messages.at(4).contains(QStringLiteral("Soubor nebyl vytvořen.")));
        for (int e : {ENOENT, EACCES, EISDIR, ENOSPC, EFBIG, EROFS, EIO, 0, 12345}) {
            for (int kind = QFileDevice::NoError; kind <= QFileDevice::CopyError; ++kind) {
                const QString reason = IoStatus::czechReason(static_cast<QFileDevice::FileError>(kind), e);
                QVERIFY(!reason.isEmpty());
                messages.append(reason);
            }
        }
        for (const QString& message : std::as_const(messages)) {
            QVERIFY(!message.isEmpty());
            for (const char* english : {"directory", "No such", "denied", "error", "file", "space"})
                QVERIFY2(!message.contains(QLatin1String(english), Qt::CaseInsensitive), qPrintable(message));
        }
    }

    // A file keeps its encoding; one that must take a character Windows-1250 cannot hold is converted
    // whole to UTF-8 first, and the user is told once.
    void fileKeepsItsEncoding_data() {
        QTest::addColumn<bool>("append");
        QTest::addColumn<QByteArray>("before"); // empty: no file
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("notice");
        const QByteArray bom("\xef\xbb\xbf");
        const QByteArray cp1250("die K\xe4lte*zima*\r\nder B\xe4r*medv\xec"
                                "d*\r\n");
        const QByteArray utf8 = QStringLiteral("die Kälte*zima*\r\nder Bär*medvěd*\r\n").toUtf8();
        const QString niños = QStringLiteral("Niños*děti*");
        const QString moskva = QStringLiteral("Moskau*Москва*");
        QTest::newRow("append, Windows-1250") << true << cp1250 << QStringLiteral("Übung*cvičení*")
                                              << cp1250 + "\xdc"
                                                          "bung*cvi\xe8"
                                                          "en\xed*\r\n"
                                              << false;
        QTest::newRow("append, UTF-8 stays UTF-8") << true << utf8 << QStringLiteral("Übung*cvičení*")
                                                   << utf8 + QStringLiteral("Übung*cvičení*\r\n").toUtf8() << false;
        QTest::newRow("append, UTF-8 with mark")
            << true << bom + utf8 << niños << bom + utf8 + (niños + "\r\n").toUtf8() << false;
        QTest::newRow("append, converted") << true << cp1250 << niños << bom + utf8 + (niños + "\r\n").toUtf8() << true;
        QTest::newRow("append, converted, no CR LF")
            << true << cp1250.chopped(2) << niños << bom + utf8 + (niños + "\r\n").toUtf8() << true;
        QTest::newRow("append, new file") << true << QByteArray() << moskva << bom + (moskva + "\r\n").toUtf8() << true;
        QTest::newRow("append, new file, Windows-1250")
            << true << QByteArray() << QStringLiteral("Kälte*zima*") << QByteArray("K\xe4lte*zima*\r\n") << false;
        QTest::newRow("rewrite, Windows-1250") << false << cp1250 << QStringLiteral("Übung*cvičení*")
                                               << QByteArray("\xdc"
                                                             "bung*cvi\xe8"
                                                             "en\xed*\r\n")
                                               << false;
        QTest::newRow("rewrite, converted") << false << cp1250 << moskva << bom + (moskva + "\r\n").toUtf8() << true;
        QTest::newRow("rewrite, new file")
            << false << QByteArray() << moskva << bom + (moskva + "\r\n").toUtf8() << true;
        // Windows-1250 bytes that would read back as UTF-8 ("ÄŤ" is "č"): written so that they cannot.
        QTest::newRow("rewrite, would read as UTF-8")
            << false << cp1250 << QStringLiteral("ÄŤas*x*") << bom + QStringLiteral("ÄŤas*x*\r\n").toUtf8() << true;
        QStringEncoder le(QStringConverter::Utf16LE);
        QTest::newRow("append, UTF-16") << true << "\xff\xfe" + QByteArray(le.encode(u"a*b*\r\n")) << moskva
                                        << "\xff\xfe" +
                                               QByteArray(le.encode(QStringLiteral("a*b*\r\n") + moskva + "\r\n"))
                                        << false;
        // A text that starts with U+FEFF (a zero-width no-break space) keeps it after the file's own mark.
        const QString zwnbsp = QStringLiteral("\uFEFFa*b*");
        QTest::newRow("rewrite, converted, U+FEFF first")
            << false << cp1250 << zwnbsp << bom + (zwnbsp + "\r\n").toUtf8() << true;
        QTest::newRow("rewrite, UTF-16, U+FEFF first")
            << false << "\xff\xfe" + QByteArray(le.encode(u"a*b*\r\n")) << zwnbsp
            << "\xff\xfe" + QByteArray(le.encode(zwnbsp + "\r\n")) << false;
    }
    void fileKeepsItsEncoding() {
        QFETCH(bool, append);
        QFETCH(QByteArray, before);
        QFETCH(QString, line);
        QFETCH(QByteArray, after);
        QFETCH(bool, notice);
        const LessonFile lesson(before);
        const auto& [tmp, path, sysPath, dir, ok] = lesson;
        QVERIFY(ok);
        const QStringList oldLines = dir.readLines(sysPath).lines;
        const IoStatus status = append ? dir.appendLine(sysPath, line) : dir.rewrite(sysPath, {line});
        QVERIFY2(status.ok(), qPrintable(status.message()));
        QCOMPARE(readBytes(path), after);
        QVERIFY(!readBytes(path).contains('?'));
        QCOMPARE(dir.readLines(sysPath).lines, append ? oldLines + QStringList{line} : QStringList{line});
        QCOMPARE(!status.notice().isEmpty(), notice);
        if (notice) {
            QVERIFY2(status.notice().contains(QDir::toNativeSeparators(path)) &&
                         status.notice().contains(QStringLiteral("UTF-8")) &&
                         status.notice().contains(QStringLiteral("Starší programy")),
                     qPrintable(status.notice()));
            // Told once: the file is UTF-8 now.
            const IoStatus again = append ? dir.appendLine(sysPath, line) : dir.rewrite(sysPath, {line, line});
            QVERIFY(again.ok() && again.notice().isEmpty());
            QVERIFY(readBytes(path).startsWith("\xef\xbb\xbf"));
        }
        // No temporary file is left behind.
        QCOMPARE(QDir(tmp.filePath("units")).entryList(QDir::Files | QDir::Hidden), QStringList{"1_1.mum"});
    }

    // Temporary files of interrupted saves are removed once stale; nothing else is.
    void staleTempFiles() {
        QTemporaryDir tmp;
        const QStringList stale = {"me.cfg.GyqEae",
                                   "Try.cfg.AbCdEf",
                                   "try.cfg.QWERTY",
                                   "Zkouseni.txt.xYzAbC",
                                   "books/3.mum.QwErTy",
                                   "units/2_1T.mum.aBcDeF",
                                   "units/2_1.mum.ZzZzZz",
                                   "units/2_1t.mum.abc123",
                                   "units/1_renumber.txt.Q1w2E3",
                                   "books/delete_textbook.txt.Xy12Zz"};
        const QStringList kept = {"me.cfg",
                                  "Try.cfg",
                                  "Zkouseni.txt",
                                  "books/3.mum",
                                  "units/2_1.mum",
                                  "notes.txt.AbCdEf",     // not a name of ours
                                  "books/3.mum.backup1",  // seven characters
                                  "books/abc.mum.QwErTy", // no textbook number
                                  "units/2_1.mum.Ab-dEf",
                                  "units/x2_1.mum.AbCdEf",
                                  "me.cfg.AbCdE"};
        const QStringList fresh = {"me.cfg.FrEsHh", "units/2_2.mum.NeWwWw"}; // a save may be under way
        const QDateTime now = QDateTime::currentDateTime();
        for (const QString& name : stale + kept + fresh) {
            QVERIFY(writeBytes(tmp.filePath(name), "x"));
            QFile file(tmp.filePath(name));
            const QDateTime changed = now.addSecs(fresh.contains(name) ? -60 : -3600);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(changed, QFileDevice::FileModificationTime));
        }
        QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("me.cfg.FoLdEr"))); // a folder: left alone
        const DataDir dir(tmp.path());
        QCOMPARE(dir.removeStaleTempFiles(), stale.size());
        for (const QString& name : stale)
            QVERIFY2(!QFileInfo::exists(tmp.filePath(name)), qPrintable(name));
        for (const QString& name : kept + fresh)
            QVERIFY2(QFileInfo::exists(tmp.filePath(name)), qPrintable(name));
        QVERIFY(QFileInfo(tmp.filePath("me.cfg.FoLdEr")).isDir());
        QCOMPARE(dir.removeStaleTempFiles(std::chrono::seconds(30)), fresh.size());
        QCOMPARE(DataDir(tmp.filePath("nowhere")).removeStaleTempFiles(), 0); // no folders at all
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

    void caseBlindLookUp() {
        const Data data({{"books/1.mum", ""}, {"units/2_1.mum", "x"}, {"units/2_1.MUM", "x"}});
        QVERIFY(data.ok);
        const DataDir& dir = data.dir;
        const QString root = dir.root() + u'/';
        QCOMPARE(dir.resolve(QStringLiteral("Books\\1.MUM")), root + "books/1.mum");
        QCOMPARE(dir.resolve(QStringLiteral("UNITS\\2_1.mum")), root + "units/2_1.mum"); // the exact match wins
        QCOMPARE(dir.resolve(QStringLiteral("units\\2_1.MUM")), root + "units/2_1.MUM");
        QCOMPARE(dir.resolve(QStringLiteral("Books\\7.Mum")), root + "books/7.Mum"); // kept as given
        QVERIFY(dir.fileExists(QStringLiteral("BOOKS\\1.Mum")));
        QVERIFY(!dir.fileExists(QStringLiteral("books\\2.mum")));
        QVERIFY(!dir.fileExists(QStringLiteral("Units")));
    }

    void listings() {
        const Data data({{"books/12.mum", "N\xecm\xe8ina\r\n"},
                         {"books/2.mum", "Angli\xe8tina\r\n"},
                         {"books/5.mum", ""},             // listed by its file name
                         {"books/6.mum", "   \r\nx\r\n"}, // a blank line 1: the same
                         {"books/notes.txt", "x\r\n"},
                         {"units/1_2T.mum", "Dva\r\n"},
                         {"units/1_10t.mum", "Deset\r\n"},
                         {"units/1_2.mum", "a*b*\r\n"},
                         {"units/12_1T.mum", "Jin\xe1\r\n"}});
        QVERIFY(data.ok);
        const DataDir& dir = data.dir;
        const FileListing books = dir.listTextbooks();
        QCOMPARE(books.fileNames, (QStringList{"2.mum", "5.mum", "6.mum", "12.mum"}));
        QCOMPARE(books.names, (QStringList{"Angličtina", "5.mum", "6.mum", "Němčina"}));
        const FileListing lessons = dir.listLessons(QStringLiteral("1"));
        QCOMPARE(lessons.fileNames, (QStringList{"1_2T.mum", "1_10t.mum"}));
        QCOMPARE(lessons.names, (QStringList{"Dva", "Deset"}));
        QVERIFY(DataDir(data.tmp.filePath("units")).listTextbooks().fileNames.isEmpty()); // no books folder there
        QCOMPARE(textbookNumber(QStringLiteral("12.mum")), 12);
        QCOMPARE(lessonNumber(QStringLiteral("12_7t.mum"), QStringLiteral("12")), 7);
    }

    // The bundled files and the fixtures are Windows-1250 with CR LF (their text in UTF-8 reads as UTF-8);
    // every demo textbook has lessons, each of pairs with two sides.
    void demoData() {
        for (const QString& root : {QStringLiteral(MEMORAN_DEMO_DATA), QStringLiteral(MEMORAN_TEST_DATA)}) {
            QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
            QVERIFY(it.hasNext());
            while (it.hasNext()) {
                const QString path = it.next();
                const QByteArray bytes = readBytes(path);
                const auto crLf = bytes.count("\r\n");
                QVERIFY2(TextCodec::detect(bytes) == TextEncoding::Windows1250 && bytes.endsWith("\r\n") &&
                             bytes.count('\n') == crLf && bytes.count('\r') == crLf,
                         qPrintable(path));
                const QString text = Cp1250::decode(bytes);
                QVERIFY2(text.toUtf8() == bytes || TextCodec::detect(text.toUtf8()) == TextEncoding::Utf8,
                         qPrintable(path));
            }
        }
        const DataDir dir(QStringLiteral(MEMORAN_DEMO_DATA));
        const FileListing books = dir.listTextbooks();
        QVERIFY(books.fileNames.size() >= 3);
        for (const QString& book : books.fileNames) {
            const FileListing lessons = dir.listLessons(book.chopped(4));
            QVERIFY2(!lessons.fileNames.isEmpty() && !lessons.names.contains(QString()), qPrintable(book));
            for (const QString& title : lessons.fileNames) {
                const FileLines pairs = dir.readLines("units\\" + title.chopped(5) + ".mum");
                QVERIFY2(pairs.status.ok() && !pairs.lines.isEmpty(), qPrintable(title));
                for (const QString& line : pairs.lines)
                    QVERIFY2(!::pairField(line, 1).isEmpty() && !::pairField(line, 2).isEmpty(), qPrintable(line));
            }
        }
    }

    // Permissions, as a user they stop: a folder that takes no change is named as the cause; a
    // read-only file in a writable folder is the file's own fault.
    void readOnlyFolderIsNamed() {
        RUN_AS_ORDINARY_USER();
        QTemporaryDir tmp;
        const QString units = tmp.filePath(u"units"_s);
        QVERIFY(QDir().mkdir(units) && writeBytes(units + u"/1_1.mum"_s, "a*b*\r\n"));
        const DataDir dir(tmp.path());
        const auto rx = QFile::ReadOwner | QFile::ExeOwner;
        QVERIFY(QFile::setPermissions(units, rx));
        const QString folder = u"do složky „%1“ nelze zapisovat (přístup byl odepřen)"_s.arg(units);
        QVERIFY2(dir.rewrite(u"units\\1_1.mum"_s, {u"c*d*"_s}).message().contains(folder), qPrintable(folder));
        QVERIFY(dir.remove(u"units\\1_1.mum"_s)
                    .message()
                    .startsWith(u"Soubor „%1/1_1.mum“ se nepodařilo odstranit: %2"_s.arg(units, folder)));
        QVERIFY(QFile::setPermissions(units, rx | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(units + u"/1_1.mum"_s, QFile::ReadOwner));
        QCOMPARE(
            dir.appendLine(u"units\\1_1.mum"_s, u"c*d*"_s).message(),
            u"Soubor „%1/1_1.mum“ se nepodařilo uložit: přístup byl odepřen.\nPředchozí obsah souboru zůstal beze změny."_s
                .arg(units));
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
