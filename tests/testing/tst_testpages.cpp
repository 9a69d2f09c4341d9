// The road of one test through the real pages, driven by the controls' names.
#include "Files.h"
#include "Gui.h"
#include "ModalBoxes.h"
#include "Sandbox.h"
#include "ScriptedMessages.h"

#include "app/MainMenuPage.h"
#include "app/MainWindow.h"
#include "core/AppState.h"
#include "hints/QuickClickWindow.h"
#include "testing/ResultsPage.h"
#include "testing/SelectionPage.h"
#include "testing/TestPage.h"
#include "testing/TestSetupPage.h"
#include "ui/AnswerBox.h"
#include "ui/HintWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using Answer = MessageBox::Answer;

class TestRoad : public QObject {
    Q_OBJECT

    // One test's data directory, sources and main window; feedback windows are answered with OK.
    struct Fixture : Sandbox {
        ScriptedMessages messages;
        std::unique_ptr<MainWindow> w;
    };
    std::unique_ptr<Fixture> f;
    QStringList m_feedback; // heading: text

    template <class T = QWidget> T* find(const char* name) const {
        return control<T>(f->w.get(), QString::fromUtf8(name));
    }
    void press(const char* name) { click(find(name)); }
    QString text(const char* name) const {
        if (auto* box = f->w->findChild<QLineEdit*>(QString::fromUtf8(name)))
            return box->text();
        return find<QLabel>(name)->text();
    }
    TestSetupPage* setup() const { return f->w->testPages().setup; }
    // The QuickClick window on screen, as a user who has switched it on sees it.
    QuickClickWindow* quickClickWindow() const {
        f->w->showQuickClickWindow();
        return f->w->quickClick();
    }
    TestPage* test() const { return f->w->testPages().test; }
    QString file(const QString& name) const { return f->dir.filePath(name); }
    QString lastMessage() const { return f->messages.shown.isEmpty() ? QString() : f->messages.shown.last().text; }
    int shownPage() const {
        for (int i = 0; i < int(kPageCount); ++i) {
            if (!f->w->page(PageId(i))->isHidden())
                return i;
        }
        return -1;
    }
    void choose(const char* comboName, const QString& item) { QVERIFY(::choose(find<QComboBox>(comboName), item)); }
    void option(const char* group, int index) { press(qPrintable(u"%1(%2)"_s.arg(QLatin1String(group)).arg(index))); }
    void numbers(const QString& repeats, const QString& penalty, const QString& maximum) {
        retype(find("F2TxtMax"), u"99"_s);
        retype(find("F2TxtChyb"), penalty);
        retype(find("F2TxtSl"), repeats);
        retype(find("F2TxtMax"), maximum);
    }
    // Opens the setup page from the main menu; the settings of a test are made after this.
    void openSetup() {
        f->w->showPage(PageId::MainMenu);
        press("F2ImgTry");
    }
    // Picks an item of a list as the mouse does (the selection list toggles with each click).
    void pick(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    // Starts a test of all pairs of a lesson; the draws come from the script.
    void start(const QString& lesson, std::initializer_list<double> draws, Answer all = Answer::Yes) {
        choose("F2Cmbbx(0)", u"Němčina"_s);
        choose("F2Cmbbx(1)", lesson);
        f->random.values.assign(draws);
        f->messages.answer(all);
        press("F2CmdOk");
    }
    void answer(const QString& typed) {
        retype(test()->answerBox(), typed);
        press("F5CmdOK");
    }
    void answerRight() { answer(f->state.test.expectedAlternatives().first()); }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
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
        f->w = std::make_unique<MainWindow>(f->state);
        f->w->start();
        f->w->F1Tmr_Timer();
        openSetup();
    }
    void cleanup() {
        HintWindow::setShowHook({});
        f.reset();
        QCOMPARE(deleteLeftoverWindows(), QStringList()); // none left over
    }

    void setupPageListsAndRefuses() {
        QCOMPARE(shownPage(), 2);
        QCOMPARE(find<QComboBox>("F2Cmbbx(0)")->itemText(1), u"Němčina"_s);
        QVERIFY(find("F2Cmbbx(1)")->isHidden() && !find("F2CmdOk")->isEnabled());
        choose("F2Cmbbx(0)", u"Němčina"_s);
        QCOMPARE(find<QComboBox>("F2Cmbbx(1)")->itemText(0), u"Rodina"_s);
        QVERIFY(!find("F2Cmbbx(1)")->isHidden() && find("F2CmdOk")->isEnabled() && find("ShpRam")->isHidden());
        // Another textbook empties the lesson list: OK refuses until a lesson is chosen.
        choose("F2Cmbbx(1)", u"Rodina"_s);
        choose("F2Cmbbx(0)", u"Uživatelská učebnice"_s);
        press("F2CmdOk");
        QCOMPARE(f->messages.texts(), QStringList{u"Nejsou zadány všechny údaje!"_s});
        QCOMPARE(shownPage(), 2);
    }

    void numberBoxChecks_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after"); // repeats/penalty/maximum
        QTest::addColumn<QString>("message");
        const QString zero = u"Počet opakování nesmí být nulový"_s;
        const QString low = u"Maximální počet opakování jednoho slovíčka dosažitelný chybnými odpovědmi musí být "
                            "alespoň roven počtu opakování slovíčka"_s;
        const auto row = [](const char* name, const char* box, const char* typed, const char* after,
                            const QString& message = {}) {
            QTest::newRow(name) << QString::fromUtf8(box) << QString::fromUtf8(typed) << QString::fromUtf8(after)
                                << message;
        };
        row("leading zeros", "F2TxtChyb", "007", "3/7/6");
        row("penalty cleared", "F2TxtChyb", "", "3/1/6", zero);
        row("decimals cut", "F2TxtChyb", "2.5", "3/2/6");
        row("repeats above maximum", "F2TxtSl", "9", "6/2/6", low);
        row("repeats not a number", "F2TxtSl", "abc", "3/2/6");
        row("maximum below repeats", "F2TxtMax", "2", "3/2/3", low);
        row("maximum cleared", "F2TxtMax", "", "3/2/4", zero);
    }
    void numberBoxChecks() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        numbers(u"3"_s, u"2"_s, u"6"_s);
        f->messages.shown.clear();
        find<QLineEdit>(qPrintable(box))->setText(typed);
        QTEST(QStringList({text("F2TxtSl"), text("F2TxtChyb"), text("F2TxtMax")}).join(u'/'), "after");
        QCOMPARE(f->messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    void countsStayWholeAndExact() {
        // Typed into every box: a sign, a point and a seventh digit are simply not taken.
        for (const char* name : {"F2TxtMax", "F2TxtChyb", "F2TxtSl"}) {
            auto* box = find<QLineEdit>(name);
            box->selectAll();
            QTest::keyClicks(box, u"-5.0000000000000000"_s);
        }
        QCOMPARE(text("F2TxtSl") + u'/' + text("F2TxtChyb") + u'/' + text("F2TxtMax"), u"500000/500000/500000"_s);
        QTest::mouseClick(find("F2CmdStorno"), Qt::LeftButton);
        QCOMPARE(readBytes(file(u"try.cfg"_s)), " 0\r\n 0\r\n 500000\r\n 500000\r\n 500000\r\n 0\r\n");
        QVERIFY(f->messages.shown.isEmpty());
    }

    void damagedTryCfg_data() {
        QTest::addColumn<QByteArray>("lines"); // lines 3 to 5 of Try.cfg
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<int>("messages");
        QTest::newRow("not clean, above the maximum") << QByteArray(" 9x\r\n 2\r\n 6") << u"3/2/6"_s << 0;
        QTest::newRow("comma and blank inside") << QByteArray("7,5\r\n1 0\r\n 7,5") << u"3/1/4"_s << 0;
        QTest::newRow("written by an exponent") << QByteArray(" 5e+16\r\n 2\r\n 5e+16") << u"3/2/4"_s << 0;
        QTest::newRow("blank lines") << QByteArray("\r\n\r\n") << u"3/1/4"_s << 0;
        QTest::newRow("zeros") << QByteArray(" 0\r\n 0\r\n 0") << u"3/1/4"_s << 0;
        QTest::newRow("huge") << QByteArray(" 12\r\n 3\r\n 99999999999999999999") << u"12/3/999999"_s << 0;
        QTest::newRow("repeats above maximum") << QByteArray(" 8\r\n 2\r\n 5") << u"8/2/8"_s << 1;
    }
    void damagedTryCfg() {
        QFETCH(QByteArray, lines);
        QVERIFY(writeBytes(file(u"Try.cfg"_s), " 0\r\n 0\r\n" + lines + "\r\n 0\r\n"));
        f->messages.shown.clear();
        f->w->showPage(PageId::MainMenu);
        QTest::mouseClick(find("F2ImgTry"), Qt::LeftButton); // "Zkoušení slovíček" reads the file
        QTEST(text("F2TxtSl") + u'/' + text("F2TxtChyb") + u'/' + text("F2TxtMax"), "boxes");
        QTEST(int(f->messages.shown.size()), "messages");
    }

    void missingNamesStopTheStart_data() {
        QTest::addColumn<QString>("missing");
        QTest::newRow("textbook file") << u"books/2.mum"_s;
        QTest::newRow("lesson title file") << u"units/2_1T.mum"_s;
    }
    void missingNamesStopTheStart() {
        QFETCH(QString, missing);
        choose("F2Cmbbx(0)", u"Němčina"_s);
        choose("F2Cmbbx(1)", u"Rodina"_s);
        QVERIFY(QFile::remove(file(missing))); // removed by hand while the page was open
        f->messages.answer(Answer::Yes);       // all pairs
        f->messages.answer(Answer::No);        // the trap: run on
        QTest::mouseClick(find("F2CmdOk"), Qt::LeftButton);
        QCOMPARE(lastMessage(), u"Chyba programu číslo: 4 (NaplnSlova)\r\nChcete ukončit aplikaci?"_s);
        QCOMPARE(shownPage(), 2);
        QVERIFY(!QFile::exists(file(u"Zkouseni.txt"_s)));
    }

    void savedSettings() {
        QVERIFY(writeFiles(f->dir.path(), u"Try.cfg= 2| 1| 8| 3| 10| 1"_s));
        openSetup();
        QVERIFY(find<QRadioButton>("F2OptUZ(2)")->isChecked() && find<QRadioButton>("F2OptRO(1)")->isChecked());
        // Loaded together: a saved count above the old maximum is not cut to it.
        QCOMPARE(text("F2TxtSl") + text("F2TxtChyb") + text("F2TxtMax"), u"8310"_s);
        QVERIFY(find<QCheckBox>("ChckPol")->isChecked() && f->messages.shown.isEmpty());
        // Storno keeps what the page holds now, in the file as it is spelled.
        option("F2OptUZ", 1);
        numbers(u"4"_s, u"1"_s, u"5"_s);
        press("F2CmdStorno");
        QCOMPARE(readBytes(file(u"Try.cfg"_s)), " 1\r\n 1\r\n 4\r\n 1\r\n 5\r\n 1\r\n");
        QCOMPARE(shownPage(), 1);
    }

    void startingATest() {
        start(u"Rodina"_s, {0.3});
        QCOMPARE(f->messages.texts(), QStringList{u"Chcete vybrat všechna slovíčka z lekce ke zkoušení?"_s});
        QCOMPARE(shownPage(), 5);
        QCOMPARE(text("LblName"), u"Němčina - Rodina"_s);
        const QStringList counters = {text("F5LblCelkem"), text("F5LblZkouset"), text("F5LblZbyva"),
                                      text("F5LblSpravne"), text("F5LblSpatne")};
        QCOMPARE(counters, (QStringList{u"4"_s, u"12"_s, u"12"_s, u"0"_s, u"0"_s}));
        // 0.3 of 4 pairs is pair 2; mode 0 shows the Czech side.
        QCOMPARE(text("F5TxtJaz1"), u"matka"_s);
        QCOMPARE(text("F5LblJaz2"), u"Výraz v cizím jazyce:"_s);
        for (const char* box : {"F5TxtJaz1", "F5TxtJaz2"}) // the larger type, set when the page first shows
            QCOMPARE(find(box)->font().pointSize(), 12);
        QVERIFY(find("ShpRam")->isHidden());
        QCOMPARE(readBytes(file(u"try.cfg"_s)), " 0\r\n 0\r\n 3\r\n 2\r\n 6\r\n 0\r\n");
        QCOMPARE(int(f->w->quickClickPage()), 2);
        QVERIFY(quickClickWindow()->control(u"F2CmdPrvPism"_s)->isEnabled());
    }

    void hardestLevelDisablesHints() {
        option("F2OptUZ", 2);
        start(u"Rodina"_s, {0.0});
        QVERIFY(!quickClickWindow()->control(u"F2CmdPetMoznosti"_s)->isEnabled());
        // The characters still work, into the answer box at its caret.
        type(test()->answerBox(), u"Mdchen"_s);
        test()->answerBox()->setCursorPosition(1);
        click(quickClickWindow(), u"F2CmdA"_s);
        QTest::mouseClick(quickClickWindow()->control(u"F2CmdU"_s), Qt::LeftButton, Qt::ShiftModifier); // a capital
        QCOMPARE(test()->answerBox()->text(), u"MäÜdchen"_s);
        f->messages.answer(Answer::Yes);
        press("F5CmdStorno");
        openSetup();
        option("F2OptUZ", 1);
        start(u"Rodina"_s, {0.0});
        QVERIFY(quickClickWindow()->control(u"F2CmdPetMoznosti"_s)->isEnabled());
    }

    // The judging itself is the session's; the page shows its verdict and counts.
    void answersAreJudged_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("feedback");
        // "der Vater" is asked; otec and táta are right.
        QTest::newRow("right") << 1 << u"TÁTA"_s << QString();
        QTest::newRow("wrong") << 1 << u""_s << u"Chyba: otec, táta"_s;
        QTest::newRow("quick answer on easy") << 0 << u""_s << u"Rychlá odpověď: otec, táta"_s;
    }
    void answersAreJudged() {
        QFETCH(int, level);
        QFETCH(QString, feedback);
        option("F2OptUZ", level);
        option("F2OptRO", 1);
        start(u"Rodina"_s, {0.0, 0.0});
        QFETCH(QString, typed);
        answer(typed);
        QCOMPARE(m_feedback, feedback.isEmpty() ? QStringList() : QStringList{feedback});
        const bool wrong = feedback.startsWith(u"Chyba"_s);
        QCOMPARE(text("F5LblSpatne") + text("F5LblSpravne") + u'/' + text("F5LblZbyva"),
                 wrong ? u"10/14"_s : u"01/11"_s);
        QVERIFY(text("F5TxtJaz2").isEmpty());
    }

    void logKeepsEveryRecord() {
        // A hand-edited log without its last CR LF, and a lesson whose title Windows-1250 cannot hold.
        const QByteArray earlier = Cp1250::encode(u"1.3.2026   8:00:00   Název:Řeč   Úspěšnost: 50%"_s);
        QVERIFY(writeBytes(file(u"Zkouseni.txt"_s), earlier));
        QVERIFY(writeBytes(file(u"units/2_4T.mum"_s), u"Niños\r\n"_s.toUtf8()));
        openSetup();
        start(u"Niños"_s, {0.0});
        answerRight(); // 3 times
        answerRight();
        answerRight();
        QCOMPARE(shownPage(), 6);
        const QStringList log = f->dataDir.readLines(u"Zkouseni.txt"_s).lines;
        QCOMPARE(log.size(), 2);
        QCOMPARE(log.first(), Cp1250::decode(earlier));
        QVERIFY2(log.last().contains(u"Název:Němčina - Niños   Úspěšnost: 100%"_s), qPrintable(log.last()));
        const MessageBox::Request told = f->messages.shown.last(); // once, that the log is now UTF-8
        QVERIFY2(told.icon == MessageBox::Icon::Information && told.text.contains(u"UTF-8"_s), qPrintable(told.text));
    }

    void resultsSayWhetherTheRecordWasSaved() {
        QVERIFY(QDir(f->dir.path()).mkdir(u"Zkouseni.txt"_s)); // a log that cannot be written
        start(u"Jedna"_s, {0.0});
        while (shownPage() == 5)
            answerRight();
        QVERIFY2(text("Label2").contains(u"nepodařilo uložit"_s), qPrintable(text("Label2")));
        QVERIFY(QDir(f->dir.path()).rmdir(u"Zkouseni.txt"_s));
        press("F6Cmd2");
        f->messages.answer(Answer::Yes);
        press("F2CmdOk");
        while (shownPage() == 5)
            answerRight();
        QVERIFY2(text("Label2").contains(u"byl uložen"_s), qPrintable(text("Label2")));
    }

    void wholeTestEndsOnTheResultsPage() {
        numbers(u"3"_s, u"1"_s, u"4"_s);
        start(u"Jedna"_s, {0.0});
        answer(u"die Strasse"_s); // ß is not ss: wrong, 3 + 1
        for (int i = 0; i < 3; ++i)
            answer(u"DIE STRAßE"_s);
        QCOMPARE(shownPage(), 5);
        answerRight();
        QCOMPARE(shownPage(), 6);
        QCOMPARE(text("F6LblCelkem") + u'/' + text("F6LblSpravne") + u'/' + text("F6LblSpatne"), u"3/4/1"_s);
        QCOMPARE(text("F6LblProcent"), u" 80%"_s);
        QCOMPARE(text("F6Txt"), u"die Straße = ulice"_s);
        QVERIFY(shoot(f->w.get(), u"page6-results"_s));
        const QString record = u"14.3.2026   9:05:07   Název:Němčina - Jedna   Úspěšnost: 80%   Slovíček:3   "
                               "Správně:4   Špatně:1"_s;
        QCOMPARE(readBytes(file(u"Zkouseni.txt"_s)), Cp1250::encode(record) + "\r\n");
        QCOMPARE(int(f->w->quickClickPage()), 2);
        // "Nové zkoušení" keeps the choices: the same test again, without a mistake.
        press("F6Cmd2");
        QCOMPARE(shownPage(), 2);
        QCOMPARE(int(f->w->quickClickPage()), 1);
        f->messages.answer(Answer::Yes);
        press("F2CmdOk");
        while (shownPage() == 5)
            answerRight();
        QCOMPARE(text("F6LblProcent"), u" 100%"_s);
        QVERIFY(text("F6Txt").isEmpty());
        QCOMPARE(readBytes(file(u"Zkouseni.txt"_s)).count("\r\n"), 2);
        press("F6Cmd1"); // "Hlavní nabídka"
        QCOMPARE(shownPage(), 1);
        QCOMPARE(int(f->w->quickClickPage()), 1);
    }

    void stornoAbandonsTheTest() {
        start(u"Rodina"_s, {0.0});
        press("F5CmdStorno"); // answered No
        QCOMPARE(lastMessage(), u"Opravdu chcete ukončit lekci?"_s);
        QCOMPARE(f->messages.shown.last().defaultAnswer, Answer::No);
        QCOMPARE(shownPage(), 5);
        f->messages.answer(Answer::Yes);
        press("F5CmdStorno");
        QCOMPARE(shownPage(), 1);
        QCOMPARE(int(f->w->quickClickPage()), 1);
        QVERIFY(!QFile::exists(file(u"Zkouseni.txt"_s)));
    }

    void hintsFromTheQuickClickWindow() {
        start(u"Rodina"_s, {0.0});
        HintWindow::setShowHook([](HintWindow& window) {
            QTest::keyClick(control(&window, u"Pism"_s), Qt::Key_D);
            click(&window, u"CmdOK"_s);
        });
        click(quickClickWindow(), u"F2CmdDelkSlov"_s);
        QCOMPARE(text("F5TxtJaz2"), u"d--------"_s); // "der Vater", one letter typed
        QTest::keyClick(test()->answerBox(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(text("F5TxtJaz2"), u"dd-------"_s); // the first letter given, then "d" typed
    }

    void enterAnswersAndTheQuestionTakesNoTyping() {
        start(u"Rodina"_s, {0.0});
        QTest::keyClicks(find<QLineEdit>("F5TxtJaz1"), "abc");
        QCOMPARE(text("F5TxtJaz1"), u"otec, táta"_s);
        type(test()->answerBox(), u"der Vater"_s);
        QVERIFY(shoot(f->w.get(), u"page5-test"_s) && shoot(quickClickWindow(), u"quickclick-test"_s));
        QTest::keyClick(test()->answerBox(), Qt::Key_Return);
        QCOMPARE(text("F5LblSpravne"), u"1"_s);
    }

    void pickingPairs() {
        start(u"Rodina"_s, {}, Answer::No);
        QCOMPARE(shownPage(), 9);
        // Storno goes back to the setup page as it was; OK there asks again.
        press("F9CmdStorno");
        QCOMPARE(shownPage(), 2);
        QCOMPARE(find<QListWidget>("F9Lst")->count(), 0);
        f->messages.answer(Answer::No);
        press("F2CmdOk");
        auto* list = find<QListWidget>("F9Lst");
        QCOMPARE(list->item(2)->text(), u"bratr = der Bruder, der Bub"_s);
        QVERIFY(list->selectedItems().isEmpty() && !find("ShpRam")->isHidden());
        press("F9CmdOK"); // nothing picked: refused on the page
        QCOMPARE(shownPage(), 9);
        pick(list, 1);
        pick(list, 3);
        QVERIFY(shoot(f->w.get(), u"page9-selection"_s));
        f->random.values = {0.6};
        press("F9CmdOK");
        QCOMPARE(shownPage(), 5);
        QCOMPARE(text("F5LblCelkem"), u"2"_s);
        const WordLists& words = f->state.test.words();
        QCOMPARE(words.foreignAlternative(1, 1) + u'/' + words.foreignAlternative(2, 1), u"die Mutter/die Schwester"_s);
        QCOMPARE(text("F5TxtJaz1") + u'/' + text("LblName"), u"sestra/Němčina - Rodina"_s);
    }

    void loadingFailures_data() {
        QTest::addColumn<QString>("lesson");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("endProgram");
        const QString end = u"\r\nChcete ukončit aplikaci?"_s;
        QTest::newRow("missing lesson file") << "Chybí"
                                             << "Chyba programu číslo: 4 (NaplnSlova)" + end << false;
        QTest::newRow("empty lesson") << "Prázdná" << u"Vybraná lekce neobsahuje žádnou dvojici slovíček."_s << false;
        QTest::newRow("Yes ends the program") << "Chybí"
                                              << "Chyba programu číslo: 4 (NaplnSlova)" + end << true;
    }
    void loadingFailures() {
        QFETCH(QString, lesson);
        QFETCH(bool, endProgram);
        QSignalSpy ended(f->w.get(), &MainWindow::programEnded);
        if (endProgram)
            f->messages.answers = {Answer::Yes, Answer::Yes};
        start(lesson, {0.0});
        QTEST(lastMessage(), "message");
        QCOMPARE(ended.count(), endProgram ? 1 : 0);
        if (endProgram) {
            QCOMPARE(f->messages.shown.last().title, u"NoName"_s); // the trap's own title
            QCOMPARE(f->messages.shown.last().defaultAnswer, Answer::No);
            return;
        }
        QCOMPARE(shownPage(), 2);
        QVERIFY(find("ShpRam")->isHidden());
        QCOMPARE(f->random.draws, 0);
        // The page goes on working: the next start takes another lesson.
        start(u"Rodina"_s, {0.0});
        QCOMPARE(shownPage(), 5);
    }
};

QTEST_MAIN(TestRoad)
#include "tst_testpages.moc"
