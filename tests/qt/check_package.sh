#!/usr/bin/env bash
# Builds the Debian package from a build tree and puts it through the checkers of its ecosystem:
# lintian (every level, pedantic and info included), appstreamcli on the installed tree (the
# AppStream file with its desktop entry) and desktop-file-validate. Any note from any of them
# fails the test. Where a checker is missing, the others still run and the test is then
# reported as skipped, naming what to install.
#   check_package.sh BUILD_DIR SCRATCH_DIR APP_ID VERSION
set -uo pipefail
build=$1 scratch=$2 app_id=$3 version=$4
skip=77

for tool in cpack dpkg-deb dpkg-shlibdeps file; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed, so no Debian package can be built here" \
             "(tools/install-dependencies installs it)"
        exit $skip
    fi
done

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
missing=()
have() { command -v "$1" >/dev/null || { missing+=("$1"); return 1; }; }

rm -rf "$scratch"
mkdir -p "$scratch"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    fail "cpack could not build the package"
    exit 1
fi
deb=$(ls "$scratch"/zembra_*.deb 2>/dev/null)
[[ $(wc -w <<<"$deb") -eq 1 ]] || { fail "expected one zembra_*.deb, found: ${deb:-none}"; exit 1; }
echo "Package: $deb"

# One version everywhere: the package's and the AppStream release's are project(VERSION).
package_version=$(dpkg-deb -f "$deb" Version)
[[ $package_version == "$version" ]] || fail "package version $package_version, expected $version"
root=$scratch/root
dpkg-deb -x "$deb" "$root"
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
desktop=$root/usr/share/applications/$app_id.desktop
grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "the newest AppStream release is not $version"

# Prints what a checker said and counts it as a failure when it said anything worth noting.
judge() {
    local name=$1 status=$2 output=$3 noted=$4
    [[ -z $output ]] || printf '%s\n' "$output"
    if [[ $status -ne 0 || -n $noted ]]; then fail "$name reported the notes above"; else echo "$name: clean"; fi
}

if have lintian; then
    # As root lintian warns that it should not run as root; that line is about the run, not the package.
    lintian --pedantic --display-info --display-experimental \
            --fail-on error,warning,info,pedantic,experimental "$deb" >"$scratch/lintian.log" 2>&1
    status=$?
    output=$(grep -v '^running with root privileges is not recommended!$' "$scratch/lintian.log")
    judge lintian "$status" "$output" "$(grep -E '^[EWIPX]: ' <<<"$output")"
fi

if have appstreamcli; then
    output=$(appstreamcli validate-tree --pedantic --no-net "$root" 2>&1)
    status=$?
    judge appstreamcli "$status" "$output" "$(grep -E '^ *[EWIP]: ' <<<"$output")"
fi

if have desktop-file-validate; then
    output=$(desktop-file-validate "$desktop" 2>&1)
    status=$?
    judge desktop-file-validate "$status" "$output" "$output"
fi

if [[ $failures -gt 0 ]]; then
    exit 1
fi
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "SKIPPED: not installed: ${missing[*]} (tools/install-dependencies installs them)"
    exit $skip
fi
echo "The package passes every check."
