#!/bin/bash
# Makes the release a user installs, dist/TessaryPlugin-<version>.zip:
#
#   TessaryPlugin-<version>/TessaryPlugin.fmx64   for 64-bit hosts
#   TessaryPlugin-<version>/TessaryPlugin.fmx     for 32-bit hosts
#   TessaryPlugin-<version>/INSTALL.txt           which file goes where
#   TessaryPlugin-<version>/docs/functions.md     the function reference,
#   TessaryPlugin-<version>/docs/images/...       the pictures it shows,
#   TessaryPlugin-<version>/docs/functions.html   and the same as one page
#   TessaryPlugin-<version>/SHA256SUMS            checksums of all the others
#
# Both plug-ins are built in release trees of their own, made fresh each run
# ($TESSARY_BUILD/release-i686 and release-x86_64, default build/), with the
# tests switched off: only the plug-in and the host library it links against
# are compiled, and of these only the plug-in ships. The version is the
# plug-in's own, as CMake wrote it for the string table.
#
# One commit gives one archive, byte for byte: the plug-ins carry no time
# stamp or build path, the archive's entries come in a fixed order with fixed
# attributes, and their time is the commit's (or $SOURCE_DATE_EPOCH when
# set). scripts/package-check.sh makes the release twice and compares.
#
#   bash scripts/package.sh --from-trees I686_TREE X86_64_TREE
# builds nothing: it packs the plug-ins those trees already hold (the test
# trees, say), so that the archive's make-up is checked on every test run
# (scripts/test.sh with scripts/check-archive.sh) without a release build.
#
#   bash scripts/package.sh [--from-trees I686_TREE X86_64_TREE] --sign CERT.pfx [--timestamp URL]
# signs both plug-ins with Authenticode (SHA-256 digest) by the certificate and
# key in CERT.pfx, whose password is read from $TESSARY_SIGN_PASSWORD, before
# they are summed and packed, so SHA256SUMS names the signed files. The copies
# in the staging folder are signed; the trees keep their plug-ins as built.
# With --timestamp URL, an RFC 3161 time-stamp server countersigns each
# signature, so that it stays valid after the certificate expires; without
# it nothing is fetched from the network.
#
# A signed archive is not reproducible: each signature records the time it was
# made (and a time stamp the server's time and nonce), so two signed runs give
# two archives. The unsigned archive stays the same byte for byte.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TESSARY_BUILD:-$root/build}"
dist="${TESSARY_DIST:-$root/dist}"
jobs="${TESSARY_JOBS:-2}"

# Nothing of the machine's locale, time zone or umask reaches the files.
export LC_ALL=C TZ=UTC
umask 022

fail() { echo "package: $*" >&2; exit 1; }

usage="usage: package.sh [--from-trees I686_TREE X86_64_TREE] [--sign CERT.pfx [--timestamp URL]]"
tree_i686="$out/release-i686"
tree_x86_64="$out/release-x86_64"
prebuilt=0
certificate=""
timestamp=""
while [ $# -gt 0 ]; do
    case "$1" in
        --from-trees)
            [ $# -ge 3 ] || fail "$usage"
            tree_i686="$2"
            tree_x86_64="$3"
            prebuilt=1
            shift 3 ;;
        --sign)
            [ $# -ge 2 ] && [ -n "$2" ] || fail "$usage"
            certificate="$2"
            shift 2 ;;
        --timestamp)
            [ $# -ge 2 ] && [ -n "$2" ] || fail "$usage"
            timestamp="$2"
            shift 2 ;;
        *) fail "$usage" ;;
    esac
done

# The password goes into a variable of this shell only and out of the
# environment, so that no build step, compiler or other child inherits it.
password_given="${TESSARY_SIGN_PASSWORD+yes}"
password="${TESSARY_SIGN_PASSWORD-}"
unset TESSARY_SIGN_PASSWORD

# Found wrong before minutes of building, not after.
if [ -n "$certificate" ]; then
    [ -f "$certificate" ] && [ -r "$certificate" ] ||
        fail "--sign: no readable certificate file $certificate"
    [ "$password_given" = yes ] ||
        fail "--sign: set TESSARY_SIGN_PASSWORD to the password of $certificate (it is never taken from the command line)"
    # osslsigncode reads the first line of what it is given.
    case "$password" in
        *$'\n'* | *$'\r'*) fail "--sign: TESSARY_SIGN_PASSWORD holds a line break, which osslsigncode cannot read" ;;
    esac
    case "$timestamp" in
        "" | http://* | https://*) ;;
        *) fail "--timestamp: not an http:// or https:// address: $timestamp" ;;
    esac
elif [ -n "$timestamp" ]; then
    fail "--timestamp stamps a signature: give --sign CERT.pfx too"
fi

bash "$root/scripts/setup.sh"

# The release is dated by its commit. Only our own checkout counts: a copy of
# the sources inside some other repository must not take that one's date.
in_checkout=0
if [ "$(git -C "$root" rev-parse --show-toplevel 2>/dev/null)" = "$root" ]; then
    in_checkout=1
fi
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    [ "$in_checkout" = 1 ] || fail "no commit to date the release by: run it in a git checkout, or set SOURCE_DATE_EPOCH"
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
fi
[[ "$SOURCE_DATE_EPOCH" =~ ^[0-9]+$ ]] || fail "SOURCE_DATE_EPOCH is not a number of seconds: $SOURCE_DATE_EPOCH"
# The compiler and the linker read it too, should a __DATE__ or a link time
# stamp ever creep in.
export SOURCE_DATE_EPOCH

if [ "$in_checkout" = 1 ] && [ -n "$(git -C "$root" status --porcelain)" ]; then
    echo "package: WARNING: the working tree differs from commit $(git -C "$root" rev-parse --short HEAD);" \
         "this archive holds the changes, not that commit" >&2
fi

# build ARCH: a fresh release tree of the plug-in for ARCH (i686, x86_64).
build() {
    local arch="$1" tree="$out/release-$1"
    rm -rf "$tree"
    mkdir -p "$tree"
    echo "== TessaryPlugin, $arch (log: $tree/build.log)"
    if ! { cmake -S "$root" -B "$tree" -DCMAKE_BUILD_TYPE=Release \
               -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DTESSARY_TESTS=OFF &&
           cmake --build "$tree" --target TessaryPlugin -j "$jobs"; } >"$tree/build.log" 2>&1; then
        tail -40 "$tree/build.log" >&2
        fail "the $arch build failed"
    fi
}

version_of() {
    sed -n 's/^#define TESSARY_VERSION_TEXT "\([^"]*\)".*/\1/p' "$1/generated/resources/version.h"
}

if [ "$prebuilt" = 0 ]; then
    build x86_64
    build i686
fi

version=$(version_of "$tree_x86_64")
[ "$version" = "$(version_of "$tree_i686")" ] || fail "the two trees disagree on the version"
# It names a folder and the archive: digits and dots only.
[[ "$version" =~ ^[0-9]+(\.[0-9]+)*$ ]] || fail "unexpected version text: '$version'"
name="TessaryPlugin-$version"
archive="$dist/$name.zip"
# An archive of an earlier run must not stand there as if this one made it.
rm -f "$archive"

stage="$out/release-stage"
top="$stage/$name"
rm -rf "$stage"
mkdir -p "$top/docs" "$dist"

cp "$tree_x86_64/bin/TessaryPlugin.fmx64" "$tree_i686/bin/TessaryPlugin.fmx" "$top/"

# sign FILE: FILE of the staging folder, signed in place.
#
# The password reaches osslsigncode through a pipe on its standard input:
# printf is a builtin of this shell, so the password is in no process's
# arguments (which every user of the machine can read with ps) and in no file.
# Signed outputs are written beside the top folder, never inside it, and
# moved over the unsigned copy only when osslsigncode succeeded.
#
# The signing time is left to osslsigncode (now). It could be given the
# commit's time (-time) to make an RSA signature repeatable, but a signature
# would then claim to be older than it is, possibly older than the certificate.
sign() {
    local file="$1" signed="$stage/signed-$(basename "$1")" result
    local -a stamp=()
    [ -z "$timestamp" ] || stamp=(-ts "$timestamp")
    echo "== signing $(basename "$file") with $certificate${timestamp:+, time stamp from $timestamp}"
    if ! result=$(printf '%s\n' "$password" |
                  osslsigncode sign -pkcs12 "$certificate" -readpass /dev/stdin -h sha256 \
                      -n "Tessary Plug-In" "${stamp[@]}" -in "$file" -out "$signed" 2>&1); then
        rm -f "$signed"
        printf '%s\n' "$result" >&2
        fail "signing $(basename "$file") failed, osslsigncode says why above (a wrong password?" \
             "not a PKCS#12 file with a certificate and its key?${timestamp:+ no answer from $timestamp?})"
    fi
    mv "$signed" "$file"
}

if [ -n "$certificate" ]; then
    sign "$top/TessaryPlugin.fmx64"
    sign "$top/TessaryPlugin.fmx"
fi

# The reference with exactly the pictures it shows, beside it as in docs/,
# so its links hold; the page carries them inside.
cp "$root/docs/functions.md" "$top/docs/"
python3 "$root/scripts/markdown_page.py" "$root/docs/functions.md" "$top/docs/functions.html"
pictures=$(python3 "$root/scripts/markdown_page.py" --images "$root/docs/functions.md")
while IFS= read -r picture; do
    [ -n "$picture" ] || continue
    case "$picture" in
        /* | ../* | */../*) fail "docs/functions.md shows a picture outside docs/: $picture" ;;
    esac
    mkdir -p "$top/docs/$(dirname "$picture")"
    cp "$root/docs/$picture" "$top/docs/$picture"
done <<<"$pictures"

# Windows users read it in Notepad: CR LF line ends.
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/docs/INSTALL.txt.in" >"$top/INSTALL.txt"

# Written aside first, or it would list itself.
(cd "$top" && find . -type f -printf '%P\n' | sort | xargs -d '\n' sha256sum) >"$stage/SHA256SUMS"
mv "$stage/SHA256SUMS" "$top/SHA256SUMS"

python3 "$root/scripts/release_zip.py" "$stage" "$archive" "$SOURCE_DATE_EPOCH"

echo "== $archive"
echo "$(stat -c %s "$archive") bytes, sha256 $(sha256sum "$archive" | cut -d' ' -f1)"
