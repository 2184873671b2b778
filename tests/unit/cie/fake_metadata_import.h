// A stand-in for a module's metadata import: answers the method, member
// reference and type definition lookups the engine makes from tables a test
// fills in, E_NOTIMPL everywhere else, and counts references so a test can
// check the engine gives back what it took.
#pragma once

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "abi/metadata.h"

namespace cie_test {

using namespace cor;

struct FakeMethodDef {
    std::u16string name;
    mdTypeDef owner = 0;
    std::vector<uint8_t> signature;
};

class FakeMetaDataImport : public IMetaDataImport {
public:
    std::map<mdMethodDef, FakeMethodDef> methods;
    std::map<mdMemberRef, std::u16string> memberRefs;
    std::map<mdTypeDef, std::u16string> typeDefs;
    std::atomic<long> references{1};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IMetaDataImport) {
            AddRef();
            *ppv = static_cast<IMetaDataImport*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

    HRESULT STDMETHODCALLTYPE GetMethodProps(mdMethodDef mb, mdTypeDef* pClass, LPWSTR szMethod, ULONG cchMethod,
                                             ULONG* pchMethod, DWORD* pdwAttr, PCCOR_SIGNATURE* ppvSigBlob,
                                             ULONG* pcbSigBlob, ULONG* pulCodeRVA, DWORD* pdwImplFlags) override {
        auto it = methods.find(mb);
        if (it == methods.end()) return CLDB_E_RECORD_NOTFOUND;
        if (pClass) *pClass = it->second.owner;
        if (pdwAttr) *pdwAttr = 0;
        if (ppvSigBlob) *ppvSigBlob = it->second.signature.data();
        if (pcbSigBlob) *pcbSigBlob = static_cast<ULONG>(it->second.signature.size());
        if (pulCodeRVA) *pulCodeRVA = 0;
        if (pdwImplFlags) *pdwImplFlags = 0;
        return copyName(it->second.name, szMethod, cchMethod, pchMethod);
    }
    HRESULT STDMETHODCALLTYPE GetMemberRefProps(mdMemberRef mr, mdToken* ptk, LPWSTR szMember, ULONG cchMember,
                                                ULONG* pchMember, PCCOR_SIGNATURE* ppvSigBlob, ULONG* pbSig) override {
        auto it = memberRefs.find(mr);
        if (it == memberRefs.end()) return CLDB_E_RECORD_NOTFOUND;
        if (ptk) *ptk = 0x01000001;
        if (ppvSigBlob) *ppvSigBlob = nullptr;
        if (pbSig) *pbSig = 0;
        return copyName(it->second, szMember, cchMember, pchMember);
    }
    HRESULT STDMETHODCALLTYPE GetTypeDefProps(mdTypeDef td, LPWSTR szTypeDef, ULONG cchTypeDef, ULONG* pchTypeDef,
                                              DWORD* pdwTypeDefFlags, mdToken* ptkExtends) override {
        auto it = typeDefs.find(td);
        if (it == typeDefs.end()) return CLDB_E_RECORD_NOTFOUND;
        if (pdwTypeDefFlags) *pdwTypeDefFlags = 0;
        if (ptkExtends) *ptkExtends = 0;
        return copyName(it->second, szTypeDef, cchTypeDef, pchTypeDef);
    }

    // As the runtime answers: the name truncated to the buffer and
    // terminated, the full length with terminator reported.
    static HRESULT copyName(const std::u16string& name, LPWSTR buffer, ULONG capacity, ULONG* reported) {
        if (reported) *reported = static_cast<ULONG>(name.size() + 1);
        if (buffer == nullptr || capacity == 0) return name.empty() ? S_OK : CLDB_S_TRUNCATION;
        const size_t n = std::min<size_t>(name.size(), capacity - 1);
        std::copy(name.begin(), name.begin() + static_cast<long>(n), buffer);
        buffer[n] = 0;
        return n < name.size() ? CLDB_S_TRUNCATION : S_OK;
    }

    void STDMETHODCALLTYPE CloseEnum(HCORENUM hEnum) override {}
    HRESULT STDMETHODCALLTYPE CountEnum(HCORENUM hEnum, ULONG* pulCount) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ResetEnum(HCORENUM hEnum, ULONG ulPos) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumTypeDefs(HCORENUM* phEnum, mdTypeDef rTypeDefs[], ULONG cMax,
                                           ULONG* pcTypeDefs) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumInterfaceImpls(HCORENUM* phEnum, mdTypeDef td, mdInterfaceImpl rImpls[], ULONG cMax,
                                                 ULONG* pcImpls) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumTypeRefs(HCORENUM* phEnum, mdTypeRef rTypeRefs[], ULONG cMax,
                                           ULONG* pcTypeRefs) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindTypeDefByName(LPCWSTR szTypeDef, mdToken tkEnclosingClass, mdTypeDef* ptd) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetScopeProps(LPWSTR szName, ULONG cchName, ULONG* pchName, GUID* pmvid) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetModuleFromScope(mdModule* pmd) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetInterfaceImplProps(mdInterfaceImpl iiImpl, mdTypeDef* pClass,
                                                    mdToken* ptkIface) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeRefProps(mdTypeRef tr, mdToken* ptkResolutionScope, LPWSTR szName, ULONG cchName,
                                              ULONG* pchName) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ResolveTypeRef(mdTypeRef tr, REFIID riid, IUnknown** ppIScope, mdTypeDef* ptd) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumMembers(HCORENUM* phEnum, mdTypeDef cl, mdToken rMembers[], ULONG cMax,
                                          ULONG* pcTokens) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumMembersWithName(HCORENUM* phEnum, mdTypeDef cl, LPCWSTR szName, mdToken rMembers[],
                                                  ULONG cMax, ULONG* pcTokens) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumMethods(HCORENUM* phEnum, mdTypeDef cl, mdMethodDef rMethods[], ULONG cMax,
                                          ULONG* pcTokens) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumMethodsWithName(HCORENUM* phEnum, mdTypeDef cl, LPCWSTR szName,
                                                  mdMethodDef rMethods[], ULONG cMax, ULONG* pcTokens) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumFields(HCORENUM* phEnum, mdTypeDef cl, mdFieldDef rFields[], ULONG cMax,
                                         ULONG* pcTokens) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumFieldsWithName(HCORENUM* phEnum, mdTypeDef cl, LPCWSTR szName, mdFieldDef rFields[],
                                                 ULONG cMax, ULONG* pcTokens) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumParams(HCORENUM* phEnum, mdMethodDef mb, mdParamDef rParams[], ULONG cMax,
                                         ULONG* pcTokens) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumMemberRefs(HCORENUM* phEnum, mdToken tkParent, mdMemberRef rMemberRefs[], ULONG cMax,
                                             ULONG* pcTokens) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumMethodImpls(HCORENUM* phEnum, mdTypeDef td, mdToken rMethodBody[],
                                              mdToken rMethodDecl[], ULONG cMax, ULONG* pcTokens) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumPermissionSets(HCORENUM* phEnum, mdToken tk, DWORD dwActions,
                                                 mdPermission rPermission[], ULONG cMax, ULONG* pcTokens) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindMember(mdTypeDef td, LPCWSTR szName, PCCOR_SIGNATURE pvSigBlob, ULONG cbSigBlob,
                                         mdToken* pmb) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindMethod(mdTypeDef td, LPCWSTR szName, PCCOR_SIGNATURE pvSigBlob, ULONG cbSigBlob,
                                         mdMethodDef* pmb) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindField(mdTypeDef td, LPCWSTR szName, PCCOR_SIGNATURE pvSigBlob, ULONG cbSigBlob,
                                        mdFieldDef* pmb) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindMemberRef(mdTypeRef td, LPCWSTR szName, PCCOR_SIGNATURE pvSigBlob, ULONG cbSigBlob,
                                            mdMemberRef* pmr) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumProperties(HCORENUM* phEnum, mdTypeDef td, mdProperty rProperties[], ULONG cMax,
                                             ULONG* pcProperties) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumEvents(HCORENUM* phEnum, mdTypeDef td, mdEvent rEvents[], ULONG cMax,
                                         ULONG* pcEvents) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetEventProps(mdEvent ev, mdTypeDef* pClass, LPCWSTR szEvent, ULONG cchEvent,
                                            ULONG* pchEvent, DWORD* pdwEventFlags, mdToken* ptkEventType,
                                            mdMethodDef* pmdAddOn, mdMethodDef* pmdRemoveOn, mdMethodDef* pmdFire,
                                            mdMethodDef rmdOtherMethod[], ULONG cMax, ULONG* pcOtherMethod) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumMethodSemantics(HCORENUM* phEnum, mdMethodDef mb, mdToken rEventProp[], ULONG cMax,
                                                  ULONG* pcEventProp) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMethodSemantics(mdMethodDef mb, mdToken tkEventProp,
                                                 DWORD* pdwSemanticsFlags) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetClassLayout(mdTypeDef td, DWORD* pdwPackSize, COR_FIELD_OFFSET_MD rFieldOffset[],
                                             ULONG cMax, ULONG* pcFieldOffset, ULONG* pulClassSize) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetFieldMarshal(mdToken tk, PCCOR_SIGNATURE* ppvNativeType,
                                              ULONG* pcbNativeType) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetRVA(mdToken tk, ULONG* pulCodeRVA, DWORD* pdwImplFlags) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPermissionSetProps(mdPermission pm, DWORD* pdwAction, void const** ppvPermission,
                                                    ULONG* pcbPermission) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetSigFromToken(mdSignature mdSig, PCCOR_SIGNATURE* ppvSig, ULONG* pcbSig) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetModuleRefProps(mdModuleRef mur, LPWSTR szName, ULONG cchName,
                                                ULONG* pchName) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumModuleRefs(HCORENUM* phEnum, mdModuleRef rModuleRefs[], ULONG cmax,
                                             ULONG* pcModuleRefs) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeSpecFromToken(mdTypeSpec typespec, PCCOR_SIGNATURE* ppvSig,
                                                   ULONG* pcbSig) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetNameFromToken(mdToken tk, MDUTF8CSTR* pszUtf8NamePtr) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumUnresolvedMethods(HCORENUM* phEnum, mdToken rMethods[], ULONG cMax,
                                                    ULONG* pcTokens) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetUserString(mdString stk, LPWSTR szString, ULONG cchString, ULONG* pchString) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPinvokeMap(mdToken tk, DWORD* pdwMappingFlags, LPWSTR szImportName,
                                            ULONG cchImportName, ULONG* pchImportName,
                                            mdModuleRef* pmrImportDLL) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumSignatures(HCORENUM* phEnum, mdSignature rSignatures[], ULONG cmax,
                                             ULONG* pcSignatures) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumTypeSpecs(HCORENUM* phEnum, mdTypeSpec rTypeSpecs[], ULONG cmax,
                                            ULONG* pcTypeSpecs) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumUserStrings(HCORENUM* phEnum, mdString rStrings[], ULONG cmax,
                                              ULONG* pcStrings) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetParamForMethodIndex(mdMethodDef md, ULONG ulParamSeq, mdParamDef* ppd) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumCustomAttributes(HCORENUM* phEnum, mdToken tk, mdToken tkType,
                                                   mdCustomAttribute rCustomAttributes[], ULONG cMax,
                                                   ULONG* pcCustomAttributes) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetCustomAttributeProps(mdCustomAttribute cv, mdToken* ptkObj, mdToken* ptkType,
                                                      void const** ppBlob, ULONG* pcbSize) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindTypeRef(mdToken tkResolutionScope, LPCWSTR szName, mdTypeRef* ptr) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMemberProps(mdToken mb, mdTypeDef* pClass, LPWSTR szMember, ULONG cchMember,
                                             ULONG* pchMember, DWORD* pdwAttr, PCCOR_SIGNATURE* ppvSigBlob,
                                             ULONG* pcbSigBlob, ULONG* pulCodeRVA, DWORD* pdwImplFlags,
                                             DWORD* pdwCPlusTypeFlag, UVCP_CONSTANT* ppValue,
                                             ULONG* pcchValue) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetFieldProps(mdFieldDef mb, mdTypeDef* pClass, LPWSTR szField, ULONG cchField,
                                            ULONG* pchField, DWORD* pdwAttr, PCCOR_SIGNATURE* ppvSigBlob,
                                            ULONG* pcbSigBlob, DWORD* pdwCPlusTypeFlag, UVCP_CONSTANT* ppValue,
                                            ULONG* pcchValue) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyProps(mdProperty prop, mdTypeDef* pClass, LPCWSTR szProperty,
                                               ULONG cchProperty, ULONG* pchProperty, DWORD* pdwPropFlags,
                                               PCCOR_SIGNATURE* ppvSig, ULONG* pbSig, DWORD* pdwCPlusTypeFlag,
                                               UVCP_CONSTANT* ppDefaultValue, ULONG* pcchDefaultValue,
                                               mdMethodDef* pmdSetter, mdMethodDef* pmdGetter,
                                               mdMethodDef rmdOtherMethod[], ULONG cMax,
                                               ULONG* pcOtherMethod) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetParamProps(mdParamDef tk, mdMethodDef* pmd, ULONG* pulSequence, LPWSTR szName,
                                            ULONG cchName, ULONG* pchName, DWORD* pdwAttr, DWORD* pdwCPlusTypeFlag,
                                            UVCP_CONSTANT* ppValue, ULONG* pcchValue) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetCustomAttributeByName(mdToken tkObj, LPCWSTR szName, const void** ppData,
                                                       ULONG* pcbData) override {
        return E_NOTIMPL;
    }
    BOOL STDMETHODCALLTYPE IsValidToken(mdToken tk) override { return 0; }
    HRESULT STDMETHODCALLTYPE GetNestedClassProps(mdTypeDef tdNestedClass, mdTypeDef* ptdEnclosingClass) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetNativeCallConvFromSig(void const* pvSig, ULONG cbSig, ULONG* pCallConv) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE IsGlobal(mdToken pd, int* pbGlobal) override { return E_NOTIMPL; }
};

}  // namespace cie_test
