// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>

// The program's own pictures, drawn in code once a process and kept in the pixmap cache.
namespace Pictures {

// The program's logo at the given size (306 x 150 on the intro and settings pages, 450 x 223 on
// the background window).
QPixmap logo(const QSize& size);
// The blue picture of the background window; it is stretched to any size.
QPixmap blueBackground();
// The left panel of the main window behind the navigation tree.
QPixmap sidePanel(const QSize& size);
// The icons of the main menu: 0 test, 1 vocabulary editor, 2 settings, 3 user textbook.
QPixmap menuIcon(int item);
// The mark of the vocabulary editor wizard, 48 x 48, for the right end of its white header.
QPixmap editorLogo();
// The tall picture at the left of the wizard's first and last pages, 163 x 302.
QPixmap editorBanner();

} // namespace Pictures
