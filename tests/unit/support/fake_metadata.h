// A module's metadata for unit tests: one object that answers as the
// runtime's import, assembly import, emit and assembly emit over in-memory
// tables. Rows added by a test or emitted by the code under test get the next
// row number of their table, as the runtime numbers them, and are seen at
// once by every lookup and by enumerations opened afterwards. Every slot no
// test has a use for answers E_NOTIMPL and is remembered, so a test notices
// when the code under test reaches for one. Safe to call from many threads.
#pragma once

#include "common/utf16.h"
#include "interface_stubs.h"

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

class FakeMetadata : public IMetaDataImport2Stub,
                     public IMetaDataAssemblyImportStub,
                     public IMetaDataEmit2Stub,
                     public IMetaDataAssemblyEmitStub {
public:
    // Keyed by row number.
    std::map<uint32_t, AssemblyRefRow> assemblyRefs;
    std::map<uint32_t, TypeRow> typeRefs;
    std::map<uint32_t, TypeRow> typeDefs;
    std::map<uint32_t, MemberRow> memberRefs;
    std::map<uint32_t, MemberRow> methodDefs;
    // TypeSpec rows by their blob; MethodSpec rows as (parent,
    // instantiation blob).
    std::map<uint32_t, Blob> typeSpecs;
    std::map<uint32_t, std::pair<mdToken, Blob>> methodSpecs;
    // The name of the assembly the scope belongs to.
    vesk::WString assemblyName = VESK_W("App");
    // Custom attribute values by owner and attribute type name.
    std::map<std::pair<mdToken, vesk::WString>, Blob> attributes;
    // What QueryInterface answers for the assembly emit interface.
    bool offersAssemblyEmit = true;
    std::atomic<long> refCount{1};

    mdAssemblyRef addAssemblyRef(const vesk::WString& name) {
        auto hold = lock();
        const uint32_t rid = nextRid(assemblyRefs);
        assemblyRefs[rid].name = name;
        return mdtAssemblyRef | rid;
    }
    mdTypeRef addTypeRef(mdToken scope, const vesk::WString& name, uint32_t rid = 0) {
        return mdtTypeRef | add(typeRefs, rid, TypeRow{scope, name, S_OK, -1});
    }
    mdTypeDef addTypeDef(const vesk::WString& name, uint32_t rid = 0) {
        return mdtTypeDef | add(typeDefs, rid, TypeRow{mdTokenNil, name, S_OK, -1});
    }
    mdMemberRef addMemberRef(mdToken parent, const vesk::WString& name, const Blob& sig, uint32_t rid = 0) {
        return mdtMemberRef | add(memberRefs, rid, MemberRow{parent, name, sig, S_OK});
    }
    mdMethodDef addMethodDef(mdTypeDef owner, const vesk::WString& name, const Blob& sig, uint32_t rid = 0) {
        return mdtMethodDef | add(methodDefs, rid, MemberRow{owner, name, sig, S_OK});
    }
    mdToken addTypeSpec(const Blob& sig) { return mdtTypeSpec | add(typeSpecs, 0, sig); }
    mdToken addMethodSpec(mdToken parent, const Blob& instantiation) {
        return mdtMethodSpec | add(methodSpecs, 0, std::make_pair(parent, instantiation));
    }
    void addAttribute(mdToken owner, const vesk::WString& type, const Blob& value) {
        auto hold = lock();
        attributes[{owner, type}] = value;
    }

    // How often a slot was called; unimplemented slots count as well.
    int calls(const std::string& slot) const {
        auto hold = lock();
        auto found = m_calls.find(slot);
        return found == m_calls.end() ? 0 : found->second;
    }
    std::vector<std::string> unimplementedCalls() const {
        auto hold = lock();
        return m_unimplemented;
    }
    int openEnums() const {
        auto hold = lock();
        return m_openEnums;
    }

    HRESULT notImplemented(const char* slot) override {
        auto hold = enter(slot);
        m_unimplemented.push_back(slot);
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        auto hold = enter("QueryInterface");
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IMetaDataImport || riid == IID_IMetaDataImport2) {
            *ppv = static_cast<IMetaDataImport2*>(this);
        } else if (riid == IID_IMetaDataAssemblyImport) {
            *ppv = static_cast<IMetaDataAssemblyImport*>(this);
        } else if (riid == IID_IMetaDataEmit || riid == IID_IMetaDataEmit2) {
            *ppv = static_cast<IMetaDataEmit2*>(this);
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
        auto hold = enter("CloseEnum");
        if (hEnum == nullptr) return;
        delete static_cast<Cursor*>(hEnum);
        --m_openEnums;
    }
    HRESULT STDMETHODCALLTYPE EnumAssemblyRefs(HCORENUM* phEnum, mdAssemblyRef out[], ULONG cMax,
                                               ULONG* pcTokens) override {
        return enumerate("EnumAssemblyRefs", phEnum, out, cMax, pcTokens, assemblyRefs, mdtAssemblyRef,
                         [](const AssemblyRefRow&) { return true; });
    }
    HRESULT STDMETHODCALLTYPE EnumTypeRefs(HCORENUM* phEnum, mdTypeRef out[], ULONG cMax, ULONG* pcTokens) override {
        return enumerate("EnumTypeRefs", phEnum, out, cMax, pcTokens, typeRefs, mdtTypeRef,
                         [](const TypeRow&) { return true; });
    }
    HRESULT STDMETHODCALLTYPE EnumTypeDefs(HCORENUM* phEnum, mdTypeDef out[], ULONG cMax, ULONG* pcTokens) override {
        return enumerate("EnumTypeDefs", phEnum, out, cMax, pcTokens, typeDefs, mdtTypeDef,
                         [](const TypeRow&) { return true; });
    }
    HRESULT STDMETHODCALLTYPE EnumMemberRefs(HCORENUM* phEnum, mdToken parent, mdMemberRef out[], ULONG cMax,
                                             ULONG* pcTokens) override {
        return enumerate("EnumMemberRefs", phEnum, out, cMax, pcTokens, memberRefs, mdtMemberRef,
                         [&](const MemberRow& row) { return row.parent == parent; });
    }
    HRESULT STDMETHODCALLTYPE EnumMethods(HCORENUM* phEnum, mdTypeDef owner, mdMethodDef out[], ULONG cMax,
                                          ULONG* pcTokens) override {
        return enumerate("EnumMethods", phEnum, out, cMax, pcTokens, methodDefs, mdtMethodDef,
                         [&](const MemberRow& row) { return row.parent == owner; });
    }
    HRESULT STDMETHODCALLTYPE EnumMethodsWithName(HCORENUM* phEnum, mdTypeDef owner, LPCWSTR name, mdMethodDef out[],
                                                  ULONG cMax, ULONG* pcTokens) override {
        return enumerate("EnumMethodsWithName", phEnum, out, cMax, pcTokens, methodDefs, mdtMethodDef,
                         [&](const MemberRow& row) { return row.parent == owner && row.name == name; });
    }

    // ---- lookups -------------------------------------------------------------

    HRESULT STDMETHODCALLTYPE FindTypeDefByName(LPCWSTR name, mdToken enclosing, mdTypeDef* ptd) override {
        auto hold = enter("FindTypeDefByName");
        return find(typeDefs, mdtTypeDef, ptd, [&](const TypeRow& row) {
            return enclosing == mdTokenNil && row.name == name;
        });
    }
    HRESULT STDMETHODCALLTYPE FindTypeRef(mdToken scope, LPCWSTR name, mdTypeRef* ptr) override {
        auto hold = enter("FindTypeRef");
        return find(typeRefs, mdtTypeRef, ptr, [&](const TypeRow& row) {
            return row.scope == scope && row.name == name;
        });
    }
    HRESULT STDMETHODCALLTYPE FindMemberRef(mdTypeRef parent, LPCWSTR name, PCCOR_SIGNATURE sig, ULONG sigLength,
                                            mdMemberRef* pmr) override {
        auto hold = enter("FindMemberRef");
        return find(memberRefs, mdtMemberRef, pmr, [&](const MemberRow& row) {
            return row.parent == parent && row.name == name && (sig == nullptr || Blob(sig, sig + sigLength) == row.sig);
        });
    }

    // ---- properties ----------------------------------------------------------

    HRESULT STDMETHODCALLTYPE GetAssemblyRefProps(mdAssemblyRef mdar, const void** ppbPublicKeyOrToken,
                                                  ULONG* pcbPublicKeyOrToken, LPWSTR szName, ULONG cchName,
                                                  ULONG* pchName, ASSEMBLYMETADATA* pMetaData,
                                                  const void** ppbHashValue, ULONG* pcbHashValue,
                                                  DWORD* pdwAssemblyRefFlags) override {
        auto hold = enter("GetAssemblyRefProps");
        const AssemblyRefRow* row = findRow(assemblyRefs, mdar, mdtAssemblyRef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        setBlob(row->publicKeyOrToken, ppbPublicKeyOrToken, pcbPublicKeyOrToken);
        setBlob(row->hash, ppbHashValue, pcbHashValue);
        if (pMetaData != nullptr) {  // the version only: the caller's locale and platform buffers stay as given
            pMetaData->usMajorVersion = row->metadata.usMajorVersion;
            pMetaData->usMinorVersion = row->metadata.usMinorVersion;
            pMetaData->usBuildNumber = row->metadata.usBuildNumber;
            pMetaData->usRevisionNumber = row->metadata.usRevisionNumber;
        }
        if (pdwAssemblyRefFlags != nullptr) *pdwAssemblyRefFlags = row->flags;
        return writeName(row->name, szName, cchName, pchName);
    }
    HRESULT STDMETHODCALLTYPE GetAssemblyFromScope(mdAssembly* ptkAssembly) override {
        auto hold = enter("GetAssemblyFromScope");
        *ptkAssembly = 0x20000001u;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAssemblyProps(mdAssembly mda, const void**, ULONG*, ULONG*, LPWSTR szName, ULONG cchName,
                                               ULONG* pchName, ASSEMBLYMETADATA*, DWORD*) override {
        auto hold = enter("GetAssemblyProps");
        if (mda != (0x20000001u)) return CLDB_E_RECORD_NOTFOUND;
        return writeName(assemblyName, szName, cchName, pchName);
    }
    HRESULT STDMETHODCALLTYPE GetTypeRefProps(mdTypeRef tr, mdToken* ptkResolutionScope, LPWSTR szName, ULONG cchName,
                                              ULONG* pchName) override {
        auto hold = enter("GetTypeRefProps");
        const TypeRow* row = findRow(typeRefs, tr, mdtTypeRef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        if (ptkResolutionScope != nullptr) *ptkResolutionScope = row->scope;
        return writeName(row->name, szName, cchName, pchName, row->failure, row->reportedLength);
    }
    HRESULT STDMETHODCALLTYPE GetTypeDefProps(mdTypeDef td, LPWSTR szTypeDef, ULONG cchTypeDef, ULONG* pchTypeDef,
                                              DWORD* pdwTypeDefFlags, mdToken* ptkExtends) override {
        auto hold = enter("GetTypeDefProps");
        const TypeRow* row = findRow(typeDefs, td, mdtTypeDef);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        if (pdwTypeDefFlags != nullptr) *pdwTypeDefFlags = 0;
        if (ptkExtends != nullptr) *ptkExtends = mdTokenNil;
        return writeName(row->name, szTypeDef, cchTypeDef, pchTypeDef, row->failure, row->reportedLength);
    }
    HRESULT STDMETHODCALLTYPE GetMemberRefProps(mdMemberRef mr, mdToken* ptk, LPWSTR szMember, ULONG cchMember,
                                                ULONG* pchMember, PCCOR_SIGNATURE* ppvSigBlob, ULONG* pbSig) override {
        auto hold = enter("GetMemberRefProps");
        return answerMember(findRow(memberRefs, mr, mdtMemberRef), ptk, szMember, cchMember, pchMember, ppvSigBlob,
                            pbSig);
    }
    // Method definitions only: member references are no members of a type of
    // this module.
    HRESULT STDMETHODCALLTYPE GetMemberProps(mdToken mb, mdTypeDef* pClass, LPWSTR szMember, ULONG cchMember,
                                             ULONG* pchMember, DWORD* pdwAttr, PCCOR_SIGNATURE* ppvSigBlob,
                                             ULONG* pcbSigBlob, ULONG* pulCodeRVA, DWORD* pdwImplFlags,
                                             DWORD* pdwCPlusTypeFlag, UVCP_CONSTANT* ppValue,
                                             ULONG* pcchValue) override {
        auto hold = enter("GetMemberProps");
        if (pdwCPlusTypeFlag != nullptr) *pdwCPlusTypeFlag = 0;
        if (ppValue != nullptr) *ppValue = nullptr;
        if (pcchValue != nullptr) *pcchValue = 0;
        return methodProps(mb, pClass, szMember, cchMember, pchMember, pdwAttr, ppvSigBlob, pcbSigBlob, pulCodeRVA,
                           pdwImplFlags);
    }
    HRESULT STDMETHODCALLTYPE GetMethodProps(mdMethodDef mb, mdTypeDef* pClass, LPWSTR szMethod, ULONG cchMethod,
                                             ULONG* pchMethod, DWORD* pdwAttr, PCCOR_SIGNATURE* ppvSigBlob,
                                             ULONG* pcbSigBlob, ULONG* pulCodeRVA, DWORD* pdwImplFlags) override {
        auto hold = enter("GetMethodProps");
        return methodProps(mb, pClass, szMethod, cchMethod, pchMethod, pdwAttr, ppvSigBlob, pcbSigBlob, pulCodeRVA,
                           pdwImplFlags);
    }
    HRESULT STDMETHODCALLTYPE GetTypeSpecFromToken(mdTypeSpec token, PCCOR_SIGNATURE* sig, ULONG* length) override {
        auto hold = enter("GetTypeSpecFromToken");
        const Blob* row = findRow(typeSpecs, token, mdtTypeSpec);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        setBlob(*row, sig, length);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMethodSpecProps(mdToken token, mdToken* parent, PCCOR_SIGNATURE* sig,
                                                 ULONG* length) override {
        auto hold = enter("GetMethodSpecProps");
        const auto* row = findRow(methodSpecs, token, mdtMethodSpec);
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        if (parent != nullptr) *parent = row->first;
        setBlob(row->second, sig, length);
        return S_OK;
    }
    // Not found is S_FALSE with no data, as the runtime answers.
    HRESULT STDMETHODCALLTYPE GetCustomAttributeByName(mdToken owner, LPCWSTR type, const void** ppData,
                                                       ULONG* pcbData) override {
        auto hold = enter("GetCustomAttributeByName");
        auto found = attributes.find({owner, vesk::WString(type)});
        if (found != attributes.end()) {
            setBlob(found->second, ppData, pcbData);
            return S_OK;
        }
        *ppData = nullptr;
        *pcbData = 0;
        return S_FALSE;
    }

    // ---- emit ----------------------------------------------------------------

    HRESULT STDMETHODCALLTYPE DefineAssemblyRef(const void* pbPublicKeyOrToken, ULONG cbPublicKeyOrToken,
                                                LPCWSTR szName, const ASSEMBLYMETADATA* pMetaData,
                                                const void* pbHashValue, ULONG cbHashValue, DWORD dwAssemblyRefFlags,
                                                mdAssemblyRef* pmdar) override {
        auto hold = enter("DefineAssemblyRef");
        if (szName == nullptr || pmdar == nullptr) return E_INVALIDARG;
        AssemblyRefRow row;
        row.name = szName;
        row.publicKeyOrToken = blobOf(pbPublicKeyOrToken, cbPublicKeyOrToken);
        row.hadMetadata = pMetaData != nullptr;
        if (pMetaData != nullptr) row.metadata = *pMetaData;
        row.hashPointerGiven = pbHashValue != nullptr;
        row.hash = blobOf(pbHashValue, cbHashValue);
        row.flags = dwAssemblyRefFlags;
        const uint32_t rid = nextRid(assemblyRefs);
        assemblyRefs[rid] = row;
        *pmdar = mdtAssemblyRef | rid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DefineTypeRefByName(mdToken scope, LPCWSTR szName, mdTypeRef* ptr) override {
        auto hold = enter("DefineTypeRefByName");
        if (szName == nullptr || ptr == nullptr) return E_INVALIDARG;
        *ptr = addTypeRef(scope, szName);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DefineMemberRef(mdToken parent, LPCWSTR szName, PCCOR_SIGNATURE sig, ULONG sigLength,
                                              mdMemberRef* pmr) override {
        auto hold = enter("DefineMemberRef");
        if (szName == nullptr || pmr == nullptr || (sig == nullptr && sigLength != 0)) return E_INVALIDARG;
        *pmr = addMemberRef(parent, szName, blobOf(sig, sigLength));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DefineMethodSpec(mdToken parent, PCCOR_SIGNATURE sig, ULONG length,
                                               mdToken* token) override {
        auto hold = enter("DefineMethodSpec");
        if (sig == nullptr || token == nullptr) return E_INVALIDARG;
        *token = addMethodSpec(parent, blobOf(sig, length));
        return S_OK;
    }

private:
    // An enumeration holds the tokens that matched when it was opened.
    struct Cursor {
        std::vector<mdToken> tokens;
        size_t next = 0;
    };

    std::unique_lock<std::recursive_mutex> lock() const { return std::unique_lock<std::recursive_mutex>(m_mutex); }
    std::unique_lock<std::recursive_mutex> enter(const char* slot) {
        auto hold = lock();
        ++m_calls[slot];
        return hold;
    }

    template <typename Row>
    static uint32_t nextRid(const std::map<uint32_t, Row>& table) {
        return table.empty() ? 1 : table.rbegin()->first + 1;
    }
    template <typename Row>
    uint32_t add(std::map<uint32_t, Row>& table, uint32_t rid, const Row& row) {
        auto hold = lock();
        if (rid == 0) rid = nextRid(table);
        table[rid] = row;
        return rid;
    }
    template <typename Row>
    static const Row* findRow(const std::map<uint32_t, Row>& table, mdToken token, uint32_t tokenType) {
        if (TypeFromToken(token) != tokenType) return nullptr;
        auto found = table.find(RidFromToken(token));
        return found == table.end() ? nullptr : &found->second;
    }
    template <typename Row, typename Match>
    static HRESULT find(const std::map<uint32_t, Row>& table, uint32_t tokenType, mdToken* out, Match match) {
        *out = mdTokenNil;
        for (const auto& row : table) {
            if (!match(row.second)) continue;
            *out = tokenType | row.first;
            return S_OK;
        }
        return CLDB_E_RECORD_NOTFOUND;
    }

    template <typename Row, typename Keep>
    HRESULT enumerate(const char* slot, HCORENUM* phEnum, mdToken* out, ULONG cMax, ULONG* count,
                      const std::map<uint32_t, Row>& table, uint32_t tokenType, Keep keep) {
        auto hold = enter(slot);
        if (phEnum == nullptr || count == nullptr) return E_INVALIDARG;
        if (*phEnum == nullptr) {
            Cursor* cursor = new Cursor();
            for (const auto& row : table)
                if (keep(row.second)) cursor->tokens.push_back(tokenType | row.first);
            *phEnum = cursor;
            ++m_openEnums;
        }
        Cursor* cursor = static_cast<Cursor*>(*phEnum);
        ULONG n = 0;
        while (n < cMax && cursor->next < cursor->tokens.size()) out[n++] = cursor->tokens[cursor->next++];
        *count = n;
        return n > 0 ? S_OK : S_FALSE;
    }

    static Blob blobOf(const void* data, ULONG size) {
        const uint8_t* bytes = static_cast<const uint8_t*>(data);
        return bytes == nullptr ? Blob() : Blob(bytes, bytes + size);
    }
    template <typename Pointer>
    static void setBlob(const Blob& blob, Pointer* data, ULONG* size) {
        if (data != nullptr) *data = blob.data();
        if (size != nullptr) *size = static_cast<ULONG>(blob.size());
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

    static HRESULT answerMember(const MemberRow* row, mdToken* parent, LPWSTR name, ULONG capacity, ULONG* length,
                                PCCOR_SIGNATURE* sig, ULONG* sigLength) {
        if (row == nullptr) return CLDB_E_RECORD_NOTFOUND;
        if (row->failure != S_OK) return row->failure;
        if (parent != nullptr) *parent = row->parent;
        setBlob(row->sig, sig, sigLength);
        return writeName(row->name, name, capacity, length);
    }
    HRESULT methodProps(mdToken mb, mdTypeDef* pClass, LPWSTR name, ULONG capacity, ULONG* length, DWORD* attr,
                        PCCOR_SIGNATURE* sig, ULONG* sigLength, ULONG* rva, DWORD* implFlags) {
        if (attr != nullptr) *attr = 0;
        if (rva != nullptr) *rva = 0;
        if (implFlags != nullptr) *implFlags = 0;
        return answerMember(findRow(methodDefs, mb, mdtMethodDef), pClass, name, capacity, length, sig, sigLength);
    }

    mutable std::recursive_mutex m_mutex;
    std::map<std::string, int> m_calls;
    std::vector<std::string> m_unimplemented;
    int m_openEnums = 0;
};

}  // namespace testing_support
