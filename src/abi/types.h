// Basic types of the runtime's interfaces, as the runtime defines them on each
// platform: 32-bit LONG/ULONG/DWORD/HRESULT everywhere, pointer-sized runtime
// identifiers, UTF-16 WCHAR.
#pragma once

#include "veskmrte/portable.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace cor {

typedef vesk_wchar WCHAR;
typedef const WCHAR* LPCWSTR;
typedef WCHAR* LPWSTR;
typedef uint8_t BYTE;
typedef uint16_t USHORT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef uint32_t DWORD;
typedef int32_t BOOL;
typedef int32_t HRESULT;
typedef uint32_t ULONG32;
typedef uintptr_t UINT_PTR;
typedef size_t SIZE_T;
typedef const BYTE* LPCBYTE;
typedef void* HCORENUM;

typedef uint32_t mdToken;
typedef mdToken mdModule, mdTypeRef, mdTypeDef, mdFieldDef, mdMethodDef, mdParamDef, mdInterfaceImpl, mdMemberRef,
    mdCustomAttribute, mdPermission, mdSignature, mdEvent, mdProperty, mdModuleRef, mdAssembly, mdAssemblyRef, mdFile,
    mdExportedType, mdManifestResource, mdTypeSpec, mdGenericParam, mdMethodSpec, mdString;
const mdToken mdTokenNil = 0;

typedef UINT_PTR ModuleID, FunctionID, ClassID, ThreadID, ObjectID, AppDomainID, AssemblyID, ProcessID, ContextID,
    GCHandleID, COR_PRF_FRAME_INFO;

typedef const uint8_t* PCCOR_SIGNATURE;

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFIID;
typedef const GUID& REFCLSID;
typedef const GUID& REFGUID;

inline bool operator==(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

const HRESULT S_OK = 0;
const HRESULT S_FALSE = 1;
const HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
const HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
const HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
const HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
const HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
const HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
const HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
const HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
const HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);

inline bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline bool FAILED(HRESULT hr) { return hr < 0; }

}  // namespace cor

#if defined(_WIN32)
#define STDMETHODCALLTYPE __stdcall
#else
#define STDMETHODCALLTYPE
#endif
