#!/usr/bin/env bash
# Installs the Debian packages that building and testing Typewell need, when any is missing.
# Quick when everything is there: it only asks dpkg. Runs as root (or through sudo), without a
# terminal. Source it and call typewell_setup, or run it.

TYPEWELL_PACKAGES=(
  cmake ninja-build g++ libgtest-dev googletest python3
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb xdotool imagemagick x11-utils
  clang lld libclang-rt-14-dev clang-format clang-tidy zip
)

typewell_missing_packages() {
  local package
  for package in "${TYPEWELL_PACKAGES[@]}"; do
    if [[ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" != "install ok installed" ]]; then
      echo "$package"
    fi
  done
}

typewell_setup() {
  local missing
  mapfile -t missing < <(typewell_missing_packages)
  if ((${#missing[@]} == 0)); then
    return 0
  fi
  echo "setup: installing ${missing[*]}"
  local as_root=()
  if ((EUID != 0)); then
    if ! command -v sudo >/dev/null; then
      echo "setup: missing packages (${missing[*]}) and not root; install them as root" >&2
      return 1
    fi
    as_root=(sudo -n)
  fi
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386 || return 1
  fi
  "${as_root[@]}" apt-get update -q </dev/null || return 1
  "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null ||
    return 1
  mapfile -t missing < <(typewell_missing_packages)
  if ((${#missing[@]} != 0)); then
    echo "setup: still missing after install: ${missing[*]}" >&2
    return 1
  fi
}

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
  typewell_setup
fi
