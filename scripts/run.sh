#!/usr/bin/env bash
# Builds Typewell.exe and starts it under Wine. The program folder build/run/Typewell is kept
# between runs, so the entries and settings written there survive; the exe is replaced.
# With a display ($DISPLAY) Typewell runs until you close it. Without one it runs on a virtual
# display of its own: the script waits for the window, saves a screenshot to
# build/screenshots/typewell.png, closes Typewell and ends.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
export TYPEWELL_ROOT="$ROOT"
source scripts/setup.sh
source scripts/wine-env.sh

PROGRAM_FOLDER="$ROOT/build/run/Typewell"
SCREENSHOT="$ROOT/build/screenshots/typewell.png"
WINDOW_TIMEOUT=60 # seconds

# The shipped 32-bit build; on a machine that runs no 32-bit code (see wine-env.sh) the same
# sources built as a 64-bit program, which Wine can run there.
PRESET=win32

build() {
  typewell_setup
  wine_env_choose_arch
  [[ "$TYPEWELL_WINE_ARCH" == win64 ]] && PRESET=win64
  mkdir -p build
  cmake --preset "$PRESET" >"build/configure-$PRESET.log" 2>&1 || {
    cat "build/configure-$PRESET.log"
    return 1
  }
  cmake --build --preset "$PRESET" -j 2
}

install_into_program_folder() {
  local exe="$ROOT/build/$PRESET/src/win32/Typewell.exe"
  [[ -f "$exe" ]] || {
    echo "run.sh: the build made no $exe" >&2
    return 1
  }
  mkdir -p "$PROGRAM_FOLDER"
  # Replace, not overwrite: a running Typewell keeps its own copy.
  cp "$exe" "$PROGRAM_FOLDER/Typewell.exe.new"
  mv -f "$PROGRAM_FOLDER/Typewell.exe.new" "$PROGRAM_FOLDER/Typewell.exe"
  if [[ -d tutorial ]] && [[ -n "$(ls -A tutorial)" ]]; then
    rm -rf "$PROGRAM_FOLDER/tutorial"
    cp -r tutorial "$PROGRAM_FOLDER/tutorial"
  fi
}

# A hash of the screen's pixels, to tell when the picture has settled.
screen_hash() { import -window root -depth 8 rgb:- 2>/dev/null | md5sum; }

run_on_virtual_display() {
  wine_env_start --display
  cd "$PROGRAM_FOLDER"
  wine ./Typewell.exe </dev/null >"$ROOT/build/run/wine.log" 2>&1 &
  local pid=$! waited=0
  until xdotool search --onlyvisible --name '^ Typewell$' >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" && status=0 || status=$?
      echo "run.sh: Typewell ended (exit code $status) without showing its window" >&2
      cat "$ROOT/build/run/wine.log" >&2
      return 1
    fi
    if ((waited >= WINDOW_TIMEOUT * 10)); then
      echo "run.sh: no window \" Typewell\" after $WINDOW_TIMEOUT s" >&2
      kill "$pid"
      return 1
    fi
    sleep 0.1
    ((waited += 1))
  done
  # The window exists; wait (bounded) until two pictures in a row are the same.
  local previous="" current tries=0
  current="$(screen_hash)"
  while [[ "$current" != "$previous" ]] && ((tries < 50)); do
    sleep 0.1
    previous="$current"
    current="$(screen_hash)"
    ((tries += 1))
  done
  mkdir -p "$(dirname "$SCREENSHOT")"
  import -window root "$SCREENSHOT"
  echo "run.sh: Typewell is running; screenshot saved to $SCREENSHOT"
  # taskkill without /F closes the windows, as the user would.
  wine taskkill /im Typewell.exe >/dev/null 2>&1 || true
  waited=0
  while kill -0 "$pid" 2>/dev/null && ((waited < 100)); do
    sleep 0.1
    ((waited += 1))
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "run.sh: Typewell did not close within 10 s; ending it" >&2
    kill "$pid"
  fi
  wait "$pid" 2>/dev/null || true
  echo "run.sh: Typewell closed"
}

build
install_into_program_folder
if [[ -n "${DISPLAY:-}" ]]; then
  wine_env_start
  cd "$PROGRAM_FOLDER"
  wine ./Typewell.exe
else
  run_on_virtual_display
fi
