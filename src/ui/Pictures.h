#pragma once

#include <QPixmap>

// The program's own pictures, drawn in code.
namespace Pictures {

// The program's logo at the given size (306 x 150 on the intro and settings pages, 450 x 223 on
// the background window).
QPixmap logo(const QSize& size);
// The blue picture of the background window; it is stretched to any size.
QPixmap blueBackground();
// The left panel of the main window behind the navigation tree.
QPixmap sidePanel(const QSize& size);
// The icons of the main menu: 0 test, 1 vocabulary editor, 2 settings.
QPixmap menuIcon(int item);

} // namespace Pictures
