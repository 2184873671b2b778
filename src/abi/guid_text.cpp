#include "abi/guid_text.h"

namespace cor {

namespace {

int hexValue(WCHAR c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool readHex(const WCHAR* text, int digits, uint32_t& value) {
    value = 0;
    for (int i = 0; i < digits; ++i) {
        int v = hexValue(text[i]);
        if (v < 0) return false;
        value = (value << 4) | static_cast<uint32_t>(v);
    }
    return true;
}

}  // namespace

bool guidFromString(const WCHAR* text, GUID& out) {
    if (text == nullptr) return false;
    // Positions of the hyphens and the braces in the 38-character form.
    static const int kHyphens[] = {9, 14, 19, 24};
    for (int i = 0; i < 38; ++i)
        if (text[i] == 0) return false;
    if (text[38] != 0 || text[0] != '{' || text[37] != '}') return false;
    for (int h : kHyphens)
        if (text[h] != '-') return false;
    GUID g;
    uint32_t v;
    if (!readHex(text + 1, 8, v)) return false;
    g.Data1 = v;
    if (!readHex(text + 10, 4, v)) return false;
    g.Data2 = static_cast<uint16_t>(v);
    if (!readHex(text + 15, 4, v)) return false;
    g.Data3 = static_cast<uint16_t>(v);
    static const int kByteStarts[] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!readHex(text + kByteStarts[i], 2, v)) return false;
        g.Data4[i] = static_cast<uint8_t>(v);
    }
    out = g;
    return true;
}

}  // namespace cor
