#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QHash>
#include <QRect>
#include <QString>
#include <QWidget>

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
    Shape,    // rectangle outline (QFrame)
    Line,     // filled thin rectangle (QFrame)
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

// The controls of one window by name, built from a table.
class Controls {
public:
    // A control of its own class: the factory returns it for its row, or null for the usual kind.
    using Factory = std::function<QWidget*(const ControlSpec&, QWidget* parent)>;
    void build(QWidget* window, std::span<const ControlSpec> rows, const Factory& factory = {});

    QWidget* operator[](const QString& name) const;
    template <class T> T* get(const QString& name) const {
        auto* widget = qobject_cast<T*>((*this)[name]);
        Q_ASSERT_X(widget, "Controls::get", qPrintable(name));
        return widget;
    }

    // Runs the receiver's handler when the button, option or check box of that name is clicked.
    template <class Receiver, class Handler> void onClick(const char* name, Receiver* receiver, Handler handler) const {
        QObject::connect(get<QAbstractButton>(QString::fromUtf8(name)), &QAbstractButton::clicked, receiver, handler);
    }

private:
    QHash<QString, QWidget*> m_widgets;
};

// Name of element index of a control array: "Frames(5)".
QString arrayName(const char* name, int index);

// Colours of shapes and lines.
void setShapeColor(QWidget* shape, const QColor& color, int width = 1);
void setLineColor(QWidget* line, const QColor& color);
// Bold or normal weight of a label or other control, keeping its size.
void setBold(QWidget* widget, bool bold);
void setPointSize(QWidget* widget, int points, bool bold = false);
