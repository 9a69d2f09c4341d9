#include "TextRoutines.h"

#include <cmath>

QString VratPole(const QString& text, int n) {
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

QString PlusNaCarky(const QString& text) {
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

QString StranaDvojice(const QString& text, int n) {
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
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (ok)
        return value;
    // "-", "." and "+." alone, or a number that ends in its point ("3.")
    if (number.endsWith('.'))
        number.append('0');
    const double trimmed = number.toDouble(&ok);
    return ok ? trimmed : 0.0;
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
    return foreign + u'*' + czech + u'*';
}

QString editForm(const QString& line) {
    return VratPole(line, 1) + QStringLiteral(" = ") + VratPole(line, 2);
}

QString selectionForm(const QString& line) {
    return PlusNaCarky(VratPole(line, 2)) + QStringLiteral(" = ") + PlusNaCarky(VratPole(line, 1));
}
