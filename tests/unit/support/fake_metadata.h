// A module's metadata for unit tests: one object that answers as the
// runtime's import, assembly import, emit and assembly emit over in-memory
// tables. Rows added by a test or emitted by the code under test get the next
// row number of their table, as the runtime numbers them, and are seen at
// once by every lookup and by enumerations opened afterwards. Every slot no
// test has a use for answers E_NOTIMPL and is remembered, so a test notices
// when the code under test reaches for one. Safe to call from many threads.
#pragma once

#include "abi/metadata.h"
#include "common/utf16.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

using namespace cor;
using Blob = std::vector<uint8_t>;

struct AssemblyRefRow {
    vesk::WString name;
    Blob publicKeyOrToken;
    ASSEMBLYMETADATA metadata = {};  // its pointers are only compared with null
    bool hadMetadata = false;
    Blob hash;
    bool hashPointerGiven = false;
    DWORD flags = 0;
};

// A type reference (scope: its assembly reference) or definition. A name
// read may be made to fail, or to report a length other than the true one.
struct TypeRow {
    mdToken scope = mdTokenNil;
    vesk::WString name;
    HRESULT failure = S_OK;
    long reportedLength = -1;
};

// A member reference (parent: its type) or method definition (its owner).
struct MemberRow {
    mdToken parent = mdTokenNil;
    vesk::WString name;
    Blob sig;
    HRESULT failure = S_OK;
};

class FakeMetadata : public IMetaDataImport,
                     public IMetaDataAssemblyImport,
                     public IMetaDataEmit,
                     public IMetaDataAssemblyEmit {
public:
    // Keyed by row number.
    std::map<uint32_t, AssemblyRefRow> assemblyRefs;
    std::map<uint32_t, TypeRow> typeRefs;
    std::map<uint32_t, TypeRow> typeDefs;
    std::map<uint32_t, MemberRow> memberRefs;
    std::map<uint32_t, MemberRow> methodDefs;
    // Custom attribute values by owner and attribute type name.
    std::map<std::pair<mdToken, vesk::WString>, Blob> attributes;
    // What QueryInterface answers for the assembly emit interface.
    bool offersAssemblyEmit = true;
    std::atomic<long> refCount{1};

    mdAssemblyRef addAssemblyRef(const vesk::WString& name) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        const uint32_t rid = nextRid(assemblyRefs);
        assemblyRefs[rid].name = name;
        return mdtAssemblyRef | rid;
    }
    mdTypeRef addTypeRef(mdToken scope, const vesk::WString& name, uint32_t rid = 0) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        if (rid == 0) rid = nextRid(typeRefs);
        typeRefs[rid] = TypeRow{scope, name, S_OK, -1};
        return mdtTypeRef | rid;
    }
    mdTypeDef addTypeDef(const vesk::WString& name, uint32_t rid = 0) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        if (rid == 0) rid = nextRid(typeDefs);
        typeDefs[rid] = TypeRow{mdTokenNil, name, S_OK, -1};
        return mdtTypeDef | rid;
    }
    mdMemberRef addMemberRef(mdToken parent, const vesk::WString& name, const Blob& sig, uint32_t rid = 0) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        if (rid == 0) rid = nextRid(memberRefs);
        memberRefs[rid] = MemberRow{parent, name, sig, S_OK};
        return mdtMemberRef | rid;
    }
    mdMethodDef addMethodDef(mdTypeDef owner, const vesk::WString& name, const Blob& sig, uint32_t rid = 0) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        if (rid == 0) rid = nextRid(methodDefs);
        methodDefs[rid] = MemberRow{owner, name, sig, S_OK};
        return mdtMethodDef | rid;
    }
    void addAttribute(mdToken owner, const vesk::WString& type, const Blob& value) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        attributes[{owner, type}] = value;
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

    // ---- enumerations (the import interfaces share the handles) -------------

    void STDMETHODCALLTYPE CloseEnum(HCORENUM hEnum) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("CloseEnum");
        if (hEnum == nullptr) return;
        delete static_cast<Cursor*>(hEnum);
        --m_openEnums;
    }
    HRESULT STDMETHODCALLTYPE EnumAssemblyRefs(HCORENUM* phEnum, mdAssemblyRef out[], ULONG cMax,
                                               ULONG* pcTokens) override {
        return enumerate("EnumAssemblyRefs", phEnum, out, cMax, pcTokens, [&] {
            return tokensOf(assemblyRefs, mdtAssemblyRef, [](const AssemblyRefRow&) { return true; });
        });
    }
    HRESULT STDMETHODCALLTYPE EnumTypeRefs(HCORENUM* phEnum, mdTypeRef out[], ULONG cMax, ULONG* pcTokens) override {
        return enumerate("EnumTypeRefs", phEnum, out, cMax, pcTokens,
                         [&] { return tokensOf(typeRefs, mdtTypeRef, [](const TypeRow&) { return true; }); });
    }
    HRESULT STDMETHODCALLTYPE EnumTypeDefs(HCORENUM* phEnum, mdTypeDef out[], ULONG cMax, ULONG* pcTokens) override {
        return enumerate("EnumTypeDefs", phEnum, out, cMax, pcTokens,
                         [&] { return tokensOf(typeDefs, mdtTypeDef, [](const TypeRow&) { return true; }); });
    }
    HRESULT STDMETHODCALLTYPE EnumMemberRefs(HCORENUM* phEnum, mdToken parent, mdMemberRef out[], ULONG cMax,
                                             ULONG* pcTokens) override {
        return enumerate("EnumMemberRefs", phEnum, out, cMax, pcTokens, [&] {
            return tokensOf(memberRefs, mdtMemberRef, [&](const MemberRow& row) { return row.parent == parent; });
        });
    }
    HRESULT STDMETHODCALLTYPE EnumMethods(HCORENUM* phEnum, mdTypeDef owner, mdMethodDef out[], ULONG cMax,
                                          ULONG* pcTokens) override {
        return enumerate("EnumMethods", phEnum, out, cMax, pcTokens, [&] {
            return tokensOf(methodDefs, mdtMethodDef, [&](const MemberRow& row) { return row.parent == owner; });
        });
    }
    HRESULT STDMETHODCALLTYPE EnumMethodsWithName(HCORENUM* phEnum, mdTypeDef owner, LPCWSTR name, mdMethodDef out[],
                                                  ULONG cMax, ULONG* pcTokens) override {
        return enumerate("EnumMethodsWithName", phEnum, out, cMax, pcTokens, [&] {
            return tokensOf(methodDefs, mdtMethodDef,
                            [&](const MemberRow& row) { return row.parent == owner && row.name == name; });
        });
    }

    // ---- lookups -------------------------------------------------------------

    HRESULT STDMETHODCALLTYPE FindTypeDefByName(LPCWSTR name, mdToken enclosing, mdTypeDef* ptd) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("FindTypeDefByName");
        *ptd = mdTokenNil;
        if (enclosing != mdTokenNil) return CLDB_E_RECORD_NOTFOUND;
        for (const auto& row : typeDefs) {
            if (row.second.name != name) continue;
            *ptd = mdtTypeDef | row.first;
            return S_OK;
        }
        return CLDB_E_RECORD_NOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE FindTypeRef(mdToken scope, LPCWSTR name, mdTypeRef* ptr) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("FindTypeRef");
        *ptr = mdTokenNil;
        for (const auto& row : typeRefs) {
            if (row.second.scope != scope || row.second.name != name) continue;
            *ptr = mdtTypeRef | row.first;
            return S_OK;
        }
        return CLDB_E_RECORD_NOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE FindMemberRef(mdTypeRef parent, LPCWSTR name, PCCOR_SIGNATURE sig, ULONG sigLength,
                                            mdMemberRef* pmr) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("FindMemberRef");
        *pmr = mdTokenNil;
        for (const auto& row : memberRefs) {
            const MemberRow& ref = row.second;
            if (ref.parent != parent || ref.name != name) continue;
            if (sig != nullptr && Blob(sig, sig + sigLength) != ref.sig) continue;
            *pmr = mdtMemberRef | row.first;
            return S_OK;
        }
        return CLDB_E_RECORD_NOTFOUND;
    }

    // ---- properties ----------------------------------------------------------

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
        const TypeRow* row = findRow(typeRefs, tr, mdtTypeRef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        if (ptkResolutionScope != nullptr) *ptkResolutionScope = row->scope;
        return writeName(row->name, szName, cchName, pchName, row->failure, row->reportedLength);
    }
    HRESULT STDMETHODCALLTYPE GetTypeDefProps(mdTypeDef td, LPWSTR szTypeDef, ULONG cchTypeDef, ULONG* pchTypeDef,
                                              DWORD* pdwTypeDefFlags, mdToken* ptkExtends) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("GetTypeDefProps");
        const TypeRow* row = findRow(typeDefs, td, mdtTypeDef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        if (pdwTypeDefFlags != nullptr) *pdwTypeDefFlags = 0;
        if (ptkExtends != nullptr) *ptkExtends = mdTokenNil;
        return writeName(row->name, szTypeDef, cchTypeDef, pchTypeDef, row->failure, row->reportedLength);
    }
    HRESULT STDMETHODCALLTYPE GetMemberRefProps(mdMemberRef mr, mdToken* ptk, LPWSTR szMember, ULONG cchMember,
                                                ULONG* pchMember, PCCOR_SIGNATURE* ppvSigBlob, ULONG* pbSig) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("GetMemberRefProps");
        const MemberRow* row = findRow(memberRefs, mr, mdtMemberRef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        return answerMember(*row, ptk, szMember, cchMember, pchMember, ppvSigBlob, pbSig);
    }
    // Method definitions only: member references are no members of a type of
    // this module.
    HRESULT STDMETHODCALLTYPE GetMemberProps(mdToken mb, mdTypeDef* pClass, LPWSTR szMember, ULONG cchMember,
                                             ULONG* pchMember, DWORD* pdwAttr, PCCOR_SIGNATURE* ppvSigBlob,
                                             ULONG* pcbSigBlob, ULONG* pulCodeRVA, DWORD* pdwImplFlags,
                                             DWORD* pdwCPlusTypeFlag, UVCP_CONSTANT* ppValue,
                                             ULONG* pcchValue) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("GetMemberProps");
        if (pdwCPlusTypeFlag != nullptr) *pdwCPlusTypeFlag = 0;
        if (ppValue != nullptr) *ppValue = nullptr;
        if (pcchValue != nullptr) *pcchValue = 0;
        return methodProps(mb, pClass, szMember, cchMember, pchMember, pdwAttr, ppvSigBlob, pcbSigBlob, pulCodeRVA,
                           pdwImplFlags);
    }
    HRESULT STDMETHODCALLTYPE GetMethodProps(mdMethodDef mb, mdTypeDef* pClass, LPWSTR szMethod, ULONG cchMethod,
                                             ULONG* pchMethod, DWORD* pdwAttr, PCCOR_SIGNATURE* ppvSigBlob,
                                             ULONG* pcbSigBlob, ULONG* pulCodeRVA, DWORD* pdwImplFlags) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("GetMethodProps");
        return methodProps(mb, pClass, szMethod, cchMethod, pchMethod, pdwAttr, ppvSigBlob, pcbSigBlob, pulCodeRVA,
                           pdwImplFlags);
    }
    // Not found is S_FALSE with no data, as the runtime answers.
    HRESULT STDMETHODCALLTYPE GetCustomAttributeByName(mdToken owner, LPCWSTR type, const void** ppData,
                                                       ULONG* pcbData) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("GetCustomAttributeByName");
        *ppData = nullptr;
        *pcbData = 0;
        auto found = attributes.find({owner, vesk::WString(type)});
        if (found == attributes.end()) return S_FALSE;
        *ppData = found->second.data();
        *pcbData = static_cast<ULONG>(found->second.size());
        return S_OK;
    }

    // ---- emit ----------------------------------------------------------------

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
        const uint32_t rid = nextRid(assemblyRefs);
        assemblyRefs[rid] = row;
        *pmdar = mdtAssemblyRef | rid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DefineTypeRefByName(mdToken scope, LPCWSTR szName, mdTypeRef* ptr) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("DefineTypeRefByName");
        if (szName == nullptr || ptr == nullptr) return E_INVALIDARG;
        *ptr = addTypeRef(scope, szName);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DefineMemberRef(mdToken parent, LPCWSTR szName, PCCOR_SIGNATURE sig, ULONG sigLength,
                                              mdMemberRef* pmr) override {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        count("DefineMemberRef");
        if (szName == nullptr || pmr == nullptr || (sig == nullptr && sigLength != 0)) return E_INVALIDARG;
        *pmr = addMemberRef(parent, szName, sig == nullptr ? Blob() : Blob(sig, sig + sigLength));
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
    FAKE_NOTIMPL(EnumInterfaceImpls, HCORENUM*, mdTypeDef, mdInterfaceImpl*, ULONG, ULONG*)
    FAKE_NOTIMPL(GetScopeProps, LPWSTR, ULONG, ULONG*, GUID*)
    FAKE_NOTIMPL(GetModuleFromScope, mdModule*)
    FAKE_NOTIMPL(GetInterfaceImplProps, mdInterfaceImpl, mdTypeDef*, mdToken*)
    FAKE_NOTIMPL(ResolveTypeRef, mdTypeRef, REFIID, IUnknown**, mdTypeDef*)
    FAKE_NOTIMPL(EnumMembers, HCORENUM*, mdTypeDef, mdToken*, ULONG, ULONG*)
    FAKE_NOTIMPL(EnumMembersWithName, HCORENUM*, mdTypeDef, LPCWSTR, mdToken*, ULONG, ULONG*)
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
    FAKE_NOTIMPL(GetNestedClassProps, mdTypeDef, mdTypeDef*)
    FAKE_NOTIMPL(GetNativeCallConvFromSig, void const*, ULONG, ULONG*)
    FAKE_NOTIMPL(IsGlobal, mdToken, int*)
    // IMetaDataAssemblyImport
    FAKE_NOTIMPL(GetAssemblyProps, mdAssembly, const void**, ULONG*, ULONG*, LPWSTR, ULONG, ULONG*,
                 ASSEMBLYMETADATA*, DWORD*)
    FAKE_NOTIMPL(GetAssemblyFromScope, mdAssembly*)
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
    template <typename Row, typename Keep>
    static std::vector<mdToken> tokensOf(const std::map<uint32_t, Row>& table, uint32_t tokenType, Keep keep) {
        std::vector<mdToken> all;
        for (const auto& row : table)
            if (keep(row.second)) all.push_back(tokenType | row.first);
        return all;
    }
    template <typename Row>
    static const Row* findRow(const std::map<uint32_t, Row>& table, mdToken token, uint32_t tokenType) {
        if (TypeFromToken(token) != tokenType) return nullptr;
        auto found = table.find(RidFromToken(token));
        return found == table.end() ? nullptr : &found->second;
    }

    template <typename Collect>
    HRESULT enumerate(const char* slot, HCORENUM* phEnum, mdToken* out, ULONG cMax, ULONG* count, Collect collect) {
        std::lock_guard<std::recursive_mutex> hold(m_mutex);
        this->count(slot);
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
    // length with its terminator, as the runtime does; without a buffer only
    // the length is asked for.
    static HRESULT writeName(const vesk::WString& text, LPWSTR buffer, ULONG capacity, ULONG* length,
                             HRESULT failure = S_OK, long reportedLength = -1) {
        const ULONG full = static_cast<ULONG>(text.size() + 1);
        if (length != nullptr) *length = reportedLength >= 0 ? static_cast<ULONG>(reportedLength) : full;
        if (buffer != nullptr && capacity > 0) {
            const ULONG chars = (full <= capacity ? full : capacity) - 1;
            for (ULONG i = 0; i < chars; ++i) buffer[i] = text[i];
            buffer[chars] = 0;
        }
        if (failure != S_OK) return failure;
        if (buffer == nullptr) return S_OK;
        return full <= capacity ? S_OK : CLDB_S_TRUNCATION;
    }

    static HRESULT answerMember(const MemberRow& row, mdToken* parent, LPWSTR name, ULONG capacity, ULONG* length,
                                PCCOR_SIGNATURE* sig, ULONG* sigLength) {
        if (row.failure != S_OK) return row.failure;
        if (parent != nullptr) *parent = row.parent;
        if (sig != nullptr) *sig = row.sig.data();
        if (sigLength != nullptr) *sigLength = static_cast<ULONG>(row.sig.size());
        return writeName(row.name, name, capacity, length);
    }
    HRESULT methodProps(mdToken mb, mdTypeDef* pClass, LPWSTR name, ULONG capacity, ULONG* length, DWORD* attr,
                        PCCOR_SIGNATURE* sig, ULONG* sigLength, ULONG* rva, DWORD* implFlags) {
        const MemberRow* row = findRow(methodDefs, mb, mdtMethodDef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        if (attr != nullptr) *attr = 0;
        if (rva != nullptr) *rva = 0;
        if (implFlags != nullptr) *implFlags = 0;
        return answerMember(*row, pClass, name, capacity, length, sig, sigLength);
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

}  // namespace testing_support
