#!/usr/bin/env bash
# The release package: builds Typewell.exe (the win32 preset: MinSizeRel, mingw-w64, stripped)
# and makes dist/Typewell-1.0.0.zip with Typewell.exe, the tutorial folder (tutorial.htm and its
# pictures) and README.txt for the Windows user (CRLF line endings). Prints the zip's listing.
# TYPEWELL_PACKAGE_BUILD=<folder> builds in that folder instead of the preset's.
#   scripts/package.sh --exe PATH --out ZIP   packages that exe, built before, into that zip
#                                             (the test command packages the exe under test)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
VERSION=1.0.0
NAME="Typewell-$VERSION"
EXE=""
OUT="$ROOT/dist/$NAME.zip"
while (($# > 0)); do
  case "$1" in
  --exe) EXE="$(realpath "$2")" && shift 2 ;;
  --out) OUT="$(realpath -m "$2")" && shift 2 ;;
  *) echo "usage: scripts/package.sh [--exe PATH] [--out ZIP]" >&2 && exit 2 ;;
  esac
done

if [[ -n "$EXE" ]]; then
  [[ -f "$EXE" ]] || { echo "package.sh: no exe $EXE" >&2 && exit 1; }
elif [[ -n "${TYPEWELL_PACKAGE_BUILD:-}" ]]; then
  BUILD="$TYPEWELL_PACKAGE_BUILD"
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
  cmake --build "$BUILD" -j 2 --target Typewell
else
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 -j 2 --target Typewell
  BUILD="$ROOT/build/win32"
fi
EXE="${EXE:-$BUILD/src/win32/Typewell.exe}"

STAGE="$(mktemp -d)"
trap 'rm -rf "$STAGE"' EXIT
mkdir -p "$STAGE/$NAME"
cp "$EXE" "$STAGE/$NAME/Typewell.exe"
cp -r "$ROOT/tutorial" "$STAGE/$NAME/tutorial"
sed 's/$/\r/' "$ROOT/packaging/README.txt" >"$STAGE/$NAME/README.txt"

mkdir -p "$(dirname "$OUT")"
rm -f "$OUT"
(cd "$STAGE" && zip -q -r -X "$OUT" "$NAME")
unzip -l "$OUT"
