#include "FixedSources.h"

#include "app/AppState.h"
#include "hints/AnswerBox.h"
#include "hints/FrmMsg.h"
#include "hints/Hints.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// One stroke on the keyboard, with the text the platform gives it; or, with commit set, a letter
// composed by an input method.
struct Stroke {
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers;
    QString text;
    bool commit = false;
};
using Strokes = QList<Stroke>;

Stroke key(Qt::Key code, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return {code, modifiers, text};
}
Stroke ctrl(Qt::Key code, const QString& text) {
    return key(code, text, Qt::ControlModifier);
}
Stroke composed(const QString& text) {
    return {Qt::Key_unknown, Qt::NoModifier, text, true};
}

void type(QWidget* widget, const Strokes& strokes) {
    for (const Stroke& stroke : strokes) {
        if (stroke.commit) {
            QInputMethodEvent event;
            event.setCommitString(stroke.text);
            QApplication::sendEvent(widget, &event);
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, stroke.key, stroke.text, stroke.modifiers);
        }
    }
}

// Everything one test needs: its own data directory, scripted draws, and the test page's question
// and answer boxes on a window that the hint windows belong to.
struct Fixture {
    QTemporaryDir dir;
    DataDir dataDir{dir.path()};
    ScriptedRandom random;
    FixedClock clock;
    AppState state{dataDir, random, clock};
    QWidget host;
    QLineEdit* question = new QLineEdit(&host);
    AnswerBox* answer = new AnswerBox(&host);

    Hints::Context context() { return {&host, state, question, answer}; }
    void load(const QStringList& pairLines) {
        state.wordLists.clear();
        for (const QString& line : pairLines)
            state.wordLists.addPairLine(line);
    }
};

// What a hint window showed when it came up.
struct Seen {
    QString heading;
    QColor headingColor;
    QString good;
    bool goodShown = false;
    QString text;
    QStringList parts;
    QString sentence;
    QString mask;
    QString word;
    QStringList options;
    int checkedOption = -1;
};

Seen look(const FrmMsg& w) {
    Seen seen;
    seen.heading = w.LblNadpis()->text();
    seen.headingColor = w.LblNadpis()->palette().color(QPalette::WindowText);
    seen.good = w.LblGood()->text();
    seen.goodShown = !w.LblGood()->isHidden();
    seen.text = w.LblText()->text();
    for (const auto part : {FrmMsg::Part::DelkaSlova, FrmMsg::Part::Moznosti, FrmMsg::Part::Zmena}) {
        if (w.partShown(part))
            seen.parts.append(QString::fromLatin1(QMetaEnum::fromType<FrmMsg::Part>().valueToKey(int(part))));
    }
    seen.sentence = w.LblPocetPism()->text();
    seen.mask = w.Pism()->text();
    seen.word = w.LblSlovo()->text();
    for (int i = 0; i < FrmMsg::kOptionCount; ++i) {
        seen.options.append(w.optionCaption(i));
        if (w.findChild<QRadioButton*>(QStringLiteral("Opt(%1)").arg(i))->isChecked())
            seen.checkedOption = i;
    }
    return seen;
}

// Stands in for the user of every hint window shown while it lives: notes what the window showed,
// then acts.
class User {
public:
    explicit User(std::function<void(FrmMsg&)> act) {
        FrmMsg::setShowHook([this, act = std::move(act)](FrmMsg& w) {
            seen.append(look(w));
            act(w);
        });
    }
    ~User() { FrmMsg::setShowHook({}); }
    User(const User&) = delete;
    User& operator=(const User&) = delete;

    QList<Seen> seen;
};

QList<FrmMsg*> hintWindows() {
    QList<FrmMsg*> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* msg = qobject_cast<FrmMsg*>(window))
            windows.append(msg);
    }
    return windows;
}

// Acts as the user of the next real hint window from inside its modal loop, trying again while it
// is not up. A window the action leaves open is closed, so a failed check cannot hang the test.
void answerNextWindow(std::function<void(FrmMsg&)> act, std::shared_ptr<bool> seen, int attempts = 50) {
    QTimer::singleShot(0, [=] {
        auto* window = qobject_cast<FrmMsg*>(QApplication::activeModalWidget());
        if (!window) {
            if (attempts > 1)
                answerNextWindow(act, seen, attempts - 1);
            return;
        }
        *seen = true;
        QPointer<FrmMsg> guard(window);
        act(*window);
        if (guard && guard->isVisible())
            guard->reject();
    });
}

// Pairs of the five-options tests: the foreign side is "F" + n, the Czech side "C" + n.
QStringList numberedPairs(int count) {
    QStringList lines;
    for (int n = 1; n <= count; ++n)
        lines.append(u"F%1*C%1*"_s.arg(n));
    return lines;
}

// The draw that gives pair n of count pairs.
double drawFor(int n, int count) {
    return (n - 1 + 0.5) / count;
}

} // namespace

Q_DECLARE_METATYPE(Stroke)
Q_DECLARE_METATYPE(Strokes)

class TestHints : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void letterHints_data();
    void letterHints();
    void maskKeys_data();
    void maskKeys();
    void fiveOptions_data();
    void fiveOptions();
    void feedback_data();
    void feedback();
    void windowLivesForOneUse_data();
    void windowLivesForOneUse();
    void realWindow_data();
    void realWindow();
    void answerBoxKeys_data();
    void answerBoxKeys();
    void answerBoxKeysBeatShortcuts();
    void screenshots();

private:
    std::unique_ptr<Fixture> m_f;
};

void TestHints::init() {
    m_f = std::make_unique<Fixture>();
}

void TestHints::cleanup() {
    FrmMsg::setShowHook({});
    while (QWidget* modal = QApplication::activeModalWidget())
        delete modal;
    m_f.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList leftovers;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        leftovers.append(QString::fromLatin1(window->metaObject()->className()) + u' ' + window->objectName());
        delete window;
    }
    QVERIFY2(leftovers.isEmpty(), qPrintable(u"windows left over: "_s + leftovers.join(u", ")));
}

void TestHints::letterHints_data() {
    QTest::addColumn<bool>("firstLetter"); // else word length
    QTest::addColumn<QString>("pair");     // the pair asked
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("typed"); // character codes as they reach Pism_KeyPress
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("mask");     // when the window comes up
    QTest::addColumn<QString>("handedIn"); // the mask after typing, which OK puts into the answer box
    QTest::addColumn<QString>("letters");  // HintLetters afterwards

    const QString length5 = u"Hledané slovo má celkem  5 znaků"_s;
    QTest::newRow("length: five letters")
        << false << u"Stadt*město*"_s << 1 << u"ab"_s << length5 << u"-----"_s << u"ab---"_s << u"ab"_s;
    QTest::newRow("length: Backspace changes nothing")
        << false << u"Stadt*město*"_s << 1 << u"a\bb\b"_s << length5 << u"-----"_s << u"ab---"_s << u"ab"_s;
    QTest::newRow("length: typing past the end grows the mask")
        << false << u"Uhr*hodiny*"_s << 1 << u"Uhren"_s << u"Hledané slovo má celkem  3 znaků"_s << u"---"_s
        << u"Uhren"_s << u"Uhren"_s;
    QTest::newRow("length: two digits") << false << u"Geschwindigkeit*rychlost*"_s << 1 << QString()
                                        << u"Hledané slovo má celkem  15 znaků"_s << u"-"_s.repeated(15)
                                        << u"-"_s.repeated(15) << QString();
    QTest::newRow("length: first alternative, Czech asked")
        << false << u"Bahnhof*nádraží+stanice*"_s << 2 << u"ná"_s << u"Hledané slovo má celkem  7 znaků"_s
        << u"-------"_s << u"ná-----"_s << u"ná"_s;
    QTest::newRow("length: empty word") << false << u"Haus**"_s << 2 << u"x"_s << u"Hledané slovo má celkem  0 znaků"_s
                                        << QString() << u"x"_s << u"x"_s;

    QTest::newRow("first: five letters") << true << u"Stadt*město*"_s << 1 << u"t"_s
                                         << u"Hledané slovo začíná písmenem S."_s << u"S----"_s << u"St---"_s
                                         << u"St"_s;
    QTest::newRow("first: Backspace changes nothing")
        << true << u"Stadt*město*"_s << 1 << u"\b\b"_s << u"Hledané slovo začíná písmenem S."_s << u"S----"_s
        << u"S----"_s << u"S"_s;
    QTest::newRow("first: typing past the end grows the mask")
        << true << u"Ei*vejce*"_s << 1 << u"ier"_s << u"Hledané slovo začíná písmenem E."_s << u"E-"_s << u"Eier"_s
        << u"Eier"_s;
    QTest::newRow("first: first alternative, Czech asked")
        << true << u"Bahnhof+Station*nádraží*"_s << 2 << u"á"_s << u"Hledané slovo začíná písmenem n."_s << u"n------"_s
        << u"ná-----"_s << u"ná"_s;
    QTest::newRow("first: empty word") << true << u"Haus**"_s << 2 << u"x"_s << u"Hledané slovo začíná písmenem ."_s
                                       << QString() << u"x"_s << u"x"_s;
}

void TestHints::letterHints() {
    QFETCH(bool, firstLetter);
    QFETCH(QString, pair);
    QFETCH(int, direction);
    QFETCH(QString, typed);
    QFETCH(QString, sentence);
    QFETCH(QString, mask);
    QFETCH(QString, handedIn);
    QFETCH(QString, letters);

    m_f->load({u"Hund*pes*"_s, pair});
    m_f->state.currentPair = 2;
    m_f->state.direction = direction;
    m_f->state.hintLetters = u"xyz"_s; // left by an earlier hint
    m_f->answer->setText(u"typed before"_s);
    QString typedMask;
    User user([&](FrmMsg& w) {
        for (const QChar c : typed)
            w.Pism_KeyPress(c);
        typedMask = w.Pism()->text();
        w.CmdOK_Click();
    });
    if (firstLetter)
        Hints::firstLetter(m_f->context());
    else
        Hints::wordLength(m_f->context());

    QCOMPARE(user.seen.size(), 1);
    const Seen& seen = user.seen.first();
    QCOMPARE(seen.heading, firstLetter ? u"První písmeno"_s : u"Délka slova"_s);
    QCOMPARE(seen.parts, QStringList{u"DelkaSlova"_s});
    QCOMPARE(seen.sentence, sentence);
    QCOMPARE(seen.mask, mask);
    QCOMPARE(typedMask, handedIn);
    QCOMPARE(m_f->answer->text(), handedIn);
    QCOMPARE(m_f->state.hintLetters, letters);
    QCOMPARE(m_f->random.draws, 0);
}

void TestHints::maskKeys_data() {
    QTest::addColumn<Strokes>("strokes"); // typed into the mask of "Stadt", then Enter
    QTest::addColumn<QString>("handedIn");

    QTest::newRow("letters") << Strokes{key(Qt::Key_A, u"a"_s), key(Qt::Key_B, u"b"_s)} << u"ab---"_s;
    QTest::newRow("capital letters") << Strokes{key(Qt::Key_S, u"S"_s, Qt::ShiftModifier)} << u"S----"_s;
    QTest::newRow("Backspace and Delete take nothing back")
        << Strokes{key(Qt::Key_A, u"a"_s), key(Qt::Key_Backspace, u"\b"_s), key(Qt::Key_Delete, u"\x7f"_s),
                   key(Qt::Key_B, u"b"_s)}
        << u"ab---"_s;
    QTest::newRow("caret keys, cut and paste edit nothing") << Strokes{key(Qt::Key_A, u"a"_s),
                                                                       key(Qt::Key_Home, QString()),
                                                                       key(Qt::Key_B, u"b"_s),
                                                                       ctrl(Qt::Key_V, u"\x16"_s),
                                                                       key(Qt::Key_End, QString(), Qt::ShiftModifier),
                                                                       ctrl(Qt::Key_X, u"x"_s),
                                                                       ctrl(Qt::Key_Z, u"z"_s)}
                                                            << u"ab---"_s;
    QTest::newRow("Ctrl letters type German letters")
        << Strokes{ctrl(Qt::Key_A, u"\x01"_s), ctrl(Qt::Key_S, u"s"_s), ctrl(Qt::Key_Q, u"q"_s)} << u"äß'--"_s;
    QTest::newRow("other Ctrl keys type nothing")
        << Strokes{ctrl(Qt::Key_B, u"\x02"_s), ctrl(Qt::Key_K, u"k"_s)} << u"-----"_s;
    QTest::newRow("letters beyond ASCII")
        << Strokes{key(Qt::Key_unknown, u"ů"_s), key(Qt::Key_Adiaeresis, u"ä"_s)} << u"ůä---"_s;
    QTest::newRow("AltGr letters (Ctrl+Alt)")
        << Strokes{key(Qt::Key_Q, u"\\"_s, Qt::ControlModifier | Qt::AltModifier)} << u"\\----"_s;
    QTest::newRow("composed letters") << Strokes{composed(u"ü"_s), composed(u"ße"_s)} << u"üße--"_s;
}

void TestHints::maskKeys() {
    QFETCH(Strokes, strokes);
    QFETCH(QString, handedIn);

    QGuiApplication::clipboard()->setText(u"zzz"_s);
    m_f->load({u"Stadt*město*"_s});
    m_f->state.currentPair = 1;
    QString maskBeforeEnter;
    User user([&](FrmMsg& w) {
        type(w.Pism(), strokes);
        maskBeforeEnter = w.Pism()->text();
        QTest::keyClick(w.Pism(), Qt::Key_Return);
    });
    Hints::wordLength(m_f->context());

    QCOMPARE(maskBeforeEnter, handedIn);
    QCOMPARE(m_f->answer->text(), handedIn); // Enter was OK
}

void TestHints::fiveOptions_data() {
    QTest::addColumn<int>("pairCount");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QList<double>>("draws");
    QTest::addColumn<QStringList>("options"); // empty: no window
    QTest::addColumn<int>("pick");            // option clicked before OK; -1 none, -2 closed without OK
    QTest::addColumn<QString>("handedIn");

    // Pair 3 is asked. The draws meet the asked pair and a pair already taken, which are drawn again.
    const QList<double> others{drawFor(3, 6), drawFor(1, 6), drawFor(1, 6), drawFor(2, 6),
                               drawFor(4, 6), drawFor(6, 6), drawFor(5, 6)};
    auto with = [&](double placeDraw) { return others + QList<double>{placeDraw}; };

    QTest::newRow("five pairs: nothing") << 5 << 1 << QList<double>{0.1, 0.3, 0.5, 0.7, 0.9} << QStringList() << -1
                                         << u"old"_s;
    QTest::newRow("foreign asked, OK hands in the first option")
        << 6 << 1 << with(0.8) << QStringList{u"F1"_s, u"F2"_s, u"F4"_s, u"F3"_s, u"F5"_s} << -1 << u"F1"_s;
    QTest::newRow("foreign asked, the right one picked")
        << 6 << 1 << with(0.8) << QStringList{u"F1"_s, u"F2"_s, u"F4"_s, u"F3"_s, u"F5"_s} << 3 << u"F3"_s;
    QTest::newRow("foreign asked, lowest place draw")
        << 6 << 1 << with(0.0) << QStringList{u"F3"_s, u"F2"_s, u"F4"_s, u"F6"_s, u"F5"_s} << -1 << u"F3"_s;
    QTest::newRow("foreign asked, highest place draw: never the fifth")
        << 6 << 1 << with(0.9999) << QStringList{u"F1"_s, u"F2"_s, u"F4"_s, u"F3"_s, u"F5"_s} << 4 << u"F5"_s;
    QTest::newRow("Czech asked, lowest place draw: never the first")
        << 6 << 2 << with(0.0) << QStringList{u"C1"_s, u"C3"_s, u"C4"_s, u"C6"_s, u"C5"_s} << -1 << u"C1"_s;
    QTest::newRow("Czech asked, highest place draw")
        << 6 << 2 << with(0.9999) << QStringList{u"C1"_s, u"C2"_s, u"C4"_s, u"C6"_s, u"C3"_s} << 4 << u"C3"_s;
    QTest::newRow("closed without OK: nothing handed in")
        << 6 << 1 << with(0.8) << QStringList{u"F1"_s, u"F2"_s, u"F4"_s, u"F3"_s, u"F5"_s} << -2 << u"old"_s;
}

void TestHints::fiveOptions() {
    QFETCH(int, pairCount);
    QFETCH(int, direction);
    QFETCH(QList<double>, draws);
    QFETCH(QStringList, options);
    QFETCH(int, pick);
    QFETCH(QString, handedIn);

    m_f->load(numberedPairs(pairCount));
    m_f->state.currentPair = 3;
    m_f->state.direction = direction;
    m_f->random.values.assign(draws.begin(), draws.end());
    m_f->question->setText(direction == 2 ? u"F3"_s : u"C3"_s);
    m_f->answer->setText(u"old"_s);
    User user([&](FrmMsg& w) {
        if (pick >= 0)
            w.findChild<QRadioButton*>(u"Opt(%1)"_s.arg(pick))->click();
        if (pick == -2)
            w.close();
        else
            w.CmdOK_Click();
    });
    Hints::fiveOptions(m_f->context());

    QCOMPARE(m_f->answer->text(), handedIn);
    if (options.isEmpty()) {
        QVERIFY(user.seen.isEmpty());
        QCOMPARE(m_f->random.draws, 0);
        return;
    }
    QCOMPARE(user.seen.size(), 1);
    const Seen& seen = user.seen.first();
    QCOMPARE(seen.heading, u"Pět možností"_s);
    QCOMPARE(seen.parts, QStringList{u"Moznosti"_s});
    QCOMPARE(seen.word, m_f->question->text());
    QCOMPARE(seen.options, options);
    QCOMPARE(seen.checkedOption, 0);
    QCOMPARE(m_f->random.draws, draws.size());
}

void TestHints::feedback_data() {
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("good");
    QTest::addColumn<QString>("text");

    QTest::newRow("wrong answer") << u"Chyba"_s << QColor(255, 0, 0) << u"Správně:"_s << u"der Bahnhof, die Station"_s;
    QTest::newRow("quick answer") << u"Rychlá odpověď"_s << QColor(0, 0, 255) << u"Slovo:"_s << u"nádraží"_s;
}

void TestHints::feedback() {
    QFETCH(QString, heading);
    QFETCH(QColor, color);
    QFETCH(QString, good);
    QFETCH(QString, text);

    User user([](FrmMsg& w) { w.CmdOK_Click(); });
    Hints::showFeedback(&m_f->host, heading, color, good, text);

    QCOMPARE(user.seen.size(), 1);
    const Seen& seen = user.seen.first();
    QCOMPARE(seen.heading, heading);
    QCOMPARE(seen.headingColor, color);
    QCOMPARE(seen.good, good);
    QVERIFY(seen.goodShown);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.parts, QStringList());
}

void TestHints::windowLivesForOneUse_data() {
    QTest::addColumn<int>("use"); // 0 feedback, 1 first letter, 2 word length, 3 five options
    QTest::addColumn<QStringList>("parts");

    QTest::newRow("feedback") << 0 << QStringList();
    QTest::newRow("first letter") << 1 << QStringList{u"DelkaSlova"_s};
    QTest::newRow("word length") << 2 << QStringList{u"DelkaSlova"_s};
    QTest::newRow("five options") << 3 << QStringList{u"Moznosti"_s};
}

// Every use starts from the window's first state, whatever the use before it changed, and leaves
// no window behind.
void TestHints::windowLivesForOneUse() {
    QFETCH(int, use);
    QFETCH(QStringList, parts);

    m_f->load(numberedPairs(8));
    m_f->state.currentPair = 1;
    auto run = [&] {
        switch (use) {
        case 0:
            Hints::showFeedback(&m_f->host, u"Chyba"_s, Qt::red, u"Správně:"_s, u"F1"_s);
            break;
        case 1:
            Hints::firstLetter(m_f->context());
            break;
        case 2:
            Hints::wordLength(m_f->context());
            break;
        default:
            Hints::fiveOptions(m_f->context());
        }
    };
    QPointer<FrmMsg> used;
    User user([&](FrmMsg& w) {
        used = &w;
        w.findChild<QRadioButton*>(u"Opt(3)"_s)->setChecked(true);
        w.showPart(FrmMsg::Part::Zmena);
        w.CmdOK_Click();
    });
    for (int round = 0; round < 2; ++round) {
        m_f->random.values = {0.3, 0.4, 0.5, 0.6, 0.7, 0.9};
        run();
        QVERIFY(used.isNull());
        QVERIFY(hintWindows().isEmpty());
    }
    QCOMPARE(user.seen.size(), 2);
    QCOMPARE(user.seen.at(1).checkedOption, 0);
    QCOMPARE(user.seen.at(1).parts, parts);
}

void TestHints::realWindow_data() {
    QTest::addColumn<Strokes>("strokes"); // into the mask of "Stadt"
    QTest::addColumn<bool>("clickOk");    // else the strokes end the window
    QTest::addColumn<QString>("handedIn");

    QTest::newRow("Enter in the mask") << Strokes{key(Qt::Key_S, u"S"_s, Qt::ShiftModifier), key(Qt::Key_T, u"t"_s),
                                                  key(Qt::Key_Return, u"\r"_s)}
                                       << false << u"St---"_s;
    QTest::newRow("OK button") << Strokes{key(Qt::Key_S, u"s"_s)} << true << u"s----"_s;
    QTest::newRow("Escape hands nothing in")
        << Strokes{key(Qt::Key_S, u"s"_s), key(Qt::Key_Escape, u"\x1b"_s)} << false << u"old"_s;
}

void TestHints::realWindow() {
    QFETCH(Strokes, strokes);
    QFETCH(bool, clickOk);
    QFETCH(QString, handedIn);

    m_f->load({u"Stadt*město*"_s});
    m_f->state.currentPair = 1;
    m_f->answer->setText(u"old"_s);
    m_f->host.setGeometry(20, 20, 200, 150);
    m_f->host.show();

    auto seen = std::make_shared<bool>(false);
    QPointer<FrmMsg> window;
    QString title;
    QPoint offCentre;
    QString focus;
    answerNextWindow(
        [&](FrmMsg& w) {
            window = &w;
            title = w.windowTitle();
            offCentre = w.frameGeometry().center() - w.screen()->availableGeometry().center();
            focus = w.focusWidget() ? w.focusWidget()->objectName() : QString();
            type(w.Pism(), strokes);
            if (clickOk)
                QTest::mouseClick(w.findChild<QPushButton*>(u"CmdOK"_s), Qt::LeftButton);
        },
        seen);
    Hints::wordLength(m_f->context());

    QVERIFY(*seen);
    QCOMPARE(title, u"Memoran 2002"_s);
    // The frame, unknown until the window is first shown, may shift it by its width.
    QVERIFY2(qAbs(offCentre.x()) <= 3 && qAbs(offCentre.y()) <= 3,
             qPrintable(u"off centre by %1, %2"_s.arg(offCentre.x()).arg(offCentre.y())));
    QCOMPARE(focus, u"Pism"_s); // typing goes into the mask at once
    QCOMPARE(m_f->answer->text(), handedIn);
    QVERIFY(window.isNull());
    QVERIFY(hintWindows().isEmpty());
}

void TestHints::answerBoxKeys_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("selectionStart"); // -1: no selection, caret at cursor
    QTest::addColumn<int>("cursor");         // or selection length
    QTest::addColumn<Stroke>("stroke");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("enters");
    QTest::addColumn<int>("firstLetters");

    QTest::newRow("Ctrl+S at the caret") << u"Strae"_s << -1 << 4 << ctrl(Qt::Key_S, u"s"_s) << u"Straße"_s << 0 << 0;
    QTest::newRow("Ctrl+A replaces the selection")
        << u"Bar"_s << 1 << 1 << ctrl(Qt::Key_A, u"a"_s) << u"Bär"_s << 0 << 0;
    QTest::newRow("Ctrl+A as X11 sends it") << u"Br"_s << -1 << 1 << ctrl(Qt::Key_A, u"\x01"_s) << u"Bär"_s << 0 << 0;
    QTest::newRow("Ctrl+O at the start") << u"l"_s << -1 << 0 << ctrl(Qt::Key_O, u"o"_s) << u"öl"_s << 0 << 0;
    QTest::newRow("Ctrl+U replaces all") << u"xyz"_s << 0 << 3 << ctrl(Qt::Key_U, u"\x15"_s) << u"ü"_s << 0 << 0;
    QTest::newRow("Ctrl+Q at the end") << u"Peters"_s << -1 << 5 << ctrl(Qt::Key_Q, u"q"_s) << u"Peter's"_s << 0 << 0;
    QTest::newRow("Ctrl+Shift+A") << u""_s << -1 << 0 << key(Qt::Key_A, u"A"_s, Qt::ControlModifier | Qt::ShiftModifier)
                                  << u"ä"_s << 0 << 0;
    QTest::newRow("Ctrl+Y asks for the first letter")
        << u"Sta"_s << -1 << 3 << ctrl(Qt::Key_Y, u"\x19"_s) << u"Sta"_s << 0 << 1;
    QTest::newRow("Enter answers") << u"Stadt"_s << -1 << 5 << key(Qt::Key_Return, u"\r"_s) << u"Stadt"_s << 1 << 0;
    QTest::newRow("keypad Enter answers")
        << u"Stadt"_s << -1 << 5 << key(Qt::Key_Enter, u"\r"_s, Qt::KeypadModifier) << u"Stadt"_s << 1 << 0;
    QTest::newRow("a letter types") << u"Sadt"_s << -1 << 1 << key(Qt::Key_T, u"t"_s) << u"Stadt"_s << 0 << 0;
    QTest::newRow("ů typed with its text") << u"dm"_s << -1 << 1 << key(Qt::Key_unknown, u"ů"_s) << u"dům"_s << 0 << 0;
    QTest::newRow("ä typed with its text")
        << u"Bar"_s << 1 << 1 << key(Qt::Key_Adiaeresis, u"ä"_s) << u"Bär"_s << 0 << 0;
    QTest::newRow("AltGr+Q is not Ctrl+Q")
        << u"a"_s << -1 << 1 << key(Qt::Key_Q, u"\\"_s, Qt::ControlModifier | Qt::AltModifier) << u"a\\"_s << 0 << 0;
    QTest::newRow("Backspace still deletes")
        << u"Stadtt"_s << -1 << 6 << key(Qt::Key_Backspace, u"\b"_s) << u"Stadt"_s << 0 << 0;
}

void TestHints::answerBoxKeys() {
    QFETCH(QString, before);
    QFETCH(int, selectionStart);
    QFETCH(int, cursor);
    QFETCH(Stroke, stroke);
    QFETCH(QString, after);
    QFETCH(int, enters);
    QFETCH(int, firstLetters);

    AnswerBox* box = m_f->answer;
    box->setText(before);
    if (selectionStart >= 0)
        box->setSelection(selectionStart, cursor);
    else
        box->setCursorPosition(cursor);
    QSignalSpy entered(box, &AnswerBox::enterPressed);
    QSignalSpy asked(box, &AnswerBox::firstLetterRequested);
    type(box, {stroke});

    QCOMPARE(box->text(), after);
    QCOMPARE(entered.size(), enters);
    QCOMPARE(asked.size(), firstLetters);
}

// The window around the answer box may bind the same keys (save, select all, quit, redo): while the
// user types an answer, the box's meaning wins.
void TestHints::answerBoxKeysBeatShortcuts() {
    QWidget& host = m_f->host;
    QList<QShortcut*> shortcuts;
    for (const QKeySequence& keys :
         {QKeySequence(u"Ctrl+S"_s), QKeySequence(u"Ctrl+A"_s), QKeySequence(u"Ctrl+O"_s), QKeySequence(u"Ctrl+U"_s),
          QKeySequence(u"Ctrl+Q"_s), QKeySequence(u"Ctrl+Y"_s), QKeySequence(Qt::Key_Return)})
        shortcuts.append(new QShortcut(keys, &host));
    QList<std::shared_ptr<QSignalSpy>> spies;
    for (QShortcut* shortcut : shortcuts)
        spies.append(std::make_shared<QSignalSpy>(shortcut, &QShortcut::activated));
    host.show();
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    m_f->answer->setFocus();
    QSignalSpy entered(m_f->answer, &AnswerBox::enterPressed);
    QSignalSpy asked(m_f->answer, &AnswerBox::firstLetterRequested);

    for (const Qt::Key k : {Qt::Key_S, Qt::Key_A, Qt::Key_O, Qt::Key_U, Qt::Key_Q, Qt::Key_Y})
        QTest::keyClick(m_f->answer, k, Qt::ControlModifier);
    QTest::keyClick(m_f->answer, Qt::Key_Return);

    QCOMPARE(m_f->answer->text(), u"ßäöü'"_s);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(entered.size(), 1);
    for (int i = 0; i < spies.size(); ++i)
        QVERIFY2(spies.at(i)->isEmpty(), qPrintable(shortcuts.at(i)->key().toString()));
}

void TestHints::screenshots() {
    QList<std::pair<QString, QPixmap>> shots;
    auto grabNext = [&](const QString& name, std::function<void(FrmMsg&)> before) {
        auto seen = std::make_shared<bool>(false);
        answerNextWindow(
            [&shots, name, before](FrmMsg& w) {
                if (before)
                    before(w);
                shots.append({name, w.grab()});
                w.CmdOK_Click();
            },
            seen);
        return seen;
    };

    auto seen = grabNext(u"hint-feedback.png"_s, {});
    Hints::showFeedback(&m_f->host, u"Chyba"_s, QColor(255, 0, 0), u"Správně:"_s, u"der Bahnhof, die Station"_s);
    QVERIFY(*seen);

    m_f->load({u"der Bahnhof+die Station*nádraží*"_s, u"die Haltestelle*zastávka*"_s, u"der Flughafen*letiště*"_s,
               u"die Straßenbahn*tramvaj*"_s, u"das Fahrrad*kolo*"_s, u"die Fahrkarte*jízdenka*"_s});
    m_f->state.currentPair = 1;
    m_f->state.direction = 1;
    seen = grabNext(u"hint-word-length.png"_s, [](FrmMsg& w) { QTest::keyClicks(w.Pism(), "der B"); });
    Hints::wordLength(m_f->context());
    QVERIFY(*seen);

    m_f->question->setText(u"nádraží"_s);
    m_f->random.values = {drawFor(2, 6), drawFor(3, 6), drawFor(4, 6), drawFor(5, 6), drawFor(6, 6), 0.3};
    seen = grabNext(u"hint-five-options.png"_s, {});
    Hints::fiveOptions(m_f->context());
    QVERIFY(*seen);

    // The change of a pair, as the editors will set it up.
    seen = grabNext(u"hint-change.png"_s, {});
    auto* change = new FrmMsg(&m_f->host);
    change->LblNadpis()->setText(u"Změna"_s);
    change->TxtCiz()->setText(u"der Bahnhof+die Station"_s);
    change->TxtCze()->setText(u"nádraží"_s);
    change->showPart(FrmMsg::Part::Zmena);
    change->showModal();
    QVERIFY(*seen);

    QCOMPARE(shots.size(), 4);
    const QString folder = qEnvironmentVariable("MEMORAN_SHOTS");
    for (const auto& [name, picture] : shots) {
        QVERIFY2(!picture.isNull(), qPrintable(name));
        if (!folder.isEmpty()) {
            QVERIFY(QDir().mkpath(folder));
            QVERIFY2(picture.save(QDir(folder).filePath(name)), qPrintable(name));
        }
    }
}

QTEST_MAIN(TestHints)
#include "tst_hints.moc"
