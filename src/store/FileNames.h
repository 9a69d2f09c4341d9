// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The names of the vocabulary's files, built here and nowhere else. A textbook t is "books\t.mum";
// its lesson l is the title file "units\t_lT.mum" (one line, the lesson's name) beside the lesson
// file "units\t_l.mum" (its pairs). Look-ups ignore letter case, so the spelling only matters for
// files that are created.
namespace FileNames {

inline const QString kBooks = QStringLiteral("books");
inline const QString kUnits = QStringLiteral("units");
inline const QString kMum = QStringLiteral(".mum");

// A file name with its folder, in the system's spelling: "books\3.mum", "units\3_2T.mum".
QString inBooks(const QString& fileName);
QString inUnits(const QString& fileName);

// File names without folder.
QString textbookFile(const QString& t);
// The editor writes title files with "T", the user textbook's pages with "t" (as each always has).
QString titleFile(const QString& t, const QString& l, QChar mark = u'T');
QString lessonFile(const QString& t, const QString& l);

} // namespace FileNames
