// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace {
const QString kNoFolder = u"Volbě --data chybí název složky."_s;
const QString kNoDate = u"Volbě --date chybí datum."_s;

QString refusal(const QString& reason) {
    return reason + u"\nNápověda: memoran --help"_s;
}
} // namespace

namespace {

// --import and --export with their options; Refuse with the reason when they do not fit.
void exchange(const QCommandLineParser& parser, CommandLine& line, const std::array<QCommandLineOption, 6>& options) {
    const auto& [import, exportTo, format, foreign, czech, columns] = options;
    const auto refuse = [&line](const QString& reason) {
        line.action = CommandLine::Action::Refuse;
        line.message = refusal(reason);
    };
    const QStringList rest = parser.positionalArguments();
    if (parser.isSet(import) && parser.isSet(exportTo))
        return refuse(u"Volby --import a --export nejdou použít zároveň."_s);
    line.format = parser.value(format);
    if (!line.format.isEmpty() && !QStringList{u"kvtml"_s, u"csv"_s, u"tsv"_s, u"anki"_s}.contains(line.format))
        return refuse(u"Neznámý formát „%1“: kvtml, csv, tsv nebo anki."_s.arg(line.format));
    bool ok = true;
    for (const auto& [option, id] : {std::pair{&foreign, &line.foreignId}, std::pair{&czech, &line.czechId}}) {
        if (parser.isSet(*option) && (*id = parser.value(*option).toInt(&ok), !ok || *id < 0))
            return refuse(u"Volba --%1 čeká číslo identifikátoru."_s.arg(option->names().first()));
    }
    if (parser.isSet(foreign) != parser.isSet(czech))
        return refuse(u"Volby --foreign a --czech se zadávají spolu."_s);
    if (parser.isSet(columns)) {
        const QStringList numbers = parser.value(columns).split(u',');
        for (const QString& number : numbers) {
            const int column = number.trimmed().toInt(&ok);
            if (!ok || column < 1)
                return refuse(u"Volba --columns čeká čísla sloupců od 1: A,B nebo A,B,LEKCE."_s);
            line.columns << column - 1;
        }
        if (line.columns.size() < 2 || line.columns.size() > 3)
            return refuse(u"Volba --columns čeká čísla sloupců od 1: A,B nebo A,B,LEKCE."_s);
    }
    if (parser.isSet(import)) {
        if (!rest.isEmpty())
            return refuse(u"Nečekaný argument: %1"_s.arg(rest.first()));
        line.action = CommandLine::Action::Import;
        line.file = parser.value(import);
        return;
    }
    line.textbook = parser.value(exportTo).toInt(&ok);
    if (!ok || line.textbook < 1)
        return refuse(u"Volba --export čeká číslo učebnice."_s);
    if (rest.size() != 1)
        return refuse(u"Volbě --export chybí soubor: memoran --export UČEBNICE SOUBOR"_s);
    line.action = CommandLine::Action::Export;
    line.file = rest.first();
}

} // namespace

QString CommandLine::helpText() {
    return u"Použití: memoran [volby]\n"
           "Memoran – zkoušení slovíček.\n"
           "\n"
           "Volby:\n"
           "  --data SLOŽKA  data (books, units, me.cfg) ze složky SLOŽKA; neexistující se založí\n"
           "  --due          vypíše dvojice k opakování (do dneška) a skončí; na každém řádku\n"
           "                 odděleno tabulátorem: den, cizí výraz, český výraz, směr (cz>ciz\n"
           "                 nebo ciz>cz), stabilita, obtížnost, počet opakování, učebnice, lekce\n"
           "  --date RRRR-MM-DD  s volbou --due: dvojice k opakování do tohoto dne\n"
           "  --import SOUBOR  založí z KVTML, CSV, TSV nebo textu kartiček novou učebnici a skončí\n"
           "                 --format kvtml|csv|tsv|anki  formát (jinak podle přípony: .kvtml,\n"
           "                 .csv, .tsv, .txt = text kartiček)\n"
           "                 --foreign ID --czech ID  jazyky souboru KVTML (čísla identifikátorů)\n"
           "                 --columns A,B[,LEKCE]  sloupce CSV/TSV (od 1): cizí, český, lekce\n"
           "  --export UČEBNICE SOUBOR  zapíše učebnici číslo UČEBNICE do souboru a skončí\n"
           "  -h, --help     vypíše tuto nápovědu\n"
           "  -v, --version  vypíše verzi programu\n"
           "\n"
           "Bez volby --data platí proměnná prostředí MEMORAN_DATA, potom složka, ve které se\n"
           "program spouští, pokud obsahuje books, units nebo me.cfg, jinak složka dat uživatele\n"
           "(~/.local/share/Memoran), naplněná při prvním spuštění ukázkovými daty.\n"_s;
}

CommandLine CommandLine::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption data(u"data"_s, QString(), u"SLOŽKA"_s);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    const QCommandLineOption due(u"due"_s);
    const QCommandLineOption date(u"date"_s, QString(), u"RRRR-MM-DD"_s);
    const QCommandLineOption import(u"import"_s, QString(), u"SOUBOR"_s);
    const QCommandLineOption exportTo(u"export"_s, QString(), u"UČEBNICE"_s);
    const QCommandLineOption format(u"format"_s, QString(), u"FORMÁT"_s);
    const QCommandLineOption foreign(u"foreign"_s, QString(), u"ID"_s);
    const QCommandLineOption czech(u"czech"_s, QString(), u"ID"_s);
    const QCommandLineOption columns(u"columns"_s, QString(), u"A,B"_s);
    parser.addOptions({data, help, version, due, date, import, exportTo, format, foreign, czech, columns});

    CommandLine line;
    // parse, not process: process would answer in English and end the program itself.
    if (!parser.parse(arguments)) {
        line.action = Action::Refuse;
        const QStringList unknown = parser.unknownOptionNames();
        // Only the last argument can lack its value.
        const QString last = arguments.value(arguments.size() - 1).section(u'-', -1);
        line.message =
            refusal(!unknown.isEmpty()
                        ? u"Neznámá volba: %1%2"_s.arg(unknown.first().size() > 1 ? u"--"_s : u"-"_s, unknown.first())
                    : last == u"data"_s ? kNoFolder
                    : last == u"date"_s ? kNoDate
                                        : u"Volbě --%1 chybí hodnota."_s.arg(last));
    } else if (parser.isSet(help)) {
        line.action = Action::Help;
        line.message = helpText();
    } else if (parser.isSet(version)) {
        line.action = Action::Version;
        line.message = u"Memoran " MEMORAN_VERSION "\n"_s;
    } else if (parser.isSet(import) || parser.isSet(exportTo)) {
        exchange(parser, line, {import, exportTo, format, foreign, czech, columns});
        if (line.action != Action::Refuse)
            line.dataDir = parser.value(data);
    } else if (parser.isSet(format) || parser.isSet(foreign) || parser.isSet(czech) || parser.isSet(columns)) {
        line.action = Action::Refuse;
        line.message =
            refusal(u"Volby --format, --foreign, --czech a --columns patří k volbě --import nebo --export."_s);
    } else if (!parser.positionalArguments().isEmpty()) {
        line.action = Action::Refuse;
        line.message = refusal(u"Nečekaný argument: %1"_s.arg(parser.positionalArguments().first()));
    } else if (parser.isSet(data) && parser.value(data).isEmpty()) {
        line.action = Action::Refuse;
        line.message = refusal(kNoFolder);
    } else if (parser.isSet(date) && !parser.isSet(due)) {
        line.action = Action::Refuse;
        line.message = refusal(u"Volba --date patří k volbě --due."_s);
    } else if (parser.isSet(date) && !QDate::fromString(parser.value(date), Qt::ISODate).isValid()) {
        line.action = Action::Refuse;
        line.message = refusal(u"Datum „%1“ není platné datum ve tvaru RRRR-MM-DD."_s.arg(parser.value(date)));
    } else {
        line.dataDir = parser.value(data);
        if (parser.isSet(due)) {
            line.action = Action::Due;
            line.dueDate = QDate::fromString(parser.value(date), Qt::ISODate);
        }
    }
    return line;
}
