// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackgroundWindow.h"

#include "ui/ErrorTrap.h"
#include "ui/Pictures.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProxyStyle>
#include <QScreen>

namespace {

// The window is disabled only so that it takes no input; its pictures keep their colours.
class UngreyedStyle : public QProxyStyle {
public:
    QPixmap generatedIconPixmap(QIcon::Mode mode, const QPixmap& pixmap, const QStyleOption* option) const override {
        return mode == QIcon::Disabled ? pixmap : QProxyStyle::generatedIconPixmap(mode, pixmap, option);
    }
};

constexpr ControlSpec kControls[] = {
    {"ImgModra", Kind::Picture, -360, -360, 12000, 9000},
    {"ImgLogo", Kind::Picture, 240, 240, 6750, 3345},
};
} // namespace

BackgroundWindow::BackgroundWindow(std::function<void()> endProgram)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnBottomHint),
      m_endProgram(std::move(endProgram)) {
    setObjectName(QStringLiteral("FrmCerna"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    m_controls.build(this, kControls);
    m_blue = m_controls.get<QLabel>("ImgModra");
    auto* logo = m_controls.get<QLabel>("ImgLogo");
    m_blue->setPixmap(Pictures::blueBackground());
    logo->setPixmap(Pictures::logo(logo->size()));
    logo->setAccessibleName(QStringLiteral("Memoran"));
    logo->setAccessibleDescription(QStringLiteral("Logo programu Memoran"));
    auto* style = new UngreyedStyle;
    style->setParent(this);
    for (QLabel* picture : {m_blue, logo})
        picture->setStyle(style);
}

void BackgroundWindow::showBehind() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    show();
    setEnabled(false);
}

void BackgroundWindow::coverScreen() {
    runTrapped(
        this, 1, QString(), [this] { m_blue->resize(width() + tw(1000), height() + tw(1000)); }, m_endProgram);
}

bool BackgroundWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // Activation, and the first showing, which counts as activation of a window that never takes focus.
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        coverScreen();
    return handled;
}
