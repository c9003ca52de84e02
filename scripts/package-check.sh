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
#   5. the archive's make-up (scripts/check-archive.sh): its entries against
#      tests/package/contents.txt and the pictures of the reference, its
#      SHA256SUMS against the files, each plug-in's machine type.
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

python3 -m zipfile -l "$work/first/$name.zip"
bash "$root/scripts/check-archive.sh" "$work/first/$name.zip" || fail "the archive's make-up, above"

echo "package-check: passed: $name.zip is the same from both builds and holds what it should"
echo "package-check: one release took ${first_time}s, the other ${second_time}s; the check $((SECONDS))s in all"
