#!/usr/bin/env bash
# Runs every benchmark against a built tree and prints one figure a line. Never fails the build: a figure that
# cannot be measured here says so.
set -u
build="${1:-build}"
cd "$build" || exit 0

figure() { printf '%-44s %s\n' "$1" "$2"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/mofuran-bench.XXXXXX") || exit 0
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Programs that need a display get a virtual one of their own: the game is driven with synthetic clicks and keys,
# which must never reach a desktop. -displayfd picks a free display number.
own_display=""
if command -v Xvfb >/dev/null 2>&1; then
  Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$work/display" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  if [ -s "$work/display" ]; then
    own_display=":$(head -1 "$work/display")"
    export DISPLAY="$own_display"
  fi
fi
export SDL_AUDIODRIVER=dummy

# Two whole days of 10,000 games at setting 3 in one process, each a launch of the game from its title screen.
# A run takes a fifth of a second, so five are timed and the median is the figure.
rates=""
for _ in 1 2 3 4 5; do
  json=$(./mofuran-sim --days 2 --setting 3 --jobs 1 --json 2>/dev/null)
  rate=$(printf '%s' "$json" | sed -n 's/.*"games_per_second":\([0-9.]*\).*/\1/p')
  [ -n "$rate" ] && rates="$rates$rate
"
done
if [ -n "$rates" ]; then
  figure "simulated games per second (mofuran-sim):" "$(printf '%s' "$rates" | sort -n | awk '{ r[NR] = $1 }
    END { printf "%.0f (median of %d runs of 20000 games in one process; %.0f to %.0f)", r[int((NR + 1) / 2)], NR, r[1], r[NR] }')"
else
  figure "simulated games per second (mofuran-sim):" "not measured (mofuran-sim failed)"
fi

# Eight such days played by one process and by two worker processes: the same figures, in less time. Five
# pairs, one after the other; the figure is the median pair's.
wall() { printf '%s' "$1" | sed -n 's/.*"wall_seconds":\([0-9.]*\).*/\1/p'; }
figures() { printf '%s' "$1" | sed 's/,"wall_seconds".*//'; }
pairs="" same="the same figures"
for _ in 1 2 3 4 5; do
  one=$(./mofuran-sim --days 8 --setting 3 --jobs 1 --json 2>/dev/null)
  two=$(./mofuran-sim --days 8 --setting 3 --jobs 2 --json 2>/dev/null)
  [ -n "$(wall "$one")" ] && [ -n "$(wall "$two")" ] || continue
  [ "$(figures "$one")" = "$(figures "$two")" ] || same="the figures DIFFER"
  pairs="$pairs$(wall "$one") $(wall "$two")
"
done
if [ -n "$pairs" ]; then
  figure "two worker processes against one (--jobs 2):" "$(printf '%s' "$pairs" | awk -v s="$same" -v n="$(nproc)" \
    '{ r[NR] = $1 / $2; a[NR] = $1; b[NR] = $2 }
     END { for (i = 1; i <= NR; i++) for (j = i + 1; j <= NR; j++) if (r[j] < r[i]) {
             t = r[i]; r[i] = r[j]; r[j] = t; t = a[i]; a[i] = a[j]; a[j] = t; t = b[i]; b[i] = b[j]; b[j] = t }
           m = int((NR + 1) / 2)
           printf "%.2f times as fast (8 days: %.2f s in one process, %.2f s in two; median of %d; %s; %d processors)",
                  r[m], a[m], b[m], NR, s, n }')"
else
  figure "two worker processes against one (--jobs 2):" "not measured (mofuran-sim failed)"
fi

# The data counter opened on the largest histories its reader accepts.
./bench_counter_open 2>/dev/null | while IFS= read -r line; do figure "${line%%:*}:" "${line#*: }"; done
figure "reel frame composition:" "$(./bench_reel_frame 2>/dev/null | sed -n 's/.*: //p')"

# The game runs from a copy of the program beside its pictures and sounds, so that the save files it writes into
# its sound folder are its own and the player's in this build are never touched.
game="$work/game"
mkdir -p "$game/soundMofuran" && cp mofuran "$game/" && cp -r sozaiMofuran "$game/" &&
  find soundMofuran -maxdepth 1 -type f -iname '*.wav' -exec cp {} "$game/soundMofuran/" \; || game=""

# Starts the game in the background; its pid is in $game_pid.
start_game() {
  (cd "$game" && QT_QPA_PLATFORM=xcb exec ./mofuran >/dev/null 2>&1) &
  game_pid=$!
}
stop_game() {
  kill "$game_pid" 2>/dev/null
  wait "$game_pid" 2>/dev/null
}

# Answers a message box of the game with Return; on a display of our own only.
answer() {
  [ -n "$own_display" ] || return
  timeout 2 xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool key Return 2>/dev/null
}

# Waits for the running game's window of the given size, answering any other window (a message box) with
# Return; prints the window, or nothing when none came within 10 s.
wait_for_window() {
  local w geometry other
  for _ in $(seq 100); do
    other=""
    for w in $(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null); do
      geometry=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: //p')
      if [ "$geometry" = "$1" ]; then
        echo "$w"
        return
      fi
      [ "$geometry" != "$2" ] && other=$w
    done
    [ -n "$other" ] && answer "$other"
    sleep 0.1
  done
}
title_size=608x468
machine_size=757x596

# Turns xev's map events into "time window" lines.
stamp_maps() {
  local line stamp="" mapped=0
  while IFS= read -r line; do
    if [[ $line == MapNotify* ]]; then
      stamp=$EPOCHREALTIME
      mapped=1
    elif ((mapped)); then
      mapped=0
      [[ $line =~ window\ (0x[0-9a-f]+) ]] && echo "$stamp ${BASH_REMATCH[1]}"
    fi
  done
}

# Seconds from starting the game to its first window being mapped, or nothing. The map is timed by the X
# server's own event as xev reports it: xdotool's --sync looks only every half second, so any start slower than
# xdotool's first look would read as 0.5 s or more. Without xev it falls back to asking xdotool every 20 ms.
time_to_window() {
  local start wid="" stamp="" xev_pid="" log="$work/maps"
  : >"$log"
  if command -v xev >/dev/null 2>&1; then
    xev -root -event substructure 2>/dev/null > >(stamp_maps >"$log") &
    xev_pid=$!
    sleep 0.3
  fi
  start=$EPOCHREALTIME
  start_game
  if [ -n "$xev_pid" ]; then
    wid=$(timeout 10 xdotool search --sync --onlyvisible --pid "$game_pid" 2>/dev/null | head -1)
    [ -n "$wid" ] && stamp=$(awk -v w="$(printf '0x%x' "$wid")" '$2 == w { print $1; exit }' "$log")
  else
    for _ in $(seq 500); do
      if xdotool search --onlyvisible --pid "$game_pid" >/dev/null 2>&1; then
        stamp=$EPOCHREALTIME
        break
      fi
      sleep 0.02
    done
  fi
  stop_game
  [ -n "$xev_pid" ] && kill "$xev_pid" 2>/dev/null && wait "$xev_pid" 2>/dev/null
  [ -n "$stamp" ] && awk -v a="$start" -v b="$stamp" 'BEGIN { printf "%.3f\n", b - a }'
}

# A picture of the reels' window on the machine screen, as a checksum.
reels_picture() { import -window "$1" -crop 380x180+35+100 +repage rgb:- 2>/dev/null | md5sum; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null; }

# Plays the game itself: Start on the title screen (answering the test-play notice a nameless player gets), the
# lever on the machine screen, then the reels spin until the game is ended. Sets spin_cpu and peak_memory, or
# drive_failed to the reason.
drive_game() {
  local title machine a b t0 t1
  spin_cpu=""
  peak_memory=""
  drive_failed=""
  start_game
  title=$(wait_for_window "$title_size" "")
  if [ -z "$title" ]; then
    drive_failed="no title screen within 10 s"
    stop_game
    return
  fi
  sleep 0.5
  # Start: Command1 at (330, 416), 262 x 40 on the title screen.
  xdotool mousemove --window "$title" 461 436 click 1 2>/dev/null
  machine=$(wait_for_window "$machine_size" "$title_size")
  if [ -z "$machine" ]; then
    drive_failed="the machine screen did not open"
    stop_game
    return
  fi
  sleep 0.5
  timeout 2 xdotool windowfocus --sync "$machine" 2>/dev/null
  xdotool key Up 2>/dev/null
  # The bet's pause, then the reels get going.
  sleep 1
  if command -v import >/dev/null 2>&1; then
    a=$(reels_picture "$machine")
    sleep 0.1
    if [ "$a" = "$(reels_picture "$machine")" ]; then
      drive_failed="the reels did not spin"
      stop_game
      return
    fi
  fi
  a=$(cpu_ticks "$game_pid")
  t0=$EPOCHREALTIME
  sleep 4
  b=$(cpu_ticks "$game_pid")
  t1=$EPOCHREALTIME
  peak_memory=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\).*/\1/p' "/proc/$game_pid/status" 2>/dev/null)
  stop_game
  if [ -z "$a" ] || [ -z "$b" ] || [ -z "$peak_memory" ]; then
    drive_failed="the game ended early"
    return
  fi
  spin_cpu=$(awk -v a="$a" -v b="$b" -v hz="$(getconf CLK_TCK)" -v t0="$t0" -v t1="$t1" \
    'BEGIN { printf "%.1f %% of one core (mofuran, %.0f s of spinning)", 100 * (b - a) / hz / (t1 - t0), t1 - t0 }')
}

if [ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null 2>&1 && [ -n "$game" ]; then
  # A first start finds no save files, writes a fresh record and says the data were broken; every later start
  # opens on the title screen. Five are timed; the median is the figure.
  start_game
  if [ -n "$own_display" ]; then
    wait_for_window "$title_size" "" >/dev/null
  else
    timeout 10 xdotool search --sync --onlyvisible --pid "$game_pid" >/dev/null 2>&1
  fi
  stop_game
  times=$(for _ in 1 2 3 4 5; do time_to_window; done | sort -n)
  if [ "$(printf '%s\n' "$times" | grep -c .)" -eq 5 ]; then
    figure "start to the first window shown:" "$(printf '%s\n' "$times" |
      awk '{ t[NR] = $1 } END { printf "%.3f s (median of 5; %.3f to %.3f s)", t[3], t[1], t[5] }')"
  else
    figure "start to the first window shown:" "not measured (no window within 10 s)"
  fi

  out=$(./bench_reel_timer 2>&1)
  figure "reel tick period:" "$(printf '%s\n' "$out" | sed -n 's/.*periods: //p')"
  tick_rate=$(printf '%s\n' "$out" |
    sed -n 's/^tick rate \([0-9.]* per second\) (\([^)]*\)).*/\1 (\2, bench_reel_timer)/p')
  tick_rate=${tick_rate:-tick rate not measured}

  if [ -n "$own_display" ]; then
    drive_game
  else
    drive_failed="needs Xvfb: the game is driven with synthetic input"
  fi
  if [ -z "$drive_failed" ]; then
    figure "tick rate and CPU while the reels spin:" "$tick_rate; CPU $spin_cpu"
    figure "peak memory during play:" \
      "$(awk -v k="$peak_memory" 'BEGIN { printf "%.1f MB (mofuran, VmHWM with the reels spinning)", k / 1024 }')"
  else
    figure "tick rate and CPU while the reels spin:" "$tick_rate; CPU not measured ($drive_failed)"
    figure "peak memory during play:" "not measured ($drive_failed)"
  fi
else
  figure "display benchmarks:" "not measured (no display and no Xvfb)"
fi

figure "sound bank build from 41 files:" "$(./bench_sound_bank 2>/dev/null | tail -1)"

exit 0
