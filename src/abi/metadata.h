// The runtime's unmanaged metadata interfaces, as far as the profiler uses
// them. Slot order is the interfaces' own and must never change.
#pragma once

#include "abi/unknown.h"

namespace cor {

extern const IID IID_IMetaDataImport;
extern const IID IID_IMetaDataImport2;
extern const IID IID_IMetaDataAssemblyImport;
extern const IID IID_IMetaDataEmit;
extern const IID IID_IMetaDataEmit2;
extern const IID IID_IMetaDataAssemblyEmit;
extern const IID IID_IMetaDataDispenser;
extern const IID IID_IMetaDataDispenserEx;
extern const CLSID CLSID_CorMetaDataDispenser;

typedef const char* MDUTF8CSTR;
typedef const void* UVCP_CONSTANT;
typedef uint8_t* PCOR_SIGNATURE;

const HRESULT CLDB_S_TRUNCATION = 0x00131106;
const HRESULT META_S_DUPLICATE = 0x00131197;
const HRESULT CLDB_E_RECORD_NOTFOUND = static_cast<HRESULT>(0x80131130u);

enum CorOpenFlags : DWORD {
    ofRead = 0x0,
    ofWrite = 0x1,
    ofNoTransform = 0x1000,
};

enum CorTokenType : uint32_t {
    mdtModule = 0x00000000,
    mdtTypeRef = 0x01000000,
    mdtTypeDef = 0x02000000,
    mdtFieldDef = 0x04000000,
    mdtMethodDef = 0x06000000,
    mdtMemberRef = 0x0A000000,
    mdtAssemblyRef = 0x23000000,
    mdtTypeSpec = 0x1B000000,
    mdtMethodSpec = 0x2B000000,
};

inline uint32_t TypeFromToken(mdToken tk) { return tk & 0xFF000000u; }
inline uint32_t RidFromToken(mdToken tk) { return tk & 0x00FFFFFFu; }

struct COR_FIELD_OFFSET_MD {
    mdFieldDef ridOfField;
    uint32_t ulOffset;
};

struct OSINFO {
    DWORD dwOSPlatformId;
    DWORD dwOSMajorVersion;
    DWORD dwOSMinorVersion;
};

struct ASSEMBLYMETADATA {
    USHORT usMajorVersion;
    USHORT usMinorVersion;
    USHORT usBuildNumber;
    USHORT usRevisionNumber;
    LPWSTR szLocale;
    ULONG cbLocale;
    DWORD* rProcessor;
    ULONG ulProcessor;
    OSINFO* rOS;
    ULONG ulOS;
};

class IMetaDataImport : public IUnknown {
public:
    virtual void STDMETHODCALLTYPE CloseEnum(HCORENUM hEnum) = 0;
    virtual HRESULT STDMETHODCALLTYPE CountEnum(HCORENUM hEnum, ULONG* pulCount) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResetEnum(HCORENUM hEnum, ULONG ulPos) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumTypeDefs(HCORENUM* phEnum, mdTypeDef rTypeDefs[], ULONG cMax,
                                                   ULONG* pcTypeDefs) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumInterfaceImpls(HCORENUM* phEnum, mdTypeDef td, mdInterfaceImpl rImpls[],
                                                         ULONG cMax, ULONG* pcImpls) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumTypeRefs(HCORENUM* phEnum, mdTypeRef rTypeRefs[], ULONG cMax,
                                                   ULONG* pcTypeRefs) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindTypeDefByName(LPCWSTR szTypeDef, mdToken tkEnclosingClass,
                                                        mdTypeDef* ptd) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetScopeProps(LPWSTR szName, ULONG cchName, ULONG* pchName, GUID* pmvid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetModuleFromScope(mdModule* pmd) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeDefProps(mdTypeDef td, LPWSTR szTypeDef, ULONG cchTypeDef,
                                                      ULONG* pchTypeDef, DWORD* pdwTypeDefFlags,
                                                      mdToken* ptkExtends) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetInterfaceImplProps(mdInterfaceImpl iiImpl, mdTypeDef* pClass,
                                                            mdToken* ptkIface) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeRefProps(mdTypeRef tr, mdToken* ptkResolutionScope, LPWSTR szName,
                                                      ULONG cchName, ULONG* pchName) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResolveTypeRef(mdTypeRef tr, REFIID riid, IUnknown** ppIScope,
                                                     mdTypeDef* ptd) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumMembers(HCORENUM* phEnum, mdTypeDef cl, mdToken rMembers[], ULONG cMax,
                                                  ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumMembersWithName(HCORENUM* phEnum, mdTypeDef cl, LPCWSTR szName,
                                                          mdToken rMembers[], ULONG cMax, ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumMethods(HCORENUM* phEnum, mdTypeDef cl, mdMethodDef rMethods[], ULONG cMax,
                                                  ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumMethodsWithName(HCORENUM* phEnum, mdTypeDef cl, LPCWSTR szName,
                                                          mdMethodDef rMethods[], ULONG cMax, ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumFields(HCORENUM* phEnum, mdTypeDef cl, mdFieldDef rFields[], ULONG cMax,
                                                 ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumFieldsWithName(HCORENUM* phEnum, mdTypeDef cl, LPCWSTR szName,
                                                         mdFieldDef rFields[], ULONG cMax, ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumParams(HCORENUM* phEnum, mdMethodDef mb, mdParamDef rParams[], ULONG cMax,
                                                 ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumMemberRefs(HCORENUM* phEnum, mdToken tkParent, mdMemberRef rMemberRefs[],
                                                     ULONG cMax, ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumMethodImpls(HCORENUM* phEnum, mdTypeDef td, mdToken rMethodBody[],
                                                      mdToken rMethodDecl[], ULONG cMax, ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumPermissionSets(HCORENUM* phEnum, mdToken tk, DWORD dwActions,
                                                         mdPermission rPermission[], ULONG cMax,
                                                         ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindMember(mdTypeDef td, LPCWSTR szName, PCCOR_SIGNATURE pvSigBlob,
                                                 ULONG cbSigBlob, mdToken* pmb) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindMethod(mdTypeDef td, LPCWSTR szName, PCCOR_SIGNATURE pvSigBlob,
                                                 ULONG cbSigBlob, mdMethodDef* pmb) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindField(mdTypeDef td, LPCWSTR szName, PCCOR_SIGNATURE pvSigBlob,
                                                ULONG cbSigBlob, mdFieldDef* pmb) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindMemberRef(mdTypeRef td, LPCWSTR szName, PCCOR_SIGNATURE pvSigBlob,
                                                    ULONG cbSigBlob, mdMemberRef* pmr) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMethodProps(mdMethodDef mb, mdTypeDef* pClass, LPWSTR szMethod,
                                                     ULONG cchMethod, ULONG* pchMethod, DWORD* pdwAttr,
                                                     PCCOR_SIGNATURE* ppvSigBlob, ULONG* pcbSigBlob,
                                                     ULONG* pulCodeRVA, DWORD* pdwImplFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMemberRefProps(mdMemberRef mr, mdToken* ptk, LPWSTR szMember,
                                                        ULONG cchMember, ULONG* pchMember,
                                                        PCCOR_SIGNATURE* ppvSigBlob, ULONG* pbSig) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumProperties(HCORENUM* phEnum, mdTypeDef td, mdProperty rProperties[],
                                                     ULONG cMax, ULONG* pcProperties) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumEvents(HCORENUM* phEnum, mdTypeDef td, mdEvent rEvents[], ULONG cMax,
                                                 ULONG* pcEvents) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEventProps(mdEvent ev, mdTypeDef* pClass, LPCWSTR szEvent, ULONG cchEvent,
                                                    ULONG* pchEvent, DWORD* pdwEventFlags, mdToken* ptkEventType,
                                                    mdMethodDef* pmdAddOn, mdMethodDef* pmdRemoveOn,
                                                    mdMethodDef* pmdFire, mdMethodDef rmdOtherMethod[], ULONG cMax,
                                                    ULONG* pcOtherMethod) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumMethodSemantics(HCORENUM* phEnum, mdMethodDef mb, mdToken rEventProp[],
                                                          ULONG cMax, ULONG* pcEventProp) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMethodSemantics(mdMethodDef mb, mdToken tkEventProp,
                                                         DWORD* pdwSemanticsFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClassLayout(mdTypeDef td, DWORD* pdwPackSize, COR_FIELD_OFFSET_MD rFieldOffset[],
                                                     ULONG cMax, ULONG* pcFieldOffset, ULONG* pulClassSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFieldMarshal(mdToken tk, PCCOR_SIGNATURE* ppvNativeType,
                                                      ULONG* pcbNativeType) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRVA(mdToken tk, ULONG* pulCodeRVA, DWORD* pdwImplFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPermissionSetProps(mdPermission pm, DWORD* pdwAction,
                                                            void const** ppvPermission, ULONG* pcbPermission) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSigFromToken(mdSignature mdSig, PCCOR_SIGNATURE* ppvSig, ULONG* pcbSig) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetModuleRefProps(mdModuleRef mur, LPWSTR szName, ULONG cchName,
                                                        ULONG* pchName) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumModuleRefs(HCORENUM* phEnum, mdModuleRef rModuleRefs[], ULONG cmax,
                                                     ULONG* pcModuleRefs) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeSpecFromToken(mdTypeSpec typespec, PCCOR_SIGNATURE* ppvSig,
                                                           ULONG* pcbSig) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNameFromToken(mdToken tk, MDUTF8CSTR* pszUtf8NamePtr) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumUnresolvedMethods(HCORENUM* phEnum, mdToken rMethods[], ULONG cMax,
                                                            ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetUserString(mdString stk, LPWSTR szString, ULONG cchString,
                                                    ULONG* pchString) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPinvokeMap(mdToken tk, DWORD* pdwMappingFlags, LPWSTR szImportName,
                                                    ULONG cchImportName, ULONG* pchImportName,
                                                    mdModuleRef* pmrImportDLL) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumSignatures(HCORENUM* phEnum, mdSignature rSignatures[], ULONG cmax,
                                                     ULONG* pcSignatures) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumTypeSpecs(HCORENUM* phEnum, mdTypeSpec rTypeSpecs[], ULONG cmax,
                                                    ULONG* pcTypeSpecs) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumUserStrings(HCORENUM* phEnum, mdString rStrings[], ULONG cmax,
                                                      ULONG* pcStrings) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetParamForMethodIndex(mdMethodDef md, ULONG ulParamSeq, mdParamDef* ppd) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumCustomAttributes(HCORENUM* phEnum, mdToken tk, mdToken tkType,
                                                           mdCustomAttribute rCustomAttributes[], ULONG cMax,
                                                           ULONG* pcCustomAttributes) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCustomAttributeProps(mdCustomAttribute cv, mdToken* ptkObj, mdToken* ptkType,
                                                              void const** ppBlob, ULONG* pcbSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindTypeRef(mdToken tkResolutionScope, LPCWSTR szName, mdTypeRef* ptr) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMemberProps(mdToken mb, mdTypeDef* pClass, LPWSTR szMember, ULONG cchMember,
                                                     ULONG* pchMember, DWORD* pdwAttr, PCCOR_SIGNATURE* ppvSigBlob,
                                                     ULONG* pcbSigBlob, ULONG* pulCodeRVA, DWORD* pdwImplFlags,
                                                     DWORD* pdwCPlusTypeFlag, UVCP_CONSTANT* ppValue,
                                                     ULONG* pcchValue) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFieldProps(mdFieldDef mb, mdTypeDef* pClass, LPWSTR szField, ULONG cchField,
                                                    ULONG* pchField, DWORD* pdwAttr, PCCOR_SIGNATURE* ppvSigBlob,
                                                    ULONG* pcbSigBlob, DWORD* pdwCPlusTypeFlag,
                                                    UVCP_CONSTANT* ppValue, ULONG* pcchValue) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPropertyProps(mdProperty prop, mdTypeDef* pClass, LPCWSTR szProperty,
                                                       ULONG cchProperty, ULONG* pchProperty, DWORD* pdwPropFlags,
                                                       PCCOR_SIGNATURE* ppvSig, ULONG* pbSig, DWORD* pdwCPlusTypeFlag,
                                                       UVCP_CONSTANT* ppDefaultValue, ULONG* pcchDefaultValue,
                                                       mdMethodDef* pmdSetter, mdMethodDef* pmdGetter,
                                                       mdMethodDef rmdOtherMethod[], ULONG cMax,
                                                       ULONG* pcOtherMethod) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetParamProps(mdParamDef tk, mdMethodDef* pmd, ULONG* pulSequence,
                                                    LPWSTR szName, ULONG cchName, ULONG* pchName, DWORD* pdwAttr,
                                                    DWORD* pdwCPlusTypeFlag, UVCP_CONSTANT* ppValue,
                                                    ULONG* pcchValue) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCustomAttributeByName(mdToken tkObj, LPCWSTR szName, const void** ppData,
                                                               ULONG* pcbData) = 0;
    virtual BOOL STDMETHODCALLTYPE IsValidToken(mdToken tk) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNestedClassProps(mdTypeDef tdNestedClass, mdTypeDef* ptdEnclosingClass) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNativeCallConvFromSig(void const* pvSig, ULONG cbSig,
                                                               ULONG* pCallConv) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsGlobal(mdToken pd, int* pbGlobal) = 0;

protected:
    ~IMetaDataImport() = default;
};

// Generic instances: a method instantiation's parent and type arguments.
class IMetaDataImport2 : public IMetaDataImport {
public:
    virtual HRESULT STDMETHODCALLTYPE EnumGenericParams(HCORENUM* phEnum, mdToken tk, mdToken rGenericParams[],
                                                        ULONG cMax, ULONG* pcGenericParams) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGenericParamProps(mdToken gp, ULONG* pulParamSeq, DWORD* pdwParamFlags,
                                                           mdToken* ptOwner, DWORD* reserved, LPWSTR wzname,
                                                           ULONG cchName, ULONG* pchName) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMethodSpecProps(mdToken mi, mdToken* tkParent, PCCOR_SIGNATURE* ppvSigBlob,
                                                         ULONG* pcbSigBlob) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumGenericParamConstraints(HCORENUM* phEnum, mdToken tk,
                                                                  mdToken rGenericParamConstraints[], ULONG cMax,
                                                                  ULONG* pcGenericParamConstraints) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGenericParamConstraintProps(mdToken gpc, mdToken* ptGenericParam,
                                                                     mdToken* ptkConstraintType) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPEKind(DWORD* pdwPEKind, DWORD* pdwMAchine) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVersionString(LPWSTR pwzBuf, DWORD ccBufSize, DWORD* pccBufSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumMethodSpecs(HCORENUM* phEnum, mdToken tk, mdToken rMethodSpecs[],
                                                      ULONG cMax, ULONG* pcMethodSpecs) = 0;

protected:
    ~IMetaDataImport2() = default;
};

class IMetaDataAssemblyImport : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetAssemblyProps(mdAssembly mda, const void** ppbPublicKey,
                                                       ULONG* pcbPublicKey, ULONG* pulHashAlgId, LPWSTR szName,
                                                       ULONG cchName, ULONG* pchName, ASSEMBLYMETADATA* pMetaData,
                                                       DWORD* pdwAssemblyFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAssemblyRefProps(mdAssemblyRef mdar, const void** ppbPublicKeyOrToken,
                                                          ULONG* pcbPublicKeyOrToken, LPWSTR szName, ULONG cchName,
                                                          ULONG* pchName, ASSEMBLYMETADATA* pMetaData,
                                                          const void** ppbHashValue, ULONG* pcbHashValue,
                                                          DWORD* pdwAssemblyRefFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFileProps(mdFile mdf, LPWSTR szName, ULONG cchName, ULONG* pchName,
                                                   const void** ppbHashValue, ULONG* pcbHashValue,
                                                   DWORD* pdwFileFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetExportedTypeProps(mdExportedType mdct, LPWSTR szName, ULONG cchName,
                                                           ULONG* pchName, mdToken* ptkImplementation,
                                                           mdTypeDef* ptkTypeDef, DWORD* pdwExportedTypeFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetManifestResourceProps(mdManifestResource mdmr, LPWSTR szName, ULONG cchName,
                                                               ULONG* pchName, mdToken* ptkImplementation,
                                                               DWORD* pdwOffset, DWORD* pdwResourceFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumAssemblyRefs(HCORENUM* phEnum, mdAssemblyRef rAssemblyRefs[], ULONG cMax,
                                                       ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumFiles(HCORENUM* phEnum, mdFile rFiles[], ULONG cMax, ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumExportedTypes(HCORENUM* phEnum, mdExportedType rExportedTypes[], ULONG cMax,
                                                        ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumManifestResources(HCORENUM* phEnum, mdManifestResource rManifestResources[],
                                                            ULONG cMax, ULONG* pcTokens) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAssemblyFromScope(mdAssembly* ptkAssembly) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindExportedTypeByName(LPCWSTR szName, mdToken mdtExportedType,
                                                             mdExportedType* ptkExportedType) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindManifestResourceByName(LPCWSTR szName,
                                                                 mdManifestResource* ptkManifestResource) = 0;
    virtual void STDMETHODCALLTYPE CloseEnum(HCORENUM hEnum) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAssembliesByName(LPCWSTR szAppBase, LPCWSTR szPrivateBin,
                                                           LPCWSTR szAssemblyName, IUnknown* ppIUnk[], ULONG cMax,
                                                           ULONG* pcAssemblies) = 0;

protected:
    ~IMetaDataAssemblyImport() = default;
};

class IMetaDataEmit : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE SetModuleProps(LPCWSTR szName) = 0;
    virtual HRESULT STDMETHODCALLTYPE Save(LPCWSTR szFile, DWORD dwSaveFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveToStream(IUnknown* pIStream, DWORD dwSaveFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSaveSize(int fSave, DWORD* pdwSaveSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineTypeDef(LPCWSTR szTypeDef, DWORD dwTypeDefFlags, mdToken tkExtends,
                                                    mdToken rtkImplements[], mdTypeDef* ptd) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineNestedType(LPCWSTR szTypeDef, DWORD dwTypeDefFlags, mdToken tkExtends,
                                                       mdToken rtkImplements[], mdTypeDef tdEncloser,
                                                       mdTypeDef* ptd) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHandler(IUnknown* pUnk) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineMethod(mdTypeDef td, LPCWSTR szName, DWORD dwMethodFlags,
                                                   PCCOR_SIGNATURE pvSigBlob, ULONG cbSigBlob, ULONG ulCodeRVA,
                                                   DWORD dwImplFlags, mdMethodDef* pmd) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineMethodImpl(mdTypeDef td, mdToken tkBody, mdToken tkDecl) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineTypeRefByName(mdToken tkResolutionScope, LPCWSTR szName,
                                                          mdTypeRef* ptr) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineImportType(IUnknown* pAssemImport, const void* pbHashValue,
                                                       ULONG cbHashValue, IUnknown* pImport, mdTypeDef tdImport,
                                                       IUnknown* pAssemEmit, mdTypeRef* ptr) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineMemberRef(mdToken tkImport, LPCWSTR szName, PCCOR_SIGNATURE pvSigBlob,
                                                      ULONG cbSigBlob, mdMemberRef* pmr) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineImportMember(IUnknown* pAssemImport, const void* pbHashValue,
                                                         ULONG cbHashValue, IUnknown* pImport, mdToken mbMember,
                                                         IUnknown* pAssemEmit, mdToken tkParent,
                                                         mdMemberRef* pmr) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineEvent(mdTypeDef td, LPCWSTR szEvent, DWORD dwEventFlags,
                                                  mdToken tkEventType, mdMethodDef mdAddOn, mdMethodDef mdRemoveOn,
                                                  mdMethodDef mdFire, mdMethodDef rmdOtherMethods[],
                                                  mdEvent* pmdEvent) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetClassLayout(mdTypeDef td, DWORD dwPackSize,
                                                     COR_FIELD_OFFSET_MD rFieldOffsets[], ULONG ulClassSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteClassLayout(mdTypeDef td) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFieldMarshal(mdToken tk, PCCOR_SIGNATURE pvNativeType,
                                                      ULONG cbNativeType) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteFieldMarshal(mdToken tk) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefinePermissionSet(mdToken tk, DWORD dwAction, void const* pvPermission,
                                                          ULONG cbPermission, mdPermission* ppm) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRVA(mdMethodDef md, ULONG ulRVA) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTokenFromSig(PCCOR_SIGNATURE pvSig, ULONG cbSig, mdSignature* pmsig) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineModuleRef(LPCWSTR szName, mdModuleRef* pmur) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetParent(mdMemberRef mr, mdToken tk) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTokenFromTypeSpec(PCCOR_SIGNATURE pvSig, ULONG cbSig,
                                                           mdTypeSpec* ptypespec) = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveToMemory(void* pbData, ULONG cbData) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineUserString(LPCWSTR szString, ULONG cchString, mdString* pstk) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteToken(mdToken tkObj) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMethodProps(mdMethodDef md, DWORD dwMethodFlags, ULONG ulCodeRVA,
                                                     DWORD dwImplFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetTypeDefProps(mdTypeDef td, DWORD dwTypeDefFlags, mdToken tkExtends,
                                                      mdToken rtkImplements[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetEventProps(mdEvent ev, DWORD dwEventFlags, mdToken tkEventType,
                                                    mdMethodDef mdAddOn, mdMethodDef mdRemoveOn, mdMethodDef mdFire,
                                                    mdMethodDef rmdOtherMethods[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPermissionSetProps(mdToken tk, DWORD dwAction, void const* pvPermission,
                                                            ULONG cbPermission, mdPermission* ppm) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefinePinvokeMap(mdToken tk, DWORD dwMappingFlags, LPCWSTR szImportName,
                                                       mdModuleRef mrImportDLL) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPinvokeMap(mdToken tk, DWORD dwMappingFlags, LPCWSTR szImportName,
                                                    mdModuleRef mrImportDLL) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeletePinvokeMap(mdToken tk) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineCustomAttribute(mdToken tkOwner, mdToken tkCtor,
                                                            void const* pCustomAttribute, ULONG cbCustomAttribute,
                                                            mdCustomAttribute* pcv) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCustomAttributeValue(mdCustomAttribute pcv, void const* pCustomAttribute,
                                                              ULONG cbCustomAttribute) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineField(mdTypeDef td, LPCWSTR szName, DWORD dwFieldFlags,
                                                  PCCOR_SIGNATURE pvSigBlob, ULONG cbSigBlob, DWORD dwCPlusTypeFlag,
                                                  void const* pValue, ULONG cchValue, mdFieldDef* pmd) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineProperty(mdTypeDef td, LPCWSTR szProperty, DWORD dwPropFlags,
                                                     PCCOR_SIGNATURE pvSig, ULONG cbSig, DWORD dwCPlusTypeFlag,
                                                     void const* pValue, ULONG cchValue, mdMethodDef mdSetter,
                                                     mdMethodDef mdGetter, mdMethodDef rmdOtherMethods[],
                                                     mdProperty* pmdProp) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineParam(mdMethodDef md, ULONG ulParamSeq, LPCWSTR szName,
                                                  DWORD dwParamFlags, DWORD dwCPlusTypeFlag, void const* pValue,
                                                  ULONG cchValue, mdParamDef* ppd) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFieldProps(mdFieldDef fd, DWORD dwFieldFlags, DWORD dwCPlusTypeFlag,
                                                    void const* pValue, ULONG cchValue) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPropertyProps(mdProperty pr, DWORD dwPropFlags, DWORD dwCPlusTypeFlag,
                                                       void const* pValue, ULONG cchValue, mdMethodDef mdSetter,
                                                       mdMethodDef mdGetter, mdMethodDef rmdOtherMethods[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetParamProps(mdParamDef pd, LPCWSTR szName, DWORD dwParamFlags,
                                                    DWORD dwCPlusTypeFlag, void const* pValue, ULONG cchValue) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineSecurityAttributeSet(mdToken tkObj, void* rSecAttrs, ULONG cSecAttrs,
                                                                 ULONG* pulErrorAttr) = 0;
    virtual HRESULT STDMETHODCALLTYPE ApplyEditAndContinue(IUnknown* pImport) = 0;
    virtual HRESULT STDMETHODCALLTYPE TranslateSigWithScope(IUnknown* pAssemImport, const void* pbHashValue,
                                                            ULONG cbHashValue, IUnknown* import,
                                                            PCCOR_SIGNATURE pbSigBlob, ULONG cbSigBlob,
                                                            IUnknown* pAssemEmit, IUnknown* emit,
                                                            PCOR_SIGNATURE pvTranslatedSig, ULONG cbTranslatedSigMax,
                                                            ULONG* pcbTranslatedSig) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMethodImplFlags(mdMethodDef md, DWORD dwImplFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFieldRVA(mdFieldDef fd, ULONG ulRVA) = 0;
    virtual HRESULT STDMETHODCALLTYPE Merge(IUnknown* pImport, IUnknown* pHostMapToken, IUnknown* pHandler) = 0;
    virtual HRESULT STDMETHODCALLTYPE MergeEnd() = 0;

protected:
    ~IMetaDataEmit() = default;
};

// Defines method instantiations, of wrapper methods among them.
class IMetaDataEmit2 : public IMetaDataEmit {
public:
    virtual HRESULT STDMETHODCALLTYPE DefineMethodSpec(mdToken tkParent, PCCOR_SIGNATURE pvSigBlob, ULONG cbSigBlob,
                                                       mdToken* pmi) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeltaSaveSize(int fSave, DWORD* pdwSaveSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveDelta(LPCWSTR szFile, DWORD dwSaveFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveDeltaToStream(IUnknown* pIStream, DWORD dwSaveFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveDeltaToMemory(void* pbData, ULONG cbData) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineGenericParam(mdToken tk, ULONG ulParamSeq, DWORD dwParamFlags,
                                                         LPCWSTR szname, DWORD reserved, mdToken rtkConstraints[],
                                                         mdToken* pgp) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetGenericParamProps(mdToken gp, DWORD dwParamFlags, LPCWSTR szName,
                                                           DWORD reserved, mdToken rtkConstraints[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResetENCLog() = 0;

protected:
    ~IMetaDataEmit2() = default;
};

class IMetaDataAssemblyEmit : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE DefineAssembly(const void* pbPublicKey, ULONG cbPublicKey, ULONG ulHashAlgId,
                                                     LPCWSTR szName, const ASSEMBLYMETADATA* pMetaData,
                                                     DWORD dwAssemblyFlags, mdAssembly* pma) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineAssemblyRef(const void* pbPublicKeyOrToken, ULONG cbPublicKeyOrToken,
                                                        LPCWSTR szName, const ASSEMBLYMETADATA* pMetaData,
                                                        const void* pbHashValue, ULONG cbHashValue,
                                                        DWORD dwAssemblyRefFlags, mdAssemblyRef* pmdar) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineFile(LPCWSTR szName, const void* pbHashValue, ULONG cbHashValue,
                                                 DWORD dwFileFlags, mdFile* pmdf) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineExportedType(LPCWSTR szName, mdToken tkImplementation,
                                                         mdTypeDef tkTypeDef, DWORD dwExportedTypeFlags,
                                                         mdExportedType* pmdct) = 0;
    virtual HRESULT STDMETHODCALLTYPE DefineManifestResource(LPCWSTR szName, mdToken tkImplementation,
                                                             DWORD dwOffset, DWORD dwResourceFlags,
                                                             mdManifestResource* pmdmr) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAssemblyProps(mdAssembly pma, const void* pbPublicKey, ULONG cbPublicKey,
                                                       ULONG ulHashAlgId, LPCWSTR szName,
                                                       const ASSEMBLYMETADATA* pMetaData, DWORD dwAssemblyFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAssemblyRefProps(mdAssemblyRef ar, const void* pbPublicKeyOrToken,
                                                          ULONG cbPublicKeyOrToken, LPCWSTR szName,
                                                          const ASSEMBLYMETADATA* pMetaData, const void* pbHashValue,
                                                          ULONG cbHashValue, DWORD dwAssemblyRefFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFileProps(mdFile file, const void* pbHashValue, ULONG cbHashValue,
                                                   DWORD dwFileFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetExportedTypeProps(mdExportedType ct, mdToken tkImplementation,
                                                           mdTypeDef tkTypeDef, DWORD dwExportedTypeFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetManifestResourceProps(mdManifestResource mr, mdToken tkImplementation,
                                                               DWORD dwOffset, DWORD dwResourceFlags) = 0;

protected:
    ~IMetaDataAssemblyEmit() = default;
};

class IMetaDataDispenser : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE DefineScope(REFCLSID rclsid, DWORD dwCreateFlags, REFIID riid,
                                                  IUnknown** ppIUnk) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenScope(LPCWSTR szScope, DWORD dwOpenFlags, REFIID riid,
                                                IUnknown** ppIUnk) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenScopeOnMemory(const void* pData, ULONG cbData, DWORD dwOpenFlags,
                                                        REFIID riid, IUnknown** ppIUnk) = 0;

protected:
    ~IMetaDataDispenser() = default;
};

class IMetaDataDispenserEx : public IMetaDataDispenser {
public:
    virtual HRESULT STDMETHODCALLTYPE SetOption(REFGUID optionid, const void* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOption(REFGUID optionid, void* pvalue) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenScopeOnITypeInfo(void* pITI, DWORD dwOpenFlags, REFIID riid,
                                                           IUnknown** ppIUnk) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCORSystemDirectory(LPWSTR szBuffer, DWORD cchBuffer, DWORD* pchBuffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAssembly(LPCWSTR szAppBase, LPCWSTR szPrivateBin, LPCWSTR szGlobalBin,
                                                   LPCWSTR szAssemblyName, LPCWSTR szName, ULONG cchName,
                                                   ULONG* pcName) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAssemblyModule(LPCWSTR szAppBase, LPCWSTR szPrivateBin,
                                                         LPCWSTR szGlobalBin, LPCWSTR szAssemblyName,
                                                         LPCWSTR szModuleName, LPWSTR szName, ULONG cchName,
                                                         ULONG* pcName) = 0;

protected:
    ~IMetaDataDispenserEx() = default;
};

}  // namespace cor
