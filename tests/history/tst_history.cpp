// SPDX-License-Identifier: GPL-3.0-or-later
// The review history through the windows: how each answer of a test rates, where a pair is found after
// its lessons changed, a database that cannot be used, and a review from the main menu to the log.
#include "AsUser.h"
#include "Program.h"

#include "history/ReviewHistory.h"
#include "review/ReviewPage.h"
#include "statistics/StatisticsWindow.h"
#include "store/Cp1250.h"
#include "store/UserTextbook.h"
#include "store/Vocabulary.h"
#include "ui/HintWindow.h"

#include <QChart>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTreeWidget>
#include <QXYSeries>

using namespace Qt::StringLiterals;

namespace {

const QString kFiles = u"books/1.mum=Uživatelská učebnice;books/2.mum=Němčina;units/2_1T.mum=Rodina;"
                       u"units/2_1.mum=der Vater*otec+táta*|die Mutter*matka*;units/2_4T.mum=Jedna;"
                       u"units/2_4.mum=die Straße*ulice*|a*1*|b*2*|c*3*|d*4*|e*5*|rot*červená*;units/1_1t.mum=Slovesa;"
                       u"units/1_1.mum=gehen*jít*;units/1_2t.mum=Barvy;units/1_2.mum=rot*červená*"_s;

// Rows of a table of the history, fields joined by blanks, rows by "|"; NULL as "-".
QString rows(const QString& root, const QString& sql) {
    QStringList found;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"check"_s);
        db.setDatabaseName(root + u"/memoran.sqlite"_s);
        QSqlQuery query(db);
        if (db.open() && query.exec(sql)) {
            while (query.next()) {
                QStringList fields;
                for (int i = 0; i < query.record().count(); ++i)
                    fields << (query.isNull(i) ? u"-"_s : query.value(i).toString());
                found << fields.join(u' ');
            }
        }
    }
    QSqlDatabase::removeDatabase(u"check"_s);
    return found.join(u'|');
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
    std::unique_ptr<Program> f;

    QString history(const QString& sql) const { return rows(f->dir.path(), sql); }
    // A test of one lesson of "Němčina" (or another textbook), each pair asked once unless missed.
    void startTest(const QString& lesson, const QString& options = {}, const QString& textbook = u"Němčina"_s) {
        QVERIFY(f->run(u"@1 F2ImgTry F2TxtSl=1 F2TxtChyb=1 F2TxtMax=2 %1 F2Cmbbx(0)=%2 F2Cmbbx(1)=%3 Ano F2CmdOk"_s.arg(
            options, QString(textbook).replace(u' ', u'_'), lesson)));
        QCOMPARE(f->page(), 5);
    }
    void answer(const QString& typed) { QVERIFY(f->run(u"F5TxtJaz2=%1 F5CmdOK"_s.arg(typed))); }
    void openReview() {
        QVERIFY(f->run(u"@1 F2ImgOpak"_s));
        QCOMPARE(f->page(), 10);
        QTRY_VERIFY(!f->w.reviewPage()->isLoading());
    }
    QString reviewTable() const {
        QStringList lines;
        const auto* table = f->at<QTreeWidget>(u"OpLstUcebnice"_s);
        for (int i = 0; i < table->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = table->topLevelItem(i);
            lines << u"%1 %2 %3"_s.arg(item->text(0), item->text(1), item->text(2));
        }
        return lines.join(u'|');
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Program>();
        QVERIFY(writeFiles(f->dir.path(), kFiles));
        HintWindow::setShowHook([](HintWindow& window) { click(&window, u"CmdOK"_s); });
        f->start();
    }
    void cleanup() {
        HintWindow::setShowHook({});
        f.reset();
    }

    // "die Straße" asked from "ulice": how each way of answering rates, and that a second
    // answer the same day is kept without a second review.
    void answersRate_data() {
        QTest::addColumn<QString>("options"); // on the setup page
        QTest::addColumn<QString>("steps");   // on the test page
        QTest::addColumn<QString>("answers"); // way, hint and rating of each answer, in order
        QTest::newRow("first try: Good") << u""_s << u"F5TxtJaz2=die_Straße F5CmdOK"_s << u"0 - 3"_s;
        QTest::newRow("first letter: Hard")
            << u""_s << u"F5TxtJaz2:Ctrl+Y F5TxtJaz2=die_Straße F5CmdOK"_s << u"1 0 2"_s;
        QTest::newRow("word length: Hard") << u""_s << u"F2CmdDelkSlov F5TxtJaz2=die_Straße F5CmdOK"_s << u"1 1 2"_s;
        QTest::newRow("five options: Hard")
            << u""_s << u"F2CmdPetMoznosti F5TxtJaz2=die_Straße F5CmdOK"_s << u"1 2 2"_s;
        QTest::newRow("half answer: Hard") << u"F2OptUZ(1) ChckPol"_s << u"F5TxtJaz2=Straße F5CmdOK"_s << u"2 - 2"_s;
        QTest::newRow("quick answer: Again") << u""_s << u"F5CmdOK"_s << u"3 - 1"_s;
        QTest::newRow("wrong, then right twice: Again once")
            << u""_s << u"F5TxtJaz2=Strasse F5CmdOK F5TxtJaz2=die_Straße F5CmdOK F5TxtJaz2=die_Straße F5CmdOK"_s
            << u"4 - 1|0 - -|0 - -"_s;
    }
    void answersRate() {
        QFETCH(QString, options);
        QFETCH(QString, steps);
        // "die Straße" until it is done, then other pairs (the five options too).
        f->random.values = {0.0, 0.0, 0.0, 0.2, 0.35, 0.5, 0.7, 0.9, 0.1, 0.3, 0.55, 0.75, 0.95};
        startTest(u"Jedna"_s, options);
        f->w.showQuickClickWindow();
        QVERIFY(f->run(steps));
        QTEST(history(u"SELECT way, hint, rating FROM answers ORDER BY id"_s), "answers");
        QCOMPARE(
            history(
                u"SELECT substr(at, 1, 19), day, foreign_side, czech_side, direction, caption FROM answers LIMIT 1"_s),
            u"2026-03-14T09:05:07 2026-03-14 die Straße ulice 1 Němčina - Jedna"_s);
        QCOMPARE(history(u"SELECT reviews, last_day FROM cards"_s), u"1 2026-03-14"_s);
    }

    // A pair is its two sides: renaming its textbook and renumbering the user textbook's lessons
    // keeps its history, and the review page names where it is now ("rot" in the first of its lessons).
    void historyFollowsThePair() {
        f->random.values = {0.0, 0.2};
        startTest(u"Jedna"_s);
        answer(u"die_Straße"_s);
        startTest(u"Barvy"_s, {}, u"Uživatelská učebnice"_s);
        answer(u"rot"_s);
        QVERIFY(Vocabulary::renameTextbook(f->dataDir, u"2.mum"_s, u"Deutsch"_s).ok());
        QVERIFY(UserTextbook::deleteLesson(f->dataDir, 1).ok()); // "Barvy" becomes lesson 1
        f->clock.time = f->clock.time.addDays(5);
        openReview();
        QCOMPARE(reviewTable(), u"Uživatelská učebnice 1 0|Deutsch 1 0"_s);
        f->random.values = {0.6, 0.0};
        QVERIFY(f->run(u"OpCmdZacit"_s));
        QTRY_COMPARE(f->page(), 5);
        while (f->page() == 5)
            answer(f->state.test.expectedAlternatives().first().replace(u' ', u'_'));
        QCOMPARE(history(u"SELECT foreign_side, reviews, last_day FROM cards ORDER BY foreign_side"_s),
                 u"die Straße 2 2026-03-19|rot 2 2026-03-19"_s);
    }

    // A review from the main menu: the most overdue pairs first, at most as many as set, each asked the
    // way it is due, logged as "Opakování"; the test's own saved settings are left alone.
    void reviewFromTheMenu() {
        openReview();
        QCOMPARE(f->at<QLabel>(u"OpLblDnes"_s)->text(), u"0 dvojic"_s);
        QVERIFY(!f->at(u"OpCmdZacit"_s)->isEnabled());
        ReviewHistory seeded(f->dir.path());
        const auto record = [&](const QString& foreign, const QString& czech, TestEngine::Direction direction,
                                Verdict::Way way) {
            QVERIFY(seeded.record({{foreign, czech}, direction, {way, {}}, u"Němčina - Rodina"_s}, f->clock.time));
        };
        record(u"der Vater"_s, u"otec+táta"_s, TestEngine::Direction::ForeignShown, Verdict::Way::FirstTry); // 3 days
        record(u"die Mutter"_s, u"matka"_s, TestEngine::Direction::CzechShown, Verdict::Way::Wrong);         // 1 day
        record(u"gone"_s, u"pryč"_s, TestEngine::Direction::CzechShown, Verdict::Way::Wrong);
        f->clock.time = f->clock.time.addDays(3);
        QVERIFY(f->run(u"OpCmdZpet"_s));
        openReview();
        QCOMPARE(f->at<QLabel>(u"OpLblDnes"_s)->text(), u"3 dvojice"_s);
        QCOMPARE(reviewTable(), u"Němčina 2 0|(v žádné lekci) 1 0"_s);
        QCOMPARE(QApplication::focusWidget(), f->at(u"OpCmdZacit"_s));
        QVERIFY(f->run(u"OpTxtPocet:Ctrl+A OpTxtPocet:1 OpTxtPocet:Tab OpCmdZacit"_s));
        QTRY_COMPARE(f->page(), 5);
        QCOMPARE(f->at<QLineEdit>(u"F5TxtJaz1"_s)->text(), u"matka"_s);
        answer(u"die_Mutter"_s);
        QCOMPARE(f->page(), 6);
        const QString logged = u"17.3.2026   9:05:07   Název:Opakování   Úspěšnost: 100%   Slovíček:1   Správně:1   "
                               "Špatně:0"_s;
        QCOMPARE(f->bytes(u"Zkouseni.txt"_s), Cp1250::encode(logged) + "\r\n");
        QVERIFY(!f->dataDir.fileExists(u"Try.cfg"_s));
        // Then "der Vater", asked from its foreign side; the count set stays.
        QVERIFY(f->run(u"F6Cmd1"_s));
        openReview();
        QVERIFY(f->run(u"OpCmdZacit"_s));
        QTRY_COMPARE(f->page(), 5);
        QCOMPARE(f->at<QLineEdit>(u"F5TxtJaz1"_s)->text(), u"der Vater"_s);
        QCOMPARE(f->at<QSpinBox>(u"OpTxtPocet"_s)->value(), 1);
    }

    // The statistics from the review page: the log's rate with its unreadable line counted, the
    // hardest pairs and a test of them logged as such, the chart's data as CSV, the size kept.
    void statisticsWindow() {
        QVERIFY(writeFiles(f->dir.path(),
                           u"Zkouseni.txt=12.3.2026   9:05:07   Název:Němčina - Rodina   Úspěšnost: 50%   "
                           u"Slovíček:2   Správně:2   Špatně:2|rozbitý řádek|13. 3. 2026   10:00:00   "
                           u"Název:Opakování   Úspěšnost: 100%   Slovíček:1   Správně:1   Špatně:0"_s));
        ReviewHistory seeded(f->dir.path());
        for (int day : {0, 1})
            QVERIFY(seeded.record({{u"die Mutter"_s, u"matka"_s},
                                   TestEngine::Direction::CzechShown,
                                   {Verdict::Way::Wrong, {}},
                                   u"Němčina - Rodina"_s},
                                  f->clock.time.addDays(day - 2)));
        openReview();
        QVERIFY(f->run(u"OpCmdStatistika"_s));
        StatisticsWindow* window = f->w.statistics();
        QVERIFY(window && window->isVisible());
        QTRY_VERIFY(!window->isLoading());
        QCOMPARE(control<QLabel>(window, u"StLblStav"_s)->text(),
                 u"1 řádek souboru Zkouseni.txt se nepodařilo přečíst."_s);
        QStringList points;
        for (QAbstractSeries* series : window->chart()->series())
            points << u"%1 %2"_s.arg(series->name()).arg(static_cast<QXYSeries*>(series)->count());
        QCOMPARE(points, (QStringList{u"Zkoušení 1"_s, u"Opakování 1"_s}));
        StatisticsWindow::setSaveFileHook([this](QWidget*) { return f->dir.filePath(u"graf.csv"_s); });
        QVERIFY(f->run(u"StCmdUlozit"_s));
        StatisticsWindow::setSaveFileHook({});
        QVERIFY(f->bytes(u"graf.csv"_s)
                    .startsWith("\xef\xbb\xbf"
                                "Den;Zkoušení (%);Opakování (%)\r\n12. 3. 2026;50;\r\n"));
        QVERIFY(f->run(u"StLstGrafy=Nejtěžší_dvojice"_s));
        QCOMPARE(control<QTreeWidget>(window, u"StTabNejtezsi"_s)->topLevelItem(0)->text(0), u"die Mutter"_s);
        window->resize(1000, 700);
        QVERIFY(f->run(u"StCmdProcvicit"_s));
        QVERIFY(!window->isVisible());
        QCOMPARE(history(u"SELECT value FROM settings WHERE key = 'statistics_size'"_s), u"1000x700"_s);
        QCOMPARE(f->page(), 5);
        window->show(); // asked again while that test runs: "Ne" keeps it
        QVERIFY(f->run(u"StCmdProcvicit"_s));
        QCOMPARE(f->messages.texts().last(), u"Opravdu chcete ukončit lekci?"_s);
        answer(u"die_Mutter"_s);
        QVERIFY(
            f->bytes(u"Zkouseni.txt"_s).contains(Cp1250::encode(u"Název:Opakování - nejtěžší   Úspěšnost: 100%"_s)));
    }

    // A history that cannot be used stops no test: the test ends with its log record, the user hears
    // of it once, and the database file is left as it was.
    void unusableHistory_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("corrupt") << QByteArray(4096, 'x') << u"poškozený"_s;
        QTest::newRow("locked") << QByteArray("lock") << u"jiný program"_s;
        QTest::newRow("read-only") << QByteArray("read-only") << u"jen pro čtení"_s;
    }
    void unusableHistory() {
        QFETCH(QByteArray, content);
        if (content == "read-only")
            RUN_AS_ORDINARY_USER();
        const QString path = f->dir.filePath(u"memoran.sqlite"_s);
        QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other"_s);
        if (content.size() > 1000) {
            QVERIFY(writeFiles(f->dir.path(), u"memoran.sqlite="_s + QString::fromLatin1(content)));
        } else {
            QVERIFY(ReviewHistory(f->dir.path()).settings().maxPairs == 50); // made, and brought to the schema
            other.setDatabaseName(path);
            QVERIFY(other.open() && (content == "lock" ? QSqlQuery(other).exec(u"BEGIN EXCLUSIVE"_s)
                                                       : QFile::setPermissions(path, QFile::ReadOwner)));
        }
        const QByteArray before = f->bytes(u"memoran.sqlite"_s);
        f->random.values = {0.0, 0.6};
        startTest(u"Rodina"_s);
        for (int i = 0; i < 2; ++i)
            answer(f->state.test.expectedAlternatives().first().replace(u' ', u'_'));
        QCOMPARE(f->page(), 6);
        QVERIFY(f->bytes(u"Zkouseni.txt"_s).contains("Rodina"));
        const QStringList told = f->messages.texts().filter(u"memoran.sqlite"_s);
        QCOMPARE(told.size(), 1);
        QFETCH(QString, reason);
        QVERIFY2(told.first().contains(reason), qPrintable(told.first()));
        QCOMPARE(f->bytes(u"memoran.sqlite"_s), before);
        other.close();
        other = {};
        QSqlDatabase::removeDatabase(u"other"_s);
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
