#!/usr/bin/env bash
# The project's demo command: installs what is missing, builds the demo host for Windows and runs it
# under Wine.
# - With a display (DISPLAY set), it opens the demo's windows for a person to use.
# - Without one, it runs unattended on a virtual display, answers its own dialogs, and leaves
#   screenshots (PNG), the output window's saved text and the debugger output in
#   build/windows/demo-output/ (not in build/windows/demo: that is the demo's build directory, whose
#   install script the test preset's package test runs).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target kqdemo

tools/wine-prefix.sh "$root/build/windows/wineprefix"
scripted=${DISPLAY:+no} # decided before the session may set DISPLAY to a virtual display
. tools/wine-session.sh
kq_wine_session_start "$root/build/windows/wineprefix"

if [ "$scripted" = no ]; then
  echo "demo: opening the windows on $DISPLAY (close the 'kqmfc demo' window to end)"
  tools/wine-run.sh build/windows/bin/kqdemo.exe
else
  out="$root/build/windows/demo-output"
  rm -rf "$out"
  mkdir -p "$out"
  echo "demo: no DISPLAY set; running the scripted demo on a virtual display"
  tools/wine-run.sh build/windows/bin/kqdemo.exe --scripted "$out" | tr -d '\r'
  echo "demo: screenshots, saved output and debugger transcript are in $out"
fi
