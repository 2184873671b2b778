// Building signature and attribute blobs byte by byte, and handing them to
// the code under test in allocations of exactly their size, so the address
// sanitizer reports any read past a blob's end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

typedef std::vector<uint8_t> Bytes;

inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A compressed unsigned integer in its shortest form.
inline Bytes compressed(uint32_t value) {
    if (value < 0x80) return {static_cast<uint8_t>(value)};
    if (value < 0x4000) return {static_cast<uint8_t>(0x80 | (value >> 8)), static_cast<uint8_t>(value)};
    return {static_cast<uint8_t>(0xC0 | (value >> 24)), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

// TypeDefOrRefOrSpecEncoded forms of a row.
inline Bytes typeDefCoded(uint32_t row) { return compressed(row << 2); }
inline Bytes typeRefCoded(uint32_t row) { return compressed((row << 2) | 1); }
inline Bytes typeSpecCoded(uint32_t row) { return compressed((row << 2) | 2); }

inline uint32_t typeRefToken(uint32_t row) { return 0x01000000u | row; }
inline uint32_t typeDefToken(uint32_t row) { return 0x02000000u | row; }

class ExactCopy {
public:
    explicit ExactCopy(const Bytes& bytes) : ExactCopy(bytes, bytes.size()) {}
    ExactCopy(const Bytes& bytes, size_t prefix) : m_data(new uint8_t[prefix]), m_size(prefix) {
        if (prefix != 0) std::memcpy(m_data.get(), bytes.data(), prefix);
    }
    const uint8_t* data() const { return m_data.get(); }
    uint32_t size() const { return static_cast<uint32_t>(m_size); }

private:
    std::unique_ptr<uint8_t[]> m_data;
    size_t m_size;
};

}  // namespace testing_support
