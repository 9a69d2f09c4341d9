// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

bool holdsLessons(const QString& dir) {
    for (const QString& folder : {u"books"_s, u"units"_s})
        if (!QDir(dir + u'/' + folder).entryList({u"*.mum"_s}, QDir::Files).isEmpty())
            return true;
    return false;
}

// Folder by folder, file by file: the demo's Windows-1250 files are copied byte for byte.
bool copyTree(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QFileInfo& entry : source.entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + entry.fileName();
        const bool copied = entry.isDir() ? copyTree(entry.filePath(), target)
                                          : QFile::exists(target) || QFile::copy(entry.filePath(), target);
        if (!copied)
            return false;
    }
    return true;
}

bool makeDataFolders(const QString& dir) {
    return QDir().mkpath(dir + u"/books"_s) && QDir().mkpath(dir + u"/units"_s);
}

DataHome::Choice refuse(const QString& problem) {
    return {QString(), problem};
}

// A directory the user named: made if missing, refused if it cannot hold the data.
DataHome::Choice named(const QString& given) {
    const QString dir = QDir(given).absolutePath();
    const QFileInfo info(dir);
    const QString shown = QDir::toNativeSeparators(dir);
    if (info.exists() && !info.isDir())
        return refuse(u"„%1“ není složka, data do ní uložit nelze."_s.arg(shown));
    if (info.exists() && !info.isWritable())
        return refuse(u"Do složky „%1“ nelze zapisovat: data by se nedala uložit."_s.arg(shown));
    // Made if missing; an empty folder given on purpose gets its two folders too.
    if (!makeDataFolders(dir))
        return refuse(u"Složku „%1“ se nepodařilo založit."_s.arg(shown));
    return {dir, QString()};
}

} // namespace

bool DataHome::holdsData(const QString& dir) {
    return QFileInfo(dir + u"/books"_s).isDir() || QFileInfo(dir + u"/units"_s).isDir() ||
           QFileInfo::exists(dir + u"/me.cfg"_s);
}

QString DataHome::installedDemo(const QString& programDir) {
    const QString demo = QDir::cleanPath(programDir + u"/../share/memoran/demo"_s);
    return QFileInfo(demo).isDir() ? demo : QString();
}

DataHome::Choice DataHome::choose(const Places& places) {
    if (!places.option.isEmpty())
        return named(places.option);
    if (!places.environment.isEmpty())
        return named(places.environment);

    // A home folder may hold a books folder of e-books: there only our own files count.
    const bool isHome = QFileInfo(places.startDir).canonicalFilePath() == QFileInfo(places.homeDir).canonicalFilePath();
    if (isHome ? QFileInfo::exists(places.startDir + u"/me.cfg"_s) || holdsLessons(places.startDir)
               : holdsData(places.startDir))
        return {places.startDir, QString()};

    const QString dir = places.userDataDir;
    if (holdsData(dir))
        return {dir, QString()};
    // A first start fills a folder beside it and renames it into place, so that a copy cut short
    // never passes for the user's data at the next start.
    const auto fill = [&](const QString& into) {
        return (places.demoDir.isEmpty() || copyTree(places.demoDir, into)) && makeDataFolders(into);
    };
    QDir().rmdir(dir); // an empty folder is as good as none
    bool placed = false;
    if (QFileInfo::exists(dir)) {
        placed = fill(dir); // other files of ours are there already: fill it where it is
    } else {
        // Named by the process: two first starts at once each fill their own, and the second rename
        // finds the first one's folder in place.
        const QString part = dir + u".part-%1"_s.arg(QCoreApplication::applicationPid());
        placed = fill(part) && (QDir().rename(part, dir) || (QDir(part).removeRecursively(), holdsData(dir)));
    }
    if (!placed)
        return refuse(u"Složku dat „%1“ se nepodařilo založit."_s.arg(QDir::toNativeSeparators(dir)));
    return {dir, QString()};
}
