// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Cp1250.h"
#include "FolderIndex.h"
#include "IoStatus.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>

// A list of named files, as the pages show them: display names and, item for item, file names.
struct FileListing {
    QStringList names;
    QStringList fileNames;
    // Why something could not be read: the folder itself (missing or unreadable: the only error then),
    // or files that are listed all the same, by their file name.
    QList<IoStatus> errors;
};

// What a file held when a window read it: its size and a hash of its bytes (size -1: no file). A
// window that writes the file back later asks holds() first, so that what another program or another
// copy wrote meanwhile is not lost unasked.
struct Fingerprint {
    qint64 size = -1;
    QByteArray hash;
    bool operator==(const Fingerprint&) const = default;
};

// Lines read from a file, or why they could not be read.
struct FileLines {
    QStringList lines;
    IoStatus status;
    TextEncoding encoding = TextEncoding::Windows1250;
    Fingerprint fingerprint; // taken only by the readers that say so
};

// The directory the program keeps its data in. Paths are given in the system's own spelling
// ("units\1_2T.mum"): "\" separates folder and file, and letter case does not matter.
//
// Reading: regular files only (a link to one is fine), never pipes or devices, at most kMaxFileSize
// bytes. Lines end at CR LF or a lone LF; a lone CR is part of its line.
// No write (rewrite, append, remove, rename, create) goes through a symbolic link whose target lies
// outside the data directory or does not exist: such a file is read, never changed (mayWrite()).
// Writing: lines end with CR LF, and a file keeps its encoding (Windows-1250, UTF-8, UTF-16): a new
// file is Windows-1250, and a file that must take a character Windows-1250 cannot hold is first
// converted whole to UTF-8 with a byte-order mark; the IoStatus then carries a notice for the user.
class DataDir {
public:
    // Far above any lesson (2,000 pairs of long lines are some 500 kB); a file beyond it is refused.
    static constexpr qint64 kMaxFileSize = 8 * 1024 * 1024;

    explicit DataDir(const QString& root);

    const QString& root() const { return m_root; }

    // The real path of a file: every part looked up without regard to case; a missing part keeps
    // the spelling given (so a file created there gets exactly that name).
    QString resolve(const QString& sysPath) const;
    // One listing of a folder (for look-ups of many names in one operation).
    FolderIndex folder(const QString& sysFolder) const;

    // Whether the file can be opened for reading; a folder, a pipe or a device is not a file.
    // Never reports an error and never waits.
    bool fileExists(const QString& sysPath) const;

    // withFingerprint: the result carries the file's fingerprint too.
    FileLines readLines(const QString& sysPath, bool withFingerprint = false) const;
    // The same for a file of a folder listed once (folder()): an operation on several files of one
    // folder would otherwise list it once per file.
    FileLines readLines(const FolderIndex& folder, const QString& fileName, bool withFingerprint = false) const;
    // Whether the file holds exactly what it held when print was taken (both missing counts as the same).
    bool holds(const QString& sysPath, const Fingerprint& print) const;
    // Line 1 of a file; empty when the file has no line. status is set when it cannot be read.
    QString readFirstLine(const QString& sysPath, IoStatus* status = nullptr) const;

    // Textbooks: the files "books\*.mum", by textbook number. A file whose line 1 is empty or blank
    // is listed by its file name.
    FileListing listTextbooks() const;
    // Lessons of textbook t (its number as written in the file name): the files
    // "units\" + t + "_*T.mum", by lesson number; named as the textbooks are.
    FileListing listLessons(const QString& t) const;

    // Replaces the file with these lines (CR LF after each) or leaves the old file whole.
    IoStatus rewrite(const QString& sysPath, const QStringList& lines) const;
    IoStatus rewrite(const FolderIndex& folder, const QString& fileName, const QStringList& lines) const;
    // Appends one whole line, on a line of its own (a last line without its CR LF gets it first); on
    // failure the file is cut back to its old length.
    IoStatus appendLine(const QString& sysPath, const QString& line) const;
    // Whether a line could be appended to the file now: it is opened as appendLine() opens it (created
    // when missing), then closed. For a change that must not happen when the append would fail.
    IoStatus checkAppendable(const FolderIndex& folder, const QString& fileName) const;
    // Removes a file (a link itself, never what it points to); a missing file is no error. A folder,
    // a pipe or a device of that name is refused and left where it is.
    IoStatus remove(const QString& sysPath) const;
    IoStatus remove(const FolderIndex& folder, const QString& fileName) const;

    // Whether a write may touch the file at path (a full path, as resolve() gives it): not when the file
    // is a symbolic link that leads out of the data directory (and out of the file's own folder) or
    // nowhere. A link of another program could otherwise empty or create a file anywhere. Every write
    // of the store asks this first; op and outcome shape the refusal's message.
    IoStatus mayWrite(const QString& path, IoStatus::Operation op,
                      IoStatus::Outcome outcome = IoStatus::Outcome::Unchanged) const;

    // Removes the temporary files that interrupted saves left behind: a name of ours ("me.cfg",
    // "Try.cfg", "Zkouseni.txt" in the data directory, "N.mum" and "delete_textbook.txt" in "books", "N_L.mum",
    // "N_LT.mum" and "1_renumber.txt" in "units") followed by "." and six letters or digits, not changed for
    // minimumAge. Returns how many were removed. Meant for start-up.
    int removeStaleTempFiles(std::chrono::seconds minimumAge = std::chrono::minutes(5)) const;
    // Cuts away the part of a line that an append killed half-way left at a file's end (each append
    // notes the lengths before and after beside its file, as name + kAppendMark, while it writes).
    // Returns how many files were cut. Meant for start-up, before anything else writes.
    int completeInterruptedAppends() const;
    static inline const QString kAppendMark = QStringLiteral(".appending");

private:
    FileListing listNamed(const FolderIndex& folder, const QStringList& fileNames) const;

    QString m_root;
};

// Why a folder cannot be listed (missing, not a folder, no access): ok when it can.
IoStatus folderStatus(const FolderIndex& folder);

// A textbook file name without its last four characters (".mum"): "3.mum" gives "3", the t of its
// lesson files' names.
QString textbookNumberText(const QString& fileName);
// The textbook number of a textbook file name: its numeric value without the last four characters.
// 0 when the value is beyond int's range.
int textbookNumber(const QString& fileName);
// The lesson number of a title file name of textbook t: the characters after t + "_", before "T.mum".
// 0 when the value is beyond int's range.
int lessonNumber(const QString& titleFileName, const QString& t);

// Splits a file's text into lines: CR LF or a lone LF ends a line, a lone CR is part of it; a last
// line without its end is still a line.
QStringList splitLines(const QString& text);
// Line 1 of a file's text, by the same rule.
QString firstLine(const QString& text);
