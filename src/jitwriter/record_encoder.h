// Turns a caller's JitRecord into its self-contained file form. The encoded
// bytes are the deep copy: nothing the record points to is needed after
// encodeRecord returns.
#pragma once

#include "plovat/jit_record.h"

#include <cstddef>
#include <cstdint>

namespace jitwriter {

enum class MeasureResult {
    ok,
    invalid,   // a part its flags announce has a null pointer, or a copy larger than its block
    tooLarge,  // the record would not fit the length field or the address space
};

// Checks the record and gives the size of its encoded form, frame included.
MeasureResult measureRecord(const plovat1::JitRecord& record, size_t& size);

// Encodes the record into out[0, size), size being what measureRecord gave.
// False when the record no longer has that size (the caller changed it
// meanwhile); out then holds garbage but nothing past its end was written.
bool encodeRecord(const plovat1::JitRecord& record, uint8_t* out, size_t size);

}  // namespace jitwriter
