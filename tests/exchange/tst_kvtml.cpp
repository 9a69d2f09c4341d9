// SPDX-License-Identifier: GPL-3.0-or-later
// KVTML as KWordQuiz and Parley write it, read leniently; our textbooks written and read back whole;
// hostile files refused with a Czech reason and nothing read.
#include "Files.h"

#include "exchange/Kvtml.h"
#include "store/TextRoutines.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Exchange;
using namespace Qt::StringLiterals;

namespace {

const QString kData = QStringLiteral(MEMORAN_TEST_DATA "/kvtml/");

// "title | lesson: source foreign=czech; … | lesson: …", alternatives joined by "+".
QString shape(const ImportedBook& book) {
    QStringList parts{book.title};
    for (const ImportedLesson& lesson : book.lessons) {
        QStringList pairs;
        for (const ImportedPair& pair : lesson.pairs)
            pairs << pair.source + u' ' + pair.foreign.join(u'+') + u'=' + pair.czech.join(u'+');
        parts << lesson.title + u": "_s + pairs.join(u"; "_s);
    }
    QStringList omitted;
    for (const Omitted& kind : book.omitted)
        omitted << kind.what + u' ' + QString::number(kind.count);
    return parts.join(u" | "_s) + u" || "_s + omitted.join(u", "_s);
}

QString identifiers(const KvtmlHeader& header) {
    QStringList found;
    for (const KvtmlIdentifier& identifier : header.identifiers)
        found << QString::number(identifier.id) + u':' + identifier.name + u':' + identifier.locale;
    return found.join(u' ') + u" foreign %1 czech %2"_s.arg(header.foreign).arg(header.czech);
}

} // namespace

class TestKvtml : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsFilesOfOtherPrograms_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("book");
        QTest::newRow("Parley: nested containers, synonyms, Czech locale")
            << u"parley.kvtml"_s << u"0:Deutsch:de 1:English:en 2:Tschechisch:cs foreign 0 czech 2"_s
            << u"Němčina – první kroky | Pozdravy: položka 0 Hallo+Guten Tag=ahoj+dobrý den; položka 2 danke="
               u"děkuji+díky | Pozdravy / Zdvořilost: položka 5 bitte=prosím | Byt / Nábytek: položka 1 der Tisch="
               u"stůl; položka 3 die Lampe=; položka 5 bitte=prosím | Bez lekce: položka 4 ja=ano || komentáře 1, "
               u"obrázky 1, zvuky 1, známky 1, další překlady 3"_s;
        QTest::newRow("KWordQuiz: containerentry, lessons first, named Čeština")
            << u"kwordquiz.kvtml"_s << u"0:Čeština: 1:Angličtina: foreign 1 czech 0"_s
            << u"Angličtina 6. třída | Unit 1: položka 1 =učitel+učitelka; položka 0 yellow=žlutý | Unit 2:  | "
               u"Bez lekce: položka 2 book=kniha || známky 1"_s;
    }
    void readsFilesOfOtherPrograms() {
        QFETCH(QString, file);
        QFETCH(QString, header);
        QFETCH(QString, book);
        const KvtmlHeader read = readKvtmlHeader(kData + file);
        QCOMPARE(read.problem, QString());
        QCOMPARE(identifiers(read), header);
        QCOMPARE(shape(readKvtml(kData + file, read.foreign, read.czech)), book);
    }

    void formatFromExtension_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format"); // -1: none
        QTest::newRow("kvtml") << u"/a.b/Slova.kvtml"_s << int(Format::Kvtml);
        QTest::newRow("upper case") << u"SLOVA.TSV"_s << int(Format::Tsv);
        QTest::newRow("flash cards") << u"Deck.txt"_s << int(Format::FlashCards);
        QTest::newRow("dot in the folder only") << u"/home/a.csv/slova"_s << -1;
    }
    void formatFromExtension() {
        QFETCH(QString, name);
        QFETCH(int, format);
        Format found = Format::Kvtml;
        QCOMPARE(formatOf(name, &found) ? int(found) : -1, format);
    }

    void roundTripKeepsLessonsAndAlternatives() {
        ExportedBook book{u"Němčina <A&B> – Žluťoučký kůň"_s,
                          {{u"Pozdravy"_s, {u"hallo+guten Tag*ahoj+dobrý den*"_s, u"Straße*ulice*"_s}},
                           {u"Prázdná"_s, {}},
                           {u"Velká"_s, {}},
                           {u"Příliš \"dlouhé\" čtení"_s, {u"a+b+c+d+e+f+g+h+i+j*ř+ů*"_s}}}};
        for (int i = 0; i < 2000; ++i)
            book.lessons[2].pairLines << pairLine(u"Wort %1+Ä"_s.arg(i), u"slovo %1"_s.arg(i));
        const KvtmlLanguages languages{u"Angličtina"_s, u"Čeština"_s, u"en"_s, u"cs_CZ"_s};
        const QByteArray bytes = writeKvtml(book, languages);
        QVERIFY(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") &&
                bytes.contains("<kvtml version=\"2.0\">"));
        QTemporaryDir dir;
        const QString path = dir.filePath(u"kniha.kvtml"_s);
        QVERIFY(writeBytes(path, bytes));

        const KvtmlHeader header = readKvtmlHeader(path);
        QCOMPARE(identifiers(header), u"0:Angličtina:en 1:Čeština:cs_CZ foreign 0 czech 1"_s);
        const ImportedBook read = readKvtml(path, 0, 1);
        QCOMPARE(read.title, book.title);
        QVERIFY(read.omitted.isEmpty());
        QCOMPARE(read.lessons.size(), book.lessons.size());
        for (qsizetype l = 0; l < book.lessons.size(); ++l) {
            QStringList lines;
            for (const ImportedPair& pair : read.lessons.at(l).pairs)
                lines << pairLine(pair.foreign.join(u'+'), pair.czech.join(u'+'));
            QCOMPARE(read.lessons.at(l).title, book.lessons.at(l).title);
            QCOMPARE(lines, book.lessons.at(l).pairLines);
        }
    }

    void refusesHostileFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [\n <!ENTITY lol1 \"lol\">\n";
        for (int i = 2; i <= 10; ++i)
            bomb += QString(u" <!ENTITY lol%1 \"%2\">\n"_s).arg(i).arg(u"&lol%1;"_s.arg(i - 1).repeated(10)).toUtf8();
        bomb += "]>\n<kvtml version=\"2.0\"><information><title>&lol10;</title></information></kvtml>\n";
        const QByteArray nest = "<kvtml version=\"2.0\"><lessons>" +
                                QByteArray("<container><name>Kapitola</name>").repeated(3000) + "<entry id=\"0\"/>" +
                                QByteArray("</container>").repeated(3000) + "</lessons></kvtml>";
        QTest::newRow("malformed") << QByteArray("<kvtml version=\"2.0\">\n<entries>\n<entry id=\"0\">\n</entries>")
                                   << u"chyba v zápisu XML na řádku 4"_s;
        QTest::newRow("billion laughs") << bomb << u"chyba v zápisu XML na řádku 14"_s;
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18)
                                << u"chyba v zápisu XML na řádku 1"_s;
        QTest::newRow("other XML") << QByteArray("<html><body/></html>") << u"není ve formátu KVTML"_s;
        QTest::newRow("version 1") << QByteArray("<kvtml version=\"1.0\"><e><o>a</o></e></kvtml>")
                                   << u"ve starém formátu KVTML 1.0"_s;
        QTest::newRow("deep nest") << nest << u"vnořené tak hluboko"_s;
    }
    void refusesHostileFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"zlý.kvtml"_s);
        QVERIFY(writeBytes(path, bytes));
        const ImportedBook book = readKvtml(path, 0, 1);
        QVERIFY2(book.problem.contains(problem) && book.problem.contains(u"zlý.kvtml"_s), qPrintable(book.problem));
        QVERIFY(book.lessons.isEmpty() && book.title.isEmpty());
        QVERIFY(!readKvtmlHeader(path).problem.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestKvtml)
#include "tst_kvtml.moc"
