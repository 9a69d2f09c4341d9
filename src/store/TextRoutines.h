// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The small routines that take pair lines and their display forms apart, and the number
// conventions of every file and text box. All of them accept any text, the empty one included.

// Field n of a line whose fields are each closed by "*" (1 = foreign side, 2 = Czech side).
QString pairField(const QString& text, int n);

// A side with its "+" separators shown as ", " (a run of "+" counts once, a trailing one is dropped).
QString plusesToCommas(const QString& text);

// Side n (1 or 2) of an edit-form item "foreign = Czech".
QString editFormSide(const QString& text, int n);

// The value of the leading number of a text: blanks are skipped, "." is the decimal point,
// a text that does not start with a number is 0. A number too large for a double is the largest
// double of its sign (never infinity, never 0).
double numericValue(const QString& text);

// A value as an int, rounded toward zero and saturated at the ends of int's range; NaN gives 0.
// Every numeric value that becomes an int goes through here: a plain cast of a value out of range is
// undefined behaviour.
int saturatedInt(double value);

// A number as the program writes it into files and captions: one leading blank in place of the
// sign for a value that is not negative ("  3" is never produced; 3 gives " 3").
QString signedNumber(double value);

// A number in plain decimal, as the counters of the test page hold it.
QString plainNumber(double value);

// The pair line of a foreign and a Czech side, each side closed by "*".
QString pairLine(const QString& foreign, const QString& czech);

// The edit form of a pair line: foreign side + " = " + Czech side, both as stored.
QString editForm(const QString& line);

// The selection form of a pair line: Czech side + " = " + foreign side, alternatives separated by ", ".
QString selectionForm(const QString& line);

// The text of a box as a file may hold it, on one line: line breaks and tabs at either end are
// dropped, a run of them inside becomes one blank, other control characters are dropped. A caret
// at *position in text is moved to the same place in the result.
QString fileText(const QString& text, int* position = nullptr);
