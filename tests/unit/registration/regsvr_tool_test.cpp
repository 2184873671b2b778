// veskmrte-regsvr run as a user runs it, on the profiler library. (Its
// failures on a store it cannot use are among the integration tests.)
#include "registry_test_support.h"

#include <climits>

namespace registration_test {
namespace {

struct ToolRun {
    int exitCode;
    std::string out, err;
};

// Runs the tool in directory with arguments the shell need not quote.
ToolRun regsvr(const std::string& arguments, const std::string& directory) {
    const std::string out = directory + "/out", err = directory + "/err";
    const int status = std::system(("cd '" + directory + "' && '" VESK_REGSVR_PROGRAM "' " + arguments + " >'" +
                                    out + "' 2>'" + err + "'").c_str());
    return ToolRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
}

TEST(Regsvr, RegistersTheProfilerByItsFullPathListsAndUnregistersIt) {
    TemporaryStore store;
    char library[PATH_MAX];
    ASSERT_NE(nullptr, realpath(VESK_PROFILER_LIBRARY, library));
    // A relative path (or a link) would name another file for a program elsewhere.
    std::filesystem::create_symlink(library, store.dir + "/-lib.so");
    ToolRun run = regsvr("-- -lib.so", store.dir);
    ASSERT_EQ(0, run.exitCode) << run.err;
    vesk::WString server;
    const std::string serverKey = "CLSID\\{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}\\InprocServer32";
    EXPECT_EQ(pal::RegistryStatus::Ok, pal::registryGetString(W(serverKey), W(""), server));
    EXPECT_EQ(library, vesk::toUtf8(server));
    ASSERT_TRUE(setKey("Key", "Name", "two\nlines"));
    run = regsvr("--list", store.dir);
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("    InprocServer32\n      (default) = \"" + vesk::toUtf8(server) +
                                              "\"\n      ThreadingModel = \"Both\"\n")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("\nKey\n  Name = \"two\\nlines\"\n")) << run.out;  // escaped
    run = regsvr("-u " + std::string(library), store.dir);
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ(Lines({"CLSID", "Key", "Key Name = two\nlines"}), dumpStore());
    // Arguments it cannot use, a missing library and one without the export.
    for (const char* arguments : {"", "-x", "a.so b.so", "--list -u", "missing.so", VESK_FIXTURE_NO_EXPORTS}) {
        EXPECT_EQ(2, regsvr(arguments, store.dir).exitCode) << arguments;
        EXPECT_EQ(Lines({"CLSID", "Key", "Key Name = two\nlines"}), dumpStore());
    }
}

}  // namespace
}  // namespace registration_test
