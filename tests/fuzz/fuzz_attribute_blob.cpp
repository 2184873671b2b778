// The string arguments of the wrapper assembly's custom attributes. Every
// string read lies inside the blob and the reader always moves forward.
#include "clrprof/attribute_blob.h"
#include "clrprof/signature_parser.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    veskmrte_1_0::AttributeBlobReader reader(data, static_cast<uint32_t>(size));
    if (!reader.skipProlog()) return 0;
    vesk::WString text;
    size_t strings = 0;
    while (reader.readString(text)) {
        FUZZ_CHECK(text.size() < veskmrte_1_0::MAX_CLASS_NAME_SIZE);
        FUZZ_CHECK(++strings <= size);
    }
    return 0;
}
