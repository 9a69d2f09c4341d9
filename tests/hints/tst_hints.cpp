// SPDX-License-Identifier: GPL-3.0-or-later
#include "Gui.h"
#include "ModalBoxes.h"
#include "Sandbox.h"

#include "core/AppState.h"
#include "core/TestSession.h"
#include "hints/Hints.h"
#include "ui/AnswerBox.h"
#include "ui/HintWindow.h"
#include "ui/MessageBox.h"

#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>

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

// Pairs "Fn*Cn*", n from 1.
QStringList numbered(int count) {
    QStringList lines;
    for (int n = 1; n <= count; ++n)
        lines.append(u"F%1*C%1*"_s.arg(n));
    return lines;
}

// The draw that picks pair n of six.
constexpr auto draw = [](int n) { return (n - 0.5) / 6; };

const QString kLongWord = u"Rindfleischetikettierungsüberwachungsaufgabenübertragungsgesetz"_s;

QRect caret(QLineEdit& box) {
    box.grab(); // a line edit scrolls as it paints
    return box.inputMethodQuery(Qt::ImCursorRectangle).toRect();
}

// Where a line edit that has never scrolled puts its caret: a box of the same font and text, wide
// enough for all of it.
QRect unscrolledCaret(const QLineEdit& box, int position) {
    QLineEdit wide(box.text());
    wide.setFont(box.font());
    wide.resize(10000, box.height());
    wide.setCursorPosition(position);
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
        QCOMPARE(deleteLeftoverWindows(), QStringList()); // none left over
    }

    // The mask opens with the focus in it, nothing selected and the caret after the given letters, keeps
    // the caret there as letters are typed, and keeps its start in sight; Escape leaves it open, Enter is OK.
    void letterHints_data() {
        QTest::addColumn<bool>("firstLetter"); // else word length
        QTest::addColumn<QString>("pair");
        QTest::addColumn<Direction>("direction");
        QTest::addColumn<QString>("typed");        // keys typed into the mask; "\b" is Backspace
        QTest::addColumn<QStringList>("expected"); // sentence, mask, the typed mask that OK hands in
        const auto czech = Direction::CzechShown;
        QTest::newRow("length, Backspace changes nothing")
            << false << u"Stadt*město*"_s << czech << u"a\bb\b"_s
            << QStringList{u"Hledané slovo má celkem  5 znaků"_s, u"-----"_s, u"ab---"_s};
        QTest::newRow("length, typing past the end grows the mask")
            << false << u"Uhr*hodiny*"_s << czech << u"Uhren"_s
            << QStringList{u"Hledané slovo má celkem  3 znaků"_s, u"---"_s, u"Uhren"_s};
        QTest::newRow("first letter, Czech asked, first alternative")
            << true << u"Bahnhof*nádraží+stanice*"_s << Direction::ForeignShown << u"\bá"_s
            << QStringList{u"Hledané slovo začíná písmenem n."_s, u"n------"_s, u"ná-----"_s};
        QTest::newRow("first letter, 63 letters")
            << true << kLongWord + u"*slovo*"_s << czech << u"in"_s
            << QStringList{u"Hledané slovo začíná písmenem R."_s, u"R"_s + QString(62, u'-'),
                           u"Rin"_s + QString(60, u'-')};
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
        answerNextWindow<HintWindow>([&](HintWindow& w) {
            QLineEdit* mask = w.Pism();
            shown = {w.LblNadpis()->text(),
                     w.LblPocetPism()->text(),
                     mask->text(),
                     w.focusWidget() ? w.focusWidget()->objectName() : QString(),
                     QString::number(mask->hasSelectedText()),
                     QString::number(mask->cursorPosition())};
            for (const QChar c : typed)
                c == u'\b' ? QTest::keyClick(mask, Qt::Key_Backspace) : type(mask, QString(c));
            QTest::keyClick(mask, Qt::Key_K, Qt::ControlModifier); // a Ctrl key that types nothing
            QTest::keyClick(mask, Qt::Key_Escape);                 // only OK closes it
            shown.append(QString::number(mask->cursorPosition() + 100 * w.isHidden()));
            shown.append(QString::number(caret(*mask) == unscrolledCaret(*mask, mask->cursorPosition())));
            QTest::keyClick(mask, Qt::Key_Return);
        });
        firstLetter ? Hints::firstLetter(m_f->context()) : Hints::wordLength(m_f->context());
        const int given = firstLetter ? 1 : 0;
        const QString caretAfter = QString::number(given + typed.size() - typed.count(u'\b'));
        QCOMPARE(shown, (QStringList{firstLetter ? u"První písmeno"_s : u"Délka slova"_s, expected[0], expected[1],
                                     u"Pism"_s, u"0"_s, QString::number(given), caretAfter, u"1"_s}));
        QCOMPARE(m_f->answer->text(), expected[2]);
        QCOMPARE(m_f->state.test.hintLetters(), QString(expected[2]).remove(u'-'));
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
            click(&w, u"CmdOK"_s); // no option touched
        });
        Hints::fiveOptions(m_f->context());
        QCOMPARE(shown,
                 (options.isEmpty() ? options : QStringList{u"Pět možností"_s, m_f->question->text()} + options));
        QCOMPARE(m_f->answer->text(), options.value(0, u"old"_s));
    }

    // Under a window manager the framed window, title bar included, stands in the middle of the screen.
    void centredOnScreen() {
        if (QGuiApplication::platformName() == u"offscreen"_s)
            QSKIP("needs a window manager's frames: run under Xvfb with openbox");
        m_f->host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_f->host));
        QPoint offset(1000, 1000);
        answerNextWindow<HintWindow>([&](HintWindow& w) {
            QTRY_VERIFY(w.frameGeometry() != w.geometry());
            const auto off = [&] { return w.frameGeometry().center() - w.screen()->availableGeometry().center(); };
            (void)QTest::qWaitFor([&] { return off().manhattanLength() <= 1; }, 1000); // it may still move
            offset = off();
        });
        HintWindow::showFeedback(&m_f->host, u"Chyba"_s, Qt::red, u"Správně:"_s, u"nádraží"_s);
        QVERIFY2(offset.manhattanLength() <= 1, qPrintable(u"%1, %2"_s.arg(offset.x()).arg(offset.y())));
    }

    // The real Yes/No box, as every page's question shows it: Czech buttons, a title with room in bold
    // and for the bar's buttons, Escape does not close it, Enter gives the default No.
    void questionBox() {
        QStringList seen;
        answerNextWindow<QMessageBox>([&](QMessageBox& box) {
            QFont bold = box.font();
            bold.setBold(true);
            seen = {box.windowTitle(), box.text(), box.button(QMessageBox::Yes)->text()};
            seen << box.button(QMessageBox::No)->text() << QString::number(box.icon())
                 << QString::number(box.width() >= QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + 100);
            QTest::keyClick(box.focusWidget() ? box.focusWidget() : &box, Qt::Key_Escape);
            seen.append(QString::number(box.isVisible()));
            QTest::keyClick(box.focusWidget() ? box.focusWidget() : &box, Qt::Key_Return);
            seen.append(QString::number(box.isVisible()));
        });
        QVERIFY(!MessageBox::confirm(&m_f->host, u"Opravdu chcete ukončit lekci?"_s, MessageBox::Icon::Exclamation));
        QCOMPARE(seen, (QStringList{u"Memoran 2002 Second Edition - Beta 3"_s, u"Opravdu chcete ukončit lekci?"_s,
                                    u"Ano"_s, u"Ne"_s, QString::number(QMessageBox::Warning), u"1"_s, u"1"_s, u"0"_s}));
    }

    // Ctrl keys (with Shift, capitals) type German letters at the caret or over a selection, even where
    // the window binds them and where the line edit has its own meaning (Ctrl+A selects all).
    void answerBoxKeys() {
        int fired = 0;
        for (const char* keys : {"Ctrl+S", "Ctrl+A", "Ctrl+O", "Ctrl+U", "Ctrl+Q", "Ctrl+Y", "Ctrl+Shift+U", "Return"})
            connect(new QShortcut(QKeySequence(QString::fromLatin1(keys)), &m_f->host), &QShortcut::activated, this,
                    [&fired] { ++fired; });
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
        QCOMPARE(QList<qsizetype>({asked.size(), entered.size(), fired}), QList<qsizetype>({1, 1, 0}));
    }
};

QTEST_MAIN(TestHints)
#include "tst_hints.moc"
