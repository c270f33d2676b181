#!/usr/bin/env bash
# Builds Arbrix and runs every test, as README's test command.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset default
cmake --build --preset default -j"$(nproc)"
ctest --preset default -j2 --timeout 600
