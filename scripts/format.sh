#!/usr/bin/env bash
# Formats the C++ sources with clang-format; with --check, only reports what would change.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' 2>/dev/null || find src host tests bench fuzz -name '*.cpp' -o -name '*.h')
if [ "${1:-}" = "--check" ]; then
  clang-format --dry-run -Werror "${files[@]}"
  echo "formatting: ${#files[@]} files clean"
else
  clang-format -i "${files[@]}"
fi
