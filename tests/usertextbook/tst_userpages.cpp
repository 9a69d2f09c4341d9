// The user textbook's pages in the real main window: lesson actions (page 3), new lessons and pairs
// (page 7) and the pair list (page 8), and the files they leave byte for byte. Failed saves are met in
// test_hostile.
#include "AsUser.h"
#include "ModalBoxes.h"
#include "Program.h"

#include "hints/QuickClickWindow.h"
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

namespace {

const QString kMissing = u"Nejsou zadány všechny údaje!"_s;

struct Fixture : Program {
    Fixture() {
        writeFiles(dir.path(), u"books/1.mum=Moje slovíčka"_s);
        lesson(1, u"Rodina"_s, u"Mutter*matka*|Vater*otec*"_s);
        lesson(2, u"Dům"_s, u"Haus*dům+domek*||a = b*rovná se*"_s);
        lesson(4, u"Škola"_s, u"Schule*škola*"_s);
        start();
        openFromMenu();
    }
    // Page 3 as the user reaches it: the main menu's item.
    void openFromMenu() {
        w.showPage(PageId::MainMenu);
        click(&w, u"F2ImgUziv"_s);
    }
    // Lesson n of the user textbook, "|" between its pairs.
    void lesson(int n, const QString& title, const QString& pairs) {
        writeFiles(dir.path(), u"units/1_%1T.mum=%2;units/1_%1.mum=%3"_s.arg(n).arg(title, pairs));
    }
    QString path(const QString& relative) const { return dir.filePath(relative); }
    // Chooses an option of page 3 and, for options 1 to 3, the lesson of that description.
    void act(int option, const QString& lesson = {}) {
        click(&w, u"F3Opt(%1)"_s.arg(option));
        if (!lesson.isEmpty())
            QVERIFY(choose(at<QComboBox>(u"F3Cmbbx"_s), lesson));
        click(&w, u"F3CmdOk"_s);
    }
    // The navigation tree marks the page with exactly one bold label.
    QStringList boldInTree() const {
        QStringList bold;
        for (const QLabel* label : w.findChildren<QLabel*>()) {
            if (label->objectName().startsWith(u"LblNav"_s) && !label->isHidden() && label->font().bold())
                bold.append(label->objectName());
        }
        return bold;
    }
    NewLessonPage::State entryState() const { return w.userTextbookPages().entry->state(); }
    QStringList listed() const {
        QStringList items;
        auto* list = at<QListWidget>(u"F8Lst"_s);
        for (int i = 0; i < list->count(); ++i)
            items.append(list->item(i)->text());
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
        QCOMPARE(lessons->count(), 3);
        QCOMPARE(lessons->currentIndex(), -1);
        // The numbers have a gap: the third entry is lesson 4.
        QVERIFY(choose(lessons, u"Škola"_s));
        click(&f->w, u"F3CmdOk"_s);
        QCOMPARE(f->page(), 8);
        QCOMPARE(f->listed(), QStringList{u"Schule = škola"_s});
        QCOMPARE(f->state.currentLessonFile, u"units\\1_4.mum"_s);
        QCOMPARE(int(f->w.quickClickPage()), 0);

        f->openFromMenu();
        click(&f->w, u"F3Opt(0)"_s);
        QVERIFY(!lessons->isVisible());
        click(&f->w, u"F3CmdOk"_s);
        QCOMPARE(f->page(), 7);

        f->openFromMenu();
        for (int option : {1, 2, 3}) {
            click(&f->w, u"F3Opt(%1)"_s.arg(option));
            click(&f->w, u"F3CmdOk"_s);
        }
        QCOMPARE(f->messages.texts(), QStringList(3, kMissing));
        QCOMPARE(f->messages.shown.first().icon, MessageBox::Icon::Critical);
        click(&f->w, u"F3CmdStorno"_s);
        QCOMPARE(f->page(), 1);
        QCOMPARE(int(f->w.quickClickPage()), 1);
    }

    void aNewLessonTakesItsPairsAtOnce() {
        f->act(0);
        auto* description = f->at<QLineEdit>(u"F7TxtNazev"_s);
        const int narrow = description->width(); // beside its OK button
        QVERIFY(!f->at(u"F7CmdOk2"_s)->isEnabled());
        type(description, u" Zvířata+ "_s);
        QGuiApplication::clipboard()->setText(u"\r\n"_s); // a pasted line break stays out of the file
        QTest::keyClick(description, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(f->at(u"F7CmdOk2"_s)->isEnabled());
        QTest::keyClick(description, Qt::Key_Return);
        // Lesson 3 is the smallest number without a lesson file.
        QCOMPARE(f->bytes(u"units/1_3t.mum"_s), QByteArray(" Zv\xed\xf8"
                                                           "ata+ \r\n"));
        QCOMPARE(f->state.currentLessonFile, u"units\\1_3.mum"_s);
        QCOMPARE(f->w.userTextbookPages().entry->state(), NewLessonPage::State::NewLessonPairs);
        QVERIFY(description->width() > narrow); // over the hidden button
        QVERIFY(!description->isEnabled() && !f->at(u"F7CmdSave"_s)->isEnabled());

        auto* foreign = f->at<QLineEdit>(u"F7TxtCiz"_s);
        auto* czech = f->at<QLineEdit>(u"F7TxtCze"_s);
        type(foreign, u"Hund"_s);
        QTest::keyClick(foreign, Qt::Key_Return);
        QCOMPARE(f->w.focusWidget(), czech);
        type(czech, u"pes+pejsek"_s);
        QTest::keyClick(czech, Qt::Key_Return);
        QCOMPARE(f->bytes(u"units/1_3.mum"_s), QByteArray("Hund*pes+pejsek*\r\n"));
        QCOMPARE(f->at<QLabel>(u"F7LblPosledni"_s)->text(), u"Hund = pes+pejsek"_s);
        QCOMPARE(f->w.focusWidget(), foreign);
        // Enter in the Czech box with the foreign box empty: the message, then the foreign box.
        type(czech, u"kočka"_s);
        QTest::keyClick(czech, Qt::Key_Return);
        QCOMPARE(f->messages.texts(), QStringList{kMissing});
        QCOMPARE(f->w.focusWidget(), foreign);
        click(&f->w, u"F7CmdSave"_s); // one box filled: only the message
        QCOMPARE(f->page(), 7);
        type(foreign, u"Katze"_s);
        click(&f->w, u"F7CmdSave"_s); // both filled: added, and the entry ends
        QCOMPARE(f->bytes(u"units/1_3.mum"_s), QByteArray("Hund*pes+pejsek*\r\nKatze*ko\xe8ka*\r\n"));
        QCOMPARE(f->page(), 1);
        QCOMPARE(f->w.userTextbookPages().entry->state(), NewLessonPage::State::Description);
        QCOMPARE(description->width(), narrow);
        QCOMPARE(description->text(), u" Zvířata+ "_s);
    }

    // "Zpět" and Escape lead back to page 3 without losing what was typed unasked; the focus is
    // always in the box typed in next, and the tree marks the page once.
    void page7HasAWayBack() {
        QCOMPARE(f->boldInTree(), QStringList{u"LblNavUziv"_s});
        f->act(0);
        QCOMPARE(f->boldInTree(), QStringList{u"LblNavUzivNova"_s});
        auto* description = f->at<QLineEdit>(u"F7TxtNazev"_s);
        QCOMPARE(f->w.focusWidget(), description);
        type(description, u"Barvy"_s);
        click(&f->w, u"F7CmdOk2"_s);
        QCOMPARE(f->w.focusWidget(), f->at(u"F7TxtCiz"_s));
        // A new lesson without a pair: deleting it is offered, No keeps it.
        click(&f->w, u"F7CmdZpet"_s);
        QCOMPARE(f->page(), 3);
        QCOMPARE(
            f->messages.texts(),
            QStringList{u"Lekce „Barvy“ zatím nemá žádnou dvojici. Chcete ji z uživatelské učebnice odstranit?"_s});
        QCOMPARE(f->messages.shown.last().defaultAnswer, Answer::No);
        QCOMPARE(f->dataDir.readFirstLine(u"units\\1_3t.mum"_s), u"Barvy"_s);
        QCOMPARE(f->entryState(), NewLessonPage::State::Description);
        // Again, by Escape, and Yes: lesson 4 moves down into the free number.
        f->act(0);
        QTest::keyClick(description, Qt::Key_Return);
        f->messages.answer(Answer::Yes);
        QTest::keyClick(f->at(u"F7TxtCze"_s), Qt::Key_Escape);
        QCOMPARE(f->page(), 3);
        QCOMPARE(f->dataDir.readFirstLine(u"units\\1_3t.mum"_s), u"Škola"_s);
        QVERIFY(!f->dataDir.fileExists(u"units\\1_4t.mum"_s));
        // More pairs for a lesson: a pair still in the boxes is not dropped unasked.
        f->act(1, u"Dům"_s);
        QCOMPARE(f->boldInTree(), QStringList{u"LblNavUzivSlova"_s});
        QCOMPARE(f->w.focusWidget(), f->at(u"F7TxtCiz"_s));
        type(f->at(u"F7TxtCiz"_s), u"Tür"_s);
        const QByteArray pairs = f->bytes(u"units/1_2.mum"_s);
        click(&f->w, u"F7CmdZpet"_s);
        QCOMPARE(f->messages.texts().last(), u"Rozepsaná dvojice nebude uložena. Opravdu chcete odejít?"_s);
        QCOMPARE(f->page(), 7);
        f->messages.answer(Answer::Yes);
        click(&f->w, u"F7CmdZpet"_s);
        QCOMPARE(f->page(), 3);
        QCOMPARE(f->entryState(), NewLessonPage::State::Description);
        QCOMPARE(f->bytes(u"units/1_2.mum"_s), pairs);
    }

    // Nothing looks chosen until the user picks a pair, a deletion leaves nothing chosen, and "Zpět"
    // asks before it drops changes.
    void page8DeletesOnlyChosenPairsAndHasAWayBack() {
        const QByteArray before = f->bytes(u"units/1_2.mum"_s);
        f->act(2, u"Dům"_s);
        QCOMPARE(f->boldInTree(), QStringList{u"LblNavUzivSlova"_s});
        auto* list = f->at<QListWidget>(u"F8Lst"_s);
        QCOMPARE(f->w.focusWidget(), list);
        QCOMPARE(list->currentRow(), -1);
        QTest::keyClick(list, Qt::Key_Down);
        QVERIFY(list->currentRow() == 0 && list->currentItem()->isSelected());
        QTest::keyClick(f->at(u"F8CmdDel"_s), Qt::Key_Return); // Enter presses the focused button
        QTest::keyClick(f->at(u"F8CmdDel"_s), Qt::Key_Return);
        QCOMPARE(f->listed(), (QStringList{u" = "_s, u"a = b = rovná se"_s}));
        QCOMPARE(f->messages.texts(), QStringList{kMissing});
        QTest::keyClick(list, Qt::Key_Escape);
        QCOMPARE(f->messages.texts().last(),
                 u"Změny v seznamu dvojic nebudou uloženy. Opravdu chcete odejít bez uložení?"_s);
        QCOMPARE(f->messages.shown.last().defaultAnswer, Answer::No);
        QCOMPARE(f->page(), 8);
        f->messages.answer(Answer::Yes);
        click(&f->w, u"F8CmdZpet"_s);
        QCOMPARE(f->page(), 3);
        QCOMPARE(f->bytes(u"units/1_2.mum"_s), before);
        f->act(2, u"Dům"_s); // unchanged: back without a question
        click(&f->w, u"F8CmdZpet"_s);
        QCOMPARE(f->page(), 3);
        QCOMPARE(f->messages.shown.size(), 3);
    }

    void pairsAreAddedToAnExistingLesson() {
        f->act(1, u"Dům"_s);
        QCOMPARE(f->page(), 7);
        QCOMPARE(f->w.userTextbookPages().entry->state(), NewLessonPage::State::ExistingLessonPairs);
        QCOMPARE(f->at<QLabel>(u"F7LblPosledni"_s)->text(), u"a = b = rovná se"_s);
        QVERIFY(f->at(u"F7CmdSave"_s)->isEnabled());
        // A typed "*" is refused; the pair goes in without it.
        type(f->at(u"F7TxtCiz"_s), u"Tür*"_s);
        type(f->at(u"F7TxtCze"_s), u"dveře"_s);
        click(&f->w, u"F7CmdOk"_s);
        QCOMPARE(f->messages.texts(), QStringList{u"Tento znak je zakázán!"_s});
        QCOMPARE(f->bytes(u"units/1_2.mum"_s),
                 QByteArray("Haus*d\xf9m+domek*\r\n\r\na = b*rovn\xe1 se*\r\nT\xfcr*dve\xf8"
                            "e*\r\n"));
    }

    void pairListIsEditedAndSaved() {
        f->act(2, u"Dům"_s);
        QCOMPARE(f->listed(), (QStringList{u"Haus = dům+domek"_s, u" = "_s, u"a = b = rovná se"_s}));
        click(&f->w, u"F8CmdDel"_s);
        click(&f->w, u"F8CmdChange"_s);
        QCOMPARE(f->messages.texts(), QStringList(2, kMissing));
        auto* list = f->at<QListWidget>(u"F8Lst"_s);
        list->setCurrentRow(1);
        click(&f->w, u"F8CmdDel"_s);
        list->setCurrentRow(0);
        HintWindow::setShowHook([](HintWindow& window) {
            QCOMPARE(window.LblNadpis()->text(), u"Změna"_s);
            retype(window.TxtCiz(), u"das Haus"_s);
            click(&window, u"CmdOK"_s);
        });
        click(&f->w, u"F8CmdChange"_s);
        HintWindow::setShowHook([](HintWindow& window) {
            retype(window.TxtCze(), u"zapomenuto"_s);
            window.reject(); // the close box: the old pair comes back
        });
        list->setCurrentRow(1);
        click(&f->w, u"F8CmdChange"_s);
        QCOMPARE(f->listed(), (QStringList{u"das Haus = dům+domek"_s, u"a = b = rovná se"_s}));
        click(&f->w, u"F8CmdSave"_s);
        QCOMPARE(f->bytes(u"units/1_2.mum"_s), QByteArray("das Haus*d\xf9m+domek*\r\na = b*rovn\xe1 se*\r\n"));
        QCOMPARE(f->page(), 1);
        QCOMPARE(int(f->w.quickClickPage()), 1);
    }

    void deletingALessonMovesTheLaterOnesDown() {
        f->lesson(5, u"Město"_s, u"Stadt*město*"_s);
        f->messages.answer(Answer::No);
        f->act(3, u"Rodina"_s);
        QCOMPARE(f->messages.texts(), QStringList{u"Opravdu chcete vymazat lekci: Rodina?"_s});
        QCOMPARE(f->messages.shown.first().icon, MessageBox::Icon::Exclamation);
        QCOMPARE(f->messages.shown.first().defaultAnswer, Answer::No);
        QCOMPARE(f->page(), 3);
        f->messages.answer(Answer::Yes);
        click(&f->w, u"F3CmdOk"_s);
        QCOMPARE(f->page(), 1);
        // 2 → 1, 4 → 3, 5 → 4: each lesson moves down where the number below it is free.
        QCOMPARE(f->dataDir.readFirstLine(u"units\\1_1t.mum"_s), u"Dům"_s);
        QCOMPARE(f->dataDir.readFirstLine(u"units\\1_4t.mum"_s), u"Město"_s);
        QVERIFY(!f->dataDir.fileExists(u"units\\1_5t.mum"_s));
        QCOMPARE(f->bytes(u"units/1_1.mum"_s), QByteArray("Haus*d\xf9m+domek*\r\n\r\na = b*rovn\xe1 se*\r\n"));
        // The old list is kept; its entry's number now holds another lesson, which nobody confirmed:
        // nothing is deleted, and the list shows the lessons as they are now.
        f->openFromMenu();
        QCOMPARE(f->at<QComboBox>(u"F3Cmbbx"_s)->currentText(), u"Rodina"_s);
        f->messages.answer(Answer::Yes);
        click(&f->w, u"F3CmdOk"_s);
        QVERIFY(f->messages.texts().last().startsWith(u"Lekce „Rodina“ se mezitím změnila"_s));
        QCOMPARE(f->dataDir.readFirstLine(u"units\\1_1t.mum"_s), u"Dům"_s);
        QCOMPARE(f->at<QComboBox>(u"F3Cmbbx"_s)->itemText(0), u"Dům"_s);
    }

    // Pairs another program added after page 3 read the lesson are not saved over unasked.
    void pairListAsksWhenTheLessonChanged() {
        f->act(2, u"Dům"_s);
        const QByteArray other = "Garten*zahrada*\r\n";
        QVERIFY(writeBytes(f->path(u"units/1_2.mum"_s), other));
        click(&f->w, u"F8CmdSave"_s); // No, the default
        QVERIFY(f->messages.texts().last().startsWith(u"Lekce „Dům“ se mezitím změnila"_s));
        QCOMPARE(f->bytes(u"units/1_2.mum"_s), other);
        QCOMPARE(f->page(), 8);
        f->messages.answer(Answer::Yes);
        click(&f->w, u"F8CmdSave"_s);
        QCOMPARE(f->page(), 1);
        QVERIFY(f->bytes(u"units/1_2.mum"_s).startsWith("Haus*"));
    }

    // A folder that takes no change: the message says the lesson was kept, not which record failed.
    void aRefusedDeletionKeepsTheLesson() {
        RUN_AS_ORDINARY_USER();
        const QString units = f->path(u"units"_s);
        QVERIFY(QFile::setPermissions(units, QFile::ReadOwner | QFile::ExeOwner));
        f->messages.answer(Answer::Yes);
        f->act(3, u"Rodina"_s);
        QVERIFY(QFile::setPermissions(units, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString told = f->messages.texts().last();
        QVERIFY2(told.startsWith(
                     u"Lekce (soubor „%1/1_1T.mum“) nebyla odstraněna: do složky „%1“ nelze zapisovat"_s.arg(units)) &&
                     told.endsWith(u"Všechny lekce zůstaly beze změny."_s),
                 qPrintable(told));
        QCOMPARE(f->page(), 3);
        QCOMPARE(f->dataDir.readFirstLine(u"units\\1_1t.mum"_s), u"Rodina"_s);
    }

    // With MEMORAN_SHOTS set: page 3, the three states of page 7 and page 8, with long texts.
    void pictures() {
        const QString longText = u"Němčina pro pokročilé – slovní zásoba ke státní maturitě a k jazykovým zkouškám"_s;
        f->lesson(3, longText, longText + u"*"_s + longText + u"*"_s);
        click(&f->w, u"F3Opt(1)"_s);
        QVERIFY(choose(f->at<QComboBox>(u"F3Cmbbx"_s), longText));
        QVERIFY(shoot(&f->w, u"user-page3"_s));
        click(&f->w, u"F3CmdOk"_s);
        QVERIFY(shoot(&f->w, u"user-page7-existing"_s));
        init();
        f->act(0);
        type(f->at(u"F7TxtNazev"_s), longText);
        QVERIFY(shoot(&f->w, u"user-page7-description"_s));
        click(&f->w, u"F7CmdOk2"_s);
        type(f->at(u"F7TxtCiz"_s), u"der Schmetterling"_s);
        type(f->at(u"F7TxtCze"_s), u"motýl"_s);
        click(&f->w, u"F7CmdOk"_s);
        QVERIFY(shoot(&f->w, u"user-page7-new"_s));
        init();
        f->lesson(3, longText, longText + u"*"_s + longText + u"*|Haus*dům*"_s);
        f->act(2, longText);
        QVERIFY(shoot(&f->w, u"user-page8"_s));
    }

    void theUserTextbookIsCreatedWhenMissing() {
        QFile::remove(f->path(u"books/1.mum"_s));
        f->act(0);
        type(f->at(u"F7TxtNazev"_s), u"Barvy"_s);
        click(&f->w, u"F7CmdOk2"_s);
        QCOMPARE(f->bytes(u"books/1.mum"_s), QByteArray("U\x9eivatelsk\xe1 u\xe8"
                                                        "ebnice\r\n"));
    }
};

QTEST_MAIN(TestUserPages)
#include "tst_userpages.moc"
