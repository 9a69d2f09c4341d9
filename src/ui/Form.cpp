// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Form.h"

#include "ui/Shape.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <limits>

namespace {

// Enter presses a focused button, as Space does: outside dialogs Qt's buttons take Space only.
class Button : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !event->isAutoRepeat()) {
            event->accept();
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

QWidget* create(Kind kind, const QString& caption, QWidget* parent) {
    switch (kind) {
    case Kind::Label: {
        // Captions may come from the vocabulary files: shown as written, never read as markup.
        auto* label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case Kind::Button:
        return new Button(caption, parent);
    case Kind::CheckBox:
        return new QCheckBox(caption, parent);
    case Kind::Option:
        return new QRadioButton(caption, parent);
    case Kind::TextBox:
        return new QLineEdit(caption, parent);
    case Kind::ComboBox:
        return new QComboBox(parent);
    case Kind::ListBox:
        return new QListWidget(parent);
    case Kind::Picture: {
        auto* picture = new QLabel(parent);
        picture->setScaledContents(true);
        return picture;
    }
    case Kind::Frame:
        return new QFrame(parent);
    case Kind::Shape:
        return new Shape(Shape::Fill::Outline, parent);
    case Kind::Line:
        return new Shape(Shape::Fill::Whole, parent);
    case Kind::HotZone: {
        auto* zone = new QWidget(parent);
        zone->setMouseTracking(true);
        zone->setCursor(Qt::PointingHandCursor);
        return zone;
    }
    }
    return nullptr;
}

} // namespace

QPushButton* newButton(const QString& caption, QWidget* parent) {
    return new Button(caption, parent);
}

namespace {

Shape* shapeOf(QWidget* widget) {
    auto* shape = qobject_cast<Shape*>(widget);
    if (!shape)
        qFatal("\"%s\" is a %s, not a shape or line", qUtf8Printable(widget->objectName()),
               widget->metaObject()->className());
    return shape;
}

} // namespace

void Controls::build(QWidget* window, std::span<const ControlSpec> rows, const Factory& factory) {
    for (const ControlSpec& row : rows) {
        QWidget* parent = row.parent ? (*this)[QString::fromUtf8(row.parent)] : window;
        const QString name = QString::fromUtf8(row.name);
        QWidget* widget = factory ? factory(row, parent) : nullptr;
        if (!widget)
            widget = create(row.kind, QString::fromUtf8(row.caption), parent);
        widget->setObjectName(name);
        widget->setGeometry(twRect(row.left, row.top, row.width, row.height));
        m_widgets.insert(name, widget);
        m_order.append(widget);
    }
    nameBoxesByTheirLabels(rows);
}

// Assistive technology reads a box or list by the label beside it (a button by its own caption):
// the label on the same line to its left, else the nearest one above it, in the same frame.
void Controls::nameBoxesByTheirLabels(std::span<const ControlSpec> rows) {
    for (const ControlSpec& box : rows) {
        if (box.kind != Kind::TextBox && box.kind != Kind::ComboBox && box.kind != Kind::ListBox)
            continue;
        const ControlSpec* best = nullptr;
        int bestDistance = std::numeric_limits<int>::max();
        for (const ControlSpec& label : rows) {
            if (label.kind != Kind::Label || !*label.caption ||
                QByteArrayView(label.parent) != QByteArrayView(box.parent))
                continue;
            const int middle = label.top + label.height / 2;
            const bool leftOnItsLine =
                middle >= box.top && middle <= box.top + box.height && label.left + label.width <= box.left + 60;
            const bool above = label.top + label.height <= box.top + 60 && label.left < box.left + box.width &&
                               label.left + label.width > box.left;
            const int distance = leftOnItsLine ? box.left - label.left : above ? 100000 + box.top - label.top : -1;
            if (distance >= 0 && distance < bestDistance) {
                best = &label;
                bestDistance = distance;
            }
        }
        QWidget* widget = m_widgets.value(QString::fromUtf8(box.name));
        if (!best || !widget->accessibleName().isEmpty())
            continue;
        QString name = QString::fromUtf8(best->caption).trimmed();
        if (name.endsWith(u':'))
            name.chop(1);
        widget->setAccessibleName(name);
    }
}

QWidget* Controls::operator[](const QString& name) const {
    QWidget* widget = m_widgets.value(name);
    if (!widget)
        qFatal("Controls: no control named \"%s\"", qUtf8Printable(name));
    return widget;
}

void Controls::wrongClass(const QString& name, const QWidget* widget, const char* expected) {
    qFatal("Controls: \"%s\" is a %s, not a %s", qUtf8Printable(name), widget->metaObject()->className(), expected);
}

QString arrayName(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QString::fromUtf8(name)).arg(index);
}

void clearChoice(QAbstractItemView* list) {
    list->clearSelection();
    // Through the view, not its selection model: the view then no longer makes the first item current
    // when it takes the focus.
    list->setCurrentIndex(QModelIndex());
}

void setShapeColor(QWidget* shape, const QColor& color, int width) {
    Shape* outline = shapeOf(shape);
    outline->setColor(color);
    outline->setOutlineWidth(width);
}

void setLineColor(QWidget* line, const QColor& color) {
    shapeOf(line)->setColor(color);
}

void setBold(QWidget* widget, bool bold) {
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

void setPointSize(QWidget* widget, int points, bool bold) {
    QFont font = widget->font();
    font.setPointSize(points);
    font.setBold(bold);
    widget->setFont(font);
}
