#!/usr/bin/env bash
# The private Wine environment that runs Typewell and its Windows tests: a prefix of our own
# (created once, with Wine's own window frames so that hiding a window never waits for a window
# manager), no debug output, no add-on installers, a virtual display when asked, and one
# persistent wineserver so that each Windows process starts in milliseconds.
#
# Where the machine cannot run 32-bit code (its kernel refuses 32-bit programs, so Wine's 32-bit
# loader cannot start), Wine runs in its 64-bit form only: TYPEWELL_WINE_ARCH is then "win64"
# and the Windows tests are built as 64-bit programs from the same sources; otherwise "win32".
#
# Source it, then:
#   wine_env_start [--display]   # exports WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES and
#                                # TYPEWELL_WINE_ARCH; with --display also DISPLAY of a new
#                                # Xvfb of our own
#   ...                          # wine, ctest, the e2e tests
#   wine_env_stop                # ends what wine_env_start started (also run on EXIT)

TYPEWELL_ROOT="${TYPEWELL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"

WINE_ENV_XVFB_PID=""
WINE_ENV_STARTED_SERVER=""

wine_env_log() { echo "wine-env: $*" >&2; }

# Starts an Xvfb on a free display (Xvfb picks it and reports it once it accepts clients). Keys
# do not repeat on it: on a busy machine, a typed key whose release comes late would otherwise
# arrive twice.
wine_env_start_display() {
  local display_file
  display_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -r 3>"$display_file" \
    >/dev/null 2>&1 </dev/null &
  WINE_ENV_XVFB_PID=$!
  local waited=0
  while [[ ! -s "$display_file" ]]; do
    if ! kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null || ((waited >= 300)); then
      wine_env_log "Xvfb did not start"
      rm -f "$display_file"
      WINE_ENV_XVFB_PID=""
      return 1
    fi
    sleep 0.1
    ((waited += 1))
  done
  DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
  export DISPLAY
  rm -f "$display_file"
  wine_env_log "virtual display $DISPLAY (Xvfb pid $WINE_ENV_XVFB_PID)"
}

# Creates the prefix when it is new (or was left half made).
wine_env_prepare_prefix() {
  local ready="$WINEPREFIX/.typewell-ready"
  [[ -f "$ready" ]] && return 0
  local started=$SECONDS
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wine_env_log "creating the Wine prefix $WINEPREFIX"
  wine wineboot -i </dev/null >/dev/null 2>&1 || {
    wine_env_log "wineboot -i failed"
    return 1
  }
  # Without a window manager, Wine otherwise waits on every hide of a top-level window.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >/dev/null 2>&1 || {
    wine_env_log "could not set Managed=N"
    return 1
  }
  wineserver -w
  touch "$ready"
  wine_env_log "prefix ready in $((SECONDS - started)) s"
}

# Chooses the Wine of this machine: the usual one when it runs 32-bit programs, else the 64-bit
# loader alone, put first on PATH as "wine" (and as "wine-stable", which Wine's own commands such
# as wineboot call).
wine_env_choose_arch() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    export TYPEWELL_WINE_ARCH=win32
    return 0
  fi
  export TYPEWELL_WINE_ARCH=win64
  local shim="$TYPEWELL_ROOT/build/wine64-shim"
  mkdir -p "$shim"
  local name
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$shim/$name"
    chmod +x "$shim/$name"
  done
  export PATH="$shim:$PATH"
  export WINELOADER=/usr/lib/wine/wine64
  wine_env_log "this machine runs no 32-bit code: Wine runs 64-bit programs only"
}

wine_env_start() {
  wine_env_choose_arch
  local prefix_name=wineprefix
  [[ "$TYPEWELL_WINE_ARCH" == win64 ]] && prefix_name=wineprefix64
  export WINEPREFIX="${WINEPREFIX:-$TYPEWELL_ROOT/build/$prefix_name}"
  export WINEDEBUG=-all
  # No installer of Wine's browser or runtime add-ons, no desktop menu entries.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [[ "${1:-}" == "--display" ]]; then
    wine_env_start_display || return 1
  fi
  trap wine_env_stop EXIT
  wine_env_prepare_prefix || return 1
  # A server already running for the prefix (a developer's session) serves as well, and is left
  # running at the end.
  if wineserver -p 2>/dev/null; then
    WINE_ENV_STARTED_SERVER=1
  fi
  # The first Windows process starts Wine's system services, which would inherit its output
  # and hold a pipe of ctest open until the end; start them here, with no output to keep.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || {
    wine_env_log "wine cannot run a program in $WINEPREFIX"
    return 1
  }
}

wine_env_stop() {
  if [[ -n "$WINE_ENV_STARTED_SERVER" ]]; then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    WINE_ENV_STARTED_SERVER=""
  fi
  if [[ -n "$WINE_ENV_XVFB_PID" ]]; then
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null
    WINE_ENV_XVFB_PID=""
  fi
}
