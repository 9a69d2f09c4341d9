// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

// Qt's own texts (the context menus of text boxes, the standard buttons) in Czech, like the rest of
// the program. Returns false when the translation is not installed on this system; the program
// then runs on with Qt's English texts.
bool installCzechTranslation(QCoreApplication& app);
