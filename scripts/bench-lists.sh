#!/bin/bash
# The list benchmark: Tessary_DoList on 2,500, 10,000, 30,000 and 40,000
# rows of three cells, through the host under Wine, against a bare list view
# filled with the same rows in the same run; and, where zenity is installed,
# `zenity --list --checklist` on the same rows on the same display; and a
# list of a million rows sorted by a column.
#   scripts/bench-lists.sh [ROWS...]
# Prints milliseconds (medians of three runs) and the ratios.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TESSARY_BUILD:-$root/build}"
sizes=("$@")
[ "${#sizes[@]}" = 0 ] && sizes=(2500 10000 30000 40000)

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$out/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$out/windows" -j "${TESSARY_JOBS:-2}" --target bench_lists

# Both sides draw on one display: ours, or a private one when none is set.
source "$root/scripts/wine-session.sh"
start_wine_session "$out/windows/wineprefix"

echo "== Tessary_DoList under Wine, from the call until its rows are painted"
ours="$out/bench-lists.txt"
(cd "$out/windows/bin" && "$root/scripts/wine-run" --prefix "$WINEPREFIX" bench_lists.exe "${sizes[@]}") | tee "$ours"

# A list of a million rows (TESSARY_SORT_ROWS) sorted by a column of texts
# with digits, as a click on its title does, and back the other way: from
# the click until the sorted rows are painted.
echo "== Tessary_DoList sorted by a text column under Wine"
(cd "$out/windows/bin" && "$root/scripts/wine-run" --prefix "$WINEPREFIX" bench_lists.exe --sort \
    ${TESSARY_SORT_ROWS:-1000000})

# A form with long captions, a long label and a message of three lines,
# against the same form with short ones: what
# measuring the texts and fitting the dialog to them adds to opening it.
echo "== Tessary_DoDialog with long content against short, under Wine"
(cd "$out/windows/bin" && "$root/scripts/wine-run" --prefix "$WINEPREFIX" bench_lists.exe --fit)

zenity_time() {
    local times=() t
    for _ in 1 2 3; do times+=("$("$out/bench/zenity_list_time" "$1")"); done
    printf '%s\n' "${times[@]}" | sort -n | sed -n 2p
}

if ! command -v zenity >/dev/null 2>&1; then
    echo "zenity is not installed: no comparison (apt-get install zenity)"
    exit 0
fi
if ! { command -v cc >/dev/null && [ -e /usr/include/X11/Xlib.h ]; }; then
    echo "the zenity timer needs cc and the X11 headers (apt-get install libx11-dev)"
    exit 0
fi
mkdir -p "$out/bench"
cc -O2 -o "$out/bench/zenity_list_time" "$root/tests/bench/zenity_list_time.c" -lX11
echo "== zenity --list --checklist, from launch until its window is mapped (rows as arguments)"
printf '%8s %12s %12s %12s\n' rows "zenity ms" "ours ms" "ours/zenity"
for rows in "${sizes[@]}"; do
    # Rows passed as arguments: past 30,000 they no longer fit a command line.
    [ "$rows" -gt 30000 ] && continue
    z="$(zenity_time "$rows")"
    o="$(awk -v r="$rows" '$1 == r { print $2 }' "$ours")"
    printf '%8d %12.1f %12.1f %12.2f\n' "$rows" "$z" "$o" "$(awk -v o="$o" -v z="$z" 'BEGIN { print o / z }')"
done
