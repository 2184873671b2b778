#!/usr/bin/env python3
"""Writes a stub of every runtime interface in the given ABI headers: each slot
calls notImplemented(slot name), which answers E_NOTIMPL unless a fake
overrides it, so fakes define only the slots their tests use. Generated at
configure time so the stubs follow the headers' slot lists.

Usage: interface_stubs.py OUTPUT HEADER...
"""
import re
import sys

out, headers = sys.argv[1], sys.argv[2:]
interfaces = {}
for path in headers:
    with open(path, encoding="utf-8") as f:
        text = f.read()
    for found in re.finditer(r"class (\w+) : public (\w+) \{(.*?)\n\};", text, re.S):
        body = re.sub(r"VESK_UNUSED_INFO_SLOT\((\d+)\)", r"virtual HRESULT STDMETHODCALLTYPE unusedSlot\1() = 0;",
                      found.group(3))
        slots = re.findall(r"virtual\s+([\w*]+)\s+STDMETHODCALLTYPE\s+(\w+)\(([^)]*)\)\s*=\s*0;", body)
        interfaces[found.group(1)] = (found.group(2), slots)

lines = ["// Written by tests/unit/support/interface_stubs.py; do not edit.", "#pragma once", ""]
lines += ['#include "%s"' % h[h.index("abi/"):] for h in headers]
lines += ["", "namespace testing_support {", "using namespace cor;", ""]
for name, (base, _) in interfaces.items():
    lines += ["class %sStub : public %s {" % (name, name), "public:",
              "    virtual HRESULT notImplemented(const char*) { return E_NOTIMPL; }"]
    chain = name
    while chain in interfaces:
        for result, slot, params in interfaces[chain][1]:
            call = 'notImplemented("%s")' % slot
            body = {"HRESULT": "return %s;" % call, "void": call + ";"}.get(result, call + "; return 0;")
            lines.append("    %s STDMETHODCALLTYPE %s(%s) override { %s }" % (result, slot, " ".join(params.split()), body))
        chain = interfaces[chain][0]
    lines += ["};", ""]
lines.append("}  // namespace testing_support")

text = "\n".join(lines) + "\n"
try:
    with open(out, encoding="utf-8") as f:
        unchanged = f.read() == text
except OSError:
    unchanged = False
if not unchanged:  # an unchanged file keeps every test object up to date
    with open(out, "w", encoding="utf-8") as f:
        f.write(text)
