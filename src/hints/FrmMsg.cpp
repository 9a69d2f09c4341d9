#include "FrmMsg.h"

#include "AnswerBox.h"
#include "app/AppState.h"
#include "app/Pictures.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

namespace {

// Window 6300 x 3750 twips. The three parts lie over the feedback lines (LblGood, LblText), so a
// use with a part shows the heading, the part and OK only.
constexpr ControlSpec kControls[] = {
    {"ImgPozadi", Kind::Picture, 0, 0, 630, 3750},
    {"ShpPozadi", Kind::Shape, 840, 150, 5310, 570},
    {"LblNadpis", Kind::Label, 990, 195, 5040, 480, "Nadpis"},
    {"LblGood", Kind::Label, 990, 900, 5040, 300, "Správně:"},
    {"LblText", Kind::Label, 990, 1230, 5040, 1650, "Text"},
    {"CmdOK", Kind::Button, 4770, 3120, 1380, 420, "OK"},

    {"DelkaSlova", Kind::Frame, 840, 855, 5310, 2130},
    {"LblPocetPism", Kind::Label, 150, 90, 5130, 300, "", "DelkaSlova"},
    {"Pism", Kind::TextBox, 150, 480, 5130, 450, "", "DelkaSlova"},

    {"Moznosti", Kind::Frame, 840, 855, 5310, 2130},
    {"LblPopisek", Kind::Label, 150, 60, 690, 300, "Slovo:", "Moznosti"},
    {"LblSlovo", Kind::Label, 870, 60, 4410, 300, "", "Moznosti"},
    {"Opt(0)", Kind::Option, 150, 450, 5130, 300, "", "Moznosti"},
    {"Opt(1)", Kind::Option, 150, 780, 5130, 300, "", "Moznosti"},
    {"Opt(2)", Kind::Option, 150, 1110, 5130, 300, "", "Moznosti"},
    {"Opt(3)", Kind::Option, 150, 1440, 5130, 300, "", "Moznosti"},
    {"Opt(4)", Kind::Option, 150, 1770, 5130, 300, "", "Moznosti"},

    {"Zmena", Kind::Frame, 840, 855, 5310, 2130},
    {"Lbl(0)", Kind::Label, 150, 60, 5130, 270, "Výraz v cizím jazyce:", "Zmena"},
    {"TxtCiz", Kind::TextBox, 150, 345, 5130, 375, "", "Zmena"},
    {"Lbl(1)", Kind::Label, 150, 840, 5130, 270, "Výraz v českém jazyce:", "Zmena"},
    {"TxtCze", Kind::TextBox, 150, 1125, 5130, 375, "", "Zmena"},
};

const char* const kPartNames[] = {"DelkaSlova", "Moznosti", "Zmena"};

// The blank a line edit keeps on either side of its text, inside the frame.
constexpr int kLineEditMargin = 2;

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);

std::function<void(FrmMsg&)>& showHook() {
    static std::function<void(FrmMsg&)> hook;
    return hook;
}

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

QMargins frameMargins(const QWidget& window) {
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

QString partName(FrmMsg::Part part) {
    return QString::fromUtf8(kPartNames[static_cast<int>(part)]);
}

} // namespace

FrmMsg::FrmMsg(QWidget* parent, AppState* state, QLineEdit* answer)
    // A parentless window would get a task-bar button of its own; a tool window never does.
    : QDialog(parent, (parent ? Qt::Dialog : Qt::Tool) | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      m_state(state), m_answer(answer) {
    setObjectName(QStringLiteral("FrmMsg"));
    setWindowTitle(QStringLiteral("Memoran 2002"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(tw(6300), tw(3750));
    m_controls.build(this, kControls);
    styleControls();

    for (const char* name : kPartNames) {
        QWidget* part = m_controls[QString::fromUtf8(name)];
        part->setAutoFillBackground(true); // covers the feedback lines beneath
        part->hide();
    }
    m_controls.get<QRadioButton>(QStringLiteral("Opt(0)"))->setChecked(true);

    auto* ok = m_controls.get<QPushButton>(QStringLiteral("CmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &FrmMsg::CmdOK_Click);
    Pism()->installEventFilter(this);
    connect(Pism(), &QLineEdit::textChanged, this, &FrmMsg::fitMask);
    // The caret stands after the typed letters, where the next one goes, and nothing is ever
    // selected: a selection would suggest that typing replaces the mask.
    connect(Pism(), &QLineEdit::cursorPositionChanged, this, &FrmMsg::placeMaskCaret);
    connect(Pism(), &QLineEdit::selectionChanged, this, &FrmMsg::placeMaskCaret);
}

void FrmMsg::styleControls() {
    m_controls.get<QLabel>(QStringLiteral("ImgPozadi"))->setPixmap(Pictures::blueBackground());
    setShapeColor(m_controls["ShpPozadi"], QColor(200, 212, 232));

    setPointSize(LblNadpis(), 14, true);
    setTextColor(LblNadpis(), kRed);
    LblNadpis()->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setBold(LblGood(), true);
    setTextColor(LblGood(), kGreen);
    setPointSize(LblText(), 12);
    LblText()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LblText()->setWordWrap(true);
    setBold(LblSlovo(), true);
    // Words from the lesson files are shown as written, never read as markup.
    for (QLabel* label : {LblNadpis(), LblText(), LblPocetPism(), LblSlovo()})
        label->setTextFormat(Qt::PlainText);

    fitMask();
    // Only Pism_KeyPress changes the mask: no pasting, dropping or editing menu.
    Pism()->setContextMenuPolicy(Qt::NoContextMenu);
    Pism()->setAcceptDrops(false);
}

void FrmMsg::setShowHook(std::function<void(FrmMsg&)> hook) {
    showHook() = std::move(hook);
}

void FrmMsg::showModal() {
    centreOnScreen();
    if (!showHook()) {
        exec(); // destroys the window as it closes (WA_DeleteOnClose)
        return;
    }
    QPointer<FrmMsg> self(this);
    showHook()(*this);
    // The hook stood in for the user; once it returns, the use is over whether or not it closed.
    delete self.data();
}

// The frame, title bar included, stands in the middle of the screen. Until the window manager has
// framed this window, the frame of the window beneath, drawn by the same manager, stands in for its.
void FrmMsg::centreOnScreen() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QMargins frame = frameMargins(*this);
    if (frame.isNull() && parentWidget())
        frame = frameMargins(*parentWidget()->window());
    QRect outer(QPoint(), size().grownBy(frame));
    outer.moveCenter(screen->availableGeometry().center());
    move(outer.topLeft());
}

void FrmMsg::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    // Framing moves the window: now its own frame is known.
    if (!m_framed && !frameMargins(*this).isNull()) {
        m_framed = true;
        centreOnScreen();
    }
}

void FrmMsg::CmdOK_Click() {
    QString chosen;
    for (int i = 0; i < kOptionCount; ++i) {
        if (m_controls.get<QRadioButton>(arrayName("Opt", i))->isChecked())
            chosen = optionCaption(i);
    }
    if (m_answer && partShown(Part::Moznosti))
        m_answer->setText(chosen);
    else if (m_answer && partShown(Part::DelkaSlova))
        m_answer->setText(Pism()->text());
    accept();
}

void FrmMsg::Pism_KeyPress(QChar KeyAscii) {
    if (KeyAscii == QChar(13)) {
        CmdOK_Click();
        return;
    }
    // Typed letters cannot be taken back.
    if (KeyAscii == QChar(8) || !m_state)
        return;
    QString& letters = m_state->hintLetters;
    letters.append(KeyAscii);
    const qsizetype length = Pism()->text().size();
    Pism()->setText(letters + QString(std::max<qsizetype>(0, length - letters.size()), u'-'));
}

// A fixed-width font lines the letters up with the dashes they replace. A long mask gets a smaller
// one, so that the box shows it whole; past the smallest it scrolls with the caret.
void FrmMsg::fitMask() {
    struct Size {
        int points;
        int spacing;
    };
    constexpr Size kSizes[] = {{13, 2}, {12, 1}, {11, 1}, {10, 0}, {9, 0}};
    const int frame = Pism()->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, Pism());
    const int room = Pism()->width() - 2 * (frame + kLineEditMargin) - 1;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const Size& size : kSizes) {
        font.setPointSize(size.points);
        font.setLetterSpacing(QFont::AbsoluteSpacing, size.spacing);
        if (QFontMetrics(font).horizontalAdvance(Pism()->text()) <= room)
            break;
    }
    Pism()->setFont(font);
}

void FrmMsg::placeMaskCaret() {
    const int typed = m_state ? int(std::min(m_state->hintLetters.size(), Pism()->text().size())) : 0;
    if (Pism()->cursorPosition() != typed || Pism()->hasSelectedText())
        Pism()->setCursorPosition(typed);
}

void FrmMsg::setHeading(const QString& caption, const QColor& color) {
    LblNadpis()->setText(caption);
    setTextColor(LblNadpis(), color);
}

void FrmMsg::showPart(Part part) {
    m_controls[partName(part)]->show();
    // The user starts typing or choosing at once, not on OK.
    switch (part) {
    case Part::DelkaSlova:
        Pism()->setFocus();
        break;
    case Part::Moznosti:
        m_controls["Opt(0)"]->setFocus();
        break;
    case Part::Zmena:
        TxtCiz()->setFocus();
        break;
    }
}

// Asked of the part itself: the window may not be on screen (a test's hook stands in for it).
bool FrmMsg::partShown(Part part) const {
    return !m_controls[partName(part)]->isHidden();
}

void FrmMsg::setOptionCaption(int index, const QString& caption) {
    QString shown = caption;
    m_controls.get<QRadioButton>(arrayName("Opt", index))->setText(shown.replace(u'&', QStringLiteral("&&")));
}

QString FrmMsg::optionCaption(int index) const {
    return m_controls.get<QRadioButton>(arrayName("Opt", index))
        ->text()
        .replace(QStringLiteral("&&"), QStringLiteral("&"));
}

QLabel* FrmMsg::LblNadpis() const {
    return m_controls.get<QLabel>(QStringLiteral("LblNadpis"));
}
QLabel* FrmMsg::LblGood() const {
    return m_controls.get<QLabel>(QStringLiteral("LblGood"));
}
QLabel* FrmMsg::LblText() const {
    return m_controls.get<QLabel>(QStringLiteral("LblText"));
}
QLabel* FrmMsg::LblPocetPism() const {
    return m_controls.get<QLabel>(QStringLiteral("LblPocetPism"));
}
QLabel* FrmMsg::LblSlovo() const {
    return m_controls.get<QLabel>(QStringLiteral("LblSlovo"));
}
QLineEdit* FrmMsg::Pism() const {
    return m_controls.get<QLineEdit>(QStringLiteral("Pism"));
}
QLineEdit* FrmMsg::TxtCiz() const {
    return m_controls.get<QLineEdit>(QStringLiteral("TxtCiz"));
}
QLineEdit* FrmMsg::TxtCze() const {
    return m_controls.get<QLineEdit>(QStringLiteral("TxtCze"));
}

// Only the change of a pair can be given up (Escape, like the close box, rejects it); the other uses
// end with OK, so that a stray Escape neither loses a typed mask nor skips the right answer.
void FrmMsg::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel) && !partShown(Part::Zmena)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool FrmMsg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Pism() && filterMaskEvent(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

// Every way text could reach the mask ends in Pism_KeyPress or nowhere. Tab and Escape are the
// window's (next control; keyPressEvent).
bool FrmMsg::filterMaskEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Escape)
            return false;
        event->accept();
        if (event->type() == QEvent::ShortcutOverride)
            return true;
        if (AnswerBox::isEnter(*key))
            Pism_KeyPress(QChar(13));
        else if (key->key() == Qt::Key_Backspace)
            Pism_KeyPress(QChar(8));
        else {
            for (const QChar c : AnswerBox::typedText(*key))
                Pism_KeyPress(c);
        }
        return true;
    }
    case QEvent::InputMethod: {
        // Composed letters (dead keys, input methods) arrive here rather than as key presses.
        const QString committed = static_cast<QInputMethodEvent*>(event)->commitString();
        for (const QChar c : committed)
            Pism_KeyPress(c);
        event->accept();
        return true;
    }
    case QEvent::MouseButtonRelease:
        // The middle button pastes the X11 selection.
        return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}
