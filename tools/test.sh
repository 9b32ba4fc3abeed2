#!/usr/bin/env bash
# The project's test command: installs what is missing, then builds and tests every preset
# (native with ASan + UBSan, fuzz targets for a bounded time, Windows under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

tools/setup.sh

run_preset() {
  local preset=$1
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: test"
  ctest --preset "$preset"
}

run_preset native
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
