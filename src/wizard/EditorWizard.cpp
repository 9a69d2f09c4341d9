// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/EditorWizard.h"

#include "core/WordLists.h"
#include "exchange/FlashCards.h"
#include "exchange/Kvtml.h"
#include "exchange/Transfer.h"
#include "store/DataDir.h"
#include "store/FileNames.h"
#include "store/TextRoutines.h"
#include "store/Vocabulary.h"
#include "ui/FileItems.h"
#include "ui/FileTextBox.h"
#include "ui/MessageBox.h"
#include "ui/PairItems.h"
#include "ui/PairTextBox.h"
#include "ui/Pictures.h"
#include "ui/StoreQuestions.h"
#include "ui/WrapLabel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>

namespace {

// Window 8400 x 5340 twips. The header lies over the top of the steps' area; the welcome step
// (which is also the closing page) takes the header's place as well.
constexpr ControlSpec kControls[] = {
    {"Frm(0)", Kind::Frame, 0, 0, 8400, 4530},
    {"ImgLogoBig", Kind::Picture, 0, 0, 2445, 4530, "", "Frm(0)"},
    {"LblPopis(0)", Kind::Label, 2760, 420, 5400, 900, "Vítá vás Memoran 2002 Editor slovní zásoby", "Frm(0)"},
    {"LblPopis(1)", Kind::Label, 2760, 1500, 5400, 1800,
     "Pomocí této aplikace můžete velice snadno vytvářet, upravovat či odstraňovat slovíčka z lekcí, lekce z "
     "učebnic či učebnice jako takové.",
     "Frm(0)"},
    {"LblPopis(2)", Kind::Label, 2760, 3930, 5400, 300, "Pokračujte klepnutím na tlačítko Další", "Frm(0)"},

    {"FrmPopis", Kind::Frame, 0, 0, 8400, 1005},
    {"LblNadpis(0)", Kind::Label, 240, 135, 6960, 285, "Nadpis akce", "FrmPopis"},
    {"LblNadpis(1)", Kind::Label, 480, 435, 6720, 510, "Popis akce", "FrmPopis"},
    {"ImgLogo", Kind::Picture, 7440, 135, 720, 720, "", "FrmPopis"},
    {"LnPopis", Kind::Line, 0, 990, 8400, 15, "", "FrmPopis"},

    {"Frm(1)", Kind::Frame, 0, 1005, 8400, 3525},
    {"LblPopis(3)", Kind::Label, 240, 150, 7920, 810,
     "Vyberte odpovídající učebnici pro vaší novou lekci, můžete také vybrat již existující učebnici a poté editovat "
     "lekce, které v ní jsou obsaženy; nebo vytvořit novou učebnici.",
     "Frm(1)"},
    {"LblPopis(4)", Kind::Label, 240, 1035, 7920, 270, "Co chcete udělat:", "Frm(1)"},
    {"Opt1", Kind::Option, 480, 1365, 7680, 300, "Založit novou učebnici", "Frm(1)"},
    {"Opt2", Kind::Option, 480, 1665, 7680, 300, "Přidat novou lekci do již existující učebnice", "Frm(1)"},
    {"Opt3", Kind::Option, 480, 1965, 7680, 300, "Editovat informace o učebnici", "Frm(1)"},
    {"Opt4", Kind::Option, 480, 2265, 7680, 300, "Editovat lekci v již existující učebnici", "Frm(1)"},
    {"Opt5", Kind::Option, 480, 2565, 7680, 300, "Smazat učebnici", "Frm(1)"},
    {"Opt6", Kind::Option, 480, 2865, 7680, 300, "Smazat lekci v již existující učebnici", "Frm(1)"},
    {"Opt7", Kind::Option, 480, 3165, 7680, 300, "Importovat nebo exportovat učebnici", "Frm(1)"},

    {"Frm(2)", Kind::Frame, 0, 1005, 8400, 3525},
    {"LblPopis(5)", Kind::Label, 240, 150, 7920, 270, "Co chcete udělat:", "Frm(2)"},
    {"LblPopis(6)", Kind::Label, 240, 450, 7920, 270,
     "Ze seznamu vyberte učebnici s níž chcete dál pracovat:", "Frm(2)"},
    {"Lst", Kind::ListBox, 240, 780, 7920, 2595, "", "Frm(2)"},

    {"Frm(3)", Kind::Frame, 0, 1005, 8400, 3525},
    {"LblPopis(7)", Kind::Label, 240, 150, 7920, 1380,
     "Zadejte název učebnice, který se bude zobrazovat ve všech dialogových oknech a bude Vás provázet celým "
     "programem Memoran. Dbejte na přesnost a výstižnost vámi zadaného názvu. Pokud na disku existují lekce z dříve "
     "odstraněné učebnice, budou k této učebnici přiřazeny.",
     "Frm(3)"},
    {"LblPopis(8)", Kind::Label, 240, 1770, 1200, 270, "Název:", "Frm(3)"},
    {"Txt", Kind::TextBox, 1440, 1725, 6720, 360, "", "Frm(3)"},

    {"Frm(4)", Kind::Frame, 0, 1005, 8400, 3525},
    {"LblPopis(10)", Kind::Label, 240, 150, 7920, 540, "Zadejte název nové lekce.", "Frm(4)"},
    {"LblPopis(9)", Kind::Label, 240, 900, 1200, 270, "Název:", "Frm(4)"},
    {"Txt2", Kind::TextBox, 1440, 855, 6720, 360, "", "Frm(4)"},

    {"Frm(5)", Kind::Frame, 0, 1005, 8400, 3525},
    {"LblPopis(12)", Kind::Label, 240, 120, 5160, 270, "Výraz v cizím jazyce:", "Frm(5)"},
    {"TxtCiz", Kind::TextBox, 240, 405, 5160, 360, "", "Frm(5)"},
    {"LblPopis(13)", Kind::Label, 240, 870, 5160, 270, "Výraz v českém jazyce:", "Frm(5)"},
    {"TxtCes", Kind::TextBox, 240, 1155, 5160, 360, "", "Frm(5)"},
    {"CmdSave", Kind::Button, 5640, 1125, 2520, 420, "Uložit dvojici", "Frm(5)"},
    {"LblPopis(14)", Kind::Label, 240, 1695, 1800, 270, "Poslední dvojice:", "Frm(5)"},
    {"LblPoslDvoj", Kind::Label, 2040, 1695, 6120, 510, "", "Frm(5)"},
    {"LblPopis(11)", Kind::Label, 240, 2460, 7920, 840,
     "- při zkoušení se nebere ohled na velikost písmen\n"
     "- mezi více výrazy v jednom poli používejte znak + (např. dům+domek+byt)\n"
     "- nepoužívejte znak *",
     "Frm(5)"},

    {"Frm(6)", Kind::Frame, 0, 1005, 8400, 3525},
    {"LblPopis(16)", Kind::Label, 240, 150, 7920, 1080,
     "Rozhodli jste se změnit název učebnice. Změnou názvu není nijak ohrožena existence již vytvořených lekcí v "
     "učebnici - jejich názvy nebou ani změněny.",
     "Frm(6)"},
    {"LblPopis(17)", Kind::Label, 240, 1410, 1800, 270, "Starý název zní:", "Frm(6)"},
    {"LblStrNazev", Kind::Label, 2040, 1410, 6120, 510, "", "Frm(6)"},
    {"LblPopis(15)", Kind::Label, 240, 2130, 1800, 270, "Název:", "Frm(6)"},
    {"Txt3", Kind::TextBox, 2040, 2085, 6120, 360, "", "Frm(6)"},

    {"Frm(7)", Kind::Frame, 0, 1005, 8400, 3525},
    {"LblPopis(18)", Kind::Label, 240, 150, 7920, 270, "Ze seznamu vyberte lekci s níž chcete dál pracovat:", "Frm(7)"},
    {"Lst2", Kind::ListBox, 240, 480, 7920, 2895, "", "Frm(7)"},

    {"Frm(8)", Kind::Frame, 0, 1005, 8400, 3525},
    {"LblPopis(19)", Kind::Label, 240, 120, 7920, 540,
     "Ze seznamu vyberte slovní spojení s nímž chcete dál pracovat a poté klepněte na příslušné tlačítko vpravo od "
     "seznamu:",
     "Frm(8)"},
    {"Lst3", Kind::ListBox, 240, 750, 5700, 2625, "", "Frm(8)"},
    {"CmdChange", Kind::Button, 6120, 750, 2040, 420, "Změnit výraz", "Frm(8)"},
    {"CmdDel", Kind::Button, 6120, 1260, 2040, 420, "Odstranit výraz", "Frm(8)"},
    {"CmdAdd", Kind::Button, 6120, 1770, 2040, 420, "Přidat výrazy", "Frm(8)"},
    {"CmdImport", Kind::Button, 6120, 2280, 2040, 420, "Import…", "Frm(8)"},
    {"CmdExport", Kind::Button, 6120, 2790, 2040, 420, "Export…", "Frm(8)"},

    {"Frm(9)", Kind::Frame, 0, 1005, 8400, 3525},
    {"LblPopis(20)", Kind::Label, 240, 150, 7920, 1380,
     "Chcete-li odstanit nejen učebnici, ale i všechny lekce, které se nacházejí v učebnici, zaškrtněte volbu "
     "odstranit i lekce. Chcete-li pouze zamezit zobrazování učebnice v programu Memoran 2002, zaškrtněte volbu "
     "Odstranit pouze inicializační soubor. ",
     "Frm(9)"},
    {"Opt10", Kind::Option, 480, 1740, 7680, 300, "Ano, chci odstranit i lekce související s učebnicí.", "Frm(9)"},
    {"Opt11", Kind::Option, 480, 2130, 7680, 300, "Ne, chci odstranit pouze inicializační soubor učebnice.", "Frm(9)"},

    // Import and export: the file and its format; the preview and the format's options (those of
    // the file's format shown); the summary.
    {"FrmVym(0)", Kind::Frame, 0, 1005, 8400, 3525},
    {"VymLbl(0)", Kind::Label, 240, 150, 7920, 270, "Co chcete udělat:", "FrmVym(0)"},
    {"VymOptImport", Kind::Option, 480, 480, 7680, 300, "Importovat soubor do nové učebnice", "FrmVym(0)"},
    {"VymOptExport", Kind::Option, 480, 810, 7680, 300, "Exportovat učebnici do souboru", "FrmVym(0)"},
    {"VymLbl(1)", Kind::Label, 240, 1395, 1200, 270, "Soubor:", "FrmVym(0)"},
    {"VymTxtSoubor", Kind::TextBox, 1440, 1350, 4800, 360, "", "FrmVym(0)"},
    {"VymCmdProchazet", Kind::Button, 6360, 1320, 1800, 420, "Procházet…", "FrmVym(0)"},
    {"VymLbl(2)", Kind::Label, 240, 1935, 1200, 270, "Formát:", "FrmVym(0)"},
    {"VymCmbFormat", Kind::ComboBox, 1440, 1890, 6720, 375, "", "FrmVym(0)"},
    {"VymLbl(3)", Kind::Label, 240, 2475, 1200, 270, "Učebnice:", "FrmVym(0)"},
    {"VymCmbUcebnice", Kind::ComboBox, 1440, 2430, 6720, 375, "", "FrmVym(0)"},
    // Exporting to KVTML, the file names its two languages (the explanation below gives way to them).
    {"VymLbl(10)", Kind::Label, 240, 2985, 1200, 270, "Jazyky:", "FrmVym(0)"},
    {"VymTxtCizi", Kind::TextBox, 1440, 2940, 2400, 360, "Cizí jazyk", "FrmVym(0)"},
    {"VymTxtCiziKod", Kind::TextBox, 3900, 2940, 900, 360, "de", "FrmVym(0)"},
    {"VymTxtCesky", Kind::TextBox, 5100, 2940, 2160, 360, "Čeština", "FrmVym(0)"},
    {"VymTxtCeskyKod", Kind::TextBox, 7320, 2940, 840, 360, "cs", "FrmVym(0)"},
    {"VymLbl(4)", Kind::Label, 240, 2940, 7920, 510,
     "Import založí novou učebnici se všemi lekcemi souboru. Export zapíše vybranou učebnici se všemi jejími "
     "lekcemi do jednoho souboru.",
     "FrmVym(0)"},

    {"FrmVym(1)", Kind::Frame, 0, 1005, 8400, 3525},
    {"VymLbl(5)", Kind::Label, 240, 120, 7920, 270,
     "Prvních 20 dvojic, jak je import přečte (lekce: cizí = český):", "FrmVym(1)"},
    {"VymLstNahled", Kind::ListBox, 240, 420, 7920, 1755, "", "FrmVym(1)"},
    {"VymLbl(6)", Kind::Label, 240, 2355, 1320, 270, "Cizí jazyk:", "FrmVym(1)"},
    {"VymCmbCizi", Kind::ComboBox, 1560, 2310, 2520, 375, "", "FrmVym(1)"},
    {"VymLbl(7)", Kind::Label, 4320, 2355, 1200, 270, "Čeština:", "FrmVym(1)"},
    {"VymCmbCesky", Kind::ComboBox, 5520, 2310, 2640, 375, "", "FrmVym(1)"},
    {"VymLbl(8)", Kind::Label, 240, 2865, 1320, 270, "Lekce:", "FrmVym(1)"},
    {"VymCmbLekce", Kind::ComboBox, 1560, 2820, 2520, 375, "", "FrmVym(1)"},
    {"VymChkZahlavi", Kind::CheckBox, 4320, 2857, 3840, 300, "první řádek je záhlaví", "FrmVym(1)"},
    {"VymChkCarky", Kind::CheckBox, 240, 2340, 7920, 300, "čárka odděluje varianty", "FrmVym(1)"},

    {"FrmVym(2)", Kind::Frame, 0, 1005, 8400, 3525},
    {"VymLbl(9)", Kind::Label, 240, 120, 7920, 270, "Co import udělá:", "FrmVym(2)"},
    {"VymTxtShrnuti", Kind::TextBox, 240, 420, 7920, 2430, "", "FrmVym(2)"},
    {"VymChkSouhlas", Kind::CheckBox, 240, 3030, 7920, 300, "Souhlasím, že se uvedené řádky vynechají", "FrmVym(2)"},

    {"LnTlacitka", Kind::Line, 0, 4530, 8400, 15},
    {"CmdPrev", Kind::Button, 3990, 4740, 1320, 420, "< Zpět"},
    {"CmdNext", Kind::Button, 5400, 4740, 1320, 420, "Další >"},
    {"CmdEnd", Kind::Button, 6930, 4740, 1320, 420, "Storno"},
};

const QString kNext = QStringLiteral("Další >");
const QString kFinish = QStringLiteral("Dokončit");
const QString kStorno = QStringLiteral("Storno");
const QString kChoosePair = QStringLiteral("Vyberte příslušnou dvojici v seznamu nalevo");
const QString kLeaveQuestion = QStringLiteral("Opravdu chcete opustit editor?");
const QString kDeleteQuestion = QStringLiteral("Opravdu chcete odstranit %1?");
const QString kExtensionPrompt = QStringLiteral("Zadejte nový název lekce. Můžete však použít i stávající");
const QString kReplaceQuestion = QStringLiteral("Soubor „%1“ už existuje. Chcete ho přepsat?");
constexpr int kPreviewPairs = 20;

// In the order of Exchange::Format.
const char* const kFormats[] = {"KVTML (KWordQuiz, Parley)", "CSV", "TSV", "Text kartiček (Anki)"};

std::function<QString(QWidget*)>& fileDialogHook() {
    static std::function<QString(QWidget*)> hook;
    return hook;
}

struct HeaderText {
    const char* title;
    const char* description;
};
// In the order of EditorWizard::Header.
constexpr HeaderText kHeaders[] = {
    {"Co byste chtěl udělat?",
     "Pomocí tohoto průvodce můžete upravovat učebnice i lekce - přidávat, editovat, odstraňovat."},
    {"Výběr učebnice", "Pro lepší orientaci v lekcích je nezbytné zvolit odpovídající učebnici."},
    {"Založení nové učebnice",
     "Nevyhovují-li vám již existující učebnice, můžete si vytvořit novou, lépe odpovídající novým lekcím"},
    {"Vytvoření nové lekce", "Vytvářením nových lekcí rozšiřujete slovní zásobu programu."},
    {"Změna názvu učebnice", "Nevyhovuje-li vám dosavadní název učebnice, lehce ho můžete změnit."},
    {"Editace existující lekce",
     "Nevyhovují-li vám některé výrazy můžete je smazat, chcete-li více slovíček v lekci - přidejte je."},
    {"Vymazání lekce",
     "Umíte-li všechna slovíčka v lekci, můžete ji odstranit, aby nezabírala zbytečné místo na disku."},
    {"Vymazání učebnice",
     "Umíte-li všechna slovíčka v učebnici, můžete ji odstranit, aby nezabírala zbytečné místo na disku."},
    {"Import a export učebnice",
     "Slovíčka z jiných programů převedete do nové učebnice, učebnici uložíte pro jiné programy."},
    {"Náhled importu", "Zkontrolujte, jak se soubor čte; podle potřeby změňte volby pod náhledem."},
    {"Shrnutí importu", "Takto bude nová učebnice založena. Klepnutím na tlačítko Importovat ji uložíte."},
};

const char* const kTaskOptions[] = {"Opt1", "Opt2", "Opt3", "Opt4", "Opt5", "Opt6", "Opt7"};

QWidget* createControl(const ControlSpec& row, QWidget* parent) {
    if (row.kind == Kind::Label)
        return new WrapLabel(QString::fromUtf8(row.caption), parent);
    if (row.kind == Kind::TextBox && (qstrcmp(row.name, "TxtCiz") == 0 || qstrcmp(row.name, "TxtCes") == 0))
        return new PairTextBox(parent);
    if (qstrcmp(row.name, "VymTxtShrnuti") == 0) { // a summary may list many rows: it scrolls
        auto* text = new QPlainTextEdit(parent);
        text->setReadOnly(true);
        return text;
    }
    if (row.kind == Kind::TextBox) // the names of textbooks and lessons, the path of a file
        return new FileTextBox(parent);
    return nullptr;
}

void setBackground(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

EditorWizard::EditorWizard(const DataDir& dir, QWidget* parent) : QWidget(parent, Qt::Window), m_dir(dir) {
    setObjectName(QStringLiteral("FrmSlovZasob"));
    setWindowTitle(QStringLiteral("Memoran 2002 - Editor slovní zásoby"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(tw(8400), tw(5340));
    m_controls.build(this, kControls, createControl);
    bindControls();
    styleControls();
    connectControls();

    // The design state: the welcome step alone, Opt2 chosen.
    for (QFrame* step : m_steps)
        step->hide();
    m_steps[Welcome]->show();
    m_header->hide();
    m_prev->setEnabled(false);
    m_tasks[1]->setChecked(true);
    m_next->setFocus();
}

void EditorWizard::bindControls() {
    m_header = m_controls.get<QFrame>("FrmPopis");
    m_title = m_controls.get<QLabel>("LblNadpis(0)");
    m_description = m_controls.get<WrapLabel>("LblNadpis(1)");
    const auto wizardSteps = m_controls.array<QFrame, Deletion + 1>("Frm");
    const auto exchangeSteps = m_controls.array<QFrame, kStepCount - ExchangeFile>("FrmVym");
    std::copy(wizardSteps.begin(), wizardSteps.end(), m_steps.begin());
    std::copy(exchangeSteps.begin(), exchangeSteps.end(), m_steps.begin() + ExchangeFile);
    m_welcomeTexts = m_controls.array<WrapLabel, 3>("LblPopis");
    m_lessonNamePrompt = m_controls.get<WrapLabel>("LblPopis(10)");
    m_tasks = m_controls.all<QRadioButton>(kTaskOptions);
    m_withLessons = m_controls.get<QRadioButton>("Opt10");
    m_bookOnly = m_controls.get<QRadioButton>("Opt11");
    m_books = m_controls.get<QListWidget>("Lst");
    m_lessons = m_controls.get<QListWidget>("Lst2");
    m_pairs = m_controls.get<QListWidget>("Lst3");
    m_newBook = m_controls.get<QLineEdit>("Txt");
    m_lessonName = m_controls.get<QLineEdit>("Txt2");
    m_newName = m_controls.get<QLineEdit>("Txt3");
    m_foreign = m_controls.get<PairTextBox>("TxtCiz");
    m_czech = m_controls.get<PairTextBox>("TxtCes");
    m_lastPair = m_controls.get<QLabel>("LblPoslDvoj");
    m_oldName = m_controls.get<QLabel>("LblStrNazev");
    m_prev = m_controls.get<QPushButton>("CmdPrev");
    m_next = m_controls.get<QPushButton>("CmdNext");
    m_end = m_controls.get<QPushButton>("CmdEnd");
    m_save = m_controls.get<QPushButton>("CmdSave");
    m_importing = m_controls.get<QRadioButton>("VymOptImport");
    m_exporting = m_controls.get<QRadioButton>("VymOptExport");
    m_file = m_controls.get<QLineEdit>("VymTxtSoubor");
    m_format = m_controls.get<QComboBox>("VymCmbFormat");
    m_exportBookLabel = m_controls["VymLbl(3)"];
    m_exportBook = m_controls.get<QComboBox>("VymCmbUcebnice");
    m_preview = m_controls.get<QListWidget>("VymLstNahled");
    m_foreignChoice = m_controls.get<QComboBox>("VymCmbCizi");
    m_czechChoice = m_controls.get<QComboBox>("VymCmbCesky");
    m_lessonColumn = m_controls.get<QComboBox>("VymCmbLekce");
    m_headerRow = m_controls.get<QCheckBox>("VymChkZahlavi");
    m_splitCommas = m_controls.get<QCheckBox>("VymChkCarky");
    m_summary = m_controls.get<QPlainTextEdit>("VymTxtShrnuti");
    m_agree = m_controls.get<QCheckBox>("VymChkSouhlas");
    const std::pair<const char*, const char*> languageBoxes[] = {{"VymTxtCizi", "Název cizího jazyka"},
                                                                 {"VymTxtCiziKod", "Kód cizího jazyka"},
                                                                 {"VymTxtCesky", "Název českého jazyka"},
                                                                 {"VymTxtCeskyKod", "Kód českého jazyka"}};
    const Exchange::KvtmlLanguages defaults;
    const QString* shown[] = {&defaults.foreignName, &defaults.foreignLocale, &defaults.czechName,
                              &defaults.czechLocale};
    for (std::size_t i = 0; i < std::size(languageBoxes); ++i) {
        auto* box = m_controls.get<QLineEdit>(QString::fromLatin1(languageBoxes[i].first));
        box->setAccessibleName(QString::fromUtf8(languageBoxes[i].second));
        box->setToolTip(box->accessibleName());
        box->setText(*shown[i]);
    }
}

void EditorWizard::styleControls() {
    setBackground(m_steps[Welcome], Qt::white);
    setBackground(m_header, Qt::white);
    setLineColor(m_controls["LnPopis"], QColor(160, 160, 160));
    setLineColor(m_controls["LnTlacitka"], QColor(160, 160, 160));
    m_controls.get<QLabel>("ImgLogoBig")->setPixmap(Pictures::editorBanner());
    m_controls.get<QLabel>("ImgLogo")->setPixmap(Pictures::editorLogo());
    setPointSize(m_welcomeTexts[0], 14, true);
    setBold(m_title, true);
    setBold(m_controls["LblPopis(4)"], true);
    setBold(m_controls["LblPopis(5)"], true);
    setBold(m_controls["VymLbl(0)"], true);
    for (int format = 0; format < int(std::size(kFormats)); ++format)
        m_format->addItem(QString::fromUtf8(kFormats[format]), format);
    m_importing->setChecked(true);
    m_preview->setSelectionMode(QAbstractItemView::NoSelection);
    for (QListWidget* list : {m_books, m_lessons, m_pairs})
        list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pairs->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void EditorWizard::connectControls() {
    connect(m_next, &QPushButton::clicked, this, &EditorWizard::CmdNext_Click);
    connect(m_prev, &QPushButton::clicked, this, &EditorWizard::CmdPrev_Click);
    connect(m_end, &QPushButton::clicked, this, &EditorWizard::CmdEnd_Click);
    connect(m_save, &QPushButton::clicked, this, &EditorWizard::CmdSave_Click);
    connect(m_controls.get<QPushButton>("CmdDel"), &QPushButton::clicked, this, &EditorWizard::CmdDel_Click);
    connect(m_controls.get<QPushButton>("CmdChange"), &QPushButton::clicked, this, &EditorWizard::CmdChange_Click);
    connect(m_controls.get<QPushButton>("CmdAdd"), &QPushButton::clicked, this, &EditorWizard::CmdAdd_Click);
    connect(m_controls.get<QPushButton>("CmdImport"), &QPushButton::clicked, this, &EditorWizard::CmdImport_Click);
    connect(m_controls.get<QPushButton>("CmdExport"), &QPushButton::clicked, this, &EditorWizard::CmdExport_Click);
    connect(m_controls.get<QPushButton>("VymCmdProchazet"), &QPushButton::clicked, this,
            &EditorWizard::VymCmdProchazet_Click);
    connect(m_file, &QLineEdit::textChanged, this, &EditorWizard::exchangeFileChanged);
    connect(m_file, &QLineEdit::returnPressed, this, &EditorWizard::nameBoxEnter);
    connect(m_exporting, &QRadioButton::toggled, this, &EditorWizard::updateExchangeNext);
    connect(m_format, &QComboBox::currentIndexChanged, this, &EditorWizard::updateExchangeNext);
    for (QComboBox* choice : {m_foreignChoice, m_czechChoice, m_lessonColumn})
        connect(choice, &QComboBox::currentIndexChanged, this, &EditorWizard::optionChanged);
    for (QCheckBox* option : {m_headerRow, m_splitCommas})
        connect(option, &QCheckBox::toggled, this, &EditorWizard::optionChanged);
    connect(m_agree, &QCheckBox::toggled, m_next, &QPushButton::setEnabled);
    for (QLineEdit* box : {m_newBook, m_lessonName, m_newName}) {
        connect(box, &QLineEdit::textChanged, this, [this, box] { nameBoxChanged(box); });
        connect(box, &QLineEdit::returnPressed, this, &EditorWizard::nameBoxEnter);
    }
    connect(m_foreign, &QLineEdit::textChanged, this, &EditorWizard::pairBoxesChanged);
    connect(m_czech, &QLineEdit::textChanged, this, &EditorWizard::pairBoxesChanged);
    connect(m_foreign, &QLineEdit::returnPressed, m_czech, [this] { m_czech->setFocus(); });
    connect(m_czech, &QLineEdit::returnPressed, this, [this] {
        if (!m_save->isEnabled())
            return;
        CmdSave_Click();
    });
    for (QRadioButton* option : {m_withLessons, m_bookOnly})
        connect(option, &QRadioButton::clicked, m_next, [this] { m_next->setEnabled(true); });
    // A double-click (or Enter) on a textbook or a lesson chooses it and goes on; not on a pair, where
    // Next saves the list.
    for (QListWidget* list : {m_books, m_lessons}) {
        connect(list, &QListWidget::itemActivated, this, [this] {
            if (m_next->isEnabled())
                CmdNext_Click();
        });
    }
    orderTabs();
}

void EditorWizard::orderTabs() {
    // Next (where the focus rests on steps without a box) leads to the step's own controls, then to
    // Storno and Back: hidden steps drop out of the chain by themselves.
    QWidget* previous = m_next;
    for (QWidget* control : m_controls.inTableOrder()) {
        const bool onStep = std::find(m_steps.begin(), m_steps.end(), control->parentWidget()) != m_steps.end();
        if (!onStep || control->focusPolicy() == Qt::NoFocus)
            continue;
        setTabOrder(previous, control);
        previous = control;
    }
    setTabOrder(previous, m_end);
    setTabOrder(m_end, m_prev);
    setTabOrder(m_prev, m_next);
}

// ---- Steps and header ----

void EditorWizard::showStep(Step step) {
    for (QFrame* frame : m_steps)
        frame->hide();
    m_steps[step]->show();
    m_step = step;
    // The user goes on where the step asks for something.
    switch (step) {
    case Textbook:
        m_books->setFocus();
        break;
    case NewTextbook:
        m_newBook->setFocus();
        break;
    case LessonName:
        m_lessonName->setFocus();
        break;
    case PairEntry:
        m_foreign->setFocus();
        break;
    case Rename:
        m_newName->setFocus();
        break;
    case Lesson:
        m_lessons->setFocus();
        break;
    case PairList:
        m_pairs->setFocus();
        break;
    case ExchangeFile:
        m_file->setFocus();
        break;
    default:
        m_next->setFocus();
        break;
    }
}

void EditorWizard::setHeader(Header header) {
    const HeaderText& text = kHeaders[static_cast<int>(header)];
    m_title->setText(QString::fromUtf8(text.title));
    m_description->setText(QString::fromUtf8(text.description));
}

void EditorWizard::closingPage(const QString& detail) {
    m_closing = true;
    m_next->setText(kFinish);
    m_prev->setEnabled(false);
    m_end->setEnabled(false);
    m_next->setEnabled(true);
    showStep(Welcome);
    m_header->hide();
    m_welcomeTexts[0]->setText(QStringLiteral("Úspěšně jste dokončili průvodce vytvořením slovní zásoby"));
    m_welcomeTexts[1]->setText(detail);
    m_welcomeTexts[2]->setText(QStringLiteral("Pokračujte klepnutím na tlačítko Dokončit."));
}

// ---- Next and Back ----

void EditorWizard::CmdNext_Click() {
    if (onClosingPage()) {
        m_leaving = true;
        close();
        return;
    }
    switch (currentStep()) {
    case Welcome:
        showStep(Action);
        m_header->show();
        m_prev->setEnabled(true);
        setHeader(Header::Action);
        return;
    case Action: {
        m_task = chosenTask();
        if (m_task == Task::Exchange) {
            openExchange();
            return;
        }
        if (m_task == Task::NewTextbook) {
            showStep(NewTextbook);
            setHeader(Header::NewTextbook);
            m_next->setEnabled(!m_newBook->text().isEmpty());
            return;
        }
        if (!fill(m_books, m_dir.listTextbooks()))
            return;
        setHeader(Header::Textbook);
        m_next->setEnabled(true);
        showStep(Textbook);
        return;
    }
    case NewTextbook: {
        // Written before the closing page: a failed write leaves the step and its name as they were.
        if (!MessageBox::reportWrite(this, Vocabulary::createTextbook(m_dir, m_newBook->text()).status))
            return;
        closingPage();
        return;
    }
    case Textbook:
        nextOnTextbookStep();
        return;
    case LessonName: {
        if (!m_extending) {
            const Vocabulary::Created lesson =
                Vocabulary::createLesson(m_dir, textbookNumberText(m_textbookFile), m_lessonName->text());
            if (!MessageBox::reportWrite(this, lesson.status))
                return;
            // The new lesson is the chosen one: pairs go to its lesson file.
            m_titleFile = lesson.fileName;
            m_lastPair->clear();
        } else {
            QString lastLine;
            if (!MessageBox::reportWrite(
                    this, Vocabulary::openForExtension(m_dir, m_titleFile, m_lessonName->text(), &lastLine)))
                return;
            m_lastPair->setText(editForm(lastLine));
        }
        showStep(PairEntry);
        m_prev->setEnabled(false);
        m_next->setText(QStringLiteral("Uložit lekci"));
        m_end->setEnabled(false);
        m_save->setEnabled(false);
        m_next->setEnabled(true);
        return;
    }
    case PairEntry:
        // Every pair is on disk since its "Uložit dvojici": nothing is held open to close.
        closingPage();
        return;
    case Rename:
        if (!MessageBox::reportWrite(this, Vocabulary::renameTextbook(m_dir, m_textbookFile, m_newName->text())))
            return;
        closingPage();
        return;
    case Lesson:
        nextOnLessonStep();
        return;
    case PairList:
        if (!savePairList())
            return;
        closingPage();
        return;
    case Deletion:
        deleteTextbook();
        return;
    case ExchangeFile:
        nextOnExchangeFile();
        return;
    case ExchangePreview:
        nextOnExchangePreview();
        return;
    case ExchangeSummary:
        nextOnExchangeSummary();
        return;
    }
}

void EditorWizard::nextOnTextbookStep() {
    const int row = m_books->currentRow();
    if (row < 0 || !m_books->currentItem()->isSelected()) {
        MessageBox::tell(this, QStringLiteral("Vyberte nejprve učebnici ze seznamu"), MessageBox::Icon::Exclamation);
        return;
    }
    m_textbookFile = FileItems::fileOf(m_books->currentItem());
    switch (m_task) {
    case Task::NewLesson:
        showStep(LessonName);
        setHeader(Header::NewLesson);
        m_next->setEnabled(!m_lessonName->text().isEmpty());
        return;
    case Task::RenameTextbook: {
        IoStatus status;
        const QString name = m_dir.readFirstLine(FileNames::inBooks(m_textbookFile), &status);
        if (!status.ok()) {
            MessageBox::showFileError(this, status.message());
            return;
        }
        showStep(Rename);
        setHeader(Header::Rename);
        m_next->setEnabled(!m_newName->text().isEmpty());
        m_oldName->setText(name);
        return;
    }
    case Task::EditLesson:
    case Task::DeleteLesson:
        if (!fill(m_lessons, m_dir.listLessons(textbookNumberText(m_textbookFile))))
            return;
        setHeader(m_task == Task::EditLesson ? Header::EditLesson : Header::DeleteLesson);
        showStep(Lesson);
        return;
    case Task::DeleteTextbook:
        showStep(Deletion);
        m_next->setEnabled(m_withLessons->isChecked() || m_bookOnly->isChecked());
        setHeader(Header::Deletion);
        return;
    case Task::NewTextbook: // neither has a textbook step
    case Task::Exchange:
        return;
    }
}

void EditorWizard::nextOnLessonStep() {
    const int row = m_lessons->currentRow();
    if (row < 0 || !m_lessons->currentItem()->isSelected()) {
        MessageBox::tell(this, QStringLiteral("Vyberte nejprve lekci ze seznamu"), MessageBox::Icon::Exclamation);
        return;
    }
    m_titleFile = FileItems::fileOf(m_lessons->currentItem());
    if (m_task == Task::EditLesson) {
        const FileLines lesson = Vocabulary::loadPairs(m_dir, Vocabulary::lessonFileOf(m_titleFile));
        if (!lesson.status.ok()) {
            // A lesson that could not be read must not be saved over with an empty list.
            MessageBox::showFileError(this, lesson.status.message());
            return;
        }
        PairItems::fill(m_pairs, lesson.lines);
        m_pairsRead = lesson.fingerprint;
        showStep(PairList);
        m_prev->setEnabled(false);
        m_next->setText(QStringLiteral("Uložit"));
        m_end->setText(QStringLiteral("Neukládat"));
        return;
    }
    const StoreQuestions::Deletion answer =
        StoreQuestions::confirmDeletion(this, m_dir, FileNames::inUnits(m_titleFile), m_lessons->currentItem()->text(),
                                        kDeleteQuestion, MessageBox::Icon::Information, QStringLiteral("Lekce"));
    if (answer == StoreQuestions::Deletion::Changed)
        fill(m_lessons, m_dir.listLessons(textbookNumberText(m_textbookFile)));
    if (answer != StoreQuestions::Deletion::Yes)
        return;
    if (!MessageBox::reportWrite(this, Vocabulary::deleteLesson(m_dir, m_titleFile)))
        return;
    closingPage();
}

void EditorWizard::deleteTextbook() {
    const StoreQuestions::Deletion answer =
        StoreQuestions::confirmDeletion(this, m_dir, FileNames::inBooks(m_textbookFile), m_books->currentItem()->text(),
                                        kDeleteQuestion, MessageBox::Icon::Information, QStringLiteral("Učebnice"));
    if (answer == StoreQuestions::Deletion::Changed) {
        // Back to the list, as it is on disk now.
        fill(m_books, m_dir.listTextbooks());
        CmdPrev_Click();
        return;
    }
    if (answer == StoreQuestions::Deletion::Yes &&
        !MessageBox::reportWrite(this, Vocabulary::deleteTextbook(m_dir, m_textbookFile, m_withLessons->isChecked())))
        return;
    closingPage();
}

void EditorWizard::CmdPrev_Click() {
    switch (currentStep()) {
    case Action:
        showStep(Welcome);
        m_header->hide();
        m_prev->setEnabled(false);
        return;
    case Textbook:
        showStep(Action);
        setHeader(Header::Action);
        return;
    case NewTextbook:
        m_newBook->clear();
        showStep(Action);
        m_next->setEnabled(true);
        setHeader(Header::Action);
        return;
    case LessonName:
        showStep(Textbook);
        setHeader(Header::Textbook);
        m_lessonName->clear();
        m_next->setEnabled(true);
        return;
    case Rename:
        showStep(Textbook);
        m_newName->clear();
        m_oldName->clear();
        m_next->setEnabled(true);
        setHeader(Header::Textbook);
        return;
    case Lesson:
        showStep(Textbook);
        setHeader(Header::Textbook);
        return;
    case Deletion:
        showStep(Textbook);
        setHeader(Header::Textbook);
        m_next->setEnabled(true);
        clearDeletionChoice();
        return;
    case ExchangeFile:
        showStep(Action);
        setHeader(Header::Action);
        m_next->setEnabled(true);
        return;
    case ExchangePreview:
        showStep(ExchangeFile);
        setHeader(Header::Exchange);
        updateExchangeNext();
        return;
    case ExchangeSummary:
        showStep(ExchangePreview);
        setHeader(Header::ExchangePreview);
        m_next->setText(kNext);
        m_next->setEnabled(true);
        return;
    default:
        return;
    }
}

void EditorWizard::clearDeletionChoice() {
    // An exclusive option cannot be unchecked while it is exclusive.
    for (QRadioButton* option : {m_withLessons, m_bookOnly}) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
}

bool EditorWizard::fill(QListWidget* list, const FileListing& listing) {
    if (!listing.errors.isEmpty())
        MessageBox::showFileError(this, listing.errors.first().message());
    // Nothing listed and a reason why: the folder itself could not be read, the step stays.
    if (listing.fileNames.isEmpty() && !listing.errors.isEmpty())
        return false;
    FileItems::fill(list, listing);
    return true;
}

EditorWizard::Task EditorWizard::chosenTask() const {
    for (size_t i = 0; i < m_tasks.size(); ++i) {
        if (m_tasks[i]->isChecked())
            return static_cast<Task>(i);
    }
    return Task::NewLesson; // the design state's choice; one option is always checked
}

// ---- The name boxes and the deletion choice ----

void EditorWizard::nameBoxChanged(QLineEdit* box) {
    m_next->setEnabled(!box->text().isEmpty());
}

void EditorWizard::nameBoxEnter() {
    if (m_next->isEnabled())
        CmdNext_Click();
}

// ---- The pair editor ----

void EditorWizard::pairBoxesChanged() {
    const bool foreign = !m_foreign->text().isEmpty();
    const bool czech = !m_czech->text().isEmpty();
    m_save->setEnabled(foreign && czech);
    m_next->setEnabled(!foreign && !czech);
}

void EditorWizard::CmdSave_Click() {
    const QString foreign = m_foreign->text();
    const QString czech = m_czech->text();
    // A pair that did not reach the disk stays in the boxes.
    if (!MessageBox::reportWrite(this,
                                 Vocabulary::appendPair(m_dir, Vocabulary::lessonFileOf(m_titleFile), foreign, czech)))
        return;
    m_lastPair->setText(foreign + QStringLiteral(" = ") + czech);
    m_foreign->clear();
    m_czech->clear();
    m_next->setEnabled(true);
    m_foreign->setFocus();
}

bool EditorWizard::savePairList() {
    const QString lessonFile = Vocabulary::lessonFileOf(m_titleFile);
    if (!StoreQuestions::mayOverwrite(this, m_dir, FileNames::inUnits(lessonFile), m_pairsRead,
                                      m_lessons->currentItem()->text()))
        return false;
    return MessageBox::reportWrite(this, Vocabulary::savePairs(m_dir, lessonFile, PairItems::pairLines(m_pairs)));
}

void EditorWizard::CmdDel_Click() {
    if (!PairItems::hasSelection(m_pairs)) {
        MessageBox::tell(this, kChoosePair, MessageBox::Icon::Exclamation);
        return;
    }
    PairItems::removeSelected(m_pairs);
}

void EditorWizard::CmdChange_Click() {
    if (!PairItems::hasSelection(m_pairs)) {
        MessageBox::tell(this, kChoosePair, MessageBox::Icon::Exclamation);
        return;
    }
    PairItems::changeSelected(m_pairs, this);
}

void EditorWizard::CmdAdd_Click() {
    if (MessageBox::ask(this, QStringLiteral("Chcete uložit vámi aktualizovaný seznam výrazů?"),
                        MessageBox::Icon::Information) &&
        !savePairList())
        return; // the list stays, to be saved again or on
    showStep(LessonName);
    m_extending = true;
    m_lessonNamePrompt->setText(kExtensionPrompt);
    m_prev->setEnabled(false);
    IoStatus status;
    const QString description = m_dir.readFirstLine(FileNames::inUnits(m_titleFile), &status);
    if (!status.ok())
        MessageBox::showFileError(this, status.message());
    m_lessonName->setText(description);
    nameBoxChanged(m_lessonName); // also when the box held this text already
    m_end->setText(kStorno);
    m_next->setText(kNext);
}

// ---- Import and export ----

void EditorWizard::setFileDialogHook(std::function<QString(QWidget*)> hook) {
    fileDialogHook() = std::move(hook);
}

void EditorWizard::openExchange() {
    // The textbooks to export, listed anew each time: one deleted meanwhile is not offered.
    const FileListing books = m_dir.listTextbooks();
    if (!books.errors.isEmpty())
        MessageBox::showFileError(this, books.errors.first().message());
    m_exportBook->clear();
    for (qsizetype i = 0; i < books.fileNames.size(); ++i)
        m_exportBook->addItem(books.names[i], books.fileNames[i]);
    showStep(ExchangeFile);
    setHeader(Header::Exchange);
    updateExchangeNext();
}

void EditorWizard::exchangeFileChanged() {
    Exchange::Format format;
    if (Exchange::formatOf(m_file->text().trimmed(), &format))
        m_format->setCurrentIndex(m_format->findData(int(format)));
    updateExchangeNext();
}

void EditorWizard::updateExchangeNext() {
    const bool exporting = m_exporting->isChecked();
    m_exportBookLabel->setEnabled(exporting);
    m_exportBook->setEnabled(exporting);
    const bool languages = exporting && Exchange::Format(m_format->currentData().toInt()) == Exchange::Format::Kvtml;
    for (const char* name : {"VymLbl(10)", "VymTxtCizi", "VymTxtCiziKod", "VymTxtCesky", "VymTxtCeskyKod"})
        m_controls[QString::fromLatin1(name)]->setVisible(languages);
    m_controls["VymLbl(4)"]->setVisible(!languages);
    if (m_step == ExchangeFile)
        m_next->setEnabled(!m_file->text().trimmed().isEmpty() && (!exporting || m_exportBook->count() > 0));
}

void EditorWizard::VymCmdProchazet_Click() {
    const QString path = chooseFile(m_exporting->isChecked());
    if (!path.isEmpty())
        m_file->setText(QDir::toNativeSeparators(path));
    m_file->setFocus();
}

QString EditorWizard::chooseFile(bool saving) {
    if (fileDialogHook())
        return fileDialogHook()(this);
    const QString filter = QStringLiteral("Slovníky (*.kvtml *.csv *.tsv *.txt);;Všechny soubory (*)");
    // Replacing a file is asked by mayReplace(), for a typed path too.
    return saving
               ? QFileDialog::getSaveFileName(this, QStringLiteral("Exportovat do souboru"), QDir::homePath(), filter,
                                              nullptr, QFileDialog::DontConfirmOverwrite)
               : QFileDialog::getOpenFileName(this, QStringLiteral("Importovat ze souboru"), QDir::homePath(), filter);
}

bool EditorWizard::formatByExtension(const QString& path, Exchange::Format* format) {
    if (Exchange::formatOf(path, format))
        return true;
    MessageBox::tell(
        this,
        QStringLiteral("Formát souboru „%1“ nepoznám podle přípony: použijte .kvtml, .csv, .tsv nebo .txt.")
            .arg(QDir::toNativeSeparators(path)),
        MessageBox::Icon::Exclamation);
    return false;
}

bool EditorWizard::mayReplace(const QString& path) {
    return !QFileInfo::exists(path) ||
           MessageBox::confirm(this, kReplaceQuestion.arg(QDir::toNativeSeparators(path)), MessageBox::Icon::Question);
}

void EditorWizard::nextOnExchangeFile() {
    const QString path = QFileInfo(QDir::fromNativeSeparators(m_file->text().trimmed())).absoluteFilePath();
    if (m_exporting->isChecked()) {
        exportTextbook(path);
        return;
    }
    if (!startImport(path))
        return;
    showStep(ExchangePreview);
    setHeader(Header::ExchangePreview);
    m_next->setEnabled(true);
}

void EditorWizard::exportTextbook(const QString& path) {
    if (!mayReplace(path))
        return;
    const auto format = Exchange::Format(m_format->currentData().toInt());
    const int textbook = textbookNumber(m_exportBook->currentData().toString());
    // The names and codes typed, each box left empty keeping its default.
    Exchange::KvtmlLanguages languages;
    for (auto [box, value] : {std::pair{"VymTxtCizi", &languages.foreignName},
                              {"VymTxtCiziKod", &languages.foreignLocale},
                              {"VymTxtCesky", &languages.czechName},
                              {"VymTxtCeskyKod", &languages.czechLocale}}) {
        const QString text = m_controls.get<QLineEdit>(QString::fromLatin1(box))->text().trimmed();
        if (!text.isEmpty())
            *value = text;
    }
    if (!MessageBox::reportWrite(this, Exchange::writeFile(m_dir, textbook, path, format, languages)))
        return;
    closingPage(QStringLiteral("Učebnice „%1“ je zapsána do souboru „%2“.")
                    .arg(m_exportBook->currentText(), QDir::toNativeSeparators(path)));
}

namespace {

// Replaces a combo box's items; the signals wait until the options are all set.
void refill(QComboBox* combo, const QList<std::pair<QString, int>>& items) {
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const auto& [text, value] : items)
        combo->addItem(text, value);
}

void choose(QComboBox* combo, int value) {
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(std::max(0, combo->findData(value)));
}

} // namespace

bool EditorWizard::startImport(const QString& path) {
    m_importPath = path;
    m_importFormat = Exchange::Format(m_format->currentData().toInt());
    QString problem;
    switch (m_importFormat) {
    case Exchange::Format::Kvtml: {
        const Exchange::KvtmlHeader header = Exchange::readKvtmlHeader(path);
        problem = header.problem;
        QList<std::pair<QString, int>> languages;
        for (const Exchange::KvtmlIdentifier& language : header.identifiers)
            languages.append({language.locale.isEmpty() ? language.name
                                                        : QStringLiteral("%1 (%2)").arg(language.name, language.locale),
                              language.id});
        refill(m_foreignChoice, languages);
        refill(m_czechChoice, languages);
        choose(m_foreignChoice, header.foreign);
        choose(m_czechChoice, header.czech);
        break;
    }
    case Exchange::Format::Csv:
    case Exchange::Format::Tsv: {
        m_table = Exchange::readDelimited(path, m_importFormat == Exchange::Format::Tsv ? QChar(u'\t') : QChar());
        problem = m_table.problem;
        qsizetype width = 0;
        for (const QStringList& row : std::as_const(m_table.rows))
            width = std::max(width, row.size());
        // Each column named by its number and what its first row holds.
        QList<std::pair<QString, int>> columns;
        const QStringList first = m_table.rows.value(0);
        for (int column = 0; column < width; ++column) {
            const QString sample = fileText(first.value(column)).left(24);
            columns.append({sample.isEmpty() ? QStringLiteral("Sloupec %1").arg(column + 1)
                                             : QStringLiteral("Sloupec %1 (%2)").arg(column + 1).arg(sample),
                            column});
        }
        refill(m_foreignChoice, columns);
        refill(m_czechChoice, columns);
        refill(m_lessonColumn, QList<std::pair<QString, int>>{{QStringLiteral("žádný"), -1}} + columns);
        const Exchange::ColumnChoice guess = Exchange::guessColumns(m_table);
        choose(m_foreignChoice, guess.foreign);
        choose(m_czechChoice, guess.czech);
        choose(m_lessonColumn, guess.lesson);
        const QSignalBlocker quiet(m_headerRow);
        m_headerRow->setChecked(guess.header);
        break;
    }
    case Exchange::Format::FlashCards: {
        const QSignalBlocker quiet(m_splitCommas);
        m_splitCommas->setChecked(false);
        break;
    }
    }
    if (!problem.isEmpty()) {
        MessageBox::showFileError(this, problem);
        return false;
    }
    showImportOptions();
    return rereadImport();
}

void EditorWizard::showImportOptions() {
    const bool kvtml = m_importFormat == Exchange::Format::Kvtml;
    const bool table = m_importFormat == Exchange::Format::Csv || m_importFormat == Exchange::Format::Tsv;
    for (QWidget* control : {m_controls["VymLbl(6)"], m_controls["VymLbl(7)"], static_cast<QWidget*>(m_foreignChoice),
                             static_cast<QWidget*>(m_czechChoice)})
        control->setVisible(kvtml || table);
    for (QWidget* control :
         {m_controls["VymLbl(8)"], static_cast<QWidget*>(m_lessonColumn), static_cast<QWidget*>(m_headerRow)})
        control->setVisible(table);
    m_splitCommas->setVisible(m_importFormat == Exchange::Format::FlashCards);
}

bool EditorWizard::rereadImport() {
    const QString title = QFileInfo(m_importPath).completeBaseName();
    Exchange::ImportedBook book;
    switch (m_importFormat) {
    case Exchange::Format::Kvtml:
        book = Exchange::readKvtml(m_importPath, m_foreignChoice->currentData().toInt(),
                                   m_czechChoice->currentData().toInt());
        break;
    case Exchange::Format::Csv:
    case Exchange::Format::Tsv:
        book = Exchange::importDelimited(m_table,
                                         {m_foreignChoice->currentData().toInt(), m_czechChoice->currentData().toInt(),
                                          m_lessonColumn->currentData().toInt(), m_headerRow->isChecked()},
                                         title);
        break;
    case Exchange::Format::FlashCards:
        book = Exchange::readFlashCards(m_importPath, m_splitCommas->isChecked(), title);
        break;
    }
    m_preview->clear();
    if (!book.problem.isEmpty()) {
        MessageBox::showFileError(this, book.problem);
        return false;
    }
    // The pairs as read, before the store's rules: a wrong column shows as an empty side here.
    for (const Exchange::ImportedLesson& lesson : std::as_const(book.lessons)) {
        for (const Exchange::ImportedPair& pair : lesson.pairs) {
            if (m_preview->count() == kPreviewPairs)
                break;
            m_preview->addItem(
                QStringLiteral("%1: %2 = %3")
                    .arg(fileText(lesson.title), fileText(pair.foreign.join(u'+')), fileText(pair.czech.join(u'+'))));
        }
    }
    m_plan = Exchange::plan(book);
    return true;
}

void EditorWizard::optionChanged() {
    if (m_step == ExchangePreview)
        m_next->setEnabled(rereadImport()); // a file gone meanwhile cannot be imported as previewed
}

void EditorWizard::nextOnExchangePreview() {
    m_summary->setPlainText(Exchange::planSummary(m_plan));
    const bool leavesOut = m_plan.refused.leavesOut();
    m_agree->setChecked(false);
    m_agree->setVisible(leavesOut);
    showStep(ExchangeSummary);
    setHeader(Header::ExchangeSummary);
    m_next->setText(QStringLiteral("Importovat"));
    // Rows are left out only with the user's consent.
    m_next->setEnabled(!leavesOut);
    if (leavesOut)
        m_agree->setFocus();
}

void EditorWizard::nextOnExchangeSummary() {
    const Exchange::Stored stored = Exchange::store(m_dir, m_plan);
    if (!stored.status.ok()) {
        MessageBox::showFileError(this, Exchange::summary(m_plan, stored));
        return;
    }
    closingPage(Exchange::summary(m_plan, stored));
}

namespace {

// A file read with the choices the user would most likely make: a table's columns as its header names them.
Exchange::ImportedBook readGuessing(const QString& path, Exchange::Format format) {
    if (format != Exchange::Format::Csv && format != Exchange::Format::Tsv) {
        Exchange::ImportOptions options;
        options.format = format;
        return Exchange::readFile(path, options);
    }
    const Exchange::DelimitedTable table =
        Exchange::readDelimited(path, format == Exchange::Format::Tsv ? QChar(u'\t') : QChar());
    Exchange::ImportedBook book;
    if (!table.problem.isEmpty())
        book.problem = table.problem;
    else
        book = Exchange::importDelimited(table, Exchange::guessColumns(table), QFileInfo(path).completeBaseName());
    return book;
}

} // namespace

void EditorWizard::CmdImport_Click() {
    const QString path = chooseFile(false);
    Exchange::Format format;
    if (path.isEmpty() || !formatByExtension(path, &format))
        return;
    const Exchange::ImportedBook book = readGuessing(path, format);
    if (!book.problem.isEmpty()) {
        MessageBox::showFileError(this, book.problem);
        return;
    }
    // Every lesson of the file into this one, with the store's rules: what they refuse is told.
    const Exchange::StorePlan plan = Exchange::plan(book);
    QStringList lines;
    for (const Exchange::ExportedLesson& lesson : plan.lessons)
        lines << lesson.pairLines;
    QStringList refused = Exchange::leftOut(plan.refused);
    const qsizetype room = std::max(0, WordLists::kMaxPairs - m_pairs->count());
    if (lines.size() > room) {
        refused << QStringLiteral("Do lekce se vejde nejvýše 2 000 dvojic; ze souboru se nevešlo: %1.")
                       .arg(lines.size() - room);
        lines = lines.mid(0, room);
    }
    PairItems::append(m_pairs, lines);
    m_pairs->scrollToBottom();
    if (!refused.isEmpty())
        MessageBox::tell(
            this, QStringLiteral("Tyto dvojice nelze uložit, do seznamu nebyly přidány:\n") + refused.join(u'\n'),
            MessageBox::Icon::Exclamation);
}

void EditorWizard::CmdExport_Click() {
    const QString path = chooseFile(true);
    Exchange::Format format;
    if (path.isEmpty() || !formatByExtension(path, &format) || !mayReplace(path))
        return;
    QStringList lines = PairItems::pairLines(m_pairs);
    lines.removeIf([](const QString& line) { return pairField(line, 1).isEmpty() && pairField(line, 2).isEmpty(); });
    const Exchange::ExportedBook book{m_books->currentItem()->text(), {{m_lessons->currentItem()->text(), lines}}};
    if (MessageBox::reportWrite(this, Exchange::writeBook(book, path, format, true)))
        MessageBox::tell(this, QStringLiteral("Lekce je zapsána do souboru „%1“.").arg(QDir::toNativeSeparators(path)),
                         MessageBox::Icon::Information);
}

// ---- Leaving ----

void EditorWizard::CmdEnd_Click() {
    if (!MessageBox::confirm(this, kLeaveQuestion, MessageBox::Icon::Question))
        return;
    m_leaving = true;
    close();
}

void EditorWizard::closeEvent(QCloseEvent* event) {
    // The close box on the pair list would drop its changes unasked: it asks as "Neukládat" does.
    if (!m_leaving && currentStep() == PairList &&
        !MessageBox::confirm(this, kLeaveQuestion, MessageBox::Icon::Question)) {
        event->ignore();
        return;
    }
    m_leaving = true;
    event->accept();
    Q_EMIT unloaded();
}

void EditorWizard::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized())
        Q_EMIT minimized();
    else
        Q_EMIT restored();
}

void EditorWizard::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Q_EMIT restored();
}
