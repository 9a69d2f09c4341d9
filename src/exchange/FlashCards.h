// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/Exchange.h"

namespace Exchange {

// The flash-card programs' "notes in plain text": "#" header lines (#separator:, #html:, #deck column:
// …) honoured; with #html:true tags stripped (<br> a line break) and entities decoded; [sound:…]
// removed; the deck column names the lesson (the part after the last "::"). ", " inside a side is kept
// as text unless splitCommas makes it separate alternatives.
ImportedBook readFlashCards(const QString& path, bool splitCommas, const QString& title);

// "#separator:tab", "#html:false", "#deck column:3", then one pair a line with "Textbook::Lesson" as
// its deck, alternatives as "a, b".
QByteArray writeFlashCards(const ExportedBook& book);

} // namespace Exchange
