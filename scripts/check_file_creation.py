#!/usr/bin/env python3
"""Fails when a source file creates a file in a way a planted name could
turn: an open() with O_CREAT but without O_EXCL, creat(), or a C or C++
stream opened for writing. A call may stay when a comment within the three
lines above it says why O_EXCL does not apply ("Not O_EXCL: ...").

    check_file_creation.py [ROOT]   (default: the repository)
"""
import os
import re
import sys

SOURCES = ("src", "include")
EXTENSIONS = (".c", ".cc", ".cpp", ".h", ".hpp")
# Stream and creat() forms have no way to ask for O_EXCL | O_NOFOLLOW.
UNSAFE_CALLS = [
    (re.compile(r"\bcreat\s*\("), "creat() cannot refuse an existing name"),
    (re.compile(r"\bfopen\s*\([^;]*\"[wa]"), "fopen() for writing follows links and reuses files"),
    (re.compile(r"\bstd::(?:of|f)stream\b"), "file streams follow links and reuse files"),
]
OPEN_CALL = re.compile(r"\b(?:open|openat|open64)\s*\(")
JUSTIFIED = re.compile(r"Not O_EXCL", re.IGNORECASE)


def statement_at(text, start):
    """The call's text up to its closing parenthesis."""
    depth = 0
    for i in range(text.index("(", start), len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return text[start:i + 1]
    return text[start:]


def justified(lines, line_no):
    above = lines[max(0, line_no - 4):line_no]
    return any(JUSTIFIED.search(l) for l in above)


def check_file(path, problems):
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    lines = text.split("\n")
    for match in OPEN_CALL.finditer(text):
        call = statement_at(text, match.start())
        if "O_CREAT" not in call or "O_EXCL" in call:
            continue
        line_no = text.count("\n", 0, match.start())
        if not justified(lines, line_no):
            problems.append(f"{path}:{line_no + 1}: open() with O_CREAT but no O_EXCL, "
                            f"and no 'Not O_EXCL: why' comment above it")
    for pattern, why in UNSAFE_CALLS:
        for match in pattern.finditer(text):
            line_no = text.count("\n", 0, match.start())
            if not justified(lines, line_no):
                problems.append(f"{path}:{line_no + 1}: {why}")


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    problems = []
    for top in SOURCES:
        for directory, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if name.endswith(EXTENSIONS):
                    check_file(os.path.join(directory, name), problems)
    for p in problems:
        print(p)
    print(f"check_file_creation: {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
