// The file name chosen when the caller gives no hint.
#pragma once

#include "common/utf16.h"

#include <cstdint>
#include <string>

namespace profutils {

// dir/veskmrte-<pid>-<stamp>[-<sequence>].jit. The stamp is the UTC time, to
// the microsecond, at which the process first chose a name, so a later
// process that gets the same id writes elsewhere. The first name chosen has
// no suffix; later ones in the same process get -2, -3, ... so that two
// writers never truncate each other's file.
vesk::WString composeJitFileName(const vesk::WString& dir, uint32_t processId, const std::string& stamp,
                                 unsigned sequence);

// The name for the next generator of this process, in VESKMRTE_JIT_DIR or
// else the temporary directory.
vesk::WString nextDefaultJitFileName();

}  // namespace profutils
