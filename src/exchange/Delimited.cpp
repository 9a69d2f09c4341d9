// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/Delimited.h"

#include "store/Cp1250.h"
#include "store/IoStatus.h"
#include "store/TextRoutines.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cerrno>
#include <limits>
#include <utility>

using namespace Qt::StringLiterals;

namespace Exchange {
namespace {

// A spreadsheet of 200,000 rows is some 8 MB; far larger files are not vocabularies.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
// Every field costs some 60 bytes besides its text: these two bound what a hostile table can take
// (a row of 100,000 separators, or millions of one-letter fields) to some 30 MB.
constexpr qsizetype kMaxColumns = 1000;
constexpr qsizetype kMaxFields = 500'000;
// Rows the separator is guessed from.
constexpr qsizetype kSampleRows = 20;
// On a tie the tab wins (it is rarely text), then ";" (what Czech spreadsheets write).
constexpr std::array<char16_t, 3> kSeparators{u'\t', u';', u','};

QString unreadable(const QString& path, const QString& reason) {
    return IoStatus::failure(IoStatus::Operation::Read, path, reason).message();
}

// More than one character in a hundred that no text holds (C0 controls but tab and line ends, or the
// marks of undecodable bytes): a picture, an archive, a program.
bool looksBinary(const QString& text) {
    qsizetype odd = 0;
    for (const QChar c : text) {
        if (c.isNull())
            return true;
        if ((c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == QChar::ReplacementCharacter)
            ++odd;
    }
    return odd * 100 > text.size();
}

// The file's text in the encoding it is found to have, or why it cannot be read (Czech). Read whole
// rather than through the store's line reader: a line list costs some 60 bytes a line, which a file of
// millions of empty lines would multiply.
QString readText(const QString& path, QString* problem) {
    const auto fail = [&](const QString& reason) {
        *problem = unreadable(path, reason);
        return QString();
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(IoStatus::kFolderNotFile);
    // Opening a pipe or a device would wait, or never end.
    if (info.exists() && !info.isFile())
        return fail(u"není to obyčejný soubor (je to například roura nebo zařízení)"_s);
    const QString tooBig = u"soubor je větší než %1 MB, tak velký soubor program nenačte"_s.arg(kMaxFileSize >> 20);
    if (info.size() > kMaxFileSize)
        return fail(tooBig);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = IoStatus::fromError(IoStatus::Operation::Read, path, file.error(), errno).message();
        return {};
    }
    QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        *problem = IoStatus::fromError(IoStatus::Operation::Read, path, file.error(), errno).message();
        return {};
    }
    if (bytes.size() > kMaxFileSize)
        return fail(tooBig);
    bool unsupported = false;
    const TextEncoding encoding = TextCodec::detect(bytes, &unsupported);
    if (unsupported)
        return fail(u"soubor je v kódování UTF-32, které program neumí přečíst"_s);
    QString text = TextCodec::decode(bytes, encoding);
    bytes = {};
    if (looksBinary(text))
        return fail(u"není to textový soubor"_s);
    return text;
}

// One field from text[*i] to the separator or line end after it, *i left there. In quotes it may hold
// the separator, doubled quotes and line breaks (CR LF read as LF); blanks before the opening quote are
// dropped, text after the closing one is kept, and a quote inside an unquoted field is text. Unquoted
// fields are cut whole from the text, so that each holds no more memory than its characters.
QString takeField(QStringView text, QChar separator, qsizetype* i) {
    const qsizetype n = text.size();
    const auto endOfField = [&](qsizetype from) {
        while (from < n && text[from] != separator && text[from] != u'\n' && text[from] != u'\r')
            ++from;
        return from;
    };
    qsizetype at = *i;
    while (at < n && text[at] != separator && text[at].isSpace() && text[at] != u'\n' && text[at] != u'\r')
        ++at;
    if (at == n || text[at] != u'"') {
        const qsizetype start = *i;
        *i = endOfField(start);
        return text.sliced(start, *i - start).toString();
    }
    QString field;
    for (++at;;) {
        const qsizetype quote = text.indexOf(u'"', at);
        field += text.sliced(at, (quote < 0 ? n : quote) - at);
        if (quote < 0 || quote + 1 == n || text[quote + 1] != u'"') {
            at = quote < 0 ? n : quote + 1; // a quote never closed keeps the rest of the file
            break;
        }
        field += u'"';
        at = quote + 2;
    }
    *i = endOfField(at);
    field += text.sliced(at, *i - at);
    return field.contains(u'\r') ? field.replace(u"\r\n"_s, u"\n"_s) : field;
}

enum class Stop { End, TooWide, TooMany };

// Rows of fields (RFC 4180, as takeField() reads them). A row ends at CR LF, LF or a lone CR (old Mac
// spreadsheets); an empty line is a row of one empty field, so that rows keep their numbers. Stops
// after maxRows rows, or at a row or a table too large to keep.
Stop parseRows(QStringView text, QChar separator, qsizetype maxRows, QList<QStringList>* rows) {
    QStringList fields;
    qsizetype count = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && rows->size() < maxRows) {
        fields.append(takeField(text, separator, &i));
        if (++count > kMaxFields)
            return Stop::TooMany;
        if (i < n && text[i] == separator) {
            if (fields.size() >= kMaxColumns)
                return Stop::TooWide;
            ++i;
            continue;
        }
        i += i + 1 < n && text[i] == u'\r' && text[i + 1] == u'\n' ? 2 : 1;
        rows->append(std::exchange(fields, {}));
        // Rows mostly have the width of the row before them: one allocation a row, not one a few fields.
        fields.reserve(rows->last().size());
    }
    if (!fields.isEmpty() && rows->size() < maxRows) { // the text ends with a separator
        fields.append(QString());
        rows->append(fields);
    }
    return Stop::End;
}

bool isBlank(const QStringList& row) {
    return std::all_of(row.cbegin(), row.cend(), [](const QString& field) { return field.trimmed().isEmpty(); });
}

// The separator that splits the first rows most consistently: the one for which most of them have the
// same number of fields, that number being more than one. ";" when none splits them. One that makes a
// row too wide to keep is taken at once: the table is refused, whatever else splits it.
QChar detectSeparator(QStringView text) {
    QChar best = u';';
    qsizetype bestScore = 0;
    for (const char16_t separator : kSeparators) {
        QList<QStringList> rows;
        if (parseRows(text, separator, kSampleRows, &rows) != Stop::End)
            return separator;
        QHash<qsizetype, qsizetype> rowsOfWidth;
        for (const QStringList& row : rows)
            if (!isBlank(row))
                ++rowsOfWidth[row.size()];
        for (const auto& [width, score] : rowsOfWidth.asKeyValueRange()) {
            if (width > 1 && score > bestScore) {
                best = separator;
                bestScore = score;
            }
        }
    }
    return best;
}

// Names that spreadsheets, flash-card programs and our own export give the columns of a vocabulary.
const QStringList kColumnNames{u"lekce"_s,       u"kapitola"_s,    u"cizí výraz"_s, u"český výraz"_s, u"cizí jazyk"_s,
                               u"čeština"_s,     u"česky"_s,       u"cizí"_s,       u"český"_s,       u"slovo"_s,
                               u"slovíčko"_s,    u"výraz"_s,       u"překlad"_s,    u"význam"_s,      u"otázka"_s,
                               u"odpověď"_s,     u"poznámka"_s,    u"němčina"_s,    u"německy"_s,     u"angličtina"_s,
                               u"anglicky"_s,    u"lesson"_s,      u"chapter"_s,    u"unit"_s,        u"word"_s,
                               u"term"_s,        u"translation"_s, u"meaning"_s,    u"definition"_s,  u"question"_s,
                               u"answer"_s,      u"front"_s,       u"back"_s,       u"czech"_s,       u"english"_s,
                               u"german"_s,      u"deck"_s,        u"tags"_s,       u"deutsch"_s,     u"englisch"_s,
                               u"tschechisch"_s, u"wort"_s,        u"lektion"_s,    u"übersetzung"_s};

// The first row names the columns when each of its non-empty fields is such a name.
bool looksLikeHeader(const QStringList& row) {
    bool named = false;
    for (const QString& field : row) {
        const QString name = field.trimmed().toCaseFolded();
        if (name.isEmpty())
            continue;
        if (!kColumnNames.contains(name))
            return false;
        named = true;
    }
    return named;
}

// Header names of a column that names each row's lesson.
const QStringList kLessonColumnNames{u"lekce"_s, u"kapitola"_s, u"lesson"_s, u"chapter"_s,
                                     u"unit"_s,  u"deck"_s,     u"lektion"_s};

// A side's alternatives: the texts between its "+"s, blank ones dropped.
QStringList alternatives(const QString& side) {
    // Most sides hold one text: kept as it is, it shares the field's characters instead of copying them.
    if (!side.contains(u'+'))
        return side.trimmed().isEmpty() ? QStringList() : QStringList{side};
    QStringList result;
    for (const QString& text : side.split(u'+'))
        if (!text.trimmed().isEmpty())
            result.append(text);
    return result;
}

// A field as RFC 4180 writes it: in quotes (each quote doubled) only when it holds the separator, a
// quote or a line break.
QString quoted(const QString& text, QChar separator) {
    const bool plain = std::none_of(text.cbegin(), text.cend(), [separator](QChar c) {
        return c == separator || c == u'"' || c == u'\n' || c == u'\r';
    });
    return plain ? text : u'"' + QString(text).replace(u"\""_s, u"\"\""_s) + u'"';
}

void appendRow(QString& out, const QStringList& fields, QChar separator) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += separator;
        out += quoted(fields[i], separator);
    }
    out += u"\r\n"_s;
}

QByteArray utf8WithMark(const QString& text) {
    return TextCodec::byteOrderMark(TextEncoding::Utf8Bom) + text.toUtf8();
}

} // namespace

DelimitedTable readDelimited(const QString& path, QChar separator) {
    DelimitedTable table;
    const QString text = readText(path, &table.problem);
    if (!table.problem.isEmpty())
        return table;
    table.separator = separator.isNull() ? detectSeparator(text) : separator;
    const QLocale czech(QLocale::Czech);
    switch (parseRows(text, table.separator, std::numeric_limits<qsizetype>::max(), &table.rows)) {
    case Stop::TooWide:
        table.problem = unreadable(path, u"řádek %1 má víc než %2 sloupců, tak širokou tabulku program nenačte"_s.arg(
                                             czech.toString(table.rows.size() + 1), czech.toString(kMaxColumns)));
        break;
    case Stop::TooMany:
        table.problem = unreadable(
            path, u"tabulka má víc než %1 polí, tak velkou tabulku program nenačte"_s.arg(czech.toString(kMaxFields)));
        break;
    case Stop::End:
        table.headerLikely = !table.rows.isEmpty() && looksLikeHeader(table.rows.first());
        return table;
    }
    table.rows.clear();
    return table;
}

ColumnChoice guessColumns(const DelimitedTable& table) {
    ColumnChoice choice;
    choice.header = table.headerLikely;
    if (!table.headerLikely)
        return choice;
    const QStringList& names = table.rows.first();
    QList<int> others;
    for (int i = 0; i < names.size(); ++i) {
        if (choice.lesson < 0 && kLessonColumnNames.contains(names[i].trimmed().toCaseFolded()))
            choice.lesson = i;
        else
            others << i;
    }
    if (choice.lesson < 0 || others.size() < 2)
        return {0, 1, -1, choice.header};
    choice.foreign = others[0];
    choice.czech = others[1];
    return choice;
}

ImportedBook importDelimited(const DelimitedTable& table, const ColumnChoice& columns, const QString& title) {
    ImportedBook book;
    book.title = title;
    LessonsByTitle lessons(book);
    for (qsizetype i = columns.header ? 1 : 0; i < table.rows.size(); ++i) {
        const QStringList& row = table.rows[i];
        if (isBlank(row))
            continue; // an empty line, or a row of empty fields: no pair at all
        lessons[columns.lesson < 0 ? title : row.value(columns.lesson)].pairs.append(
            {alternatives(row.value(columns.foreign)), alternatives(row.value(columns.czech)),
             u"řádek "_s + QString::number(i + 1)});
    }
    return book;
}

QByteArray writeDelimited(const ExportedBook& book, QChar separator) {
    QString out;
    appendRow(out, {u"Lekce"_s, u"Cizí výraz"_s, u"Český výraz"_s}, separator);
    for (const ExportedLesson& lesson : book.lessons)
        for (const QString& line : lesson.pairLines)
            appendRow(out, {lesson.title, pairField(line, 1), pairField(line, 2)}, separator);
    return utf8WithMark(out);
}

QByteArray writeDelimited(const ExportedLesson& lesson, QChar separator) {
    QString out;
    appendRow(out, {u"Cizí výraz"_s, u"Český výraz"_s}, separator);
    for (const QString& line : lesson.pairLines)
        appendRow(out, {pairField(line, 1), pairField(line, 2)}, separator);
    return utf8WithMark(out);
}

} // namespace Exchange
