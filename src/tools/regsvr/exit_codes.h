// The exit status of veskmrte-regsvr, which scripts rely on.
#pragma once

namespace regsvr {

const int kExitSuccess = 0;
// The library's export answered a failure HRESULT.
const int kExitExportFailed = 1;
// Bad arguments, or the library, its export or the store could not be used.
const int kExitUsage = 2;

}  // namespace regsvr
