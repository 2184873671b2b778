#include "pal/pe_version.h"

#include <cstring>

namespace pal {

namespace {

const uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
const uint32_t kResourceTypeVersion = 16;
const int kResourceDataDirectory = 2;
// Nested directories deeper than type, name and language are not part of a
// resource tree; the bound also stops loops in a corrupt file.
const int kMaxResourceDepth = 3;

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool has(size_t offset, size_t length) const { return offset <= m_size && length <= m_size - offset; }
    bool u16(size_t offset, uint16_t& v) const { return read(offset, &v, 2); }
    bool u32(size_t offset, uint32_t& v) const { return read(offset, &v, 4); }

private:
    bool read(size_t offset, void* out, size_t length) const {
        if (!has(offset, length)) return false;
        std::memcpy(out, m_data + offset, length);  // the file is little-endian, as are our targets
        return true;
    }
    const uint8_t* m_data;
    size_t m_size;
};

struct Section {
    uint32_t virtualAddress;
    uint32_t virtualSize;
    uint32_t rawPointer;
    uint32_t rawSize;
};

struct PeImage {
    Reader reader;
    size_t sectionTable = 0;
    uint16_t sectionCount = 0;

    bool rvaToOffset(uint32_t rva, size_t& offset) const {
        for (uint16_t i = 0; i < sectionCount; ++i) {
            size_t at = sectionTable + static_cast<size_t>(i) * 40;
            Section s;
            if (!reader.u32(at + 8, s.virtualSize) || !reader.u32(at + 12, s.virtualAddress) ||
                !reader.u32(at + 16, s.rawSize) || !reader.u32(at + 20, s.rawPointer))
                return false;
            uint32_t extent = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
            if (rva >= s.virtualAddress && rva - s.virtualAddress < extent) {
                uint32_t delta = rva - s.virtualAddress;
                if (delta >= s.rawSize) return false;
                offset = static_cast<size_t>(s.rawPointer) + delta;
                return true;
            }
        }
        return false;
    }
};

// Finds the first leaf under the resource directory at dirOffset, taking the
// entry with the given id at the top level and the first entry below it.
bool findVersionLeaf(const PeImage& pe, size_t rootOffset, size_t dirOffset, int depth, size_t& leafOffset) {
    if (depth >= kMaxResourceDepth) return false;
    uint16_t named = 0, ids = 0;
    if (!pe.reader.u16(dirOffset + 12, named) || !pe.reader.u16(dirOffset + 14, ids)) return false;
    size_t count = static_cast<size_t>(named) + ids;
    for (size_t i = 0; i < count; ++i) {
        size_t entry = dirOffset + 16 + i * 8;
        uint32_t name = 0, target = 0;
        if (!pe.reader.u32(entry, name) || !pe.reader.u32(entry + 4, target)) return false;
        if (depth == 0 && name != kResourceTypeVersion) continue;
        size_t next = rootOffset + (target & 0x7FFFFFFFu);
        if (target & 0x80000000u) return findVersionLeaf(pe, rootOffset, next, depth + 1, leafOffset);
        leafOffset = next;
        return true;
    }
    return false;
}

}  // namespace

bool peFileVersion(const uint8_t* image, size_t size, uint16_t version[4]) {
    PeImage pe{Reader(image, size)};
    uint16_t mz = 0;
    uint32_t peOffset = 0, peSignature = 0;
    if (!pe.reader.u16(0, mz) || mz != 0x5A4D || !pe.reader.u32(0x3C, peOffset)) return false;
    if (!pe.reader.u32(peOffset, peSignature) || peSignature != 0x00004550) return false;
    size_t fileHeader = static_cast<size_t>(peOffset) + 4;
    uint16_t optionalSize = 0, magic = 0;
    if (!pe.reader.u16(fileHeader + 2, pe.sectionCount) || !pe.reader.u16(fileHeader + 16, optionalSize))
        return false;
    size_t optional = fileHeader + 20;
    if (!pe.reader.u16(optional, magic)) return false;
    size_t directories;
    if (magic == 0x10B)
        directories = optional + 96;
    else if (magic == 0x20B)
        directories = optional + 112;
    else
        return false;
    pe.sectionTable = optional + optionalSize;
    uint32_t resourceRva = 0;
    if (!pe.reader.u32(directories + kResourceDataDirectory * 8, resourceRva) || resourceRva == 0) return false;
    size_t root = 0;
    if (!pe.rvaToOffset(resourceRva, root)) return false;
    size_t leaf = 0;
    if (!findVersionLeaf(pe, root, root, 0, leaf)) return false;
    uint32_t dataRva = 0, dataSize = 0;
    size_t data = 0;
    if (!pe.reader.u32(leaf, dataRva) || !pe.reader.u32(leaf + 4, dataSize) || !pe.rvaToOffset(dataRva, data))
        return false;
    if (!pe.reader.has(data, dataSize)) return false;
    // VS_VERSIONINFO: three 16-bit words, the key "VS_VERSION_INFO" in UTF-16
    // with its terminator, padding to 32 bits, then the fixed information.
    size_t fixed = data + 6 + 16 * 2;
    fixed = data + ((fixed - data + 3) & ~static_cast<size_t>(3));
    uint32_t signature = 0, versionMs = 0, versionLs = 0;
    if (fixed + 16 > data + dataSize) return false;
    if (!pe.reader.u32(fixed, signature) || signature != kFixedFileInfoSignature) return false;
    if (!pe.reader.u32(fixed + 8, versionMs) || !pe.reader.u32(fixed + 12, versionLs)) return false;
    version[0] = static_cast<uint16_t>(versionMs >> 16);
    version[1] = static_cast<uint16_t>(versionMs & 0xFFFF);
    version[2] = static_cast<uint16_t>(versionLs >> 16);
    version[3] = static_cast<uint16_t>(versionLs & 0xFFFF);
    return true;
}

}  // namespace pal
