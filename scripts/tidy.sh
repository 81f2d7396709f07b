#!/usr/bin/env bash
# Runs clang-tidy (the repository's .clang-tidy) over the portable sources, src/ without
# src/win32, using the compile commands of the native build (configured here when missing).
# Prints the findings and a summary line; exits non-zero when there is a finding.
#
#   scripts/tidy.sh                   every portable source
#   scripts/tidy.sh src/store/*.cpp   only these files
#   TYPEWELL_TIDY_BUILD=DIR scripts/tidy.sh   use the native build in DIR (default build/native)
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="$(realpath -m "${TYPEWELL_TIDY_BUILD:-$ROOT/build/native}")"
TIDY="$(command -v clang-tidy-14 || command -v clang-tidy)" || {
  echo "tidy: clang-tidy is not installed" >&2
  exit 2
}

cd "$ROOT" || exit 2
if [[ ! -f "$BUILD_DIR/compile_commands.json" ]]; then
  cmake --preset native -B "$BUILD_DIR" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 2
fi
if (($#)); then
  FILES=("$@")
else
  mapfile -t FILES < <(find src -name '*.cpp' -not -path 'src/win32/*' | sort)
fi

LOG="$BUILD_DIR/tidy.log"
# Two files at a time: the machine is shared.
printf '%s\n' "${FILES[@]}" |
  nice xargs -P 2 -I{} "$TIDY" -p "$BUILD_DIR" --quiet {} >"$LOG" 2>/dev/null
# A finding in a header shows once per source that includes it: count each place once.
mapfile -t FINDINGS < <(grep -E '^[^ ].*:[0-9]+:[0-9]+: (warning|error):' "$LOG" | sort -u)
if ((${#FINDINGS[@]})); then
  printf '%s\n' "${FINDINGS[@]}"
fi
echo "tidy: ${#FILES[@]} files, ${#FINDINGS[@]} findings (full output: $LOG)"
((${#FINDINGS[@]} == 0))
