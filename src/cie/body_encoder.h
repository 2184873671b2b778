// Puts a (possibly edited) MethodBody back together as the bytes of a method
// body: header, code, and the extra sections after it.
#pragma once

#include "cie/method_body.h"

#include <cstdint>
#include <vector>

namespace tavoli {
namespace cie {

enum class EncodeStatus {
    Ok,
    UnmappableOffset,  // the layout changed and a branch or clause does not point at an instruction
    UnmovableSection,  // the layout changed and a section is not a well-formed EH table
    TooLarge,
};

// When every instruction keeps its size, the code keeps its layout and the
// header and sections are copied as they came: an unedited body encodes to
// exactly its original bytes. Otherwise branches, switch targets and EH
// clauses are carried to the new offsets, short branches that no longer
// reach become long ones, and a tiny header that no longer fits becomes a
// fat one (which must then be placed on a 4-byte boundary).
EncodeStatus encodeBody(const MethodBody& body, std::vector<uint8_t>& out);

}  // namespace cie
}  // namespace tavoli
