#include "prof_utils/os.h"

#include "pal/files.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace profutils {

const vesk::WChar kDirectorySeparator = u'/';

bool readEnvironment(const char* name, vesk::WString& value) {
    // Every variable the generator reads names a directory; in a set-user-ID
    // or capability-raised process whoever set the environment must not
    // choose where the process writes, so the system default applies.
    if (pal::isSecureExecution()) return false;
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
