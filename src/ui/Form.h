// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <cstddef>
#include <functional>
#include <span>

// Windows are laid out in twips, the unit of their designs: 15 twips make one pixel.
// Rounded to the nearest pixel on both sides of zero: the background picture lies at -360 twips.
constexpr int tw(int twips) {
    return twips >= 0 ? (twips + 7) / 15 : -((7 - twips) / 15);
}
constexpr QRect twRect(int left, int top, int width, int height) {
    return {tw(left), tw(top), tw(width), tw(height)};
}

enum class Kind {
    Label,    // QLabel
    Button,   // QPushButton
    CheckBox, // QCheckBox
    Option,   // QRadioButton (exclusive among the options of one parent)
    TextBox,  // QLineEdit
    ComboBox, // QComboBox, a drop-down list
    ListBox,  // QListWidget
    Frame,    // QFrame without border, holds other controls
    Picture,  // QLabel showing a scaled picture
    Shape,    // rectangle outline (Shape)
    Line,     // filled thin rectangle (Shape)
    HotZone,  // transparent area that takes the mouse
};

// One control of a window: its name (also its objectName), kind, place in twips and caption.
// A control lies on the window unless parent names a frame built earlier in the same table.
struct ControlSpec {
    const char* name;
    Kind kind;
    int left, top, width, height;
    const char* caption = "";
    const char* parent = nullptr;
};

// Name of element index of a control array: "Frames(5)".
QString arrayName(const char* name, int index);

// The controls of one window by name, built from a table.
class Controls {
public:
    // A control of its own class: the factory returns it for its row, or null for the usual kind.
    using Factory = std::function<QWidget*(const ControlSpec&, QWidget* parent)>;
    void build(QWidget* window, std::span<const ControlSpec> rows, const Factory& factory = {});

    // The control of that name. A name missing from the table is a fault of the program: it stops
    // it in every build type, at the latest when the window binds its controls.
    QWidget* operator[](const QString& name) const;
    // The control of that name as its class; a control of another class stops the program too.
    template <class T> T* get(const QString& name) const {
        QWidget* widget = (*this)[name];
        auto* typed = qobject_cast<T*>(widget);
        if (!typed)
            wrongClass(name, widget, T::staticMetaObject.className());
        return typed;
    }
    // Elements first to first + N - 1 of a control array: array<QRadioButton, 4>("F2OptUZ").
    template <class T, std::size_t N> std::array<T*, N> array(const char* name, int first = 0) const {
        std::array<T*, N> elements{};
        for (std::size_t i = 0; i < N; ++i)
            elements[i] = get<T>(arrayName(name, first + static_cast<int>(i)));
        return elements;
    }
    // Every control, in the order of the rows that built them.
    const QList<QWidget*>& inTableOrder() const { return m_order; }
    // The controls of a table of names, in its order.
    template <class T, std::size_t N> std::array<T*, N> all(const char* const (&names)[N]) const {
        std::array<T*, N> controls{};
        for (std::size_t i = 0; i < N; ++i)
            controls[i] = get<T>(QString::fromUtf8(names[i]));
        return controls;
    }

private:
    void nameBoxesByTheirLabels(std::span<const ControlSpec> rows);
    [[noreturn]] static void wrongClass(const QString& name, const QWidget* widget, const char* expected);

    QHash<QString, QWidget*> m_widgets;
    QList<QWidget*> m_order;
};

class QAbstractItemView;
class QPushButton;

// A button that Enter presses while it has the focus, as Space does (a window built in code rather
// than from a table, for one laid out to resize).
QPushButton* newButton(const QString& caption, QWidget* parent = nullptr);

// A list without a chosen item: none selected, and none current, so that taking the focus marks no
// item as if chosen and Down picks the first.
void clearChoice(QAbstractItemView* list);

// Colours of shapes and lines (controls of those kinds); anything else stops the program.
void setShapeColor(QWidget* shape, const QColor& color, int width = 1);
void setLineColor(QWidget* line, const QColor& color);
// Bold or normal weight of a label or other control, keeping its size.
void setBold(QWidget* widget, bool bold);
void setPointSize(QWidget* widget, int points, bool bold = false);
