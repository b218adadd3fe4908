#!/usr/bin/env bash
# Checks that every tracked C++ file (*.cpp, *.h) is formatted as .clang-format says; lists those that
# are not and fails. `clang-format -i FILE...` formats them.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
offending=()
for file in "${files[@]}"; do
    [ -f "$file" ] || continue # deleted in the working tree, not yet committed
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        offending+=("$file")
    fi
done

if [ ${#offending[@]} -ne 0 ]; then
    echo "${#offending[@]} of ${#files[@]} C++ files differ from .clang-format:"
    printf '    %s\n' "${offending[@]}"
    echo "format them with: clang-format -i FILE..."
    exit 1
fi
echo "all ${#files[@]} C++ files follow .clang-format"
