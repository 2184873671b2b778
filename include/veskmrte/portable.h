// Portability definitions shared by the profiler and the libraries that sit
// beside it: the calling convention of exported functions, the export
// attribute and the UTF-16 character type used across library boundaries.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define VESK_CALL __stdcall
#define VESK_EXPORT __declspec(dllexport)
typedef wchar_t vesk_wchar;
#define VESK_W(s) L##s
#else
#define VESK_CALL
#define VESK_EXPORT __attribute__((visibility("default")))
typedef char16_t vesk_wchar;
#define VESK_W(s) u##s
#endif

#define VESK_EXTERN_C extern "C"
