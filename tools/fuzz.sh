#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz") and runs each one for SECONDS (default 30), seeded from
# fuzz/corpus/<target>/. New inputs go to build-fuzz/corpus/, crashes to build-fuzz/artifacts/.
# Prints the executions of each target; fails when a target found a crash or a broken property.
#
#   tools/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
shift || true

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$f" .cpp)")
    done
fi

failed=()
for target in "${targets[@]}"; do
    name="${target#fuzz_}"
    corpus="build-fuzz/corpus/$name"
    artifacts="build-fuzz/artifacts/$name/"
    log="build-fuzz/$target.log"
    mkdir -p "$corpus" "$artifacts"
    status=0
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        "build-fuzz/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" "fuzz/corpus/$name" >"$log" 2>&1 ||
        status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    printf '%-18s %10s executions  %s\n' "$target" "${runs:-?}" "$([ $status -eq 0 ] && echo ok || echo FAILED)"
    if [ $status -ne 0 ]; then
        failed+=("$target")
        grep -E 'ERROR|runtime error|property failed|Test unit written' "$log" | head -n 8 | sed 's/^/    /'
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: ${failed[*]} failed; the inputs are in build-fuzz/artifacts/, the logs in build-fuzz/*.log" >&2
    exit 1
fi
