// Totals over the records of a JIT file.
#pragma once

#include "jit_file_reader.h"

#include <cstdint>
#include <set>
#include <utility>

namespace jitfile {

class JitSummary {
public:
    void add(const MethodRecord& record);

    uint64_t records() const { return m_records; }
    // Sizes of the code blocks, and the part of them whose bytes were copied.
    uint64_t codeBytes() const { return m_codeBytes; }
    uint64_t copiedCodeBytes() const { return m_copiedCodeBytes; }
    // Modules counted only where the record says its module is known.
    uint64_t modules() const { return m_modules.size(); }
    // A method is a token within a module; a re-compiled method counts once.
    uint64_t methods() const { return m_methods.size(); }

private:
    uint64_t m_records = 0;
    uint64_t m_codeBytes = 0;
    uint64_t m_copiedCodeBytes = 0;
    std::set<uint64_t> m_modules;
    std::set<std::pair<uint64_t, uint32_t>> m_methods;
};

}  // namespace jitfile
