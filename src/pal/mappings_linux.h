// The process's memory mappings, for the Linux platform layer only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pal {
namespace mappings {

struct Mapping {
    uintptr_t start = 0;
    uintptr_t end = 0;
    bool executable = false;
    // The file's absolute path, a pseudo-name such as "[heap]", or empty.
    std::string path;
    bool isFile() const { return !path.empty() && path[0] == '/'; }
};

// The mapping that holds the address; with orNext, else the first mapping
// above it. False when there is none.
bool at(uintptr_t address, bool orNext, Mapping& out);

// Every mapping, in address order.
std::vector<Mapping> all();

// The extent of the image of a file mapped at an address: the run of that
// file's adjacent mappings that holds the address, with the anonymous
// reservations between its segments; a gap or another file ends it. False
// when no file is mapped at the address.
bool imageAt(uintptr_t address, Mapping& image);
// The same, from mappings read earlier (in address order).
bool imageIn(const std::vector<Mapping>& snapshot, uintptr_t address, Mapping& image);

// The mappings the text of /proc/self/maps lists.
std::vector<Mapping> parse(const char* text, size_t length);

}  // namespace mappings
}  // namespace pal
