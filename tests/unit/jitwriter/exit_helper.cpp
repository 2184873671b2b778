// Writes records and ends the process without destroying the writer, for
// the exit tests. A process of its own, so the order of its exit handlers is
// known: one registered before the first writer runs after the writer's.
//
// usage: jitwriter_exit_helper FILE COUNT [late]
//   late:  one more record, numbered COUNT, is written from an exit handler
#include "test_support.h"

#include "plovat/jit_writer.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void* g_handle = nullptr;
uint32_t g_count = 0;

bool write(uint32_t index) {
    jittest::OwnedRecord r = jittest::numberedRecord(index);
    return plovatJitWriterWrite(g_handle, r.finish(), 0) == plovat1::meSuccess;
}

void writeDuringExit() {
    if (!write(g_count)) std::_Exit(20);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    std::string mode = argc > 3 ? argv[3] : "";
    g_count = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
    if (mode == "late" && std::atexit(writeDuringExit) != 0) return 21;
    if (plovatJitWriterCreate(&g_handle, jittest::wide(argv[1]).c_str(), 0, 0) != plovat1::meSuccess) return 22;
    for (uint32_t i = 0; i < g_count; ++i) {
        if (!write(i)) return 23;
    }
    return 0;  // returning from main runs the exit handlers, as exit() does
}
