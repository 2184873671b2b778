// UTF-16 to UTF-8 with the size rules of the platform's code-page conversion.
#pragma once

#include "common/utf16.h"

namespace veskmrte_1_0 {

// Converts srcLength characters of src (-1: NUL-terminated, the terminator
// converted and counted) into dst, whose capacity in bytes is *dstSize.
// On success sets *dstSize to the bytes written and returns dst; when dst is
// too small or the source is empty returns null and leaves *dstSize alone.
// A lone surrogate becomes U+FFFD.
char* wideToUtf8(const vesk::WChar* src, int srcLength, char* dst, int* dstSize);

}  // namespace veskmrte_1_0
