// The wrapper methods of the chosen wrapper assembly, and the search for the
// profiler's companion files in the tool directory.
#pragma once

#include "common/utf16.h"

namespace veskmrte_1_0 {

// The first file in dir (ending with the separator) whose name matches
// *part*.extension, in byte-wise sorted order; empty when none matches.
vesk::WString findDllFile(const vesk::WString& dir, const vesk::WString& part, const vesk::WChar* extension);

class WrapperManager {
public:
    WrapperManager() = default;
    WrapperManager(const WrapperManager&) = delete;
    WrapperManager& operator=(const WrapperManager&) = delete;
};

}  // namespace veskmrte_1_0
