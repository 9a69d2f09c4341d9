// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1250 and the encodings a file may come in: every byte and every character that can be
// written comes back exactly, and the encoding found does not depend on how the bytes arrive.

#include "Fuzz.h"

#include "store/Cp1250.h"

namespace {

constexpr TextEncoding kEncodings[] = {TextEncoding::Windows1250, TextEncoding::Utf8, TextEncoding::Utf8Bom,
                                       TextEncoding::Utf16Le, TextEncoding::Utf16Be};

QString hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.left(64).toHex(' '));
}

// The bytes fed in pieces of 1 to 16 bytes (a file read in blocks) give what they give whole.
void checkPieces(const QByteArray& bytes, unsigned seed) {
    bool unsupported = false;
    const TextEncoding whole = TextCodec::detect(bytes, &unsupported);
    TextCodec::Detector detector;
    for (qsizetype at = 0; at < bytes.size() && !detector.decided();) {
        const qsizetype piece = std::min<qsizetype>(1 + (seed = seed * 1103515245 + 12345) % 16, bytes.size() - at);
        detector.feed(bytes.constData() + at, piece);
        at += piece;
    }
    detector.finish();
    FUZZ_CHECK(detector.encoding() == whole && detector.unsupported() == unsupported, hex(bytes));
}

// Text of any encoding, written in it and read back: the same text, found in the same encoding where a
// byte-order mark says so.
void checkRoundTrip(const QByteArray& bytes, TextEncoding encoding) {
    const QString text = TextCodec::decode(bytes, encoding);
    if (!TextCodec::canEncode(text, encoding))
        return;
    const QByteArray written = TextCodec::byteOrderMark(encoding) + TextCodec::encode(text, encoding);
    FUZZ_CHECK(TextCodec::decode(written, encoding) == text, QString::number(int(encoding)) + u' ' + hex(bytes));
    const bool marked = !TextCodec::byteOrderMark(encoding).isEmpty();
    if (marked && !text.contains(QChar(0))) // a NUL after FF FE reads as UTF-32's mark; such files are refused
        FUZZ_CHECK(TextCodec::detect(written) == encoding, QString::number(int(encoding)) + u' ' + hex(bytes));
}

// Characters of any kind: what the code page holds is written and read back exactly, the rest is
// named once each and never written.
void checkCharacters(const QByteArray& bytes) {
    const QString text(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
    const QString bad = Cp1250::unencodable(text);
    for (const QChar c : text)
        FUZZ_CHECK(Cp1250::canEncode(c) != bad.contains(c), shown(text));
    for (qsizetype i = 0; i < bad.size(); ++i)
        FUZZ_CHECK(bad.indexOf(bad.at(i)) == i, shown(bad));
    bool ok = false;
    const QByteArray encoded = Cp1250::encode(text, &ok);
    FUZZ_CHECK(ok == bad.isEmpty() && (ok || encoded.isEmpty()), shown(text));
    if (ok)
        FUZZ_CHECK(Cp1250::decode(encoded) == text && encoded.size() == text.size(), shown(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    bool ok = false;
    FUZZ_CHECK(Cp1250::encode(Cp1250::decode(bytes), &ok) == bytes && ok, hex(bytes));
    checkPieces(bytes, size > 0 ? data[size - 1] : 0);
    for (const TextEncoding encoding : kEncodings)
        checkRoundTrip(bytes, encoding);
    checkCharacters(bytes);
    return 0;
}
