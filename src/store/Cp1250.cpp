#include "Cp1250.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

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

// Whether the bytes hold a multi-byte UTF-8 sequence and no broken one. Stops at the first byte
// that cannot be UTF-8, which in Czech Windows-1250 text is the first letter with a diacritic.
bool mayBeUtf8(const QByteArray& bytes) {
    bool multiByte = false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p++;
        if (lead < 0x80)
            continue;
        int follow = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            follow = 1;
        else if (lead >= 0xE0 && lead <= 0xEF)
            follow = 2;
        else if (lead >= 0xF0 && lead <= 0xF4)
            follow = 3;
        else
            return false;
        if (end - p < follow)
            return false;
        for (int i = 0; i < follow; ++i) {
            if ((*p++ & 0xC0) != 0x80)
                return false;
        }
        multiByte = true;
    }
    return multiByte;
}

} // namespace

namespace Cp1250 {

QString decode(const QByteArray& bytes) {
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
    if (mayBeUtf8(bytes)) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    return decode(bytes);
}

} // namespace Cp1250
