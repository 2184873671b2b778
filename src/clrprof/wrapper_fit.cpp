#include "clrprof/wrapper_fit.h"

#include <algorithm>

namespace veskmrte_1_0 {

using namespace cor;

namespace {

const ULONG kRefBatch = 32;
const ULONG kNameSize = 256;

FileVersion fromMetadata(const ASSEMBLYMETADATA& md) {
    FileVersion v;
    v.major = md.usMajorVersion;
    v.minor = md.usMinorVersion;
    v.build = md.usBuildNumber;
    v.revision = md.usRevisionNumber;
    return v;
}

}  // namespace

bool readAssemblyVersion(IMetaDataAssemblyImport* import, FileVersion& version) {
    mdAssembly assembly = mdTokenNil;
    if (import == nullptr || import->GetAssemblyFromScope(&assembly) != S_OK) return false;
    ASSEMBLYMETADATA md = {};
    if (FAILED(import->GetAssemblyProps(assembly, nullptr, nullptr, nullptr, nullptr, 0, nullptr, &md, nullptr)))
        return false;
    version = fromMetadata(md);
    return true;
}

std::string versionText(const FileVersion& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build) + "." +
           std::to_string(v.revision);
}

MeResult findNewerReference(DispenserSource source, const vesk::WString& path, const FileVersion& framework,
                            NewerReference& newer) {
    newer = NewerReference();
    IMetaDataDispenserEx* dispenser = nullptr;
    if (source == nullptr || FAILED(source(&dispenser)) || dispenser == nullptr) return meFailure;
    IUnknown* scope = nullptr;
    HRESULT hr = dispenser->OpenScope(path.c_str(), ofRead, IID_IMetaDataAssemblyImport, &scope);
    dispenser->Release();
    if (FAILED(hr) || scope == nullptr) return meFailure;
    IMetaDataAssemblyImport* import = static_cast<IMetaDataAssemblyImport*>(static_cast<void*>(scope));

    MeResult result = meSuccess;
    HCORENUM refEnum = nullptr;
    mdAssemblyRef refs[kRefBatch];
    ULONG count = 0;
    while (!newer.found && import->EnumAssemblyRefs(&refEnum, refs, kRefBatch, &count) == S_OK && count > 0) {
        for (ULONG i = 0; i < count && i < kRefBatch && !newer.found; ++i) {
            WCHAR name[kNameSize] = {};
            ULONG nameLength = 0;
            ASSEMBLYMETADATA md = {};
            if (FAILED(import->GetAssemblyRefProps(refs[i], nullptr, nullptr, name, kNameSize, &nameLength, &md,
                                                   nullptr, nullptr, nullptr))) {
                result = meFailure;
                newer.found = true;
                break;
            }
            const FileVersion version = fromMetadata(md);
            if (framework < version) {
                newer.found = true;
                newer.name = vesk::WString(name, nameLength == 0 ? 0 : std::min<ULONG>(nameLength, kNameSize) - 1);
                newer.version = version;
            }
        }
        count = 0;
    }
    if (refEnum != nullptr) import->CloseEnum(refEnum);
    import->Release();
    if (result == meFailure) newer = NewerReference();
    return result;
}

}  // namespace veskmrte_1_0
