#!/usr/bin/env bash
# The benchmark command: builds every benchmark (native: optimised, no sanitizers; Windows: the shipped
# optimisation, run under Wine), runs each several times and prints the median of every figure and ratio.
# Windows benchmarks run in a Wine prefix of their own in the classic, headless configuration
# (ThemeActive=0, Graphics=null); those that open windows run again in a themed prefix (Wine's default
# look) for the themed figures: the log path up to 3 times, the others once. Each run's full output is
# kept under build/bench-results/.
# Usage: tools/bench.sh [runs, default 5]
# The first run also builds glibc's catalogue of the catalogue benchmark with gencat: about 20 minutes.
# KQ_BENCH_NO_CATGETS=1 leaves gencat and catgets out of the catalogue benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
runs=${1:-5}
results=$root/build/bench-results
mkdir -p "$results" "$root/build/bench-native/work"

tools/setup.sh
echo "== build"
cmake --preset bench >/dev/null
cmake --build --preset bench
cmake --preset bench-windows >/dev/null
cmake --build --preset bench-windows
bin=$root/build/bench-native/bin
winbin=$root/build/bench-windows/bin

classic=$root/build/bench-windows/wineprefix-bench
themed=$root/build/bench-windows/wineprefix-themed
KQ_WINE_GRAPHICS=null tools/wine-prefix.sh "$classic"

# The themed prefix: the same unattended, headless settings as tools/wine-prefix.sh but without its
# ThemeActive=0, so the windows get Wine's default themed look.
make_themed_prefix() {
  [ -f "$themed/.kq-ready" ] && return 0
  mkdir -p "$themed"
  (
    export WINEPREFIX=$themed WINEDEBUG=-all WINEARCH=win64
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    DISPLAY= wineboot -i >/dev/null 2>&1 || true
    reg() { DISPLAY= wine reg add "$@" /f >/dev/null 2>&1; }
    reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
    reg 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null
    wineserver -w || true
  )
  touch "$themed/.kq-ready"
}
make_themed_prefix

cleanup() {
  WINEPREFIX=$classic wineserver -k 2>/dev/null || true
  WINEPREFIX=$themed wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
WINEPREFIX=$classic wineserver -p || true # exit status 2 when one already runs: it is used as it is
WINEPREFIX=$themed wineserver -p || true

# win <prefix> program.exe [args...]: a Windows benchmark in the given prefix, without any X display.
win() {
  local prefix=$1
  shift
  WINEPREFIX=$prefix KQ_NO_DISPLAY=1 DISPLAY= tools/wine-run.sh "$@"
}

# Medians over the runs in a result file, by key, in the order keys first appear. Comment lines of the
# first run are shown as they are.
summarise() {
  awk -F'|' '
    function median(list,    n, i, j, v, a) {
      n = split(list, a, " ")
      for (i = 2; i <= n; i++) { v = a[i] + 0; for (j = i - 1; j >= 1 && a[j] + 0 > v; j--) a[j + 1] = a[j]; a[j + 1] = v }
      return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
    }
    /^=== run/ { run++; next }
    /^#/ { if (run == 1) print "  " $0; next }
    /^(measure|ratio)/ {
      split($1, f, " ")
      key = f[1] " " f[2]
      if (!(key in values)) { order[++count] = key; kind[key] = f[1]; what[key] = $2;
                              unit[key] = f[4]; rel[key] = f[4]; target[key] = f[5] }
      values[key] = values[key] " " f[3]
      runs[key]++
    }
    END {
      for (i = 1; i <= count; i++) {
        key = order[i]; m = median(values[key]); split(key, k, " ")
        sub(/ *\(target (met|MISSED)\)$/, "", what[key])
        if (kind[key] == "measure") {
          printf "  %-38s %12.4g %-10s|%s\n", k[2], m, unit[key], what[key]
        } else if (rel[key] == "-") {
          printf "  ratio %-32s %12.4g %-10s|%s\n", k[2], m, "", what[key]
        } else {
          met = (rel[key] == ">=") ? (m >= target[key]) : (m <= target[key])
          printf "  ratio %-32s %12.4g %-10s|%s; target %s %s: %s\n", k[2], m, "", what[key], rel[key],
                 target[key], met ? "met" : "MISSED"
        }
      }
      if (count > 0) printf "  (medians of %d runs)\n", runs[order[1]]
    }' "$1"
}

# bench <name> <runs> command...: runs the command `runs` times into build/bench-results/<name>.txt.
bench() {
  local name=$1 n=$2
  shift 2
  local file=$results/$name.txt
  : >"$file"
  echo "== $name: $n run(s)"
  for i in $(seq "$n"); do
    echo "=== run $i" >>"$file"
    # Into a file, not a pipe: Wine's service processes inherit the output and outlive the program.
    local status=0
    "$@" >"$file.run" 2>&1 || status=$?
    tr -d '\r' <"$file.run" >>"$file"
    rm -f "$file.run"
    if [ "$status" -ne 0 ]; then
      tail -20 "$file"
      echo "== $name failed (run $i, status $status)"
      exit 1
    fi
  done
  summarise "$file"
}

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
bench line_rules "$runs" "$bin/line_rules_bench"
bench catalogue "$runs" "$bin/catalogue_bench" "$root/build/bench-native/work" ${KQ_BENCH_NO_CATGETS:+--no-catgets}
bench find "$runs" "$bin/find_bench"
bench records "$runs" win "$classic" "$winbin/records_bench.exe"
bench log_path "$runs" win "$classic" "$winbin/log_path_bench.exe"
bench paint "$runs" win "$classic" "$winbin/paint_bench.exe"
bench copy "$runs" win "$classic" "$winbin/copy_bench.exe"
bench memory_output "$runs" win "$classic" "$winbin/memory_bench.exe" output
bench memory_fast "$runs" win "$classic" "$winbin/memory_bench.exe" fast
# Themed: scroll-bar redraws cost milliseconds there, so fewer lines (240 per log path run) and paints.
# With so few lines a single log path run varies by a fifth: up to 3 runs (about 3.5 minutes each).
bench log_path_themed "$((runs < 3 ? runs : 3))" win "$themed" "$winbin/log_path_bench.exe" 240 25 10
bench paint_themed 1 win "$themed" "$winbin/paint_bench.exe" 100
bench memory_output_themed 1 win "$themed" "$winbin/memory_bench.exe" output
bench memory_fast_themed 1 win "$themed" "$winbin/memory_bench.exe" fast
