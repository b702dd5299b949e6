#include "textbytes.h"

namespace {

// Windows-1251's characters for the bytes 0x80 to 0xBF; 0xC0 to 0xFF are
// А to я (U+0410 to U+044F) in order, and 0x98 is unassigned.
const char16_t cp1251High[64] = {
    0x0402, 0x0403, 0x201a, 0x0453, 0x201e, 0x2026, 0x2020, 0x2021,
    0x20ac, 0x2030, 0x0409, 0x2039, 0x040a, 0x040c, 0x040b, 0x040f,
    0x0452, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,
    0xfffd, 0x2122, 0x0459, 0x203a, 0x045a, 0x045c, 0x045b, 0x045f,
    0x00a0, 0x040e, 0x045e, 0x0408, 0x00a4, 0x0490, 0x00a6, 0x00a7,
    0x0401, 0x00a9, 0x0404, 0x00ab, 0x00ac, 0x00ad, 0x00ae, 0x0407,
    0x00b0, 0x00b1, 0x0406, 0x0456, 0x0491, 0x00b5, 0x00b6, 0x00b7,
    0x0451, 0x2116, 0x0454, 0x00bb, 0x0458, 0x0405, 0x0455, 0x0457,
};

QString fromWindows1251(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        if (c < 0x80)
            text += QChar(c);
        else if (c < 0xc0)
            text += QChar(cp1251High[c - 0x80]);
        else
            text += QChar(char16_t(0x0410 + (c - 0xc0)));
    }
    return text;
}

QString fromUtf16(const QByteArray &bytes, bool bigEndian)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (int i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        text += QChar(char16_t(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    return text;
}

} // namespace

int TextBytes::notUtf8At(const QByteArray &data)
{
    const auto *s = reinterpret_cast<const unsigned char *>(data.constData());
    const int n = data.size();
    for (int i = 0; i < n;) {
        const unsigned char c = s[i];
        int more = 0;
        unsigned int code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xe0) == 0xc0) {
            more = 1;
            code = c & 0x1f;
        } else if ((c & 0xf0) == 0xe0) {
            more = 2;
            code = c & 0x0f;
        } else if ((c & 0xf8) == 0xf0) {
            more = 3;
            code = c & 0x07;
        } else {
            return i;
        }
        for (int k = 1; k <= more; ++k) {
            if (i + k >= n || (s[i + k] & 0xc0) != 0x80)
                return i;
            code = (code << 6) | (s[i + k] & 0x3f);
        }
        const unsigned int least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[more] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            return i;
        i += more + 1;
    }
    return -1;
}

TextBytes::Decoded TextBytes::decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xff\xfe"))
        return {fromUtf16(bytes.mid(2), false), Encoding::Utf16Le};
    if (bytes.startsWith("\xfe\xff"))
        return {fromUtf16(bytes.mid(2), true), Encoding::Utf16Be};
    // By its size: Qt 5's fromUtf8(QByteArray) stops at a NUL byte, which
    // the other encodings read on past.
    if (bytes.startsWith("\xef\xbb\xbf"))
        return {QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3), Encoding::Utf8Bom};
    if (notUtf8At(bytes) < 0)
        return {QString::fromUtf8(bytes.constData(), bytes.size()), Encoding::Utf8};
    return {fromWindows1251(bytes), Encoding::Windows1251};
}

QString TextBytes::nameOf(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return QStringLiteral("UTF-8");
    case Encoding::Utf8Bom:
        return QStringLiteral("UTF-8 with a byte order mark");
    case Encoding::Utf16Le:
        return QStringLiteral("UTF-16LE");
    case Encoding::Utf16Be:
        return QStringLiteral("UTF-16BE");
    case Encoding::Windows1251:
        return QStringLiteral("Windows-1251");
    }
    return QString();
}
