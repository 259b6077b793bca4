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


def functions(libraries, addresses=False):
    """The instructions of every function by its name, each line without its
    address unless asked for, with the relocations it names."""
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
            line = line.strip()
            result[name].append(line if addresses else re.sub(r"^[0-9a-f]+:\s*", "", line))
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


MEMORY = r"-?(0x[0-9a-f]+)?\(%r(?!ip|sp)\w+(,%r\w+,\d)?\)"


def reciprocal_remainders(lines):
    """How many remainders the lines compute by the fixed-point reciprocal: a
    64-bit multiply, a shift of the product, a multiply back (imul or lea),
    then a subtraction or the addition of the negated product."""
    found = 0
    for i, line in enumerate(lines):
        if not re.match(r"^imul\s+(\$0x[0-9a-f]+,)?%r\w+,%r\w+$", line):
            continue
        rest = lines[i + 1:i + 16]
        shift = next((k for k, l in enumerate(rest) if re.match(r"^(sar|shr)\s+\$0x[0-9a-f]+,%r", l)), None)
        if shift is None:
            continue
        back = next((k for k, l in enumerate(rest) if k > shift and re.match(r"^(imul|lea)\s", l)), None)
        if back is not None and any(re.match(r"^(sub|add)\s+%\w+,%e\w+$", l) for l in rest[back + 1:]):
            found += 1
    return found


def check_remainder(body, divides, label):
    """A dividing form has idiv; a reciprocal one computes the remainder
    explicitly and never folds it into a divisibility test (rotate or compare
    of a 32-bit product)."""
    if divides:
        check(count(body, r"\bidiv") >= 1, f"{label} divides with idiv")
    else:
        check(count(body, r"\bidiv") == 0 and count(body, r"^ror\b") == 0
              and reciprocal_remainders(body) >= 1,
              f"{label} multiplies by the reciprocal, shifts, multiplies back and subtracts")


def check_counting_loops(funcs):
    loops = {n: b for n, b in funcs.items() if n.startswith("double veltrane::engine::timedDivisionLoop<")}
    check(len(loops) >= 8, f"every counting loop form is built ({len(loops)})")
    for name, body in loops.items():
        fields = shape_fields(name, "MipsShape")
        check_remainder(body, enum_value(field(fields, 5)) == 0,
                        "counting loop {" + ", ".join(fields[:6]) + "}")


# Per step of the PI series: loads, stores, negations, divisions. Every read
# of a series variable is a load and every update a store.
PI_STEP = {"timedWarmUp<": ("flip", 3, 2, 1, 0), "timedSeries<": ("term", 14, 6, 1, 1)}


def check_pi(funcs):
    seen = 0
    for name, body in funcs.items():
        loop = next((k for k in PI_STEP if k in name and name.startswith("double ")), None)
        if loop is None or "PiShape{" not in name:
            continue
        seen += 1
        fields = shape_fields(name, "PiShape")
        what, loads, stores, flips, divides = PI_STEP[loop]
        steps = int(field(fields, 3 if what == "flip" else 4, "8" if what == "flip" else "16"))
        label = f"PI {loop.rstrip('<')} {{{', '.join(fields[:6])}}}"
        found = (count(body, r"^movsd\s+" + MEMORY + r",%xmm"),
                 count(body, r"^movsd\s+%xmm\d+," + MEMORY + "$"),
                 count(body, r"^xorpd\b"), count(body, r"^divsd\b"))
        expected = (loads * steps, stores * steps, flips * steps, divides * steps)
        check(found == expected,
              f"{label}: (loads, stores, negations, divisions) = {expected} for its {steps} {what}s (found {found})")
        check(not any(PACKED.search(line) for line in body), f"{label} is scalar")
        check_remainder(body, enum_value(field(fields, 5)) == 0, label)
    check(seen >= 12, f"both loops of every PI form are built ({seen})")


KERNEL = re.compile(r"stream_detail::(alu|fpu)(Assign|Scale|Add|Triad)<")
WRITES_READS = {"Assign": (1, 1), "Scale": (1, 0), "Add": (1, 2), "Triad": (1, 2)}


def check_stream(funcs):
    kernels = {n: b for n, b in funcs.items() if KERNEL.search(n) and n.startswith("void ")}
    ladder = [n for n in kernels if "LadderArrays<" in n]
    forms = len(kernels) - len(ladder)
    check(forms == 8 * 5, f"the eight kernels of all five STREAM forms are built ({forms})")
    # The memory ladder: test 7's Triad alone, one instance per rung from 15 KB to 8 GB.
    check(len(ladder) == 20 and all("fpuTriad<" in n for n in ladder),
          f"the ladder's 20 rungs run test 7's Triad ({len(ladder)})")
    for name, body in kernels.items():
        unit, kernel = KERNEL.search(name).groups()
        fields = shape_fields(name, "StreamShape")
        per = int(field(fields, 4 if unit == "alu" else 5, "5" if unit == "alu" else "10"))
        prefetch = enum_value(field(fields, 6))
        x87 = field(fields, 7, "false") == "true"
        label = f"{unit}{kernel} of array set {enum_value(field(fields, 10))}"
        if "LadderArrays<" in name:
            label = f"the ladder's {name[name.index('LadderArrays<'):].split('>')[0]}>"
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
            if "runStandardTest" in name or "runSuiteTest" in name or "SuiteThread" in name:
                continue
            fields = shape_fields(name, shape)
            index = {"StreamShape": 9, "IntegerShape": 5, "MatrixShape": 5}[shape]
            check_remainder(body, enum_value(field(fields, index)) == 0,
                            f"{what.rstrip('<')} {{{', '.join(fields[:6])}}}")


def check_matrix(funcs):
    def named(fragment):
        """The bodies of the functions with this name, whatever their template
        arguments (which may name other functions)."""
        want = fragment.split("(")[0].rstrip("<").split("::")[-1]
        return [b for n, b in funcs.items()
                if n.split("(")[0].split("<")[0].split()[-1].split("::")[-1] == want]
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
    check(count(sorting, r"R_X86_64_PLT32\s+_*(str|mem)\w*") == 0 and count(sorting, r"^movzbl\s+" + MEMORY) >= 6,
          "the sort pass compares its texts byte by byte in its own loops, with no library call")


TIMED_ROUTINES = ("IntegerBenchmark<", "runMatrixTest<", "PiBenchmark<", "MipsBenchmark<",
                  "MflopsBenchmark<", "StreamAluBenchmark<", "StreamFpuBenchmark<")


def called(lines):
    """The functions a body calls or jumps to, by their relocations."""
    return {re.sub(r"-0x[0-9a-f]+$", "", line.split("\t", 1)[1])
            for line in lines if line.startswith("R_X86_64_PLT32")}


def timed_calls(lines):
    return {name for name in called(lines) if any(t in name for t in TIMED_ROUTINES)}


def check_scaling(funcs):
    """The scaling run's threads call the standard suite's own seven
    instances, on state of their own, and no copy of them."""
    suite = [name for name in funcs if name.startswith("void veltrane::engine::StandardSuiteThread<")]
    runners = {name for body in (funcs[n] for n in suite) for name in called(body)
               if "runStandardTest<" in name}
    standard = {name for runner in runners for name in timed_calls(funcs.get(runner, []))}
    check(len(standard) == 7, "the standard suite's thread runs seven timed routines")
    workers = [name for name in funcs
               if "ScalingState<" in name and name.endswith("::runTest(int, veltrane::engine::BenchResult&)")]
    check(len(workers) == 1, "one scaling worker is built, the standard suite's")
    for name in workers:
        check(timed_calls(funcs[name]) == standard,
              "the scaling worker calls exactly the standard suite's instances")


def main():
    funcs = functions(sys.argv[1:])
    check_counting_loops(funcs)
    check_pi(funcs)
    check_stream(funcs)
    check_ticks(funcs)
    check_matrix(funcs)
    check_scaling(funcs)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("all checks of the timed code passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
