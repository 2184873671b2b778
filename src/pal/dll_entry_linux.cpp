// The shared object's load-time entry: the counterpart of a DLL's
// process-attach notification.
#include "pal/dll_entry.h"
#include "pal/pal.h"

namespace {

__attribute__((constructor)) void onLoad() {
    pal::onProcessAttach(pal::moduleOfAddress(reinterpret_cast<const void*>(&onLoad)));
}

}  // namespace
