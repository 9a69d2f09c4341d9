// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HintWindow.h"

#include "core/TestSession.h"
#include "ui/AnswerBox.h"
#include "ui/PairTextBox.h"
#include "ui/Pictures.h"
#include "ui/WrapLabel.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>
#include <QtMath>

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

std::function<void(HintWindow&)>& showHook() {
    static std::function<void(HintWindow&)> hook;
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

// A caption as the user reads it: an option shows "&&" as "&".
QString shownCaption(QString caption) {
    return caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

// An option whose caption wraps as a WrapLabel's does, its indicator beside the first line. All of
// it takes the click.
class WrapOption : public QRadioButton {
public:
    using QRadioButton::QRadioButton;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override {
        return std::max(fontMetrics().height(), wrappedHeight(*this, shownCaption(text()), width - textLeft()));
    }
    QSize minimumSizeHint() const override { return {textLeft() + fontMetrics().maxWidth(), fontMetrics().height()}; }

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        painter.setPen(palette().color(foregroundRole()));
        const QRect contents = style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);
        const QRect caption = drawWrapped(painter, *this, contents, shownCaption(text()), true);
        QStyleOptionButton indicator = option;
        indicator.rect = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, this);
        indicator.rect.moveTop(caption.top() + (fontMetrics().height() - indicator.rect.height()) / 2);
        painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, indicator);
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.rect = caption.adjusted(-2, 0, 2, 0);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }

private:
    int textLeft() const {
        QStyleOptionButton option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this).left();
    }
};

QWidget* createWrapping(const ControlSpec& row, QWidget* parent) {
    const QString caption = QString::fromUtf8(row.caption);
    if (row.kind == Kind::Label)
        return new WrapLabel(caption, parent);
    if (row.kind == Kind::Option)
        return new WrapOption(caption, parent);
    if (row.kind == Kind::TextBox && row.parent && qstrcmp(row.parent, "Zmena") == 0)
        return new PairTextBox(parent);
    return nullptr;
}

// Puts a label that may need more room than the screen has into a scroll area in its place.
void makeScrollable(QLabel* label) {
    auto* area = new QScrollArea(label->parentWidget());
    area->setGeometry(label->geometry());
    area->stackUnder(label);
    area->setFrameShape(QFrame::NoFrame);
    area->setAccessibleName(QStringLiteral("Zpráva")); // the label inside is read as its text
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(true);
    area->viewport()->setAutoFillBackground(false);
    area->setWidget(label);
    label->setAutoFillBackground(false);
}

QScrollArea* scrollAreaOf(QWidget* control) {
    QWidget* viewport = control->parentWidget();
    return viewport ? qobject_cast<QScrollArea*>(viewport->parentWidget()) : nullptr;
}

} // namespace

HintWindow::HintWindow(QWidget* parent, TestSession* session, QLineEdit* answer)
    // A parentless window would get a task-bar button of its own; a tool window never does.
    : QDialog(parent, (parent ? Qt::Dialog : Qt::Tool) | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      m_session(session), m_answer(answer) {
    setObjectName(QStringLiteral("FrmMsg"));
    setWindowTitle(QStringLiteral("Memoran 2002"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(tw(6300), tw(3750));
    m_controls.build(this, kControls, createWrapping);
    bindControls();
    makeScrollable(LblText());
    makeScrollable(LblSlovo());
    styleControls();

    for (QFrame* part : m_parts) {
        part->setAutoFillBackground(true); // covers the feedback lines beneath
        part->hide();
    }
    m_options[0]->setChecked(true);

    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &HintWindow::CmdOK_Click);
    Pism()->installEventFilter(this);
    Pism()->setAccessibleName(QStringLiteral("Hledané slovo"));
    connect(Pism(), &QLineEdit::textChanged, this, &HintWindow::fitMask);
    // The caret stands after the typed letters, where the next one goes, and nothing is ever
    // selected: a selection would suggest that typing replaces the mask.
    connect(Pism(), &QLineEdit::cursorPositionChanged, this, &HintWindow::placeMaskCaret);
    connect(Pism(), &QLineEdit::selectionChanged, this, &HintWindow::placeMaskCaret);
}

void HintWindow::bindControls() {
    m_heading = m_controls.get<QLabel>("LblNadpis");
    m_goodCaption = m_controls.get<QLabel>("LblGood");
    m_text = m_controls.get<QLabel>("LblText");
    m_ok = m_controls.get<QPushButton>("CmdOK");
    m_parts = m_controls.all<QFrame>(kPartNames);
    m_letterCount = m_controls.get<QLabel>("LblPocetPism");
    m_mask = m_controls.get<QLineEdit>("Pism");
    m_word = m_controls.get<QLabel>("LblSlovo");
    m_options = m_controls.array<QRadioButton, kOptionCount>("Opt");
    m_foreign = m_controls.get<QLineEdit>("TxtCiz");
    m_czech = m_controls.get<QLineEdit>("TxtCze");
}

void HintWindow::styleControls() {
    m_controls.get<QLabel>("ImgPozadi")->setPixmap(Pictures::blueBackground());
    setShapeColor(m_controls["ShpPozadi"], QColor(200, 212, 232));

    setPointSize(LblNadpis(), 14, true);
    setTextColor(LblNadpis(), kRed);
    LblNadpis()->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setBold(LblGood(), true);
    setTextColor(LblGood(), kGreen);
    setPointSize(LblText(), 12);
    LblText()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setBold(LblSlovo(), true);
    // "Slovo:" stands beside the first line of the expression, however many lines it takes.
    for (QLabel* label : {m_controls.get<QLabel>("LblPopisek"), LblSlovo()})
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    fitMask();
    // Only Pism_KeyPress changes the mask: no pasting, dropping or editing menu.
    Pism()->setContextMenuPolicy(Qt::NoContextMenu);
    Pism()->setAcceptDrops(false);
}

void HintWindow::setShowHook(std::function<void(HintWindow&)> hook) {
    showHook() = std::move(hook);
}

void HintWindow::showModal() {
    fitContents();
    centreOnScreen();
    if (!showHook()) {
        exec(); // destroys the window as it closes (WA_DeleteOnClose)
        return;
    }
    QPointer<HintWindow> self(this);
    showHook()(*this);
    // The hook stood in for the user; once it returns, the use is over whether or not it closed.
    delete self.data();
}

// Texts that need more lines than their control has make it taller, as far as the screen allows;
// beyond that the long labels scroll.
void HintWindow::fitContents() {
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QMargins frame = expectedFrame();
    int room = screen ? screen->availableGeometry().height() - frame.top() - frame.bottom() - height() : 0;
    for (QWidget* control : m_controls.inTableOrder()) {
        if (!control->hasHeightForWidth() || !control->isVisibleTo(this))
            continue;
        QScrollArea* area = scrollAreaOf(control);
        QWidget* box = area ? area : control;
        const int extra = std::min(control->heightForWidth(box->width()) - box->height(), room);
        if (extra > 0) {
            growBy(box, extra);
            room -= extra;
        }
        if (area) {
            const bool scrolls = control->heightForWidth(area->width()) > area->height();
            const int width = area->width() - (scrolls ? area->verticalScrollBar()->sizeHint().width() : 0);
            control->setGeometry(0, 0, width, std::max(area->height(), control->heightForWidth(width)));
        }
    }
}

// Makes a control taller: what lies below it moves down, what reaches beyond its top and bottom (the
// background, a frame) grows with it, and so on up to the window.
void HintWindow::growBy(QWidget* control, int extra) {
    QWidget* parent = control->parentWidget();
    const QRect old = control->geometry();
    for (QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect place = sibling->geometry();
        if (sibling == control)
            continue;
        if (place.top() > old.bottom())
            sibling->move(place.x(), place.y() + extra);
        else if (place.top() < old.top() && place.bottom() > old.bottom())
            sibling->resize(place.width(), place.height() + extra);
    }
    control->resize(old.width(), old.height() + extra);
    if (parent == this)
        setFixedHeight(height() + extra);
    else
        growBy(parent, extra);
}

// Until the window manager has framed this window, the frame of the window beneath, drawn by the
// same manager, stands in for its own; without one, a title bar.
QMargins HintWindow::expectedFrame() const {
    QMargins frame = frameMargins(*this);
    if (frame.isNull() && parentWidget())
        frame = frameMargins(*parentWidget()->window());
    if (frame.isNull())
        frame.setTop(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
    return frame;
}

// The frame, title bar included, stands in the middle of the screen.
void HintWindow::centreOnScreen() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect outer(QPoint(), size().grownBy(expectedFrame()));
    outer.moveCenter(screen->availableGeometry().center());
    move(outer.topLeft());
}

void HintWindow::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    // Framing moves the window: now its own frame is known.
    if (!m_framed && !frameMargins(*this).isNull()) {
        m_framed = true;
        centreOnScreen();
    }
}

void HintWindow::CmdOK_Click() {
    QString chosen;
    for (int i = 0; i < kOptionCount; ++i) {
        if (m_options[i]->isChecked())
            chosen = optionCaption(i);
    }
    if (m_answer && partShown(Part::Moznosti))
        m_answer->setText(chosen);
    else if (m_answer && partShown(Part::DelkaSlova))
        m_answer->setText(Pism()->text());
    accept();
}

void HintWindow::Pism_KeyPress(QChar KeyAscii) {
    if (KeyAscii == QChar(13)) {
        CmdOK_Click();
        return;
    }
    // Typed letters cannot be taken back.
    if (KeyAscii == QChar(8) || !m_session)
        return;
    m_session->addHintLetter(KeyAscii);
    const QString& letters = m_session->hintLetters();
    const qsizetype length = Pism()->text().size();
    Pism()->setText(letters + QString(std::max<qsizetype>(0, length - letters.size()), u'-'));
}

// A fixed-width font lines the letters up with the dashes they replace. A long mask gets a smaller
// one, so that the box shows it whole; past the smallest it scrolls with the caret.
void HintWindow::fitMask() {
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

void HintWindow::placeMaskCaret() {
    const int typed = m_session ? int(std::min(m_session->hintLetters().size(), Pism()->text().size())) : 0;
    if (Pism()->cursorPosition() != typed || Pism()->hasSelectedText())
        Pism()->setCursorPosition(typed);
}

void HintWindow::setHeading(const QString& caption, const QColor& color) {
    LblNadpis()->setText(caption);
    setTextColor(LblNadpis(), color);
}

void HintWindow::showPart(Part part) {
    m_parts[static_cast<int>(part)]->show();
    // The user starts typing or choosing at once, not on OK.
    switch (part) {
    case Part::DelkaSlova:
        Pism()->setFocus();
        break;
    case Part::Moznosti:
        m_options[0]->setFocus();
        break;
    case Part::Zmena:
        TxtCiz()->setFocus();
        break;
    }
}

// Asked of the part itself: the window may not be on screen (a test's hook stands in for it).
bool HintWindow::partShown(Part part) const {
    return !m_parts[static_cast<int>(part)]->isHidden();
}

void HintWindow::setOptionCaption(int index, const QString& caption) {
    QString shown = caption;
    m_options.at(index)->setText(shown.replace(u'&', QStringLiteral("&&")));
}

QString HintWindow::optionCaption(int index) const {
    return shownCaption(m_options.at(index)->text());
}

// Only the change of a pair can be given up (Escape, like the close box, rejects it); the other uses
// end with OK, so that a stray Escape neither loses a typed mask nor skips the right answer.
void HintWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel) && !partShown(Part::Zmena)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool HintWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Pism() && filterMaskEvent(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

// Every way text could reach the mask ends in Pism_KeyPress or nowhere. Tab and Escape are the
// window's (next control; keyPressEvent).
bool HintWindow::filterMaskEvent(QEvent* event) {
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

void HintWindow::showFeedback(QWidget* parent, const QString& heading, const QColor& headingColor,
                              const QString& goodCaption, const QString& text) {
    auto* window = new HintWindow(parent);
    window->setHeading(heading, headingColor);
    window->LblGood()->setText(goodCaption);
    window->LblGood()->show();
    window->LblText()->setText(text);
    window->showModal();
}

bool HintWindow::changePair(QWidget* parent, QString* foreign, QString* czech) {
    auto* window = new HintWindow(parent);
    window->LblNadpis()->setText(QStringLiteral("Změna"));
    window->TxtCiz()->setText(*foreign);
    window->TxtCze()->setText(*czech);
    window->showPart(Part::Zmena);
    bool changed = false;
    // Read before the window is gone; only OK takes the texts (Escape and the close box reject).
    connect(window, &QDialog::accepted, window, [&] {
        changed = true;
        *foreign = window->TxtCiz()->text();
        *czech = window->TxtCze()->text();
    });
    window->showModal();
    return changed;
}
