#!/usr/bin/env bash
# The project's demo command: installs what is missing, builds the demo host for Windows and runs it
# under Wine.
# - With a display (DISPLAY set), it opens the demo's windows for a person to use.
# - Without one, it runs unattended on a virtual display, answers its own dialogs, and leaves
#   screenshots (PNG), the output window's saved text and the debugger output in build/windows/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target kqdemo

export WINEPREFIX="$root/build/windows/wineprefix"
tools/wine-prefix.sh "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null || true' EXIT
# Wine's background services start with the first program and inherit its output: start them detached.
wineserver -p || true # exit status 2 when a server of this prefix already runs: it is used as it is
WINEDEBUG=-all wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true

if [ -n "${DISPLAY:-}" ]; then
  echo "demo: opening the windows on $DISPLAY (close the 'kqmfc demo' window to end)"
  tools/wine-run.sh build/windows/bin/kqdemo.exe
else
  out="$root/build/windows/demo"
  rm -rf "$out"
  mkdir -p "$out"
  echo "demo: no DISPLAY set; running the scripted demo on a virtual display"
  tools/wine-run.sh build/windows/bin/kqdemo.exe --scripted "$out" | tr -d '\r'
  echo "demo: screenshots, saved output and debugger transcript are in $out"
fi
