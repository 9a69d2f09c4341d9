// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile data directories met through the real windows, and every save on a disk that fills up
// part-way: what the user is told, that nothing hangs or chains boxes, and that no file is lost or torn.
#include "DataTree.h"
#include "FileSizeLimit.h"
#include "ModalBoxes.h"
#include "Program.h"

#include <QScopeGuard>
#include <QStringEncoder>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

#include <optional>
#include <set>

using namespace Qt::StringLiterals;
using Answer = MessageBox::Answer;

namespace {

QByteArray utf16(const QString& lines) {
    QStringEncoder le(QStringConverter::Utf16LE);
    return "\xff\xfe" + QByteArray(le.encode(QString(lines).replace(u'|', u"\r\n"_s) + u"\r\n"_s));
}

// Textbook 2 "Němčina" with the lessons "Rodina" and "Jedna", the user textbook with "Moje" and "Druhá",
// the settings (one repetition: a test of "Jedna" ends at its first answer) and a log of one record.
Tree base() {
    return textFiles(
        u"books/1.mum=Uživatelská učebnice;books/2.mum=Němčina;units/2_1T.mum=Rodina;"
        u"units/2_1.mum=der Vater*otec+táta*|die Mutter*matka*;units/2_2T.mum=Jedna;units/2_2.mum=der Hund*pes*;"
        u"units/1_1t.mum=Moje;units/1_1.mum=Katze*kočka*|Maus*myš*;units/1_2t.mum=Druhá;units/1_2.mum=Haus*dům*;"
        u"me.cfg= 0| 0;Try.cfg= 0| 0| 1| 1| 1| 0;Zkouseni.txt=1.3.2026   8:00:00   Název:Němčina - Rodina   Úspěšnost: 50%"_s);
}
// The base with entries replaced or added, and entries removed (a folder with all it holds).
Tree with(const Tree& changes, const QStringList& removed = {}) {
    Tree tree = base();
    for (const QString& gone : removed) {
        for (auto it = tree.begin(); it != tree.end();)
            it = it.key() == gone || it.key().startsWith(gone + u'/') ? tree.erase(it) : std::next(it);
    }
    tree.insert(changes);
    return tree;
}

// A small tmpfs, where this process may mount one: read-only for root, whom folder permissions do not stop.
struct SmallDisk {
    QTemporaryDir where;
    QByteArray path = QFile::encodeName(where.path());
    bool ok = mount("tmpfs", path.constData(), "tmpfs", 0, "size=64k") == 0;
    ~SmallDisk() { ok&& umount2(path.constData(), MNT_DETACH); }
    bool readOnly() const { return mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0; }
};

// Where the files go: in memory where the system has it (thousands of files are made per row).
QString scratch() {
    return QFileInfo(u"/dev/shm"_s).isWritable() ? u"/dev/shm"_s : QDir::tempPath();
}

// The main window on a data directory made of a tree.
struct Session : Data, Program {
    explicit Session(const Tree& tree, const QString& where = scratch()) : Data(tree, where), Program(tmp.path()) {}
    // The page of the main window on screen, or the wizard's step while it is open.
    QString where() const {
        if (const EditorWizard* editor = w.editor())
            return u"step %1%2"_s.arg(editor->currentStep()).arg(editor->onClosingPage() ? " (end)" : "");
        return u"page %1"_s.arg(page());
    }
    // The boxes shown, the data directory left out of paths; the questions the walks answer left out.
    QStringList boxes() const {
        QStringList texts;
        for (QString text : messages.texts()) {
            if (!text.startsWith(u"Chcete vybrat všechna"_s) && !text.startsWith(u"Opravdu chcete opustit"_s))
                texts.append(text.replace(dataDir.root() + u'/', QString()).replace(dataDir.root(), u"<data>"_s));
        }
        return texts;
    }
};

// The textbook and lesson lists of the test setup page, then a test of the lesson.
QString walkSetup(Session& s, const QString& lesson) {
    s.run(u"@1 F2ImgTry"_s);
    QString seen = u"setup "_s + QString::number(s.at<QComboBox>(u"F2Cmbbx(0)"_s)->count());
    if (!s.run(u"F2Cmbbx(0)=Němčina"_s))
        return seen;
    auto* lessons = s.at<QComboBox>(u"F2Cmbbx(1)"_s);
    seen += u' ' + QString::number(lessons->count());
    if (choose(lessons, lesson))
        s.run(u"Ano F2CmdOk"_s), seen += u", "_s + s.where();
    return seen;
}

// The wizard's textbook and lesson steps (its lesson list saved back unchanged with save), then closed.
QString walkWizard(Session& s, const QString& lesson, bool save) {
    s.run(u"@1 F2ImgBook CmdNext Opt4 CmdNext"_s);
    EditorWizard* editor = s.w.editor();
    QString seen = u"; wizard -"_s;
    if (editor->currentStep() == EditorWizard::Textbook) {
        seen.chop(1);
        seen += QString::number(s.at<QListWidget>(u"Lst"_s)->count());
        if (s.run(u"Lst=Němčina CmdNext"_s) && editor->currentStep() == EditorWizard::Lesson) {
            seen += u' ' + QString::number(s.at<QListWidget>(u"Lst2"_s)->count());
            if (save && pick(s.at<QListWidget>(u"Lst2"_s), lesson) && s.run(u"CmdNext"_s) &&
                editor->currentStep() == EditorWizard::PairList)
                s.run(u"CmdNext"_s), seen += u" saved"_s;
        }
    }
    s.run(editor->onClosingPage() ? u"CmdNext"_s : u"Ano CmdEnd"_s);
    return seen;
}

// The user textbook's lesson list (lesson "Moje" saved back unchanged with save).
QString walkUser(Session& s, bool save) {
    s.run(u"@1 F2ImgUziv F3Opt(1)"_s);
    const auto* lessons = s.at<QComboBox>(u"F3Cmbbx"_s);
    QString seen = u"; user "_s + QString::number(lessons->count());
    if (lessons->count() <= 10) {
        for (int i = 0; i < lessons->count(); ++i)
            seen += QChar(i ? u',' : u' ') + lessons->itemText(i);
    }
    if (save && s.run(u"F3Opt(2) F3Cmbbx=Moje F3CmdOk"_s) && s.where() == u"page 8"_s)
        s.run(u"F8CmdSave"_s), seen += u" saved"_s;
    return seen;
}

// Expected boxes: fragments of their texts, "|" between boxes, "3×" before one shown three times.
QStringList expand(const QString& boxes) {
    QStringList result;
    for (const QString& box : boxes.split(u'|', Qt::SkipEmptyParts)) {
        const qsizetype times = box.indexOf(u'×');
        for (int i = 0, n = times < 0 ? 1 : box.left(times).trimmed().toInt(); i < n; ++i)
            result.append(box.mid(times + 1).trimmed());
    }
    return result;
}
// Each box shown as its expected fragment where it holds it, otherwise whole.
QStringList matched(const QStringList& shown, const QStringList& expected) {
    QStringList result;
    for (qsizetype i = 0; i < shown.size(); ++i)
        result.append(i < expected.size() && shown[i].contains(expected[i]) ? expected[i] : shown[i]);
    return result;
}

// Entries of two listings whose path is in only one or whose bytes differ.
QStringList changedPaths(const QStringList& before, const QStringList& after) {
    QStringList paths;
    for (const QStringList* one : {&before, &after}) {
        for (const QString& entry : *one) {
            const QString path = entry.section(u' ', 0, 0);
            if (!(one == &before ? after : before).contains(entry) && !paths.contains(path))
                paths.append(path);
        }
    }
    paths.sort();
    return paths;
}

enum Flags { Save = 1, Unreadable = 2, ReadOnly = 4, FullDisk = 8 };

const QString kSound = u"setup 2 2, page 5; wizard 2 2; user 2 Moje,Druhá"_s;
const QString kTrap4 = u"Chyba programu číslo: 4 (NaplnSlova)"_s;
const QString kNotStarted = u"setup 2 2, page 2; wizard 2 2; user 2 Moje,Druhá"_s;

// One save of the program: the steps that lead to it and the step that saves.
struct SavePath {
    const char* name;
    const char* file;    // the file it writes, as the tree names it
    const char* prepare; // steps from the main menu
    const char* save;
    bool append;
    bool retry;               // the user can save again where they are
    qsizetype size = -1;      // bytes it writes when its file is gone afterwards
    const char* missing = ""; // a file of the base that is not there
};
const SavePath kSavePaths[] = {
    {"settings", "me.cfg", "F2ImgOpt F4ChckQL F4ChckPoz", "F4CmdOK", false, true},
    {"test settings", "Try.cfg", "F2ImgTry F2Cmbbx(0)=Němčina F2Cmbbx(1)=Jedna F2OptUZ(1)", "Ano F2CmdOk", false,
     false},
    // Storno keeps the page's settings too, through a save of its own.
    {"test settings, Storno", "Try.cfg", "F2ImgTry F2OptUZ(1)", "F2CmdStorno", false, false},
    {"results log", "Zkouseni.txt", "F2ImgTry F2Cmbbx(0)=Němčina F2Cmbbx(1)=Jedna Ano F2CmdOk F5TxtJaz2=der_Hund",
     "F5CmdOK", true, false},
    {"results log: the first record", "Zkouseni.txt",
     "F2ImgTry F2Cmbbx(0)=Němčina F2Cmbbx(1)=Jedna Ano F2CmdOk F5TxtJaz2=der_Hund", "F5CmdOK", true, false, -1,
     "Zkouseni.txt"},
    {"editor: new textbook", "books/3.mum", "F2ImgBook CmdNext Opt1 CmdNext Txt=Francouzština", "CmdNext", false, true},
    {"editor: rename", "books/2.mum", "F2ImgBook CmdNext Opt3 CmdNext Lst=Němčina CmdNext Txt3=Němčina_II", "CmdNext",
     false, true},
    // The deletion's record is written first: a disk too full for it deletes nothing.
    {"editor: delete textbook", "books/delete_textbook.txt", "F2ImgBook CmdNext Opt5 CmdNext Lst=Němčina CmdNext Opt10",
     "Ano CmdNext", false, true,
     QByteArray("Memoran: deletion of a textbook with its lessons, version 1\r\n2.mum\r\nN\xecm\xe8ina\r\n").size()},
    {"editor: new lesson", "units/2_3T.mum", "F2ImgBook CmdNext Opt2 CmdNext Lst=Němčina CmdNext Txt2=Barvy", "CmdNext",
     false, true},
    {"editor: lesson renamed for more pairs", "units/2_1T.mum",
     "F2ImgBook CmdNext Opt4 CmdNext Lst=Němčina CmdNext Lst2=Rodina CmdNext CmdAdd Txt2=Rodina_a_přátelé", "CmdNext",
     false, true},
    {"editor: pair append", "units/2_1.mum",
     "F2ImgBook CmdNext Opt4 CmdNext Lst=Němčina CmdNext Lst2=Rodina CmdNext CmdAdd CmdNext TxtCiz=der_Onkel "
     "TxtCes=strýc",
     "CmdSave", true, true},
    {"editor: pair list", "units/2_1.mum",
     "F2ImgBook CmdNext Opt4 CmdNext Lst=Němčina CmdNext Lst2=Rodina CmdNext Lst3=die_Mutter_=_matka CmdDel", "CmdNext",
     false, true},
    {"editor: delete lesson", "units/2_1T.mum", "F2ImgBook CmdNext Opt6 CmdNext Lst=Němčina CmdNext Lst2=Rodina",
     "Ano CmdNext", false, true},
    {"user textbook: created", "books/1.mum", "F2ImgUziv", "F3Opt(1)", false, true, -1, "books/1.mum"},
    {"user textbook: new lesson", "units/1_3t.mum", "F2ImgUziv F3CmdOk F7TxtNazev=Barvy", "F7CmdOk2", false, true},
    {"user textbook: pair append", "units/1_1.mum",
     "F2ImgUziv F3Opt(1) F3Cmbbx=Moje F3CmdOk F7TxtCiz=Vogel F7TxtCze=pták", "F7CmdOk", true, true},
    // A character Windows-1250 cannot hold: the lesson file is written anew, whole, as UTF-8.
    {"user textbook: pair append, converted", "units/1_1.mum",
     "F2ImgUziv F3Opt(1) F3Cmbbx=Moje F3CmdOk F7TxtCiz=Niños F7TxtCze=děti", "F7CmdOk", true, true},
    {"user textbook: pair list", "units/1_1.mum", "F2ImgUziv F3Opt(2) F3Cmbbx=Moje F3CmdOk F8Lst=Maus_=_myš F8CmdDel",
     "F8CmdSave", false, true},
    {"user textbook: renumbering", "units/1_renumber.txt", "F2ImgUziv F3Opt(3) F3Cmbbx=Moje", "Ano F3CmdOk", false,
     true,
     QByteArray("Memoran: renumbering of the user textbook, version 1\r\n").size() + 66 +
         QByteArray("1\r\n1\r\n").size()},
};

// What a save on a disk that fills after limit bytes left: the files, the boxes, where the user is, and
// a second try once the disk has room. before and after: the files as a save leaves them that fails
// at once or succeeds; place: where that success leaves the user.
QString outcome(const SavePath& path, const QStringList& before, const QStringList& after, const QString& place,
                rlim_t limit) {
    Session s(with({}, {QString::fromLatin1(path.missing)}));
    if (!s.ok || (s.start(), !s.run(u"@1 "_s + QString::fromUtf8(path.prepare))))
        return u"not prepared"_s;
    const QString ready = s.where();
    {
        const FileSizeLimit full(limit);
        if (!full.ok())
            return u"no limit"_s;
        s.run(QString::fromUtf8(path.save));
    }
    QStringList told;
    for (const MessageBox::Request& box : s.messages.shown) {
        if (box.icon == MessageBox::Icon::Critical)
            told.append(QString(box.text).replace(s.dataDir.root() + u'/', QString()));
    }
    const QStringList now = s.now();
    if (now == after)
        return told.isEmpty() ? u"new"_s : u"new, told: "_s + told.join(u" / ");
    if (now != before)
        return u"torn: "_s + changedPaths(before, now).join(u' ');
    const QString file = QString::fromUtf8(path.file);
    const bool existed = !before.filter(QRegularExpression(u"^"_s + QRegularExpression::escape(file) + u' ')).isEmpty();
    const QString expected = u"„%1“ se nepodařilo uložit: soubor by překročil největší dovolenou velikost.\n%2"_s.arg(
        file, existed ? u"Předchozí obsah souboru zůstal beze změny."_s : u"Soubor nebyl vytvořen."_s);
    // A deletion whose record could not be written says what it kept instead.
    const QString notDeleted = u"nebyla odstraněna: soubor by překročil největší dovolenou velikost.\n"_s;
    const bool toldRight = told.size() == 1 && (told.first().endsWith(expected) || told.first().contains(notDeleted));
    QString result = toldRight ? u"old, told"_s : u"old, told: "_s + told.join(u" / ");
    // Where the save cannot be tried again, the program goes on as after a save that succeeded.
    if (!path.retry)
        return result + (s.where() == place ? QString() : u", then "_s + s.where());
    if (s.where() != ready)
        return result + u", then "_s + s.where();
    s.run(QString::fromUtf8(path.save));
    return result + (s.now() == after ? u", saved again"_s : u", not saved again"_s);
}

} // namespace

Q_DECLARE_METATYPE(Tree)

class TestHostile : public QObject {
    Q_OBJECT

    void row(const char* name, const Tree& tree, const QString& seen, const QString& boxes = {}, int flags = 0,
             const QString& lesson = u"Rodina"_s) {
        QTest::newRow(name) << tree << lesson << flags << seen << boxes;
    }

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void cleanup() { QCOMPARE(deleteLeftoverWindows(), QStringList()); }

    void matrix_data() {
        QTest::addColumn<Tree>("tree");
        QTest::addColumn<QString>("lesson"); // of "Němčina", started and (with Save) saved back by the wizard
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("seen");
        QTest::addColumn<QString>("boxes");
        const QString nul = u"se nepodařilo přečíst: soubor obsahuje znaky s kódem 0"_s;
        const QString books3 = u"setup 3 2, page 5; wizard 3 2; user 2 Moje,Druhá"_s;
        const QString lessons3 = u"setup 2 3, page 5; wizard 2 3; user 2 Moje,Druhá"_s;
        const QString savedBack = u"setup 2 2, page 5; wizard 2 2 saved; user 2 Moje,Druhá saved"_s;
        const QString noPairs = u"Vybraná lekce neobsahuje žádnou dvojici slovíček."_s;

        row("sound", base(), kSound);
        row("sound, written back", base(), savedBack, {}, Save);
        row("empty textbook file", with({{"books/3.mum", ""}}), books3);
        row("empty title file", with({{"units/2_3T.mum", ""}}), lessons3);
        row("empty lesson file", with({{"units/2_1.mum", "\r\n\r\n"}}), kNotStarted, noPairs);
        row("empty settings files", with({{"me.cfg", ""}, {"Try.cfg", ""}, {"Zkouseni.txt", ""}}), kSound);
        row("NUL in a textbook name", with({{"books/3.mum", QByteArray("Fran\0z\r\n", 8)}}), books3,
            u"3× „books/3.mum“ "_s + nul);
        row("NUL in the pairs", with({{"units/2_1.mum", QByteArray("a*b*\r\n\0\r\n", 9)}}), kNotStarted, kTrap4);
        row("10 MB line as a textbook name", with({{"books/3.mum", QByteArray(10 << 20, 'x')}}), books3,
            u"3× „books/3.mum“ se nepodařilo přečíst: soubor je větší než 8 MB"_s);
        row("UTF-16 with its mark",
            with({{"units/2_1T.mum", utf16(u"Rodina"_s)}, {"units/2_1.mum", utf16(u"Niños*děti*"_s)}}), kSound);
        row("UTF-32", with({{"units/2_1T.mum", QByteArray("\xff\xfe\0\0R\0\0\0", 8)}}), kNotStarted,
            u"„units/2_1T.mum“ se nepodařilo přečíst: soubor je v kódování UTF-32|"_s + kTrap4 +
                u"|„units/2_1T.mum“ se nepodařilo přečíst: soubor je v kódování UTF-32"_s,
            0, u"2_1T.mum"_s);
        row("UTF-8 and UTF-16 written back",
            with({{"units/2_1.mum", u"Niños*děti*\r\nžluťoučký*kůň*\r\n"_s.toUtf8()},
                  {"units/1_1.mum", utf16(u"Brücke*most*|šťáva*Saft*"_s)}}),
            savedBack, {}, Save);
        row("hand-edited, no last CR LF",
            with({{"books/2.mum", cp1250Lines(u"Němčina"_s).chopped(2)},
                  {"units/2_1T.mum", "Rodina"},
                  {"units/2_1.mum", "der Vater*otec*\r\ndie Mutter*matka*"},
                  {"me.cfg", " 0\r\n 0"}}),
            kSound);

        // The limits on pairs are the engine's (test_engine); lines that are hardly pairs.
        row("no separators, separators only", with({{"units/2_1.mum", "der Vater\r\n***\r\n*\r\n++*+*\r\n"}}), kSound);

        // Folders, pipes and links where files belong.
        row("folders, pipes and dangling links as textbook and title files",
            with({{"books/3.mum/", {}},
                  {"books/4.mum", kFifo},
                  {"books/5.mum", kLink + "gone"},
                  {"units/2_3T.mum/", {}},
                  {"units/2_4T.mum", kFifo},
                  {"units/2_5T.mum", kLink + "gone"},
                  {"units/1_3t.mum/", {}}}),
            kSound);
        row("a pipe as the lesson file", with({{"units/2_1.mum", kFifo}}), kNotStarted, kTrap4);
        row("pipes as the settings files", with({{"me.cfg", kFifo}, {"Try.cfg", kFifo}}), kSound,
            u"„Try.cfg“ se nepodařilo uložit: není to obyčejný soubor"_s);
        // Lessons are listed as they are; nothing is written while the journal cannot be read.
        row("a pipe as the renumbering journal", with({{"units/1_renumber.txt", kFifo}}), kSound,
            u"2× „units/1_renumber.txt“ se nepodařilo přečíst: není to obyčejný soubor"_s);
        row("a damaged renumbering journal", with({{"units/1_renumber.txt", "x\r\n"}}), kSound,
            u"2× „units/1_renumber.txt“ se nepodařilo přečíst: soubor neobsahuje záznam přečíslování lekcí"_s);
        row("a link to a textbook elsewhere",
            with({{"books/3.mum", kLink + "../elsewhere.txt"}, {"elsewhere.txt", cp1250Lines(u"Odjinud"_s)}}), books3);
        row("a link loop as the lessons folder", with({{"units", kLink + "units"}}, {"units"}),
            u"setup 2 0; wizard 2; user 0"_s, u"4× „units“ se nepodařilo přečíst: složka neexistuje"_s);

        // Missing and unreadable folders.
        const QString noBooks = u"setup 0; wizard -; user 2 Moje,Druhá"_s;
        row("no textbooks folder", with({}, {"books"}), noBooks,
            u"3× Složku „books“ se nepodařilo přečíst: složka neexistuje.|„books/1.mum“ se nepodařilo uložit: složka „books“ neexistuje"_s);
        row("no lessons folder", with({}, {"units"}), u"setup 2 0; wizard 2; user 0"_s,
            u"4× „units“ se nepodařilo přečíst: složka neexistuje"_s);
        row("a file named books", with({{"books", "x"}}, {"books"}), noBooks,
            u"3× „books“ se nepodařilo přečíst: není to složka|„books/1.mum“ se nepodařilo uložit"_s);
        row("unreadable textbooks folder", base(), noBooks,
            u"3× „books“ se nepodařilo přečíst: přístup byl odepřen|„books/1.mum“"_s, Unreadable);

        // Names in two cases: the description the user textbook lists is the one its other pages use.
        Tree twoCases = base();
        for (int n = 2; n <= 9; ++n) {
            twoCases.insert(u"units/1_%1t.mum"_s.arg(n), cp1250Lines(u"Lekce %1"_s.arg(n)));
            twoCases.insert(u"units/1_%1T.mum"_s.arg(n), cp1250Lines(u"Jiná %1"_s.arg(n)));
        }
        row("names in two cases", twoCases,
            u"setup 2 2, page 5; wizard 2 2; user 9 Moje,Lekce 2,Lekce 3,Lekce 4,Lekce 5,Lekce 6,Lekce 7,Lekce 8,Lekce 9"_s);
        // Many lessons: listed once per folder, the user textbook's up to its 999.
        Tree many = base();
        for (int l = 3; l <= 10002; ++l) {
            many.insert(u"units/2_%1T.mum"_s.arg(l), cp1250Lines(u"Lekce %1"_s.arg(l)));
            many.insert(u"units/1_%1t.mum"_s.arg(l), cp1250Lines(u"Lekce %1"_s.arg(l)));
        }
        row("10,000 lessons", many, u"setup 2 10002, page 5; wizard 2 10002; user 999"_s);

        // Disks that take nothing.
        const QString noUser = u"setup 1 2, page 5; wizard 1 2; user 2 Moje,Druhá"_s;
        const QString denied = geteuid() == 0 ? u"disk je určen jen pro čtení"_s : u"přístup byl odepřen"_s;
        row("read-only folders", with({}, {"books/1.mum"}), noUser,
            u"„Try.cfg“ se nepodařilo uložit: do složky „<data>“ nelze zapisovat (%1)|„books/1.mum“ se nepodařilo "
            u"uložit: do složky „books“ nelze zapisovat (%1)"_s.arg(denied),
            ReadOnly);
        const QString full = u"se nepodařilo uložit: soubor by překročil největší dovolenou velikost"_s;
        // A disk that is full is the size limit's error through the same paths (test_store maps ENOSPC).
        row("full disk", with({{"Try.cfg", cp1250Lines(u" 1| 0| 1| 1| 1| 0"_s)}}, {"books/1.mum"}), noUser,
            u"„Try.cfg“ "_s + full + u"|„books/1.mum“ "_s + full, FullDisk);
    }
    void matrix() {
        QFETCH(Tree, tree);
        QFETCH(QString, lesson);
        QFETCH(int, flags);
        // Root writes into any folder: its read-only folders are a read-only disk.
        const bool root = geteuid() == 0;
        std::optional<SmallDisk> disk;
        if (flags & ReadOnly && root && !disk.emplace().ok)
            QSKIP("this process may not mount a tmpfs to make read-only");
        if (flags & Unreadable && root)
            QSKIP("root reads every folder: unreadable ones are left to the rows of files and links in their place");
        Session s(tree, disk ? disk->where.path() : scratch());
        QVERIFY(s.ok);
        const QStringList before = s.now();
        const QStringList folders = {s.dataDir.root(), s.dataDir.root() + u"/books"_s, s.dataDir.root() + u"/units"_s};
        const auto permit = [&](QFile::Permissions permissions, const QStringList& which) {
            return std::all_of(which.cbegin(), which.cend(),
                               [&](auto& f) { return QFile::setPermissions(f, permissions); });
        };
        const auto restore =
            qScopeGuard([&] { permit(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner, folders); });
        QVERIFY(!(flags & Unreadable) || permit(QFile::WriteOwner, {folders[1]}));
        QVERIFY(!(flags & ReadOnly) || (disk ? disk->readOnly() : permit(QFile::ReadOwner | QFile::ExeOwner, folders)));
        QString seen;
        {
            const FileSizeLimit full(flags & FullDisk ? 0 : RLIM_INFINITY);
            s.start();
            seen = walkSetup(s, lesson);
            seen += walkWizard(s, lesson, flags & Save);
            seen += walkUser(s, flags & Save);
        }
        QTEST(seen, "seen");
        QFETCH(QString, boxes);
        QCOMPARE(matched(s.boxes(), expand(boxes)), expand(boxes));
        // Nothing lost: only the settings of a test and the user textbook's own textbook file are written.
        permit(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner, folders);
        QStringList changed = changedPaths(before, s.now());
        changed.removeIf([](const QString& path) { return path == u"Try.cfg"_s || path == u"books/1.mum"_s; });
        QCOMPARE(changed.join(u' '), QString());
    }

    // Each save on a disk that fills after N bytes: the files stay as they were and the user is told, or
    // the save is whole; the program goes on, and the same save succeeds once there is room.
    void failingDevice_data() {
        QTest::addColumn<int>("path");
        for (int i = 0; i < int(std::size(kSavePaths)); ++i)
            QTest::newRow(kSavePaths[i].name) << i;
    }
    void failingDevice() {
        QFETCH(int, path);
        const SavePath& save = kSavePaths[path];
        Session reference(with({}, {QString::fromLatin1(save.missing)}));
        QVERIFY(reference.ok);
        reference.start();
        QVERIFY(reference.run(u"@1 "_s + QString::fromUtf8(save.prepare)));
        const QStringList before = reference.now();
        const QByteArray old = readBytes(reference.tmp.filePath(QString::fromLatin1(save.file)));
        reference.run(QString::fromUtf8(save.save));
        const QStringList after = reference.now();
        const QString place = reference.where();
        QVERIFY(after != before);
        const QByteArray now = readBytes(reference.tmp.filePath(QString::fromLatin1(save.file)));
        const qsizetype size = save.size >= 0 ? save.size : save.append ? now.size() - old.size() : now.size();
        QStringList outcomes, expected;
        for (const qsizetype n : std::set<qsizetype>{0, 1, size / 2, size - 1, size}) {
            if (n < 0 || n > size)
                continue;
            outcomes.append(u"N=%1: "_s.arg(n) +
                            outcome(save, before, after, place, rlim_t(save.append ? old.size() : 0) + n));
            expected.append(u"N=%1: "_s.arg(n) + (n == size    ? u"new"_s
                                                  : save.retry ? u"old, told, saved again"_s
                                                               : u"old, told"_s));
        }
        qInfo("%s: %lld bytes, N = %s", save.name, qint64(size), qPrintable(outcomes.join(u' ')));
        QCOMPARE(outcomes, expected);
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
