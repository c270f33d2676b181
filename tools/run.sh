#!/usr/bin/env bash
# Builds Arbrix and starts it; without a configured directory it opens the embedded sample domain.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)"
if [ -z "${ARBRIX_DIRECTORY:-}" ] && ! grep -qs '^AccèsADServeur=.' build/bin/Arbrix.ini; then
  export ARBRIX_DIRECTORY="$PWD/data/sample-domain.ldif"
fi
if [ -x build/bin/arbrix ]; then
  exec build/bin/arbrix "$@"
else
  exec build/bin/arbrix-cli "$@"
fi
