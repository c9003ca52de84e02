#!/bin/bash
# Counts the instructions one call of each of a few functions costs inside
# the plug-in, with callgrind, in a native build optimized as the shipped
# plug-in is (Release, in build/native-release; a Debug build's unoptimized
# containers would be counted many times over): tests/bench/call_cost.cpp
# makes warm-up calls, then TESSARY_COST_CALLS measured calls (default 100),
# and only those are counted. Prints one line per function with its average
# per call and its limit (what it cost when last measured, plus a tenth),
# and exits non-zero when any call costs more than its limit.
#   scripts/call-cost.sh
# TESSARY_BUILD selects the build folder (default build/).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TESSARY_BUILD:-$root/build}/native-release"
jobs="${TESSARY_JOBS:-2}"
calls="${TESSARY_COST_CALLS:-100}"

if ! command -v valgrind >/dev/null; then
    echo "call-cost: valgrind is missing (scripts/setup.sh installs it)" >&2
    exit 1
fi
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$out" --target call_cost -j "$jobs" >/dev/null

work="$out/call-cost"
mkdir -p "$work"
status=0
while read -r which limit label; do
    profile="$work/$which.callgrind"
    rm -f "$profile"
    if ! valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*measureCall*' \
        --callgrind-out-file="$profile" "$out/bin/call_cost" "$which" "$calls" >"$work/$which.log" 2>&1; then
        printf '%-44s FAILED (see %s)\n' "$label" "$work/$which.log"
        status=1
        continue
    fi
    total=$(sed -nE 's/^(totals|summary): *([0-9]+).*/\2/p' "$profile" | head -1)
    per=$(( ${total:-0} / calls ))
    verdict=ok
    if [ "$per" -gt "$limit" ] || [ "${total:-0}" = 0 ]; then
        verdict=OVER
        status=1
    fi
    printf '%-44s %9d instructions per call  (limit %d)  %s\n' "$label" "$per" "$limit" "$verdict"
done <<'CALLS'
getinput 3610 Tessary_GetInput("text24"), 24 rows staged
setlabels 25520 Tessary_SetLabels, 24 labels
createcolor 9060 Tessary_CreateColor
incr 2150 Tessary_ProgressBar("incr") after a "show"
CALLS
exit "$status"
