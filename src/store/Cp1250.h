// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

// Windows-1250 through a table of our own: every one of the 256 bytes maps to exactly one
// character and back, so a file read and written again keeps every byte.
namespace Cp1250 {

QString decode(QByteArrayView bytes);

// True when every character of text has a byte in the code page.
bool canEncode(QChar c);

// The characters of text that the code page cannot hold, each listed once, in order.
QString unencodable(const QString& text);

// Encodes text; characters that have no byte are never replaced: the result is empty and
// ok is false (callers check unencodable() first and report it).
QByteArray encode(const QString& text, bool* ok = nullptr);

// The text of a file's bytes in the encoding TextCodec::detect() finds (a byte-order mark is
// skipped). Bytes that hold no readable text give what they give; DataDir refuses such files.
QString decodeFile(const QByteArray& bytes);

} // namespace Cp1250

// How a file holds its text. A file keeps its encoding when it is written again.
enum class TextEncoding : std::uint8_t {
    Windows1250, // the program's own files: no byte-order mark
    Utf8,        // UTF-8 without a byte-order mark (recognised by its content)
    Utf8Bom,     // UTF-8 after a byte-order mark (files the program converts get one)
    Utf16Le,     // UTF-16 after its byte-order mark
    Utf16Be,
};

namespace TextCodec {

// Finds the encoding of a file from its bytes, fed from the start in pieces of any size.
//
// A byte-order mark decides (UTF-8, UTF-16; UTF-32 is refused). Without one a file is Windows-1250
// unless its bytes are valid UTF-8 holding a character of more than one byte AND the UTF-8 reading
// is the more natural text of the two: every character of both readings is weighed (Czech and
// German letters cost nothing; other Latin, Greek and Cyrillic letters and common punctuation a
// little; letters of other scripts more; lone diacritics, control and unassigned characters most)
// and so are odd neighbours (a small letter before a capital, a letter of one script beside one of
// another, a symbol inside a word, a German umlaut beside a Czech háček). Ties go to Windows-1250.
// "Úžas" (DA 9E 61 73) reads as Windows-1250: its UTF-8 reading "ڞas" puts an Arabic letter into a
// Latin word. Windows-1250 text stops being valid UTF-8 at its first lone letter with a diacritic,
// so the scan of a Czech file ends there.
class Detector {
public:
    void feed(const char* data, qsizetype size);
    void feed(const QByteArray& bytes) { feed(bytes.constData(), bytes.size()); }
    // After the last byte (an unfinished UTF-8 sequence at the end is not UTF-8).
    void finish();

    // No further byte can change the result: a reader may stop feeding.
    bool decided() const { return m_state == State::Decided; }
    TextEncoding encoding() const;
    // A UTF-32 byte-order mark: no encoding the program reads.
    bool unsupported() const { return m_unsupported; }
    // Bytes of the byte-order mark at the start of the file.
    int markSize() const { return m_markSize; }

    // What the weighing needs to know of one character.
    struct CharInfo {
        std::uint8_t cost = 0;
        std::uint8_t flags = 0;
        std::uint8_t script = 0; // QChar::Script
    };
    // One reading of the bytes: its weight so far and its last two characters.
    struct Reading {
        std::int64_t cost = 0;
        CharInfo last;
        CharInfo beforeLast;
        void add(CharInfo c);
    };

private:
    enum class State : std::uint8_t { Head, Scan, Decided };
    void startScan();
    void scan(const unsigned char* p, const unsigned char* end);

    State m_state = State::Head;
    QByteArray m_head; // the first bytes, until the byte-order mark is known
    TextEncoding m_marked = TextEncoding::Windows1250;
    bool m_unsupported = false;
    int m_markSize = 0;
    bool m_utf8Valid = true;
    bool m_multiByte = false;
    int m_need = 0; // continuation bytes still expected
    char32_t m_codePoint = 0;
    unsigned char m_low = 0x80, m_high = 0xBF; // range of the next continuation byte
    Reading m_cp1250;
    Reading m_utf8;
};

TextEncoding detect(const QByteArray& bytes, bool* unsupported = nullptr);

// The byte-order mark a file of the encoding starts with (empty for none).
QByteArray byteOrderMark(TextEncoding encoding);
// Whether every character of text can be written in the encoding.
bool canEncode(const QString& text, TextEncoding encoding);
// The characters of text the encoding cannot hold (empty but for Windows-1250).
QString unencodable(const QString& text, TextEncoding encoding);
// Text in the encoding, without a byte-order mark. Requires canEncode().
QByteArray encode(const QString& text, TextEncoding encoding);
// Bytes without their byte-order mark, as text.
QString decode(const QByteArray& bytes, TextEncoding encoding);

} // namespace TextCodec
