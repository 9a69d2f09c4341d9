// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/FlashCards.h"

#include "exchange/Delimited.h"
#include "store/TextRoutines.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Exchange {
namespace {

// What the "#" lines at the top of the file say. Columns 0-based, -1 for none.
struct Header {
    QChar separator = u'\t';
    bool html = false;
    int deck = -1;
    int tags = -1;
    int notetype = -1;
    int guid = -1; // the other programs' note ids
    qsizetype lines = 0;

    bool isMeta(int column) const { return column == deck || column == tags || column == notetype || column == guid; }
};

// "tab", "comma"… by name, or the character itself.
QChar separatorNamed(const QString& value) {
    static const QHash<QString, QChar> named{{u"tab"_s, u'\t'},  {u"comma"_s, u','}, {u"semicolon"_s, u';'},
                                             {u"space"_s, u' '}, {u"pipe"_s, u'|'},  {u"colon"_s, u':'}};
    const QChar byName = named.value(value.trimmed().toLower());
    return !byName.isNull() || value.size() != 1 ? byName : value.front();
}

// The "#key:value" lines at the top, from the rows as read with a tab between fields (the default).
// Lines of other keys, or of none, are skipped as the other programs skip them. A header line is one
// field, but for #columns, whose names the separator splits; a row of several fields that starts with
// "#" is a pair whose first side does.
Header readHeader(const QList<QStringList>& rows) {
    Header header;
    for (const QStringList& row : rows) {
        if (!row.first().startsWith(u'#'))
            break;
        const QString key = row.first().section(u':', 0, 0).mid(1).trimmed().toLower();
        if (row.size() > 1 && key != u"columns")
            break;
        const QString line = row.join(u'\t');
        ++header.lines;
        const QString value = line.section(u':', 1);
        bool number = false;
        const int column = value.trimmed().toInt(&number) - 1;
        if (key == u"separator" && !separatorNamed(value).isNull())
            header.separator = separatorNamed(value);
        else if (key == u"html")
            header.html = value.trimmed().toLower() == u"true";
        else if (number && column >= 0 && key == u"deck column")
            header.deck = column;
        else if (number && column >= 0 && key == u"tags column")
            header.tags = column;
        else if (number && column >= 0 && key == u"notetype column")
            header.notetype = column;
        else if (number && column >= 0 && key == u"guid column")
            header.guid = column;
    }
    return header;
}

// What the sides lost, for the summary.
struct Left {
    int sounds = 0;
    int images = 0;
    int tags = 0;
    int fields = 0;
};

// The text without its "[sound:…]" references; *removed counts them.
QString withoutSounds(const QString& text, int* removed) {
    static const QString kSound = u"[sound:"_s;
    QString result;
    result.reserve(text.size()); // never longer: no slack for a hostile field to double
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(kSound); at >= 0; at = text.indexOf(kSound, from)) {
        const qsizetype end = text.indexOf(u']', at);
        if (end < 0)
            break;
        result += QStringView(text).sliced(from, at - from);
        from = end + 1;
        ++*removed;
    }
    return result += QStringView(text).sliced(from);
}

// The character of an entity's name ("amp", "#269", "#x17E"); a null string for one we do not know.
// &nbsp; becomes a plain blank: a learner types one.
QString entity(QStringView name) {
    static const QHash<QString, QString> named{{u"amp"_s, u"&"_s},   {u"lt"_s, u"<"_s},   {u"gt"_s, u">"_s},
                                               {u"quot"_s, u"\""_s}, {u"apos"_s, u"'"_s}, {u"nbsp"_s, u" "_s}};
    if (!name.startsWith(u'#'))
        return named.value(name.toString());
    const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
    bool ok = false;
    const uint code = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
    if (!ok || code == 0 || code > 0x10FFFF || QChar::isSurrogate(code))
        return {};
    const char32_t character = code;
    return QString::fromUcs4(&character, 1);
}

// The text of an HTML field: <br> and <div> start a new line, other tags go (images counted), entities
// are decoded. A "<" that opens no tag is text.
QString htmlToText(QStringView html, int* images) {
    QString text;
    text.reserve(html.size()); // never longer
    qsizetype close = 0;       // the next ">" after a "<", -1 once there is none
    for (qsizetype i = 0; i < html.size(); ++i) {
        const QChar c = html[i];
        if (c == u'<' && close >= 0 && close <= i)
            close = html.indexOf(u'>', i + 1);
        const bool tag =
            c == u'<' && close > i + 1 && (html[i + 1].isLetter() || html[i + 1] == u'/' || html[i + 1] == u'!');
        if (tag) {
            qsizetype end = i + 1;
            while (end < close && html[end].isLetterOrNumber())
                ++end;
            const QString name = html.sliced(i + 1, end - i - 1).toString().toLower();
            if (name == u"br" || name == u"div")
                text += u'\n';
            else if (name == u"img")
                ++*images;
            i = close;
            continue;
        }
        const qsizetype semicolon =
            c == u'&' ? html.sliced(i, std::min<qsizetype>(12, html.size() - i)).indexOf(u';') : -1;
        const QString decoded = semicolon > 1 ? entity(html.sliced(i + 1, semicolon - 1)) : QString();
        if (!decoded.isNull()) {
            text += decoded;
            i += semicolon;
            continue;
        }
        text += c;
    }
    return text;
}

QStringList sideOf(const QString& field, const Header& header, bool splitCommas, Left* left) {
    QString text = withoutSounds(field, &left->sounds);
    if (header.html)
        text = htmlToText(text, &left->images);
    QStringList alternatives;
    for (const QString& piece : splitCommas ? text.split(u", "_s) : QStringList{text})
        if (!piece.trimmed().isEmpty())
            alternatives.append(piece);
    return alternatives;
}

void addOmitted(ImportedBook& book, const QString& what, int count) {
    if (count > 0)
        book.omitted.append({what, count});
}

// A side as the flash-card programs know it: alternatives as "a, b"; a tab or a line break would end
// the field or the note, so it becomes a blank.
QString flashText(const QString& text) {
    QString result = text;
    for (QChar& c : result)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return result;
}

// In quotes (doubled) when it holds a quote, or when it starts a line with "#", which the other programs
// would take for a comment.
QString flashField(const QString& text, bool first) {
    if (!text.contains(u'"') && !(first && text.startsWith(u'#')))
        return text;
    return u'"' + QString(text).replace(u"\""_s, u"\"\""_s) + u'"';
}

} // namespace

ImportedBook readFlashCards(const QString& path, bool splitCommas, const QString& title) {
    ImportedBook book;
    book.title = title;
    DelimitedTable table = readDelimited(path, u'\t');
    const Header header = table.problem.isEmpty() ? readHeader(table.rows) : Header();
    if (header.separator != u'\t') {
        table.rows.clear();                            // not held twice while the file is read again
        table = readDelimited(path, header.separator); // a header line is one row with any separator
    }
    if (!table.problem.isEmpty()) {
        book.problem = table.problem;
        return book;
    }
    int foreign = 0;
    while (header.isMeta(foreign))
        ++foreign;
    int czech = foreign + 1;
    while (header.isMeta(czech))
        ++czech;

    Left left;
    LessonsByTitle lessons(book);
    for (qsizetype i = header.lines; i < table.rows.size(); ++i) {
        const QStringList& row = table.rows[i];
        if (std::all_of(row.cbegin(), row.cend(), [](const QString& field) { return field.trimmed().isEmpty(); }))
            continue;
        lessons[header.deck < 0 ? title : row.value(header.deck).section(u"::"_s, -1)].pairs.append(
            {sideOf(row.value(foreign), header, splitCommas, &left),
             sideOf(row.value(czech), header, splitCommas, &left), u"řádek %1"_s.arg(i + 1)});
        left.tags += header.tags >= 0 && !row.value(header.tags).trimmed().isEmpty() ? 1 : 0;
        for (int column = 0; column < row.size(); ++column)
            if (column != foreign && column != czech && !header.isMeta(column) && !row[column].trimmed().isEmpty())
                ++left.fields;
    }
    addOmitted(book, u"zvuky"_s, left.sounds);
    addOmitted(book, u"obrázky"_s, left.images);
    addOmitted(book, u"štítky"_s, left.tags);
    addOmitted(book, u"další pole"_s, left.fields);
    return book;
}

QByteArray writeFlashCards(const ExportedBook& book) {
    QString out = u"#separator:tab\r\n#html:false\r\n#deck column:3\r\n"_s;
    for (const ExportedLesson& lesson : book.lessons) {
        const QString deck = flashField(flashText(book.title + u"::"_s + lesson.title), false);
        for (const QString& line : lesson.pairLines) {
            out += flashField(flashText(plusesToCommas(pairField(line, 1))), true) + u'\t' +
                   flashField(flashText(plusesToCommas(pairField(line, 2))), false) + u'\t' + deck + u"\r\n"_s;
        }
    }
    return out.toUtf8();
}

} // namespace Exchange
