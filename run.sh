#!/usr/bin/env bash
# Installs what is missing, builds, and starts Varnex.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec build/default/app/varnex "$@"
