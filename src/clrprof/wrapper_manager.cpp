#include "clrprof/wrapper_manager.h"

#include "pal/pal.h"

namespace veskmrte_1_0 {

vesk::WString findDllFile(const vesk::WString& dir, const vesk::WString& part, const vesk::WChar* extension) {
    vesk::WString pattern;
    pattern += '*';
    pattern += part;
    pattern += '*';
    pattern += '.';
    pattern += extension;
    return pal::findFirstFile(dir, pattern);
}

}  // namespace veskmrte_1_0
