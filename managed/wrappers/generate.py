#!/usr/bin/env python3
"""Writes the wrapper classes and the API id table under Generated/.

The table below is the one place that says which APIs are wrapped, through
which reference assemblies compiled programs name them, and which id each API
reports with. Run this after editing it; `--check` (run by the build) fails
when Generated/ is out of date.

Ids are positions in API_TYPES order and the native side keys on them: append
new APIs at the end of a type, or new types at the end, never reorder.
"""

import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
OUT_DIR = HERE / "Generated"

# Reference assembly -> namespace of its wrapper classes. A program built for
# net10.0 names Monitor through System.Threading, Thread through
# System.Threading.Thread and WaitHandle through System.Runtime;
# .NET Standard 2.0 libraries name everything through netstandard and
# .NET Framework libraries through mscorlib; the framework's own libraries
# name the implementation in System.Private.CoreLib.
SURFACES = {
    "System.Threading": "SystemThreading",
    "System.Threading.Thread": "SystemThreadingThread",
    "System.Runtime": "SystemRuntime",
    "netstandard": "Netstandard",
    "mscorlib": "Mscorlib",
    "System.Private.CoreLib": "SystemPrivateCoreLib",
}


class Api:
    """One original method (all its overloads), reported under one id.

    Overloads read "ReturnType (parameters)" exactly as the original declares
    them. Blocking APIs report again after the original returns.

    `lock` says what the call does to the lock it names, so that the tool can
    follow which locks each thread holds: "acquire" (blocks until it holds
    it; an overload with a timeout only tries), "try", "release", or "wait"
    (gives it up and takes it back before returning). Whether an acquisition
    succeeded comes from the result or the lockTaken argument. `lock_only`
    names the one type of object that is a lock for this API (WaitOne on a
    Mutex); the report hook checks it.
    """

    def __init__(self, method, overloads, blocking=False, lock=None, lock_only=""):
        assert lock in (None, "acquire", "try", "release", "wait"), lock
        assert lock not in ("acquire", "try", "wait") or blocking, method
        self.method = method
        self.overloads = overloads
        self.blocking = blocking
        self.lock = lock
        self.lock_only = lock_only


class ApiType:
    """A wrapped type. `instance` names the first wrapper parameter that
    stands for `this` of instance methods; for static-only types, `subject`
    names the argument reported as the instance (the object synchronised on).
    """

    def __init__(self, full_name, surfaces, apis, instance=None, subject=None):
        self.full_name = full_name
        self.short_name = full_name.rsplit(".", 1)[1]
        self.surfaces = surfaces
        self.apis = apis
        self.instance = instance
        self.subject = subject


CTOR = ".ctor"

API_TYPES = [
    ApiType("System.Threading.Monitor", ["System.Threading", "netstandard", "mscorlib", "System.Private.CoreLib"], subject="obj", apis=[
        Api("Enter", blocking=True, lock="acquire", overloads=[
            "void (object obj)",
            "void (object obj, ref bool lockTaken)",
        ]),
        Api("TryEnter", blocking=True, lock="try", overloads=[
            "bool (object obj)",
            "bool (object obj, int millisecondsTimeout)",
            "bool (object obj, TimeSpan timeout)",
            "void (object obj, ref bool lockTaken)",
            "void (object obj, int millisecondsTimeout, ref bool lockTaken)",
            "void (object obj, TimeSpan timeout, ref bool lockTaken)",
        ]),
        Api("Exit", lock="release", overloads=[
            "void (object obj)",
        ]),
        Api("Wait", blocking=True, lock="wait", overloads=[
            "bool (object obj)",
            "bool (object obj, int millisecondsTimeout)",
            "bool (object obj, TimeSpan timeout)",
            "bool (object obj, int millisecondsTimeout, bool exitContext)",
            "bool (object obj, TimeSpan timeout, bool exitContext)",
        ]),
        Api("Pulse", overloads=[
            "void (object obj)",
        ]),
        Api("PulseAll", overloads=[
            "void (object obj)",
        ]),
    ]),
    ApiType("System.Threading.Thread", ["System.Threading.Thread", "netstandard", "mscorlib", "System.Private.CoreLib"], instance="thread", apis=[
        Api(CTOR, overloads=[
            "Thread (ThreadStart start)",
            "Thread (ThreadStart start, int maxStackSize)",
            "Thread (ParameterizedThreadStart start)",
            "Thread (ParameterizedThreadStart start, int maxStackSize)",
        ]),
        Api("Start", overloads=[
            "void ()",
            "void (object? parameter)",
        ]),
        Api("Join", blocking=True, overloads=[
            "void ()",
            "bool (int millisecondsTimeout)",
            "bool (TimeSpan timeout)",
        ]),
    ]),
    ApiType("System.Threading.WaitHandle", ["System.Runtime", "netstandard", "mscorlib", "System.Private.CoreLib"], instance="handle", apis=[
        Api("WaitOne", blocking=True, lock="acquire", lock_only="Mutex", overloads=[
            "bool ()",
            "bool (int millisecondsTimeout)",
            "bool (TimeSpan timeout)",
            "bool (int millisecondsTimeout, bool exitContext)",
            "bool (TimeSpan timeout, bool exitContext)",
        ]),
    ]),
    ApiType("System.Threading.EventWaitHandle", ["System.Threading", "netstandard", "mscorlib", "System.Private.CoreLib"], instance="handle", apis=[
        Api("Set", overloads=[
            "bool ()",
        ]),
        Api("Reset", overloads=[
            "bool ()",
        ]),
    ]),
    ApiType("System.Threading.Mutex", ["System.Threading", "netstandard", "mscorlib", "System.Private.CoreLib"], instance="mutex", apis=[
        Api(CTOR, overloads=[
            "Mutex ()",
            "Mutex (bool initiallyOwned)",
            "Mutex (bool initiallyOwned, string? name)",
            "Mutex (bool initiallyOwned, string? name, out bool createdNew)",
        ]),
        Api("ReleaseMutex", lock="release", overloads=[
            "void ()",
        ]),
    ]),
    ApiType("System.Threading.SemaphoreSlim", ["System.Threading", "netstandard", "mscorlib", "System.Private.CoreLib"], instance="semaphore", apis=[
        Api(CTOR, overloads=[
            "SemaphoreSlim (int initialCount)",
            "SemaphoreSlim (int initialCount, int maxCount)",
        ]),
        Api("Wait", blocking=True, lock="acquire", overloads=[
            "void ()",
            "bool (int millisecondsTimeout)",
            "bool (TimeSpan timeout)",
            "void (CancellationToken cancellationToken)",
            "bool (int millisecondsTimeout, CancellationToken cancellationToken)",
            "bool (TimeSpan timeout, CancellationToken cancellationToken)",
        ]),
        Api("Release", lock="release", overloads=[
            "int ()",
            "int (int releaseCount)",
        ]),
    ]),
]

# Not marked auto-generated on purpose: the compiler's nullable and warning
# checks must cover these files like hand-written ones.
HEADER = """\
// Written by generate.py from its table; edit the table and rerun it.
"""


def parse_overload(text):
    ret, rest = text.split(" ", 1)
    inner = rest.strip()
    assert inner.startswith("(") and inner.endswith(")"), text
    params = []
    for part in filter(None, (p.strip() for p in inner[1:-1].split(","))):
        words = part.split()
        modifier = words[0] if words[0] in ("ref", "out", "in") else ""
        params.append((part, modifier, words[-1]))
    return ret, params


def api_id_name(api_type, api):
    return api_type.short_name + ("Ctor" if api.method == CTOR else api.method)


def wrapper_method_name(api):
    return "Ctor" if api.method == CTOR else api.method


def api_full_name(api_type, api):
    return f"{api_type.full_name}.{api.method}"


def check_table():
    seen_ids = set()
    for api_type in API_TYPES:
        assert (api_type.instance is None) != (api_type.subject is None), api_type.full_name
        for surface in api_type.surfaces:
            assert surface in SURFACES, surface
        for api in api_type.apis:
            ident = api_id_name(api_type, api)
            assert ident not in seen_ids, ident
            seen_ids.add(ident)
            for text in (api_type.full_name, api.method, *api_type.surfaces):
                assert text.isascii() and len(text.encode()) < 256, text
            for overload in api.overloads:
                ret, params = parse_overload(overload)
                if api.method == CTOR:
                    assert ret == api_type.short_name, overload
                if api_type.subject is not None:
                    assert params and params[0][2] == api_type.subject, overload


TIMEOUT_PARAMETERS = ("millisecondsTimeout", "timeout")


def lock_reports(api, params, ret, ident, reported):
    """The report calls before and after the original, as C# statements."""
    names = [name for _, _, name in params]
    if api.lock is None:
        return f"Report.Before({ident}, {reported})", f"Report.After({ident}, {reported})"
    if api.lock == "release":
        return f"Report.Releasing({ident}, {reported})", f"Report.After({ident}, {reported})"
    if api.lock == "wait":
        # Monitor.Wait takes the lock back even when it times out.
        return f"Report.Waiting({ident}, {reported})", f"Report.Acquired({ident}, {reported}, true)"
    blocks = api.lock == "acquire" and not any(n in TIMEOUT_PARAMETERS for n in names)
    before = (f"Report.Acquiring{api.lock_only}({ident}, {reported})" if blocks
              else f"Report.Before({ident}, {reported})")
    outcome = "lockTaken" if "lockTaken" in names else "result" if ret == "bool" else "true"
    return before, f"Report.Acquired{api.lock_only}({ident}, {reported}, {outcome})"


# Wrappers are left inlinable on purpose: none of the wrapped APIs looks at
# its caller's frame, so a wrapper inlined into the rewritten call site
# behaves exactly like a real call, and the rewrite stays cheap. Instance
# methods are called on the instance (callvirt), so overrides still run.
def render_method(surface, api_type, api, overload):
    ret, params = parse_overload(overload)
    ident = f"ApiTable.{api_id_name(api_type, api)}"
    args = ", ".join(f"{mod} {name}".strip() for _, mod, name in params)
    decl = [p for p, _, _ in params]
    if api.method == CTOR:
        reported = "null"
        call = f"new {api_type.short_name}({args})"
    elif api_type.instance is not None:
        decl.insert(0, f"{api_type.short_name} {api_type.instance}")
        reported = api_type.instance
        call = f"{api_type.instance}.{api.method}({args})"
    else:
        reported = api_type.subject
        call = f"{api_type.short_name}.{api.method}({args})"

    before, after = lock_reports(api, params, ret, ident, reported)
    lines = [
        f'        [Replacement("{surface}", "{api_type.full_name}", "{api.method}")]',
        f"        public static {ret} {wrapper_method_name(api)}({', '.join(decl)})",
        "        {",
        f"            {before};",
    ]
    if ret == "void":
        lines.append(f"            {call};")
        if api.blocking:
            lines.append(f"            {after};")
    elif api.blocking:
        lines.append(f"            {ret} result = {call};")
        lines.append(f"            {after};")
        lines.append("            return result;")
    else:
        lines.append(f"            return {call};")
    lines.append("        }")
    return lines


def render_surface(surface):
    out = [
        HEADER,
        "using System;",
        "using System.Threading;",
        "using veskmrte_1_0;",
        "",
        f"namespace Veskmrte.Wrappers.{SURFACES[surface]}",
        "{",
    ]
    first_type = True
    for api_type in API_TYPES:
        if surface not in api_type.surfaces:
            continue
        if not first_type:
            out.append("")
        first_type = False
        out.append(f'    // Replaces calls that name {api_type.full_name} through "{surface}".')
        out.append(f"    public static class {api_type.short_name}Wrapper")
        out.append("    {")
        first_method = True
        for api in api_type.apis:
            for overload in api.overloads:
                if not first_method:
                    out.append("")
                first_method = False
                out.extend(render_method(surface, api_type, api, overload))
        out.append("    }")
    out.append("}")
    return "\n".join(out) + "\n"


def render_table():
    out = [
        HEADER,
        "namespace Veskmrte.Wrappers",
        "{",
        "    // Ids passed to Report; each indexes Names.",
        "    internal static class ApiTable",
        "    {",
    ]
    names = []
    for api_type in API_TYPES:
        for api in api_type.apis:
            out.append(f"        internal const int {api_id_name(api_type, api)} = {len(names)};")
            names.append(api_full_name(api_type, api))
    out.append("")
    out.append(f"        internal const int Count = {len(names)};")
    out.append("")
    out.append("        internal static readonly string[] Names =")
    out.append("        {")
    out.extend(f'            "{name}",' for name in names)
    out.append("        };")
    out.append("    }")
    out.append("}")
    return "\n".join(out) + "\n"


def render_all():
    files = {"ApiTable.cs": render_table()}
    for surface, namespace in SURFACES.items():
        files[f"{namespace}.cs"] = render_surface(surface)
    return files


def main(argv):
    check_table()
    files = render_all()
    existing = {p.name for p in OUT_DIR.glob("*.cs")} if OUT_DIR.exists() else set()
    if "--check" in argv:
        stale = sorted(name for name, text in files.items()
                       if not (OUT_DIR / name).exists() or (OUT_DIR / name).read_text() != text)
        stale += sorted(existing - files.keys())
        if stale:
            print("generate.py: Generated/ is out of date (" + ", ".join(stale) + "); run: python3 generate.py",
                  file=sys.stderr)
            return 1
        return 0
    OUT_DIR.mkdir(exist_ok=True)
    for name in existing - files.keys():
        (OUT_DIR / name).unlink()
    for name, text in files.items():
        path = OUT_DIR / name
        if not path.exists() or path.read_text() != text:
            path.write_text(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
