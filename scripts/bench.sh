#!/usr/bin/env bash
# The benchmark: builds Typewell.exe, the end-to-end tests' helper (the target program) and the
# benchmark's helper programs (MinSizeRel, mingw-w64), then measures the real exe under Wine on
# a virtual display of its own: start-up against a minimal window program with the common
# controls, fill latency against a raw floor, footprint, object growth over many actions, and disk
# writes. Prints the figures and saves them to build/bench/results.txt and results.json. Options are passed to bench/run_bench.py
# (--runs, --fills, --actions, --idle-seconds, --keep).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
export TYPEWELL_ROOT="$ROOT"
source scripts/setup.sh
source scripts/wine-env.sh

typewell_setup
# The shipped 32-bit build; on a machine that runs no 32-bit code (see wine-env.sh) the same
# sources and tools built as 64-bit programs, which Wine can run there.
wine_env_choose_arch
ARCH=i686
[[ "$TYPEWELL_WINE_ARCH" == win64 ]] && ARCH=x86_64
BUILD="${TYPEWELL_BENCH_BUILD:-$ROOT/build/bench-$ARCH}"
if [[ "$(dpkg-query -W -f='${Status}' strace 2>/dev/null)" != "install ok installed" ]]; then
  apt-get install -y -q --no-install-recommends strace </dev/null
fi
mkdir -p "$BUILD"
# The shipped configuration (single-threaded runtime, as the win32 preset), so that the exe
# measured is the exe shipped; the tests' own programs are not built here.
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DTYPEWELL_TESTS=ON -DTYPEWELL_MINGW_THREADS=win32 \
  -DTYPEWELL_MINGW_ARCH="$ARCH" >"$BUILD/configure.log" 2>&1 || {
  cat "$BUILD/configure.log"
  exit 1
}
cmake --build "$BUILD" -j 2 --target Typewell e2e_helper bench_tools
wine_env_start --display
python3 bench/run_bench.py --exe "$BUILD/src/win32/Typewell.exe" --tools "$BUILD/bench-tools" \
  --strip "$ARCH-w64-mingw32-strip" --e2e-tools "$BUILD/e2e-tools" --out "$ROOT/build/bench" "$@"
