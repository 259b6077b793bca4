#!/usr/bin/env python3
"""Checks, in the built library, that the burn-in unit's passes are really
there: scalar 32-bit multiplies, no packed arithmetic, the four nested loops
(dot product, element, row, pass) and the tick through the sink.

Usage: check_loop_unit.py LIBRARY
"""
import re
import subprocess
import sys

PACKED = re.compile(r"\bv?p(add|sub|mul)\w*\b|%[xyz]mm")
JUMP = re.compile(r"\bj\w+\s+([0-9a-f]+) <")


def unit_functions(library):
    listing = subprocess.run(["objdump", "-d", "-C", "--no-show-raw-insn", library],
                             check=True, capture_output=True, text=True).stdout
    result, name = {}, None
    for line in listing.splitlines():
        header = re.match(r"^([0-9a-f]+) <(.*)>:$", line)
        if header:
            name = header.group(2) if "runLoopUnit<" in header.group(2) else None
            if name:
                result[name] = []
        elif not line.strip():
            name = None
        elif name is not None:
            result[name].append(line.strip())
    return result


def backward_jumps(lines):
    count = 0
    for line in lines:
        address = re.match(r"^([0-9a-f]+):", line)
        target = JUMP.search(line)
        if address and target and int(target.group(1), 16) <= int(address.group(1), 16):
            count += 1
    return count


def main():
    failures = []

    def check(condition, what):
        print(("ok:   " if condition else "FAIL: ") + what)
        if not condition:
            failures.append(what)

    functions = unit_functions(sys.argv[1])
    check(len(functions) == 1, "one instance of the burn-in unit")
    for name, lines in functions.items():
        check(any(re.search(r"\bimul", line) for line in lines), name + ": integer multiplies")
        check(not any(PACKED.search(line) for line in lines), name + ": scalar code only")
        check(backward_jumps(lines) >= 4, name + ": dot-product, element, row and pass loops")
        check(any(re.search(r"\bcall\s+\*", line) for line in lines), name + ": ticks sent")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
