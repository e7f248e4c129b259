#!/bin/sh
# Runs a test program as an ordinary user when the tests run as root, so that tests of file
# permissions (which root ignores) really run. The program is copied to a folder that user can
# reach, since the build folder may lie below one that it cannot.
set -eu
program=$1
shift
if [ "$(id -u)" != 0 ] || ! command -v setpriv >/dev/null 2>&1; then
    exec "$program" "$@"
fi
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/"
chmod 755 "$folder/$(basename "$program")"
chown 65534:65534 "$folder"
cd "$folder"
setpriv --reuid=65534 --regid=65534 --clear-groups env TMPDIR="$folder" "$folder/$(basename "$program")" "$@"
