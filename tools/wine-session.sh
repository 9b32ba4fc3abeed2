# Sourced by tools/test.sh and tools/demo.sh: one Wine session for a command's windows.
# kq_wine_session_start <prefix>:
# - any server of the prefix left by an earlier command is stopped: its desktop may belong to a display
#   that is gone, and no window could then be created;
# - without DISPLAY, a virtual display (Xvfb) is started and DISPLAY set to it;
# - a server is started and Wine's background services with it, detached from any pipe (the first Wine
#   program starts them and they inherit its output, which would keep a captured output open).
# Everything is stopped when the calling script exits.
kq_wine_xvfb_pid=
kq_wine_session_stop() {
  wineserver -k 2>/dev/null || true
  [ -n "$kq_wine_xvfb_pid" ] && kill "$kq_wine_xvfb_pid" 2>/dev/null || true
}

kq_wine_session_start() {
  export WINEPREFIX=$1
  wineserver -k 2>/dev/null || true
  trap kq_wine_session_stop EXIT
  if [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 140); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      kq_wine_xvfb_pid=$!
      export DISPLAY=":$n"
      for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      break
    done
  fi
  wineserver -p || true
  WINEDEBUG=-all wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
}
