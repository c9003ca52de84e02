#!/bin/bash
# Checks what a release archive holds, whichever trees its plug-ins came from:
#   bash scripts/check-archive.sh dist/TessaryPlugin-<version>.zip
#
#   1. its entries: the fixed ones of tests/package/contents.txt and every
#      picture that docs/functions.md shows, nothing else, in order;
#   2. SHA256SUMS against the files it names, and those against the entries;
#   3. each plug-in's machine type against its name, and no link time stamp.
# Fails at the first difference, saying what differs. scripts/test.sh runs it
# on an archive packed from the test trees, scripts/package-check.sh on the
# release.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
export LC_ALL=C

fail() { echo "check-archive: FAILED: $*" >&2; exit 1; }

[ $# = 1 ] && [ -f "$1" ] || fail "usage: check-archive.sh ARCHIVE.zip"
zip="$1"
name="$(basename "$zip" .zip)"

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-check-archive.XXXXXX")
trap 'rm -rf "$work"' EXIT

python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip" \
    >"$work/entries"
# The pictures follow from the reference, so a picture added to it needs no
# second list kept by hand.
{
    grep -v '^#' "$root/tests/package/contents.txt"
    python3 "$root/scripts/markdown_page.py" --images "$root/docs/functions.md" | sed 's|^|docs/|'
} | sort -u | sed "s|^|$name/|" >"$work/expected"
diff -u "$work/expected" "$work/entries" >&2 ||
    fail "the archive's entries (+) are not the expected ones (-): tests/package/contents.txt and the pictures of docs/functions.md"

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
python3 - "$top/TessaryPlugin.fmx64" 0x8664 "$top/TessaryPlugin.fmx" 0x14c <<'PY' ||
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
PY
    fail "a plug-in is not for the machine its name says, or not free of time stamps"

echo "check-archive: $name.zip holds what it should"
