#!/bin/bash
# Builds the plug-in and the host for Windows and runs examples/demo.calc
# through the host program under Wine: the plug-in's name and functions, the
# version results, a message dialog answered by the dialog driver and a
# colour swatch. The dialog's picture and the swatch's images land in
# build/demo/ (or $TESSARY_BUILD/demo): the demo leaves the tracked files,
# docs/images among them, as they are.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TESSARY_BUILD:-$root/build}"

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$out/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$out/windows" -j "${TESSARY_JOBS:-2}" --target fmhost TessaryPlugin FMWrapper

mkdir -p "$out/demo"
bin="$out/windows/bin"
cp "$root/examples/demo.calc" "$out/demo/demo.calc"
cd "$bin"
"$root/scripts/wine-run" --prefix "$out/windows/wineprefix" fmhost.exe --list \
    --save-streams 'Z:'"$out/demo" \
    --answer 'wait 400; shot "Z:'"$out"'/demo/message-dialog.png"; click 5' \
    TessaryPlugin.fmx -f 'Z:'"$out/demo/demo.calc"
echo "demo: the dialog's picture and the swatch's images are in $out/demo/"
