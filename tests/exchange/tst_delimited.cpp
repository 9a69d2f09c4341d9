// SPDX-License-Identifier: GPL-3.0-or-later
// CSV, TSV and flash-card text: tables read in each encoding and with each separator, the chosen columns
// as lessons, the headers and HTML of flash cards, round trips through the writers, and files no table
// comes from.
#include "Files.h"

#include "exchange/Delimited.h"
#include "exchange/FlashCards.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Exchange;

namespace {

// A book as "Lesson: foreign=czech@row, …; Lesson: …", alternatives joined by "+".
QString bookText(const ImportedBook& book) {
    QStringList lessons;
    for (const ImportedLesson& lesson : book.lessons) {
        QStringList pairs;
        for (const ImportedPair& pair : lesson.pairs)
            pairs << pair.foreign.join(u'+') + u'=' + pair.czech.join(u'+') + u'@' + pair.source.section(u' ', 1);
        lessons << lesson.title + u": "_s + pairs.join(u", "_s);
    }
    return lessons.join(u"; "_s);
}

// An imported book as the writers take it.
ExportedBook exported(const ImportedBook& book) {
    ExportedBook result{book.title, {}};
    for (const ImportedLesson& lesson : book.lessons) {
        result.lessons.append({lesson.title, {}});
        for (const ImportedPair& pair : lesson.pairs)
            result.lessons.last().pairLines << pair.foreign.join(u'+') + u'*' + pair.czech.join(u'+') + u'*';
    }
    return result;
}

} // namespace

class TestDelimited : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString file(const QByteArray& bytes) {
        const QString path = m_dir.filePath(u"file.txt"_s);
        return writeBytes(path, bytes) ? path : QString();
    }

private Q_SLOTS:
    // A table as "separator [header] / row / row…", or the reason it was refused; both readers refuse alike.
    void readsTables_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("table");
        QTest::newRow("; UTF-8 with its mark, our header")
            << "\xEF\xBB\xBFLekce;Cizí výraz;Český výraz\r\n1;Hund;pes\r\n"_ba
            << u"; header / Lekce|Cizí výraz|Český výraz / 1|Hund|pes"_s;
        QTest::newRow(", Windows-1250") << cp1250Lines(u"Hund,pes|Katze,kočka"_s) << u", / Hund|pes / Katze|kočka"_s;
        QTest::newRow("tab, UTF-16 with its mark, a header")
            << "\xFF\xFE"_ba + QStringEncoder(QStringConverter::Utf16LE).encode(u"Front\tBack\nHund\tpes\n"_s)
            << u"\t header / Front|Back / Hund|pes"_s;
        QTest::newRow("; splits more evenly than commas, UTF-8")
            << "ich, du;já, ty\nwir, ihr;my, vy\n"_ba << u"; / ich, du|já, ty / wir, ihr|my, vy"_s;
        QTest::newRow("quoted fields, an empty line, a last row without its line end")
            << "\"a;b\"; \"say \"\"hi\"\"\"\r\n\"two\r\nlines\";x\"y\r\n\r\nend"_ba
            << u"; / a;b|say \"hi\" / two\nlines|x\"y /  / end"_s;
        QTest::newRow("binary") << "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"_ba << u"není to textový soubor."_s;
        QTest::newRow("binary without zero bytes")
            << "GIF89a\x01\x02\x03\x04\x05\x06\x07\x08\x0E\x0F"_ba << u"není to textový soubor."_s;
        QTest::newRow("UTF-32") << "\xFF\xFE\0\0a\0\0\0"_ba
                                << u"soubor je v kódování UTF-32, které program neumí přečíst."_s;
        QTest::newRow("100,000 columns")
            << "a" + QByteArray(100'000, '\t')
            << u"řádek 1 má víc než 1\u00a0000 sloupců, tak širokou tabulku program nenačte."_s;
        QTest::newRow("600,000 fields")
            << ("a" + QByteArray("\ta").repeated(599) + '\n').repeated(1000)
            << u"tabulka má víc než 500\u00a0000 polí, tak velkou tabulku program nenačte."_s;
        QTest::newRow("over 16 MB") << QByteArray(16 * 1024 * 1024 + 1, 'a')
                                    << u"soubor je větší než 16 MB, tak velký soubor program nenačte."_s;
    }
    void readsTables() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, table);
        const QString path = file(bytes);
        const DelimitedTable read = readDelimited(path);
        QStringList found{QString(read.separator) + (read.headerLikely ? u" header"_s : QString())};
        for (const QStringList& row : read.rows)
            found << row.join(u'|');
        QCOMPARE(read.problem.isEmpty() ? found.join(u" / "_s) : read.problem.section(u": "_s, 1), table);
        QCOMPARE(readFlashCards(path, false, {}).problem, read.problem);
    }

    void importsChosenColumns() {
        DelimitedTable table;
        for (const QString& row :
             u"Lekce;Cizí;Česky|L2;der Hund+ +Köter;pes||L1;Katze| ;Maus;myš|L2;a;b|x"_s.split(u'|'))
            table.rows << row.split(u';');
        QCOMPARE(bookText(importDelimited(table, {1, 2, 0, true}, u"Kniha"_s)),
                 u"L2: der Hund+Köter=pes@2, a=b@6; L1: Katze=@4; Bez lekce: Maus=myš@5; x: =@7"_s);
        // No lesson column, the sides swapped, the first row kept.
        QCOMPARE(bookText(importDelimited(table, {2, 1, -1, false}, u"Kniha"_s)),
                 u"Kniha: Česky=Cizí@1, pes=der Hund+Köter@2, =Katze@4, myš=Maus@5, b=a@6, =@7"_s);
    }

    // The book as bookText() gives it, then " | " and each kind left out with its count.
    void readsFlashCards_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("splitCommas");
        QTest::addColumn<QString>("book");
        QTest::newRow("headers, guid, deck, tags, HTML, a sound")
            << u"#separator:Pipe\n#html:true\n#guid column:1\n#deck column:2\n#tags column:5\n# vim: ts=8\n"
               "q1|N::Lekce 1|der <b>Hund</b>[sound:hund.mp3]|pes<br/>psík &amp; &lt;b&gt;|zvíře|navíc\n"_s
            << false << u"Lekce 1: der Hund=pes\npsík & <b>@7 | zvuky 1 | štítky 1 | další pole 1"_s;
        QTest::newRow("a literal separator, entities, an image, commas split")
            << u"#separator:=\n#html:true\n<div>a</div>, b&nbsp;c=&#269;&#x17E;, <IMG alt>&#39;d&#39; &x;"_s << true
            << u"Kniha: \na+b c=čž+'d' &x;@3 | obrázky 1"_s;
        QTest::newRow("tab and no HTML by default, a quoted first side starting with #, an empty deck")
            << u"#deck column:3\n\"#1\"\tjedna\t\n\nKatze, Mieze\tkočka <b>\tN::L\n"_s << false
            << u"Bez lekce: #1=jedna@2; L: Katze, Mieze=kočka <b>@4"_s;
    }
    void readsFlashCards() {
        QFETCH(QString, text);
        QFETCH(bool, splitCommas);
        QFETCH(QString, book);
        const ImportedBook read = readFlashCards(file(text.toUtf8()), splitCommas, u"Kniha"_s);
        QString found = bookText(read);
        for (const Omitted& kind : read.omitted)
            found += u" | "_s + kind.what + u' ' + QString::number(kind.count);
        QCOMPARE(found, book);
    }

    void writesFiles() {
        const ExportedBook book{u"Kniha"_s, {{u"L 1"_s, {u"#a+b*c\"d*"_s, u"x;y*z\tw*"_s}}}};
        QCOMPARE(writeDelimited(book.lessons.first(), u';'),
                 "\xEF\xBB\xBF"
                 "Cizí výraz;Český výraz\r\n#a+b;\"c\"\"d\"\r\n\"x;y\";z\tw\r\n"_ba);
        QCOMPARE(writeDelimited(book, u'\t'),
                 "\xEF\xBB\xBF"
                 "Lekce\tCizí výraz\tČeský výraz\r\nL 1\t#a+b\t\"c\"\"d\"\r\nL 1\tx;y\t\"z\tw\"\r\n"_ba);
        QCOMPARE(writeFlashCards(book), "#separator:tab\r\n#html:false\r\n#deck column:3\r\n"
                                        "\"#a, b\"\t\"c\"\"d\"\tKniha::L 1\r\nx;y\tz w\tKniha::L 1\r\n"_ba);
    }

    // Our textbook written, read back and written again gives the same bytes (a lesson without pairs
    // writes no row: it cannot come back from a table).
    void roundTrips_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("CSV") << 0;
        QTest::newRow("TSV") << 1;
        QTest::newRow("flash cards") << 2;
    }
    void roundTrips() {
        QFETCH(int, format);
        ExportedBook book{
            u"Němčina"_s,
            {{u"Lekce \"1\"; zvířata"_s,
              {u"der Hund*pes*"_s, u"Katze+Mieze*kočka+kočička*"_s, u"\"süß\"; Äpfel,Ó*sladká jablka*"_s}},
             {u"Velká"_s, {}}}};
        for (int i = 0; i < 2000; ++i)
            book.lessons.last().pairLines << u"Wort %1*slovo %1*"_s.arg(i);
        const auto write = [format](const ExportedBook& b) {
            return format == 2 ? writeFlashCards(b) : writeDelimited(b, format ? u'\t' : u';');
        };
        const QString path = file(write(book));
        const ImportedBook back = format == 2 ? readFlashCards(path, true, book.title)
                                              : importDelimited(readDelimited(path), {1, 2, 0, true}, book.title);
        QCOMPARE(write(exported(back)), write(book));
    }
};

QTEST_GUILESS_MAIN(TestDelimited)
#include "tst_delimited.moc"
