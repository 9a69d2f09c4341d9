#pragma once

#include "FolderIndex.h"
#include "IoStatus.h"

#include <QList>
#include <QString>
#include <QStringList>

// A list of named files, as the pages show them: display names and, item for item, file names.
struct FileListing {
    QStringList names;
    QStringList fileNames;
    QList<IoStatus> errors; // files that were listed but could not be read (listed with an empty name)
};

// Lines read from a file, or why they could not be read.
struct FileLines {
    QStringList lines;
    IoStatus status;
};

// The directory the program keeps its data in. Paths are given in the system's own spelling
// ("units\1_2T.mum"): "\" separates folder and file, and letter case does not matter.
class DataDir {
public:
    explicit DataDir(const QString& root);

    const QString& root() const { return m_root; }

    // The real path of a file: every part looked up without regard to case; a missing part keeps
    // the spelling given (so a file created there gets exactly that name).
    QString resolve(const QString& sysPath) const;
    // One listing of a folder (for look-ups of many names in one operation).
    FolderIndex folder(const QString& sysFolder) const;

    // Whether the file can be opened for reading; a folder is not a file. Never reports an error.
    bool SouborExistuje(const QString& sysPath) const;

    FileLines readLines(const QString& sysPath) const;
    // Line 1 of a file; empty when the file has no line. status is set when it cannot be read.
    QString readFirstLine(const QString& sysPath, IoStatus* status = nullptr) const;

    // Textbooks: "books\*.mum", by textbook number.
    FileListing listTextbooks() const;
    // Lessons of textbook t (its number as written in the file name): "units\" + t + "_*T.mum",
    // by lesson number.
    FileListing listLessons(const QString& t) const;

    // Replaces the file with these lines (CR LF after each) or leaves the old file whole.
    IoStatus rewrite(const QString& sysPath, const QStringList& lines) const;
    // Appends one whole line; on failure the file is cut back to its old length.
    IoStatus appendLine(const QString& sysPath, const QString& line) const;

private:
    FileListing listNamed(const FolderIndex& folder, const QStringList& fileNames) const;

    QString m_root;
};

// The textbook number of a textbook file name: its numeric value without the last four characters.
int textbookNumber(const QString& fileName);
// The lesson number of a title file name of textbook t: the characters after t + "_", before "T.mum".
int lessonNumber(const QString& titleFileName, const QString& t);

// Encodes lines for a file (Windows-1250, CR LF after each). Characters that the code page cannot
// hold make it fail with the reason; nothing is ever written as "?".
bool encodeLines(const QStringList& lines, QByteArray* bytes, QString* reason);
// Splits a file's text into lines: CR LF (or a lone LF or CR) ends a line; a last line without
// it is still a line.
QStringList splitLines(const QString& text);
