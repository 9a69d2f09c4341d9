// SPDX-License-Identifier: GPL-3.0-or-later
// kvtml-check read FILE   prints what KDE's own KVTML library reads: the title, then each lesson (a
//                         container with entries, or without child containers; nested names joined
//                         by " / ") with its number of entries, tab-separated
// kvtml-check write FILE  writes a textbook as KWordQuiz and Parley would: Czech letters, nested
//                         lessons, comma-separated alternatives and an empty lesson
#include <KEduVocDocument>
#include <KEduVocExpression>
#include <KEduVocIdentifier>
#include <KEduVocLesson>

#include <QCoreApplication>
#include <QTextStream>
#include <QUrl>

namespace {

void printLessons(QTextStream& out, KEduVocContainer* container, const QString& prefix) {
    for (KEduVocContainer* child : container->childContainers()) {
        const QString name = prefix.isEmpty() ? child->name() : prefix + QStringLiteral(" / ") + child->name();
        if (child->entryCount() > 0 || child->childContainerCount() == 0)
            out << "lesson\t" << name << '\t' << child->entryCount() << '\n';
        printLessons(out, child, name);
    }
}

KEduVocExpression* entry(KEduVocLesson* lesson, const QString& foreign, const QString& czech) {
    auto* expression = new KEduVocExpression(QStringList{foreign, czech});
    lesson->appendEntry(expression);
    return expression;
}

int write(const QString& path) {
    KEduVocDocument doc;
    doc.setTitle(QStringLiteral("Němčina z Parley"));
    KEduVocIdentifier german, czech;
    german.setName(QStringLiteral("Němčina"));
    german.setLocale(QStringLiteral("de"));
    czech.setName(QStringLiteral("Čeština"));
    czech.setLocale(QStringLiteral("cs"));
    doc.appendIdentifier(german);
    doc.appendIdentifier(czech);
    auto* family = new KEduVocLesson(QStringLiteral("Rodina"), doc.lesson());
    doc.lesson()->appendChildContainer(family);
    entry(family, QStringLiteral("der Vater"), QStringLiteral("otec, táta"));
    entry(family, QStringLiteral("die Mutter"), QStringLiteral("matka"));
    entry(family, QStringLiteral("der Bruder"), QStringLiteral("bratr"));
    auto* travel = new KEduVocLesson(QStringLiteral("Cestování"), doc.lesson());
    doc.lesson()->appendChildContainer(travel);
    auto* airport = new KEduVocLesson(QStringLiteral("Na letišti"), travel);
    travel->appendChildContainer(airport);
    entry(airport, QStringLiteral("der Flughafen"), QStringLiteral("letiště"));
    entry(airport, QStringLiteral("das Flugzeug"), QStringLiteral("letadlo"));
    auto* empty = new KEduVocLesson(QStringLiteral("Prázdná"), doc.lesson());
    doc.lesson()->appendChildContainer(empty);
    return doc.saveAs(QUrl::fromLocalFile(path), KEduVocDocument::Kvtml, KEduVocDocument::FileIgnoreLock) ==
                   KEduVocDocument::NoError
               ? 0
               : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3 || (arguments[1] != QLatin1String("read") && arguments[1] != QLatin1String("write"))) {
        QTextStream(stderr) << "usage: kvtml-check read|write FILE\n";
        return 2;
    }
    if (arguments[1] == QLatin1String("write"))
        return write(arguments[2]);
    KEduVocDocument doc;
    const int error = doc.open(QUrl::fromLocalFile(arguments[2]), KEduVocDocument::FileIgnoreLock);
    if (error != KEduVocDocument::NoError) {
        QTextStream(stderr) << "cannot read " << arguments[2] << ": " << doc.errorDescription(error) << '\n';
        return 1;
    }
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    out << "title\t" << doc.title() << '\n';
    printLessons(out, doc.lesson(), QString());
    return 0;
}
