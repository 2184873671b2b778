// Layout of the JIT file, shared by the writer and the readers in this tree.
// docs/jit-file-format.md describes the same layout for outside readers; a
// change here other than adding fields at the end of a part needs a new major
// version.
#pragma once

#include <cstddef>
#include <cstdint>

namespace jitfile {

const size_t kMagicSize = 8;
const unsigned char kMagicBytes[kMagicSize] = {'V', 'E', 'S', 'K', 'J', 'I', 'T', 0};

// Readers refuse a newer major version; a newer minor version only adds
// fields that older readers skip.
const uint16_t kMajorVersion = 1;
const uint16_t kMinorVersion = 0;

// File header, at offset 0.
namespace header {
const size_t kMagic = 0;
const size_t kMajorVersion = 8;
const size_t kMinorVersion = 10;
const size_t kHeaderSize = 12;   // u32: records start at this offset
const size_t kPointerSize = 16;  // u8: sizeof(void*) in the writing process
const size_t kProcessId = 20;    // u32
const size_t kCreatedMicros = 24;  // u64: microseconds since 1970-01-01 UTC
const uint32_t kSize = 32;
}  // namespace header

// Every record starts with a frame: u32 length of everything after the
// length field, u16 kind, u16 length of the kind's fixed part.
namespace frame {
const size_t kLength = 0;
const size_t kKind = 4;
const size_t kFixedSize = 6;
const uint32_t kSize = 8;
}  // namespace frame

// Records of an unknown kind are skipped whole.
const uint16_t kKindJitMethod = 1;

// Fixed part of a JIT-method record, right after the frame. The variable
// parts follow it in this order: module file name bytes, code ranges, IL
// map entries.
namespace method {
const size_t kMethodToken = 0;         // u32
const size_t kClassToken = 4;          // u32
const size_t kClassId = 8;             // u64
const size_t kModuleId = 16;           // u64
const size_t kRegisteredModuleId = 24;  // u64
const size_t kTimestamp = 32;          // u64
const size_t kFlags = 40;              // u32
const size_t kModuleFileNameSize = 44;  // u32: bytes, no terminator
const size_t kCodeRangeCount = 48;     // u32
const size_t kIlMapCount = 52;         // u32
const uint16_t kFixedSize = 56;
}  // namespace method

// One code range: u64 start, u32 size, u32 copied size, then the copied bytes.
namespace code_range {
const size_t kStart = 0;
const size_t kSize = 8;
const size_t kCopiedSize = 12;
const uint32_t kHeadSize = 16;
}  // namespace code_range

// One IL map entry: u32 native start, u32 native end, u32 IL offset.
const uint32_t kIlMapEntrySize = 12;

}  // namespace jitfile
