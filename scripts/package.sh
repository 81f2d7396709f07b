#!/usr/bin/env bash
# The release packages, two zips from the same sources: builds Typewell.exe with the presets
# win32 (the 32-bit program, the product) and win64 (the same as a 64-bit program), both
# MinSizeRel with mingw-w64 and stripped, and makes
#   dist/Typewell-1.0.0.zip       Typewell-1.0.0/     with the 32-bit Typewell.exe
#   dist/Typewell-1.0.0-x64.zip   Typewell-1.0.0-x64/ with the 64-bit Typewell.exe
# each with Typewell.exe, the tutorial folder (tutorial.htm and its pictures) and README.txt for
# the Windows user (CRLF line endings). Prints each zip's listing.
#   scripts/package.sh [--dist DIR]           makes the two zips in DIR instead of dist/
#   scripts/package.sh --exe PATH [--out ZIP] packages that exe, built before, into that zip
#                                             (dist/Typewell-1.0.0.zip by default)
# TYPEWELL_PACKAGE_BUILD=<folder> builds in <folder>/win32 and <folder>/win64 instead of the
# presets' folders (build/win32, build/win64).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
VERSION=1.0.0
NAME="Typewell-$VERSION"
DIST="$ROOT/dist"
EXE=""
OUT=""
usage() {
  echo "usage: scripts/package.sh [--dist DIR] | --exe PATH [--out ZIP]" >&2
  exit 2
}
while (($# > 0)); do
  case "$1" in
  --dist) DIST="$(realpath -m "$2")" && shift 2 ;;
  --exe) EXE="$(realpath "$2")" && shift 2 ;;
  --out) OUT="$(realpath -m "$2")" && shift 2 ;;
  *) usage ;;
  esac
done
[[ -z "$OUT" || -n "$EXE" ]] || usage

# zip_package EXE ZIP FOLDER: the zip with FOLDER/Typewell.exe, FOLDER/tutorial/ and
# FOLDER/README.txt, made anew.
zip_package() {
  local exe="$1" out="$2" folder="$3" stage
  stage="$(mktemp -d)"
  mkdir -p "$stage/$folder"
  cp "$exe" "$stage/$folder/Typewell.exe"
  cp -r "$ROOT/tutorial" "$stage/$folder/tutorial"
  sed 's/$/\r/' "$ROOT/packaging/README.txt" >"$stage/$folder/README.txt"
  mkdir -p "$(dirname "$out")"
  rm -f "$out"
  (cd "$stage" && zip -q -r -X "$out" "$folder")
  rm -rf "$stage"
  unzip -l "$out"
}

# build_exe PRESET: configures (anew when the folder was left by another configuration) and
# builds Typewell.exe of that preset; sets BUILT_EXE to its path.
build_exe() {
  local preset="$1" dir="$ROOT/build/$1"
  [[ -n "${TYPEWELL_PACKAGE_BUILD:-}" ]] && dir="$TYPEWELL_PACKAGE_BUILD/$preset"
  cmake --preset "$preset" -B "$dir" >/dev/null ||
    { rm -rf "$dir" && cmake --preset "$preset" -B "$dir" >/dev/null; }
  cmake --build "$dir" -j 2 --target Typewell
  BUILT_EXE="$dir/src/win32/Typewell.exe"
}

if [[ -n "$EXE" ]]; then
  [[ -f "$EXE" ]] || { echo "package.sh: no exe $EXE" >&2 && exit 1; }
  zip_package "$EXE" "${OUT:-$DIST/$NAME.zip}" "$NAME"
  exit 0
fi

build_exe win32
zip_package "$BUILT_EXE" "$DIST/$NAME.zip" "$NAME"
build_exe win64
zip_package "$BUILT_EXE" "$DIST/$NAME-x64.zip" "$NAME-x64"
