#!/bin/bash
# Runs the soak under Wine: one process calls all 24 functions through the
# host CALLS times (default 10,000) with seeded valid and hostile arguments,
# while a random user answers every dialog; it fails on a crash, a hang, an
# exception at the host, a result out of format, or growth of memory,
# windows or fonts. The seed is printed first; pass it again to replay.
#   scripts/soak.sh [CALLS] [SEED]
# TESSARY_BUILD selects the build folder (default build/), TESSARY_ARCH=x86_64
# the 64-bit plug-in. scripts/test.sh runs a short soak (500 calls, seed 1)
# through ctest.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
calls="${1:-10000}"
seed="${2:-}"
jobs="${TESSARY_JOBS:-2}"
if [ "${TESSARY_ARCH:-i686}" = x86_64 ]; then
    out="${TESSARY_BUILD:-$root/build}/windows64"
    toolchain="$root/cmake/mingw-x86_64.cmake"
else
    out="${TESSARY_BUILD:-$root/build}/windows"
    toolchain="$root/cmake/mingw-i686.cmake"
fi

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
cmake --build "$out" -j "$jobs" --target soak

source "$root/scripts/wine-session.sh"
start_wine_session "$out/wineprefix"
cd "$out/bin"
args=(--calls "$calls")
if [ -n "$seed" ]; then args+=(--seed "$seed"); fi
"$root/scripts/wine-run" --prefix "$out/wineprefix" ./soak.exe "${args[@]}"
