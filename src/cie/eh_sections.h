// The extra data sections after a method's code: exception-handling tables
// in small or fat form, chained by the MoreSects bit.
#pragma once

#include "cie/method_body.h"
#include "cie/offset_map.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavoli {
namespace cie {

// Parses the chain of sections whose first header is at data[start] (a
// 4-byte boundary). On success `end` is the offset just past the last
// section. False when a section is empty or runs past size.
bool parseSections(const uint8_t* data, size_t size, size_t start, std::vector<ExtraSection>& sections, size_t& end);

// Appends the sections to out (which ends at the code's end), padding to a
// 4-byte boundary first, with every clause offset carried through map. A
// small section stays small while its clauses fit. False when an offset does
// not map, or a section is not an EH table or not made of whole clauses: its
// contents cannot be moved safely.
bool emitRemappedSections(const std::vector<ExtraSection>& sections, const OffsetMap& map, std::vector<uint8_t>& out);

}  // namespace cie
}  // namespace tavoli
