#include "common/utf16.h"

namespace vesk {

namespace {

const char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Reads one code point at text[i], advancing i past it.
char32_t nextCodePoint(const WChar* text, size_t length, size_t& i) {
    char32_t c = static_cast<char16_t>(text[i++]);
    if (isHighSurrogate(c)) {
        if (i < length && isLowSurrogate(static_cast<char16_t>(text[i]))) {
            char32_t low = static_cast<char16_t>(text[i++]);
            return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
        return kReplacement;
    }
    if (isLowSurrogate(c)) return kReplacement;
    return c;
}

size_t encodedSize(char32_t c) {
    if (c < 0x80) return 1;
    if (c < 0x800) return 2;
    if (c < 0x10000) return 3;
    return 4;
}

}  // namespace

size_t utf8Length(const WChar* text, size_t length) {
    size_t total = 0;
    for (size_t i = 0; i < length;) total += encodedSize(nextCodePoint(text, length, i));
    return total;
}

size_t encodeUtf8(const WChar* text, size_t length, char* out) {
    size_t n = 0;
    for (size_t i = 0; i < length;) {
        char32_t c = nextCodePoint(text, length, i);
        switch (encodedSize(c)) {
            case 1:
                out[n++] = static_cast<char>(c);
                break;
            case 2:
                out[n++] = static_cast<char>(0xC0 | (c >> 6));
                out[n++] = static_cast<char>(0x80 | (c & 0x3F));
                break;
            case 3:
                out[n++] = static_cast<char>(0xE0 | (c >> 12));
                out[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out[n++] = static_cast<char>(0x80 | (c & 0x3F));
                break;
            default:
                out[n++] = static_cast<char>(0xF0 | (c >> 18));
                out[n++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                out[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out[n++] = static_cast<char>(0x80 | (c & 0x3F));
                break;
        }
    }
    return n;
}

std::string toUtf8(const WChar* text, size_t length) {
    std::string out(utf8Length(text, length), '\0');
    if (!out.empty()) encodeUtf8(text, length, &out[0]);
    return out;
}

WString fromUtf8(const std::string& text) {
    WString out;
    out.reserve(text.size());
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t n = text.size();
    for (size_t i = 0; i < n;) {
        unsigned char b = p[i];
        char32_t c;
        size_t extra;
        char32_t minimum;
        if (b < 0x80) {
            c = b;
            extra = 0;
            minimum = 0;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            extra = 1;
            minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            extra = 2;
            minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07;
            extra = 3;
            minimum = 0x10000;
        } else {
            out.push_back(static_cast<WChar>(kReplacement));
            ++i;
            continue;
        }
        size_t j = 1;
        for (; j <= extra && i + j < n && (p[i + j] & 0xC0) == 0x80; ++j) c = (c << 6) | (p[i + j] & 0x3F);
        if (j <= extra || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out.push_back(static_cast<WChar>(kReplacement));
            i += j;
            continue;
        }
        i += j;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<WChar>(0xD800 + (c >> 10)));
            out.push_back(static_cast<WChar>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<WChar>(c));
        }
    }
    return out;
}

size_t wideLength(const WChar* text) {
    size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

}  // namespace vesk
