// UTF-16 <-> UTF-8 conversion shared by the profiler and its companion
// libraries. Lone surrogates and malformed UTF-8 become U+FFFD.
#pragma once

#include "veskmrte/portable.h"

#include <cstddef>
#include <string>

namespace vesk {

typedef vesk_wchar WChar;
typedef std::basic_string<WChar> WString;

// Bytes needed for the UTF-8 form of text[0, length).
size_t utf8Length(const WChar* text, size_t length);
// Writes the UTF-8 form of text[0, length) to out, which holds at least
// utf8Length(text, length) bytes; returns the bytes written.
size_t encodeUtf8(const WChar* text, size_t length, char* out);

std::string toUtf8(const WChar* text, size_t length);
inline std::string toUtf8(const WString& text) { return toUtf8(text.data(), text.size()); }
WString fromUtf8(const std::string& text);

// Length of a NUL-terminated wide string.
size_t wideLength(const WChar* text);

}  // namespace vesk
