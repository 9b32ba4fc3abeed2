#!/usr/bin/env bash
# The project's test command: installs what is missing, then builds and tests every preset
# (native with ASan + UBSan, native with ThreadSanitizer, fuzz targets for a bounded time, Windows under
# Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

tools/setup.sh

# run_preset <preset> [command prefix for ctest...]
run_preset() {
  local preset=$1
  shift
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: test"
  "$@" ctest --preset "$preset"
}

run_preset native
# ThreadSanitizer's runtime fails with "unexpected memory mapping" on kernels that randomise more bits
# of the address space than it expects (vm.mmap_rnd_bits): its tests run without randomisation.
run_preset tsan setarch "$(uname -m)" -R
[ -d fuzz ] && run_preset fuzz

# The Windows tests open real windows: one virtual display for the whole run when none is set, and one
# Wine server kept alive across test executables.
cmake --preset windows >/dev/null
cmake --build --preset windows
tools/wine-prefix.sh "$root/build/windows/wineprefix"
. tools/wine-session.sh
kq_wine_session_start "$root/build/windows/wineprefix"
echo "== windows: test"
ctest --preset windows
