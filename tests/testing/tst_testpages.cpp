// SPDX-License-Identifier: GPL-3.0-or-later
// The pages of a test, driven through the controls' names: what they show and where each key and
// button leads. The judging, counts and draws themselves are the session's (tests/core).
#include "ModalBoxes.h"
#include "Program.h"

#include "hints/QuickClickWindow.h"
#include "store/Cp1250.h"
#include "testing/TestPage.h"
#include "ui/AnswerBox.h"
#include "ui/HintWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>

using namespace Qt::StringLiterals;
using Answer = MessageBox::Answer;

class TestRoad : public QObject {
    Q_OBJECT
    std::unique_ptr<Program> f;
    QStringList m_feedback; // heading: text of each feedback window, answered with OK

    // The texts of the named controls (boxes or labels), joined by "/".
    QString texts(const QString& names) const {
        QStringList result;
        for (const QString& name : names.split(u' ')) {
            auto* box = qobject_cast<QLineEdit*>(f->at(name));
            result.append(box ? box->text() : f->at<QLabel>(name)->text());
        }
        return result.join(u'/');
    }
    QString file(const QString& name) const { return f->dir.filePath(name); }
    QString lastMessage() const { return f->messages.shown.isEmpty() ? QString() : f->messages.shown.last().text; }
    QuickClickWindow* quickClick() const {
        f->w.showQuickClickWindow();
        return f->w.quickClick();
    }
    AnswerBox* answerBox() const { return f->w.testPages().test->answerBox(); }
    // Starts a test of all pairs of a lesson of "Němčina" (or, answered No, picks them); draws scripted.
    void start(const QString& lesson, std::initializer_list<double> draws, const char* all = "Ano") {
        f->random.values.assign(draws);
        QVERIFY(f->run(u"F2Cmbbx(0)=Němčina F2Cmbbx(1)=%1 %2 F2CmdOk"_s.arg(lesson, QLatin1String(all))));
    }
    void answer(QString typed) { QVERIFY(f->run(u"F5TxtJaz2=%1 F5CmdOK"_s.arg(typed.replace(u' ', u'_')))); }
    void answerRight() { answer(f->state.test.expectedAlternatives().first()); }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Program>();
        QVERIFY(writeFiles(f->dir.path(),
                           u"books/1.mum=Uživatelská učebnice;books/2.mum=Němčina;units/2_1T.mum=Rodina;"
                           u"units/2_1.mum=der Vater*otec+táta*|die Mutter*matka*||der Bruder+der Bub*bratr*|"
                           u"die Schwester*sestra*;units/2_2T.mum=Chybí;units/2_3T.mum=Prázdná;units/2_3.mum=;"
                           u"units/2_4T.mum=Jedna;units/2_4.mum=die Straße*ulice*"_s));
        m_feedback.clear();
        HintWindow::setShowHook([this](HintWindow& window) {
            m_feedback.append(window.LblNadpis()->text() + u": "_s + window.LblText()->text());
            click(&window, u"CmdOK"_s);
        });
        f->start();
        QVERIFY(f->run(u"@1 F2ImgTry"_s));
    }
    void cleanup() {
        HintWindow::setShowHook({});
        f.reset();
        QCOMPARE(deleteLeftoverWindows(), QStringList()); // none left over
    }

    void setupPageListsAndRefuses() {
        QCOMPARE(f->page(), 2);
        QVERIFY(f->at("F2Cmbbx(1)")->isHidden() && !f->at("F2CmdOk")->isEnabled());
        QVERIFY(f->run(u"F2Cmbbx(0)=Němčina F2Cmbbx(1)=Rodina"_s));
        QVERIFY(f->at("F2CmdOk")->isEnabled() && f->at("ShpRam")->isHidden());
        // Another textbook empties the lesson list: OK refuses until a lesson is chosen.
        QVERIFY(f->run(u"F2Cmbbx(0)=Uživatelská_učebnice F2CmdOk"_s));
        QCOMPARE(f->messages.texts(), QStringList{u"Nejsou zadány všechny údaje!"_s});
        QCOMPARE(f->page(), 2);
    }

    void numberBoxChecks_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after"); // repeats/penalty/maximum
        QTest::addColumn<QString>("message");
        const QString zero = u"Počet opakování nesmí být nulový"_s;
        const QString low = u"Maximální počet opakování jednoho slovíčka dosažitelný chybnými odpovědmi musí být "
                            "alespoň roven počtu opakování slovíčka"_s;
        QTest::newRow("leading zeros") << u"F2TxtChyb"_s << u"007"_s << u"3/7/6"_s << QString();
        QTest::newRow("repeats above maximum") << u"F2TxtSl"_s << u"9"_s << u"6/2/6"_s << low;
        QTest::newRow("maximum below repeats") << u"F2TxtMax"_s << u"2"_s << u"3/2/3"_s << low;
        QTest::newRow("maximum cleared") << u"F2TxtMax"_s << QString() << u"3/2/4"_s << zero;
    }
    void numberBoxChecks() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QVERIFY(f->run(u"F2TxtMax=99 F2TxtChyb=2 F2TxtSl=3 F2TxtMax=6"_s));
        f->messages.shown.clear();
        f->at<QLineEdit>(box)->setText(typed); // whole, as a paste brings it
        QTEST(texts(u"F2TxtSl F2TxtChyb F2TxtMax"_s), "after");
        QCOMPARE(f->messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    void savedSettings() {
        QVERIFY(writeFiles(f->dir.path(), u"Try.cfg= 2| 1| 8| 3| 10| 1"_s));
        QVERIFY(f->run(u"@1 F2ImgTry"_s));
        QVERIFY(f->at<QAbstractButton>("F2OptUZ(2)")->isChecked() && f->at<QAbstractButton>("F2OptRO(1)")->isChecked());
        // Loaded together: a saved count above the old maximum is not cut to it.
        QCOMPARE(texts(u"F2TxtSl F2TxtChyb F2TxtMax"_s), u"8/3/10"_s);
        QVERIFY(f->at<QAbstractButton>("ChckPol")->isChecked() && f->messages.shown.isEmpty());
        // A sign, a point and a seventh digit are not taken; Storno keeps what the page holds.
        QVERIFY(f->run(u"F2TxtSl=1"_s));
        for (const char* name : {"F2TxtMax", "F2TxtChyb", "F2TxtSl"}) {
            f->at<QLineEdit>(name)->selectAll();
            QTest::keyClicks(f->at(name), u"-5.0000000000000000"_s);
        }
        QVERIFY(f->run(u"F2OptUZ(1) F2CmdStorno"_s));
        QCOMPARE(readBytes(file(u"Try.cfg"_s)), " 1\r\n 1\r\n 500000\r\n 500000\r\n 500000\r\n 1\r\n");
        QCOMPARE(f->page(), 1);
        QVERIFY(f->messages.shown.isEmpty());
    }

    void loadingFailures_data() {
        QTest::addColumn<QString>("lesson");
        QTest::addColumn<bool>("endProgram");
        QTest::addColumn<QString>("message");
        const QString trap = u"Chyba programu číslo: 4 (NaplnSlova)\r\nChcete ukončit aplikaci?"_s;
        QTest::newRow("missing lesson file") << u"Chybí"_s << false << trap;
        QTest::newRow("empty lesson") << u"Prázdná"_s << false
                                      << u"Vybraná lekce neobsahuje žádnou dvojici slovíček."_s;
        QTest::newRow("Yes ends the program") << u"Chybí"_s << true << trap;
    }
    void loadingFailures() {
        QFETCH(QString, lesson);
        QFETCH(bool, endProgram);
        QSignalSpy ended(&f->w, &MainWindow::programEnded);
        QVERIFY(f->run(u"F2Cmbbx(0)=Němčina F2Cmbbx(1)="_s + lesson));
        f->messages.answers = {Answer::Yes, endProgram ? Answer::Yes : Answer::No}; // all pairs; the trap
        QVERIFY(f->run(u"F2CmdOk"_s));
        QTEST(lastMessage(), "message");
        QCOMPARE(ended.count(), endProgram ? 1 : 0);
        if (endProgram) {
            QCOMPARE(f->messages.shown.last().defaultAnswer, Answer::No);
            return;
        }
        QCOMPARE(f->page(), 2);
        QVERIFY(f->at("ShpRam")->isHidden() && !QFile::exists(file(u"Zkouseni.txt"_s)));
        QCOMPARE(f->random.draws, 0);
    }

    void startingATest() {
        start(u"Rodina"_s, {0.3});
        QCOMPARE(f->messages.texts(), QStringList{u"Chcete vybrat všechna slovíčka z lekce ke zkoušení?"_s});
        QCOMPARE(f->page(), 5);
        QCOMPARE(texts(u"LblName"_s), u"Němčina - Rodina"_s);
        QCOMPARE(texts(u"F5LblCelkem F5LblZkouset F5LblZbyva F5LblSpravne F5LblSpatne"_s), u"4/12/12/0/0"_s);
        // 0.3 of 4 pairs is pair 2; mode 0 shows the Czech side.
        QCOMPARE(texts(u"F5TxtJaz1 F5LblJaz2"_s), u"matka/Výraz v cizím jazyce:"_s);
        for (const char* box : {"F5TxtJaz1", "F5TxtJaz2"}) // the larger type, set when the page first shows
            QCOMPARE(f->at(box)->font().pointSize(), 12);
        QVERIFY(f->at("ShpRam")->isHidden());
        QCOMPARE(readBytes(file(u"try.cfg"_s)), " 0\r\n 0\r\n 3\r\n 2\r\n 6\r\n 0\r\n");
        QCOMPARE(int(f->w.quickClickPage()), 2);
        QVERIFY(quickClick()->control(u"F2CmdPrvPism"_s)->isEnabled());
        // The question takes no typing; Enter in the answer box answers.
        QTest::keyClicks(f->at("F5TxtJaz1"), "abc");
        type(answerBox(), u"die Mutter"_s);
        QTest::keyClick(answerBox(), Qt::Key_Return);
        QCOMPARE(texts(u"F5TxtJaz1 F5LblSpravne"_s), u"matka/1"_s);
    }

    void hardestLevelDisablesHints() {
        QVERIFY(f->run(u"F2OptUZ(2)"_s));
        start(u"Rodina"_s, {0.0});
        QVERIFY(!quickClick()->control(u"F2CmdPetMoznosti"_s)->isEnabled());
        // The characters still work, into the answer box at its caret; Shift gives a capital.
        type(answerBox(), u"Mdchen"_s);
        answerBox()->setCursorPosition(1);
        click(quickClick(), u"F2CmdA"_s);
        QTest::mouseClick(quickClick()->control(u"F2CmdU"_s), Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(answerBox()->text(), u"MäÜdchen"_s);
        // Storno asks first, No by default; Yes abandons the test without a record.
        QVERIFY(f->run(u"F5CmdStorno"_s));
        QCOMPARE(lastMessage(), u"Opravdu chcete ukončit lekci?"_s);
        QCOMPARE(f->messages.shown.last().defaultAnswer, Answer::No);
        QCOMPARE(f->page(), 5);
        QVERIFY(f->run(u"Ano F5CmdStorno"_s));
        QCOMPARE(f->page(), 1);
        QCOMPARE(int(f->w.quickClickPage()), 1);
        QVERIFY(!QFile::exists(file(u"Zkouseni.txt"_s)));
    }

    // The page shows the session's verdict and counts; "der Vater" is asked, otec and táta are right.
    void answersAreShown_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("feedback");
        QTest::addColumn<QString>("counts"); // wrong, right, remaining
        QTest::newRow("right") << u"TÁTA"_s << QString() << u"0/1/11"_s;
        QTest::newRow("wrong") << QString() << u"Chyba: otec, táta"_s << u"1/0/14"_s;
    }
    void answersAreShown() {
        QFETCH(QString, typed);
        QFETCH(QString, feedback);
        QVERIFY(f->run(u"F2OptUZ(1) F2OptRO(1)"_s));
        start(u"Rodina"_s, {0.0, 0.0});
        answer(typed);
        QCOMPARE(m_feedback, feedback.isEmpty() ? QStringList() : QStringList{feedback});
        QTEST(texts(u"F5LblSpatne F5LblSpravne F5LblZbyva"_s), "counts");
        QVERIFY(texts(u"F5TxtJaz2"_s).isEmpty());
    }

    void hintsFromTheQuickClickWindow() {
        start(u"Rodina"_s, {0.0});
        HintWindow::setShowHook([](HintWindow& window) {
            QTest::keyClick(control(&window, u"Pism"_s), Qt::Key_D);
            click(&window, u"CmdOK"_s);
        });
        click(quickClick(), u"F2CmdDelkSlov"_s);
        QCOMPARE(texts(u"F5TxtJaz2"_s), u"d--------"_s); // "der Vater", one letter typed
        QTest::keyClick(answerBox(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(texts(u"F5TxtJaz2"_s), u"dd-------"_s); // the first letter given, then "d" typed
    }

    void wholeTestEndsOnTheResultsPage() {
        QVERIFY(f->run(u"F2TxtMax=99 F2TxtChyb=1 F2TxtSl=3 F2TxtMax=4"_s));
        start(u"Jedna"_s, {0.0});
        answer(u"die Strasse"_s); // ß is not ss: wrong, 3 + 1
        for (int i = 0; i < 3; ++i)
            answerRight();
        QCOMPARE(f->page(), 5);
        answerRight();
        QCOMPARE(f->page(), 6);
        QCOMPARE(texts(u"F6LblCelkem F6LblSpravne F6LblSpatne F6LblProcent F6Txt"_s),
                 u"3/4/1/ 80%/die Straße = ulice"_s);
        const QString record = u"14.3.2026   9:05:07   Název:Němčina - Jedna   Úspěšnost: 80%   Slovíček:3   "
                               "Správně:4   Špatně:1"_s;
        QCOMPARE(readBytes(file(u"Zkouseni.txt"_s)), Cp1250::encode(record) + "\r\n");
        QCOMPARE(int(f->w.quickClickPage()), 2);
        QVERIFY2(texts(u"Label2"_s).contains(u"byl uložen"_s), qPrintable(texts(u"Label2"_s)));
        // "Nové zkoušení" keeps the choices: the same test again, without a mistake, its log refused.
        QVERIFY(f->run(u"F6Cmd2"_s));
        QCOMPARE(f->page(), 2);
        QVERIFY(QFile::remove(file(u"Zkouseni.txt"_s)) && QDir(f->dir.path()).mkdir(u"Zkouseni.txt"_s));
        QVERIFY(f->run(u"Ano F2CmdOk"_s));
        while (f->page() == 5)
            answerRight();
        QCOMPARE(texts(u"F6LblProcent F6Txt"_s), u" 100%/"_s);
        QVERIFY2(texts(u"Label2"_s).contains(u"nepodařilo uložit"_s), qPrintable(texts(u"Label2"_s)));
        QVERIFY2(lastMessage().contains(u"Zkouseni.txt"_s), qPrintable(lastMessage()));
        QVERIFY(f->run(u"F6Cmd1"_s)); // "Hlavní nabídka"
        QCOMPARE(f->page(), 1);
    }

    // "Procvičit chybná slovíčka" tests just the pairs missed, with the same settings, logged under the
    // caption with " - procvičení" and without touching "Try.cfg"; with nothing missed it is off.
    void practiseTheMissedPairs() {
        QVERIFY(f->run(u"F2TxtSl=1 F2TxtChyb=1 F2TxtMax=2"_s));
        start(u"Rodina"_s, {0.0, 0.3, 0.6, 0.9, 0.0, 0.0});
        answer(u"x"_s); // "der Vater" missed: asked twice more
        while (f->page() == 5)
            answerRight();
        const QByteArray saved = f->bytes(u"try.cfg"_s);
        QVERIFY(f->run(u"F6CmdProcvicit"_s));
        QCOMPARE(f->page(), 5);
        QCOMPARE(texts(u"F5LblCelkem F5TxtJaz1"_s), u"1/otec, táta"_s);
        answerRight();
        QCOMPARE(f->page(), 6);
        QVERIFY(!f->at(u"F6CmdProcvicit"_s)->isEnabled());
        QVERIFY(
            f->bytes(u"Zkouseni.txt"_s)
                .endsWith(
                    Cp1250::encode(
                        u"Název:Němčina - Rodina - procvičení   Úspěšnost: 100%   Slovíček:1   Správně:1   Špatně:0"_s) +
                    "\r\n"));
        QCOMPARE(f->bytes(u"try.cfg"_s), saved);
    }

    void pickingPairs() {
        start(u"Rodina"_s, {}, "Ne");
        QCOMPARE(f->page(), 9);
        // Storno goes back to the setup page as it was; OK there asks again.
        QVERIFY(f->run(u"F9CmdStorno"_s));
        QCOMPARE(f->page(), 2);
        QVERIFY(f->run(u"Ne F2CmdOk"_s));
        auto* list = f->at<QListWidget>(u"F9Lst"_s);
        QVERIFY(list->selectedItems().isEmpty() && !f->at("ShpRam")->isHidden());
        QVERIFY(f->run(u"F9CmdOK"_s)); // nothing picked: refused on the page
        QCOMPARE(f->page(), 9);
        f->random.values = {0.6};
        QVERIFY(f->run(u"F9Lst=matka_=_die_Mutter F9Lst=sestra_=_die_Schwester F9CmdOK"_s));
        QCOMPARE(f->page(), 5);
        QCOMPARE(texts(u"F5LblCelkem"_s), u"2"_s);
        QCOMPARE(texts(u"F5TxtJaz1 LblName"_s), u"sestra/Němčina - Rodina"_s);
    }
};

QTEST_MAIN(TestRoad)
#include "tst_testpages.moc"
