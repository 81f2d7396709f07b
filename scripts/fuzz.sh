#!/usr/bin/env bash
# Builds the libFuzzer harness of the entry file's loader (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for a bounded time, starting from the checked-in
# corpus of real files. Prints one summary line per harness and exits non-zero on a finding
# (a crash, a sanitizer report or a broken guarantee); the input that caused it is kept as
# build/fuzz/findings/<harness>-crash-*.
#
#   scripts/fuzz.sh --short          50 seconds per harness (the test command's run)
#   scripts/fuzz.sh --seconds 3600   a longer run
#   scripts/fuzz.sh --build-dir DIR  build and work in DIR instead of build/fuzz
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SECONDS_PER_HARNESS=50
BUILD_DIR="$ROOT/build/fuzz"
JOBS=2

usage() {
  sed -n '2,10p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'
  exit 2
}

while (($#)); do
  case "$1" in
    --short) SECONDS_PER_HARNESS=50 ;;
    --seconds)
      [[ "${2:-}" =~ ^[0-9]+$ ]] || usage
      SECONDS_PER_HARNESS="$2"
      shift
      ;;
    --build-dir)
      [[ -n "${2:-}" ]] || usage
      BUILD_DIR="$(realpath -m "$2")"
      shift
      ;;
    *) usage ;;
  esac
  shift
done

# harness name, corpus folder, largest input: an entry file a bit beyond its 12,000 bytes.
HARNESSES=(
  "entry_file_fuzz entries 13000"
)

build() {
  mkdir -p "$BUILD_DIR"
  cmake --preset fuzz -B "$BUILD_DIR" >"$BUILD_DIR/configure.log" 2>&1 || {
    cat "$BUILD_DIR/configure.log"
    return 1
  }
  nice cmake --build "$BUILD_DIR" -j "$JOBS" >"$BUILD_DIR/build.log" 2>&1 || {
    tail -50 "$BUILD_DIR/build.log"
    return 1
  }
}

# Runs one harness; prints its summary line and returns libFuzzer's exit status.
run_harness() {
  local name="$1" corpus="$2" max_len="$3"
  local work="$BUILD_DIR/corpus/$corpus" findings="$BUILD_DIR/findings" log="$BUILD_DIR/$name.log"
  mkdir -p "$work" "$findings"
  # The harnesses write their files into a temporary folder: keep it in memory when possible.
  local tmp="${TMPDIR:-/tmp}"
  [[ -d /dev/shm && -w /dev/shm ]] && tmp=/dev/shm
  TMPDIR="$tmp" nice "$BUILD_DIR/fuzz/$name" -max_total_time="$SECONDS_PER_HARNESS" \
    -max_len="$max_len" -timeout=10 -artifact_prefix="$findings/$name-" \
    "$work" "$ROOT/fuzz/corpus/$corpus" >"$log" 2>&1
  local status=$?
  local runs rate
  runs="$(sed -nE 's/^Done ([0-9]+) runs in.*/\1/p' "$log" | tail -1)"
  rate="$(sed -nE 's/.*exec\/s: ([0-9]+).*/\1/p' "$log" | tail -1)"
  if ((status == 0)); then
    echo "fuzz: $name: ${runs:-?} runs in ${SECONDS_PER_HARNESS} s (${rate:-?} exec/s), no finding"
  else
    grep -E 'violated|ERROR: |SUMMARY: |Test unit written' "$log" | head -20
    echo "fuzz: $name: FINDING after ${runs:-?} runs (exit $status), log $log"
  fi
  return "$status"
}

main() {
  cd "$ROOT" || return 1
  build || {
    echo "fuzz: the harnesses did not build"
    return 1
  }
  local failed=0 entry
  for entry in "${HARNESSES[@]}"; do
    # shellcheck disable=SC2086
    run_harness $entry || failed=1
  done
  return "$failed"
}

main
