// Any file the profiler takes for an assembly: the version resource reader
// must stay inside the image and accept only what it can read whole.
#include "fuzz_check.h"
#include "pal/pe_version.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that the sanitizer sees any read past the end.
    std::unique_ptr<uint8_t[]> image(new uint8_t[size]);
    if (size != 0) std::memcpy(image.get(), data, size);
    uint16_t version[4] = {0xAAAA, 0xAAAA, 0xAAAA, 0xAAAA};
    pal::peFileVersion(image.get(), size, version);
    return 0;
}
