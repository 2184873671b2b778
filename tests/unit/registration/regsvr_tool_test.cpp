// veskmrte-regsvr run the way a user runs it, against a library built from
// the real registration code and, once it is built, the profiler itself.

#include "child_process.h"
#include "pal/registry.h"
#include "temporary_store.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#if !defined(VESK_REGSVR_PROGRAM) || !defined(VESK_FIXTURE_SERVER) || !defined(VESK_FIXTURE_NO_EXPORTS)
#error "the build names the program and libraries under test"
#endif

namespace registration_test {
namespace {

typedef std::vector<std::string> Lines;

const char kClassKey[] = "CLSID\\{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}";

struct ServerLibrary {
    const char* name;
    const char* path;
};

void PrintTo(const ServerLibrary& library, std::ostream* os) { *os << library.path; }

std::vector<ServerLibrary> serverLibraries() {
    std::vector<ServerLibrary> libraries{{"Fixture", VESK_FIXTURE_SERVER}};
#ifdef VESK_PROFILER_LIBRARY
    libraries.push_back({"Profiler", VESK_PROFILER_LIBRARY});
#endif
    return libraries;
}

ProgramResult regsvr(std::vector<std::string> args, const std::string& workingDirectory = std::string()) {
    args.insert(args.begin(), VESK_REGSVR_PROGRAM);
    return runProgram(args, workingDirectory);
}

std::string fullPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string value(const std::string& key, const std::string& name) {
    vesk::WString data;
    if (pal::registryGetString(W(key), W(name), data) != pal::RegistryStatus::Ok) return "(missing)";
    return vesk::toUtf8(data);
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class RegsvrWithServer : public ::testing::TestWithParam<ServerLibrary> {
protected:
    TemporaryStore store;
    const std::string library = GetParam().path;
};

TEST_P(RegsvrWithServer, RegistersTheLibraryByItsFullPath) {
    ProgramResult result = regsvr({library});
    ASSERT_EQ(0, result.exitCode) << result.err;
    EXPECT_TRUE(contains(result.out, "succeeded")) << result.out;
    EXPECT_EQ(fullPath(library), value(std::string(kClassKey) + "\\InprocServer32", ""));
    EXPECT_EQ("Both", value(std::string(kClassKey) + "\\InprocServer32", "ThreadingModel"));
}

TEST_P(RegsvrWithServer, ARelativePathIsRegisteredInFull) {
    std::filesystem::path full(fullPath(library));
    ProgramResult result = regsvr({full.filename().string()}, full.parent_path().string());
    ASSERT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ(full.string(), value(std::string(kClassKey) + "\\InprocServer32", ""));
}

TEST_P(RegsvrWithServer, UnregisteringRemovesTheEntries) {
    ASSERT_EQ(0, regsvr({library}).exitCode);
    ProgramResult result = regsvr({"-u", library});
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ(Lines({"CLSID"}), dumpStore());
}

TEST_P(RegsvrWithServer, ListingShowsWhatWasRegistered) {
    ASSERT_EQ(0, regsvr({library}).exitCode);
    ProgramResult result = regsvr({"--list"});
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_TRUE(contains(result.out, "registry store: " + store.path() + "\n")) << result.out;
    const std::string serverKey =
        "CLSID\n"
        "  {5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}\n"
        "    InprocServer32\n"
        "      (default) = \"" +
        fullPath(library) +
        "\"\n"
        "      ThreadingModel = \"Both\"\n"
        "    NotInsertable\n"
        "    ProgID\n"
        "      (default) = \".{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}.1\"\n";
    EXPECT_TRUE(contains(result.out, serverKey)) << result.out;
}

INSTANTIATE_TEST_SUITE_P(Libraries, RegsvrWithServer, ::testing::ValuesIn(serverLibraries()),
                         [](const ::testing::TestParamInfo<ServerLibrary>& info) {
                             return std::string(info.param.name);
                         });

class Regsvr : public ::testing::Test {
protected:
    TemporaryStore store;
};

TEST_F(Regsvr, AFailedRegistrationExitsWithOneAndShowsTheResultInHex) {
    writeFile(store.directory() + "/file", "");
    ScopedEnv beneathAFile("VESKMRTE_REGISTRY", (store.directory() + "/file/registry.json").c_str());
    ProgramResult result = regsvr({VESK_FIXTURE_SERVER});
    EXPECT_EQ(1, result.exitCode);
    EXPECT_TRUE(contains(result.err, "DllRegisterServer")) << result.err;
    EXPECT_TRUE(contains(result.err, "0x80004005")) << result.err;
}

TEST_F(Regsvr, AMissingLibraryIsALoadingError) {
    const std::string missing = store.directory() + "/missing.so";
    ProgramResult result = regsvr({missing});
    EXPECT_EQ(2, result.exitCode);
    EXPECT_TRUE(contains(result.err, missing)) << result.err;
    EXPECT_FALSE(fileExists(store.path()));
}

TEST_F(Regsvr, ALibraryWithoutTheExportIsALoadingError) {
    ProgramResult result = regsvr({VESK_FIXTURE_NO_EXPORTS});
    EXPECT_EQ(2, result.exitCode);
    EXPECT_TRUE(contains(result.err, "DllRegisterServer")) << result.err;
    result = regsvr({"-u", VESK_FIXTURE_NO_EXPORTS});
    EXPECT_EQ(2, result.exitCode);
    EXPECT_TRUE(contains(result.err, "DllUnregisterServer")) << result.err;
}

TEST_F(Regsvr, AFileThatIsNotALibraryIsALoadingError) {
    const std::string text = store.directory() + "/notes.so";
    writeFile(text, "not a library\n");
    ProgramResult result = regsvr({text});
    EXPECT_EQ(2, result.exitCode);
    EXPECT_TRUE(contains(result.err, text)) << result.err;
}

TEST_F(Regsvr, APathAfterDoubleDashMayStartWithADash) {
    std::filesystem::copy_file(VESK_FIXTURE_SERVER, store.directory() + "/-lib.so");
    ProgramResult result = regsvr({"--", "-lib.so"}, store.directory());
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ(store.directory() + "/-lib.so", value(std::string(kClassKey) + "\\InprocServer32", ""));
}

TEST_F(Regsvr, ListingAnEmptyStoreSaysSo) {
    ProgramResult result = regsvr({"--list"});
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ("registry store: " + store.path() + "\n(no keys)\n", result.out);
}

TEST_F(Regsvr, ListingACorruptStoreFailsAndLeavesItAlone) {
    writeFile(store.path(), "{ truncated");
    ProgramResult result = regsvr({"--list"});
    EXPECT_EQ(2, result.exitCode);
    EXPECT_TRUE(contains(result.err, store.path())) << result.err;
    EXPECT_EQ("{ truncated", readFile(store.path()));
}

TEST_F(Regsvr, ListingShowsValuesWithTheirControlCharactersEscaped) {
    ASSERT_TRUE(setKey("Key", "Name", "two\nlines \"quoted\""));
    ProgramResult result = regsvr({"--list"});
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_TRUE(contains(result.out, "\nKey\n  Name = \"two\\nlines \\\"quoted\\\"\"\n")) << result.out;
}

TEST_F(Regsvr, HelpGoesToStandardOutput) {
    ProgramResult result = regsvr({"--help"});
    EXPECT_EQ(0, result.exitCode);
    EXPECT_TRUE(contains(result.out, "usage:")) << result.out;
    EXPECT_EQ("", result.err);
}

TEST_F(Regsvr, BadArgumentsAreUsageErrors) {
    const std::vector<Lines> cases = {{}, {"-x"}, {"a.so", "b.so"}, {"--list", "a.so"}, {"--list", "-u"}, {"-u"}};
    for (const Lines& args : cases) {
        ProgramResult result = regsvr(args);
        std::string shown = ::testing::PrintToString(args);
        EXPECT_EQ(2, result.exitCode) << shown;
        EXPECT_TRUE(contains(result.err, "usage:")) << shown << result.err;
        EXPECT_EQ("", result.out) << shown;
    }
    EXPECT_FALSE(fileExists(store.path()));
}

}  // namespace
}  // namespace registration_test
