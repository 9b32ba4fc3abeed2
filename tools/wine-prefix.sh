#!/usr/bin/env bash
# Creates the Wine prefix given as $1 once (about 10 s), configured for unattended runs.
# Safe to call from several processes at once: the first one builds it, the others wait.
# Set KQ_WINE_GRAPHICS=null before the first run to create a headless prefix (no X display needed).
set -euo pipefail
# Wine needs an absolute prefix: with a relative one its settings below would not reach the prefix.
prefix=$(realpath -m -- "$1")

# Wine's own fonts (Debian's fonts-wine: Tahoma, and Marlett, which holds the caption buttons' glyphs;
# without it the minimise, maximise and close buttons show the letters 0, 1 and r) are not loaded from
# Wine's data directory by this build of Wine: link them into the prefix's Fonts folder, which Wine reads
# at each start. Done for existing prefixes too, and again after fonts-wine is installed.
link_wine_fonts() {
  local fonts=$prefix/drive_c/windows/Fonts f
  [ -d /usr/share/wine/fonts ] && [ -d "$prefix/drive_c/windows" ] || return 0
  mkdir -p "$fonts"
  for f in /usr/share/wine/fonts/*.ttf; do
    [ -e "$fonts/${f##*/}" ] || ln -sf "$f" "$fonts/" 2>/dev/null || true
  done
}

if [ -f "$prefix/.kq-ready" ]; then
  link_wine_fonts
  exit 0
fi
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
if [ -f "$prefix/.kq-ready" ]; then
  link_wine_fonts
  exit 0
fi

export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
DISPLAY= wineboot -i >/dev/null 2>&1 || true
reg() { DISPLAY= wine reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d 0
# Wine draws its own frames: showing a window does not wait for a window manager (there is none on the
# virtual display), which would cost about 2 s per dialog.
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
if [ "${KQ_WINE_GRAPHICS:-}" = null ]; then
  reg 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null
fi
wineserver -w || true
link_wine_fonts
touch "$prefix/.kq-ready"
