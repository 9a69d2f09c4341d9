// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextRoutines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

QString pairField(const QString& text, int n) {
    QString field;
    qsizetype p = 0;
    for (int pass = 0; pass < n; ++pass) {
        field.clear();
        while (p < text.size()) {
            const QChar c = text.at(p++);
            if (c == u'*')
                break;
            field.append(c);
        }
    }
    return field;
}

QString plusesToCommas(const QString& text) {
    QString result;
    result.reserve(text.size() + 8);
    bool pending = false;
    for (QChar c : text) {
        if (c == u'+') {
            pending = true;
            continue;
        }
        if (pending)
            result.append(QStringLiteral(", "));
        pending = false;
        result.append(c);
    }
    return result;
}

QString editFormSide(const QString& text, int n) {
    QString side;
    QChar last;
    qsizetype p = 0;
    for (int pass = 0; pass < n; ++pass) {
        side.clear();
        while (p < text.size()) {
            last = text.at(p++);
            if (last == u'=')
                break;
            side.append(last);
        }
    }
    if (side.isEmpty())
        return side;
    // The blanks around " = " belong to the form, not to the sides.
    return last == u'=' ? side.chopped(1) : side.mid(1);
}

double numericValue(const QString& text) {
    // Blanks may stand anywhere in the number, as in a hand-edited file (" 1 2" is 12).
    auto isBlank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    QByteArray number;
    bool point = false;
    for (QChar c : text) {
        if (isBlank(c))
            continue;
        if (number.isEmpty() && (c == u'-' || c == u'+')) {
            number.append(static_cast<char>(c.unicode()));
        } else if (c == u'.' && !point) {
            point = true;
            number.append('.');
        } else if (c >= u'0' && c <= u'9') {
            number.append(static_cast<char>(c.unicode()));
        } else {
            break;
        }
    }
    // "-", "." and "+." alone, or a number that ends in its point ("3.")
    if (number.endsWith('.'))
        number.append('0');
    const char* first = number.constData();
    const char* last = first + number.size();
    if (first != last && *first == '+')
        ++first; // from_chars takes no plus sign
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        // Too small to tell from 0, or too large for a double: the latter has a non-zero digit before
        // its point.
        const qsizetype dot = number.indexOf('.');
        const QByteArray whole = dot < 0 ? number : number.left(dot);
        const bool large = std::any_of(whole.cbegin(), whole.cend(), [](char c) { return c >= '1' && c <= '9'; });
        if (!large)
            return 0.0;
        const double max = std::numeric_limits<double>::max();
        return number.startsWith('-') ? -max : max;
    }
    if (error != std::errc() || end != last)
        return 0.0;
    return value;
}

int saturatedInt(double value) {
    if (std::isnan(value))
        return 0;
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    if (value >= static_cast<double>(kMax))
        return kMax;
    if (value <= static_cast<double>(kMin))
        return kMin;
    return static_cast<int>(value); // in range: truncation toward zero is defined
}

QString plainNumber(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 15);
}

QString signedNumber(double value) {
    const QString digits = plainNumber(value);
    return value < 0 ? digits : u' ' + digits;
}

QString pairLine(const QString& foreign, const QString& czech) {
    QString line;
    line.reserve(foreign.size() + czech.size() + 2);
    line.append(foreign).append(u'*').append(czech).append(u'*');
    return line;
}

QString editForm(const QString& line) {
    return pairField(line, 1) + QStringLiteral(" = ") + pairField(line, 2);
}

QString selectionForm(const QString& line) {
    return plusesToCommas(pairField(line, 2)) + QStringLiteral(" = ") + plusesToCommas(pairField(line, 1));
}

namespace {

bool breaksLine(QChar c) {
    switch (c.unicode()) {
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case 0x85:   // next line
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default:
        return false;
    }
}

} // namespace

QString fileText(const QString& text, int* position) {
    // Most texts have nothing to drop: they are kept whole, without a copy (an import cleans every side).
    const bool clean = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == 0x2028 || u == 0x2029;
    });
    if (clean) {
        if (position && (*position < 0 || *position > text.size()))
            *position = int(text.size());
        return text;
    }
    QString kept;
    kept.reserve(text.size());
    bool inRun = false;      // a run of breaks since the last character kept
    bool caretInRun = false; // the caret stands after the start of that run
    int caret = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (position && i == *position) {
            caret = int(kept.size());
            caretInRun = inRun;
        }
        const QChar c = text.at(i);
        if (breaksLine(c)) {
            inRun = true;
            continue;
        }
        if (c.category() == QChar::Other_Control)
            continue;
        if (inRun && !kept.isEmpty()) {
            kept.append(u' ');
            if (caretInRun)
                ++caret;
        }
        inRun = caretInRun = false;
        kept.append(c);
    }
    if (position)
        *position = caret < 0 ? int(kept.size()) : caret;
    return kept;
}
