// A module's metadata for tests: one object that answers as the runtime's
// import, assembly import, emit and assembly emit over in-memory tables.
// Rows a test adds or the code under test emits get the next row number of
// their table, as the runtime numbers them, and are seen at once by every
// lookup and by enumerations opened afterwards. Every slot the tests have no
// use for answers E_NOTIMPL and is remembered, so a test notices when the
// code under test reaches for one. Safe to call from several threads.
#pragma once

#include "abi/metadata.h"
#include "common/utf16.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace module_testing {

using namespace cor;
using Blob = std::vector<uint8_t>;

struct AssemblyRefRow {
    vesk::WString name;
    Blob publicKeyOrToken;
    // As handed to DefineAssemblyRef; its pointers are only ever compared
    // with null.
    ASSEMBLYMETADATA metadata = {};
    bool hadMetadata = false;
    Blob hash;
    bool hashPointerGiven = false;
    DWORD flags = 0;
};

struct TypeRefRow {
    mdToken scope = mdTokenNil;
    vesk::WString name;
};

struct TypeDefRow {
    vesk::WString name;
};

struct MemberRow {
    // The parent of a member reference, the owner of a method definition.
    mdToken parent = mdTokenNil;
    vesk::WString name;
    Blob sig;
};

class FakeModuleScope : public IMetaDataImport,
                        public IMetaDataAssemblyImport,
                        public IMetaDataEmit,
                        public IMetaDataAssemblyEmit {
public:
    // ---- what the test sets up and looks at --------------------------------

    std::map<uint32_t, AssemblyRefRow> assemblyRefs;
    std::map<uint32_t, TypeRefRow> typeRefs;
    // The name of the assembly the module belongs to.
    vesk::WString assemblyName = VESK_W("App");
    std::map<uint32_t, TypeDefRow> typeDefs;
    std::map<uint32_t, MemberRow> memberRefs;
    std::map<uint32_t, MemberRow> methodDefs;

    // Member references whose properties cannot be read, and how they fail.
    std::map<mdToken, HRESULT> failingMemberRefProps;
    // What QueryInterface answers for the assembly emit interface.
    bool offersAssemblyEmit = true;

    std::atomic<long> refCount{1};

    mdAssemblyRef addAssemblyRef(const vesk::WString& name) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        uint32_t rid = nextRid(assemblyRefs);
        assemblyRefs[rid].name = name;
        return mdtAssemblyRef | rid;
    }
    mdTypeRef addTypeRef(mdToken scope, const vesk::WString& name) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        return addTypeRefAt(nextRid(typeRefs), scope, name);
    }
    mdTypeRef addTypeRefAt(uint32_t rid, mdToken scope, const vesk::WString& name) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        typeRefs[rid] = TypeRefRow{scope, name};
        return mdtTypeRef | rid;
    }
    mdTypeDef addTypeDef(const vesk::WString& name) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        return addTypeDefAt(nextRid(typeDefs), name);
    }
    mdTypeDef addTypeDefAt(uint32_t rid, const vesk::WString& name) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        typeDefs[rid].name = name;
        return mdtTypeDef | rid;
    }
    mdMemberRef addMemberRef(mdToken parent, const vesk::WString& name, const Blob& sig) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        uint32_t rid = nextRid(memberRefs);
        memberRefs[rid] = MemberRow{parent, name, sig};
        return mdtMemberRef | rid;
    }
    mdMethodDef addMethodDef(mdTypeDef owner, const vesk::WString& name, const Blob& sig) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        uint32_t rid = nextRid(methodDefs);
        methodDefs[rid] = MemberRow{owner, name, sig};
        return mdtMethodDef | rid;
    }

    // How often a slot was called; unimplemented slots count as well.
    int calls(const std::string& slot) const {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        auto found = m_calls.find(slot);
        return found == m_calls.end() ? 0 : found->second;
    }
    std::vector<std::string> unimplementedCalls() const {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        return m_unimplemented;
    }
    int openEnums() const {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        return m_openEnums;
    }

    // ---- IUnknown ----------------------------------------------------------

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        count("QueryInterface");
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IMetaDataImport) {
            *ppv = static_cast<IMetaDataImport*>(this);
        } else if (riid == IID_IMetaDataAssemblyImport) {
            *ppv = static_cast<IMetaDataAssemblyImport*>(this);
        } else if (riid == IID_IMetaDataEmit) {
            *ppv = static_cast<IMetaDataEmit*>(this);
        } else if (riid == IID_IMetaDataAssemblyEmit && offersAssemblyEmit) {
            *ppv = static_cast<IMetaDataAssemblyEmit*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refCount); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refCount); }

    // ---- enumerations (both import interfaces share the handles) -----------

    void STDMETHODCALLTYPE CloseEnum(HCORENUM hEnum) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("CloseEnum");
        if (hEnum == nullptr) return;
        delete static_cast<Cursor*>(hEnum);
        --m_openEnums;
    }
    HRESULT STDMETHODCALLTYPE EnumAssemblyRefs(HCORENUM* phEnum, mdAssemblyRef rAssemblyRefs[], ULONG cMax,
                                               ULONG* pcTokens) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("EnumAssemblyRefs");
        return nextBatch(phEnum, [&] { return tokensOf(assemblyRefs, mdtAssemblyRef); }, rAssemblyRefs, cMax,
                         pcTokens);
    }
    HRESULT STDMETHODCALLTYPE EnumTypeRefs(HCORENUM* phEnum, mdTypeRef rTypeRefs[], ULONG cMax,
                                           ULONG* pcTypeRefs) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("EnumTypeRefs");
        return nextBatch(phEnum, [&] { return tokensOf(typeRefs, mdtTypeRef); }, rTypeRefs, cMax, pcTypeRefs);
    }
    HRESULT STDMETHODCALLTYPE EnumMemberRefs(HCORENUM* phEnum, mdToken tkParent, mdMemberRef rMemberRefs[], ULONG cMax,
                                             ULONG* pcTokens) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("EnumMemberRefs");
        return nextBatch(
            phEnum,
            [&] {
                std::vector<mdToken> all;
                for (const auto& row : memberRefs)
                    if (row.second.parent == tkParent) all.push_back(mdtMemberRef | row.first);
                return all;
            },
            rMemberRefs, cMax, pcTokens);
    }
    HRESULT STDMETHODCALLTYPE EnumMethodsWithName(HCORENUM* phEnum, mdTypeDef cl, LPCWSTR szName,
                                                  mdMethodDef rMethods[], ULONG cMax, ULONG* pcTokens) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("EnumMethodsWithName");
        return nextBatch(
            phEnum,
            [&] {
                std::vector<mdToken> all;
                for (const auto& row : methodDefs)
                    if (row.second.parent == cl && row.second.name == szName) all.push_back(mdtMethodDef | row.first);
                return all;
            },
            rMethods, cMax, pcTokens);
    }

    // ---- lookups -----------------------------------------------------------

    HRESULT STDMETHODCALLTYPE GetAssemblyFromScope(mdAssembly* ptkAssembly) override {
        *ptkAssembly = 0x20000001;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAssemblyProps(mdAssembly mda, const void**, ULONG*, ULONG*, LPWSTR szName, ULONG cchName,
                                               ULONG* pchName, ASSEMBLYMETADATA*, DWORD*) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        if (mda != 0x20000001) return CLDB_E_RECORD_NOTFOUND;
        return writeName(assemblyName, szName, cchName, pchName);
    }
    HRESULT STDMETHODCALLTYPE FindTypeDefByName(LPCWSTR szTypeDef, mdToken tkEnclosingClass, mdTypeDef* ptd) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("FindTypeDefByName");
        *ptd = mdTokenNil;
        if (tkEnclosingClass != mdTokenNil) return CLDB_E_RECORD_NOTFOUND;
        for (const auto& row : typeDefs) {
            if (row.second.name == szTypeDef) {
                *ptd = mdtTypeDef | row.first;
                return S_OK;
            }
        }
        return CLDB_E_RECORD_NOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE FindTypeRef(mdToken tkResolutionScope, LPCWSTR szName, mdTypeRef* ptr) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("FindTypeRef");
        *ptr = mdTokenNil;
        for (const auto& row : typeRefs) {
            if (row.second.scope == tkResolutionScope && row.second.name == szName) {
                *ptr = mdtTypeRef | row.first;
                return S_OK;
            }
        }
        return CLDB_E_RECORD_NOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE FindMemberRef(mdTypeRef td, LPCWSTR szName, PCCOR_SIGNATURE pvSigBlob, ULONG cbSigBlob,
                                            mdMemberRef* pmr) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("FindMemberRef");
        *pmr = mdTokenNil;
        for (const auto& row : memberRefs) {
            const MemberRow& ref = row.second;
            if (ref.parent != td || ref.name != szName) continue;
            if (pvSigBlob != nullptr && Blob(pvSigBlob, pvSigBlob + cbSigBlob) != ref.sig) continue;
            *pmr = mdtMemberRef | row.first;
            return S_OK;
        }
        return CLDB_E_RECORD_NOTFOUND;
    }

    // ---- properties --------------------------------------------------------

    HRESULT STDMETHODCALLTYPE GetAssemblyRefProps(mdAssemblyRef mdar, const void** ppbPublicKeyOrToken,
                                                  ULONG* pcbPublicKeyOrToken, LPWSTR szName, ULONG cchName,
                                                  ULONG* pchName, ASSEMBLYMETADATA* pMetaData,
                                                  const void** ppbHashValue, ULONG* pcbHashValue,
                                                  DWORD* pdwAssemblyRefFlags) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("GetAssemblyRefProps");
        const AssemblyRefRow* row = findRow(assemblyRefs, mdar, mdtAssemblyRef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        if (ppbPublicKeyOrToken != nullptr) *ppbPublicKeyOrToken = row->publicKeyOrToken.data();
        if (pcbPublicKeyOrToken != nullptr) *pcbPublicKeyOrToken = static_cast<ULONG>(row->publicKeyOrToken.size());
        if (pMetaData != nullptr) {
            pMetaData->usMajorVersion = row->metadata.usMajorVersion;
            pMetaData->usMinorVersion = row->metadata.usMinorVersion;
            pMetaData->usBuildNumber = row->metadata.usBuildNumber;
            pMetaData->usRevisionNumber = row->metadata.usRevisionNumber;
        }
        if (ppbHashValue != nullptr) *ppbHashValue = row->hash.data();
        if (pcbHashValue != nullptr) *pcbHashValue = static_cast<ULONG>(row->hash.size());
        if (pdwAssemblyRefFlags != nullptr) *pdwAssemblyRefFlags = row->flags;
        return writeName(row->name, szName, cchName, pchName);
    }
    HRESULT STDMETHODCALLTYPE GetTypeRefProps(mdTypeRef tr, mdToken* ptkResolutionScope, LPWSTR szName, ULONG cchName,
                                              ULONG* pchName) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("GetTypeRefProps");
        const TypeRefRow* row = findRow(typeRefs, tr, mdtTypeRef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        if (ptkResolutionScope != nullptr) *ptkResolutionScope = row->scope;
        return writeName(row->name, szName, cchName, pchName);
    }
    HRESULT STDMETHODCALLTYPE GetTypeDefProps(mdTypeDef td, LPWSTR szTypeDef, ULONG cchTypeDef, ULONG* pchTypeDef,
                                              DWORD* pdwTypeDefFlags, mdToken* ptkExtends) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("GetTypeDefProps");
        const TypeDefRow* row = findRow(typeDefs, td, mdtTypeDef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        if (pdwTypeDefFlags != nullptr) *pdwTypeDefFlags = 0;
        if (ptkExtends != nullptr) *ptkExtends = mdTokenNil;
        return writeName(row->name, szTypeDef, cchTypeDef, pchTypeDef);
    }
    HRESULT STDMETHODCALLTYPE GetMemberRefProps(mdMemberRef mr, mdToken* ptk, LPWSTR szMember, ULONG cchMember,
                                                ULONG* pchMember, PCCOR_SIGNATURE* ppvSigBlob, ULONG* pbSig) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("GetMemberRefProps");
        auto failing = failingMemberRefProps.find(mr);
        if (failing != failingMemberRefProps.end()) return failing->second;
        const MemberRow* row = findRow(memberRefs, mr, mdtMemberRef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        return answerMember(*row, ptk, szMember, cchMember, pchMember, ppvSigBlob, pbSig);
    }
    HRESULT STDMETHODCALLTYPE GetMemberProps(mdToken mb, mdTypeDef* pClass, LPWSTR szMember, ULONG cchMember,
                                             ULONG* pchMember, DWORD* pdwAttr, PCCOR_SIGNATURE* ppvSigBlob,
                                             ULONG* pcbSigBlob, ULONG* pulCodeRVA, DWORD* pdwImplFlags,
                                             DWORD* pdwCPlusTypeFlag, UVCP_CONSTANT* ppValue,
                                             ULONG* pcchValue) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("GetMemberProps");
        // Method definitions only: member references are no members of a
        // type of this module.
        const MemberRow* row = findRow(methodDefs, mb, mdtMethodDef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        if (pdwAttr != nullptr) *pdwAttr = 0;
        if (pulCodeRVA != nullptr) *pulCodeRVA = 0;
        if (pdwImplFlags != nullptr) *pdwImplFlags = 0;
        if (pdwCPlusTypeFlag != nullptr) *pdwCPlusTypeFlag = 0;
        if (ppValue != nullptr) *ppValue = nullptr;
        if (pcchValue != nullptr) *pcchValue = 0;
        return answerMember(*row, pClass, szMember, cchMember, pchMember, ppvSigBlob, pcbSigBlob);
    }
    HRESULT STDMETHODCALLTYPE GetMethodProps(mdMethodDef mb, mdTypeDef* pClass, LPWSTR szMethod, ULONG cchMethod,
                                             ULONG* pchMethod, DWORD* pdwAttr, PCCOR_SIGNATURE* ppvSigBlob,
                                             ULONG* pcbSigBlob, ULONG* pulCodeRVA, DWORD* pdwImplFlags) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("GetMethodProps");
        const MemberRow* row = findRow(methodDefs, mb, mdtMethodDef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        if (pdwAttr != nullptr) *pdwAttr = 0;
        if (pulCodeRVA != nullptr) *pulCodeRVA = 0;
        if (pdwImplFlags != nullptr) *pdwImplFlags = 0;
        return answerMember(*row, pClass, szMethod, cchMethod, pchMethod, ppvSigBlob, pcbSigBlob);
    }

    // ---- emit --------------------------------------------------------------

    HRESULT STDMETHODCALLTYPE DefineAssemblyRef(const void* pbPublicKeyOrToken, ULONG cbPublicKeyOrToken,
                                                LPCWSTR szName, const ASSEMBLYMETADATA* pMetaData,
                                                const void* pbHashValue, ULONG cbHashValue, DWORD dwAssemblyRefFlags,
                                                mdAssemblyRef* pmdar) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("DefineAssemblyRef");
        if (szName == nullptr || pmdar == nullptr) return E_INVALIDARG;
        AssemblyRefRow row;
        row.name = szName;
        const uint8_t* key = static_cast<const uint8_t*>(pbPublicKeyOrToken);
        if (key != nullptr) row.publicKeyOrToken.assign(key, key + cbPublicKeyOrToken);
        row.hadMetadata = pMetaData != nullptr;
        if (pMetaData != nullptr) row.metadata = *pMetaData;
        row.hashPointerGiven = pbHashValue != nullptr;
        const uint8_t* hash = static_cast<const uint8_t*>(pbHashValue);
        if (hash != nullptr) row.hash.assign(hash, hash + cbHashValue);
        row.flags = dwAssemblyRefFlags;
        uint32_t rid = nextRid(assemblyRefs);
        assemblyRefs[rid] = row;
        *pmdar = mdtAssemblyRef | rid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DefineTypeRefByName(mdToken tkResolutionScope, LPCWSTR szName, mdTypeRef* ptr) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("DefineTypeRefByName");
        if (szName == nullptr || ptr == nullptr) return E_INVALIDARG;
        *ptr = addTypeRef(tkResolutionScope, szName);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DefineMemberRef(mdToken tkImport, LPCWSTR szName, PCCOR_SIGNATURE pvSigBlob,
                                              ULONG cbSigBlob, mdMemberRef* pmr) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("DefineMemberRef");
        if (szName == nullptr || pmr == nullptr || (pvSigBlob == nullptr && cbSigBlob != 0)) return E_INVALIDARG;
        Blob sig;
        if (pvSigBlob != nullptr) sig.assign(pvSigBlob, pvSigBlob + cbSigBlob);
        *pmr = addMemberRef(tkImport, szName, sig);
        return S_OK;
    }

    BOOL STDMETHODCALLTYPE IsValidToken(mdToken) override {
        notImplemented("IsValidToken");
        return 0;
    }

#define FAKE_NOTIMPL(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return notImplemented(#name); }
    // IMetaDataImport
    FAKE_NOTIMPL(CountEnum, HCORENUM, ULONG*)
    FAKE_NOTIMPL(ResetEnum, HCORENUM, ULONG)
    FAKE_NOTIMPL(EnumTypeDefs, HCORENUM*, mdTypeDef*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumInterfaceImpls, HCORENUM*, mdTypeDef, mdInterfaceImpl*, ULONG, ULONG*)
    FAKE_NOTIMPL(GetScopeProps, LPWSTR, ULONG, ULONG*, GUID*)
    FAKE_NOTIMPL(GetModuleFromScope, mdModule*)
    FAKE_NOTIMPL(GetInterfaceImplProps, mdInterfaceImpl, mdTypeDef*, mdToken*)
    FAKE_NOTIMPL(ResolveTypeRef, mdTypeRef, REFIID, IUnknown**, mdTypeDef*)
    FAKE_NOTIMPL(EnumMembers, HCORENUM*, mdTypeDef, mdToken*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumMembersWithName, HCORENUM*, mdTypeDef, LPCWSTR, mdToken*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumMethods, HCORENUM*, mdTypeDef, mdMethodDef*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumFields, HCORENUM*, mdTypeDef, mdFieldDef*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumFieldsWithName, HCORENUM*, mdTypeDef, LPCWSTR, mdFieldDef*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumParams, HCORENUM*, mdMethodDef, mdParamDef*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumMethodImpls, HCORENUM*, mdTypeDef, mdToken*, mdToken*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumPermissionSets, HCORENUM*, mdToken, DWORD, mdPermission*, ULONG, ULONG*)
    FAKE_NOTIMPL(FindMember, mdTypeDef, LPCWSTR, PCCOR_SIGNATURE, ULONG, mdToken*)
    FAKE_NOTIMPL(FindMethod, mdTypeDef, LPCWSTR, PCCOR_SIGNATURE, ULONG, mdMethodDef*)
    FAKE_NOTIMPL(FindField, mdTypeDef, LPCWSTR, PCCOR_SIGNATURE, ULONG, mdFieldDef*)
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
    FAKE_NOTIMPL(GetFieldProps, mdFieldDef, mdTypeDef*, LPWSTR, ULONG, ULONG*, DWORD*, PCCOR_SIGNATURE*, ULONG*,
                 DWORD*, UVCP_CONSTANT*, ULONG*)
    FAKE_NOTIMPL(GetPropertyProps, mdProperty, mdTypeDef*, LPCWSTR, ULONG, ULONG*, DWORD*, PCCOR_SIGNATURE*, ULONG*,
                 DWORD*, UVCP_CONSTANT*, ULONG*, mdMethodDef*, mdMethodDef*, mdMethodDef*, ULONG, ULONG*)
    FAKE_NOTIMPL(GetParamProps, mdParamDef, mdMethodDef*, ULONG*, LPWSTR, ULONG, ULONG*, DWORD*, DWORD*,
                 UVCP_CONSTANT*, ULONG*)
    FAKE_NOTIMPL(GetCustomAttributeByName, mdToken, LPCWSTR, const void**, ULONG*)
    FAKE_NOTIMPL(GetNestedClassProps, mdTypeDef, mdTypeDef*)
    FAKE_NOTIMPL(GetNativeCallConvFromSig, void const*, ULONG, ULONG*)
    FAKE_NOTIMPL(IsGlobal, mdToken, int*)
    // IMetaDataAssemblyImport
    FAKE_NOTIMPL(GetFileProps, mdFile, LPWSTR, ULONG, ULONG*, const void**, ULONG*, DWORD*)
    FAKE_NOTIMPL(GetExportedTypeProps, mdExportedType, LPWSTR, ULONG, ULONG*, mdToken*, mdTypeDef*, DWORD*)
    FAKE_NOTIMPL(GetManifestResourceProps, mdManifestResource, LPWSTR, ULONG, ULONG*, mdToken*, DWORD*, DWORD*)
    FAKE_NOTIMPL(EnumFiles, HCORENUM*, mdFile*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumExportedTypes, HCORENUM*, mdExportedType*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumManifestResources, HCORENUM*, mdManifestResource*, ULONG, ULONG*)
    FAKE_NOTIMPL(FindExportedTypeByName, LPCWSTR, mdToken, mdExportedType*)
    FAKE_NOTIMPL(FindManifestResourceByName, LPCWSTR, mdManifestResource*)
    FAKE_NOTIMPL(FindAssembliesByName, LPCWSTR, LPCWSTR, LPCWSTR, IUnknown**, ULONG, ULONG*)
    // IMetaDataEmit
    FAKE_NOTIMPL(SetModuleProps, LPCWSTR)
    FAKE_NOTIMPL(Save, LPCWSTR, DWORD)
    FAKE_NOTIMPL(SaveToStream, IUnknown*, DWORD)
    FAKE_NOTIMPL(GetSaveSize, int, DWORD*)
    FAKE_NOTIMPL(DefineTypeDef, LPCWSTR, DWORD, mdToken, mdToken*, mdTypeDef*)
    FAKE_NOTIMPL(DefineNestedType, LPCWSTR, DWORD, mdToken, mdToken*, mdTypeDef, mdTypeDef*)
    FAKE_NOTIMPL(SetHandler, IUnknown*)
    FAKE_NOTIMPL(DefineMethod, mdTypeDef, LPCWSTR, DWORD, PCCOR_SIGNATURE, ULONG, ULONG, DWORD, mdMethodDef*)
    FAKE_NOTIMPL(DefineMethodImpl, mdTypeDef, mdToken, mdToken)
    FAKE_NOTIMPL(DefineImportType, IUnknown*, const void*, ULONG, IUnknown*, mdTypeDef, IUnknown*, mdTypeRef*)
    FAKE_NOTIMPL(DefineImportMember, IUnknown*, const void*, ULONG, IUnknown*, mdToken, IUnknown*, mdToken,
                 mdMemberRef*)
    FAKE_NOTIMPL(DefineEvent, mdTypeDef, LPCWSTR, DWORD, mdToken, mdMethodDef, mdMethodDef, mdMethodDef, mdMethodDef*,
                 mdEvent*)
    FAKE_NOTIMPL(SetClassLayout, mdTypeDef, DWORD, COR_FIELD_OFFSET_MD*, ULONG)
    FAKE_NOTIMPL(DeleteClassLayout, mdTypeDef)
    FAKE_NOTIMPL(SetFieldMarshal, mdToken, PCCOR_SIGNATURE, ULONG)
    FAKE_NOTIMPL(DeleteFieldMarshal, mdToken)
    FAKE_NOTIMPL(DefinePermissionSet, mdToken, DWORD, void const*, ULONG, mdPermission*)
    FAKE_NOTIMPL(SetRVA, mdMethodDef, ULONG)
    FAKE_NOTIMPL(GetTokenFromSig, PCCOR_SIGNATURE, ULONG, mdSignature*)
    FAKE_NOTIMPL(DefineModuleRef, LPCWSTR, mdModuleRef*)
    FAKE_NOTIMPL(SetParent, mdMemberRef, mdToken)
    FAKE_NOTIMPL(GetTokenFromTypeSpec, PCCOR_SIGNATURE, ULONG, mdTypeSpec*)
    FAKE_NOTIMPL(SaveToMemory, void*, ULONG)
    FAKE_NOTIMPL(DefineUserString, LPCWSTR, ULONG, mdString*)
    FAKE_NOTIMPL(DeleteToken, mdToken)
    FAKE_NOTIMPL(SetMethodProps, mdMethodDef, DWORD, ULONG, DWORD)
    FAKE_NOTIMPL(SetTypeDefProps, mdTypeDef, DWORD, mdToken, mdToken*)
    FAKE_NOTIMPL(SetEventProps, mdEvent, DWORD, mdToken, mdMethodDef, mdMethodDef, mdMethodDef, mdMethodDef*)
    FAKE_NOTIMPL(SetPermissionSetProps, mdToken, DWORD, void const*, ULONG, mdPermission*)
    FAKE_NOTIMPL(DefinePinvokeMap, mdToken, DWORD, LPCWSTR, mdModuleRef)
    FAKE_NOTIMPL(SetPinvokeMap, mdToken, DWORD, LPCWSTR, mdModuleRef)
    FAKE_NOTIMPL(DeletePinvokeMap, mdToken)
    FAKE_NOTIMPL(DefineCustomAttribute, mdToken, mdToken, void const*, ULONG, mdCustomAttribute*)
    FAKE_NOTIMPL(SetCustomAttributeValue, mdCustomAttribute, void const*, ULONG)
    FAKE_NOTIMPL(DefineField, mdTypeDef, LPCWSTR, DWORD, PCCOR_SIGNATURE, ULONG, DWORD, void const*, ULONG,
                 mdFieldDef*)
    FAKE_NOTIMPL(DefineProperty, mdTypeDef, LPCWSTR, DWORD, PCCOR_SIGNATURE, ULONG, DWORD, void const*, ULONG,
                 mdMethodDef, mdMethodDef, mdMethodDef*, mdProperty*)
    FAKE_NOTIMPL(DefineParam, mdMethodDef, ULONG, LPCWSTR, DWORD, DWORD, void const*, ULONG, mdParamDef*)
    FAKE_NOTIMPL(SetFieldProps, mdFieldDef, DWORD, DWORD, void const*, ULONG)
    FAKE_NOTIMPL(SetPropertyProps, mdProperty, DWORD, DWORD, void const*, ULONG, mdMethodDef, mdMethodDef,
                 mdMethodDef*)
    FAKE_NOTIMPL(SetParamProps, mdParamDef, LPCWSTR, DWORD, DWORD, void const*, ULONG)
    FAKE_NOTIMPL(DefineSecurityAttributeSet, mdToken, void*, ULONG, ULONG*)
    FAKE_NOTIMPL(ApplyEditAndContinue, IUnknown*)
    FAKE_NOTIMPL(TranslateSigWithScope, IUnknown*, const void*, ULONG, IUnknown*, PCCOR_SIGNATURE, ULONG, IUnknown*,
                 IUnknown*, PCOR_SIGNATURE, ULONG, ULONG*)
    FAKE_NOTIMPL(SetMethodImplFlags, mdMethodDef, DWORD)
    FAKE_NOTIMPL(SetFieldRVA, mdFieldDef, ULONG)
    FAKE_NOTIMPL(Merge, IUnknown*, IUnknown*, IUnknown*)
    FAKE_NOTIMPL(MergeEnd)
    // IMetaDataAssemblyEmit
    FAKE_NOTIMPL(DefineAssembly, const void*, ULONG, ULONG, LPCWSTR, const ASSEMBLYMETADATA*, DWORD, mdAssembly*)
    FAKE_NOTIMPL(DefineFile, LPCWSTR, const void*, ULONG, DWORD, mdFile*)
    FAKE_NOTIMPL(DefineExportedType, LPCWSTR, mdToken, mdTypeDef, DWORD, mdExportedType*)
    FAKE_NOTIMPL(DefineManifestResource, LPCWSTR, mdToken, DWORD, DWORD, mdManifestResource*)
    FAKE_NOTIMPL(SetAssemblyProps, mdAssembly, const void*, ULONG, ULONG, LPCWSTR, const ASSEMBLYMETADATA*, DWORD)
    FAKE_NOTIMPL(SetAssemblyRefProps, mdAssemblyRef, const void*, ULONG, LPCWSTR, const ASSEMBLYMETADATA*,
                 const void*, ULONG, DWORD)
    FAKE_NOTIMPL(SetFileProps, mdFile, const void*, ULONG, DWORD)
    FAKE_NOTIMPL(SetExportedTypeProps, mdExportedType, mdToken, mdTypeDef, DWORD)
    FAKE_NOTIMPL(SetManifestResourceProps, mdManifestResource, mdToken, DWORD, DWORD)
#undef FAKE_NOTIMPL

private:
    // An enumeration holds the tokens that matched when it was opened.
    struct Cursor {
        std::vector<mdToken> tokens;
        size_t next = 0;
    };

    template <typename Row>
    static uint32_t nextRid(const std::map<uint32_t, Row>& table) {
        return table.empty() ? 1 : table.rbegin()->first + 1;
    }
    template <typename Row>
    static std::vector<mdToken> tokensOf(const std::map<uint32_t, Row>& table, uint32_t tokenType) {
        std::vector<mdToken> all;
        for (const auto& row : table) all.push_back(tokenType | row.first);
        return all;
    }
    template <typename Row>
    static const Row* findRow(const std::map<uint32_t, Row>& table, mdToken token, uint32_t tokenType) {
        if (TypeFromToken(token) != tokenType) return nullptr;
        auto found = table.find(RidFromToken(token));
        return found == table.end() ? nullptr : &found->second;
    }

    template <typename Collect>
    HRESULT nextBatch(HCORENUM* phEnum, Collect collect, mdToken* out, ULONG cMax, ULONG* count) {
        if (phEnum == nullptr || count == nullptr) return E_INVALIDARG;
        if (*phEnum == nullptr) {
            Cursor* cursor = new Cursor();
            cursor->tokens = collect();
            *phEnum = cursor;
            ++m_openEnums;
        }
        Cursor* cursor = static_cast<Cursor*>(*phEnum);
        ULONG n = 0;
        while (n < cMax && cursor->next < cursor->tokens.size()) out[n++] = cursor->tokens[cursor->next++];
        *count = n;
        return n > 0 ? S_OK : S_FALSE;
    }

    // Copies as much of the name as fits, terminated, and reports the whole
    // length with its terminator, as the runtime does. Without a buffer only
    // the length is asked for.
    static HRESULT writeName(const vesk::WString& text, LPWSTR buffer, ULONG capacity, ULONG* length) {
        const ULONG full = static_cast<ULONG>(text.size() + 1);
        if (length != nullptr) *length = full;
        if (buffer == nullptr) return S_OK;
        if (capacity == 0) return CLDB_S_TRUNCATION;
        const ULONG chars = (full <= capacity ? full : capacity) - 1;
        for (ULONG i = 0; i < chars; ++i) buffer[i] = text[i];
        buffer[chars] = 0;
        return full <= capacity ? S_OK : CLDB_S_TRUNCATION;
    }

    static HRESULT answerMember(const MemberRow& row, mdToken* parent, LPWSTR name, ULONG capacity, ULONG* length,
                                PCCOR_SIGNATURE* sig, ULONG* sigLength) {
        if (parent != nullptr) *parent = row.parent;
        if (sig != nullptr) *sig = row.sig.data();
        if (sigLength != nullptr) *sigLength = static_cast<ULONG>(row.sig.size());
        return writeName(row.name, name, capacity, length);
    }

    void count(const char* slot) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        ++m_calls[slot];
    }
    HRESULT notImplemented(const char* slot) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        ++m_calls[slot];
        m_unimplemented.push_back(slot);
        return E_NOTIMPL;
    }

    mutable std::recursive_mutex m_mutex;
    std::map<std::string, int> m_calls;
    std::vector<std::string> m_unimplemented;
    int m_openEnums = 0;
};

}  // namespace module_testing
