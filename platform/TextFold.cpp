#include "platform/TextFold.h"

#include <QChar>
#include <QList>
#include <QString>

#include <array>
#include <utility>

namespace {

constexpr char32_t kDropped = 0xFFFFFFFF;

// A combining mark is dropped; a letter with marks becomes its base letter, case folded.
char32_t foldOne(char32_t c) {
    if (QChar::category(c) == QChar::Mark_NonSpacing)
        return kDropped;
    while (QChar::decompositionTag(c) == QChar::Canonical)
        c = QChar::decomposition(c).toUcs4().value(0, c);
    return QChar::toCaseFolded(c);
}

// The Latin letters and the combining marks, which are nearly all a search meets, worked out once.
constexpr char32_t kTabled = 0x370;

char32_t folded(char32_t c) {
    static const auto table = [] {
        std::array<char32_t, kTabled> t{};
        for (char32_t i = 0; i < kTabled; ++i)
            t[i] = foldOne(i);
        return t;
    }();
    return c < kTabled ? table[c] : foldOne(c);
}

// The code point that starts at p and its length in bytes; 0 bytes when no well-formed one starts there.
std::pair<char32_t, int> decode(const uchar* p, qsizetype left) {
    const int length = *p >= 0xF5 ? 0 : *p >= 0xF0 ? 4 : *p >= 0xE0 ? 3 : *p >= 0xC2 ? 2 : 0;
    if (length == 0 || length > left)
        return {0, 0};
    char32_t c = *p & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return {0, 0};
        c = c << 6 | (p[i] & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF)
        return {0, 0};
    return {c, length};
}

// Writes c at out, which has room for it, and gives the end of what was written.
char* encode(char32_t c, char* out) {
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | c >> 6);
        *out++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = char(0xE0 | c >> 12);
        *out++ = char(0x80 | (c >> 6 & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    } else {
        *out++ = char(0xF0 | c >> 18);
        *out++ = char(0x80 | (c >> 12 & 0x3F));
        *out++ = char(0x80 | (c >> 6 & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

} // namespace

char* fold(QByteArrayView utf8, char* out) {
    const auto* p = reinterpret_cast<const uchar*>(utf8.data());
    const auto* end = p + utf8.size();
    while (p < end) {
        if (*p < 0x80) {
            *out++ = char(*p >= 'A' && *p <= 'Z' ? *p + ('a' - 'A') : *p);
            ++p;
            continue;
        }
        const auto [c, length] = decode(p, end - p);
        if (length == 0) {
            *out++ = char(*p++);
            continue;
        }
        if (const char32_t f = folded(c); f != kDropped)
            out = encode(f, out);
        p += length;
    }
    return out;
}
