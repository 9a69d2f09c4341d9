#pragma once

#include <QByteArray>
#include <QString>

// Windows-1250 through a table of our own: every one of the 256 bytes maps to exactly one
// character and back, so a file read and written again keeps every byte.
namespace Cp1250 {

QString decode(const QByteArray& bytes);

// True when every character of text has a byte in the code page.
bool canEncode(QChar c);

// The characters of text that the code page cannot hold, each listed once, in order.
QString unencodable(const QString& text);

// Encodes text; characters that have no byte are never replaced: the result is empty and
// ok is false (callers check unencodable() first and report it).
QByteArray encode(const QString& text, bool* ok = nullptr);

// Decodes a file's bytes: Windows-1250, unless the bytes are valid UTF-8 holding at least one
// multi-byte sequence (a file copied from elsewhere), which no Czech Windows-1250 text is.
QString decodeFile(const QByteArray& bytes);

} // namespace Cp1250
