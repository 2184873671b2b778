// Method bodies as the runtime hands them out. Property: an unedited body
// encodes to exactly its original bytes, and those decode to the same
// instructions.
#include "cie/body_decoder.h"
#include "cie/body_encoder.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace tavoli::cie;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MethodBody body;
    if (decodeBody(data, size, body) != DecodeStatus::Ok) return 0;
    FUZZ_CHECK(body.original.size() <= size);
    std::vector<uint8_t> encoded;
    if (encodeBody(body, encoded) != EncodeStatus::Ok) return 0;
    FUZZ_CHECK(encoded == body.original);

    MethodBody again;
    FUZZ_CHECK(decodeBody(encoded.data(), encoded.size(), again) == DecodeStatus::Ok);
    FUZZ_CHECK(again.codeSize == body.codeSize);
    FUZZ_CHECK(again.instructions.size() == body.instructions.size());
    for (size_t i = 0; i < body.instructions.size(); ++i) {
        const Instruction& a = body.instructions[i];
        const Instruction& b = again.instructions[i];
        FUZZ_CHECK(a.offset == b.offset && a.opcode == b.opcode && a.value == b.value && a.target == b.target);
    }
    FUZZ_CHECK(again.sections.size() == body.sections.size());
    return 0;
}
