#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the .xls reader's
# fuzzer for a short while, then every test in the optimised build and
# again under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
status=0

echo "=== fuzz ==="
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp spreadsheet/xls/tests/fixtures/*.xls "$corpus"/
if LSAN_OPTIONS=suppressions=$PWD/spreadsheet/xls/fuzz/lsan.supp \
   build/fuzz/spreadsheet/xls/fuzz/xls_fuzzer -max_total_time="${VARNEX_FUZZ_SECONDS:-30}" \
     -rss_limit_mb=1024 -max_len=65536 -artifact_prefix=build/fuzz/ "$corpus" 2>build/fuzz/fuzz.log; then
  grep -E "^Done" build/fuzz/fuzz.log || true
else
  tail -40 build/fuzz/fuzz.log
  echo "the fuzzer found a problem: see build/fuzz/"
  status=1
fi

for preset in default asan; do
  echo "=== $preset build ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j"$(nproc)" || status=1
done
exit $status
