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
#      SHA256SUMS against the files, each plug-in's machine type;
#   6. a signed release (package.sh --from-trees of step 2's trees --sign)
#      with a throw-away self-signed code-signing certificate, into a dist
#      of its own: both plug-ins must verify against that certificate with a
#      SHA-256 digest, the archive pass step 5's check, its other files be the
#      unsigned archive's, and neither the trees' plug-ins nor the unsigned
#      archive be touched; osslsigncode must not see the password in its
#      arguments or its environment; a wrong or missing password and a
#      missing certificate must be refused without an archive.
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

# A certificate made for this run and gone with it: what is checked is that
# the plug-ins carry a valid signature by the key they were given, not that
# anybody's Windows would trust that key.
echo "== a throw-away code-signing certificate"
keys="$work/keys"
mkdir -m 700 "$keys"
password=$(openssl rand -hex 16)
openssl req -x509 -newkey rsa:2048 -sha256 -noenc -days 2 -subj "/CN=Tessary package-check" \
    -addext extendedKeyUsage=codeSigning -keyout "$keys/key.pem" -out "$keys/cert.pem" \
    >"$keys/openssl.log" 2>&1 || { cat "$keys/openssl.log" >&2; fail "openssl made no certificate"; }
TESSARY_SIGN_PASSWORD="$password" openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/cert.pem" \
    -out "$keys/cert.pfx" -passout env:TESSARY_SIGN_PASSWORD || fail "openssl made no .pfx"

# Every call of osslsigncode goes through this, which writes down what the
# process was given, arguments and environment, where anybody on the machine
# might have seen a password.
spy="$work/spy"
mkdir "$spy"
real_osslsigncode=$(command -v osslsigncode) || fail "no osslsigncode (scripts/setup.sh installs it)"
cat >"$spy/osslsigncode" <<'SPY'
#!/bin/bash
{ printf '%s\n' "$@"; tr '\0' '\n' </proc/$$/environ; } >>"$TESSARY_CHECK_SEEN"
exec "$TESSARY_CHECK_OSSLSIGNCODE" "$@"
SPY
chmod +x "$spy/osslsigncode"

started=$SECONDS
signed_dist="$work/signed-dist"
echo "== signed release, from the trees of the first, into $signed_dist"
PATH="$spy:$PATH" TESSARY_CHECK_SEEN="$spy/seen" TESSARY_CHECK_OSSLSIGNCODE="$real_osslsigncode" \
    TESSARY_SIGN_PASSWORD="$password" TESSARY_DIST="$signed_dist" \
    bash "$root/scripts/package.sh" --from-trees "$root/build/release-i686" "$root/build/release-x86_64" \
        --sign "$keys/cert.pfx" ||
    fail "package.sh --sign did not make the signed release"
signed_time=$((SECONDS - started))
signed="$signed_dist/$name.zip"
[ -f "$signed" ] || fail "package.sh --sign made no $name.zip in $signed_dist"

echo "== checking the signed release"
[ -s "$spy/seen" ] || fail "package.sh --sign signed without calling osslsigncode through PATH"
if grep -qF -- "$password" "$spy/seen"; then
    fail "osslsigncode was given the password in its arguments or its environment, where ps shows it"
fi
cmp "$work/first/TessaryPlugin.fmx64" "$root/build/release-x86_64/bin/TessaryPlugin.fmx64" ||
    fail "signing changed the tree's TessaryPlugin.fmx64, not a copy"
cmp "$work/first/TessaryPlugin.fmx" "$root/build/release-i686/bin/TessaryPlugin.fmx" ||
    fail "signing changed the tree's TessaryPlugin.fmx, not a copy"
cmp "$work/first/$name.zip" "$root/dist/$name.zip" ||
    fail "the signed run changed the unsigned dist/$name.zip"

bash "$root/scripts/check-archive.sh" "$signed" || fail "the signed archive's make-up, above"
python3 -m zipfile -e "$work/first/$name.zip" "$work/unsigned-unpacked"
python3 -m zipfile -e "$signed" "$work/signed-unpacked"
for plugin in TessaryPlugin.fmx64 TessaryPlugin.fmx; do
    file="$work/signed-unpacked/$name/$plugin"
    osslsigncode verify -CAfile "$keys/cert.pem" -in "$file" >"$work/verify-$plugin.log" 2>&1 ||
        { cat "$work/verify-$plugin.log" >&2; fail "the signed $plugin does not verify against the certificate it was signed with"; }
    grep -q '^Signature verification: ok' "$work/verify-$plugin.log" ||
        { cat "$work/verify-$plugin.log" >&2; fail "osslsigncode reports no good signature on the signed $plugin"; }
    grep -q '^Message digest algorithm *: *SHA256' "$work/verify-$plugin.log" ||
        { cat "$work/verify-$plugin.log" >&2; fail "the signed $plugin is not signed with a SHA-256 digest"; }
done
# SHA256SUMS matches the files in each archive (check-archive.sh), so equal
# lines mean equal files.
diff -u <(grep -v ' TessaryPlugin\.fmx' "$work/unsigned-unpacked/$name/SHA256SUMS") \
        <(grep -v ' TessaryPlugin\.fmx' "$work/signed-unpacked/$name/SHA256SUMS") >&2 ||
    fail "the signed archive's other files (+) differ from the unsigned archive's (-)"

echo "== refusals"
# refused WHAT COMMAND...: package.sh must fail and leave no archive.
refused() {
    local what="$1" dist="$work/refused-dist"
    shift
    rm -rf "$dist"
    if TESSARY_DIST="$dist" env "$@" >"$work/refused.log" 2>&1; then
        cat "$work/refused.log" >&2
        fail "package.sh signed with $what"
    fi
    [ ! -e "$dist/$name.zip" ] || fail "package.sh refused to sign with $what, but left $name.zip"
    echo "refused, $what: $(grep '^package: ' "$work/refused.log" | grep -v WARNING | tail -1)"
}
trees=(--from-trees "$root/build/release-i686" "$root/build/release-x86_64")
refused "a wrong password" TESSARY_SIGN_PASSWORD="not-$password" \
    bash "$root/scripts/package.sh" "${trees[@]}" --sign "$keys/cert.pfx"
refused "no password" -u TESSARY_SIGN_PASSWORD \
    bash "$root/scripts/package.sh" "${trees[@]}" --sign "$keys/cert.pfx"
refused "no certificate file" TESSARY_SIGN_PASSWORD="$password" \
    bash "$root/scripts/package.sh" "${trees[@]}" --sign "$keys/missing.pfx"

echo "package-check: passed: $name.zip is the same from both builds and holds what it should;" \
     "signed, both plug-ins verify"
echo "package-check: one release took ${first_time}s, the other ${second_time}s, the signed one" \
     "${signed_time}s; the check $((SECONDS))s in all"
