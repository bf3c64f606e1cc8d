#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the project differs from what clang-format
# makes of it under .clang-format. To put a file right: clang-format -i FILE.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/ensure-packages.sh clang-format git
mapfile -t files < <(git ls-files '*.cpp' '*.h')
unformatted=()
for file in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$file" > /dev/null 2>&1; then unformatted+=("$file"); fi
done
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "not formatted as .clang-format says (clang-format -i puts them right):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "all ${#files[@]} C++ files formatted"
