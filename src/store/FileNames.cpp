// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileNames.h"

namespace FileNames {

QString inBooks(const QString& fileName) {
    return kBooks + u'\\' + fileName;
}

QString inUnits(const QString& fileName) {
    return kUnits + u'\\' + fileName;
}

QString textbookFile(const QString& t) {
    return t + kMum;
}

QString titleFile(const QString& t, const QString& l, QChar mark) {
    return t + u'_' + l + mark + kMum;
}

QString lessonFile(const QString& t, const QString& l) {
    return t + u'_' + l + kMum;
}

} // namespace FileNames
