// Little-endian reads and writes of the fixed-width fields in method bodies.
// Bodies come from the runtime as plain bytes with no alignment promise for
// the fields inside them, so every access goes byte by byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavoli {
namespace cie {

inline uint16_t readU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline uint32_t readU24(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
}

inline uint32_t readU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

inline uint64_t readU64(const uint8_t* p) {
    return static_cast<uint64_t>(readU32(p)) | (static_cast<uint64_t>(readU32(p + 4)) << 32);
}

inline void putU8(std::vector<uint8_t>& out, uint32_t v) { out.push_back(static_cast<uint8_t>(v)); }

inline void putU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void putU24(std::vector<uint8_t>& out, uint32_t v) {
    putU16(out, v);
    out.push_back(static_cast<uint8_t>(v >> 16));
}

inline void putU32(std::vector<uint8_t>& out, uint32_t v) {
    putU16(out, v);
    putU16(out, v >> 16);
}

inline void putU64(std::vector<uint8_t>& out, uint64_t v) {
    putU32(out, static_cast<uint32_t>(v));
    putU32(out, static_cast<uint32_t>(v >> 32));
}

inline void writeU32At(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
    out[at + 2] = static_cast<uint8_t>(v >> 16);
    out[at + 3] = static_cast<uint8_t>(v >> 24);
}

// Extra data sections and fat headers sit on 4-byte boundaries.
inline uint64_t alignUp4(uint64_t v) { return (v + 3) & ~static_cast<uint64_t>(3); }

}  // namespace cie
}  // namespace tavoli
