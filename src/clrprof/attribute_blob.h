// The value blob of a custom attribute whose constructor takes strings: a
// two-byte prolog, then each string as a packed length and that many bytes.
#pragma once

#include "common/utf16.h"

#include <cstdint>

namespace veskmrte_1_0 {

class AttributeBlobReader {
public:
    AttributeBlobReader(const uint8_t* blob, uint32_t length);

    // False when the blob is too short to hold the prolog.
    bool skipProlog();
    // Reads the next string; each byte becomes the character of the same
    // value. A null string (0xFF) reads as empty. False when the length is
    // malformed, the string runs past the blob, or it is MAX_CLASS_NAME_SIZE
    // bytes or longer (no wrapper names such an API).
    bool readString(vesk::WString& out);

private:
    bool readPackedLength(uint32_t& length, bool& isNull);
    uint32_t remaining() const { return m_length - m_offset; }

    const uint8_t* m_blob;
    uint32_t m_length;
    uint32_t m_offset = 0;
};

}  // namespace veskmrte_1_0
