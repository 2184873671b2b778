// Files in places other users can write. The profiler runs inside other
// people's programs, often with more rights than whoever can write /tmp, so a
// name planted there (a symbolic link, a file, a FIFO) must never make it
// write somewhere else, give its data away or block. Used by the profiler and
// by every companion library; one implementation per platform
// (files_linux.cpp, files_win32.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pal {

// A descriptor on POSIX systems, a HANDLE on Windows.
typedef intptr_t FileHandle;
const FileHandle kNoFile = -1;

// Creates a file readable and writable by its owner only, and only if
// nothing at all (not even a dangling link) has that name yet. nameTaken
// tells a caller who can pick another name that this one was in use.
FileHandle createNewFile(const std::string& path, bool& nameTaken);

// Creates a fresh owner-only file named prefix followed by an unpredictable
// part, choosing again while names are taken; path receives its name.
FileHandle createUniqueFile(const std::string& prefix, std::string& path);

// Opens, for writing, a file whose path the user chose, creating it if
// missing (mode 0600) and emptying it when truncate is set. In a directory
// everyone may write that has the sticky bit (such as /tmp) a final symbolic
// link is not followed, and a file owned by someone else is not opened, as
// the kernel's protected_symlinks and protected_regular rules do for
// programs that ask for them. Never blocks on a FIFO.
FileHandle openNamedFile(const std::string& path, bool truncate);

// Writes every byte or reports failure.
bool writeFile(FileHandle file, const void* data, size_t size);
bool closeFile(FileHandle file);

// True when something (anything, a dangling link included) has that name.
bool pathExists(const std::string& path);

// The absolute path of an existing file or directory, with links and
// relative parts resolved; false (see lastFileError) when it does not exist.
bool absolutePath(const std::string& path, std::string& absolute);

// True when both paths lead to the same existing file, whatever links or
// spellings lie on the way.
bool sameFile(const std::string& first, const std::string& second);

// Why the calling thread's last failure above happened, as text.
std::string lastFileError();

// Why users other than the owner of this process and the administrator could
// change the file or directory at path (write it, replace what it holds);
// empty when they cannot.
std::string whyWritableByOthers(const std::string& path);

// True when the system runs this process with more rights than whoever set
// its environment (set-user-ID, file capabilities): path-bearing variables
// must then be ignored.
bool isSecureExecution();

}  // namespace pal
