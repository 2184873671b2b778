#include "record_printer.h"

#include "plovat/jit_record.h"

namespace jitfile {

std::string hex(uint64_t value, int digits) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0 || static_cast<int>(text.size()) < digits);
    return "0x" + text;
}

std::string hexBytes(const std::vector<uint8_t>& bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) text += hex(b, 2).substr(2);
    return text;
}

std::vector<std::string> flagNames(uint32_t flags) {
    static const struct {
        uint32_t bit;
        const char* name;
    } kNames[] = {
        {plovat1::kModuleKnown, "module"},
        {plovat1::kClassKnown, "class"},
        {plovat1::kCodeRangesPresent, "code-ranges"},
        {plovat1::kModuleFileNamePresent, "module-file-name"},
        {plovat1::kIlMapPresent, "IL-map"},
    };
    std::vector<std::string> names;
    for (const auto& n : kNames) {
        if (flags & n.bit) names.push_back(n.name);
    }
    return names;
}

std::string counted(uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace jitfile
