#!/bin/bash
# Builds the libFuzzer targets (clang, ASan + UBSan on the core libraries
# too) and runs each for SECONDS seconds (default 60), starting from its
# committed corpus tests/fuzz/corpus/<target>/. New inputs the fuzzer keeps
# go to a work corpus in the build tree, never into the repository; a
# crashing input is written to the build tree's artifacts/ folder.
#   scripts/fuzz.sh [SECONDS]
# TESSARY_BUILD selects the build folder (default build/), TESSARY_FUZZ_TARGETS
# limits the run to some targets ("fields utf8").
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TESSARY_BUILD:-$root/build}/fuzz"
seconds="${1:-60}"
jobs="${TESSARY_JOBS:-2}"

cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Debug -DTESSARY_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$out" -j "$jobs"

targets="${TESSARY_FUZZ_TARGETS:-$(cd "$root/tests/fuzz" && ls *.cpp | sed 's/\.cpp$//')}"
mkdir -p "$out/artifacts"
total=0
status=0
for target in $targets; do
    work="$out/work/$target"
    mkdir -p "$work"
    log="$out/work/$target.log"
    set +e
    "$out/bin/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$out/artifacts/$target-" "$work" "$root/tests/fuzz/corpus/$target" >"$log" 2>&1
    rc=$?
    set -e
    runs=$(sed -nE 's/^stat::number_of_executed_units: ([0-9]+)/\1/p' "$log" | tail -1)
    runs="${runs:-0}"
    total=$((total + runs))
    if [ "$rc" = 0 ]; then
        printf '%-12s %12s executions\n' "$target" "$runs"
    else
        printf '%-12s %12s executions  FAILED (see %s)\n' "$target" "$runs" "$log"
        status=1
    fi
done
printf '%-12s %12s executions in %s s per target\n' "total" "$total" "$seconds"
exit "$status"
