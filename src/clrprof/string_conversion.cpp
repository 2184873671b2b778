#include "clrprof/string_conversion.h"

#include "clrprof/debug_log.h"

namespace veskmrte_1_0 {

char* wideToUtf8(const vesk::WChar* src, int srcLength, char* dst, int* dstSize) {
    VESK_ASSERT(src != NULL);
    if (dstSize == nullptr || srcLength == 0 || srcLength < -1) return nullptr;
    size_t length = srcLength == -1 ? vesk::wideLength(src) + 1 : static_cast<size_t>(srcLength);
    size_t needed = vesk::utf8Length(src, length);
    if (needed == 0 || *dstSize < 0 || needed > static_cast<size_t>(*dstSize) || dst == nullptr) return nullptr;
    *dstSize = static_cast<int>(vesk::encodeUtf8(src, length, dst));
    return dst;
}

}  // namespace veskmrte_1_0
