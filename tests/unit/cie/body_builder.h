// Builds method bodies for tests: code from opcodes and operands, tiny and
// fat headers, small and fat EH sections, and bytes from hex text.
#pragma once

#include "blob_bytes.h"

#include <cctype>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace cie_test {

using testing_support::Bytes;
using testing_support::cat;

// Hex digits; spaces and other separators are skipped.
inline Bytes hex(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    if (digits.size() % 2 != 0) throw std::invalid_argument("odd number of hex digits");
    Bytes out;
    for (size_t i = 0; i < digits.size(); i += 2)
        out.push_back(static_cast<uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    return out;
}

class Code {
public:
    // One-byte opcodes as their byte, two-byte ones as 0xFExx.
    Code& op(uint32_t opcode) { return opcode > 0xFF ? u8(0xFE).u8(opcode) : u8(opcode); }
    Code& u8(uint32_t v) { return raw({static_cast<uint8_t>(v)}); }
    Code& u16(uint32_t v) { return u8(v).u8(v >> 8); }
    Code& u32(uint32_t v) { return u16(v).u16(v >> 16); }
    Code& u64(uint64_t v) { return u32(static_cast<uint32_t>(v)).u32(static_cast<uint32_t>(v >> 32)); }
    Code& raw(const Bytes& b) {
        m_bytes.insert(m_bytes.end(), b.begin(), b.end());
        return *this;
    }
    Code& nops(size_t n) { return raw(Bytes(n, 0x00)); }
    size_t size() const { return m_bytes.size(); }
    const Bytes& bytes() const { return m_bytes; }

private:
    Bytes m_bytes;
};

// The bytes with one of them changed.
inline Bytes with(Bytes b, size_t at, uint8_t value) {
    b.at(at) = value;
    return b;
}

inline Bytes tinyBody(const Bytes& code) {
    if (code.size() > 63) throw std::invalid_argument("too long for a tiny header");
    return cat({{static_cast<uint8_t>(code.size() << 2 | 0x2)}, code});
}

struct Clause {
    uint32_t flags;
    uint32_t tryOffset;
    uint32_t tryLength;
    uint32_t handlerOffset;
    uint32_t handlerLength;
    uint32_t tokenOrFilter;
};

const uint32_t kCatch = 0, kFilter = 1, kFinally = 2, kFault = 4;

inline Bytes smallEhSection(const std::vector<Clause>& clauses, bool more = false) {
    Code c;
    c.u8(0x01 | (more ? 0x80 : 0)).u8(static_cast<uint32_t>(4 + 12 * clauses.size())).u16(0);
    for (const Clause& k : clauses)
        c.u16(k.flags).u16(k.tryOffset).u8(k.tryLength).u16(k.handlerOffset).u8(k.handlerLength).u32(k.tokenOrFilter);
    return c.bytes();
}

inline Bytes fatEhSection(const std::vector<Clause>& clauses, bool more = false) {
    Code c;
    const uint32_t size = static_cast<uint32_t>(4 + 24 * clauses.size());
    c.u8(0x41 | (more ? 0x80 : 0)).u8(size).u8(size >> 8).u8(size >> 16);
    for (const Clause& k : clauses)
        c.u32(k.flags).u32(k.tryOffset).u32(k.tryLength).u32(k.handlerOffset).u32(k.handlerLength).u32(k.tokenOrFilter);
    return c.bytes();
}

// A fat body; the sections (each with its own MoreSects bit set as the test
// wants) follow the code, each on a 4-byte boundary. MoreSects in the header
// is set when there are sections.
inline Bytes fatBody(const Bytes& code, uint16_t maxStack = 8, uint32_t localSig = 0, bool initLocals = false,
                     const std::vector<Bytes>& sections = {}) {
    uint16_t flags = 0x3003;
    if (initLocals) flags |= 0x10;
    if (!sections.empty()) flags |= 0x8;
    Code c;
    c.u16(flags).u16(maxStack).u32(static_cast<uint32_t>(code.size())).u32(localSig).raw(code);
    Bytes out = c.bytes();
    for (const Bytes& s : sections) {
        while (out.size() % 4 != 0) out.push_back(0);
        out.insert(out.end(), s.begin(), s.end());
    }
    return out;
}

}  // namespace cie_test
