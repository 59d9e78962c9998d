#!/usr/bin/env bash
# Each folder below src/ builds one library, and a library uses only those
# below it: lists every #include that reaches into a higher folder and fails
# when there is one.
set -euo pipefail
src="${1:-$(cd "$(dirname "$0")/.." && pwd)}/src"
layers=(platform engine database mainwindow settings quiz search exchange printing)
found=0
for ((i = 0; i < ${#layers[@]}; i++)); do
  higher=("${layers[@]:i+1}")
  [ ${#higher[@]} -eq 0 ] && continue
  pattern="^[[:space:]]*#[[:space:]]*include[[:space:]]*\"($(IFS='|'; echo "${higher[*]}"))/"
  if grep -rnE "$pattern" "$src/${layers[i]}" --include='*.h' --include='*.cpp'; then
    found=1
  fi
done
if [ "$found" -ne 0 ]; then
  echo "A library includes a header of a library above it." >&2
  exit 1
fi
echo "Every library includes only its own headers and those below it."
