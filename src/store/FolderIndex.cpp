// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderIndex.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

FolderIndex::FolderIndex(const QString& folderPath) : m_path(folderPath) {
    m_exists = QFileInfo(folderPath).isDir();
    if (!m_exists)
        return;
    // An iterator does not gather file information the way a QDir listing does; the kind of an entry
    // comes with the listing on most file systems (a link is followed).
    QDirIterator it(folderPath, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        m_names.append(it.fileName());
        m_isFile.push_back(it.fileInfo().isFile());
    }
}

void FolderIndex::buildLookup() const {
    if (m_lookupBuilt)
        return;
    m_lookupBuilt = true;
    // Sorted so that a case-only clash resolves the same way on every listing.
    m_sorted = m_names;
    std::sort(m_sorted.begin(), m_sorted.end());
    m_byFolded.reserve(m_sorted.size());
    // Inserted last to first, so each folded name keeps its first real spelling.
    for (auto it = m_sorted.crbegin(); it != m_sorted.crend(); ++it)
        m_byFolded.insert(it->toCaseFolded(), *it);
}

QString FolderIndex::find(const QString& name) const {
    buildLookup();
    const auto folded = m_byFolded.constFind(name.toCaseFolded());
    if (folded == m_byFolded.constEnd())
        return {};
    if (*folded == name)
        return name;
    // Rare: several names differ only in case; one of them may be the exact spelling.
    if (std::binary_search(m_sorted.cbegin(), m_sorted.cend(), name))
        return name;
    return *folded;
}

QString FolderIndex::filePath(const QString& name) const {
    const QString real = find(name);
    return m_path + u'/' + (real.isEmpty() ? name : real);
}

namespace {

bool matches(const QString& name, const QString& prefix, const QString& suffix) {
    return name.size() >= prefix.size() + suffix.size() && name.startsWith(prefix, Qt::CaseInsensitive) &&
           name.endsWith(suffix, Qt::CaseInsensitive);
}

} // namespace

QStringList FolderIndex::matching(const QString& prefix, const QString& suffix) const {
    QStringList result;
    for (const QString& name : m_names) {
        if (matches(name, prefix, suffix))
            result.append(name);
    }
    return result;
}

QStringList FolderIndex::matchingFiles(const QString& prefix, const QString& suffix) const {
    QStringList result;
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        if (m_isFile[i] && matches(m_names.at(i), prefix, suffix))
            result.append(m_names.at(i));
    }
    return result;
}
