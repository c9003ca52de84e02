#!/bin/bash
# The progress benchmark: 10,000 Tessary_ProgressBar "incr" calls through the
# host under Wine on a shown window, against 10,000 position messages to a
# bare progress bar (each after reading the same argument through FMWrapper)
# in the same run.
#   scripts/bench-progress.sh [CALLS]
# Prints milliseconds (medians of three runs) and the ratios.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TESSARY_BUILD:-$root/build}"
calls="${1:-10000}"

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$out/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$out/windows" -j "${TESSARY_JOBS:-2}" --target bench_progress

xvfb_pid=""
cleanup() {
    WINEPREFIX="$out/windows/wineprefix" wineserver -k >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT
# Both sides draw on one display: ours, or a private one when none is set.
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 140 170); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            xvfb_pid=$!
            export DISPLAY=":$n"
            break
        fi
    done
    sleep 1
fi
export WINEPREFIX="$out/windows/wineprefix"
"$root/scripts/wine-run" --prefix "$WINEPREFIX" cmd /c exit 0 >/dev/null 2>&1 || true

echo "== Tessary_ProgressBar \"incr\" under Wine, against a bare progress bar"
(cd "$out/windows/bin" && "$root/scripts/wine-run" --prefix "$WINEPREFIX" bench_progress.exe "$calls")
