#include "pal/files.h"

#include <cerrno>
#include <chrono>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/auxv.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pal {

namespace {

int fd(FileHandle file) { return static_cast<int>(file); }

std::string directoryOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A directory anyone may add names to, where only the sticky bit keeps
// users from removing each other's: /tmp, /var/tmp, /dev/shm.
bool isSharedStickyDirectory(const struct stat& dir) {
    return S_ISDIR(dir.st_mode) && (dir.st_mode & S_ISVTX) != 0 && (dir.st_mode & S_IWOTH) != 0;
}

std::string randomPart() {
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char bytes[10];
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        // Early in boot the pool may not be ready; the exclusive create still
        // refuses a planted name, the retry picks another.
        uint64_t mix = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                       (static_cast<uint64_t>(getpid()) << 32) ^ reinterpret_cast<uintptr_t>(&mix);
        for (unsigned char& b : bytes) {
            mix = mix * 6364136223846793005u + 1442695040888963407u;
            b = static_cast<unsigned char>(mix >> 56);
        }
    }
    std::string part;
    for (unsigned char b : bytes) part += kAlphabet[b % (sizeof kAlphabet - 1)];
    return part;
}

// The group may hold nobody but the owner of this process: the
// administrator's group, or the owner's own group with no listed members
// besides the owner.
bool groupHoldsOnlyOwner(gid_t gid) {
    if (gid == 0) return true;
    if (gid != getegid()) return false;
    std::vector<char> buffer(16384);
    struct group entry;
    struct group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return false;
    struct passwd user;
    struct passwd* owner = nullptr;
    std::vector<char> userBuffer(16384);
    if (getpwuid_r(geteuid(), &user, userBuffer.data(), userBuffer.size(), &owner) != 0 || owner == nullptr)
        return false;
    for (char** member = found->gr_mem; *member != nullptr; ++member) {
        if (std::string(*member) != owner->pw_name) return false;
    }
    return true;
}

std::string whyChangeable(const std::string& shown, const struct stat& st, bool isAncestor) {
    uid_t me = geteuid();
    if (st.st_uid != me && st.st_uid != 0)
        return shown + " belongs to user " + std::to_string(st.st_uid) + ", not to this process's user or root";
    // Others may write an ancestor that has the sticky bit: they cannot
    // rename or remove what belongs to us in it.
    bool sticky = isAncestor && (st.st_mode & S_ISVTX) != 0;
    if ((st.st_mode & S_IWOTH) != 0 && !sticky) return shown + " is writable by every user";
    if ((st.st_mode & S_IWGRP) != 0 && !sticky && !groupHoldsOnlyOwner(st.st_gid))
        return shown + " is writable by group " + std::to_string(st.st_gid);
    return std::string();
}

}  // namespace

FileHandle createNewFile(const std::string& path, bool& nameTaken) {
    nameTaken = false;
    int file;
    do {
        // O_EXCL refuses any existing name, a dangling link included;
        // O_NOFOLLOW says so again for systems that would follow.
        file = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    } while (file < 0 && errno == EINTR);
    if (file < 0) nameTaken = errno == EEXIST || errno == ELOOP;
    return file < 0 ? kNoFile : file;
}

FileHandle createUniqueFile(const std::string& prefix, std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = prefix + randomPart();
        bool taken = false;
        FileHandle file = createNewFile(path, taken);
        if (file != kNoFile || !taken) return file;
    }
    errno = EEXIST;
    return kNoFile;
}

FileHandle openNamedFile(const std::string& path, bool truncate) {
    struct stat dir;
    bool shared = stat(directoryOf(path).c_str(), &dir) == 0 && isSharedStickyDirectory(dir);
    // Not O_EXCL: the user named this file and may mean an existing one (a
    // log to append to, a FIFO read by a tool). O_NONBLOCK keeps a FIFO
    // without reader from hanging the program; it is cleared once open.
    int flags = O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | (shared ? O_NOFOLLOW : 0);
    int file;
    do {
        file = open(path.c_str(), flags, 0600);
    } while (file < 0 && errno == EINTR);
    if (file < 0) return kNoFile;
    struct stat st;
    int error = 0;
    if (fstat(file, &st) != 0) {
        error = errno;
    } else if (shared && st.st_uid != geteuid() && st.st_uid != dir.st_uid) {
        error = EACCES;
    } else if (fcntl(file, F_SETFL, fcntl(file, F_GETFL) & ~O_NONBLOCK) != 0) {
        error = errno;
    } else if (truncate && S_ISREG(st.st_mode) && ftruncate(file, 0) != 0) {
        error = errno;
    }
    if (error != 0) {
        close(file);
        errno = error;
        return kNoFile;
    }
    return file;
}

bool writeFile(FileHandle file, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size != 0) {
        ssize_t n = write(fd(file), p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool closeFile(FileHandle file) {
    // Retrying after EINTR could close a descriptor another thread just
    // opened; the descriptor is released either way.
    return close(fd(file)) == 0 || errno == EINTR;
}

bool pathExists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

bool absolutePath(const std::string& path, std::string& absolute) {
    char* full = realpath(path.c_str(), nullptr);
    if (full == nullptr) return false;
    absolute = full;
    free(full);
    return true;
}

bool sameFile(const std::string& first, const std::string& second) {
    struct stat a, b;
    return stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

std::string lastFileError() { return std::error_code(errno, std::generic_category()).message(); }

std::string whyWritableByOthers(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr) return "cannot examine " + path + ": " + lastFileError();
    std::string real = resolved;
    struct stat st;
    if (stat(real.c_str(), &st) != 0) return "cannot examine " + path + ": " + lastFileError();
    std::string why = whyChangeable(real, st, false);
    // Whoever can write a directory on the way can swap what follows it.
    for (std::string dir = directoryOf(real); why.empty(); dir = directoryOf(dir)) {
        if (stat(dir.c_str(), &st) != 0) return "cannot examine " + dir + ": " + lastFileError();
        why = whyChangeable(dir, st, true);
        if (dir == "/") break;
    }
    return why;
}

bool isSecureExecution() { return getauxval(AT_SECURE) != 0; }

}  // namespace pal
