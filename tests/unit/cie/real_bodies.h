// Method bodies the C# compiler produced, byte for byte, for the tests that
// decode real code: compiled in Release with the .NET 10 SDK and read back
// with System.Reflection.Metadata, each MethodDef's body from its RVA through
// MethodBodyBlock.Size (header, code and EH sections). The comments give the
// C# each body came from.
#pragma once

namespace cie_test {

struct RealBody {
    const char* name;
    unsigned token;
    const char* hex;
};

// clang-format off
const RealBody kRealBodies[] = {
    // a + b
    {"Tiny", 0x06000001,
     "120203582A"},
    // lock (Gate) { counter++; }
    {"Locked", 0x06000002,
     "1B30020029000000010000117E010000040A160B061201280D00000A7E0200000417588002000004DE0A072C0606280E"
     "00000ADC2A0000000110000002000800161E000A00000000"},
    // switch over 0, 1, 2, 3, 5 and default, each returning a string
    {"Switch", 0x06000003,
     "13300100440000000000000002450600000002000000080000000E00000014000000200000001A0000002B1E72010000"
     "702A720B0000702A72130000702A721B0000702A72270000702A72310000702A"},
    // try { return f(); } catch (InvalidOperationException e) when (e.Message.Length > 3) { return 1; }
    // catch (Exception) { return 2; } finally { Monitor.Exit(Gate); }
    {"Filtered", 0x06000004,
     "1B3002003E00000002000011026F0F00000A0ADE337523000001252D0426162B106F1000000A6F1100000A19FE0216FE"
     "03FE1126170ADE1026180ADE0B7E01000004280E00000ADC062A00000128000001000000092700050900000000000000"
     "092C00050F000001020000003131000B00000000"},
    // foreach over a List<T> comparing with IComparable<T>.CompareTo
    {"Generic", 0x06000005,
     "1B3002004F000000030000111200FE150300001B026F1200000A0B2B231201281300000A0C068C0300001B2C11120206"
     "FE160300001B6F1400000A163102080A1201281500000A2DD4DE0E1201FE160500001B6F1600000ADC062A0001100000"
     "02000F00303F000E00000000"},
    // o.ToString as a Func<string>
    {"MakeDelegate", 0x06000007,
     "3A0225FE071A00000A731B00000A2A"},
    // a loop with try/catch inside try/finally, then new SemaphoreSlim(1), Wait, Release
    {"Nested", 0x06000008,
     "1B3004004000000004000011160A160B2B1700061F640207945B580ADE07260617590ADE000717580B07028E6932E3DE"
     "07068002000004DC17731C00000A256F1D00000A6F1E00000A26062A011C0000000007000B1200071300000102000200"
     "2325000700000000"},
    // static readonly object Gate = new object()
    {".cctor", 0x06000009,
     "2E731F00000A80010000042A"},
};
// clang-format on

}  // namespace cie_test
