// Windows counterpart of files_linux.cpp: exclusive creation, reparse points
// never followed, and an owner-only security descriptor on every new file.
#define _CRT_RAND_S
#include "pal/files.h"

#include "common/utf16.h"

#include <stdlib.h>
#include <vector>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

namespace pal {

namespace {

HANDLE toHandle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }
FileHandle fromHandle(HANDLE h) { return reinterpret_cast<FileHandle>(h); }

// The SID of the user this process runs as, in storage the caller keeps.
PSID currentUserSid(std::vector<ULONGLONG>& storage) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return nullptr;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    storage.assign(size / sizeof(ULONGLONG) + 1, 0);
    BOOL ok = GetTokenInformation(token, TokenUser, storage.data(),
                                  static_cast<DWORD>(storage.size() * sizeof(ULONGLONG)), &size);
    CloseHandle(token);
    return ok ? reinterpret_cast<TOKEN_USER*>(storage.data())->User.Sid : nullptr;
}

// Full access for the current user, nothing for anyone else, and nothing
// inherited from the directory: the counterpart of mode 0600.
class OwnerOnlySecurity {
public:
    bool build() {
        PSID user = currentUserSid(m_user);
        if (user == nullptr) return false;
        DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(user);
        m_acl.assign(aclSize / sizeof(ULONGLONG) + 1, 0);
        PACL acl = reinterpret_cast<PACL>(m_acl.data());
        if (!InitializeAcl(acl, aclSize, ACL_REVISION)) return false;
        if (!AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, user)) return false;
        if (!InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION)) return false;
        if (!SetSecurityDescriptorDacl(&m_descriptor, TRUE, acl, FALSE)) return false;
        if (!SetSecurityDescriptorControl(&m_descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) return false;
        m_attributes.nLength = sizeof m_attributes;
        m_attributes.lpSecurityDescriptor = &m_descriptor;
        m_attributes.bInheritHandle = FALSE;
        return true;
    }
    SECURITY_ATTRIBUTES* attributes() { return &m_attributes; }

private:
    std::vector<ULONGLONG> m_user;
    std::vector<ULONGLONG> m_acl;
    SECURITY_DESCRIPTOR m_descriptor;
    SECURITY_ATTRIBUTES m_attributes;
};

std::string randomPart() {
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string part;
    for (int i = 0; i < 10; ++i) {
        unsigned int value = 0;
        if (rand_s(&value) != 0) value = GetTickCount() * 2654435761u + static_cast<unsigned>(i);
        part += kAlphabet[value % (sizeof kAlphabet - 1)];
    }
    return part;
}

// Owners whose files the process may trust: itself, the system, the
// administrators.
bool isTrustedSid(PSID sid, PSID user) {
    return EqualSid(sid, user) || IsWellKnownSid(sid, WinLocalSystemSid) ||
           IsWellKnownSid(sid, WinBuiltinAdministratorsSid) || IsWellKnownSid(sid, WinCreatorOwnerSid);
}

std::string sidText(PSID sid) {
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) return "another user";
    std::string result = vesk::toUtf8(reinterpret_cast<const vesk::WChar*>(text), wcslen(text));
    LocalFree(text);
    return result;
}

}  // namespace

FileHandle createNewFile(const std::string& path, bool& nameTaken) {
    nameTaken = false;
    OwnerOnlySecurity security;
    if (!security.build()) return kNoFile;
    vesk::WString name = vesk::fromUtf8(path);
    // CREATE_NEW refuses any existing name, a link included; readers may
    // open the file while it grows.
    HANDLE h = CreateFileW(reinterpret_cast<LPCWSTR>(name.c_str()), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                           security.attributes(), CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        nameTaken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
        return kNoFile;
    }
    return fromHandle(h);
}

FileHandle createUniqueFile(const std::string& prefix, std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = prefix + randomPart();
        bool taken = false;
        FileHandle file = createNewFile(path, taken);
        if (file != kNoFile || !taken) return file;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return kNoFile;
}

// Windows has no sticky shared directories; the temporary directory is
// per user. A reparse point at the name is refused wherever it is, since it
// could lead anywhere.
FileHandle openNamedFile(const std::string& path, bool truncate) {
    OwnerOnlySecurity security;
    if (!security.build()) return kNoFile;
    vesk::WString name = vesk::fromUtf8(path);
    HANDLE h = CreateFileW(reinterpret_cast<LPCWSTR>(name.c_str()), GENERIC_WRITE, FILE_SHARE_READ,
                           security.attributes(), OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return kNoFile;
    BY_HANDLE_FILE_INFORMATION info;
    DWORD error = ERROR_SUCCESS;
    if (!GetFileInformationByHandle(h, &info)) {
        error = GetLastError();
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        error = ERROR_CANT_ACCESS_FILE;
    } else if (truncate && !SetEndOfFile(h)) {
        error = GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        CloseHandle(h);
        SetLastError(error);
        return kNoFile;
    }
    return fromHandle(h);
}

bool writeFile(FileHandle file, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size != 0) {
        DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(toHandle(file), p, chunk, &written, nullptr) || written == 0) return false;
        p += written;
        size -= written;
    }
    return true;
}

bool closeFile(FileHandle file) { return CloseHandle(toHandle(file)) != 0; }

bool pathExists(const std::string& path) {
    vesk::WString name = vesk::fromUtf8(path);
    return GetFileAttributesW(reinterpret_cast<LPCWSTR>(name.c_str())) != INVALID_FILE_ATTRIBUTES;
}

bool absolutePath(const std::string& path, std::string& absolute) {
    vesk::WString name = vesk::fromUtf8(path);
    DWORD needed = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return false;
    std::vector<wchar_t> full(needed);
    DWORD length = GetFullPathNameW(name.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return false;
    if (GetFileAttributesW(full.data()) == INVALID_FILE_ATTRIBUTES) return false;
    absolute = vesk::toUtf8(full.data(), length);
    return true;
}

namespace {

bool fileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    vesk::WString name = vesk::fromUtf8(path);
    HANDLE h = CreateFileW(reinterpret_cast<LPCWSTR>(name.c_str()), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BOOL ok = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    return ok != 0;
}

}  // namespace

bool sameFile(const std::string& first, const std::string& second) {
    BY_HANDLE_FILE_INFORMATION a, b;
    return fileIdentity(first, a) && fileIdentity(second, b) && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

std::string lastFileError() {
    DWORD error = GetLastError();
    wchar_t text[512];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  sizeof text / sizeof text[0], nullptr);
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n')) --length;
    if (length == 0) return "error " + std::to_string(error);
    return vesk::toUtf8(reinterpret_cast<const vesk::WChar*>(text), length);
}

// The path's own owner and access list; the directories above it are the
// installer's business on Windows, where the system drive's root lets every
// user add folders without letting them replace others'.
std::string whyWritableByOthers(const std::string& path) {
    std::vector<ULONGLONG> userStorage;
    PSID user = currentUserSid(userStorage);
    if (user == nullptr) return "cannot tell who runs this process: " + lastFileError();
    vesk::WString name = vesk::fromUtf8(path);
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD rc = GetNamedSecurityInfoW(reinterpret_cast<LPCWSTR>(name.c_str()), SE_FILE_OBJECT,
                                     OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &dacl,
                                     nullptr, &descriptor);
    if (rc != ERROR_SUCCESS) {
        SetLastError(rc);
        return "cannot examine " + path + ": " + lastFileError();
    }
    std::string why;
    const ACCESS_MASK kChanges = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                 FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
    if (!isTrustedSid(owner, user)) {
        why = path + " belongs to " + sidText(owner) + ", not to this process's user or the administrators";
    } else if (dacl == nullptr) {
        why = path + " has no access list, so every user may write it";
    } else {
        for (DWORD i = 0; i < dacl->AceCount && why.empty(); ++i) {
            ACE_HEADER* header = nullptr;
            if (!GetAce(dacl, i, reinterpret_cast<void**>(&header))) continue;
            if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE) != 0) continue;
            ACCESS_ALLOWED_ACE* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
            PSID sid = reinterpret_cast<PSID>(&ace->SidStart);
            if ((ace->Mask & kChanges) != 0 && !isTrustedSid(sid, user))
                why = path + " is writable by " + sidText(sid);
        }
    }
    LocalFree(descriptor);
    return why;
}

// Windows starts no program with more rights than the user who set its
// environment.
bool isSecureExecution() { return false; }

}  // namespace pal
