// Builds method bodies for tests: code from opcodes and operands, tiny and
// fat headers, small and fat EH sections, and bytes from hex text.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <initializer_list>
#include <vector>

namespace cie_test {

typedef std::vector<uint8_t> Bytes;

// Hex digits; spaces and other separators are skipped.
inline Bytes hex(const std::string& text) {
    Bytes out;
    int high = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<uint8_t>(high << 4 | v));
            high = -1;
        }
    }
    if (high >= 0) throw std::invalid_argument("odd number of hex digits");
    return out;
}

class Code {
public:
    // One-byte opcodes as their byte, two-byte ones as 0xFExx.
    Code& op(uint32_t opcode) {
        if (opcode > 0xFF) m_bytes.push_back(0xFE);
        m_bytes.push_back(static_cast<uint8_t>(opcode));
        return *this;
    }
    Code& u8(uint32_t v) {
        m_bytes.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Code& u16(uint32_t v) { return u8(v).u8(v >> 8); }
    Code& u32(uint32_t v) { return u16(v).u16(v >> 16); }
    Code& u64(uint64_t v) { return u32(static_cast<uint32_t>(v)).u32(static_cast<uint32_t>(v >> 32)); }
    Code& raw(const Bytes& b) {
        m_bytes.insert(m_bytes.end(), b.begin(), b.end());
        return *this;
    }
    // Fillers: n nops.
    Code& nops(size_t n) {
        m_bytes.insert(m_bytes.end(), n, 0x00);
        return *this;
    }
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

inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline Bytes tinyBody(const Bytes& code) {
    if (code.size() > 63) throw std::invalid_argument("too long for a tiny header");
    Bytes out;
    out.push_back(static_cast<uint8_t>(code.size() << 2 | 0x2));
    out.insert(out.end(), code.begin(), code.end());
    return out;
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
