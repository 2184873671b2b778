#include "prof_utils/os.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace profutils {

const vesk::WChar kDirectorySeparator = u'/';

bool readEnvironment(const char* name, vesk::WString& value) {
    const char* text = std::getenv(name);
    if (text == nullptr || text[0] == 0) return false;
    value = vesk::fromUtf8(text);
    return true;
}

vesk::WString temporaryDirectory() {
    vesk::WString dir;
    if (readEnvironment("TMPDIR", dir)) return dir;
    return u"/tmp";
}

bool isDirectorySeparator(vesk::WChar c) { return c == u'/'; }

uint32_t currentProcessId() { return static_cast<uint32_t>(::getpid()); }

}  // namespace profutils
