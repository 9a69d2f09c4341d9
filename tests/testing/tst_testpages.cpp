// The road of one test through the real pages, driven by the controls' names.
#include "Files.h"
#include "FixedSources.h"
#include "ScriptedMessages.h"

#include "app/AppState.h"
#include "app/FrmHl.h"
#include "app/MainMenuPage.h"
#include "hints/AnswerBox.h"
#include "hints/FrmMsg.h"
#include "hints/FrmQL.h"
#include "store/Cp1250.h"
#include "testing/ResultsPage.h"
#include "testing/SelectionPage.h"
#include "testing/TestEngine.h"
#include "testing/TestPage.h"
#include "testing/TestSetupPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

void writeFile(const QString& path, const QStringList& lines) {
    QVERIFY(writeLines(path, lines));
}

struct Feedback {
    QString heading;
    QColor color;
    QString good;
    QString text;
};

} // namespace

class TestRoad : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<DataDir> m_dir;
    std::unique_ptr<ScriptedRandom> m_rng;
    std::unique_ptr<FixedClock> m_clock;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScriptedMessages> m_messages;
    std::unique_ptr<FrmHl> m_w;
    QList<Feedback> m_feedback;

    QString path(const QString& name) const { return m_tmp->filePath(name); }
    template <class T> T* find(const char* name) const {
        auto* widget = m_w->findChild<T*>(QString::fromUtf8(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    TestSetupPage* setup() const { return m_w->testPages().setup; }
    TestPage* test() const { return m_w->testPages().test; }
    QString label(const char* name) const { return find<QLabel>(name)->text(); }
    int shownPage() const {
        int shown = -1;
        for (int i = 0; i < FrmHl::kPageCount; ++i) {
            if (!m_w->page(i)->isHidden())
                shown = i;
        }
        return shown;
    }

    void start() {
        m_w = std::make_unique<FrmHl>(*m_state);
        m_w->Form_Load();
        m_w->F1Tmr_Timer();
    }
    void openSetup() { m_w->mainMenu()->F2ImgTry_Click(); }
    void choose(const char* comboName, const QString& text) {
        auto* combo = find<QComboBox>(comboName);
        const int index = combo->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        combo->setCurrentIndex(index);
        setup()->F2Cmbbx_Click(QByteArray(comboName).contains("(0)") ? 0 : 1);
    }
    void chooseLesson(const QString& lesson) {
        choose("F2Cmbbx(0)", QStringLiteral("Němčina"));
        choose("F2Cmbbx(1)", lesson);
    }
    void setLevel(int level) {
        find<QRadioButton>(qPrintable(QStringLiteral("F2OptUZ(%1)").arg(level)))->setChecked(true);
    }
    void setMode(int mode) {
        find<QRadioButton>(qPrintable(QStringLiteral("F2OptRO(%1)").arg(mode)))->setChecked(true);
    }
    void setNumbers(const QString& repeats, const QString& penalty, const QString& maximum) {
        find<QLineEdit>("F2TxtMax")->setText(QStringLiteral("99"));
        find<QLineEdit>("F2TxtChyb")->setText(penalty);
        find<QLineEdit>("F2TxtSl")->setText(repeats);
        find<QLineEdit>("F2TxtMax")->setText(maximum);
    }
    // Starts a test of all pairs of a lesson; the draws come from the script.
    void startTest(const QString& lesson, std::initializer_list<double> draws) {
        chooseLesson(lesson);
        m_rng->values.assign(draws);
        m_messages->answer(MessageBox::Answer::Yes);
        setup()->F2CmdOk_Click();
    }
    void answer(const QString& text) {
        test()->answerBox()->setText(text);
        test()->F5CmdOK_Click();
    }

private Q_SLOTS:
    void init() {
        m_tmp = std::make_unique<QTemporaryDir>();
        writeFile(path("books/1.mum"), {QStringLiteral("Uživatelská učebnice")});
        writeFile(path("books/2.mum"), {QStringLiteral("Němčina")});
        writeFile(path("units/2_1T.mum"), {QStringLiteral("Rodina")});
        writeFile(path("units/2_1.mum"),
                  {QStringLiteral("der Vater*otec+táta*"), QStringLiteral("die Mutter*matka*"), QString(),
                   QStringLiteral("der Bruder+der Bub*bratr*"), QStringLiteral("die Schwester*sestra*")});
        writeFile(path("units/2_2T.mum"), {QStringLiteral("Chybí")});
        writeFile(path("units/2_3T.mum"), {QStringLiteral("Prázdná")});
        writeFile(path("units/2_3.mum"), {QString()});
        writeFile(path("units/2_4T.mum"), {QStringLiteral("Jedna")});
        writeFile(path("units/2_4.mum"), {QStringLiteral("die Straße*ulice*")});
        writeFile(path("units/2_5T.mum"), {QStringLiteral("Přetížená")});
        writeFile(path("units/2_5.mum"), {QStringLiteral("a*1+2+3+4+5+6+7+8+9+10+11*")});
        writeFile(path("me.cfg"), {QStringLiteral(" 0"), QStringLiteral(" 0")});
        m_dir = std::make_unique<DataDir>(m_tmp->path());
        m_rng = std::make_unique<ScriptedRandom>();
        m_clock = std::make_unique<FixedClock>();
        m_state = std::make_unique<AppState>(*m_dir, *m_rng, *m_clock);
        m_messages = std::make_unique<ScriptedMessages>();
        m_feedback.clear();
        FrmMsg::setShowHook([this](FrmMsg& window) {
            m_feedback.append({window.LblNadpis()->text(), window.LblNadpis()->palette().color(QPalette::WindowText),
                               window.LblGood()->text(), window.LblText()->text()});
            window.CmdOK_Click();
        });
        start();
    }

    void cleanup() {
        FrmMsg::setShowHook({});
        m_w.reset();
        m_messages.reset();
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void menuItemPreparesSetupPage() {
        openSetup();
        QCOMPARE(shownPage(), 2);
        auto* books = find<QComboBox>("F2Cmbbx(0)");
        QCOMPARE(books->count(), 2);
        QCOMPARE(books->itemText(1), QStringLiteral("Němčina"));
        QCOMPARE(books->currentIndex(), -1);
        QVERIFY(find<QComboBox>("F2Cmbbx(1)")->isHidden());
        QVERIFY(find<QLabel>("F2LblTxt(5)")->isHidden());
        QVERIFY(!find<QPushButton>("F2CmdOk")->isEnabled());

        choose("F2Cmbbx(0)", QStringLiteral("Němčina"));
        auto* lessons = find<QComboBox>("F2Cmbbx(1)");
        QVERIFY(!lessons->isHidden());
        QVERIFY(find<QPushButton>("F2CmdOk")->isEnabled());
        QCOMPARE(lessons->count(), 5);
        QCOMPARE(lessons->itemText(0), QStringLiteral("Rodina"));
        QCOMPARE(lessons->currentIndex(), -1);
        QVERIFY(find<QWidget>("ShpRam")->isHidden());

        // Another textbook empties the lesson list: OK refuses until a lesson is chosen.
        choose("F2Cmbbx(1)", QStringLiteral("Rodina"));
        choose("F2Cmbbx(0)", QStringLiteral("Uživatelská učebnice"));
        QCOMPARE(lessons->count(), 0);
        setup()->F2CmdOk_Click();
        QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Nejsou zadány všechny údaje!")});
        QCOMPARE(m_messages->shown.first().icon, MessageBox::Icon::Critical);
        QCOMPARE(shownPage(), 2);
    }

    void numberBoxChecks_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("repeats");
        QTest::addColumn<QString>("penalty");
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<QString>("message");
        const QString zero = QStringLiteral("Počet opakování nesmí být nulový");
        const QString tooLow = QStringLiteral("Maximální počet opakování jednoho slovíčka dosažitelný chybnými "
                                              "odpovědmi musí být alespoň roven počtu opakování slovíčka");
        QTest::newRow("leading zeros") << "F2TxtChyb"
                                       << "007"
                                       << "3"
                                       << "7"
                                       << "6"
                                       << "";
        QTest::newRow("penalty cleared") << "F2TxtChyb"
                                         << ""
                                         << "3"
                                         << "1"
                                         << "6" << zero;
        QTest::newRow("penalty zero") << "F2TxtChyb"
                                      << "0"
                                      << "3"
                                      << "1"
                                      << "6" << zero;
        QTest::newRow("penalty not a number") << "F2TxtChyb"
                                              << "x"
                                              << "3"
                                              << "1"
                                              << "6"
                                              << "";
        QTest::newRow("decimals cut") << "F2TxtChyb"
                                      << "2.5"
                                      << "3"
                                      << "2"
                                      << "6"
                                      << "";
        QTest::newRow("repeats above maximum") << "F2TxtSl"
                                               << "9"
                                               << "6"
                                               << "2"
                                               << "6" << tooLow;
        QTest::newRow("repeats cleared") << "F2TxtSl"
                                         << ""
                                         << "3"
                                         << "2"
                                         << "6" << zero;
        QTest::newRow("repeats not a number") << "F2TxtSl"
                                              << "abc"
                                              << "3"
                                              << "2"
                                              << "6"
                                              << "";
        QTest::newRow("maximum below repeats") << "F2TxtMax"
                                               << "2"
                                               << "3"
                                               << "2"
                                               << "3" << tooLow;
        QTest::newRow("maximum cleared") << "F2TxtMax"
                                         << ""
                                         << "3"
                                         << "2"
                                         << "4" << zero;
        QTest::newRow("maximum not a number") << "F2TxtMax"
                                              << "?"
                                              << "3"
                                              << "2"
                                              << "4"
                                              << "";
    }
    void numberBoxChecks() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        openSetup();
        setNumbers(QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("6"));
        m_messages->shown.clear();
        find<QLineEdit>(qPrintable(box))->setText(typed);
        QTEST(find<QLineEdit>("F2TxtSl")->text(), "repeats");
        QTEST(find<QLineEdit>("F2TxtChyb")->text(), "penalty");
        QTEST(find<QLineEdit>("F2TxtMax")->text(), "maximum");
        QFETCH(QString, message);
        QCOMPARE(m_messages->texts(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    void savedSettingsFillThePage() {
        writeFile(path("Try.cfg"), {QStringLiteral(" 2"), QStringLiteral(" 1"), QStringLiteral(" 8"),
                                    QStringLiteral(" 3"), QStringLiteral(" 10"), QStringLiteral(" 1")});
        openSetup();
        QVERIFY(find<QRadioButton>("F2OptUZ(2)")->isChecked());
        QVERIFY(find<QRadioButton>("F2OptRO(1)")->isChecked());
        // Loaded together: a saved count above the old maximum is not cut to it.
        QCOMPARE(find<QLineEdit>("F2TxtSl")->text(), QStringLiteral("8"));
        QCOMPARE(find<QLineEdit>("F2TxtChyb")->text(), QStringLiteral("3"));
        QCOMPARE(find<QLineEdit>("F2TxtMax")->text(), QStringLiteral("10"));
        QVERIFY(find<QCheckBox>("ChckPol")->isChecked());
        QVERIFY(m_messages->shown.isEmpty());
    }

    void brokenSettingsFileKeepsInitialValues() {
        writeFile(path("Try.cfg"), {QStringLiteral(" 9"), QStringLiteral(" 1")});
        openSetup();
        QVERIFY(find<QRadioButton>("F2OptUZ(0)")->isChecked());
        QVERIFY(find<QRadioButton>("F2OptRO(1)")->isChecked());
        QCOMPARE(find<QLineEdit>("F2TxtSl")->text(), QStringLiteral("3"));
        QCOMPARE(find<QLineEdit>("F2TxtMax")->text(), QStringLiteral("6"));
        // The next Storno writes a whole file.
        setup()->F2CmdStorno_Click();
        QCOMPARE(readBytes(path("Try.cfg")), QByteArray(" 0\r\n 1\r\n 3\r\n 2\r\n 6\r\n 0\r\n"));
        QCOMPARE(shownPage(), 1);
    }

    void stornoSavesTheSettings() {
        openSetup();
        setLevel(1);
        setMode(2);
        setNumbers(QStringLiteral("4"), QStringLiteral("1"), QStringLiteral("5"));
        find<QCheckBox>("ChckPol")->setChecked(true);
        setup()->F2CmdStorno_Click();
        QCOMPARE(readBytes(path("try.cfg")), QByteArray(" 1\r\n 2\r\n 4\r\n 1\r\n 5\r\n 1\r\n"));
        QCOMPARE(QDir(m_tmp->path()).entryList({QStringLiteral("*.cfg")}, QDir::Files),
                 (QStringList{QStringLiteral("me.cfg"), QStringLiteral("try.cfg")}));
    }

    void startingATest() {
        openSetup();
        startTest(QStringLiteral("Rodina"), {0.3});
        QCOMPARE(m_messages->shown.size(), 1);
        QCOMPARE(m_messages->shown.first().text, QStringLiteral("Chcete vybrat všechna slovíčka z lekce ke zkoušení?"));
        QCOMPARE(m_messages->shown.first().icon, MessageBox::Icon::Information);
        QCOMPARE(shownPage(), 5);
        QCOMPARE(label("LblName"), QStringLiteral("Němčina - Rodina"));
        QCOMPARE(m_state->wordLists.PairCount, 4);
        QCOMPARE(label("F5LblCelkem"), QStringLiteral("4"));
        QCOMPARE(label("F5LblZkouset"), QStringLiteral("12"));
        QCOMPARE(label("F5LblZbyva"), QStringLiteral("12"));
        QCOMPARE(label("F5LblSpravne"), QStringLiteral("0"));
        QCOMPARE(label("F5LblSpatne"), QStringLiteral("0"));
        // 0.3 of 4 pairs is pair 2; mode 0 shows the Czech side.
        QCOMPARE(m_state->currentPair, 2);
        QCOMPARE(find<QLineEdit>("F5TxtJaz1")->text(), QStringLiteral("matka"));
        QCOMPARE(label("F5LblJaz1"), QStringLiteral("Výraz v českém jazyce:"));
        QCOMPARE(label("F5LblJaz2"), QStringLiteral("Výraz v cizím jazyce:"));
        QVERIFY(find<QWidget>("ShpRam")->isHidden());
        QCOMPARE(readBytes(path("try.cfg")), QByteArray(" 0\r\n 0\r\n 3\r\n 2\r\n 6\r\n 0\r\n"));
        QCOMPARE(m_w->quickClick()->page(), 2);
        QVERIFY(m_w->quickClick()->control(QStringLiteral("F2CmdPrvPism"))->isEnabled());
    }

    void hardestLevelDisablesHints() {
        openSetup();
        setLevel(2);
        startTest(QStringLiteral("Rodina"), {0.0});
        for (const char* hint : {"F2CmdPrvPism", "F2CmdDelkSlov", "F2CmdPetMoznosti"})
            QVERIFY(!m_w->quickClick()->control(QString::fromLatin1(hint))->isEnabled());
        // The characters still work, and the next test on another level has its hints back.
        m_w->quickClick()->findChild<QPushButton*>(QStringLiteral("F2CmdA"))->click();
        QCOMPARE(test()->answerBox()->text(), QStringLiteral("ä"));
        m_messages->answer(MessageBox::Answer::Yes);
        test()->F5CmdStorno_Click();
        openSetup();
        setLevel(1);
        startTest(QStringLiteral("Rodina"), {0.0});
        QVERIFY(m_w->quickClick()->control(QStringLiteral("F2CmdPrvPism"))->isEnabled());
    }

    void answersAreJudged_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("half");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("feedback");
        // Pair 1: der Vater = otec+táta, asked in Czech (answer German) in mode 1.
        QTest::newRow("right, any case") << 1 << false << "OTEC"
                                         << "";
        QTest::newRow("second alternative") << 1 << false << "Táta"
                                            << "";
        QTest::newRow("wrong") << 1 << false << "bratr"
                               << "Chyba";
        QTest::newRow("trailing blank") << 1 << true << "otec "
                                        << "Chyba";
        QTest::newRow("half answer") << 1 << true << "ot"
                                     << "";
        QTest::newRow("empty on medium") << 1 << false << ""
                                         << "Chyba";
        QTest::newRow("empty with half answer") << 2 << true << ""
                                                << "";
        QTest::newRow("quick answer on easy") << 0 << false << ""
                                              << "Rychlá odpověď";
        QTest::newRow("custom level judges") << 3 << false << ""
                                             << "Chyba";
    }
    void answersAreJudged() {
        QFETCH(int, level);
        QFETCH(bool, half);
        QFETCH(QString, typed);
        QFETCH(QString, feedback);
        openSetup();
        setLevel(level);
        setMode(1);
        find<QCheckBox>("ChckPol")->setChecked(half);
        startTest(QStringLiteral("Rodina"), {0.0, 0.0});
        QCOMPARE(find<QLineEdit>("F5TxtJaz1")->text(), QStringLiteral("der Vater"));
        answer(typed);
        const bool wrong = feedback == QLatin1String("Chyba");
        QCOMPARE(m_feedback.size(), feedback.isEmpty() ? 0 : 1);
        if (!feedback.isEmpty()) {
            QCOMPARE(m_feedback.first().heading, feedback);
            QCOMPARE(m_feedback.first().color, wrong ? QColor(255, 0, 0) : QColor(0, 0, 255));
            QCOMPARE(m_feedback.first().good, wrong ? QStringLiteral("Správně:") : QStringLiteral("Slovo:"));
            QCOMPARE(m_feedback.first().text, QStringLiteral("otec, táta"));
        }
        QCOMPARE(label("F5LblSpravne"), wrong ? QStringLiteral("0") : QStringLiteral("1"));
        QCOMPARE(label("F5LblSpatne"), wrong ? QStringLiteral("1") : QStringLiteral("0"));
        // A wrong answer costs the penalty (2, up to 6): 12 + 2; a right one lowers the total by 1.
        QCOMPARE(label("F5LblZbyva"), wrong ? QStringLiteral("14") : QStringLiteral("11"));
        QCOMPARE(m_state->wordLists.Remaining(1), wrong ? 5.0 : 2.0);
        QCOMPARE(test()->answerBox()->text(), QString());
    }

    void ssIsNotSharpS() {
        openSetup();
        startTest(QStringLiteral("Jedna"), {0.0});
        answer(QStringLiteral("STRASSE"));
        QCOMPARE(label("F5LblSpatne"), QStringLiteral("1"));
        answer(QStringLiteral("DIE STRAßE"));
        QCOMPARE(label("F5LblSpravne"), QStringLiteral("1"));
    }

    void wholeTestEndsOnTheResultsPage() {
        openSetup();
        setNumbers(QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("4"));
        startTest(QStringLiteral("Jedna"), {0.0});
        answer(QStringLiteral("falsch"));
        QCOMPARE(label("F5LblZbyva"), QStringLiteral("4"));
        for (int i = 0; i < 3; ++i)
            answer(QStringLiteral("die Straße"));
        QCOMPARE(shownPage(), 5);
        answer(QStringLiteral("die straße"));
        QCOMPARE(shownPage(), 6);
        QCOMPARE(label("LblName"), QStringLiteral("Výsledky"));
        QCOMPARE(label("F6LblCelkem"), QStringLiteral("3"));
        QCOMPARE(label("F6LblSpravne"), QStringLiteral("4"));
        QCOMPARE(label("F6LblSpatne"), QStringLiteral("1"));
        QCOMPARE(label("F6LblProcent"), QStringLiteral(" 80%"));
        QCOMPARE(find<QLineEdit>("F6Txt")->text(), QStringLiteral("die Straße = ulice"));
        const QString record = QStringLiteral("14.3.2026   9:05:07   Název:Němčina - Jedna   Úspěšnost: 80%   "
                                              "Slovíček:3   Správně:4   Špatně:1");
        QCOMPARE(readBytes(path("Zkouseni.txt")), Cp1250::encode(record) + "\r\n");
        // The results page still offers the test page of the QuickClick window.
        QCOMPARE(m_w->quickClick()->page(), 2);

        m_w->testPages().results->F6Cmd2_Click();
        QCOMPARE(shownPage(), 2);
        QCOMPARE(m_w->quickClick()->page(), 1);
        QCOMPARE(find<QComboBox>("F2Cmbbx(1)")->currentText(), QStringLiteral("Jedna"));
        QVERIFY(find<QLineEdit>("F6Txt")->text().isEmpty());
        // The same test again appends a second record.
        m_messages->answer(MessageBox::Answer::Yes);
        setup()->F2CmdOk_Click();
        for (int i = 0; i < 3; ++i)
            answer(QStringLiteral("die Straße"));
        QCOMPARE(label("F6LblProcent"), QStringLiteral(" 100%"));
        QVERIFY(find<QLineEdit>("F6Txt")->text().isEmpty());
        QCOMPARE(readBytes(path("Zkouseni.txt")).count("\r\n"), 2);
        m_w->testPages().results->F6Cmd1_Click();
        QCOMPARE(shownPage(), 1);
    }

    void worstPairIsTheFirstWithTheHighestCount() {
        openSetup();
        setMode(1);
        setNumbers(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("3"));
        // pair 1 wrong (count 2), pair 2 wrong (count 2): the first stays; pair 2 wrong again (3) wins.
        startTest(QStringLiteral("Rodina"), {0.0, 0.3, 0.3, 0.0});
        answer(QStringLiteral("x"));
        QCOMPARE(m_state->worstPair.pair, 1);
        answer(QStringLiteral("x"));
        QCOMPARE(m_state->worstPair.pair, 1);
        answer(QStringLiteral("x"));
        QCOMPARE(m_state->worstPair.pair, 2);
        QCOMPARE(m_state->worstPair.count, 3.0);
    }

    void stornoAbandonsTheTest() {
        openSetup();
        startTest(QStringLiteral("Rodina"), {0.0});
        test()->F5CmdStorno_Click(); // answered No
        QCOMPARE(m_messages->shown.last().text, QStringLiteral("Opravdu chcete ukončit lekci?"));
        QCOMPARE(m_messages->shown.last().icon, MessageBox::Icon::Exclamation);
        QCOMPARE(shownPage(), 5);
        m_messages->answer(MessageBox::Answer::Yes);
        test()->F5CmdStorno_Click();
        QCOMPARE(shownPage(), 1);
        QCOMPARE(m_w->quickClick()->page(), 1);
        QVERIFY(!QFile::exists(path("Zkouseni.txt")));
    }

    void enterInTheAnswerBoxAnswers() {
        openSetup();
        startTest(QStringLiteral("Rodina"), {0.0});
        test()->answerBox()->setText(QStringLiteral("der Vater"));
        QTest::keyClick(test()->answerBox(), Qt::Key_Return);
        QCOMPARE(label("F5LblSpravne"), QStringLiteral("1"));
        // The question box takes no typing.
        QTest::keyClicks(find<QLineEdit>("F5TxtJaz1"), "abc");
        QVERIFY(!find<QLineEdit>("F5TxtJaz1")->text().contains(QLatin1String("abc")));
    }

    void quickClickCharactersGoToTheCaret() {
        openSetup();
        startTest(QStringLiteral("Rodina"), {0.0});
        AnswerBox* box = test()->answerBox();
        box->setText(QStringLiteral("Mdchen"));
        box->setCursorPosition(1);
        m_w->quickClick()->findChild<QPushButton*>(QStringLiteral("F2CmdA"))->click();
        QCOMPARE(box->text(), QStringLiteral("Mädchen"));
        box->setSelection(0, 7);
        m_w->quickClick()->findChild<QPushButton*>(QStringLiteral("F2CmdApostr"))->click();
        QCOMPARE(box->text(), QStringLiteral("'"));
    }

    void pickingPairs() {
        openSetup();
        chooseLesson(QStringLiteral("Rodina"));
        m_messages->answer(MessageBox::Answer::No);
        setup()->F2CmdOk_Click();
        QCOMPARE(shownPage(), 9);
        auto* list = find<QListWidget>("F9Lst");
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->item(0)->text(), QStringLiteral("otec, táta = der Vater"));
        QCOMPARE(list->item(2)->text(), QStringLiteral("bratr = der Bruder, der Bub"));
        QVERIFY(list->selectedItems().isEmpty());
        QVERIFY(!find<QWidget>("ShpRam")->isHidden()); // the interrupted start stays at 20 %

        // OK with nothing picked is refused on the page.
        m_messages->shown.clear();
        m_w->testPages().selection->F9CmdOK_Click();
        QCOMPARE(m_messages->shown.size(), 1);
        QCOMPARE(shownPage(), 9);

        list->item(1)->setSelected(true);
        list->item(3)->setSelected(true);
        m_rng->values = {0.6};
        m_w->testPages().selection->F9CmdOK_Click();
        QCOMPARE(shownPage(), 5);
        QCOMPARE(m_state->wordLists.PairCount, 2);
        QCOMPARE(label("F5LblCelkem"), QStringLiteral("2"));
        QCOMPARE(m_state->wordLists.CizAlt(1, 1), QStringLiteral("die Mutter"));
        QCOMPARE(m_state->wordLists.CizAlt(2, 1), QStringLiteral("die Schwester"));
        QCOMPARE(find<QLineEdit>("F5TxtJaz1")->text(), QStringLiteral("sestra"));
        QCOMPARE(label("LblName"), QStringLiteral("Němčina - Rodina"));
        QVERIFY(!m_state->selectionDone);
    }

    void stornoOnSelectionReturnsToSetup() {
        openSetup();
        chooseLesson(QStringLiteral("Rodina"));
        m_messages->answer(MessageBox::Answer::No);
        setup()->F2CmdOk_Click();
        m_w->testPages().selection->F9CmdStorno_Click();
        QCOMPARE(shownPage(), 2);
        QCOMPARE(find<QListWidget>("F9Lst")->count(), 0);
        QCOMPARE(find<QComboBox>("F2Cmbbx(1)")->currentText(), QStringLiteral("Rodina"));
        // OK asks again whether to test all pairs.
        m_messages->shown.clear();
        m_messages->answer(MessageBox::Answer::Yes);
        m_rng->values = {0.0};
        setup()->F2CmdOk_Click();
        QCOMPARE(m_messages->texts().first(), QStringLiteral("Chcete vybrat všechna slovíčka z lekce ke zkoušení?"));
        QCOMPARE(m_state->wordLists.PairCount, 4);
    }

    void loadingFailuresLeaveAUsableProgram_data() {
        QTest::addColumn<QString>("lesson");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing lesson file") << "Chybí"
                                             << "Chyba programu číslo: 4 (NaplnSlova)\r\nChcete ukončit aplikaci?";
        QTest::newRow("eleven alternatives") << "Přetížená"
                                             << "Chyba programu číslo: 5 (DoPlechovkyCz)\r\nChcete ukončit aplikaci?";
    }
    void loadingFailuresLeaveAUsableProgram() {
        QFETCH(QString, lesson);
        QFETCH(QString, message);
        QSignalSpy ended(m_w.get(), &FrmHl::programEnded);
        openSetup();
        startTest(lesson, {0.0});
        QCOMPARE(m_messages->shown.last().text, message);
        QCOMPARE(m_messages->shown.last().title, QStringLiteral("NoName"));
        QCOMPARE(m_messages->shown.last().icon, MessageBox::Icon::Critical);
        QCOMPARE(shownPage(), 2);
        QVERIFY(find<QWidget>("ShpRam")->isHidden());
        QCOMPARE(ended.count(), 0);
        // The page goes on working: the next start takes another lesson.
        choose("F2Cmbbx(1)", QStringLiteral("Rodina"));
        m_messages->answer(MessageBox::Answer::Yes);
        setup()->F2CmdOk_Click();
        QCOMPARE(shownPage(), 5);
    }

    void yesInALoadingTrapEndsTheProgram() {
        QSignalSpy ended(m_w.get(), &FrmHl::programEnded);
        openSetup();
        chooseLesson(QStringLiteral("Chybí"));
        m_messages->answer(MessageBox::Answer::Yes);
        m_messages->answer(MessageBox::Answer::Yes);
        setup()->F2CmdOk_Click();
        QCOMPARE(ended.count(), 1);
    }

    void emptyLessonIsRefused() {
        openSetup();
        startTest(QStringLiteral("Prázdná"), {0.0});
        QCOMPARE(m_messages->shown.last().text, QStringLiteral("Vybraná lekce neobsahuje žádnou dvojici slovíček."));
        QCOMPARE(shownPage(), 2);
        QCOMPARE(m_rng->draws, 0);
    }

    void unwritableLogStillShowsResults() {
        QDir(m_tmp->path()).mkdir(QStringLiteral("Zkouseni.txt"));
        openSetup();
        setNumbers(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2"));
        startTest(QStringLiteral("Jedna"), {0.0});
        answer(QStringLiteral("die Straße"));
        QCOMPARE(shownPage(), 6);
        QVERIFY(m_messages->shown.last().text.contains(QLatin1String("Zkouseni.txt")));
        QCOMPARE(m_messages->shown.last().icon, MessageBox::Icon::Critical);
    }

    // Pictures of the pages for a person to look at: saved only where MEMORAN_SHOTS names a folder.
    void screenshots() {
        const QString folder = qEnvironmentVariable("MEMORAN_SHOTS");
        if (folder.isEmpty())
            QSKIP("MEMORAN_SHOTS is not set");
        QDir().mkpath(folder);
        auto save = [&](const QString& name) {
            QVERIFY(m_w->grab().save(folder + u'/' + name + QStringLiteral(".png")));
        };
        openSetup();
        chooseLesson(QStringLiteral("Rodina"));
        save(QStringLiteral("page2-setup"));
        m_messages->answer(MessageBox::Answer::No);
        setup()->F2CmdOk_Click();
        find<QListWidget>("F9Lst")->item(1)->setSelected(true);
        save(QStringLiteral("page9-selection"));
        m_w->testPages().selection->F9CmdStorno_Click();
        setNumbers(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2"));
        startTest(QStringLiteral("Rodina"), {0.0, 0.3, 0.6, 0.9});
        test()->answerBox()->setText(QStringLiteral("der Va"));
        save(QStringLiteral("page5-test"));
        QVERIFY(m_w->quickClick()->grab().save(folder + QStringLiteral("/quickclick-test.png")));
        answer(QStringLiteral("der Vati"));
        for (int i = 0; i < 100; ++i)
            m_rng->values.push_back((i % 4) * 0.25); // every pair comes round
        while (shownPage() == 5)
            answer(
                TestEngine::expectedAlternatives(m_state->wordLists, m_state->currentPair, m_state->direction).first());
        save(QStringLiteral("page6-results"));
    }
};

QTEST_MAIN(TestRoad)
#include "tst_testpages.moc"
