// The library's process-attach work, called once by the platform's load-time
// entry with the library's own module handle. Defined by the library.
#pragma once

#include "pal/pal.h"

namespace pal {
void onProcessAttach(ModuleHandle self);
}
