#include "FolderIndex.h"

#include <QDir>

#include <algorithm>

FolderIndex::FolderIndex(const QString& folderPath) : m_path(folderPath) {
    QDir dir(folderPath);
    m_exists = dir.exists();
    if (!m_exists)
        return;
    m_names = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::NoSort);
    // Sorted so that a case-only clash resolves the same way on every listing.
    std::sort(m_names.begin(), m_names.end());
    m_byFolded.reserve(m_names.size());
    // Inserted last to first, so each folded name keeps its first real spelling.
    for (auto it = m_names.crbegin(); it != m_names.crend(); ++it)
        m_byFolded.insert(it->toCaseFolded(), *it);
}

QString FolderIndex::find(const QString& name) const {
    const auto folded = m_byFolded.constFind(name.toCaseFolded());
    if (folded == m_byFolded.constEnd())
        return {};
    if (*folded == name)
        return name;
    // Rare: several names differ only in case; one of them may be the exact spelling.
    if (std::binary_search(m_names.cbegin(), m_names.cend(), name))
        return name;
    return *folded;
}

QString FolderIndex::filePath(const QString& name) const {
    const QString real = find(name);
    return m_path + u'/' + (real.isEmpty() ? name : real);
}

QStringList FolderIndex::matching(const QString& prefix, const QString& suffix) const {
    QStringList result;
    for (const QString& name : m_names) {
        if (name.size() >= prefix.size() + suffix.size() && name.startsWith(prefix, Qt::CaseInsensitive) &&
            name.endsWith(suffix, Qt::CaseInsensitive))
            result.append(name);
    }
    return result;
}
