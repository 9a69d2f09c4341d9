// SPDX-License-Identifier: GPL-3.0-or-later
// The text routines against plain versions of what they are meant to do.

#include "Fuzz.h"

#include "store/TextRoutines.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

QString refField(const QString& text, int n) {
    return n < 1 ? QString() : text.split(u'*').value(n - 1);
}

QString refCommas(QString text) {
    static const QRegularExpression trailing(QStringLiteral("\\++\\z"));
    static const QRegularExpression run(QStringLiteral("\\++"));
    return text.remove(trailing).replace(run, QStringLiteral(", "));
}

// Side n of "foreign = Czech": the text between the "="s, without the blank that " = " puts beside it.
QString refSide(const QString& text, int n) {
    const QStringList parts = text.split(u'=');
    if (n < 1 || n > parts.size() || parts.at(n - 1).isEmpty())
        return {};
    return n < parts.size() ? parts.at(n - 1).chopped(1) : parts.at(n - 1).mid(1);
}

double refNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]*(\\.[0-9]*)?"));
    static const QRegularExpression blanks(QStringLiteral("[ \\t\\r\\n]"));
    const QString prefix = number.match(QString(text).remove(blanks)).captured();
    if (!prefix.contains(QRegularExpression(QStringLiteral("[0-9]"))))
        return 0;
    const double value = std::strtod(prefix.toLatin1().constData(), nullptr); // correctly rounded
    if (std::isinf(value))
        return std::copysign(std::numeric_limits<double>::max(), value);
    return value;
}

void checkNumber(const QString& text) {
    const double value = numericValue(text), expected = refNumber(text);
    // A value too small for a normal double may come out as 0.
    const bool tiny = std::fpclassify(expected) == FP_SUBNORMAL && value == 0;
    FUZZ_CHECK(value == expected || tiny, "numericValue(" + shown(text) + ") = " + QString::number(value, 'g', 17) +
                                              ", expected " + QString::number(expected, 'g', 17));
}

void checkSaturated(double value) {
    const double clamped =
        std::clamp(std::trunc(value), double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max()));
    const int expected = std::isnan(value) ? 0 : static_cast<int>(clamped);
    FUZZ_CHECK(saturatedInt(value) == expected, QString::number(value, 'g', 17));
    // What the program writes of a whole number it reads back as that number.
    if (std::isfinite(value) && std::fabs(value) < 1e15) {
        const double whole = std::trunc(value);
        FUZZ_CHECK(numericValue(signedNumber(whole)) == whole, signedNumber(whole));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const int n = data[0] % 5; // fields and sides 0 to 4: beyond both ends too
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
    const QString text = QString::fromUtf8(bytes);

    FUZZ_CHECK(pairField(text, n) == refField(text, n), shown(text) + QString::number(n));
    FUZZ_CHECK(plusesToCommas(text) == refCommas(text), shown(text));
    FUZZ_CHECK(editFormSide(text, n) == refSide(text, n), shown(text) + QString::number(n));
    checkNumber(text);
    if (bytes.size() >= qsizetype(sizeof(double))) {
        double value = 0;
        std::memcpy(&value, bytes.constData(), sizeof value);
        checkSaturated(value);
    }

    FUZZ_CHECK(editForm(text) == refField(text, 1) + QStringLiteral(" = ") + refField(text, 2), shown(text));
    FUZZ_CHECK(selectionForm(text) ==
                   refCommas(refField(text, 2)) + QStringLiteral(" = ") + refCommas(refField(text, 1)),
               shown(text));
    // A pair typed in the editor survives its line and its edit form, as long as its sides hold
    // neither separator.
    const qsizetype half = text.size() / 2;
    QString foreign = text.left(half), czech = text.mid(half);
    for (QString* side : {&foreign, &czech})
        side->remove(u'*').remove(u'=');
    const QString line = pairLine(foreign, czech);
    FUZZ_CHECK(pairField(line, 1) == foreign && pairField(line, 2) == czech, shown(line));
    const QString edit = editForm(line);
    FUZZ_CHECK(editFormSide(edit, 1) == foreign && editFormSide(edit, 2) == czech, shown(edit));
    return 0;
}
