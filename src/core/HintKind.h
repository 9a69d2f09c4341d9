// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The hints a question offers, from the test page's keys or the QuickClick window's buttons.
enum class HintKind { FirstLetter, WordLength, FiveOptions };
