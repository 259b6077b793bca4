#!/usr/bin/env bash
# Writes an HTML report of a default run with the comparison, opens it in
# headless Chromium, saves a screenshot and checks that every section of the
# page was rendered. Installs Chromium first if it is missing (needs root).
# Usage: scripts/report-screenshot.sh [output folder]   (default build/report-screenshot)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
out=${1:-build/report-screenshot}

scripts/install-deps.sh
if ! command -v chromium >/dev/null 2>&1; then
  as_root=()
  [ "$(id -u)" -ne 0 ] && as_root=(sudo)
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends chromium
fi
cmake --preset release >/dev/null
cmake --build --preset release --target veltrane-cli

mkdir -p "$out"
cd "$out"
"$top/build/release/bin/veltrane-cli" run --compare --report report.htm \
  --tester "Screenshot <script>alert(1)</script>" --system "CI machine" \
  --comments "Headless check of the report" >run.txt

# A closed network: keep Chromium from reaching out; a fresh profile each time.
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
chromium_flags=(--headless --no-sandbox --disable-gpu --disable-quic --no-first-run
  --disable-background-networking --disable-component-update --disable-sync
  --user-data-dir="$profile" --hide-scrollbars)
chromium "${chromium_flags[@]}" --dump-dom "file://$PWD/report.htm" >dom.html 2>chromium.log
chromium "${chromium_flags[@]}" --window-size=1280,9000 --screenshot="$PWD/report.png" \
  "file://$PWD/report.htm" 2>>chromium.log

status=0
for title in "Tester informations" "CPU Informations" "Processor today" "Standard CPU Features" \
  "Extended CPU Features" "OS Informations" "Benchmarks Results"; do
  if ! grep -q ">$title<" dom.html; then
    echo "report-screenshot: the rendered page has no section \"$title\"" >&2
    status=1
  fi
done
if grep -q "<script>alert" dom.html; then
  echo "report-screenshot: the tester name reached the page unescaped" >&2
  status=1
fi
size=$(stat -c %s report.png 2>/dev/null || echo 0)
if [ "$size" -lt 20000 ]; then
  echo "report-screenshot: no usable screenshot (report.png is $size bytes)" >&2
  status=1
fi
[ $status -eq 0 ] && echo "report-screenshot: $out/report.png shows all seven sections"
exit $status
