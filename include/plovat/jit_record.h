// The record that describes one JIT-compiled code body, handed to the JIT
// writer. The byte offsets are fixed and shared with every reader of the
// record; pointer fields are pointer-sized and each still ends before the next
// field in use. Everything the pointers reach belongs to the caller.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plovat1 {

enum JitRecordFlags : uint32_t {
    kModuleKnown = 0x2,
    kClassKnown = 0x4,
    kCodeRangesPresent = 0x200,
    kModuleFileNamePresent = 0x2000,
    kIlMapPresent = 0x20000,
};

#pragma pack(push, 4)

struct JitCodeRange {
    uint64_t start;
    uint32_t size;
    uint32_t copiedSize;
    union {
        const uint8_t* code;  // heap copy of the code bytes; null for an empty block
        uint64_t codeSlot;    // keeps the field 8 bytes wide on every platform
    };
};

struct IlMapEntry {
    uint32_t nativeStart;
    uint32_t nativeEnd;
    uint32_t ilOffset;
};

struct JitRecord {
    uint32_t methodToken;              // 0
    uint8_t pad4[12];                  // 4
    uint64_t classId;                  // 16
    uint32_t classToken;               // 24
    uint8_t pad28[4];                  // 28
    uint64_t moduleId;                 // 32
    uint32_t codeRangeCount;           // 40
    JitCodeRange* codeRanges;          // 44
    uint8_t pad48[64 - 44 - sizeof(void*)];
    uint64_t registeredModuleId;       // 64
    const char* moduleFileName;        // 72
    uint8_t pad76[88 - 72 - sizeof(void*)];
    uint32_t zero88;                   // 88
    uint8_t pad92[8];                  // 92
    uint32_t ilMapCount;               // 100
    IlMapEntry* ilMap;                 // 104
    uint8_t pad108[128 - 104 - sizeof(void*)];
    uint64_t timestamp;                // 128
    uint8_t pad136[8];                 // 136
    uint32_t flags;                    // 144
    uint8_t pad148[4];                 // 148
};

#pragma pack(pop)

static_assert(sizeof(JitCodeRange) == 24, "JitCodeRange is 24 bytes");
static_assert(offsetof(JitCodeRange, code) == 16, "code copy at 16");
static_assert(sizeof(IlMapEntry) == 12, "IlMapEntry is 12 bytes");
static_assert(sizeof(JitRecord) == 152, "JitRecord is 152 bytes");
static_assert(offsetof(JitRecord, classId) == 16, "class at 16");
static_assert(offsetof(JitRecord, classToken) == 24, "class token at 24");
static_assert(offsetof(JitRecord, moduleId) == 32, "module at 32");
static_assert(offsetof(JitRecord, codeRangeCount) == 40, "range count at 40");
static_assert(offsetof(JitRecord, codeRanges) == 44, "ranges at 44");
static_assert(offsetof(JitRecord, registeredModuleId) == 64, "registered module at 64");
static_assert(offsetof(JitRecord, moduleFileName) == 72, "module file name at 72");
static_assert(offsetof(JitRecord, zero88) == 88, "zero at 88");
static_assert(offsetof(JitRecord, ilMapCount) == 100, "IL map count at 100");
static_assert(offsetof(JitRecord, ilMap) == 104, "IL map at 104");
static_assert(offsetof(JitRecord, timestamp) == 128, "time stamp at 128");
static_assert(offsetof(JitRecord, flags) == 144, "flags at 144");

}  // namespace plovat1
