#include "prof_utils/os.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

namespace profutils {

const vesk::WChar kDirectorySeparator = L'\\';

bool readEnvironment(const char* name, vesk::WString& value) {
    vesk::WString wideName;
    for (const char* p = name; *p != 0; ++p) wideName.push_back(static_cast<vesk::WChar>(*p));
    DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (needed <= 1) return false;
    std::vector<wchar_t> text(needed);
    DWORD length = GetEnvironmentVariableW(wideName.c_str(), text.data(), needed);
    if (length == 0 || length >= needed) return false;
    value.assign(text.data(), length);
    return true;
}

vesk::WString temporaryDirectory() {
    wchar_t text[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, text);
    if (length == 0 || length > MAX_PATH) return L".";
    return vesk::WString(text, length);
}

bool isDirectorySeparator(vesk::WChar c) { return c == L'\\' || c == L'/'; }

uint32_t currentProcessId() { return static_cast<uint32_t>(GetCurrentProcessId()); }

}  // namespace profutils
