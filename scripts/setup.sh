#!/bin/bash
# Installs everything the build, the demo and the tests need on a Debian
# machine. Quick when everything is already there.
set -euo pipefail

packages=(
    cmake make g++ python3 googletest
    clang libclang-rt-14-dev   # the libFuzzer targets and their replay
    valgrind              # callgrind counts the instructions of a call (scripts/call-cost.sh)
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64   # TessaryPlugin.fmx64
    wine wine32 wine64 xvfb xauth
    libjpeg-turbo-progs   # a real JPEG decoder for the swatch image check
    fonts-wqy-microhei    # so screenshots can show Chinese, Japanese and Korean text
    osslsigncode          # Authenticode signatures on a release's plug-ins (scripts/package.sh --sign)
    openssl               # the throw-away signing certificate of scripts/package-check.sh
)

need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1

missing=()
for p in "${packages[@]}"; do
    name="$p"
    [ "$p" = wine32 ] && name="wine32:i386"
    if ! dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ "$need_i386" = 0 ] && [ "${#missing[@]}" = 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
[ "$need_i386" = 1 ] && $SUDO dpkg --add-architecture i386
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
echo "setup: done"
