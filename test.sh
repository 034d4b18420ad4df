#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in the
# optimised build and once under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
status=0
for preset in default asan; do
  echo "=== $preset build ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j"$(nproc)" || status=1
done
exit $status
