// veskmrte-jitdump: shows the records of a JIT file.
//
// Exit codes: 0 the whole file was read (also one its writer never closed:
// every record it finished is there); 1 bad usage or an unreadable file;
// 2 not a JIT file, or a format version this tool does not know; 3 the file
// is damaged (the records before the damage were still printed).
#include "jit_file_reader.h"
#include "jit_summary.h"
#include "record_printer.h"

#include <iostream>
#include <memory>
#include <string>

namespace {

const char kUsage[] =
    "usage: veskmrte-jitdump [--json] [--summary] [--code] FILE\n"
    "  --json     print JSON instead of text\n"
    "  --summary  print only the header and the summary, not each record\n"
    "  --code     also print the copied code bytes in hex\n";

enum ExitCode { kOk = 0, kUsageOrIo = 1, kNotReadable = 2, kDamaged = 3 };

}  // namespace

int main(int argc, char** argv) {
    bool json = false, summaryOnly = false, withCode = false, optionsDone = false;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (!optionsDone && arg == "--") {
            optionsDone = true;
        } else if (!optionsDone && arg == "--json") {
            json = true;
        } else if (!optionsDone && arg == "--summary") {
            summaryOnly = true;
        } else if (!optionsDone && arg == "--code") {
            withCode = true;
        } else if (!optionsDone && (arg == "--help" || arg == "-h")) {
            std::cout << kUsage;
            return kOk;
        } else if (!optionsDone && arg.size() > 1 && arg[0] == '-') {
            std::cerr << "veskmrte-jitdump: unknown option " << arg << "\n" << kUsage;
            return kUsageOrIo;
        } else if (path.empty()) {
            path = arg;
        } else {
            std::cerr << "veskmrte-jitdump: more than one file given\n" << kUsage;
            return kUsageOrIo;
        }
    }
    if (path.empty()) {
        std::cerr << kUsage;
        return kUsageOrIo;
    }

    jitfile::JitFileReader reader;
    switch (reader.open(path)) {
        case jitfile::OpenResult::ok:
            break;
        case jitfile::OpenResult::cannotOpen:
            std::cerr << "veskmrte-jitdump: " << reader.error() << "\n";
            return kUsageOrIo;
        case jitfile::OpenResult::notJitFile:
        case jitfile::OpenResult::unsupportedVersion:
            std::cerr << "veskmrte-jitdump: " << reader.error() << "\n";
            return kNotReadable;
    }

    std::unique_ptr<jitfile::RecordPrinter> printer = json ? jitfile::makeJsonPrinter(std::cout, !summaryOnly, withCode)
                                                           : jitfile::makeTextPrinter(std::cout, !summaryOnly, withCode);
    printer->begin(path, reader.header());
    jitfile::JitSummary summary;
    jitfile::MethodRecord record;
    jitfile::ReadResult result;
    while ((result = reader.next(record)) == jitfile::ReadResult::record) {
        summary.add(record);
        printer->record(record);
    }
    const bool whole = result == jitfile::ReadResult::end || result == jitfile::ReadResult::unclosed;
    std::string damage = whole ? std::string() : reader.error();
    printer->end(summary, reader.skippedRecords(), damage, result != jitfile::ReadResult::unclosed);
    std::cout.flush();
    if (!damage.empty()) std::cerr << "veskmrte-jitdump: " << path << ": " << damage << "\n";
    if (result == jitfile::ReadResult::unclosed) std::cerr << "veskmrte-jitdump: " << path << ": " << reader.error() << "\n";
    if (!std::cout) return kUsageOrIo;
    return damage.empty() ? kOk : kDamaged;
}
