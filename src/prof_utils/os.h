// The operating-system facts the file-name generator needs.
#pragma once

#include "common/utf16.h"

#include <cstdint>

namespace profutils {

// The value of an environment variable; false when it is unset or empty,
// or when the process runs with raised rights.
bool readEnvironment(const char* name, vesk::WString& value);

// Where temporary files go for this user.
vesk::WString temporaryDirectory();

// True for a character that ends a directory part of a path.
bool isDirectorySeparator(vesk::WChar c);
extern const vesk::WChar kDirectorySeparator;

uint32_t currentProcessId();

}  // namespace profutils
