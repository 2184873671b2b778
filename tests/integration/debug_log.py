"""Reads the profiler's debug log into events: a header line and the detail
lines that follow it."""

import re

HEADER = re.compile(r"^\[(\w+) event\]")


class Event:
    def __init__(self, header):
        self.header = header
        self.kind = HEADER.match(header).group(1)
        self.lines = []

    def value(self, label):
        """The text after the first detail line that starts with label."""
        for line in self.lines:
            if line.startswith(label):
                return line[len(label):]
        return None


def events(lines, kind=None):
    out = []
    for line in lines:
        if HEADER.match(line):
            out.append(Event(line))
        elif out and line:
            out[-1].lines.append(line)
    return [e for e in out if kind is None or e.kind == kind]


# The lines that end the processing of one module.
MODULE_OUTCOMES = (
    "  searching completed. detected sync api are defined as references for this module",
    "  module from the forbidden module list",
    "  the module was already processed",
    "  the wrapper assembly cannot be resolved in this process. no redirection",
)


class ModuleLoad:
    """One module's processing: the lines from its name to its outcome. Other
    threads' events may fall in between; the readers below pick out the
    module's own lines by their form."""

    def __init__(self, name, lines):
        self.name = name
        self.lines = lines


def module_loads(lines):
    """(full path, ModuleLoad) for every module the log names."""
    loads = []
    for i, line in enumerate(lines):
        if not line.startswith("  name="):
            continue
        end = i + 1
        while end < len(lines) and lines[end] not in MODULE_OUTCOMES:
            end += 1
        loads.append((line[len("  name="):], ModuleLoad(line[len("  name="):], lines[i + 1:end + 1])))
    return loads


def sync_api_blocks(event):
    """The "    sync api" blocks of one module load: (assembly, class, method,
    count, [defined wrapper ref tokens])."""
    blocks = []
    current = None
    for line in event.lines:
        if line == "    sync api":
            current = {"tokens": []}
            blocks.append(current)
        elif current is not None and line.startswith("      assembly="):
            current["assembly"] = line.split("=", 1)[1]
        elif current is not None and line.startswith("      class="):
            current["class"] = line.split("=", 1)[1]
        elif current is not None and line.startswith("      method="):
            current["method"] = line.split("=", 1)[1]
        elif current is not None and line.startswith("      count of found (oveloads) tokens="):
            current["count"] = int(line.split("=", 1)[1], 16)
        elif current is not None and line.startswith("      defined wrapper ref token="):
            current["tokens"].append(int(line.split("=", 1)[1], 16))
    return blocks


def loaded_wrappers(lines):
    """(assembly, class, method) -> number of overloads, from the wrapper
    loading lines."""
    wrappers = {}
    for i, line in enumerate(lines):
        if line == "    loaded wrapper":
            key = (lines[i + 1].split("=", 1)[1], lines[i + 2].split("=", 1)[1], lines[i + 3].split("=", 1)[1])
            wrappers[key] = wrappers.get(key, 0) + 1
    return wrappers
