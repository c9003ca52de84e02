#!/bin/bash
# Builds everything and runs every test:
#   1. the 32- and 64-bit Windows builds (TessaryPlugin.fmx and .fmx64, each
#      with its FMWrapper.dll, host and test programs);
#   2. their end-to-end tests under 32- and 64-bit Wine, both at once and in
#      the background while the rest runs, each test program on a desk of its
#      own (a display and a Wine prefix, scripts/wine-session.sh);
#   3. the portable core's unit tests, native;
#   4. the same under AddressSanitizer and UndefinedBehaviorSanitizer, in the
#      clang tree that also holds the libFuzzer targets, then a short
#      deterministic replay of each target over its committed corpus, each
#      target counted as one test;
#   5. the tests of the release's page converter (tests/package), counted
#      as one test, and the make-up of an archive packed from the test trees'
#      plug-ins (scripts/check-archive.sh), as another; making the release
#      twice and comparing is scripts/package-check.sh's;
#   6. the instructions a few calls cost under callgrind
#      (scripts/call-cost.sh), counted as one test.
# Steps 3 to 6 run at a lower priority than the Windows programs, which wait
# for their windows most of the time and must not wait for the compiler.
# Build trees go to build/ (or $TESSARY_BUILD); TESSARY_DESKS sets the desks
# of each Windows tree (default 4).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TESSARY_BUILD:-$root/build}"
jobs="${TESSARY_JOBS:-2}"
desks="${TESSARY_DESKS:-4}"

bash "$root/scripts/setup.sh"

passed=0
failed=0
status=0

# Adds the counts of a ctest log: its summary line, and its exit status.
count_ctest() {
    local log="$1" rc="$2" line total bad
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1 || true)
    if [ -n "$line" ]; then
        total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
        bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    fi
    [ "$rc" = 0 ] || status=1
}

run_ctest() {
    local dir="$1"; shift
    local log="$dir/ctest.log" rc
    set +e
    (cd "$dir" && ctest --output-on-failure "$@") 2>&1 | tee "$log"
    rc=${PIPESTATUS[0]}
    set -e
    count_ctest "$log" "$rc"
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

echo "== Windows builds (32 and 64 bits)"
cmake -S "$root" -B "$out/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake -S "$root" -B "$out/windows64" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
# The Wine prefixes are made while the compiler runs (the first time only).
source "$root/scripts/wine-session.sh"
prepare_prefixes "$out/windows" "$out/windows64" &
prefixes_made=$!
cmake --build "$out/windows" -j "$jobs"
cmake --build "$out/windows64" -j "$jobs"
wait "$prefixes_made"

echo "== end-to-end tests, 32 and 64 bits, under Wine, $desks desks each (in the background)"
start_desks "$desks" "$out/windows" "$out/windows64"
e2e_pids=()
for tree in "$out/windows" "$out/windows64"; do
    (
        cd "$tree"
        set +e
        ctest --output-on-failure -j "$desks" --resource-spec-file "$tree/desks.json" >"$tree/ctest.log" 2>&1
        echo "$?" >"$tree/ctest.rc"
    ) &
    e2e_pids+=("$!")
done

quiet() { nice -n 15 "$@"; }

echo "== native unit tests"
cmake -S "$root" -B "$out/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
quiet cmake --build "$out/native" -j "$jobs"
run_ctest "$out/native"

echo "== native unit tests under AddressSanitizer and UBSan, and the fuzz targets (clang)"
# The same seed, run count and empty work corpus every time, so a failure
# here repeats; scripts/fuzz.sh is for the long runs that find new inputs.
fuzz_runs="${TESSARY_FUZZ_RUNS:-5000}"
cmake -S "$root" -B "$out/fuzz" -DCMAKE_BUILD_TYPE=Debug -DTESSARY_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
quiet cmake --build "$out/fuzz" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest "$out/fuzz"
for source in "$root"/tests/fuzz/*.cpp; do
    target="$(basename "$source" .cpp)"
    work="$out/fuzz/ci/$target"
    rm -rf "$work"
    mkdir -p "$work" "$out/fuzz/artifacts"
    set +e
    quiet "$out/fuzz/bin/fuzz_$target" -seed=1 -runs="$fuzz_runs" \
        -artifact_prefix="$out/fuzz/artifacts/$target-" "$work" "$root/tests/fuzz/corpus/$target" \
        >"$out/fuzz/ci/$target.log" 2>&1
    tally "fuzz_$target" $? "$out/fuzz/ci/$target.log"
    set -e
done

echo "== the release's page converter"
set +e
python3 -m unittest discover -s "$root/tests/package" -p 'test_*.py' >"$out/package-tests.log" 2>&1
tally markdown_page $? "$out/package-tests.log"
set -e

echo "== the release's make-up, packed from the test trees' plug-ins"
set +e
rm -rf "$out/release-probe"
{ TESSARY_DIST="$out/release-probe" bash "$root/scripts/package.sh" --from-trees "$out/windows" "$out/windows64" &&
  bash "$root/scripts/check-archive.sh" "$out"/release-probe/TessaryPlugin-*.zip; } >"$out/release-probe.log" 2>&1
tally release_make_up $? "$out/release-probe.log"
set -e

echo "== instructions per call, under callgrind"
set +e
quiet bash "$root/scripts/call-cost.sh"
tally call-cost $?
set -e

echo "== waiting for the end-to-end tests"
wait "${e2e_pids[@]}"
for tree in "$out/windows" "$out/windows64"; do
    echo "== end-to-end tests in $(basename "$tree")"
    cat "$tree/ctest.log"
    count_ctest "$tree/ctest.log" "$(cat "$tree/ctest.rc" 2>/dev/null || echo 1)"
done

echo "tests: $passed passed, $failed failed"
exit "$status"
