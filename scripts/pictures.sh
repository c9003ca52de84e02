#!/bin/bash
# Renders the pictures of the function reference into docs/images: each line
# of docs/pictures.list makes the host program call the plug-in under Wine
# while the dialog driver answers the dialog and takes its picture; the
# script "modeless {shot}" instead pictures the modeless window (the progress
# window) that the calls leave on screen. A name ending in "-144dpi.png" is
# taken on a screen at 144 dpi (150 %), in the prefix copy that
# TESSARY_DPI=144 gives. Nothing else writes docs/images.
#   scripts/pictures.sh              every picture of the list
#   scripts/pictures.sh NAME.png...  only these
# Builds the plug-in and the host first, as the demo does; without a display
# wine-run starts a private one. The pictures are taken into the build tree
# and copied into docs/images only when every one of them was taken.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TESSARY_BUILD:-$root/build}"
list="$root/docs/pictures.list"
images="$root/docs/images"

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$out/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$out/windows" -j "${TESSARY_JOBS:-2}" --target fmhost TessaryPlugin FMWrapper

work="$out/pictures"
rm -rf "$work"
mkdir -p "$work"

wanted() {
    [ "$#" -le 1 ] && return 0
    local name="$1"; shift
    local w
    for w in "$@"; do [ "$w" = "$name" ] && return 0; done
    return 1
}

taken=()
line_number=0
while IFS= read -r line || [ -n "$line" ]; do
    line_number=$((line_number + 1))
    case "$line" in '' | '#'*) continue ;; esac
    IFS=$'\t' read -r -a fields <<<"$line"
    if [ "${#fields[@]}" -lt 3 ]; then
        echo "pictures: $list:$line_number: needs a file name, a driver script and a call" >&2
        exit 1
    fi
    name="${fields[0]}"
    script="${fields[1]}"
    wanted "$name" "$@" || continue
    if [[ "$name" == */* || "$name" == *' '* || "$name" != *.png ]]; then
        echo "pictures: $list:$line_number: '$name' is no plain .png name" >&2
        exit 1
    fi
    if [[ "$script" != *'{shot}'* ]]; then
        echo "pictures: $list:$line_number: the driver script has no {shot}" >&2
        exit 1
    fi
    # The calls go through a file: Wine's command line need not carry "¶".
    printf '%s\n' "${fields[@]:2}" >"$work/${name%.png}.calc"
    if [ "$script" = "modeless {shot}" ]; then
        taking=(--shot-modeless "Z:$work/$name")
    else
        taking=(--answer "${script//\{shot\}/shot \"Z:$work/$name\"}")
    fi
    dpi=96
    [[ "$name" != *-144dpi.png ]] || dpi=144
    echo "pictures: $name"
    (cd "$out/windows/bin" &&
        TESSARY_DPI="$dpi" "$root/scripts/wine-run" --prefix "$out/windows/wineprefix" fmhost.exe "${taking[@]}" \
            TessaryPlugin.fmx -f "Z:$work/${name%.png}.calc" </dev/null)
    if [ ! -s "$work/$name" ]; then
        echo "pictures: $name was not taken" >&2
        exit 1
    fi
    taken+=("$name")
done <"$list"

if [ "${#taken[@]}" = 0 ]; then
    echo "pictures: no picture of $list matched" >&2
    exit 1
fi
mkdir -p "$images"
for name in "${taken[@]}"; do cp "$work/$name" "$images/$name"; done
echo "pictures: ${#taken[@]} written to docs/images"
