#!/usr/bin/env bash
# Runs one Windows program under Wine, the way the tests and the demo need it:
# - a Wine prefix inside the build tree (found by walking up to CMakeCache.txt), created once;
# - no Wine debug chatter, no Mono/Gecko installer prompts, no crash dialog (a crash fails the run);
# - the classic (unthemed) look, which makes scroll-bar redraws cheap;
# - a virtual display when none is set.
# Usage: wine-run.sh program.exe [args...]
set -euo pipefail

prog=$1
shift

find_build_dir() {
  local d
  d=$(cd "$(dirname "$1")" && pwd)
  while [ "$d" != / ]; do
    [ -f "$d/CMakeCache.txt" ] && { echo "$d"; return; }
    d=$(dirname "$d")
  done
  echo "${XDG_CACHE_HOME:-$HOME/.cache}/kqmfc"
}

if [ -z "${WINEPREFIX:-}" ]; then
  WINEPREFIX="$(find_build_dir "$prog")/wineprefix"
fi
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
export WINEARCH=win64

"$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX"

if [ -z "${DISPLAY:-}" ] && [ -z "${KQ_NO_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$prog" "$@"
fi
exec wine "$prog" "$@"
