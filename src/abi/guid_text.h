// The braced text form of a GUID: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
#pragma once

#include "abi/types.h"

namespace cor {

// Parses the 38-character braced form (hex digits of either case); false on
// anything else, leaving out untouched.
bool guidFromString(const WCHAR* text, GUID& out);

}  // namespace cor
