// Takes a method body, as the runtime hands it out, apart into a MethodBody.
#pragma once

#include "cie/method_body.h"

#include <cstddef>
#include <cstdint>

namespace tavoli {
namespace cie {

enum class DecodeStatus {
    Ok,
    BadHeader,      // neither a tiny nor a fat header, or a fat header of another size
    MisalignedFat,  // a fat header off a 4-byte boundary: sections could not be found
    EmptyCode,      // no instruction at all
    Truncated,      // the code or a section runs past the body's end
    UnknownOpcode,
    BadSection,  // a section shorter than its header
};

// Reads at most size bytes from data. Anything the body holds past its last
// section is not part of the method and is left out of body.original.
DecodeStatus decodeBody(const uint8_t* data, size_t size, MethodBody& body);

}  // namespace cie
}  // namespace tavoli
