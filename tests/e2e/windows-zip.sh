#!/usr/bin/env bash
# The portable Windows zip: one folder with skerrow.exe, README.md and every sample file
# of examples/, and its skerrow.exe imports only Windows' own DLLs and carries its manifest,
# icon and the version of the zip's name.
# Usage: windows-zip.sh <skerrow-*-win64.zip>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
zip=$(realpath "$1")
folder=$(basename "$zip" .zip)
listing=$(cmake -E tar tf "$zip")
expected="$folder/skerrow.exe $folder/README.md"
for example in "$here"/../../examples/*.csv; do expected+=" $folder/examples/$(basename "$example")"; done
status=0
for file in $expected; do
    grep -qxF "$file" <<<"$listing" || { echo "FAIL: $zip holds no $file"; status=1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip")
"$here/exe-imports.sh" "$work/$folder/skerrow.exe" || status=1
version=${folder#skerrow-}
"$here/exe-resources.sh" "$work/$folder/skerrow.exe" "${version%-win64}" || status=1
[ "$status" = 0 ] && echo "windows zip holds skerrow.exe, README.md and examples/"
exit $status
