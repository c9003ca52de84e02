#!/bin/bash
# Builds everything and runs every test:
#   1. the portable core's unit tests, native;
#   2. the same under AddressSanitizer and UndefinedBehaviorSanitizer, then
#      a short deterministic replay of each libFuzzer target (clang) over its
#      committed corpus, each target counted as one test, then the
#      instructions a few calls cost under callgrind (scripts/call-cost.sh),
#      counted as one test;
#   3. the 32-bit Windows build (TessaryPlugin.fmx, FMWrapper.dll, the host)
#      and the end-to-end tests under 32-bit Wine;
#   4. the 64-bit Windows build (TessaryPlugin.fmx64 and its own FMWrapper.dll
#      and host) and the same end-to-end tests under 64-bit Wine.
# Both Windows runs share one display; each prefix keeps one wineserver.
# Build trees go to build/ (or $TESSARY_BUILD).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TESSARY_BUILD:-$root/build}"
jobs="${TESSARY_JOBS:-2}"

bash "$root/scripts/setup.sh"

passed=0
failed=0
status=0
run_ctest() {
    local dir="$1"; shift
    local log="$dir/ctest.log"
    set +e
    (cd "$dir" && ctest --output-on-failure "$@") 2>&1 | tee "$log"
    local rc=${PIPESTATUS[0]}
    set -e
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1 || true)
    if [ -n "$line" ]; then
        local total bad
        total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
        bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    fi
    [ "$rc" = 0 ] || status=1
}

# Counts one check that is no ctest run: NAME, its exit status, and a log
# whose end is shown when it failed.
tally() {
    if [ "$2" = 0 ]; then
        echo "$1: passed"
        passed=$((passed + 1))
    else
        echo "$1: FAILED${3:+, see $3}"
        [ -n "${3:-}" ] && tail -40 "$3"
        failed=$((failed + 1))
        status=1
    fi
}

echo "== native unit tests"
cmake -S "$root" -B "$out/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$out/native" -j "$jobs"
run_ctest "$out/native"

echo "== native unit tests under AddressSanitizer and UBSan"
cmake -S "$root" -B "$out/sanitize" -DCMAKE_BUILD_TYPE=Debug -DTESSARY_SANITIZE=ON >/dev/null
cmake --build "$out/sanitize" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest "$out/sanitize"

echo "== fuzz targets, fixed seed and run count, over the committed corpus"
# The same seed, run count and empty work corpus every time, so a failure
# here repeats; scripts/fuzz.sh is for the long runs that find new inputs.
fuzz_runs="${TESSARY_FUZZ_RUNS:-5000}"
cmake -S "$root" -B "$out/fuzz" -DCMAKE_BUILD_TYPE=Debug -DTESSARY_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$out/fuzz" -j "$jobs"
for source in "$root"/tests/fuzz/*.cpp; do
    target="$(basename "$source" .cpp)"
    work="$out/fuzz/ci/$target"
    rm -rf "$work"
    mkdir -p "$work" "$out/fuzz/artifacts"
    set +e
    "$out/fuzz/bin/fuzz_$target" -seed=1 -runs="$fuzz_runs" \
        -artifact_prefix="$out/fuzz/artifacts/$target-" "$work" "$root/tests/fuzz/corpus/$target" \
        >"$out/fuzz/ci/$target.log" 2>&1
    tally "fuzz_$target" $? "$out/fuzz/ci/$target.log"
    set -e
done

echo "== instructions per call, under callgrind"
set +e
bash "$root/scripts/call-cost.sh"
tally call-cost $?
set -e

echo "== Windows builds (32 and 64 bits)"
cmake -S "$root" -B "$out/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$out/windows" -j "$jobs"
cmake -S "$root" -B "$out/windows64" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
cmake --build "$out/windows64" -j "$jobs"

source "$root/scripts/wine-session.sh"
start_wine_session "$out/windows/wineprefix" "$out/windows64/wineprefix"
echo "== end-to-end tests, 32 bits, under Wine"
run_ctest "$out/windows" -j "$jobs"
echo "== end-to-end tests, 64 bits, under 64-bit Wine"
run_ctest "$out/windows64" -j "$jobs"

echo "tests: $passed passed, $failed failed"
exit "$status"
