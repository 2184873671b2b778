#include "clrprof/generic_instance.h"

namespace veskmrte_1_0 {

namespace {

const uint8_t kGenericInst = 0x15;
const uint8_t kClass = 0x12;
const uint8_t kValueType = 0x11;
const uint8_t kMethodInstance = 0x0A;

bool readCompressed(const uint8_t*& cursor, const uint8_t* end, uint32_t& value) {
    if (cursor == end) return false;
    const uint8_t first = *cursor;
    if ((first & 0x80) == 0) {
        value = first;
        cursor += 1;
        return true;
    }
    if ((first & 0xC0) == 0x80) {
        if (end - cursor < 2) return false;
        value = (static_cast<uint32_t>(first & 0x3F) << 8) | cursor[1];
        cursor += 2;
        return true;
    }
    if ((first & 0xE0) != 0xC0 || end - cursor < 4) return false;
    value = (static_cast<uint32_t>(first & 0x1F) << 24) | (static_cast<uint32_t>(cursor[1]) << 16) |
            (static_cast<uint32_t>(cursor[2]) << 8) | cursor[3];
    cursor += 4;
    return true;
}

// The count and the argument bytes after it, up to the blob's end.
bool readArguments(const uint8_t* cursor, const uint8_t* end, TypeArguments& out) {
    if (!readCompressed(cursor, end, out.count) || out.count == 0 || cursor == end) return false;
    out.bytes.assign(cursor, end);
    return true;
}

}  // namespace

uint32_t compressedSize(uint32_t value) {
    if (value < 0x80) return 1;
    if (value < 0x4000) return 2;
    if (value < 0x20000000) return 4;
    return 0;
}

void writeCompressed(uint32_t value, uint8_t* out) {
    switch (compressedSize(value)) {
        case 1:
            out[0] = static_cast<uint8_t>(value);
            break;
        case 2:
            out[0] = static_cast<uint8_t>(0x80 | (value >> 8));
            out[1] = static_cast<uint8_t>(value);
            break;
        default:
            out[0] = static_cast<uint8_t>(0xC0 | (value >> 24));
            out[1] = static_cast<uint8_t>(value >> 16);
            out[2] = static_cast<uint8_t>(value >> 8);
            out[3] = static_cast<uint8_t>(value);
            break;
    }
}

bool readTypeInstance(const uint8_t* blob, uint32_t length, TypeArguments& out) {
    out = TypeArguments();
    if (blob == nullptr || length < 2 || blob[0] != kGenericInst || (blob[1] != kClass && blob[1] != kValueType))
        return false;
    const uint8_t* cursor = blob + 2;
    const uint8_t* end = blob + length;
    uint32_t coded = 0;
    if (!readCompressed(cursor, end, coded)) return false;
    // TypeDefOrRef: the table in the low two bits; a TypeSpec cannot be
    // instantiated.
    const uint32_t tables[] = {0x02000000, 0x01000000};
    if ((coded & 3) > 1 || (coded >> 2) == 0) return false;
    out.genericType = tables[coded & 3] | (coded >> 2);
    return readArguments(cursor, end, out);
}

bool readMethodInstance(const uint8_t* blob, uint32_t length, TypeArguments& out) {
    out = TypeArguments();
    if (blob == nullptr || length < 2 || blob[0] != kMethodInstance) return false;
    return readArguments(blob + 1, blob + length, out);
}

std::vector<uint8_t> wrapperInstantiation(const TypeArguments& type, const TypeArguments& method) {
    const uint32_t count = type.count + method.count;
    if (compressedSize(count) == 0) return {};
    std::vector<uint8_t> blob(1 + compressedSize(count));
    blob[0] = kMethodInstance;
    writeCompressed(count, blob.data() + 1);
    blob.insert(blob.end(), type.bytes.begin(), type.bytes.end());
    blob.insert(blob.end(), method.bytes.begin(), method.bytes.end());
    return blob;
}

}  // namespace veskmrte_1_0
