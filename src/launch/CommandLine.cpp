// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;

namespace {
const QString kNoFolder = u"Volbě --data chybí název složky."_s;
const QString kNoDate = u"Volbě --date chybí datum."_s;

QString refusal(const QString& reason) {
    return reason + u"\nNápověda: memoran --help"_s;
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
    parser.addOptions({data, help, version, due, date});

    CommandLine line;
    // parse, not process: process would answer in English and end the program itself.
    if (!parser.parse(arguments)) {
        line.action = Action::Refuse;
        const QStringList unknown = parser.unknownOptionNames();
        // Only the last argument can lack its value.
        const bool dateLast = arguments.size() > 1 && arguments.last().endsWith(u"date"_s);
        line.message =
            refusal(!unknown.isEmpty()
                        ? u"Neznámá volba: %1%2"_s.arg(unknown.first().size() > 1 ? u"--"_s : u"-"_s, unknown.first())
                    : dateLast ? kNoDate
                               : kNoFolder);
    } else if (parser.isSet(help)) {
        line.action = Action::Help;
        line.message = helpText();
    } else if (parser.isSet(version)) {
        line.action = Action::Version;
        line.message = u"Memoran " MEMORAN_VERSION "\n"_s;
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
