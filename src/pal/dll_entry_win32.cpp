// The DLL's entry point: process attach hands the library its own module
// handle. Thread notifications are not wanted.
#include "pal/dll_entry.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        pal::onProcessAttach(instance);
    }
    return TRUE;
}
