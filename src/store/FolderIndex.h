// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// One listing of a folder, for looking names up without regard to letter case. Build one per
// operation and ask it as often as needed; never list a folder once per name.
class FolderIndex {
public:
    FolderIndex() = default;
    explicit FolderIndex(const QString& folderPath);

    const QString& path() const { return m_path; }
    bool exists() const { return m_exists; }
    bool isEmpty() const { return m_names.isEmpty(); }

    // The real name of an entry; an exact match wins over one that differs only in case.
    // Empty when no entry matches.
    QString find(const QString& name) const;
    bool contains(const QString& name) const { return !find(name).isEmpty(); }
    // Full path of an entry: its real name when present, otherwise the name as given.
    QString filePath(const QString& name) const;

    // Entries whose name starts with prefix and ends with suffix (a "prefix*suffix" pattern),
    // compared without regard to case, in listing order.
    QStringList matching(const QString& prefix, const QString& suffix) const;
    // The same, files only: regular files and links to them, never folders, pipes, devices or
    // broken links.
    QStringList matchingFiles(const QString& prefix, const QString& suffix) const;

private:
    void buildLookup() const;

    QString m_path;
    bool m_exists = false;
    QStringList m_names;        // in listing order
    std::vector<bool> m_isFile; // item for item: a regular file, or a link to one
    // Built on the first look-up only: a listing that is only matched against a pattern needs none.
    mutable QStringList m_sorted;
    mutable QHash<QString, QString> m_byFolded; // case-folded name -> first real name with it
    mutable bool m_lookupBuilt = false;
};
