#!/usr/bin/env bash
# skerrow.exe carries what Windows and Explorer read from it: an application manifest
# (common controls 6, DPI-unaware with GDI scaling, the supported Windows versions,
# asInvoker), a version resource of the given version naming the product, the file and
# what it does, and, as its first icon, the program's icon in the sizes 16 to 256 pixels.
# The resources are read back with the resource compiler, which writes those of an
# executable out as a resource script.
# Usage: exe-resources.sh <skerrow.exe> <version, such as 1.0>
set -euo pipefail
exe=$1 version=$2
script=$(x86_64-w64-mingw32-windres --input-format=coff --output-format=rc --input="$exe") || {
    echo "FAIL: no resources read from $exe"
    exit 1
}
failures=0
failed() {
    echo "FAIL: $exe: $*"
    failures=$((failures + 1))
}

# The version as the resources write it: four numbers, missing ones 0.
IFS=. read -r -a parts <<<"$version"
while [ ${#parts[@]} -lt 4 ]; do parts+=(0); done
numbers=$(IFS=,; echo "${parts[*]}")
dotted=$(IFS=.; echo "${parts[*]}")

# One resource of the script: from the line that names it (a pattern) to its END; the
# blocks inside it end with an indented END. Nothing when there is no such resource.
resource() { awk -v head="$1" '$0 ~ head { on = 1 } on { print } on && /^END$/ { exit }' <<<"$script"; }

# The manifest, resource 1 of type 24, is written as one quoted string a line.
manifest=$(resource '^1 24 /[*] RT_MANIFEST [*]/$' | sed -n 's/^ *"\(.*\)"$/\1/p' | sed 's/\\n$//; s/""/"/g' | tr '\n' ' ')
if [ -z "$manifest" ]; then
    failed "no application manifest (resource 1 of type 24)"
else
    has() { grep -qE "$1" <<<"$manifest" || failed "the manifest has no $2"; }
    has "<assemblyIdentity [^>]*version=\"${dotted//./\\.}\"" "assemblyIdentity of version $dotted"
    controls=$(grep -oE '<assemblyIdentity [^>]*"Microsoft\.Windows\.Common-Controls"[^>]*>' <<<"$manifest" || true)
    grep -q 'version="6\.0\.0\.0"' <<<"$controls" && grep -q 'publicKeyToken="6595b64144ccf1df"' <<<"$controls" ||
        failed "the manifest asks for no version 6.0.0.0 of Microsoft.Windows.Common-Controls"
    has '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings"> *false *</dpiAware>' "dpiAware false"
    if grep -q '<dpiAwareness' <<<"$manifest"; then
        has '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings"> *unaware *</dpiAwareness>' "dpiAwareness unaware"
    fi
    has '<gdiScaling xmlns="http://schemas.microsoft.com/SMI/2017/WindowsSettings"> *true *</gdiScaling>' "gdiScaling true"
    has '<requestedExecutionLevel [^>]*level="asInvoker"' "requestedExecutionLevel asInvoker"
    for os in "Windows 10:8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a" "Windows 8.1:1f676c76-80e1-4239-95bb-83d0f6d0da78" \
        "Windows 8:4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38" "Windows 7:35138b9a-5d96-4fbd-8e2d-a2440225f93a"; do
        has "<supportedOS Id=\"\\{${os#*:}\\}\"" "supportedOS entry of ${os%%:*}"
    done
    [ "$failures" != 0 ] || echo "manifest: common controls 6, DPI-unaware with GDI scaling, asInvoker, Windows 7 to 11"
fi

versionInfo=$(resource '^1 VERSIONINFO$')
if [ -z "$versionInfo" ]; then
    failed "no version resource (resource 1 of type 16)"
else
    before=$failures
    value() { sed -n "s/^ *VALUE \"$1\", \"\(.*\)\"$/\1/p" <<<"$versionInfo"; }
    expect() { [ "$(value "$1")" = "$2" ] || failed "the version resource's $1 is '$(value "$1")', not '$2'"; }
    for field in FILEVERSION PRODUCTVERSION; do
        [ "$(sed -n "s/^ *$field //p" <<<"$versionInfo" | tr -d ' ')" = "$numbers" ] ||
            failed "the version resource's $field is not $numbers"
    done
    grep -qx ' *FILETYPE 0x1' <<<"$versionInfo" || failed "the version resource does not describe an application"
    expect FileVersion "$version"
    expect ProductVersion "$version"
    expect ProductName Skerrow
    expect OriginalFilename skerrow.exe
    description=$(value FileDescription)
    [ -n "$description" ] && [ "$description" != Skerrow ] || failed "the version resource says nothing of what the program does"
    [ "$failures" != "$before" ] || echo "version resource: Skerrow $version, skerrow.exe, \"$description\""
fi

# The first icon group is the file's icon. Each of its entries is written as its width,
# height, colour count and a padding byte (octal escapes), planes, bits, size and the
# number of the icon that holds the picture; a width or height of 0 stands for 256.
group=$(awk '/^[^ ]+ 14 \/\* RT_GROUP_ICON \*\/$/ { on = 1 } on { print } on && /^END$/ { exit }' <<<"$script")
if [ -z "$group" ]; then
    failed "no icon (resource type 14, the icon groups)"
else
    before=$failures
    sizes=()
    while read -r width height icon; do
        width=$((8#$width)) height=$((8#$height))
        [ "$width" != 0 ] || width=256
        [ "$height" != 0 ] || height=256
        [ "$width" = "$height" ] || failed "its icon has a picture of $width x $height pixels"
        grep -qx "$icon 3 /\\* RT_ICON \\*/" <<<"$script" || failed "its icon's picture of $width pixels, icon $icon, is missing"
        sizes+=("$width")
    done < <(sed -n 's/^ *"\\\([0-7]\{3\}\)\\\([0-7]\{3\}\)\\[0-7]\{3\}\\[0-7]\{3\}", *[0-9]*, *[0-9]*, *[0-9a-fx]*L, *\([0-9]*\),\{0,1\}\t.*/\1 \2 \3/p' <<<"$group")
    for size in 16 24 32 48 256; do
        [[ " ${sizes[*]} " == *" $size "* ]] || failed "its first icon has no picture of $size x $size pixels"
    done
    [ "$failures" != "$before" ] || echo "first icon: ${sizes[*]} pixels"
fi
[ "$failures" = 0 ]
