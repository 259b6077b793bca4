#!/usr/bin/env python3
"""Checks, in the built library, that the burn-in unit's passes are really
there: scalar 32-bit multiplies, no packed arithmetic, the four nested loops
(dot product, element, row, pass) and the tick through the sink.

Usage: check_loop_unit.py LIBRARY
"""
import os
import re
import sys

# The listing and the check report are the timed-code check's; no cache
# files go into the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "disassembly"))
from check_timed_code import check, failures, functions  # noqa: E402

PACKED = re.compile(r"\bv?p(add|sub|mul)\w*\b|%[xyz]mm")
JUMP = re.compile(r"\bj\w+\s+([0-9a-f]+) <")


def backward_jumps(lines):
    count = 0
    for line in lines:
        address = re.match(r"^([0-9a-f]+):", line)
        target = JUMP.search(line)
        if address and target and int(target.group(1), 16) <= int(address.group(1), 16):
            count += 1
    return count


def main():
    units = {name: lines for name, lines in functions(sys.argv[1:], addresses=True).items()
             if "runLoopUnit<" in name}
    check(len(units) == 1, "one instance of the burn-in unit")
    for name, lines in units.items():
        check(any(re.search(r"\bimul", line) for line in lines), name + ": integer multiplies")
        check(not any(PACKED.search(line) for line in lines), name + ": scalar code only")
        check(backward_jumps(lines) >= 4, name + ": dot-product, element, row and pass loops")
        check(any(re.search(r"\bcall\s+\*", line) for line in lines), name + ": ticks sent")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
