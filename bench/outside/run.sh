#!/usr/bin/env bash
# The from-outside benchmark: starts an X server and a window manager of its
# own, drives each program in turn with bench_outside and prints one table.
# It prints figures and never fails on time.
# Usage: bench/outside/run.sh [BUILD_DIR]   (scripts/bench --outside builds and calls it)
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display and tells its number once it takes clients.
# A black root, so a window's first frame stands out.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -br -nolisten tcp 3>"$work/display" 2>/dev/null &
server=$!
pids+=("$server")
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "run.sh: Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(cat "$work/display")"
export DISPLAY
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 1

# Every program starts as on a fresh account. mtPaint opens a white canvas of
# the same size, in a window that shows it whole and without its floating
# settings toolbar (toolbar3); F4 then picks its paint tool.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
printf 'window_w = 1017\nwindow_h = 700\ntoolbar3 = 0\n' >"$HOME/.mtpaint"
{ printf 'P6\n792 506\n255\n'; head -c $((792 * 506 * 3)) /dev/zero | tr '\0' '\377'; } >"$work/white.ppm"

driver=$build/bench/bench_outside
floor=$build/bench/bench_floor
pittorello=$build/src/pittorello
mtpaint=(mtpaint "$work/white.ppm")
command -v mtpaint >/dev/null || mtpaint=()
load=$(cut -d' ' -f1-3 /proc/loadavg)

# Start-up and memory, the programs taking turns: one line each, in this order.
starting=(-- "$floor" ignore)
[ ${#mtpaint[@]} -eq 0 ] || starting+=(-- "${mtpaint[@]}")
starting+=(-- "$pittorello")
"$driver" --starts 21 "${starting[@]}" >"$work/starts"

drawing() {
  local name=$1
  shift
  printf '%s' "$name" >>"$work/figures"
  "$driver" --server "$server" "$@" >>"$work/figures"
}
drawing "bare Qt window, ignores motion" -- "$floor" ignore
drawing "bare Qt window, antialiased dot" --ink -- "$floor" paint
if [ ${#mtpaint[@]} -gt 0 ]; then
  drawing "mtPaint $(dpkg-query -W -f='${Version}' mtpaint | cut -d- -f1)" --ink --key F4 -- "${mtpaint[@]}"
fi
drawing "Pittorello" --ink -- "$pittorello"
# The antialiased dot has no start-up figures of its own.
{ head -1 "$work/starts"; printf '\t-\t-\n'; tail -n +2 "$work/starts"; } | cut -f2- | paste "$work/figures" - >"$work/table"

echo "From outside: Xvfb + openbox, one program at a time. CPU: bursts of 2,000 motions with the"
echo "button held, 2 px apart, medians of 5; ink px/motion below 1 for a 1-px dot: motions merged."
echo "Ink latency over up to 300 dots; start to first frame and memory: medians of 21 starts."
echo "x: ratio to the bare window that ignores motion. Load average before $load, after $(cut -d' ' -f1-3 /proc/loadavg)."
awk -F'\t' '
  function ratio(v, f) { return (v == "-" || f == "-" || f == 0) ? "-" : sprintf("%.2f", v / f) }
  function extra(v, f) { return (v == "-" || f == "-") ? "-" : sprintf("%+.1f", v - f) }
  function row(cells,   i, line) {
    line = sprintf("%-32s", cells[1])
    for (i = 2; i <= 18; i++) line = line sprintf("%7s", cells[i])
    print line
  }
  BEGIN {
    printf "%-32s%14s%14s%14s%14s%28s%14s%21s\n", "", "CPU ms/1k", "x", "X server ms", "ink px/motion",
      "ink latency ms", "start ms", "memory MiB"
    split("program|2k/s|8k/s|2k/s|8k/s|2k/s|8k/s|2k/s|8k/s|median|p90|max|lost|median|x|median|x|extra", head, "|")
    row(head)
  }
  NR == 1 { split($0, floor, "\t") }
  {
    split($1 "|" $2 "|" $5 "|" ratio($2, floor[2]) "|" ratio($5, floor[5]) "|" $3 "|" $6 "|" $4 "|" $7 "|" \
      $8 "|" $9 "|" $10 "|" $11 "|" $12 "|" ratio($12, floor[12]) "|" $13 "|" ratio($13, floor[13]) "|" \
      extra($13, floor[13]), cells, "|")
    row(cells)
  }' "$work/table"
