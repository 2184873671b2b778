// Stand-ins for the runtime's metadata import and dispenser: the import
// answers from tables a test fills in (E_NOTIMPL for everything else) and
// counts what the code under test asked for and gave back.
#pragma once

#include "abi/metadata.h"
#include "common/utf16.h"

#include <map>
#include <utility>
#include <vector>

namespace testing_support {

using namespace cor;

// How the import answers a name request.
struct FakeName {
    vesk::WString text;
    HRESULT hr = S_OK;
    // The length reported, terminator included; negative reports the true
    // one.
    long reportedLength = -1;
};

struct FakeMethod {
    vesk::WString name;
    std::vector<uint8_t> sig;
    HRESULT hr = S_OK;
};

class FakeMetaDataImport : public IMetaDataImport {
public:
    std::map<mdToken, FakeName> typeRefs;
    std::map<mdToken, FakeName> typeDefs;
    // Enumerated in this order.
    std::vector<mdTypeDef> typeDefOrder;
    std::map<mdTypeDef, std::vector<mdMethodDef>> methodsOfType;
    std::map<mdMethodDef, FakeMethod> methods;
    std::map<std::pair<mdToken, vesk::WString>, std::vector<uint8_t>> attributes;

    LONG refCount = 1;
    int openEnums = 0;
    int typeRefRequests = 0;
    int typeDefRequests = 0;
    std::vector<ULONG> typeDefBatchSizes;
    std::vector<ULONG> methodBatchSizes;
    std::vector<mdTypeDef> methodEnumTypes;

    void addTypeRef(mdToken token, const vesk::WString& name) { typeRefs[token].text = name; }
    void addTypeDef(mdToken token, const vesk::WString& name) {
        typeDefs[token].text = name;
        typeDefOrder.push_back(token);
    }
    void addMethod(mdTypeDef type, mdMethodDef method, const vesk::WString& name, const std::vector<uint8_t>& sig) {
        methodsOfType[type].push_back(method);
        methods[method].name = name;
        methods[method].sig = sig;
    }
    void addAttribute(mdToken owner, const vesk::WString& name, const std::vector<uint8_t>& value) {
        attributes[{owner, name}] = value;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IMetaDataImport) {
            AddRef();
            *ppv = static_cast<IMetaDataImport*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refCount); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refCount); }

    void STDMETHODCALLTYPE CloseEnum(HCORENUM hEnum) override {
        if (hEnum == nullptr) return;
        delete static_cast<Cursor*>(hEnum);
        --openEnums;
    }
    HRESULT STDMETHODCALLTYPE EnumTypeDefs(HCORENUM* phEnum, mdTypeDef rTypeDefs[], ULONG cMax,
                                           ULONG* pcTypeDefs) override {
        typeDefBatchSizes.push_back(cMax);
        return nextBatch(phEnum, typeDefOrder, rTypeDefs, cMax, pcTypeDefs);
    }
    HRESULT STDMETHODCALLTYPE EnumMethods(HCORENUM* phEnum, mdTypeDef cl, mdMethodDef rMethods[], ULONG cMax,
                                          ULONG* pcTokens) override {
        if (*phEnum == nullptr) methodEnumTypes.push_back(cl);
        methodBatchSizes.push_back(cMax);
        return nextBatch(phEnum, methodsOfType[cl], rMethods, cMax, pcTokens);
    }
    HRESULT STDMETHODCALLTYPE GetTypeDefProps(mdTypeDef td, LPWSTR szTypeDef, ULONG cchTypeDef, ULONG* pchTypeDef,
                                              DWORD* pdwTypeDefFlags, mdToken* ptkExtends) override {
        ++typeDefRequests;
        return answerName(typeDefs, td, szTypeDef, cchTypeDef, pchTypeDef);
    }
    HRESULT STDMETHODCALLTYPE GetTypeRefProps(mdTypeRef tr, mdToken* ptkResolutionScope, LPWSTR szName, ULONG cchName,
                                              ULONG* pchName) override {
        ++typeRefRequests;
        return answerName(typeRefs, tr, szName, cchName, pchName);
    }
    HRESULT STDMETHODCALLTYPE GetMethodProps(mdMethodDef mb, mdTypeDef* pClass, LPWSTR szMethod, ULONG cchMethod,
                                             ULONG* pchMethod, DWORD* pdwAttr, PCCOR_SIGNATURE* ppvSigBlob,
                                             ULONG* pcbSigBlob, ULONG* pulCodeRVA, DWORD* pdwImplFlags) override {
        auto found = methods.find(mb);
        if (found == methods.end()) return CLDB_E_RECORD_NOTFOUND;
        const FakeMethod& method = found->second;
        if (method.hr != S_OK) return method.hr;
        FakeName name;
        name.text = method.name;
        HRESULT hr = writeName(name, szMethod, cchMethod, pchMethod);
        if (ppvSigBlob != nullptr) *ppvSigBlob = method.sig.data();
        if (pcbSigBlob != nullptr) *pcbSigBlob = static_cast<ULONG>(method.sig.size());
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetCustomAttributeByName(mdToken tkObj, LPCWSTR szName, const void** ppData,
                                                       ULONG* pcbData) override {
        *ppData = nullptr;
        *pcbData = 0;
        auto found = attributes.find({tkObj, vesk::WString(szName)});
        if (found == attributes.end()) return S_FALSE;
        *ppData = found->second.data();
        *pcbData = static_cast<ULONG>(found->second.size());
        return S_OK;
    }
    BOOL STDMETHODCALLTYPE IsValidToken(mdToken) override { return 0; }

#define FAKE_NOTIMPL(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }
    FAKE_NOTIMPL(CountEnum, HCORENUM, ULONG*)
    FAKE_NOTIMPL(ResetEnum, HCORENUM, ULONG)
    FAKE_NOTIMPL(EnumInterfaceImpls, HCORENUM*, mdTypeDef, mdInterfaceImpl*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumTypeRefs, HCORENUM*, mdTypeRef*, ULONG, ULONG*)
    FAKE_NOTIMPL(FindTypeDefByName, LPCWSTR, mdToken, mdTypeDef*)
    FAKE_NOTIMPL(GetScopeProps, LPWSTR, ULONG, ULONG*, GUID*)
    FAKE_NOTIMPL(GetModuleFromScope, mdModule*)
    FAKE_NOTIMPL(GetInterfaceImplProps, mdInterfaceImpl, mdTypeDef*, mdToken*)
    FAKE_NOTIMPL(ResolveTypeRef, mdTypeRef, REFIID, IUnknown**, mdTypeDef*)
    FAKE_NOTIMPL(EnumMembers, HCORENUM*, mdTypeDef, mdToken*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumMembersWithName, HCORENUM*, mdTypeDef, LPCWSTR, mdToken*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumMethodsWithName, HCORENUM*, mdTypeDef, LPCWSTR, mdMethodDef*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumFields, HCORENUM*, mdTypeDef, mdFieldDef*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumFieldsWithName, HCORENUM*, mdTypeDef, LPCWSTR, mdFieldDef*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumParams, HCORENUM*, mdMethodDef, mdParamDef*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumMemberRefs, HCORENUM*, mdToken, mdMemberRef*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumMethodImpls, HCORENUM*, mdTypeDef, mdToken*, mdToken*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumPermissionSets, HCORENUM*, mdToken, DWORD, mdPermission*, ULONG, ULONG*)
    FAKE_NOTIMPL(FindMember, mdTypeDef, LPCWSTR, PCCOR_SIGNATURE, ULONG, mdToken*)
    FAKE_NOTIMPL(FindMethod, mdTypeDef, LPCWSTR, PCCOR_SIGNATURE, ULONG, mdMethodDef*)
    FAKE_NOTIMPL(FindField, mdTypeDef, LPCWSTR, PCCOR_SIGNATURE, ULONG, mdFieldDef*)
    FAKE_NOTIMPL(FindMemberRef, mdTypeRef, LPCWSTR, PCCOR_SIGNATURE, ULONG, mdMemberRef*)
    FAKE_NOTIMPL(GetMemberRefProps, mdMemberRef, mdToken*, LPWSTR, ULONG, ULONG*, PCCOR_SIGNATURE*, ULONG*)
    FAKE_NOTIMPL(EnumProperties, HCORENUM*, mdTypeDef, mdProperty*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumEvents, HCORENUM*, mdTypeDef, mdEvent*, ULONG, ULONG*)
    FAKE_NOTIMPL(GetEventProps, mdEvent, mdTypeDef*, LPCWSTR, ULONG, ULONG*, DWORD*, mdToken*, mdMethodDef*,
                 mdMethodDef*, mdMethodDef*, mdMethodDef*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumMethodSemantics, HCORENUM*, mdMethodDef, mdToken*, ULONG, ULONG*)
    FAKE_NOTIMPL(GetMethodSemantics, mdMethodDef, mdToken, DWORD*)
    FAKE_NOTIMPL(GetClassLayout, mdTypeDef, DWORD*, COR_FIELD_OFFSET_MD*, ULONG, ULONG*, ULONG*)
    FAKE_NOTIMPL(GetFieldMarshal, mdToken, PCCOR_SIGNATURE*, ULONG*)
    FAKE_NOTIMPL(GetRVA, mdToken, ULONG*, DWORD*)
    FAKE_NOTIMPL(GetPermissionSetProps, mdPermission, DWORD*, void const**, ULONG*)
    FAKE_NOTIMPL(GetSigFromToken, mdSignature, PCCOR_SIGNATURE*, ULONG*)
    FAKE_NOTIMPL(GetModuleRefProps, mdModuleRef, LPWSTR, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumModuleRefs, HCORENUM*, mdModuleRef*, ULONG, ULONG*)
    FAKE_NOTIMPL(GetTypeSpecFromToken, mdTypeSpec, PCCOR_SIGNATURE*, ULONG*)
    FAKE_NOTIMPL(GetNameFromToken, mdToken, MDUTF8CSTR*)
    FAKE_NOTIMPL(EnumUnresolvedMethods, HCORENUM*, mdToken*, ULONG, ULONG*)
    FAKE_NOTIMPL(GetUserString, mdString, LPWSTR, ULONG, ULONG*)
    FAKE_NOTIMPL(GetPinvokeMap, mdToken, DWORD*, LPWSTR, ULONG, ULONG*, mdModuleRef*)
    FAKE_NOTIMPL(EnumSignatures, HCORENUM*, mdSignature*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumTypeSpecs, HCORENUM*, mdTypeSpec*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumUserStrings, HCORENUM*, mdString*, ULONG, ULONG*)
    FAKE_NOTIMPL(GetParamForMethodIndex, mdMethodDef, ULONG, mdParamDef*)
    FAKE_NOTIMPL(EnumCustomAttributes, HCORENUM*, mdToken, mdToken, mdCustomAttribute*, ULONG, ULONG*)
    FAKE_NOTIMPL(GetCustomAttributeProps, mdCustomAttribute, mdToken*, mdToken*, void const**, ULONG*)
    FAKE_NOTIMPL(FindTypeRef, mdToken, LPCWSTR, mdTypeRef*)
    FAKE_NOTIMPL(GetMemberProps, mdToken, mdTypeDef*, LPWSTR, ULONG, ULONG*, DWORD*, PCCOR_SIGNATURE*, ULONG*,
                 ULONG*, DWORD*, DWORD*, UVCP_CONSTANT*, ULONG*)
    FAKE_NOTIMPL(GetFieldProps, mdFieldDef, mdTypeDef*, LPWSTR, ULONG, ULONG*, DWORD*, PCCOR_SIGNATURE*, ULONG*,
                 DWORD*, UVCP_CONSTANT*, ULONG*)
    FAKE_NOTIMPL(GetPropertyProps, mdProperty, mdTypeDef*, LPCWSTR, ULONG, ULONG*, DWORD*, PCCOR_SIGNATURE*, ULONG*,
                 DWORD*, UVCP_CONSTANT*, ULONG*, mdMethodDef*, mdMethodDef*, mdMethodDef*, ULONG, ULONG*)
    FAKE_NOTIMPL(GetParamProps, mdParamDef, mdMethodDef*, ULONG*, LPWSTR, ULONG, ULONG*, DWORD*, DWORD*,
                 UVCP_CONSTANT*, ULONG*)
    FAKE_NOTIMPL(GetNestedClassProps, mdTypeDef, mdTypeDef*)
    FAKE_NOTIMPL(GetNativeCallConvFromSig, void const*, ULONG, ULONG*)
    FAKE_NOTIMPL(IsGlobal, mdToken, int*)
#undef FAKE_NOTIMPL

private:
    struct Cursor {
        size_t next = 0;
    };

    HRESULT nextBatch(HCORENUM* phEnum, const std::vector<mdToken>& all, mdToken* out, ULONG cMax, ULONG* count) {
        if (*phEnum == nullptr) {
            *phEnum = new Cursor();
            ++openEnums;
        }
        Cursor* cursor = static_cast<Cursor*>(*phEnum);
        ULONG n = 0;
        while (n < cMax && cursor->next < all.size()) out[n++] = all[cursor->next++];
        *count = n;
        return n > 0 ? S_OK : S_FALSE;
    }

    // Copies as much of the name as fits, terminated, as the runtime does.
    static HRESULT writeName(const FakeName& name, LPWSTR buffer, ULONG capacity, ULONG* length) {
        const ULONG full = static_cast<ULONG>(name.text.size() + 1);
        if (buffer != nullptr && capacity > 0) {
            ULONG chars = full <= capacity ? full - 1 : capacity - 1;
            for (ULONG i = 0; i < chars; ++i) buffer[i] = name.text[i];
            buffer[chars] = 0;
        }
        if (length != nullptr) *length = name.reportedLength >= 0 ? static_cast<ULONG>(name.reportedLength) : full;
        if (name.hr != S_OK) return name.hr;
        return full <= capacity ? S_OK : CLDB_S_TRUNCATION;
    }

    static HRESULT answerName(const std::map<mdToken, FakeName>& names, mdToken token, LPWSTR buffer,
                              ULONG capacity, ULONG* length) {
        auto found = names.find(token);
        if (found == names.end()) return CLDB_E_RECORD_NOTFOUND;
        return writeName(found->second, buffer, capacity, length);
    }
};

class FakeDispenser : public IMetaDataDispenserEx {
public:
    explicit FakeDispenser(FakeMetaDataImport* import) : import(import) {}

    FakeMetaDataImport* import;
    HRESULT openResult = S_OK;
    LONG refCount = 1;
    std::vector<vesk::WString> openedPaths;
    std::vector<IID> openedInterfaces;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refCount); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refCount); }

    HRESULT STDMETHODCALLTYPE OpenScope(LPCWSTR szScope, DWORD dwOpenFlags, REFIID riid, IUnknown** ppIUnk) override {
        openedPaths.push_back(szScope);
        openedInterfaces.push_back(riid);
        *ppIUnk = nullptr;
        if (FAILED(openResult)) return openResult;
        import->AddRef();
        *ppIUnk = import;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DefineScope(REFCLSID, DWORD, REFIID, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OpenScopeOnMemory(const void*, ULONG, DWORD, REFIID, IUnknown**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetOption(REFGUID, const void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOption(REFGUID, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OpenScopeOnITypeInfo(void*, DWORD, REFIID, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCORSystemDirectory(LPWSTR, DWORD, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindAssembly(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, ULONG, ULONG*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindAssemblyModule(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPWSTR, ULONG,
                                                 ULONG*) override {
        return E_NOTIMPL;
    }
};

}  // namespace testing_support
