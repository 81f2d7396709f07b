#!/usr/bin/env bash
# The release package: builds Typewell.exe (the win32 preset: MinSizeRel, mingw-w64, stripped)
# and makes dist/Typewell-1.0.0.zip with Typewell.exe, the tutorial folder (tutorial.htm and its
# pictures) and README.txt for the Windows user (CRLF line endings). Prints the zip's listing.
# TYPEWELL_PACKAGE_BUILD=<folder> builds in that folder instead of the preset's.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
VERSION=1.0.0
NAME="Typewell-$VERSION"

if [[ -n "${TYPEWELL_PACKAGE_BUILD:-}" ]]; then
  BUILD="$TYPEWELL_PACKAGE_BUILD"
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
  cmake --build "$BUILD" -j 2 --target Typewell
else
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 -j 2 --target Typewell
  BUILD="$ROOT/build/win32"
fi

STAGE="$(mktemp -d)"
trap 'rm -rf "$STAGE"' EXIT
mkdir -p "$STAGE/$NAME"
cp "$BUILD/src/win32/Typewell.exe" "$STAGE/$NAME/"
cp -r "$ROOT/tutorial" "$STAGE/$NAME/tutorial"
sed 's/$/\r/' "$ROOT/packaging/README.txt" >"$STAGE/$NAME/README.txt"

mkdir -p "$ROOT/dist"
rm -f "$ROOT/dist/$NAME.zip"
(cd "$STAGE" && zip -q -r -X "$ROOT/dist/$NAME.zip" "$NAME")
unzip -l "$ROOT/dist/$NAME.zip"
