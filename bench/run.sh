#!/usr/bin/env bash
# Runs every benchmark against a built tree and prints one figure a line. Never fails the build: a figure that
# cannot be measured here says so.
set -u
build="${1:-build}"
cd "$build" || exit 0

# Programs that need a display get a virtual one when there is none.
xvfb_pid=""
if [ -z "${DISPLAY:-}" ] && command -v Xvfb >/dev/null 2>&1; then
  Xvfb :77 -screen 0 1024x768x24 >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:77
  sleep 1
fi
export SDL_AUDIODRIVER=dummy

figure() { printf '%-44s %s\n' "$1" "$2"; }

json=$(./mofuran-sim --games 3000 --setting 3 --json 2>/dev/null)
figure "simulated games per second (mofuran-sim):" \
  "$(printf '%s' "$json" | sed -n 's/.*"games_per_second":\([0-9.]*\).*/\1/p')"

figure "reel frame composition:" "$(./bench_reel_frame 2>/dev/null | sed -n 's/.*: //p')"

if [ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null 2>&1; then
  start=$(date +%s.%N)
  ./mofuran >/dev/null 2>&1 &
  pid=$!
  if timeout 10 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null 2>&1; then
    end=$(date +%s.%N)
    figure "start to the first window shown:" "$(echo "$end - $start" | bc -l | xargs printf '%.3f s')"
  else
    figure "start to the first window shown:" "not measured (no window within 10 s)"
  fi
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null

  out=$( { /usr/bin/time -v ./bench_reel_timer; } 2>&1 )
  figure "reel tick period:" "$(printf '%s\n' "$out" | sed -n 's/.*periods: //p')"
  figure "tick rate and CPU while the reels spin:" "$(printf '%s\n' "$out" | sed -n 's/^tick rate //p')"
  figure "peak memory during play:" \
    "$(printf '%s\n' "$out" | sed -n 's/.*Maximum resident set size (kbytes): \([0-9]*\)/\1/p' | awk '{printf "%.1f MB", $1/1024}')"
else
  figure "display benchmarks:" "not measured (no display and no Xvfb)"
fi

figure "sound bank build from 41 files:" "$(./bench_sound_bank 2>/dev/null | tail -1)"

[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
exit 0
