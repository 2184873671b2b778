// What a caller sees of keys and values: the Windows registry's rules, one
// row per rule, each a series of calls and the keys and values left.
#include "registry_test_support.h"

namespace registration_test {
namespace {

using pal::RegistryStatus;
using S = RegistryStatus;

// "+A\B" creates a key, "+A\B=x" also sets its default value and
// "+A\B:Name=x" a named one; "-A\B" deletes a key; "?A\B:Name=x" reads a
// value ("?A\B=x" the default).
struct Call {
    std::string text;
    RegistryStatus expected = S::Ok;
};

RegistryStatus perform(const std::string& text) {
    const size_t colon = text.find(':'), equals = text.find('=');
    const std::string path = text.substr(1, std::min(colon, equals) - 1);
    const std::string name = colon < equals ? text.substr(colon + 1, equals - colon - 1) : "";
    const std::string data = equals != std::string::npos ? text.substr(equals + 1) : "";
    if (text[0] == '-') return pal::registryDeleteKey(W(path));
    if (text[0] == '?') {
        vesk::WString found = W("stale");
        RegistryStatus status = pal::registryGetString(W(path), W(name), found);
        if (status == S::Ok ? found != W(data) : !found.empty()) ADD_FAILURE() << text << " read " << vesk::toUtf8(found);
        return status;
    }
    pal::RegistryKey key = nullptr;
    RegistryStatus status = pal::registryCreateKey(W(path), key);
    if ((status == S::Ok) != (key != nullptr)) ADD_FAILURE() << text << ": a handle only on success";
    if (status == S::Ok && equals != std::string::npos) status = pal::registrySetString(key, W(name), W(data));
    pal::registryCloseKey(key);
    return status;
}

struct Rule {
    const char* rule;
    std::vector<Call> calls;
    Lines left;
};

const std::string kLongest(255, 'x');
const std::string kText = "line one\nline two\ttab \"quote\" \\ \xF0\x9F\x98\x80 \x01";

const Rule kRules[] = {
    {"creating a key makes every missing key above it", {{"+A\\B\\C"}}, {"A", "A\\B", "A\\B\\C"}},
    {"creating an existing key keeps its values and subkeys",
     {{"+A:Name=data"}, {"+A\\B"}, {"+A"}},
     {"A", "A Name = data", "A\\B"}},
    {"the default value is listed first and differs from a named one",
     {{"+A:Named=named"}, {"+A=default"}, {"?A=default"}, {"?A:Named=named"}},
     {"A", "A (default) = default", "A Named = named"}},
    {"an unset default value is missing, an empty one is not",
     {{"+A"}, {"?A=", S::NotFound}, {"+B="}, {"?B="}},
     {"A", "B", "B (default) = "}},
    {"a missing value or key is not found", {{"+A:Present=x"}, {"?A:Absent", S::NotFound}, {"?B:Present", S::NotFound}}, {"A", "A Present = x"}},
    {"setting a value again replaces it and keeps the first spelling",
     {{"+A:ThreadingModel=Apartment"}, {"+A:THREADINGMODEL=Both"}},
     {"A", "A ThreadingModel = Both"}},
    {"names match without regard to case, beyond ASCII too, and keep their first spelling",
     {{"+Software\\Vendor"}, {"+SOFTWARE\\vendor\\Product:Name=x"}, {"?software\\VENDOR\\product:NAME=x"},
      {"-sOfTwArE\\vEnDoR\\PRODUCT"}, {"+Ключ\\Één"}, {"+ключ\\één:Имя=y"}, {"?КЛЮЧ\\ÉÉN:имя=y"}},
     {"Software", "Software\\Vendor", "Ключ", "Ключ\\Één", "Ключ\\Één Имя = y"}},
    {"subkeys and values are listed in case-insensitive order",
     {{"+beta"}, {"+Gamma:b=1"}, {"+Gamma:C=2"}, {"+Gamma:a=3"}, {"+alpha"}},
     {"alpha", "beta", "Gamma", "Gamma a = 3", "Gamma b = 1", "Gamma C = 2"}},
    {"a key with subkeys cannot be deleted", {{"+A\\B"}, {"-A", S::HasSubkeys}}, {"A", "A\\B"}},
    {"deleting a missing key fails",
     {{"+A"}, {"-B", S::NotFound}, {"-A\\B", S::NotFound}, {"-B\\C", S::NotFound}},
     {"A"}},
    {"a deleted key takes its values with it", {{"+A=old"}, {"+A:Name=old"}, {"+A\\B"}, {"-A\\B"}, {"-A"}, {"+A"}}, {"A"}},
    {"malformed paths are refused",
     {{"+", S::InvalidArgument}, {"+\\A", S::InvalidArgument}, {"+A\\", S::InvalidArgument},
      {"+A\\\\B", S::InvalidArgument}, {"-", S::InvalidArgument}, {"-A\\", S::InvalidArgument},
      {"+A\\x" + kLongest, S::InvalidArgument}, {"+A\\" + kLongest}},
     {"A", "A\\" + kLongest}},
    {"any text UTF-8 can hold survives the store",
     {{"+Ключ \"quoted\" 日本 é:Value \xF0\x9F\x98\x80=" + kText}, {"?КЛЮЧ \"QUOTED\" 日本 É:value \xF0\x9F\x98\x80=" + kText}},
     {"Ключ \"quoted\" 日本 é", "Ключ \"quoted\" 日本 é Value \xF0\x9F\x98\x80 = " + kText}},
};

class RegistryRules : public ::testing::TestWithParam<Rule> {
protected:
    TemporaryStore store;
};

TEST_P(RegistryRules, Hold) {
    for (const Call& call : GetParam().calls) EXPECT_EQ(call.expected, perform(call.text)) << call.text;
    EXPECT_EQ(GetParam().left, dumpStore());
}

INSTANTIATE_TEST_SUITE_P(Registry, RegistryRules, ::testing::ValuesIn(kRules),
                         [](const ::testing::TestParamInfo<Rule>& info) { return std::to_string(info.index); });

}  // namespace
}  // namespace registration_test
