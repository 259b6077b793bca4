#!/usr/bin/env bash
# Builds the parser fuzzers (preset fuzz: clang-14, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each for a short while. A crash,
# hang, leak, sanitizer report or broken check fails the script; the input
# that caused it is kept in build/fuzz/findings/<target>/.
# Seconds per target: the first argument, else VELTRANE_FUZZ_SECONDS, else 20.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-${VELTRANE_FUZZ_SECONDS:-20}}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "fuzz: the time per target must be a whole number of seconds, not '$seconds'" >&2
  exit 2
fi

# Target and the longest input it is given: files for the file parsers,
# three short fields for the loop configurator.
targets=(
  fuzz_reference_text:4096
  fuzz_definition_file:4096
  fuzz_model_file:4096
  fuzz_pci_names:4096
  fuzz_cpuid_dump:4096
  fuzz_loop_start:256
)

scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

out=build/fuzz
failed=()
for entry in "${targets[@]}"; do
  name="${entry%%:*}"
  max_len="${entry##*:}"
  # New inputs go to the build folder; the seeds in the source tree stay as written.
  mkdir -p "$out/corpus/$name" "$out/findings/$name" "$out/logs"
  log="$out/logs/$name.log"
  echo "fuzz: $name for ${seconds} s"
  if "$out/bin/$name" -max_total_time="$seconds" -timeout=5 -max_len="$max_len" \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/findings/$name/" \
      "$out/corpus/$name" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$log" | sed "s/^/  /" || true
  else
    echo "fuzz: $name found a problem; the end of $log:" >&2
    tail -n 40 "$log" >&2
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]} (inputs in $out/findings/)" >&2
  exit 1
fi
echo "fuzz: no findings"
