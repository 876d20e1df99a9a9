#!/usr/bin/env bash
# Start-up figures of the window program against an empty Qt 6 window (bench/empty_window.cpp)
# built the same way: the time from starting the process to the first paint of its window, and
# its resident memory (VmRSS) at that moment. Both programs report through the same test-only
# hook (QUORVEL_FIRST_PAINT_EXIT, src/platform/window/qt/first_paint_probe.h) and end there.
# Runs alternate between the two programs; the medians are printed.
#
#   bench/startup.sh [RUNS]      (default 15; starts its own Xvfb server when DISPLAY is unset)
#
# Needs the release build: cmake --preset release && cmake --build --preset release
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
build=build/release

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

# The program keeps config.ini and the skin file next to itself: run copies in a scratch place.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/src/quorvel-checkin" "$build/bench/empty_window" "$work/"

# One start of a program: prints "<milliseconds to first paint> <resident kB>".
measure() {
  local start report paint_ns rss_kb
  start=$(date +%s%N)
  report=$(cd "$work" && QUORVEL_FIRST_PAINT_EXIT=1 "./$1" 2>&1 >/dev/null | grep first-paint-ns=)
  paint_ns=${report#first-paint-ns=}
  paint_ns=${paint_ns%% *}
  rss_kb=${report##*rss-kb=}
  echo "$(( (paint_ns - start) / 1000 )) $rss_kb"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >"$work/program" && : >"$work/empty"
measure empty_window >/dev/null  # warm the file cache for both
measure quorvel-checkin >/dev/null
for _ in $(seq "$runs"); do
  measure quorvel-checkin >>"$work/program"
  measure empty_window >>"$work/empty"
done

program_us=$(cut -d' ' -f1 "$work/program" | median)
empty_us=$(cut -d' ' -f1 "$work/empty" | median)
program_kb=$(cut -d' ' -f2 "$work/program" | median)
empty_kb=$(cut -d' ' -f2 "$work/empty" | median)
awk -v p="$program_us" -v e="$empty_us" -v pk="$program_kb" -v ek="$empty_kb" -v n="$runs" 'BEGIN {
  printf "start to first paint: quorvel-checkin %.1f ms, empty window %.1f ms, ratio %.2f (medians of %d)\n",
         p / 1000, e / 1000, p / e, n
  printf "resident memory at first paint: quorvel-checkin %.1f MB, empty window %.1f MB, difference %.1f MB\n",
         pk / 1024, ek / 1024, (pk - ek) / 1024
}'
