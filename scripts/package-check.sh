#!/bin/bash
# Checks the release archive: that it holds exactly what it should, and that
# making it twice gives the same bytes.
#
#   1. the page converter's own tests (tests/package/test_markdown_page.py);
#   2. scripts/package.sh here, in fresh trees (build/release-*);
#   3. scripts/package.sh again, in a copy of the sources at another path
#      with trees and dist of its own: the plug-ins must not depend on where
#      the sources or the build trees are;
#   4. both archives and both pairs of plug-ins compared byte for byte;
#   5. the archive's entries against tests/package/contents.txt, its
#      SHA256SUMS against the files it names and those against the entries,
#      and each plug-in's machine type against its name.
# Fails at the first difference, saying what differs. Takes as long as four
# release builds; not part of scripts/test.sh.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
export LC_ALL=C

fail() { echo "package-check: FAILED: $*" >&2; exit 1; }

[ "$(git -C "$root" rev-parse --show-toplevel 2>/dev/null)" = "$root" ] ||
    fail "$root is not a git checkout"

echo "== the page converter's tests"
python3 -m unittest discover -s "$root/tests/package" -p 'test_*.py' ||
    fail "the page converter's tests"

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-package-check.XXXXXX")
trap 'rm -rf "$work"' EXIT

started=$SECONDS
echo "== first release, in $root"
bash "$root/scripts/package.sh"
first_time=$((SECONDS - started))

shopt -s nullglob
archives=("$root"/dist/TessaryPlugin-*.zip)
shopt -u nullglob
version=$(sed -n 's/^#define TESSARY_VERSION_TEXT "\([^"]*\)".*/\1/p' \
    "$root/build/release-x86_64/generated/resources/version.h")
name="TessaryPlugin-$version"
[ -f "$root/dist/$name.zip" ] || fail "package.sh made no dist/$name.zip (dist/ holds: ${archives[*]:-nothing})"
mkdir -p "$work/first"
cp "$root/dist/$name.zip" "$root/build/release-x86_64/bin/TessaryPlugin.fmx64" \
   "$root/build/release-i686/bin/TessaryPlugin.fmx" "$work/first/"

# The copy holds what the working tree holds (tracked and new files, not the
# ignored ones), so both runs build the same sources; it has no history, so
# it is given the first run's date.
copy="$work/elsewhere/sources-at-another-path"
mkdir -p "$copy"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do
        if [ -e "$file" ] || [ -L "$file" ]; then printf '%s\0' "$file"; fi
    done | xargs -0 -r cp -P --parents -t "$copy")
epoch="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}"

started=$SECONDS
echo "== second release, in $copy"
SOURCE_DATE_EPOCH="$epoch" TESSARY_BUILD="$copy/build" TESSARY_DIST="$copy/dist" \
    bash "$copy/scripts/package.sh"
second_time=$((SECONDS - started))

echo "== comparing"
cmp "$work/first/TessaryPlugin.fmx64" "$copy/build/release-x86_64/bin/TessaryPlugin.fmx64" ||
    fail "the two builds of TessaryPlugin.fmx64 differ"
cmp "$work/first/TessaryPlugin.fmx" "$copy/build/release-i686/bin/TessaryPlugin.fmx" ||
    fail "the two builds of TessaryPlugin.fmx differ"
cmp "$work/first/$name.zip" "$copy/dist/$name.zip" ||
    fail "the two archives differ"

zip="$work/first/$name.zip"
python3 -m zipfile -l "$zip"
python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip" \
    >"$work/entries"
grep -v '^#' "$root/tests/package/contents.txt" | sed "s|^|$name/|" >"$work/expected"
diff -u "$work/expected" "$work/entries" >&2 ||
    fail "the archive's entries (+) are not the expected ones (-), tests/package/contents.txt"

python3 -m zipfile -e "$zip" "$work/unpacked"
top="$work/unpacked/$name"
(cd "$top" && sha256sum --quiet --strict -c SHA256SUMS) ||
    fail "a file of the archive does not match its line in SHA256SUMS"
cut -d' ' -f3- "$top/SHA256SUMS" >"$work/summed"
sed -e "s|^$name/||" -e '/^SHA256SUMS$/d' "$work/entries" >"$work/others"
diff -u "$work/others" "$work/summed" >&2 ||
    fail "SHA256SUMS (+) does not cover exactly the archive's other files (-)"

# A host loads only a plug-in of its own word size, and tells the user
# nothing more than that it did not load it.
python3 - "$top/TessaryPlugin.fmx64" 0x8664 "$top/TessaryPlugin.fmx" 0x14c <<'EOF' ||
import struct, sys
ok = True
for path, want in zip(sys.argv[1::2], sys.argv[2::2]):
    with open(path, "rb") as f:
        data = f.read(4096)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    machine, stamp = (data[pe:pe + 4] == b"PE\0\0" and struct.unpack_from("<H4xI", data, pe + 4)) or (None, None)
    if machine != int(want, 16):
        print("%s: machine %s, not %s" % (path, machine and hex(machine), want), file=sys.stderr)
        ok = False
    elif stamp != 0:
        print("%s: carries a link time stamp" % path, file=sys.stderr)
        ok = False
sys.exit(0 if ok else 1)
EOF
    fail "a plug-in is not for the machine its name says, or not free of time stamps"

echo "package-check: passed: $name.zip is the same from both builds and holds what it should"
echo "package-check: one release took ${first_time}s, the other ${second_time}s; the check $((SECONDS))s in all"
