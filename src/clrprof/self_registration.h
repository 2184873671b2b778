// The profiler's entries in the registry: what DllRegisterServer and
// DllUnregisterServer do.
#pragma once

#include "abi/types.h"
#include "common/utf16.h"

namespace veskmrte_1_0 {

// Registers the profiler's class with modulePath as its in-process server,
// after removing any earlier registration. S_OK, or E_FAIL with the partial
// entries removed again. An empty path is refused with E_FAIL and nothing is
// touched: an entry without a server would be of no use.
cor::HRESULT registerServer(const vesk::WString& modulePath);

// Removes every entry registerServer makes. Entries that are missing, or that
// others have added keys under, are passed over; always S_OK.
cor::HRESULT unregisterServer();

}  // namespace veskmrte_1_0
