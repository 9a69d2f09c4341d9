// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/Kvtml.h"

#include "store/TextRoutines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace Exchange {
namespace {

// What a pair of ours cannot hold, counted for the summary, in the order the summary lists them.
enum Kind { Comments, Images, Sounds, Grades, OtherTranslations, KindCount };
using Counts = std::array<int, KindCount>;
const std::array<QString, KindCount> kKindNames{u"komentáře"_s, u"obrázky"_s, u"zvuky"_s, u"známky"_s,
                                                u"další překlady"_s};

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString xmlProblem(const QXmlStreamReader& xml, const QString& path) {
    // Qt's reason is English; the line is what helps the user find the fault.
    return u"Soubor „%1“ není platný soubor KVTML: chyba v zápisu XML na řádku %2."_s.arg(shown(path))
        .arg(xml.lineNumber());
}

// Opens the file and enters its root element; returns why it cannot be read, empty when it can.
// Entities stay bounded by the reader's expansion limit, so an entity bomb fails at its first use.
QString openKvtml(QFile& file, QXmlStreamReader& xml) {
    const QString path = file.fileName();
    // A pipe or a device could be read for ever.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return u"Soubor „%1“ nelze otevřít."_s.arg(shown(path));
    xml.setDevice(&file);
    if (!xml.readNextStartElement())
        return xmlProblem(xml, path);
    if (xml.name() != "kvtml"_L1)
        return u"Soubor „%1“ není ve formátu KVTML."_s.arg(shown(path));
    const QStringView version = xml.attributes().value("version"_L1);
    if (!version.isEmpty() && !version.trimmed().startsWith(u'2'))
        return u"Soubor „%1“ je ve starém formátu KVTML %2; načíst lze jen verzi 2. Otevřete ho v KWordQuizu "
               u"nebo v Parley a uložte znovu."_s.arg(shown(path), version.toString());
    return {};
}

QString idText(const QXmlStreamReader& xml) {
    return xml.attributes().value("id"_L1).trimmed().toString();
}

int idNumber(const QXmlStreamReader& xml, int fallback) {
    bool ok = false;
    const int id = xml.attributes().value("id"_L1).trimmed().toInt(&ok);
    return ok ? id : fallback;
}

QString readTitle(QXmlStreamReader& xml) {
    QString title;
    while (xml.readNextStartElement()) {
        if (xml.name() == "title"_L1)
            title = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        else
            xml.skipCurrentElement();
    }
    return title;
}

QString titleOr(const QString& title, const QString& path) {
    return title.isEmpty() ? QFileInfo(path).completeBaseName() : title;
}

// A text's comma-separated alternatives with the blanks around each dropped; an empty text has none.
QStringList alternativesOf(const QString& text) {
    QStringList alternatives;
    for (const QString& piece : text.split(u',')) {
        if (const QString alternative = piece.trimmed(); !alternative.isEmpty())
            alternatives << alternative;
    }
    return alternatives;
}

// A synonym holds its text itself or in a <text> child; files of both forms are about.
QString synonymText(QXmlStreamReader& xml) {
    QString own;
    QString inner;
    for (;;) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::Characters) {
            own += xml.text();
        } else if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == "text"_L1)
                inner += xml.readElementText(QXmlStreamReader::SkipChildElements);
            else
                xml.skipCurrentElement();
        } else if (token == QXmlStreamReader::EndElement || token == QXmlStreamReader::Invalid) {
            return inner.isEmpty() ? own : inner;
        }
    }
}

// A <translation>'s alternatives, its text's first, then its synonyms'; what it holds besides is
// counted in counts when not empty.
QStringList readTranslation(QXmlStreamReader& xml, Counts& counts) {
    QStringList text;
    QStringList synonyms;
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        const Kind kind = name == "comment"_L1 ? Comments
                          : name == "image"_L1 ? Images
                          : name == "sound"_L1 ? Sounds
                          : name == "grade"_L1 ? Grades
                                               : KindCount;
        if (name == "text"_L1)
            text += alternativesOf(xml.readElementText(QXmlStreamReader::SkipChildElements));
        else if (name == "synonym"_L1)
            synonyms += alternativesOf(synonymText(xml));
        else if (kind != KindCount)
            counts[kind] += xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().isEmpty() ? 0 : 1;
        else
            xml.skipCurrentElement();
    }
    return text + synonyms;
}

ImportedPair readEntry(QXmlStreamReader& xml, int foreignId, int czechId, Counts& counts) {
    ImportedPair pair;
    while (xml.readNextStartElement()) {
        if (xml.name() != "translation"_L1) {
            xml.skipCurrentElement();
            continue;
        }
        const int id = idNumber(xml, -1);
        Counts own{};
        const QStringList alternatives = readTranslation(xml, own);
        if (id == foreignId || id == czechId) {
            (id == foreignId ? pair.foreign : pair.czech) += alternatives;
            for (int kind = 0; kind < KindCount; ++kind)
                counts[kind] += own[kind];
        } else if (!alternatives.isEmpty()) {
            ++counts[OtherTranslations];
        }
    }
    return pair;
}

ImportedBook refused(const QString& problem) {
    ImportedBook book;
    book.problem = problem;
    return book;
}

QString sourceOf(const QString& entryId) {
    return u"položka "_s + entryId;
}

struct Entries {
    QList<ImportedPair> pairs; // in file order
    // An entry's source ("položka 7") -> its index in pairs: the key shares the source's text, which
    // saves a string an entry on big files.
    QHash<QString, qsizetype> at;
};

void readEntries(QXmlStreamReader& xml, int foreignId, int czechId, Entries& entries, Counts& counts) {
    while (xml.readNextStartElement()) {
        if (xml.name() != "entry"_L1) {
            xml.skipCurrentElement();
            continue;
        }
        // Without an id an entry is known by its place, as the programs that write the files number them.
        QString id = idText(xml);
        if (id.isEmpty())
            id = QString::number(entries.pairs.size());
        ImportedPair pair = readEntry(xml, foreignId, czechId, counts);
        pair.source = sourceOf(id);
        entries.at.insert(pair.source, entries.pairs.size());
        entries.pairs.append(std::move(pair));
    }
}

struct Container {
    QString name;
    QStringList entryIds;
    QList<qsizetype> children;
};

// The containers of <lessons> in file order, each knowing its children. Read without recursion, so
// that a deep nest cannot exhaust the stack; the order of a container's parts is not assumed.
void readLessons(QXmlStreamReader& xml, QList<Container>& containers, QList<qsizetype>& tops) {
    QList<qsizetype> open; // the containers being read, the innermost last
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (open.isEmpty())
                return; // </lessons>
            open.removeLast();
        } else if (token != QXmlStreamReader::StartElement) {
            continue;
        } else if (xml.name() == "container"_L1) {
            (open.isEmpty() ? tops : containers[open.last()].children) << containers.size();
            open << containers.size();
            containers.append(Container{});
        } else if (!open.isEmpty() && xml.name() == "name"_L1) {
            containers[open.last()].name = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (!open.isEmpty() && (xml.name() == "entry"_L1 || xml.name() == "containerentry"_L1)) {
            containers[open.last()].entryIds << idText(xml);
            xml.skipCurrentElement();
        } else {
            xml.skipCurrentElement();
        }
    }
}

// The lessons, each nested container after its parent and titled "Parent / Child"; a container that
// only groups others is no lesson itself. False when the titles would outgrow the limit: a deep nest of
// long names would otherwise take memory that grows with the square of the depth.
bool flatten(const QList<Container>& containers, const QList<qsizetype>& tops, const Entries& entries,
             QList<bool>& used, QList<ImportedLesson>& lessons, qint64 titleLimit) {
    QList<std::pair<qsizetype, QString>> stack; // container, its parent's title
    for (auto top = tops.crbegin(); top != tops.crend(); ++top)
        stack.append({*top, QString()});
    qint64 titleLength = 0;
    while (!stack.isEmpty()) {
        const auto [index, parentTitle] = stack.takeLast();
        const Container& container = containers.at(index);
        const QString name = container.name.isEmpty() ? u"Bez názvu"_s : container.name;
        const QString title = parentTitle.isEmpty() ? name : parentTitle + u" / "_s + name;
        if ((titleLength += title.size()) > titleLimit)
            return false;
        if (!container.entryIds.isEmpty() || container.children.isEmpty()) {
            ImportedLesson lesson{title, {}};
            for (const QString& id : container.entryIds) {
                if (const auto at = entries.at.constFind(sourceOf(id)); at != entries.at.cend()) {
                    lesson.pairs << entries.pairs.at(*at);
                    used[*at] = true;
                }
            }
            lessons << lesson;
        }
        for (auto child = container.children.crbegin(); child != container.children.crend(); ++child)
            stack.append({*child, title});
    }
    return true;
}

bool isCzech(const KvtmlIdentifier& identifier) {
    const QString locale = identifier.locale.trimmed();
    if (locale.compare("cs"_L1, Qt::CaseInsensitive) == 0 || locale.startsWith("cs_"_L1, Qt::CaseInsensitive) ||
        locale.startsWith("cs-"_L1, Qt::CaseInsensitive))
        return true;
    static const QStringList names{u"čeština"_s, u"cestina"_s, u"česky"_s, u"cesky"_s, u"czech"_s};
    return names.contains(identifier.name.trimmed(), Qt::CaseInsensitive);
}

QList<KvtmlIdentifier> readIdentifiers(QXmlStreamReader& xml) {
    QList<KvtmlIdentifier> identifiers;
    while (xml.readNextStartElement()) {
        if (xml.name() != "identifier"_L1) {
            xml.skipCurrentElement();
            continue;
        }
        KvtmlIdentifier identifier{idNumber(xml, int(identifiers.size())), {}, {}};
        while (xml.readNextStartElement()) {
            if (xml.name() == "name"_L1)
                identifier.name = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            else if (xml.name() == "locale"_L1)
                identifier.locale = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            else
                xml.skipCurrentElement();
        }
        identifiers << identifier;
    }
    return identifiers;
}

void preselect(KvtmlHeader& header) {
    const auto& ids = header.identifiers;
    const auto czech = std::find_if(ids.cbegin(), ids.cend(), isCzech);
    if (czech == ids.cend()) {
        header.foreign = ids.at(0).id;
        header.czech = ids.at(1).id;
        return;
    }
    header.czech = czech->id;
    header.foreign = (czech == ids.cbegin() ? ids.at(1) : ids.at(0)).id;
}

void writeSide(QXmlStreamWriter& xml, int id, const QString& side) {
    const QStringList alternatives = side.split(u'+', Qt::SkipEmptyParts);
    xml.writeStartElement(u"translation"_s);
    xml.writeAttribute(u"id"_s, QString::number(id));
    xml.writeTextElement(u"text"_s, alternatives.value(0));
    for (qsizetype i = 1; i < alternatives.size(); ++i) {
        xml.writeStartElement(u"synonym"_s);
        xml.writeTextElement(u"text"_s, alternatives.at(i));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void writeIdentifier(QXmlStreamWriter& xml, int id, const QString& name, const QString& locale) {
    xml.writeStartElement(u"identifier"_s);
    xml.writeAttribute(u"id"_s, QString::number(id));
    xml.writeTextElement(u"name"_s, name);
    xml.writeTextElement(u"locale"_s, locale);
    xml.writeEndElement();
}

} // namespace

KvtmlHeader readKvtmlHeader(const QString& path) {
    KvtmlHeader header;
    QFile file(path);
    QXmlStreamReader xml;
    if (header.problem = openKvtml(file, xml); !header.problem.isEmpty())
        return header;
    bool titleRead = false;
    bool identifiersRead = false;
    // The entries that may follow are of no interest here: stop as soon as both are known.
    while (!(titleRead && identifiersRead) && xml.readNextStartElement()) {
        if (xml.name() == "information"_L1 && !titleRead) {
            header.title = readTitle(xml);
            titleRead = true;
        } else if (xml.name() == "identifiers"_L1 && !identifiersRead) {
            header.identifiers = readIdentifiers(xml);
            identifiersRead = true;
        } else {
            xml.skipCurrentElement();
        }
    }
    header.title = titleOr(header.title, path);
    if (xml.hasError())
        header.problem = xmlProblem(xml, path);
    else if (header.identifiers.size() < 2)
        header.problem = u"V souboru „%1“ nejsou dva jazyky, z nichž by vznikly dvojice slovíček."_s.arg(shown(path));
    else
        preselect(header);
    return header;
}

ImportedBook readKvtml(const QString& path, int foreignId, int czechId) {
    ImportedBook book;
    QFile file(path);
    QXmlStreamReader xml;
    if (book.problem = openKvtml(file, xml); !book.problem.isEmpty())
        return book;
    Entries entries;
    QList<Container> containers;
    QList<qsizetype> tops;
    Counts counts{};
    // Files put these parts in any order: lessons name entries that may come later.
    while (xml.readNextStartElement()) {
        if (xml.name() == "information"_L1)
            book.title = readTitle(xml);
        else if (xml.name() == "entries"_L1)
            readEntries(xml, foreignId, czechId, entries, counts);
        else if (xml.name() == "lessons"_L1)
            readLessons(xml, containers, tops);
        else
            xml.skipCurrentElement(); // <identifiers>, <wordtypes>, <leitnerboxes>, <tenses>…
    }
    if (xml.hasError())
        return refused(xmlProblem(xml, path));
    book.title = titleOr(book.title, path);

    QList<bool> used(entries.pairs.size(), false);
    if (!flatten(containers, tops, entries, used, book.lessons, file.size() + (1 << 20)))
        return refused(u"Soubor „%1“ nelze načíst: lekce jsou do sebe vnořené tak hluboko, že by jejich názvy "
                       u"byly příliš dlouhé."_s.arg(shown(path)));
    // A big file's peak of memory comes here: the index goes first, the unsorted pairs move.
    entries.at = {};
    ImportedLesson unsorted{kNoLesson, {}};
    unsorted.pairs.reserve(std::count(used.cbegin(), used.cend(), false));
    for (qsizetype i = 0; i < entries.pairs.size(); ++i) {
        if (!used.at(i))
            unsorted.pairs << std::move(entries.pairs[i]);
    }
    if (!unsorted.pairs.isEmpty())
        book.lessons << unsorted;
    for (int kind = 0; kind < KindCount; ++kind) {
        if (counts[kind] > 0)
            book.omitted << Omitted{kKindNames[kind], counts[kind]};
    }
    return book;
}

QByteArray writeKvtml(const ExportedBook& book, const KvtmlLanguages& languages) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes); // always UTF-8
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeDTD(u"<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"_s);
    xml.writeStartElement(u"kvtml"_s);
    xml.writeAttribute(u"version"_s, u"2.0"_s);
    xml.writeStartElement(u"information"_s);
    xml.writeTextElement(u"generator"_s, u"Memoran"_s);
    xml.writeTextElement(u"title"_s, book.title);
    xml.writeEndElement();

    xml.writeStartElement(u"identifiers"_s);
    writeIdentifier(xml, 0, languages.foreignName, languages.foreignLocale);
    writeIdentifier(xml, 1, languages.czechName, languages.czechLocale);
    xml.writeEndElement();

    // Entries are numbered through the whole book, lesson after lesson; the containers name them.
    int id = 0;
    xml.writeStartElement(u"entries"_s);
    for (const ExportedLesson& lesson : book.lessons) {
        for (const QString& line : lesson.pairLines) {
            xml.writeStartElement(u"entry"_s);
            xml.writeAttribute(u"id"_s, QString::number(id++));
            writeSide(xml, 0, pairField(line, 1));
            writeSide(xml, 1, pairField(line, 2));
            xml.writeEndElement();
        }
    }
    xml.writeEndElement();

    id = 0;
    xml.writeStartElement(u"lessons"_s);
    for (const ExportedLesson& lesson : book.lessons) {
        xml.writeStartElement(u"container"_s);
        xml.writeTextElement(u"name"_s, lesson.title);
        for (qsizetype i = 0; i < lesson.pairLines.size(); ++i) {
            xml.writeEmptyElement(u"entry"_s);
            xml.writeAttribute(u"id"_s, QString::number(id++));
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

} // namespace Exchange
