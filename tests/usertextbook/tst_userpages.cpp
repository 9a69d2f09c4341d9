// SPDX-License-Identifier: GPL-3.0-or-later
// The user textbook's pages in the real main window: lesson actions (page 3), new lessons and pairs
// (page 7) and the pair list (page 8), and the files they leave byte for byte. Failed saves are met in
// test_hostile.
#include "ModalBoxes.h"
#include "Program.h"

#include "ui/HintWindow.h"
#include "usertextbook/NewLessonPage.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using Answer = MessageBox::Answer;
using State = NewLessonPage::State;

namespace {

const QString kMissing = u"Nejsou zadány všechny údaje!"_s;
const QByteArray kHouse = cp1250Lines(u"Haus*dům+domek*||a = b*rovná se*"_s);

struct Fixture : Program {
    Fixture() {
        writeFiles(dir.path(),
                   u"books/1.mum=Moje slovíčka;units/1_1T.mum=Rodina;units/1_1.mum=Mutter*matka*|Vater*otec*;"
                   u"units/1_2T.mum=Dům;units/1_2.mum=Haus*dům+domek*||a = b*rovná se*;"
                   u"units/1_4T.mum=Škola;units/1_4.mum=Schule*škola*"_s);
        start();
        run(u"@1 F2ImgUziv"_s); // page 3 as the user reaches it: the main menu's item
    }
    QString title(int lesson) const { return dataDir.readFirstLine(u"units\\1_%1t.mum"_s.arg(lesson)); }
    State entry() const { return w.userTextbookPages().entry->state(); }
    QStringList listed() const {
        QStringList items;
        for (int i = 0; i < at<QListWidget>(u"F8Lst"_s)->count(); ++i)
            items.append(at<QListWidget>(u"F8Lst"_s)->item(i)->text());
        return items;
    }
};

} // namespace

class TestUserPages : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> f;

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() {
        f.reset();
        f = std::make_unique<Fixture>();
    }
    void cleanup() {
        f.reset();
        HintWindow::setShowHook({});
        QCOMPARE(deleteLeftoverWindows(), QStringList());
    }

    void lessonActionsLeadToTheirPages() {
        auto* lessons = f->at<QComboBox>(u"F3Cmbbx"_s);
        QVERIFY(!lessons->isVisible());
        click(&f->w, u"F3Opt(2)"_s);
        QVERIFY(lessons->isVisible() && f->at(u"F3Lbl(1)"_s)->isVisible());
        QCOMPARE(lessons->currentIndex(), -1);
        QVERIFY(f->run(u"F3Cmbbx=Škola F3CmdOk"_s)); // the numbers have a gap: the third entry is lesson 4
        QCOMPARE(f->page(), 8);
        QCOMPARE(f->listed(), QStringList{u"Schule = škola"_s});
        QCOMPARE(f->state.currentLessonFile, u"units\\1_4.mum"_s);
        QCOMPARE(int(f->w.quickClickPage()), 0);
        QVERIFY(f->run(u"@1 F2ImgUziv F3Opt(0) F3CmdOk"_s));
        QCOMPARE(f->page(), 7);
        QVERIFY(f->run(u"@1 F2ImgUziv F3Opt(1) F3CmdOk F3Opt(2) F3CmdOk F3Opt(3) F3CmdOk"_s));
        QCOMPARE(f->messages.texts(), QStringList(3, kMissing));
        QCOMPARE(f->messages.shown.first().icon, MessageBox::Icon::Critical);
        QVERIFY(f->run(u"F3CmdStorno"_s));
        QCOMPARE(f->page(), 1);
        QCOMPARE(int(f->w.quickClickPage()), 1);
    }

    void aNewLessonTakesItsPairsAtOnce() {
        QVERIFY(f->run(u"F3Opt(0) F3CmdOk"_s));
        auto* description = f->at<QLineEdit>(u"F7TxtNazev"_s);
        const int narrow = description->width(); // beside its OK button
        QVERIFY(!f->at(u"F7CmdOk2"_s)->isEnabled());
        QGuiApplication::clipboard()->setText(u"\r\n"_s); // a pasted line break stays out of the file
        QVERIFY(f->run(u"F7TxtNazev=_Zvířata+_ F7TxtNazev:Ctrl+V F7TxtNazev:Return"_s));
        // Lesson 3 is the smallest number without a lesson file.
        QCOMPARE(f->bytes(u"units/1_3t.mum"_s), cp1250Lines(u" Zvířata+ "_s));
        QCOMPARE(f->state.currentLessonFile, u"units\\1_3.mum"_s);
        QCOMPARE(f->entry(), State::NewLessonPairs);
        QVERIFY(description->width() > narrow); // over the hidden button
        QVERIFY(!description->isEnabled() && !f->at(u"F7CmdSave"_s)->isEnabled());
        QVERIFY(f->run(u"F7TxtCiz=Hund F7TxtCiz:Return"_s));
        QCOMPARE(f->w.focusWidget(), f->at(u"F7TxtCze"_s));
        QVERIFY(f->run(u"F7TxtCze=pes+pejsek F7TxtCze:Return"_s));
        QCOMPARE(f->bytes(u"units/1_3.mum"_s), cp1250Lines(u"Hund*pes+pejsek*"_s));
        QCOMPARE(f->at<QLabel>(u"F7LblPosledni"_s)->text(), u"Hund = pes+pejsek"_s);
        QCOMPARE(f->w.focusWidget(), f->at(u"F7TxtCiz"_s));
        // Enter in the Czech box with the foreign box empty: the message, then the foreign box.
        QVERIFY(f->run(u"F7TxtCze=kočka F7TxtCze:Return"_s));
        QCOMPARE(f->w.focusWidget(), f->at(u"F7TxtCiz"_s));
        QVERIFY(f->run(u"F7CmdSave"_s)); // one box filled: only the message
        QCOMPARE(f->messages.texts(), QStringList(2, kMissing));
        QCOMPARE(f->page(), 7);
        QVERIFY(f->run(u"F7TxtCiz=Katze F7CmdSave"_s)); // both filled: added, and the entry ends
        QCOMPARE(f->bytes(u"units/1_3.mum"_s), cp1250Lines(u"Hund*pes+pejsek*|Katze*kočka*"_s));
        QCOMPARE(f->page(), 1);
        QCOMPARE(f->entry(), State::Description);
        QCOMPARE(description->width(), narrow);
    }

    // "Zpět" and Escape lead back to page 3 without losing what was typed unasked; the focus is
    // always in the box typed in next.
    void page7HasAWayBack() {
        QVERIFY(f->run(u"F3Opt(0) F3CmdOk"_s));
        QCOMPARE(f->w.focusWidget(), f->at(u"F7TxtNazev"_s));
        QFile::remove(f->dir.filePath(u"books/1.mum"_s)); // made again with the first lesson
        QVERIFY(f->run(u"F7TxtNazev=Barvy F7CmdOk2"_s));
        QCOMPARE(f->bytes(u"books/1.mum"_s), cp1250Lines(u"Uživatelská učebnice"_s));
        QCOMPARE(f->w.focusWidget(), f->at(u"F7TxtCiz"_s));
        // A new lesson without a pair: deleting it is offered, No keeps it.
        QVERIFY(f->run(u"F7CmdZpet"_s));
        QCOMPARE(f->page(), 3);
        QCOMPARE(f->messages.texts(), QStringList{u"Lekce „Barvy“ zatím nemá žádnou dvojici. Chcete ji z "
                                                  u"uživatelské učebnice odstranit?"_s});
        QCOMPARE(f->messages.shown.last().defaultAnswer, Answer::No);
        QCOMPARE(f->title(3), u"Barvy"_s);
        QCOMPARE(f->entry(), State::Description);
        // Again, by Escape, and Yes: lesson 4 moves down into the free number.
        QVERIFY(f->run(u"F3Opt(0) F3CmdOk F7CmdOk2 Ano F7TxtCze:Esc"_s));
        QCOMPARE(f->page(), 3);
        QCOMPARE(f->title(3), u"Škola"_s);
        // More pairs for a lesson: a "*" is refused, and a pair still in the boxes is not dropped unasked.
        QVERIFY(f->run(u"F3Opt(1) F3Cmbbx=Dům F3CmdOk"_s));
        QCOMPARE(f->entry(), State::ExistingLessonPairs);
        QCOMPARE(f->w.focusWidget(), f->at(u"F7TxtCiz"_s));
        QCOMPARE(f->at<QLabel>(u"F7LblPosledni"_s)->text(), u"a = b = rovná se"_s);
        QVERIFY(f->run(u"F7TxtCiz=Tür* F7TxtCze=dveře F7CmdOk F7TxtCiz=Tor F7CmdZpet"_s));
        const QByteArray pairs = kHouse + cp1250Lines(u"Tür*dveře*"_s);
        QCOMPARE(f->bytes(u"units/1_2.mum"_s), pairs);
        QCOMPARE(
            f->messages.texts().mid(2),
            (QStringList{u"Tento znak je zakázán!"_s, u"Rozepsaná dvojice nebude uložena. Opravdu chcete odejít?"_s}));
        QCOMPARE(f->page(), 7);
        QVERIFY(f->run(u"Ano F7CmdZpet"_s));
        QCOMPARE(f->page(), 3);
        QCOMPARE(f->entry(), State::Description);
        QCOMPARE(f->bytes(u"units/1_2.mum"_s), pairs);
    }

    // Nothing looks chosen until the user picks a pair, nor after a deletion; the change window's OK
    // takes the edited pair; Escape asks before it drops changes, and
    // pairs another program wrote since the list was read are not saved over unasked.
    void pairListIsEditedAndSaved() {
        QVERIFY(f->run(u"F3Opt(2) F3Cmbbx=Dům F3CmdOk"_s));
        auto* list = f->at<QListWidget>(u"F8Lst"_s);
        QCOMPARE(f->w.focusWidget(), list);
        QCOMPARE(list->currentRow(), -1);
        QVERIFY(f->run(u"F8Lst:Down"_s));
        QVERIFY(list->currentRow() == 0 && list->currentItem()->isSelected());
        QVERIFY(f->run(u"F8CmdDel:Return F8CmdDel:Return F8CmdChange"_s)); // Enter presses the focused button
        QCOMPARE(f->messages.texts(), QStringList(2, kMissing));
        QVERIFY(f->run(u"F8Lst:Esc"_s));
        QCOMPARE(f->messages.texts().last(),
                 u"Změny v seznamu dvojic nebudou uloženy. Opravdu chcete odejít bez uložení?"_s);
        QCOMPARE(f->messages.shown.last().defaultAnswer, Answer::No);
        QCOMPARE(f->page(), 8);
        HintWindow::setShowHook([](HintWindow& window) {
            retype(window.TxtCiz(), u"Kind"_s);
            retype(window.TxtCze(), u"dítě"_s);
            click(&window, u"CmdOK"_s);
        });
        QVERIFY(f->run(u"F8Lst=_=_ F8CmdChange"_s));
        QCOMPARE(f->listed(), (QStringList{u"Kind = dítě"_s, u"a = b = rovná se"_s}));
        const QByteArray other = "Garten*zahrada*\r\n";
        QVERIFY(writeBytes(f->dir.filePath(u"units/1_2.mum"_s), other));
        QVERIFY(f->run(u"F8CmdSave"_s)); // No, the default
        QVERIFY(f->messages.texts().last().startsWith(u"Lekce „Dům“ se mezitím změnila"_s));
        QCOMPARE(f->bytes(u"units/1_2.mum"_s), other);
        QVERIFY(f->run(u"Ano F8CmdSave"_s));
        QCOMPARE(f->bytes(u"units/1_2.mum"_s), cp1250Lines(u"Kind*dítě*|a = b*rovná se*"_s));
        QCOMPARE(f->page(), 1);
        const qsizetype asked = f->messages.shown.size();
        QVERIFY(f->run(u"@1 F2ImgUziv F3Opt(2) F3Cmbbx=Dům F3CmdOk F8CmdZpet"_s)); // unchanged: back unasked
        QCOMPARE(f->page(), 3);
        QCOMPARE(f->messages.shown.size(), asked);
    }

    void deletingALessonMovesTheLaterOnesDown() {
        writeFiles(f->dir.path(), u"units/1_5T.mum=Město;units/1_5.mum=Stadt*město*"_s);
        QVERIFY(f->run(u"F3Opt(3) F3Cmbbx=Rodina F3CmdOk"_s));
        QCOMPARE(f->messages.texts(), QStringList{u"Opravdu chcete vymazat lekci: Rodina?"_s});
        QCOMPARE(f->messages.shown.first().icon, MessageBox::Icon::Exclamation);
        QCOMPARE(f->messages.shown.first().defaultAnswer, Answer::No);
        QCOMPARE(f->page(), 3);
        QVERIFY(f->run(u"Ano F3CmdOk"_s));
        QCOMPARE(f->page(), 1);
        QCOMPARE(f->title(1), u"Dům"_s); // the later lessons moved down: the store's rule
        // The old list is kept; its entry's number now holds another lesson, which nobody confirmed:
        // nothing is deleted, and the list shows the lessons as they are now.
        QVERIFY(f->run(u"@1 F2ImgUziv Ano F3CmdOk"_s));
        QVERIFY(f->messages.texts().last().startsWith(u"Lekce „Rodina“ se mezitím změnila"_s));
        QCOMPARE(f->title(1), u"Dům"_s);
        QCOMPARE(f->at<QComboBox>(u"F3Cmbbx"_s)->itemText(0), u"Dům"_s);
    }
};

QTEST_MAIN(TestUserPages)
#include "tst_userpages.moc"
