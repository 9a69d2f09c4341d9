// SPDX-License-Identifier: GPL-3.0-or-later
#include "Cp1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// Characters of the bytes 0x80 to 0xFF. The five bytes the code page leaves undefined map to the
// C1 control characters of the same value, so that they too survive a read and a write.
constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

struct ReverseTable {
    // 0 marks "no byte"; U+0000 itself is handled before the look-up.
    std::array<unsigned char, 65536> bytes{};
    ReverseTable() {
        for (int c = 1; c < 0x80; ++c)
            bytes[c] = static_cast<unsigned char>(c);
        for (int i = 0; i < 128; ++i)
            bytes[kHigh[i]] = static_cast<unsigned char>(0x80 + i);
    }
};

const ReverseTable& reverse() {
    static const ReverseTable table;
    return table;
}

} // namespace

namespace Cp1250 {

QString decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = b < 0x80 ? QChar(b) : QChar(kHigh[b - 0x80]);
    }
    return text;
}

bool canEncode(QChar c) {
    return c.unicode() == 0 || reverse().bytes[c.unicode()] != 0;
}

QString unencodable(const QString& text) {
    QString bad;
    for (QChar c : text) {
        if (!canEncode(c) && !bad.contains(c))
            bad.append(c);
    }
    return bad;
}

QByteArray encode(const QString& text, bool* ok) {
    const auto& table = reverse().bytes;
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const unsigned char b = table[u];
        if (b == 0 && u != 0) {
            if (ok)
                *ok = false;
            return {};
        }
        *out++ = static_cast<char>(b);
    }
    if (ok)
        *ok = true;
    return bytes;
}

QString decodeFile(const QByteArray& bytes) {
    return TextCodec::decode(bytes, TextCodec::detect(bytes));
}

} // namespace Cp1250

namespace {

using CharInfo = TextCodec::Detector::CharInfo;

enum Flag : std::uint8_t {
    Letter = 1,
    Upper = 2,
    Lower = 4,
    WordSymbol = 8, // a symbol that does not stand inside a word
    Mark = 16,      // a combining mark: belongs to the letter before it
    Umlaut = 32,    // ä ö ü ß and their capitals
    Hacek = 64,     // Czech letters with a háček or a ring
};

constexpr std::uint8_t kRare = 4; // control, format, private and unassigned characters

bool oneOf(char32_t c, std::u16string_view set) {
    return c < 0x10000 && set.find(static_cast<char16_t>(c)) != std::u16string_view::npos;
}

CharInfo classify(char32_t c) {
    CharInfo info;
    if (c < 0x80) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            info.flags = Letter | (c <= 'Z' ? Upper : Lower);
            info.script = QChar::Script_Latin;
        }
        return info;
    }
    info.script = static_cast<std::uint8_t>(QChar::script(c));
    const QChar::Category category = QChar::category(c);
    // Symbols of Latin-1 (µ, ª and º are letters to Unicode, not in a word) and the lone diacritics
    // of Windows-1250 (ˇ ˘ ˙ ˛ ˝ and their kin), which real text hardly ever holds on their own.
    if ((c >= 0xA1 && c <= 0xBF) || (c >= 0x2B0 && c <= 0x2FF)) {
        info.script = QChar::Script_Common;
        info.flags = WordSymbol;
        if (c == 0xAD)
            info.cost = kRare; // soft hyphen
        else if (c >= 0x2B0)
            info.cost = 3;
        else
            info.cost = oneOf(c, u"§©«®°±»") ? 1 : 2;
        return info;
    }
    switch (category) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other: {
        info.flags = Letter;
        if (category == QChar::Letter_Uppercase || category == QChar::Letter_Titlecase)
            info.flags |= Upper;
        else if (category == QChar::Letter_Lowercase)
            info.flags |= Lower;
        if (oneOf(c, u"čďěňřšťůžČĎĚŇŘŠŤŮŽ")) {
            info.flags |= Hacek;
        } else if (oneOf(c, u"äöüßÄÖÜ")) {
            info.flags |= Umlaut;
        } else if (oneOf(c, u"áéíóúýÁÉÍÓÚÝ")) {
            // Czech: costs nothing
        } else if (info.script == QChar::Script_Latin) {
            if (c <= 0x17F || (c >= 0x218 && c <= 0x21B) || (c >= 0x1E00 && c <= 0x1EFF))
                info.cost = 1; // Latin-1, Latin Extended-A, Romanian ș ț, Vietnamese
            else if (c < 0x250)
                info.cost = 2; // the rest of Latin Extended-B
            else
                info.cost = 3; // phonetic letters
        } else if (info.script == QChar::Script_Greek) {
            info.cost = c <= 0x3FF ? 1 : 2;
        } else if (info.script == QChar::Script_Cyrillic) {
            info.cost = c <= 0x45F ? 1 : 2;
        } else {
            info.cost = 2; // the letters of other scripts
        }
        return info;
    }
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        info.flags = Mark;
        // Grave to caron but the vertical line, dot below, comma below, cedilla, ogonek.
        info.cost = (c >= 0x300 && c <= 0x30C && c != 0x309) || c == 0x323 || (c >= 0x326 && c <= 0x328) ? 2 : 3;
        return info;
    case QChar::Separator_Space:
        info.cost = 1;
        return info;
    case QChar::Other_Control:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        info.cost = kRare;
        return info;
    case QChar::Other_Format:
        info.cost = c >= 0x200B && c <= 0x200D ? 2 : kRare;
        return info;
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        info.cost = 2;
        return info;
    default: // punctuation and symbols
        info.cost = oneOf(c, u"×÷–—‘’‚“”„•…€") ? 1 : 2;
        // An apostrophe or a hyphen stands inside words.
        if (!oneOf(c, u"’‐‑"))
            info.flags = WordSymbol;
        return info;
    }
}

// Every byte's character in Windows-1250, weighed once.
struct Cp1250Infos {
    std::array<CharInfo, 256> infos;
    Cp1250Infos() {
        for (int b = 0; b < 256; ++b)
            infos[b] = classify(b < 0x80 ? char32_t(b) : char32_t(kHigh[b - 0x80]));
    }
};

const std::array<CharInfo, 256>& cp1250Infos() {
    static const Cp1250Infos table;
    return table.infos;
}

} // namespace

namespace TextCodec {

void Detector::Reading::add(CharInfo c) {
    if (c.flags & Mark) {
        // Diacritics written apart from their letter (as some systems store "č"): the common ones
        // after a letter are plausible, the rest are odd. The letter stays the last character.
        cost += (last.flags & Letter) ? c.cost : kRare;
        return;
    }
    cost += c.cost;
    if ((last.flags & Letter) && (c.flags & Letter)) {
        if ((last.flags & Lower) && (c.flags & Upper))
            cost += 1; // "poÄŤet": a capital inside a word
        if (last.script != c.script && last.script > QChar::Script_Common && c.script > QChar::Script_Common)
            cost += 3; // "ڞas": two scripts in one word
        if (((last.flags & Umlaut) && (c.flags & Hacek)) || ((last.flags & Hacek) && (c.flags & Umlaut)))
            cost += 1; // "ÄŤ": German and Czech letters side by side
    }
    if ((beforeLast.flags & Letter) && (last.flags & WordSymbol) && (c.flags & Letter))
        cost += 2; // "Ä›s": a symbol between two letters
    beforeLast = last;
    last = c;
}

void Detector::feed(const char* data, qsizetype size) {
    if (m_state == State::Decided || size <= 0)
        return;
    if (m_state == State::Head) {
        m_head.append(data, size);
        if (m_head.size() < 4)
            return;
        startScan();
        return;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    scan(p, p + size);
}

void Detector::startScan() {
    const QByteArray head = m_head;
    m_head.clear();
    auto decide = [this](TextEncoding encoding, int markSize) {
        m_marked = encoding;
        m_markSize = markSize;
        m_state = State::Decided;
    };
    if (head.startsWith(QByteArrayView("\xFF\xFE\x00\x00", 4)) ||
        head.startsWith(QByteArrayView("\x00\x00\xFE\xFF", 4))) {
        m_unsupported = true;
        decide(TextEncoding::Windows1250, 4);
    } else if (head.startsWith("\xEF\xBB\xBF")) {
        decide(TextEncoding::Utf8Bom, 3);
    } else if (head.startsWith("\xFF\xFE")) {
        decide(TextEncoding::Utf16Le, 2);
    } else if (head.startsWith("\xFE\xFF")) {
        decide(TextEncoding::Utf16Be, 2);
    } else {
        m_state = State::Scan;
        const auto* p = reinterpret_cast<const unsigned char*>(head.constData());
        scan(p, p + head.size());
    }
}

void Detector::scan(const unsigned char* p, const unsigned char* end) {
    const auto& infos = cp1250Infos();
    for (; p < end; ++p) {
        const unsigned char b = *p;
        m_cp1250.add(infos[b]);
        if (m_need == 0) {
            if (b < 0x80) {
                m_utf8.add(infos[b]);
                continue;
            }
            if (b >= 0xC2 && b <= 0xDF) {
                m_need = 1;
                m_codePoint = b & 0x1F;
            } else if (b >= 0xE0 && b <= 0xEF) {
                m_need = 2;
                m_codePoint = b & 0x0F;
                m_low = b == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
                m_high = b == 0xED ? 0x9F : 0xBF; // no surrogates
                continue;
            } else if (b >= 0xF0 && b <= 0xF4) {
                m_need = 3;
                m_codePoint = b & 0x07;
                m_low = b == 0xF0 ? 0x90 : 0x80;
                m_high = b == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
                continue;
            } else {
                m_utf8Valid = false;
                m_state = State::Decided;
                return;
            }
            m_low = 0x80;
            m_high = 0xBF;
            continue;
        }
        if (b < m_low || b > m_high) {
            m_utf8Valid = false;
            m_state = State::Decided;
            return;
        }
        m_codePoint = (m_codePoint << 6) | (b & 0x3F);
        m_low = 0x80;
        m_high = 0xBF;
        if (--m_need == 0) {
            m_multiByte = true;
            m_utf8.add(classify(m_codePoint));
        }
    }
}

void Detector::finish() {
    if (m_state == State::Head)
        startScan();
    if (m_state == State::Scan && m_need != 0)
        m_utf8Valid = false;
    m_state = State::Decided;
}

TextEncoding Detector::encoding() const {
    if (m_markSize > 0 || m_unsupported)
        return m_marked;
    if (m_utf8Valid && m_multiByte && m_utf8.cost < m_cp1250.cost)
        return TextEncoding::Utf8;
    return TextEncoding::Windows1250;
}

TextEncoding detect(const QByteArray& bytes, bool* unsupported) {
    Detector detector;
    detector.feed(bytes);
    detector.finish();
    if (unsupported)
        *unsupported = detector.unsupported();
    return detector.encoding();
}

QByteArray byteOrderMark(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return QByteArrayLiteral("\xEF\xBB\xBF");
    case TextEncoding::Utf16Le:
        return QByteArrayLiteral("\xFF\xFE");
    case TextEncoding::Utf16Be:
        return QByteArrayLiteral("\xFE\xFF");
    default:
        return {};
    }
}

bool canEncode(const QString& text, TextEncoding encoding) {
    if (encoding != TextEncoding::Windows1250)
        return true;
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return Cp1250::canEncode(c); });
}

QString unencodable(const QString& text, TextEncoding encoding) {
    return encoding == TextEncoding::Windows1250 ? Cp1250::unencodable(text) : QString();
}

QByteArray encode(const QString& text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Windows1250:
        return Cp1250::encode(text);
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        return text.toUtf8();
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        QStringEncoder encoder(encoding == TextEncoding::Utf16Le ? QStringConverter::Utf16LE
                                                                 : QStringConverter::Utf16BE);
        return encoder.encode(text);
    }
    }
    return {};
}

QString decode(const QByteArray& bytes, TextEncoding encoding) {
    const QByteArray mark = byteOrderMark(encoding);
    const QByteArrayView body =
        bytes.startsWith(mark) ? QByteArrayView(bytes).sliced(mark.size()) : QByteArrayView(bytes);
    // The mark is gone already: a U+FEFF after it is the text's own character, which Qt's decoders
    // would otherwise drop as a second mark.
    const auto flags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    switch (encoding) {
    case TextEncoding::Windows1250:
        return Cp1250::decode(body);
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom: {
        QStringDecoder decoder(QStringConverter::Utf8, flags);
        return decoder.decode(body);
    }
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        QStringDecoder decoder(
            encoding == TextEncoding::Utf16Le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE, flags);
        return decoder.decode(body);
    }
    }
    return {};
}

} // namespace TextCodec
