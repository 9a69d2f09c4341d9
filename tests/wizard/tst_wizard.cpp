// The vocabulary editor as its user drives it: every step reached by its buttons, the files each
// task leaves behind byte for byte and the pair editor's keys. Failed saves are met in test_hostile.
#include "Files.h"
#include "Gui.h"
#include "ModalBoxes.h"
#include "Sandbox.h"
#include "ScriptedMessages.h"
#include "Steps.h"

#include "ui/HintWindow.h"
#include "ui/WrapLabel.h"
#include "wizard/EditorWizard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using Answer = MessageBox::Answer;

namespace {

// What the window shows the user between two clicks.
struct WizardView {
    int step = 0;
    QString title; // "-" while the header is hidden
    bool prev = false;
    QString next;
    bool nextOn = true;
    QString end = u"Storno"_s;
    bool endOn = true;
    bool operator==(const WizardView&) const = default;
};

char* toString(const WizardView& v) {
    return QTest::toString(QStringLiteral("step %1 \"%2\" prev %3 next \"%4\" %5 end \"%6\" %7")
                               .arg(v.step)
                               .arg(v.title)
                               .arg(v.prev)
                               .arg(v.next)
                               .arg(v.nextOn)
                               .arg(v.end)
                               .arg(v.endOn));
}

struct Fixture : Sandbox {
    ScriptedMessages messages;
    std::unique_ptr<EditorWizard> w;

    Fixture() {
        // Textbook 1 and its neighbour 12, whose lessons must never be taken for textbook 1's.
        writeFiles(dir.path(), u"books/1.mum=Němčina pro začátečníky;books/12.mum=Angličtina;units/1_1T.mum=Rodina;"
                               u"units/1_1.mum=Mutter*matka*||a = b*rovná se*;units/1_2T.mum=Dům;"
                               u"units/1_2.mum=Haus*dům+domek*;units/12_9T.mum=Colours;units/12_9.mum=red*červená*"_s);
        w = std::make_unique<EditorWizard>(dataDir);
        w->show();
    }
    QString path(const QString& relative) const { return dir.filePath(relative); }
    QByteArray bytes(const QString& relative) const { return readBytes(path(relative)); }
    QStringList files(const QString& folder) const { return QDir(path(folder)).entryList(QDir::Files, QDir::Name); }

    template <class T = QWidget> T* at(const QString& name) const { return control<T>(w.get(), name); }
    // The shared script format (tests/support/Steps.h).
    void run(const QString& script) {
        Steps steps{[this](const QString& name) { return w->findChild<QWidget*>(name); }, messages};
        QVERIFY2(steps.run(script), qPrintable(script));
    }

    WizardView view() const {
        return {w->currentStep(),
                at(u"FrmPopis"_s)->isVisibleTo(w.get()) ? at<QLabel>(u"LblNadpis(0)"_s)->text() : u"-"_s,
                at(u"CmdPrev"_s)->isEnabled(),
                at<QPushButton>(u"CmdNext"_s)->text(),
                at(u"CmdNext"_s)->isEnabled(),
                at<QPushButton>(u"CmdEnd"_s)->text(),
                at(u"CmdEnd"_s)->isEnabled()};
    }
};

const QString kPick = u"Vyberte nejprve učebnici ze seznamu"_s;
const QString kPickLesson = u"Vyberte nejprve lekci ze seznamu"_s;
const QString kPickPair = u"Vyberte příslušnou dvojici v seznamu nalevo"_s;
const QString kForbidden = u"Tento znak je zakázán!"_s;
const QString kNext = u"Další >"_s;

} // namespace

Q_DECLARE_METATYPE(WizardView)

class TestWizard : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> f;

private Q_SLOTS:
    void init() {
        f.reset(); // its scripted boxes go before the next fixture's take over
        f = std::make_unique<Fixture>();
    }
    void cleanup() {
        f.reset();
        HintWindow::setShowHook({});
        QCOMPARE(deleteLeftoverWindows(), QStringList());
    }

    void stepsFollowNextAndBack_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<WizardView>("expected");
        QTest::addColumn<QStringList>("messages");
        const QString action = u"Co byste chtěl udělat?"_s;
        const QString books = u"Výběr učebnice"_s;
        auto row = [](const char* name, const QString& script, const WizardView& view, const QStringList& shown = {}) {
            QTest::newRow(name) << script << view << shown;
        };
        row("design state", u""_s, {0, u"-"_s, false, kNext});
        row("welcome → action", u"CmdNext"_s, {1, action, true, kNext});
        row("action → welcome", u"CmdNext CmdPrev"_s, {0, u"-"_s, false, kNext});
        row("new textbook waits for a name", u"CmdNext Opt1 CmdNext"_s,
            {3, u"Založení nové učebnice"_s, true, kNext, false});
        row("a name enables Next", u"CmdNext Opt1 CmdNext Txt=X"_s,
            {3, u"Založení nové učebnice"_s, true, kNext, true});
        row("back clears the name", u"CmdNext Opt1 CmdNext Txt=X CmdPrev Opt1 CmdNext"_s,
            {3, u"Založení nové učebnice"_s, true, kNext, false});
        row("back from new textbook", u"CmdNext Opt1 CmdNext Txt=X CmdPrev"_s, {1, action, true, kNext});
        row("textbook step", u"CmdNext CmdNext"_s, {2, books, true, kNext});
        row("textbook step without choice", u"CmdNext CmdNext CmdNext CmdNext"_s, {2, books, true, kNext},
            {kPick, kPick});
        row("back to action", u"CmdNext CmdNext CmdPrev"_s, {1, action, true, kNext});
        row("new lesson", u"CmdNext CmdNext Lst=Angličtina CmdNext"_s,
            {4, u"Vytvoření nové lekce"_s, true, kNext, false});
        row("back from new lesson", u"CmdNext CmdNext Lst=Angličtina CmdNext Txt2=L CmdPrev"_s,
            {2, books, true, kNext});
        row("rename", u"CmdNext Opt3 CmdNext Lst=Angličtina CmdNext"_s,
            {6, u"Změna názvu učebnice"_s, true, kNext, false});
        row("back from rename", u"CmdNext Opt3 CmdNext Lst=Angličtina CmdNext Txt3=Y CmdPrev"_s,
            {2, books, true, kNext});
        row("lessons to edit", u"CmdNext Opt4 CmdNext Lst=Angličtina CmdNext"_s,
            {7, u"Editace existující lekce"_s, true, kNext});
        row("lessons to delete", u"CmdNext Opt6 CmdNext Lst=Angličtina CmdNext"_s,
            {7, u"Vymazání lekce"_s, true, kNext});
        row("lesson step without choice", u"CmdNext Opt6 CmdNext Lst=Angličtina CmdNext CmdNext"_s,
            {7, u"Vymazání lekce"_s, true, kNext}, {kPickLesson});
        row("deleting a lesson answered No", u"CmdNext Opt6 CmdNext Lst=Angličtina CmdNext Lst2=Colours Ne CmdNext"_s,
            {7, u"Vymazání lekce"_s, true, kNext}, {u"Opravdu chcete odstranit Colours?"_s});
        row("back from lessons", u"CmdNext Opt4 CmdNext Lst=Angličtina CmdNext CmdPrev"_s, {2, books, true, kNext});
        row("pair list", u"CmdNext Opt4 CmdNext Lst=Angličtina CmdNext Lst2=Colours CmdNext"_s,
            {8, u"Editace existující lekce"_s, false, u"Uložit"_s, true, u"Neukládat"_s});
        row("deletion waits for a choice", u"CmdNext Opt5 CmdNext Lst=Angličtina CmdNext"_s,
            {9, u"Vymazání učebnice"_s, true, kNext, false});
        row("a choice enables Next", u"CmdNext Opt5 CmdNext Lst=Angličtina CmdNext Opt11"_s,
            {9, u"Vymazání učebnice"_s, true, kNext});
        row("back forgets the choice", u"CmdNext Opt5 CmdNext Lst=Angličtina CmdNext Opt10 CmdPrev CmdNext"_s,
            {9, u"Vymazání učebnice"_s, true, kNext, false});
        row("textbook deletion answered No still closes",
            u"CmdNext Opt5 CmdNext Lst=Angličtina CmdNext Opt10 Ne CmdNext"_s,
            {0, u"-"_s, false, u"Dokončit"_s, true, u"Storno"_s, false}, {u"Opravdu chcete odstranit Angličtina?"_s});
        row("pair entry", u"CmdNext CmdNext Lst=Angličtina CmdNext Txt2=L CmdNext"_s,
            {5, u"Vytvoření nové lekce"_s, false, u"Uložit lekci"_s, true, u"Storno"_s, false});
        row("closing page", u"CmdNext CmdNext Lst=Angličtina CmdNext Txt2=L CmdNext CmdNext"_s,
            {0, u"-"_s, false, u"Dokončit"_s, true, u"Storno"_s, false});
        row("storno answered No", u"CmdNext CmdNext Ne CmdEnd"_s, {2, books, true, kNext},
            {u"Opravdu chcete opustit editor?"_s});
    }
    void stepsFollowNextAndBack() {
        QFETCH(QString, script);
        QFETCH(WizardView, expected);
        QFETCH(QStringList, messages);
        f->run(script);
        QCOMPARE(f->view(), expected);
        QCOMPARE(f->messages.texts(), messages);
        for (const MessageBox::Request& box : std::as_const(f->messages.shown))
            QVERIFY(box.buttons == MessageBox::Buttons::Ok || box.defaultAnswer == Answer::No); // deletions, Storno
        QVERIFY(f->w->isVisible());
    }

    // The closing page's Dokončit closes the window; the close box asks first when a pair list has
    // changed. Storno answered Yes is test_app's editorReplacesTheMainWindow.
    void closingPageAndCloseBox() {
        QSignalSpy done(f->w.get(), &EditorWizard::unloaded);
        f->run(u"CmdNext Opt1 CmdNext Txt=Nová CmdNext"_s);
        QCOMPARE(f->at<QLabel>(u"LblPopis(0)"_s)->text(),
                 u"Úspěšně jste dokončili průvodce vytvořením slovní zásoby"_s);
        QCOMPARE(f->at<QLabel>(u"LblPopis(2)"_s)->text(), u"Pokračujte klepnutím na tlačítko Dokončit."_s);
        f->run(u"CmdNext"_s);
        QCOMPARE(done.count(), 1);

        init(); // the close box asks before it drops a pair list's changes
        f->run(u"CmdNext Opt4 CmdNext Lst=Angličtina CmdNext Lst2=Colours CmdNext Ne"_s);
        QVERIFY(!f->w->close());
        QCOMPARE(f->messages.texts(), QStringList{u"Opravdu chcete opustit editor?"_s});
        f->run(u"Ano"_s);
        QVERIFY(f->w->close());
    }

    // Every fixed text fits its label whole, and so does a long textbook name; only a pair too long for
    // its label is cut, ending in "…". With MEMORAN_SHOTS set, a picture of every step.
    void everyStepShowsItsTextsWhole() {
        const QString longName = u"Němčina pro pokročilé – slovní zásoba ke státní maturitě a k jazykovým zkouškám "
                                 u"úrovně B2, rozšířené vydání s cvičeními"_s;
        const QString book = QString(longName).replace(u' ', u'_');
        const QString walks[] = {u""_s,
                                 u"CmdNext"_s,
                                 u"CmdNext CmdNext"_s,
                                 u"CmdNext Opt1 CmdNext"_s,
                                 u"CmdNext CmdNext Lst=%1 CmdNext"_s.arg(book),
                                 u"CmdNext Opt3 CmdNext Lst=%1 CmdNext"_s.arg(book),
                                 u"CmdNext Opt4 CmdNext Lst=%1 CmdNext"_s.arg(book),
                                 u"CmdNext Opt4 CmdNext Lst=%1 CmdNext Lst2=%1 CmdNext"_s.arg(book),
                                 u"CmdNext Opt5 CmdNext Lst=%1 CmdNext"_s.arg(book),
                                 u"CmdNext Opt4 CmdNext Lst=%1 CmdNext Lst2=%1 CmdNext Ne CmdAdd"_s.arg(book),
                                 u"CmdNext Opt4 CmdNext Lst=%1 CmdNext Lst2=%1 CmdNext Ne CmdAdd CmdNext"_s.arg(book),
                                 u"CmdNext Opt1 CmdNext Txt=X CmdNext"_s};
        QStringList cut;
        for (const QString& walk : walks) {
            init();
            writeFiles(f->dir.path(), u"books/3.mum=%1;units/3_1T.mum=%1;units/3_1.mum=%1*%1*"_s.arg(longName));
            f->run(walk);
            for (const WrapLabel* label : f->w->findChildren<WrapLabel*>()) {
                if (label->isVisibleTo(f->w.get()) && !label->fitsWhole())
                    cut.append(label->objectName());
            }
            const int shot = int(&walk - walks);
            QVERIFY(shoot(f->w.get(), u"wizard-%1-step%2"_s.arg(shot, 2, 10, QChar(u'0')).arg(f->w->currentStep())));
        }
        QCOMPARE(cut, QStringList{u"LblPoslDvoj"_s}); // two such names; the old name alone fits
    }

    // ---- The six tasks, file by file ----

    void textbooksAreCreatedRenamedAndDeleted() {
        // Smallest free number; the name exactly as typed, spaces kept.
        f->run(u"CmdNext Opt1 CmdNext"_s);
        type(f->at(u"Txt"_s), u" Čeština  B1 "_s);
        QTest::keyClick(f->at(u"Txt"_s), Qt::Key_Return); // Enter runs Next
        QCOMPARE(f->bytes(u"books/2.mum"_s), QByteArray(" \xc8"
                                                        "e\x9atina  B1 \r\n"));
        QVERIFY(f->w->onClosingPage());

        init();
        f->run(u"CmdNext Opt3 CmdNext Lst=Angličtina CmdNext"_s);
        QCOMPARE(f->at<QLabel>(u"LblStrNazev"_s)->text(), u"Angličtina"_s);
        f->run(u"Txt3=English_2 CmdNext"_s);
        QCOMPARE(f->bytes(u"books/12.mum"_s), QByteArray("English 2\r\n"));
        QCOMPARE(f->bytes(u"units/12_9.mum"_s), QByteArray("red*\xe8"
                                                           "erven\xe1*\r\n"));

        init(); // textbook 1 with its lessons: textbook 12's stay
        writeBytes(f->path(u"units/1_x.mum"_s), "");
        f->run(u"CmdNext Opt5 CmdNext Lst=Němčina_pro_začátečníky CmdNext Opt10 Ano CmdNext"_s);
        QCOMPARE(f->files(u"books"_s), QStringList{u"12.mum"_s});
        QCOMPARE(f->files(u"units"_s), (QStringList{u"12_9.mum"_s, u"12_9T.mum"_s}));

        init(); // only the textbook file; a new textbook then takes the number and its lessons
        f->run(u"CmdNext Opt5 CmdNext Lst=Angličtina CmdNext Opt11 Ano CmdNext"_s);
        QCOMPARE(f->files(u"books"_s), QStringList{u"1.mum"_s});
        QCOMPARE(f->files(u"units"_s).size(), 6);
    }

    void lessonsAreCreatedAndFilledPairByPair() {
        // Textbook 1 has lessons 1 and 2; textbook 12's lesson 9 counts too: the new lesson is 1_10.
        f->run(u"CmdNext CmdNext Lst=Němčina_pro_začátečníky CmdNext Txt2=Lekce_*10* CmdNext"_s);
        QCOMPARE(f->bytes(u"units/1_10T.mum"_s), QByteArray("Lekce *10*\r\n"));
        QCOMPARE(f->bytes(u"units/1_10.mum"_s), QByteArray());
        auto* foreign = f->at<QLineEdit>(u"TxtCiz"_s);
        auto* czech = f->at<QLineEdit>(u"TxtCes"_s);
        type(foreign, u"Straße"_s);
        QTest::keyClick(foreign, Qt::Key_Return);
        QCOMPARE(f->w->focusWidget(), czech);
        type(czech, u"ulice+třída"_s);
        QTest::keyClick(czech, Qt::Key_Return);
        // On disk at once, before the lesson is finished.
        QCOMPARE(f->bytes(u"units/1_10.mum"_s), QByteArray("Stra\xdf"
                                                           "e*ulice+t\xf8\xed"
                                                           "da*\r\n"));
        QCOMPARE(f->w->focusWidget(), foreign);
        QCOMPARE(f->at<QLabel>(u"LblPoslDvoj"_s)->text(), u"Straße = ulice+třída"_s);
        type(foreign, u"a=b"_s);
        type(czech, u"c"_s);
        click(f->w.get(), u"CmdSave"_s);
        f->run(u"CmdNext"_s);
        QCOMPARE(f->bytes(u"units/1_10.mum"_s), QByteArray("Stra\xdf"
                                                           "e*ulice+t\xf8\xed"
                                                           "da*\r\na=b*c*\r\n"));
        QVERIFY(f->w->onClosingPage());
    }

    void aLessonIsEditedAndExtended() {
        f->run(u"CmdNext Opt4 CmdNext Lst=Němčina_pro_začátečníky CmdNext Lst2=Rodina CmdNext"_s);
        auto* pairs = f->at<QListWidget>(u"Lst3"_s);
        QCOMPARE(pairs->count(), 3);
        QCOMPARE(pairs->item(1)->text(), u" = "_s);
        // "Odstranit výraz" and "Změnit výraz" want a pair first.
        click(f->w.get(), u"CmdDel"_s);
        click(f->w.get(), u"CmdChange"_s);
        QCOMPARE(f->messages.texts(), (QStringList{kPickPair, kPickPair}));
        QVERIFY(pick(f->at<QListWidget>(u"Lst3"_s), u"Mutter = matka"_s));
        click(f->w.get(), u"CmdDel"_s);
        QCOMPARE(pairs->count(), 2);
        // Only "Ano" saves before pairs are added; the sides come back as they were read (" = " inside).
        f->run(u"Ano"_s);
        click(f->w.get(), u"CmdAdd"_s);
        QCOMPARE(f->bytes(u"units/1_1.mum"_s), QByteArray("**\r\na = b*rovn\xe1 se*\r\n"));
        QCOMPARE(f->view(), (WizardView{4, u"Editace existující lekce"_s, false, kNext, true}));
        QCOMPARE(f->at<QLabel>(u"LblPopis(10)"_s)->text(),
                 u"Zadejte nový název lekce. Můžete však použít i stávající"_s);
        QCOMPARE(f->at<QLineEdit>(u"Txt2"_s)->text(), u"Rodina"_s);
        retype(f->at(u"Txt2"_s), u"Rodina a přátelé"_s);
        f->run(u"CmdNext"_s);
        QCOMPARE(f->bytes(u"units/1_1T.mum"_s), QByteArray("Rodina a p\xf8\xe1tel\xe9\r\n"));
        QCOMPARE(f->at<QLabel>(u"LblPoslDvoj"_s)->text(), u"a = b = rovná se"_s);
        type(f->at(u"TxtCiz"_s), u"Vater"_s);
        type(f->at(u"TxtCes"_s), u"otec"_s);
        QTest::keyClick(f->at(u"TxtCes"_s), Qt::Key_Enter);
        QCOMPARE(f->bytes(u"units/1_1.mum"_s), QByteArray("**\r\na = b*rovn\xe1 se*\r\nVater*otec*\r\n"));
    }

    void pairListIsSavedOrLeftAlone() {
        const QByteArray before = f->bytes(u"units/1_2.mum"_s);
        f->run(u"CmdNext Opt4 CmdNext Lst=Němčina_pro_začátečníky CmdNext Lst2=Dům CmdNext Ne"_s);
        click(f->w.get(), u"CmdAdd"_s); // "Ne": the file stays as it was
        QCOMPARE(f->bytes(u"units/1_2.mum"_s), before);

        init(); // everything removed and saved: an empty lesson file
        f->run(u"CmdNext Opt4 CmdNext Lst=Němčina_pro_začátečníky CmdNext Lst2=Dům CmdNext Lst3=Haus_=_dům+domek"_s);
        click(f->w.get(), u"CmdDel"_s);
        f->run(u"CmdNext"_s);
        QCOMPARE(f->bytes(u"units/1_2.mum"_s), QByteArray());
        QVERIFY(f->w->onClosingPage());

        init(); // a lesson file gone missing is an empty lesson
        QFile::remove(f->path(u"units/1_2.mum"_s));
        f->run(u"CmdNext Opt4 CmdNext Lst=Němčina_pro_začátečníky CmdNext Lst2=Dům CmdNext"_s);
        QCOMPARE(f->at<QListWidget>(u"Lst3"_s)->count(), 0);
    }

    // Enter presses the focused button, Tab leads from Next into the step, Enter or a double-click on a
    // textbook or lesson goes on, and a list shows nothing chosen until the user picks an item.
    void keyboardAndDoubleClickWalkTheWizard() {
        f->w->activateWindow(); // focus events come to an active window only
        QVERIFY(QTest::qWaitForWindowActive(f->w.get()));
        QTest::keyClick(f->at(u"CmdNext"_s), Qt::Key_Return);
        QCOMPARE(f->w->currentStep(), EditorWizard::Action);
        QTest::keyClick(f->w->focusWidget(), Qt::Key_Tab);
        QVERIFY2(f->w->focusWidget()->objectName().startsWith(u"Opt"_s), qPrintable(f->w->focusWidget()->objectName()));
        f->run(u"Opt4 CmdNext"_s);
        auto* books = f->at<QListWidget>(u"Lst"_s);
        QCOMPARE(f->w->focusWidget(), books);
        QCOMPARE(books->currentRow(), -1);
        QTest::keyClick(books, Qt::Key_Down);
        QVERIFY(books->currentRow() == 0 && books->currentItem()->isSelected());
        QTest::keyClick(books, Qt::Key_Return);
        QCOMPARE(f->w->currentStep(), EditorWizard::Lesson);
        auto* lessons = f->at<QListWidget>(u"Lst2"_s);
        const QRect rodina = lessons->visualItemRect(lessons->findItems(u"Rodina"_s, Qt::MatchExactly).first());
        doubleClick(lessons->viewport(), rodina.center());
        QCOMPARE(f->w->currentStep(), EditorWizard::PairList);
        f->run(u"Lst3=Mutter_=_matka"_s);
        click(f->w.get(), u"CmdDel"_s);
        click(f->w.get(), u"CmdDel"_s); // the neighbour was not chosen by the user
        QCOMPARE(f->at<QListWidget>(u"Lst3"_s)->count(), 2);
        QCOMPARE(f->messages.texts(), QStringList{kPickPair});
    }

    void aLessonIsDeleted() {
        f->run(u"CmdNext Opt6 CmdNext Lst=Němčina_pro_začátečníky CmdNext Lst2=Dům Ano CmdNext"_s);
        QCOMPARE(f->files(u"units"_s), (QStringList{u"12_9.mum"_s, u"12_9T.mum"_s, u"1_1.mum"_s, u"1_1T.mum"_s}));
        QVERIFY(f->w->onClosingPage());
        QCOMPARE(f->messages.shown.last().icon, MessageBox::Icon::Information);
    }

    // A file changed behind the window since it was read: a save asks first (No, the default, keeps
    // the file), a deletion of a lesson or textbook no longer named as listed deletes nothing.
    void filesChangedMeanwhileAreKept_data() {
        QTest::addColumn<QString>("reach");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("act");
        QTest::addColumn<QString>("told");
        const QString pairList = u"CmdNext Opt4 CmdNext Lst=Němčina_pro_začátečníky CmdNext Lst2=Rodina CmdNext"_s;
        const QString changed = u"Lekce „Rodina“ se mezitím změnila: od chvíle, kdy jste ji otevřeli"_s;
        QTest::newRow("pair list saved") << pairList << u"units/1_1.mum"_s << u"CmdNext"_s << changed;
        QTest::newRow("saved for more pairs") << pairList << u"units/1_1.mum"_s << u"Ano CmdAdd"_s << changed;
        QTest::newRow("lesson deleted") << u"CmdNext Opt6 CmdNext Lst=Němčina_pro_začátečníky CmdNext Lst2=Rodina"_s
                                        << u"units/1_1T.mum"_s << u"CmdNext"_s
                                        << u"Lekce „Rodina“ se mezitím změnila ("_s;
        QTest::newRow("textbook deleted")
            << u"CmdNext Opt5 CmdNext Lst=Němčina_pro_začátečníky CmdNext Opt10"_s << u"books/1.mum"_s << u"CmdNext"_s
            << u"Učebnice „Němčina pro začátečníky“ se mezitím změnila ("_s;
    }
    void filesChangedMeanwhileAreKept() {
        QFETCH(QString, reach);
        QFETCH(QString, file);
        QFETCH(QString, told);
        f->run(reach);
        const QByteArray other = "Jin\xe1*other*\r\n";
        QVERIFY(writeBytes(f->path(file), other));
        QFETCH(QString, act);
        f->run(act);
        QVERIFY2(f->messages.texts().last().startsWith(told), qPrintable(f->messages.texts().last()));
        const MessageBox::Request& last = f->messages.shown.last();
        QVERIFY(last.buttons == MessageBox::Buttons::Ok || last.defaultAnswer == Answer::No);
        QCOMPARE(f->bytes(file), other);
        QVERIFY(!f->w->onClosingPage());
        QCOMPARE(f->files(u"units"_s).size(), 6);
    }

    // ---- The pair editor ----

    void pairButtonsFollowTheBoxes_data() {
        QTest::addColumn<QString>("foreign");
        QTest::addColumn<QString>("czech");
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("next");
        QTest::newRow("both empty") << u""_s << u""_s << false << true;
        QTest::newRow("Czech only") << u""_s << u"dům"_s << false << false;
        QTest::newRow("foreign only") << u"Haus"_s << u""_s << false << false;
        QTest::newRow("both") << u"Haus"_s << u"dům"_s << true << false;
    }
    void pairButtonsFollowTheBoxes() {
        f->run(u"CmdNext CmdNext Lst=Angličtina CmdNext Txt2=L CmdNext"_s);
        type(f->at(u"TxtCiz"_s), u"x"_s);
        type(f->at(u"TxtCes"_s), u"y"_s);
        QFETCH(QString, foreign);
        QFETCH(QString, czech);
        retype(f->at(u"TxtCiz"_s), foreign);
        retype(f->at(u"TxtCes"_s), czech);
        QFETCH(bool, save);
        QCOMPARE(f->at(u"CmdSave"_s)->isEnabled(), save);
        QTEST(f->at(u"CmdNext"_s)->isEnabled(), "next");
        QTest::keyClick(f->at(u"TxtCes"_s), Qt::Key_Return); // without "Uložit dvojici" nothing is saved
        QCOMPARE(f->bytes(u"units/12_10.mum"_s).isEmpty(), !save);
    }

    void starIsRefusedTypedOrPasted() {
        f->run(u"CmdNext CmdNext Lst=Angličtina CmdNext Txt2=a*b CmdNext"_s); // the lesson name takes it
        auto* foreign = f->at<QLineEdit>(u"TxtCiz"_s);
        type(foreign, u"ab*"_s);
        QVERIFY(foreign->isUndoAvailable()); // refused before it reached the box: what was typed can be undone
        type(foreign, u"c"_s);
        QCOMPARE(foreign->text(), u"abc"_s);
        QGuiApplication::clipboard()->setText(u"x*y"_s);
        QTest::keyClick(foreign, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(foreign->text(), u"abc"_s);
        QCOMPARE(f->messages.texts(), (QStringList{kForbidden, kForbidden}));
        QCOMPARE(f->messages.shown.first().icon, MessageBox::Icon::Critical);
    }

    // Names and sides pasted or dropped with line breaks and tabs stay on one line.
    void boxesKeepTheirTextOnOneLine_data() {
        QTest::addColumn<QString>("walk");
        QTest::addColumn<QString>("box");
        QTest::newRow("new textbook") << u"CmdNext Opt1 CmdNext"_s << u"Txt"_s;
        QTest::newRow("new lesson") << u"CmdNext CmdNext Lst=Angličtina CmdNext"_s << u"Txt2"_s;
        QTest::newRow("renamed textbook") << u"CmdNext Opt3 CmdNext Lst=Angličtina CmdNext"_s << u"Txt3"_s;
        QTest::newRow("foreign side") << u"CmdNext CmdNext Lst=Angličtina CmdNext Txt2=L CmdNext"_s << u"TxtCiz"_s;
        QTest::newRow("Czech side") << u"CmdNext CmdNext Lst=Angličtina CmdNext Txt2=L CmdNext"_s << u"TxtCes"_s;
    }
    void boxesKeepTheirTextOnOneLine() {
        QFETCH(QString, walk);
        QFETCH(QString, box);
        f->run(walk);
        auto* edit = f->at<QLineEdit>(box);
        edit->clear();
        QGuiApplication::clipboard()->setText(u"\r\ndog\r\nhound\n"_s);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        drop(edit, u"\tcat\u0007"_s);
        QCOMPARE(edit->text(), u"dog hound cat"_s);
    }

    // The pair boxes take the answer box's Ctrl keys (Ctrl+U no longer wipes the line).
    void pairBoxesTypeGermanLetters() {
        f->run(u"CmdNext CmdNext Lst=Angličtina CmdNext Txt2=L CmdNext"_s);
        auto* foreign = f->at<QLineEdit>(u"TxtCiz"_s);
        type(foreign, u"Tr"_s);
        for (const Qt::Key key : {Qt::Key_U, Qt::Key_S, Qt::Key_A, Qt::Key_O, Qt::Key_Q})
            QTest::keyClick(foreign, key, Qt::ControlModifier);
        QTest::keyClick(foreign, Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(foreign->text(), u"Trüßäö'Ü"_s);
    }

    void changedPairReturnsToItsPlace() {
        f->run(u"CmdNext Opt4 CmdNext Lst=Němčina_pro_začátečníky CmdNext Lst2=Rodina CmdNext Lst3=_=_"_s);
        HintWindow::setShowHook([](HintWindow& window) {
            QCOMPARE(window.LblNadpis()->text(), u"Změna"_s);
            type(window.TxtCiz(), u"Kind*"_s);
            type(window.TxtCze(), u"dítě"_s);
            click(&window, u"CmdOK"_s);
        });
        click(f->w.get(), u"CmdChange"_s);
        HintWindow::setShowHook([](HintWindow& window) {
            type(window.TxtCiz(), u"zapomenuto"_s);
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        QVERIFY(pick(f->at<QListWidget>(u"Lst3"_s), u"a = b = rovná se"_s));
        click(f->w.get(), u"CmdChange"_s);
        QCOMPARE(f->messages.texts(), QStringList{kForbidden});
        auto* pairs = f->at<QListWidget>(u"Lst3"_s);
        QStringList shown;
        for (int i = 0; i < pairs->count(); ++i)
            shown.append(pairs->item(i)->text());
        QCOMPARE(shown, (QStringList{u"Mutter = matka"_s, u"Kind = dítě"_s, u"a = b = rovná se"_s}));
        f->run(u"CmdNext"_s);
        QCOMPARE(f->bytes(u"units/1_1.mum"_s), QByteArray("Mutter*matka*\r\nKind*d\xed"
                                                          "t\xec*\r\na = b*rovn\xe1 se*\r\n"));
    }
};

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
