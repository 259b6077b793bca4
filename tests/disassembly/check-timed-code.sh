#!/usr/bin/env bash
# Checks in the built engine library that the timed loops are what they
# claim: the compiler may not have removed, fused or vectorised them.
# Usage: check-timed-code.sh LIBRARY
set -euo pipefail
lib=$1
listing=$(mktemp)
trap 'rm -f "$listing"' EXIT
objdump -d -r -C --no-show-raw-insn "$lib" > "$listing"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

# The instructions (and call relocations) of every function whose demangled
# name matches $1.
body() {
  awk -v pattern="$1" '
    /^[0-9a-f]+ <.*>:$/ { inside = ($0 ~ pattern); next }
    /^$/ { inside = 0 }
    inside { print }
  ' "$listing"
}

count() { grep -c -E "$2" <<< "$1" || true; }

expect_at_least() {  # what, listing, regex, minimum
  local n
  n=$(count "$2" "$3")
  if [ "$n" -ge "$4" ]; then pass "$1 ($n)"; else fail "$1: found $n, want at least $4"; fi
}

expect_none() {  # what, listing, regex
  local n
  n=$(count "$2" "$3")
  if [ "$n" -eq 0 ]; then pass "$1"; else fail "$1: found $n"; grep -E "$3" <<< "$2" | head -3; fi
}

mips=$(body 'timedDivisionLoop<veltrane::engine::MipsShape\{512000000')
expect_at_least "MIPS loop divides with idiv" "$mips" '\bidiv' 1

pi=$(body 'PiBenchmark<veltrane::engine::PiShape\{512000000')
expect_at_least "PI series divides each of its 16 terms with divsd" "$pi" '\bdivsd\b' 16
expect_none "PI loops use no packed arithmetic" "$pi" '\b(v?(add|sub|mul|div)pd|%ymm|%zmm)'

packed='\b(v?(add|sub|mul|div|min|max|and|or|xor)p[sd]|v?mov(ap|up)[sd]|v?movdq[au]|v?p(add|sub|mul|sll|srl)[bwdq]|vpbroadcast|v?shufp[sd])\b|%ymm|%zmm'
for kernel in aluAssign aluScale aluAdd aluTriad fpuAssign fpuScale fpuAdd fpuTriad; do
  code=$(body "stream_detail::${kernel}<veltrane::engine::StreamArrays<1000000ul>")
  if [ -z "$code" ]; then fail "$kernel not found"; continue; fi
  expect_none "$kernel is scalar" "$code" "$packed"
  case $kernel in
    alu*) expect_at_least "$kernel stores five elements per iteration" "$code" 'mov +%e[a-z0-9]+,[-0-9a-fx]*\(%' 5 ;;
    fpuAssign) expect_at_least "fpuAssign moves ten elements through integer registers" "$code" 'mov +%r[a-z0-9]+,[-0-9a-fx]*\(%' 10 ;;
    fpu*) expect_at_least "$kernel stores ten doubles per iteration" "$code" 'movsd +%xmm[0-9]+,[-0-9a-fx]*\(%' 10 ;;
  esac
done

rotation=$(body 'BuildRotationY\(')
expect_at_least "BuildRotationY runs fsin" "$rotation" '\bfsin\b' 1
expect_at_least "BuildRotationY runs fcos" "$rotation" '\bfcos\b' 1
multiply=$(body 'MatrixMultiply4x4\(')
expect_at_least "MatrixMultiply4x4 multiplies on the x87 (four per element, in a loop)" "$multiply" '\bfmul' 4
expect_none "MatrixMultiply4x4 uses no packed arithmetic" "$multiply" '\bv?(add|sub|mul)p[sd]\b|%ymm|%zmm'

matrix=$(body 'runMatrixTest<veltrane::engine::MatrixShape\{40000000')
expect_at_least "test 2 calls BuildRotationY every iteration" "$matrix" 'R_X86_64_PLT32.*BuildRotationY' 1
expect_at_least "test 2 calls MatrixMultiply4x4 every iteration" "$matrix" 'R_X86_64_PLT32.*MatrixMultiply4x4' 1

sorting=$(body 'sortPass\(')
expect_at_least "the sort pass compares texts with strcmp" "$sorting" 'R_X86_64_PLT32.*strcmp' 3

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks of the timed code passed"
