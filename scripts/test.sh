#!/usr/bin/env bash
# Builds Typewell and runs every test: the native build and its tests, then Typewell.exe, the
# tests and the end-to-end tools as Windows programs, run under Wine on a virtual display of
# their own. Installs what is missing first. Ends with the line "N passed, N failed" and a
# non-zero exit code when a test failed, a build failed or no test ran.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT" || exit 1
export TYPEWELL_ROOT="$ROOT"
source scripts/setup.sh
source scripts/wine-env.sh

JOBS=2
TEST_TIMEOUT=300 # seconds for one test, so that a hung Windows process cannot block the run
# The stages, in order. The sanitizer and fuzzing stages are ready for their tests to arrive.
STAGES=(setup layers native tidy native_sanitize fuzz package imports clang win32_tests)
# The release zips as a user downloads them (scripts/package.sh): the 32-bit and the 64-bit.
PACKAGE_DIR="$ROOT/build/package"
PACKAGE_WIN32="$PACKAGE_DIR/Typewell-1.0.0.zip"
PACKAGE_WIN64="$PACKAGE_DIR/Typewell-1.0.0-x64.zip"

TOTAL_PASSED=0
TOTAL_FAILED=0
TIMINGS=()
LOG_DIR="$ROOT/build/test-logs"

note_failure() {
  echo "test.sh: FAILED: $*" >&2
  ((TOTAL_FAILED += 1))
}

# Runs ctest with the given arguments and adds its counts to the totals.
run_ctest() {
  local name="$1"
  shift
  local log="$LOG_DIR/ctest-$name.log"
  ctest "$@" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local summary
  summary="$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)"
  if [[ -z "$summary" ]]; then
    note_failure "ctest $name ran no test (exit $status)"
    return 1
  fi
  local failed total
  failed="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")"
  total="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$summary")"
  ((TOTAL_PASSED += total - failed))
  ((TOTAL_FAILED += failed))
  if ((status != 0 && failed == 0)); then
    note_failure "ctest $name exited with $status"
  fi
}

# Configures and builds a preset (only the given targets, if any).
configure_and_build() {
  local preset="$1"
  shift
  local targets=()
  (($#)) && targets=(--target "$@")
  # A build folder left by an older configuration (another toolchain file) is made anew.
  cmake --preset "$preset" >"$LOG_DIR/configure-$preset.log" 2>&1 ||
    { rm -rf "$ROOT/build/$preset" && cmake --preset "$preset" >"$LOG_DIR/configure-$preset.log" 2>&1; } || {
    cat "$LOG_DIR/configure-$preset.log"
    note_failure "configuring $preset"
    return 1
  }
  cmake --build --preset "$preset" -j "$JOBS" "${targets[@]}" || {
    note_failure "building $preset"
    return 1
  }
}

stage_setup() {
  typewell_setup || {
    note_failure "installing the packages"
    return 1
  }
}

stage_native() {
  configure_and_build native || return 1
  run_ctest native --preset native -j "$JOBS" --timeout "$TEST_TIMEOUT"
}

# Every include in src/ points down the layers (scripts/check_layers.py): one passed check.
stage_layers() {
  if python3 scripts/check_layers.py; then
    ((TOTAL_PASSED += 1))
  else
    note_failure "an include breaks the layers"
  fi
}

# clang-tidy over the portable sources with the checked-in configuration (needs the native
# build's compile commands): a clean run counts as one passed check.
stage_tidy() {
  if scripts/tidy.sh >"$LOG_DIR/tidy.log" 2>&1; then
    ((TOTAL_PASSED += 1))
  else
    tail -20 "$LOG_DIR/tidy.log"
    note_failure "clang-tidy findings (see $LOG_DIR/tidy.log)"
  fi
  tail -1 "$LOG_DIR/tidy.log"
}

# AddressSanitizer and UndefinedBehaviorSanitizer over the whole native test suite.
stage_native_sanitize() {
  configure_and_build native-sanitize || return 1
  run_ctest native-sanitize --preset native-sanitize -j "$JOBS" --timeout "$TEST_TIMEOUT"
}

# A short fuzzing run of each harness: each one without a finding counts as a passed test.
stage_fuzz() {
  scripts/fuzz.sh --short 2>&1 | tee "$LOG_DIR/fuzz.log"
  local status=${PIPESTATUS[0]}
  ((TOTAL_PASSED += $(grep -c ', no finding$' "$LOG_DIR/fuzz.log")))
  ((status == 0)) || note_failure "fuzzing: a finding, or the harnesses did not build"
}

# The release zips, made by scripts/package.sh from the release presets win32 and win64 (each
# built once, here): the zips that users download, which the stages below check and drive.
stage_package() {
  rm -f "$PACKAGE_WIN32" "$PACKAGE_WIN64"
  scripts/package.sh --dist "$PACKAGE_DIR" >"$LOG_DIR/package.log" 2>&1 || {
    tail -30 "$LOG_DIR/package.log"
    note_failure "packaging (see $LOG_DIR/package.log)"
    return 1
  }
}

# The shipped exes import only what Windows 7 SP1 has (scripts/check_imports.py): one check.
stage_imports() {
  if python3 scripts/check_imports.py --win32 "$PACKAGE_WIN32" --win64 "$PACKAGE_WIN64" \
    >"$LOG_DIR/imports.log"; then
    ((TOTAL_PASSED += 1))
  else
    note_failure "an import of a shipped exe (see $LOG_DIR/imports.log)"
  fi
  grep -E '^[^ ]|^  (ok|FAILED)' "$LOG_DIR/imports.log"
}

# The second compiler: Clang with LLD for MinGW builds Typewell.exe (win64-clang) and the unit
# tests (win64-clang-tests), every compiler warning an error; a warning of the linker or the
# resource compiler fails the stage too. Its exe's imports are checked (one check) and the unit
# tests run under Wine; nothing runs the exe, the shipped one is GCC's.
stage_clang() {
  local preset target log
  for preset in win64-clang win64-clang-tests; do
    target=Typewell
    [[ "$preset" == *-tests ]] && target=typewell_unit_tests
    log="$LOG_DIR/build-$preset.log"
    configure_and_build "$preset" "$target" >"$log" 2>&1 || {
      tail -30 "$log"
      return 1
    }
    if grep -E 'warning:|CMake Warning' "$log" "$LOG_DIR/configure-$preset.log"; then
      note_failure "warnings building $preset (see $log)"
      return 1
    fi
  done
  if python3 scripts/check_imports.py --win64 "$ROOT/build/win64-clang/src/win32/Typewell.exe" \
    >"$LOG_DIR/imports-clang.log"; then
    ((TOTAL_PASSED += 1))
  else
    note_failure "an import of Clang's exe (see $LOG_DIR/imports-clang.log)"
  fi
  tail -1 "$LOG_DIR/imports-clang.log"
  wine_env_start || {
    note_failure "preparing the Wine environment"
    return 1
  }
  run_ctest win64-clang-tests --preset win64-clang-tests -j "$JOBS" --timeout "$TEST_TIMEOUT"
  wine_env_stop
}

# The Windows tests: the unit and Win32 tests and the end-to-end helper as Windows programs under
# Wine. The end-to-end tests drive the release zip of the architecture this machine's Wine runs,
# unpacked as a user would: the 32-bit zip, the product; on a machine that runs no 32-bit code
# (see wine-env.sh) the 64-bit zip, and the tests are built and run as 64-bit programs too.
stage_win32_tests() {
  wine_env_start --display || {
    note_failure "preparing the Wine environment"
    return 1
  }
  local preset=win32-tests
  export TYPEWELL_PACKAGE="$PACKAGE_WIN32"
  if [[ "$TYPEWELL_WINE_ARCH" == win64 ]]; then
    preset=win64-tests
    TYPEWELL_PACKAGE="$PACKAGE_WIN64"
  fi
  [[ -f "$TYPEWELL_PACKAGE" ]] || {
    note_failure "no release zip $TYPEWELL_PACKAGE for the end-to-end tests"
    return 1
  }
  # The exe under test comes from the release zip; the tests' build makes only the test programs.
  configure_and_build "$preset" typewell_unit_tests e2e_helper || return 1
  # One test at a time: the window tests use the one display, the pointer and the foreground.
  run_ctest "$preset" --preset "$preset" -j 1 --timeout "$TEST_TIMEOUT"
  wine_env_stop
}

main() {
  mkdir -p "$LOG_DIR"
  local run_started=$SECONDS stage started
  for stage in "${STAGES[@]}"; do
    echo "=== $stage"
    started=$SECONDS
    "stage_$stage"
    TIMINGS+=("$stage $((SECONDS - started)) s")
  done
  echo "=== times"
  printf '  %s\n' "${TIMINGS[@]}" "total $((SECONDS - run_started)) s"
  local status=0
  if ((TOTAL_FAILED > 0 || TOTAL_PASSED == 0)); then status=1; fi
  echo "$TOTAL_PASSED passed, $TOTAL_FAILED failed"
  return "$status"
}

main "$@"
