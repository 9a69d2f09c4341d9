#include "Gui.h"
#include "ModalBoxes.h"
#include "Sandbox.h"

#include "core/AppState.h"
#include "core/TestSession.h"
#include "hints/Hints.h"
#include "ui/AnswerBox.h"
#include "ui/HintWindow.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using TestEngine::Direction;

namespace {

// A data directory, scripted draws, and the test page's question and answer boxes on a host window.
struct Fixture : Sandbox {
    QWidget host;
    QLineEdit* question = new QLineEdit(&host);
    AnswerBox* answer = new AnswerBox(&host);

    Hints::Context context() { return {&host, state.test, random, question, answer}; }
    // The session asks pair n of these lines, the given side shown.
    void ask(const QStringList& lines, int n, Direction direction = Direction::CzechShown) {
        TestSession& test = state.test;
        test.words().clear();
        for (const QString& line : lines)
            test.words().addPairLine(line);
        test.settings().answerMode = direction == Direction::ForeignShown ? AnswerMode::Czech : AnswerMode::Foreign;
        test.begin({});
        random.values = {(n - 0.5) / lines.size()};
        test.drawQuestion(random);
    }
};

void answerNextWindow(std::function<void(HintWindow&)> act) {
    answerNextWindow<HintWindow>(std::move(act));
}

// Pairs "Fn*Cn*", n from 1.
QStringList numbered(int count) {
    QStringList lines;
    for (int n = 1; n <= count; ++n)
        lines.append(u"F%1*C%1*"_s.arg(n));
    return lines;
}

// The draw that picks pair n of six.
constexpr auto draw = [](int n) { return (n - 0.5) / 6; };

// Ten alternatives of 60 characters, as the test page lists the right answers.
QString tenLongAlternatives() {
    QStringList alternatives;
    for (int i = 1; i <= 10; ++i)
        alternatives.append(
            u"%1 die Übertragung der Überwachungsaufgaben beim Etikettieren von Rindfleisch"_s.arg(i).left(60));
    return alternatives.join(u", "_s);
}
const QString kLongWord = u"Rindfleischetikettierungsüberwachungsaufgabenübertragungsgesetz"_s;

// The names of the controls of the use shown whose text does not fit: wider or taller than the
// control, reaching out of its frame or the window, lying over another one, or the window taller
// than the screen.
QStringList clippedControls(HintWindow& w) {
    QWidget* part = nullptr;
    for (const char* name : {"DelkaSlova", "Moznosti", "Zmena"}) {
        if (!w.control(QString::fromLatin1(name))->isHidden())
            part = w.control(QString::fromLatin1(name));
    }
    QList<QWidget*> shown;
    for (QWidget* c : w.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(c);
        const bool hasText = (label && !label->text().isEmpty()) || qobject_cast<QAbstractButton*>(c);
        const QRect area(c->mapTo(&w, QPoint()), c->size());
        const bool covered = part && !part->isAncestorOf(c) && area.intersects(part->geometry());
        if (hasText && c->isVisibleTo(&w) && !covered && !c->objectName().isEmpty())
            shown.append(c);
    }
    QStringList clipped;
    for (QWidget* c : shown) {
        const QSize need =
            c->hasHeightForWidth() ? QSize(c->minimumSizeHint().width(), c->heightForWidth(c->width())) : c->sizeHint();
        bool bad = need.width() > c->width() || need.height() > c->height();
        for (QWidget* p = c; p != &w; p = p->parentWidget())
            bad = bad || !p->parentWidget()->rect().contains(p->geometry());
        for (QWidget* other : shown) {
            bad =
                bad ||
                (other != c &&
                 QRect(c->mapTo(&w, QPoint()), c->size()).intersects(QRect(other->mapTo(&w, QPoint()), other->size())));
        }
        if (bad)
            clipped.append(c->objectName());
    }
    if (w.height() > w.screen()->availableGeometry().height())
        clipped.append(w.objectName());
    return clipped;
}

QRect caret(const QLineEdit& box) {
    return box.inputMethodQuery(Qt::ImCursorRectangle).toRect();
}

// Where a line edit that has never scrolled puts its caret: a box of the same font, wide enough for
// all of the text.
QRect unscrolledCaret(const QLineEdit& box, int position) {
    QLineEdit wide;
    wide.setFont(box.font());
    wide.resize(10000, box.height());
    wide.setText(box.text());
    wide.setCursorPosition(position);
    wide.grab(); // a line edit scrolls as it paints
    return caret(wide);
}

} // namespace

class TestHints : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> m_f;

private Q_SLOTS:
    void init() { m_f = std::make_unique<Fixture>(); }
    void cleanup() {
        HintWindow::setShowHook({});
        m_f.reset();
        const QStringList leftovers = deleteLeftoverWindows();
        QVERIFY2(leftovers.isEmpty(), qPrintable(u"windows left over: "_s + leftovers.join(u", ")));
    }

    void letterHints_data() {
        QTest::addColumn<bool>("firstLetter"); // else word length
        QTest::addColumn<QString>("pair");
        QTest::addColumn<Direction>("direction");
        QTest::addColumn<QString>("typed");        // keys typed into the mask; "\b" is Backspace
        QTest::addColumn<QStringList>("expected"); // sentence, mask, the typed mask that OK hands in

        QTest::newRow("length, Backspace changes nothing")
            << false << u"Stadt*město*"_s << Direction::CzechShown << u"a\bb\b"_s
            << QStringList{u"Hledané slovo má celkem  5 znaků"_s, u"-----"_s, u"ab---"_s};
        QTest::newRow("length, typing past the end grows the mask")
            << false << u"Uhr*hodiny*"_s << Direction::CzechShown << u"Uhren"_s
            << QStringList{u"Hledané slovo má celkem  3 znaků"_s, u"---"_s, u"Uhren"_s};
        QTest::newRow("first letter, Czech asked, first alternative")
            << true << u"Bahnhof*nádraží+stanice*"_s << Direction::ForeignShown << u"\bá"_s
            << QStringList{u"Hledané slovo začíná písmenem n."_s, u"n------"_s, u"ná-----"_s};
    }
    void letterHints() {
        QFETCH(bool, firstLetter);
        QFETCH(QString, pair);
        QFETCH(Direction, direction);
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);

        m_f->ask({u"Hund*pes*"_s, pair}, 2, direction);
        m_f->state.test.noteHint(HintKind::FirstLetter, u"xyz"_s); // left by an earlier hint
        QStringList shown;
        HintWindow::setShowHook([&](HintWindow& w) {
            shown = {w.LblNadpis()->text(), w.LblPocetPism()->text(), w.Pism()->text()};
            for (const QChar c : typed)
                c == u'\b' ? QTest::keyClick(w.Pism(), Qt::Key_Backspace) : type(w.Pism(), QString(c));
            click(&w, u"CmdOK"_s);
        });
        firstLetter ? Hints::firstLetter(m_f->context()) : Hints::wordLength(m_f->context());

        shown.append(m_f->answer->text());
        QCOMPARE(shown, QStringList{firstLetter ? u"První písmeno"_s : u"Délka slova"_s} + expected);
        QCOMPARE(m_f->state.test.hintLetters(), QString(expected.last()).remove(u'-'));
        QCOMPARE(m_f->state.test.answer(QString()).hint, firstLetter ? HintKind::FirstLetter : HintKind::WordLength);
    }

    void fiveOptions_data() {
        QTest::addColumn<Direction>("direction");
        QTest::addColumn<double>("placeDraw");    // where the right answer goes
        QTest::addColumn<QStringList>("options"); // empty: five pairs, no window

        QTest::newRow("five pairs: nothing") << Direction::CzechShown << 0.5 << QStringList();
        QTest::newRow("foreign asked: never the fifth")
            << Direction::CzechShown << 0.9999 << QStringList{u"F1"_s, u"F2"_s, u"F4"_s, u"F3"_s, u"F5"_s};
        QTest::newRow("Czech asked: never the first")
            << Direction::ForeignShown << 0.0 << QStringList{u"C1"_s, u"C3"_s, u"C4"_s, u"C6"_s, u"C5"_s};
    }
    void fiveOptions() {
        QFETCH(Direction, direction);
        QFETCH(double, placeDraw);
        QFETCH(QStringList, options);

        m_f->ask(numbered(options.isEmpty() ? 5 : 6), 3, direction);
        // The draws meet the asked pair and a pair already taken, which are drawn again.
        m_f->random.values = {draw(3), draw(1), draw(1), draw(2), draw(4), draw(6), draw(5), placeDraw};
        m_f->question->setText(direction == Direction::ForeignShown ? u"F3"_s : u"C3"_s);
        m_f->answer->setText(u"old"_s);
        QStringList shown;
        HintWindow::setShowHook([&](HintWindow& w) {
            shown = {w.LblNadpis()->text(), w.LblSlovo()->text()};
            for (int i = 0; i < HintWindow::kOptionCount; ++i)
                shown.append(w.optionCaption(i));
            QVERIFY(shoot(&w, u"hint-five-options.png"_s));
            click(&w, u"CmdOK"_s); // no option touched
        });
        Hints::fiveOptions(m_f->context());

        QCOMPARE(shown,
                 (options.isEmpty() ? options : QStringList{u"Pět možností"_s, m_f->question->text()} + options));
        QCOMPARE(m_f->answer->text(), options.value(0, u"old"_s));
    }

    // Long texts wrap and the window grows to show them; nothing is cut off.
    void longTextsFit_data() {
        QTest::addColumn<int>("use"); // 0 feedback, 1 five options
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answers"); // right answers, or the options' side of the pairs
        QTest::addColumn<QString>("shot");

        QTest::newRow("feedback, ten alternatives of 60 characters")
            << 0 << QString() << tenLongAlternatives() << u"hint-feedback-long.png"_s;
        QTest::newRow("feedback, one word of 63 letters") << 0 << QString() << kLongWord << u"hint-feedback-word.png"_s;
        QTest::newRow("five options, question and options of 60 characters")
            << 1 << tenLongAlternatives() << tenLongAlternatives().left(60) << u"hint-five-options-long.png"_s;
        QTest::newRow("five options, a word of 63 letters")
            << 1 << kLongWord << kLongWord << u"hint-five-options-word.png"_s;
    }
    void longTextsFit() {
        QFETCH(int, use);
        QFETCH(QString, question);
        QFETCH(QString, answers);
        QFETCH(QString, shot);

        QStringList clipped{u"not shown"_s}, shown;
        HintWindow::setShowHook([&](HintWindow& w) {
            QVERIFY(shoot(&w, shot));
            clipped = clippedControls(w);
            shown = {w.LblNadpis()->text(), w.LblNadpis()->palette().color(QPalette::WindowText).name(),
                     w.LblGood()->text(), w.LblText()->text()};
            click(&w, u"CmdOK"_s);
        });
        if (use == 0) {
            HintWindow::showFeedback(&m_f->host, u"Rychlá odpověď"_s, Qt::blue, u"Slovo:"_s, answers);
            QCOMPARE(shown, QStringList({u"Rychlá odpověď"_s, u"#0000ff"_s, u"Slovo:"_s, answers}));
        } else {
            QStringList lines;
            for (int n = 1; n <= 6; ++n)
                lines.append((QString::number(n) + answers).left(answers.size()) + u"*C*"_s);
            m_f->ask(lines, 3);
            m_f->random.values = {draw(1), draw(2), draw(4), draw(5), draw(6), 0.0};
            m_f->question->setText(question);
            Hints::fiveOptions(m_f->context());
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u", ")));
    }

    // The mask opens with nothing selected and the caret after the given letters, and it keeps the
    // caret there as letters are typed. Its start stays in sight; a mask that the box can hold is seen
    // whole.
    void letterMaskInSight_data() {
        QTest::addColumn<bool>("firstLetter");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("seenWhole");

        QTest::newRow("word length, short word") << false << u"Stadt"_s << u"St"_s << true;
        QTest::newRow("first letter, 40 letters") << true << kLongWord.left(40) << u"ii"_s << true;
        QTest::newRow("first letter, 63 letters") << true << kLongWord << u"in"_s << false;
    }
    void letterMaskInSight() {
        QFETCH(bool, firstLetter);
        QFETCH(QString, word);
        QFETCH(QString, typed);
        QFETCH(bool, seenWhole);

        m_f->ask({word + u"*slovo*"_s}, 1);
        const int given = firstLetter ? 1 : 0;
        QList<int> carets;
        bool selected = true;
        bool startInSight = false;
        bool endInSight = false;
        QString focus, masked;
        answerNextWindow([&](HintWindow& w) {
            QLineEdit* mask = w.Pism();
            focus = w.focusWidget() ? w.focusWidget()->objectName() : QString();
            selected = mask->hasSelectedText();
            carets.append(mask->cursorPosition());
            QTest::keyClicks(mask, typed);
            QTest::keyClick(mask, Qt::Key_K, Qt::ControlModifier); // a Ctrl key that types nothing
            carets.append(mask->cursorPosition());
            QVERIFY(shoot(&w, u"hint-mask-%1.png"_s.arg(word.size())));
            mask->grab();
            startInSight = caret(*mask) == unscrolledCaret(*mask, mask->cursorPosition());
            endInSight = mask->rect().contains(unscrolledCaret(*mask, int(mask->text().size())));
            masked = mask->text();
            QTest::keyClick(w.Pism(), Qt::Key_Return); // Enter is OK
        });
        firstLetter ? Hints::firstLetter(m_f->context()) : Hints::wordLength(m_f->context());

        QCOMPARE(focus, u"Pism"_s); // typing goes into the mask at once
        QCOMPARE(m_f->answer->text(), masked);
        QVERIFY(!selected); // typing does not replace the mask
        QCOMPARE(carets, (QList<int>{given, given + int(typed.size())}));
        QVERIFY(startInSight);
        QCOMPARE(endInSight, seenWhole);
    }

    // Under a window manager the framed window, title bar included, stands in the middle of the screen.
    void centredOnScreen() {
        if (QGuiApplication::platformName() == u"offscreen"_s)
            QSKIP("needs a window manager's frames: run under Xvfb with openbox");
        m_f->host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_f->host));
        QPoint offset(1000, 1000);
        answerNextWindow([&](HintWindow& w) {
            QTRY_VERIFY(w.frameGeometry() != w.geometry());
            const auto off = [&] { return w.frameGeometry().center() - w.screen()->availableGeometry().center(); };
            (void)QTest::qWaitFor([&] { return off().manhattanLength() <= 1; }, 1000); // it may still move
            offset = off();
        });
        HintWindow::showFeedback(&m_f->host, u"Chyba"_s, Qt::red, u"Správně:"_s, u"nádraží"_s);
        QVERIFY2(offset.manhattanLength() <= 1, qPrintable(u"%1, %2"_s.arg(offset.x()).arg(offset.y())));
    }

    // The hint window closes by OK and a Yes/No box by its buttons: Escape does neither. Only the
    // change of a pair may be given up with Escape.
    void escape_data() {
        QTest::addColumn<QString>("use");
        QTest::addColumn<bool>("closes");

        QTest::newRow("letter mask") << u"mask"_s << false;
        QTest::newRow("five options") << u"options"_s << false;
        QTest::newRow("feedback") << u"feedback"_s << false;
        QTest::newRow("change of a pair") << u"change"_s << true;
        QTest::newRow("Yes/No box") << u"yesno"_s << false;
    }
    void escape() {
        QFETCH(QString, use);
        QFETCH(bool, closes);

        m_f->ask(numbered(6), 1);
        m_f->random.values = {draw(2), draw(3), draw(4), draw(5), draw(6), 0.0};
        bool open = false;
        if (use == u"yesno"_s) { // the real box, as every page's question shows it
            QStringList seen;
            bool closedByEnter = false;
            bool titleFits = false;
            answerNextWindow<QMessageBox>([&](QMessageBox& box) {
                seen = {box.windowTitle(), box.text(), box.button(QMessageBox::Yes)->text(),
                        box.button(QMessageBox::No)->text(), QString::number(box.icon())};
                // A window manager cuts the title to the box: room for it in bold, and for the bar's buttons.
                QFont bold = box.font();
                bold.setBold(true);
                titleFits = box.width() >= QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + 100;
                QTest::keyClick(box.focusWidget() ? box.focusWidget() : &box, Qt::Key_Escape);
                open = box.isVisible();
                // Enter gives the default answer, No for a question that ends something.
                QTest::keyClick(box.focusWidget() ? box.focusWidget() : &box, Qt::Key_Return);
                closedByEnter = !box.isVisible();
            });
            QVERIFY(
                !MessageBox::confirm(&m_f->host, u"Opravdu chcete ukončit lekci?"_s, MessageBox::Icon::Exclamation));
            QVERIFY(open && closedByEnter && titleFits);
            QCOMPARE(seen, (QStringList{u"Memoran 2002 Second Edition - Beta 3"_s, u"Opravdu chcete ukončit lekci?"_s,
                                        u"Ano"_s, u"Ne"_s, QString::number(QMessageBox::Warning)}));
            return;
        }
        answerNextWindow([&](HintWindow& w) {
            QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, Qt::Key_Escape);
            open = w.isVisible();
            if (open)
                QTest::mouseClick(w.control(u"CmdOK"_s), Qt::LeftButton);
        });
        bool accepted = false;
        if (use == u"mask"_s) {
            Hints::wordLength(m_f->context());
            accepted = m_f->answer->text() == u"--"_s;
        } else if (use == u"options"_s) {
            Hints::fiveOptions(m_f->context());
            accepted = !m_f->answer->text().isEmpty();
        } else if (use == u"feedback"_s) {
            HintWindow::showFeedback(&m_f->host, u"Chyba"_s, Qt::red, u"Správně:"_s, u"nádraží"_s);
            accepted = open;
        } else {
            auto* w = new HintWindow(&m_f->host);
            w->showPart(HintWindow::Part::Zmena);
            connect(w, &QDialog::finished, this, [&](int result) { accepted = result == QDialog::Accepted; });
            w->showModal();
        }
        QCOMPARE(open, !closes);
        QCOMPARE(accepted, !closes);
    }

    // Ctrl keys (with Shift, capitals) type German letters at the caret or over a selection, even where the window
    // around the box binds them (save, select all, quit) and where the line edit has its own meaning (Ctrl+A selects
    // all).
    void answerBoxKeys() {
        int fired = 0;
        for (const char* keys :
             {"Ctrl+S", "Ctrl+A", "Ctrl+O", "Ctrl+U", "Ctrl+Q", "Ctrl+Y", "Ctrl+Shift+U", "Return"}) {
            auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), &m_f->host);
            connect(shortcut, &QShortcut::activated, shortcut, [&fired] { ++fired; });
        }
        m_f->host.show();
        m_f->host.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_f->host));
        AnswerBox* box = m_f->answer;
        box->setFocus();
        QSignalSpy entered(box, &AnswerBox::enterPressed);
        QSignalSpy asked(box, &AnswerBox::firstLetterRequested);
        QTest::keyClicks(box, "Sadt");
        box->setSelection(1, 2);
        for (const Qt::Key key : {Qt::Key_S, Qt::Key_A, Qt::Key_O, Qt::Key_U, Qt::Key_Q, Qt::Key_Y})
            QTest::keyClick(box, key, Qt::ControlModifier);
        for (const Qt::Key key : {Qt::Key_A, Qt::Key_O, Qt::Key_U}) // with Shift, capitals
            QTest::keyClick(box, key, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_A, u"\x01"_s, Qt::ControlModifier); // as X11 sends it
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Q, u"\\"_s, Qt::ControlModifier | Qt::AltModifier); // AltGr
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, u"ů"_s, Qt::NoModifier);
        QTest::keyClick(box, Qt::Key_Return);

        QCOMPARE(box->text(), u"Sßäöü'ÄÖÜä\\ůt"_s);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(entered.size(), 1);
        QCOMPARE(fired, 0);
    }
};

QTEST_MAIN(TestHints)
#include "tst_hints.moc"
