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

# The Windows tests open real windows: one virtual display for the whole run when none is set,
# and one Wine server kept alive across test executables.
xvfb_pid=
cleanup() {
  WINEPREFIX="$root/build/windows/wineprefix" wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
fi
cmake --preset windows >/dev/null
cmake --build --preset windows
tools/wine-prefix.sh "$root/build/windows/wineprefix"
export WINEPREFIX="$root/build/windows/wineprefix"
wineserver -p || true # exit status 2 when a server of this prefix already runs: it is used as it is
# Start Wine's background services now, detached from any pipe: the first Wine program of a session
# starts them and they inherit its output, which would keep a test's captured output open until they end.
WINEDEBUG=-all wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
echo "== windows: test"
ctest --preset windows
