// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/AppSettings.h"

#include "store/TextRoutines.h"

namespace {
const QString kFile = QStringLiteral("me.cfg");

bool isOn(const QStringList& lines, int index) {
    return index < lines.size() && numericValue(lines.at(index)) == 1.0;
}
} // namespace

AppSettings AppSettings::read(const DataDir& dir) {
    const FileLines file = dir.readLines(kFile);
    return {isOn(file.lines, 0), isOn(file.lines, 1)};
}

IoStatus AppSettings::write(const DataDir& dir) const {
    return dir.rewrite(kFile, {signedNumber(background ? 1 : 0), signedNumber(quickClick ? 1 : 0)});
}
