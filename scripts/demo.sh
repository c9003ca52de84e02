#!/bin/bash
# Builds the plug-in and the host for Windows and runs examples/demo.calc
# through the host program under Wine: the plug-in's name and functions, the
# version results, a message dialog answered by the dialog driver and a
# colour swatch. The dialog's picture and the swatch's images land in
# build/demo/ (or $TESSARY_BUILD/demo): the demo leaves the tracked files,
# docs/images among them, as they are.
#   demo.sh [--arch i686|x86_64]
# i686 (the default) builds and runs TessaryPlugin.fmx with the 32-bit host;
# x86_64 builds and runs TessaryPlugin.fmx64 with the 64-bit host under
# 64-bit Wine. TESSARY_ARCH chooses the same.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TESSARY_BUILD:-$root/build}"
arch="${TESSARY_ARCH:-i686}"
if [ "${1:-}" = "--arch" ]; then arch="${2:-}"; shift 2; fi
case "$arch" in
    i686) tree="$out/windows"; plugin=TessaryPlugin.fmx; wine_arch=win32; demo="$out/demo" ;;
    x86_64) tree="$out/windows64"; plugin=TessaryPlugin.fmx64; wine_arch=win64; demo="$out/demo64" ;;
    *) echo "demo: --arch takes i686 or x86_64, not '$arch'" >&2; exit 2 ;;
esac

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$tree" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" >/dev/null
cmake --build "$tree" -j "${TESSARY_JOBS:-2}" --target fmhost TessaryPlugin FMWrapper

mkdir -p "$demo"
cp "$root/examples/demo.calc" "$demo/demo.calc"
cd "$tree/bin"
"$root/scripts/wine-run" --prefix "$tree/wineprefix" --arch "$wine_arch" fmhost.exe --list \
    --save-streams 'Z:'"$demo" \
    --answer 'wait 400; shot "Z:'"$demo"'/message-dialog.png"; click 5' \
    "$plugin" -f 'Z:'"$demo/demo.calc"
echo "demo: the dialog's picture and the swatch's images are in $demo/"
