// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/Exchange.h"

namespace Exchange {

// A language a KVTML file declares (<identifier id="0"><name>…</name><locale>…</locale>).
struct KvtmlIdentifier {
    int id = 0;
    QString name;
    QString locale;
};

// What the user chooses from before the import: the title and the identifiers, with the ones
// preselected as foreign and Czech (the one whose locale or name is Czech is Czech, otherwise 0 and 1).
struct KvtmlHeader {
    QString title;
    QList<KvtmlIdentifier> identifiers;
    int foreign = 0;
    int czech = 1;
    QString problem; // not a KVTML file we can read (Czech); empty on success
};
KvtmlHeader readKvtmlHeader(const QString& path);

// Lessons (containers, nested ones flattened as "Parent / Child", entries by <entry id> or
// <containerentry>) with their pairs, entries in no lesson in "Bez lekce"; synonyms and
// comma-separated alternatives become alternatives. Read leniently: the files of real programs do
// not follow the published DTD. Comments, images, sounds, grades and other translations are counted
// in `omitted`.
ImportedBook readKvtml(const QString& path, int foreignId, int czechId);

// The names and locales the exported identifiers get.
struct KvtmlLanguages {
    QString foreignName = QStringLiteral("Cizí jazyk");
    QString czechName = QStringLiteral("Čeština");
    QString foreignLocale = QStringLiteral("de");
    QString czechLocale = QStringLiteral("cs");
};
// A textbook as one KVTML 2.0 file, UTF-8: lessons as containers, alternatives as the first text
// plus <synonym>s.
QByteArray writeKvtml(const ExportedBook& book, const KvtmlLanguages& languages = {});

} // namespace Exchange
