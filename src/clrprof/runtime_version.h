// Runtime version codes: the core library's file version decides which
// wrapper assembly serves the process.
#pragma once

#include <cstdint>

namespace veskmrte_1_0 {

enum CorVersion : uint32_t {
    mvMSCORUnknown = 0,
    mvMSCOR20 = 1,
    mvMSCOR35SP1 = 2,
    mvMSCOR40 = 3,
};

struct FileVersion;
// The runtime version code of a core library's file version.
uint32_t classifyRuntimeVersion(const FileVersion& corVer);

}  // namespace veskmrte_1_0
