// SPDX-License-Identifier: GPL-3.0-or-later
// The vocabulary editor as its user drives it: every step reached by its buttons and keys, and the
// files each task leaves behind byte for byte. Failed saves are met in test_hostile.
#include "Files.h"
#include "Gui.h"
#include "ModalBoxes.h"
#include "Sandbox.h"
#include "ScriptedMessages.h"
#include "Steps.h"

#include "store/Cp1250.h"
#include "ui/HintWindow.h"
#include "wizard/EditorWizard.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Fixture : Sandbox {
    ScriptedMessages messages;
    std::unique_ptr<EditorWizard> w;
    QMap<QString, QByteArray> before;
    QStringList chosen; // what the file dialogs answer, in turn

    Fixture() {
        EditorWizard::setFileDialogHook([this](QWidget*) { return chosen.isEmpty() ? QString() : chosen.takeFirst(); });
        // Textbook 1 and its neighbour 12, whose lessons must never be taken for textbook 1's.
        writeFiles(dir.path(), u"books/1.mum=Němčina;books/12.mum=Angličtina;units/1_1T.mum=Rodina;"
                               u"units/1_1.mum=Mutter*matka*||a = b*rovná se*;units/1_2T.mum=Dům;"
                               u"units/1_2.mum=Haus*dům+domek*;units/12_9T.mum=Colours;units/12_9.mum=red*červená*"_s);
        before = files();
        w = std::make_unique<EditorWizard>(dataDir);
        w->show();
    }
    QString path(const QString& relative) const { return dir.filePath(relative); }
    QByteArray bytes(const QString& relative) const { return readBytes(path(relative)); }
    QMap<QString, QByteArray> files() const {
        QMap<QString, QByteArray> all;
        for (const QString& folder : {u"books"_s, u"units"_s}) {
            for (const QString& name : QDir(path(folder)).entryList(QDir::Files))
                all.insert(folder + u'/' + name, bytes(folder + u'/' + name));
        }
        return all;
    }
    // What changed on disk: "path=text" for a file written ("|" for each CR LF), "-path" for one deleted.
    QString changes() const {
        QStringList changed;
        const QMap<QString, QByteArray> now = files();
        for (const auto& [file, data] : now.asKeyValueRange()) {
            if (before.value(file, "-") != data)
                changed.append(file + u'=' + Cp1250::decode(data).replace(u"\r\n"_s, u"|"_s));
        }
        for (const QString& file : before.keys()) {
            if (!now.contains(file))
                changed.append(u'-' + file);
        }
        return changed.join(u';');
    }

    template <class T = QWidget> T* at(const QString& name) const { return control<T>(w.get(), name); }
    QStringList items(const QString& list) const {
        QStringList texts;
        for (int i = 0; i < at<QListWidget>(list)->count(); ++i)
            texts << at<QListWidget>(list)->item(i)->text();
        return texts;
    }
    // The shared script format (Steps.h) and "!path": another program rewrites that file meanwhile.
    void run(const QString& script) {
        Steps steps{[this](const QString& name) { return w->findChild<QWidget*>(name); }, messages,
                    [this](const QString& step) {
                        return step.startsWith(u'!') && writeBytes(path(step.mid(1)), "Jin\xe1*other*\r\n");
                    }};
        QVERIFY2(steps.run(script), qPrintable(script));
    }
    // The step and its buttons: "<" for an enabled Back, the captions of Next, the end button and (on
    // the pair entry) "Uložit dvojici", "-" after a disabled one.
    QString view() const {
        auto button = [this](const QString& name) {
            return at<QPushButton>(name)->text() + (at(name)->isEnabled() ? u""_s : u"-"_s);
        };
        const QString save = at(u"CmdSave"_s)->isVisibleTo(w.get()) ? u" "_s + button(u"CmdSave"_s) : QString();
        return u"%1 %2%3 %4%5"_s.arg(w->currentStep())
            .arg(at(u"CmdPrev"_s)->isEnabled() ? u"< "_s : u""_s, button(u"CmdNext"_s), button(u"CmdEnd"_s), save);
    }
};

const QString kPick = u"Vyberte nejprve učebnici ze seznamu"_s;
const QString kPickPair = u"Vyberte příslušnou dvojici v seznamu nalevo"_s;
const QString kForbidden = u"Tento znak je zakázán!"_s;
const QString kLeave = u"Opravdu chcete opustit editor?"_s;
const QString kPairEntry = u"CmdNext Lst=Angličtina CmdNext Txt2=L CmdNext"_s;
const QByteArray kBom = "\xef\xbb\xbf";
const QByteArray kCsv = u"Lekce;Němčina;Čeština\r\nRodina;die Mutter;matka\r\nDům;das Haus;dům+domek\r\nDům;Stern*;"
                        u"hvězda\r\nRodina;der Vater;otec\r\n"_s.toUtf8();

} // namespace

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
        EditorWizard::setFileDialogHook({});
        QCOMPARE(deleteLeftoverWindows(), QStringList());
    }

    void stepsFollowNextAndBack_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QStringList>("messages");
        auto row = [](const char* name, const QString& script, const QString& view, const QStringList& shown = {}) {
            QTest::newRow(name) << u"CmdNext %1"_s.arg(script) << view << shown;
        };
        row("back to welcome", u"CmdPrev"_s, u"0 Další > Storno"_s);
        row("new textbook waits for a name", u"Opt1 CmdNext"_s, u"3 < Další >- Storno"_s);
        row("a name enables Next", u"Opt1 CmdNext Txt=X"_s, u"3 < Další > Storno"_s);
        row("back clears the name", u"Opt1 CmdNext Txt=X CmdPrev Opt1 CmdNext"_s, u"3 < Další >- Storno"_s);
        row("no textbook chosen", u"CmdNext CmdNext CmdNext"_s, u"2 < Další > Storno"_s, {kPick, kPick});
        row("new lesson", u"CmdNext Lst=Angličtina CmdNext"_s, u"4 < Další >- Storno"_s);
        row("back from new lesson", u"CmdNext Lst=Angličtina CmdNext Txt2=L CmdPrev"_s, u"2 < Další > Storno"_s);
        row("rename", u"Opt3 CmdNext Lst=Angličtina CmdNext"_s, u"6 < Další >- Storno"_s);
        row("no lesson chosen", u"Opt6 CmdNext Lst=Angličtina CmdNext CmdNext"_s, u"7 < Další > Storno"_s,
            {u"Vyberte nejprve lekci ze seznamu"_s});
        row("lesson deletion answered No", u"Opt6 CmdNext Lst=Angličtina CmdNext Lst2=Colours Ne CmdNext"_s,
            u"7 < Další > Storno"_s, {u"Opravdu chcete odstranit Colours?"_s});
        row("pair list", u"Opt4 CmdNext Lst=Angličtina CmdNext Lst2=Colours CmdNext"_s, u"8 Uložit Neukládat"_s);
        row("deletion waits for a choice", u"Opt5 CmdNext Lst=Angličtina CmdNext"_s, u"9 < Další >- Storno"_s);
        row("a choice enables Next", u"Opt5 CmdNext Lst=Angličtina CmdNext Opt11"_s, u"9 < Další > Storno"_s);
        row("back forgets the choice", u"Opt5 CmdNext Lst=Angličtina CmdNext Opt10 CmdPrev CmdNext"_s,
            u"9 < Další >- Storno"_s);
        row("textbook deletion answered No still closes", u"Opt5 CmdNext Lst=Angličtina CmdNext Opt10 Ne CmdNext"_s,
            u"0 Dokončit Storno-"_s, {u"Opravdu chcete odstranit Angličtina?"_s});
        row("pair entry", kPairEntry, u"5 Uložit lekci Storno- Uložit dvojici-"_s);
        row("Czech side alone", kPairEntry + u" TxtCes=b"_s, u"5 Uložit lekci- Storno- Uložit dvojici-"_s);
        row("both sides", kPairEntry + u" TxtCiz=a TxtCes=b"_s, u"5 Uložit lekci- Storno- Uložit dvojici"_s);
        row("both cleared", kPairEntry + u" TxtCiz=a TxtCes=b TxtCiz= TxtCes="_s,
            u"5 Uložit lekci Storno- Uložit dvojici-"_s);
        row("closing page", kPairEntry + u" CmdNext"_s, u"0 Dokončit Storno-"_s);
        row("storno answered No", u"CmdNext Ne CmdEnd"_s, u"2 < Další > Storno"_s, {kLeave});
    }
    void stepsFollowNextAndBack() {
        QFETCH(QString, script);
        f->run(script);
        QTEST(f->view(), "view");
        QTEST(f->messages.texts(), "messages");
        for (const MessageBox::Request& box : std::as_const(f->messages.shown)) // deletions and Storno: No
            QVERIFY(box.buttons == MessageBox::Buttons::Ok || box.defaultAnswer == MessageBox::Answer::No);
        QVERIFY(f->w->isVisible());
    }

    // Each task from its option, and the files it leaves.
    void tasksLeaveTheirFiles_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("changes");
        QTest::addColumn<bool>("done");
        auto row = [](const char* name, const QString& script, const QString& changes, bool done = true) {
            QTest::newRow(name) << u"CmdNext "_s + script << changes << done;
        };
        const QString rodina = u"Opt4 CmdNext Lst=Němčina CmdNext Lst2=Rodina CmdNext"_s;
        // The smallest free number; the name as typed, blanks kept.
        row("new textbook", u"Opt1 CmdNext Txt=_Čeština__B1_ CmdNext"_s, u"books/2.mum= Čeština  B1 |"_s);
        row("textbook renamed", u"Opt3 CmdNext Lst=Angličtina CmdNext Txt3=English_2 CmdNext"_s,
            u"books/12.mum=English 2|"_s);
        row("textbook deleted with its lessons", u"Opt5 CmdNext Lst=Němčina CmdNext Opt10 Ano CmdNext"_s,
            u"-books/1.mum;-units/1_1.mum;-units/1_1T.mum;-units/1_2.mum;-units/1_2T.mum"_s);
        row("textbook deleted alone", u"Opt5 CmdNext Lst=Angličtina CmdNext Opt11 Ano CmdNext"_s, u"-books/12.mum"_s);
        // Textbook 12's lesson 9 counts too: the new lesson is 10.
        row("new lesson",
            u"CmdNext Lst=Němčina CmdNext Txt2=Lekce_*10* CmdNext TxtCiz=Straße TxtCes=ulice+třída CmdSave CmdNext"_s,
            u"units/1_10.mum=Straße*ulice+třída*|;units/1_10T.mum=Lekce *10*|"_s);
        row("lesson deleted", u"Opt6 CmdNext Lst=Němčina CmdNext Lst2=Dům Ano CmdNext"_s,
            u"-units/1_2.mum;-units/1_2T.mum"_s);
        row("every pair deleted",
            rodina + u" Lst3=Mutter_=_matka CmdDel Lst3=_=_ CmdDel Lst3=a_=_b_=_rovná_se CmdDel CmdNext"_s,
            u"units/1_1.mum="_s);
        // The sides go back as they were read (" = " inside); "Ano" saves the list before pairs are added.
        row("lesson edited and extended",
            rodina +
                u" Lst3=Mutter_=_matka CmdDel Ano CmdAdd Txt2=Rodina_a_přátelé CmdNext TxtCiz=Vater TxtCes=otec CmdSave CmdNext"_s,
            u"units/1_1.mum=**|a = b*rovná se*|Vater*otec*|;units/1_1T.mum=Rodina a přátelé|"_s);
        row("changes dropped", rodina + u" Lst3=Mutter_=_matka CmdDel Ne CmdAdd"_s, u""_s, false);
        // Another program changed the file meanwhile ("!"): a save asks first (No, the default, keeps
        // it), a deletion of a lesson or textbook no longer as listed deletes nothing.
        row("pair list changed meanwhile", rodina + u" !units/1_1.mum CmdNext"_s, u"units/1_1.mum=Jiná*other*|"_s,
            false);
        row("lesson changed before more pairs", rodina + u" !units/1_1.mum Ano CmdAdd"_s,
            u"units/1_1.mum=Jiná*other*|"_s, false);
        row("lesson changed meanwhile", u"Opt6 CmdNext Lst=Němčina CmdNext Lst2=Rodina !units/1_1T.mum Ano CmdNext"_s,
            u"units/1_1T.mum=Jiná*other*|"_s, false);
        row("textbook changed meanwhile", u"Opt5 CmdNext Lst=Němčina CmdNext Opt10 !books/1.mum Ano CmdNext"_s,
            u"books/1.mum=Jiná*other*|"_s, false);
    }
    void tasksLeaveTheirFiles() {
        QFETCH(QString, script);
        f->run(script);
        QTEST(f->changes(), "changes");
        QTEST(f->w->onClosingPage(), "done");
    }

    // Enter presses the focused button and goes on from a list, a name box and the pair boxes, a
    // double-click on a lesson goes on, Tab leads from Next into the step, and a list shows nothing
    // chosen until the user picks an item. The close box asks before it drops a pair list's changes;
    // the pair boxes keep to one line, refuse "*" and type German letters; Dokončit closes the window.
    void keysAndMouseWalkTheWizard() {
        QSignalSpy closed(f->w.get(), &EditorWizard::unloaded);
        f->w->activateWindow(); // focus events come to an active window only
        QVERIFY(QTest::qWaitForWindowActive(f->w.get()));
        f->run(u"CmdNext:Return"_s);
        QCOMPARE(f->w->currentStep(), EditorWizard::Action);
        QTest::keyClick(f->w->focusWidget(), Qt::Key_Tab);
        QVERIFY2(f->w->focusWidget()->objectName().startsWith(u"Opt"_s), qPrintable(f->w->focusWidget()->objectName()));
        f->run(u"Opt4 CmdNext"_s);
        auto* books = f->at<QListWidget>(u"Lst"_s);
        QCOMPARE(f->w->focusWidget(), books);
        QCOMPARE(books->currentRow(), -1);
        f->run(u"Lst:Down"_s);
        QVERIFY(books->currentRow() == 0 && books->currentItem()->isSelected());
        f->run(u"Lst:Return"_s);
        QCOMPARE(f->w->currentStep(), EditorWizard::Lesson);
        auto* lessons = f->at<QListWidget>(u"Lst2"_s);
        doubleClick(lessons->viewport(),
                    lessons->visualItemRect(lessons->findItems(u"Rodina"_s, Qt::MatchExactly).first()).center());
        QCOMPARE(f->w->currentStep(), EditorWizard::PairList);
        f->run(u"CmdChange Lst3=Mutter_=_matka CmdDel CmdDel"_s); // the neighbour was not chosen by the user
        QCOMPARE(f->at<QListWidget>(u"Lst3"_s)->count(), 2);
        QVERIFY(!f->w->close());
        QCOMPARE(f->messages.texts(), (QStringList{kPickPair, kPickPair, kLeave}));
        f->run(u"Ne CmdAdd Txt2:Return TxtCiz=Straße TxtCiz:Return"_s); // the lesson's name waits in its box
        QCOMPARE(f->w->focusWidget(), f->at(u"TxtCes"_s));
        QGuiApplication::clipboard()->setText(u"\r\nulice\r\ntřída\n"_s); // a pasted line break stays out of the file
        f->run(u"TxtCes:Ctrl+V TxtCes:Enter"_s);
        QCOMPARE(f->changes(), u"units/1_1.mum=Mutter*matka*||a = b*rovná se*|Straße*ulice třída*|"_s); // at once
        QCOMPARE(f->w->focusWidget(), f->at(u"TxtCiz"_s));
        QCOMPARE(f->at<QLabel>(u"LblPoslDvoj"_s)->text(), u"Straße = ulice třída"_s);
        auto* foreign = f->at<QLineEdit>(u"TxtCiz"_s);
        type(foreign, u"Tr*"_s);
        QVERIFY(foreign->isUndoAvailable()); // refused before it reached the box: what was typed can be undone
        QGuiApplication::clipboard()->setText(u"x*y"_s);
        f->run(
            u"TxtCiz:Ctrl+V TxtCiz:Ctrl+U TxtCiz:Ctrl+S TxtCiz:Ctrl+A TxtCiz:Ctrl+O TxtCiz:Ctrl+Q TxtCiz:Ctrl+Shift+U"_s);
        QCOMPARE(foreign->text(), u"Trüßäö'Ü"_s);
        QCOMPARE(f->messages.texts().mid(4), (QStringList{kForbidden, kForbidden}));
        QCOMPARE(f->messages.shown.last().icon, MessageBox::Icon::Critical);
        f->run(u"TxtCiz= CmdNext CmdNext"_s);
        QCOMPARE(closed.count(), 1);
    }

    // An import through its steps: the format from the extension, the preview following the choice of
    // the lesson column, Next held until the row with "*" is agreed to be left out, then the new textbook.
    void importCreatesTextbook() {
        QVERIFY(writeBytes(f->path(u"slova.csv"_s), kCsv));
        f->chosen = {f->path(u"slova.csv"_s)};
        f->run(u"CmdNext Opt7 CmdNext VymCmdProchazet"_s);
        QCOMPARE(f->at<QComboBox>(u"VymCmbFormat"_s)->currentText(), u"CSV"_s);
        f->run(u"CmdNext"_s); // the lesson column as the header names it
        QCOMPARE(f->items(u"VymLstNahled"_s),
                 (QStringList{u"Rodina: die Mutter = matka"_s, u"Rodina: der Vater = otec"_s,
                              u"Dům: das Haus = dům+domek"_s, u"Dům: Stern* = hvězda"_s}));
        f->run(u"VymCmbLekce=žádný"_s);
        QCOMPARE(f->items(u"VymLstNahled"_s).value(0), u"slova: die Mutter = matka"_s);
        f->run(u"VymCmbLekce=Sloupec_1_(Lekce) CmdNext"_s);
        QCOMPARE(f->view(), u"12 < Importovat- Storno"_s);
        QVERIFY(f->at<QPlainTextEdit>(u"VymTxtShrnuti"_s)
                    ->toPlainText()
                    .endsWith(u"2 lekce, 3 dvojice.\nVynecháno 1 dvojice s hvězdičkou „*“ v textu: řádek 4."_s));
        f->run(u"VymChkSouhlas CmdNext"_s);
        QCOMPARE(f->changes(), u"books/2.mum=slova|;units/2_1.mum=die Mutter*matka*|der Vater*otec*|;units/2_1T.mum="
                               u"Rodina|;units/2_2.mum=das Haus*dům+domek*|;units/2_2T.mum=Dům|"_s);
        QVERIFY(f->w->onClosingPage());
    }

    // Export from the first step writes the chosen textbook; a file that cannot be written or read is
    // told and the step stays.
    void exchangeFirstStep_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QByteArray>("bytes");
        const QString exporting = u"VymOptExport VymCmdProchazet VymCmbUcebnice=Angličtina CmdNext"_s;
        QTest::newRow("export") << exporting << u"out.tsv"_s << u"0 Dokončit Storno-"_s
                                << kBom + u"Lekce\tCizí výraz\tČeský výraz\r\nColours\tred\tčervená\r\n"_s.toUtf8();
        QTest::newRow("KVTML, languages named")
            << u"VymOptExport VymCmdProchazet VymCmbUcebnice=Angličtina VymTxtCizi=Britská_angličtina "
               u"VymTxtCiziKod=en CmdNext"_s
            << u"out.kvtml"_s << u"0 Dokončit Storno-"_s << u"<name>Britská angličtina</name>"_s.toUtf8();
        QTest::newRow("unwritable") << exporting << u"chybí/out.tsv"_s << u"10 < Další > Storno"_s << QByteArray();
        QTest::newRow("unreadable") << u"VymCmdProchazet CmdNext"_s << u"chybí.kvtml"_s << u"10 < Další > Storno"_s
                                    << QByteArray();
    }
    void exchangeFirstStep() {
        QFETCH(QString, file);
        f->chosen = {f->path(file)};
        QFETCH(QString, script);
        f->run(u"CmdNext Opt7 CmdNext "_s + script);
        QTEST(f->view(), "view");
        QFETCH(QByteArray, bytes);
        const QByteArray written = f->bytes(file);
        QVERIFY2(bytes.isEmpty() ? written.isEmpty() : written.contains(bytes), written.constData());
        QCOMPARE(f->messages.shown.size(), int(f->w->onClosingPage() ? 0 : 1));
    }

    // The pair list takes a file's pairs after its own (the one with "*" told and left out), exports
    // the lesson as listed, and saves the whole list with "Uložit".
    void pairListImportsAndExports() {
        QVERIFY(writeBytes(f->path(u"slova.csv"_s), kCsv));
        f->chosen = {f->path(u"slova.csv"_s), f->path(u"lekce.csv"_s)};
        f->run(u"CmdNext Opt4 CmdNext Lst=Angličtina CmdNext Lst2=Colours CmdNext CmdImport CmdExport CmdNext"_s);
        QCOMPARE(f->messages.texts().value(0), u"Tyto dvojice nelze uložit, do seznamu nebyly přidány:\n"
                                               u"Vynecháno 1 dvojice s hvězdičkou „*“ v textu: řádek 4."_s);
        const QString pairs = u"red*červená*|die Mutter*matka*|der Vater*otec*|das Haus*dům+domek*|"_s; // by lesson
        QCOMPARE(f->changes(), u"units/12_9.mum="_s + pairs);
        QCOMPARE(f->bytes(u"lekce.csv"_s), kBom + u"Cizí výraz;Český výraz\r\n"_s.toUtf8() +
                                               QString(pairs).replace(u"*|"_s, u"\r\n"_s).replace(u'*', u';').toUtf8());
    }

    // The change window's OK puts the pair back where it was; its close box keeps the old pair.
    void changedPairReturnsToItsPlace() {
        f->run(u"CmdNext Opt4 CmdNext Lst=Němčina CmdNext Lst2=Rodina CmdNext Lst3=_=_"_s);
        HintWindow::setShowHook([](HintWindow& window) {
            type(window.TxtCiz(), u"Kind*"_s);
            type(window.TxtCze(), u"dítě"_s);
            click(&window, u"CmdOK"_s);
        });
        click(f->w.get(), u"CmdChange"_s);
        HintWindow::setShowHook([](HintWindow& window) {
            type(window.TxtCiz(), u"zapomenuto"_s);
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        f->run(u"Lst3=a_=_b_=_rovná_se CmdChange CmdNext"_s);
        QCOMPARE(f->messages.texts(), QStringList{kForbidden});
        QCOMPARE(f->changes(), u"units/1_1.mum=Mutter*matka*|Kind*dítě*|a = b*rovná se*|"_s);
    }
};

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
