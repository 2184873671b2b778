#include "clrprof/attribute_blob.h"

#include "clrprof/debug_log.h"
#include "clrprof/signature_parser.h"

#include <array>

namespace veskmrte_1_0 {

namespace {

const uint32_t kPrologSize = 2;
const uint8_t kNullString = 0xFF;

}  // namespace

AttributeBlobReader::AttributeBlobReader(const uint8_t* blob, uint32_t length)
    : m_blob(blob), m_length(blob == nullptr ? 0 : length) {}

bool AttributeBlobReader::skipProlog() {
    if (remaining() < kPrologSize) return false;
    m_offset += kPrologSize;
    return true;
}

bool AttributeBlobReader::readPackedLength(uint32_t& length, bool& isNull) {
    isNull = false;
    if (remaining() < 1) return false;
    const uint8_t* p = m_blob + m_offset;
    const uint8_t first = p[0];
    if (first == kNullString) {
        isNull = true;
        length = 0;
        m_offset += 1;
        return true;
    }
    if ((first & 0x80) == 0) {
        length = first;
        m_offset += 1;
        return true;
    }
    if ((first & 0xC0) == 0x80) {
        if (remaining() < 2) return false;
        length = (static_cast<uint32_t>(first & 0x3F) << 8) | p[1];
        m_offset += 2;
        return true;
    }
    if ((first & 0xE0) == 0xC0) {
        if (remaining() < 4) return false;
        length = (static_cast<uint32_t>(first & 0x1F) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
                 (static_cast<uint32_t>(p[2]) << 8) | p[3];
        m_offset += 4;
        return true;
    }
    // 0xE0 to 0xFE encode no length.
    return false;
}

bool AttributeBlobReader::readString(vesk::WString& out) {
    out.clear();
    uint32_t nameLen = 0;
    bool isNull = false;
    if (!readPackedLength(nameLen, isNull)) return false;
    if (isNull) return true;
    std::array<vesk::WChar, MAX_CLASS_NAME_SIZE> buf{};
    // No wrapper names such an API; a damaged or foreign assembly must not
    // end the program, so the attribute is refused like any malformed one.
    if (nameLen >= buf.size()) {
        VESK_LOG("    attribute string of " << nameLen << " bytes is longer than any name");
        return false;
    }
    if (nameLen > remaining()) return false;
    const uint8_t* text = m_blob + m_offset;
    for (uint32_t i = 0; i < nameLen; ++i) buf[i] = static_cast<vesk::WChar>(text[i]);
    out.assign(buf.data(), nameLen);
    m_offset += nameLen;
    return true;
}

}  // namespace veskmrte_1_0
