#!/usr/bin/env python3
"""Checks, in the built libraries, that every suite's timed loops are what
they claim: divisions where a form divides, none where it multiplies by a
reciprocal, scalar arithmetic, the elements and prefetches of each STREAM
form, and nothing removed.

Usage: check_timed_code.py LIBRARY...
"""
import re
import subprocess
import sys

# Packed arithmetic, packed loads and stores of data, and the wide registers.
# (Scalar code uses packed register copies, sign masks and stack spills too;
# those are fine.)
PACKED = re.compile(
    r"\b(v?(add|sub|mul|div|min|max)p[sd]|v?p(add|sub|mul|sll|srl)[bwdq]|vpbroadcast\w*|"
    r"v?shufp[sd])\b|\bv?(mov(ap|up)[sd]|movdq[au])\b.*\(%r(?!sp)|%[yz]mm")
STORE = r",-?(0x[0-9a-f]+)?\(%r\w+(,%r\w+,\d)?\)$"

failures = []


def check(condition, what):
    print(("ok:   " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


def functions(libraries):
    listing = subprocess.run(
        ["objdump", "-d", "-r", "-C", "--no-show-raw-insn", *libraries],
        check=True, capture_output=True, text=True).stdout
    result, name = {}, None
    for line in listing.splitlines():
        header = re.match(r"^[0-9a-f]+ <(.*)>:$", line)
        if header:
            name = header.group(1)
            result.setdefault(name, [])
        elif not line.strip():
            name = None
        elif name is not None:
            result[name].append(re.sub(r"^[0-9a-f]+:\s*", "", line.strip()))
    return result


def shape_fields(name, shape):
    """The fields of the first `shape{...}` template argument in a name."""
    start = name.index(shape + "{") + len(shape) + 1
    depth, fields, current = 0, [], ""
    for ch in name[start:]:
        if ch in "([{<":
            depth += 1
        elif ch in ")]}>":
            if depth == 0:
                break
            depth -= 1
        if ch == "," and depth == 0:
            fields.append(current.strip())
            current = ""
        else:
            current += ch
    fields.append(current.strip())
    return fields


def enum_value(field, default=0):
    if field is None:
        return default
    match = re.search(r"\)(\d+)$", field)
    return int(match.group(1)) if match else int(field.rstrip("ul"))


def field(fields, index, default=None):
    return fields[index] if index < len(fields) else default


def count(lines, pattern):
    return sum(1 for line in lines if re.search(pattern, line))


def calls(lines, target):
    return count(lines, r"R_X86_64_PLT32\s+.*" + re.escape(target))


def check_counting_loops(funcs):
    loops = {n: b for n, b in funcs.items() if n.startswith("double veltrane::engine::timedDivisionLoop<")}
    check(len(loops) >= 8, f"every counting loop form is built ({len(loops)})")
    for name, body in loops.items():
        fields = shape_fields(name, "MipsShape")
        label = "counting loop {" + ", ".join(fields[:6]) + "}"
        if enum_value(field(fields, 5)) == 1:
            check(count(body, r"\bidiv") == 0 and count(body, r"\bimul") >= 1,
                  f"{label} multiplies by the reciprocal instead of dividing")
        else:
            check(count(body, r"\bidiv") >= 1, f"{label} divides with idiv")


def check_pi(funcs):
    forms = {}
    for name, body in funcs.items():
        if "PiShape{" in name and ("PiBenchmark<" in name or "timedSeries<" in name
                                   or "timedWarmUp<" in name):
            forms.setdefault(tuple(shape_fields(name, "PiShape")), []).extend(body)
    check(len(forms) >= 6, f"every PI form is built ({len(forms)})")
    for fields, body in forms.items():
        terms = int(field(fields, 4, "16"))
        label = "PI form {" + ", ".join(fields[:5]) + "}"
        check(count(body, r"\bdivsd\b") == terms, f"{label} divides once in each of its {terms} terms")
        check(not any(PACKED.search(line) for line in body), f"{label} is scalar")
        divides = enum_value(field(fields, 5)) == 0
        check((count(body, r"\bidiv") > 0) == divides,
              f"{label} {'divides' if divides else 'does not divide'} in its progress check")


KERNEL = re.compile(r"stream_detail::(alu|fpu)(Assign|Scale|Add|Triad)<")
WRITES_READS = {"Assign": (1, 1), "Scale": (1, 0), "Add": (1, 2), "Triad": (1, 2)}


def check_stream(funcs):
    kernels = {n: b for n, b in funcs.items() if KERNEL.search(n) and n.startswith("void ")}
    check(len(kernels) == 8 * 5, f"the eight kernels of all five STREAM forms are built ({len(kernels)})")
    for name, body in kernels.items():
        unit, kernel = KERNEL.search(name).groups()
        fields = shape_fields(name, "StreamShape")
        per = int(field(fields, 4 if unit == "alu" else 5, "5" if unit == "alu" else "10"))
        prefetch = enum_value(field(fields, 6))
        x87 = field(fields, 7, "false") == "true"
        label = f"{unit}{kernel} of array set {enum_value(field(fields, 10))}"
        check(not any(PACKED.search(line) for line in body), f"{label} is scalar")
        if unit == "alu":
            stores = count(body, r"^mov\s+%e\w+" + STORE)
        elif kernel == "Assign" and x87:
            stores = count(body, r"^fstpl\s")
        elif kernel == "Assign":
            stores = count(body, r"^mov\s+%r\w+" + STORE)
        else:
            stores = count(body, r"^movsd\s+%xmm\d+" + STORE)
        check(stores == per, f"{label} stores {per} elements per iteration (found {stores})")
        writes, reads = WRITES_READS[kernel]
        t1 = count(body, r"^prefetcht1\b")
        w = count(body, r"^prefetchw\b")
        r = count(body, r"^prefetch\s")
        expected = {0: (0, 0, 0), 1: (writes + reads, 0, 0), 2: (0, writes, reads)}[prefetch]
        check((t1, w, r) == expected,
              f"{label} prefetches (t1, w, read) = {expected} per iteration (found {(t1, w, r)})")


def check_ticks(funcs):
    for name, body in funcs.items():
        for shape, what in (("StreamShape", "timePasses<"), ("IntegerShape", "IntegerBenchmark<"),
                            ("MatrixShape", "runMatrixTest")):
            if what not in name or not name.startswith(("void ", "std::array")):
                continue
            if "runStandardTest" in name or "StandardSuiteThread" in name:
                continue
            fields = shape_fields(name, shape)
            index = {"StreamShape": 9, "IntegerShape": 5, "MatrixShape": 5}[shape]
            divides = enum_value(field(fields, index)) == 0
            label = f"{what.rstrip('<')} {{{', '.join(fields[:6])}}}"
            check((count(body, r"\bidiv") > 0) == divides,
                  f"{label} {'divides' if divides else 'multiplies by the reciprocal'} in its progress check")


def check_matrix(funcs):
    def named(fragment):
        return [b for n, b in funcs.items() if fragment in n]
    for body in named("runMatrixTest<"):
        check(calls(body, "BuildRotationY") == 1 and calls(body, "MatrixMultiply4x4") == 1,
              "test 2 rotates and multiplies in every iteration")
    for body in named("runMatrixTest3DNow<"):
        check(calls(body, "SinCos3DNow") == 1 and calls(body, "MatrixMultiply3DNow") == 1,
              "the 3DNow! test 2 calls its vector routines in every iteration")
    rotation = named("BuildRotationY(")[0]
    check(count(rotation, r"^fsin\b") == 1 and count(rotation, r"^fcos\b") == 1,
          "BuildRotationY runs one fsin and one fcos")
    product = named("engine::MatrixMultiply4x4(")[0]
    check(count(product, r"^fmul") >= 4 and not any(PACKED.search(l) for l in product[:-12]),
          "MatrixMultiply4x4 multiplies on the x87")
    sincos = named("SinCos3DNow(float")[0]
    check(count(sincos, r"^call\b") == 0, "SinCos3DNow calls no library function")
    pairs = named("MatrixMultiply3DNow(")[0]
    check(count(pairs, r"^j\w+\s") == 0, "MatrixMultiply3DNow has no branch")
    check(count(pairs, r"^mulss\b") == 64 and count(pairs, r"^addss\b") == 48,
          "MatrixMultiply3DNow: 32 pair multiplies, 16 pair adds, 16 lane sums")
    sorting = named("sortPass(")[0]
    check(calls(sorting, "strcmp") == 3, "the sort pass compares three texts with strcmp")


def main():
    funcs = functions(sys.argv[1:])
    check_counting_loops(funcs)
    check_pi(funcs)
    check_stream(funcs)
    check_ticks(funcs)
    check_matrix(funcs)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("all checks of the timed code passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
