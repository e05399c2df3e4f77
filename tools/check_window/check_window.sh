#!/usr/bin/env bash
# make check-window: the real program in a real X window, as a new player meets it. A copy of the build in a
# temporary folder is started under Xvfb; xdotool answers the first start's notice, registers a name with Enter,
# starts a day, plays five games with the keys, cashes out and quits; then the save files are read back.
# Prints one line a step; exits non-zero at the first step that fails.
# usage: check_window.sh BUILD_FOLDER
set -u
build=$(cd "$1" && pwd)
work=$(mktemp -d /tmp/mofuran-window-XXXXXX)
xvfb_pid="" game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
step() { printf 'check-window: %s\n' "$*"; }
fail() {
  printf 'check-window: FAILED: %s\n' "$*" >&2
  [ -s "$work/game.log" ] && sed 's/^/  mofuran: /' "$work/game.log" >&2
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf '  window %s "%s"\n' "$w" "$(xdotool getwindowname "$w")" >&2
  done
  exit 1
}

# A copy of the program with its pictures and sounds, and no save files.
mkdir -p "$work/game/soundMofuran"
cp "$build/mofuran" "$work/game/"
cp -r "$build/sozaiMofuran" "$work/game/"
find "$build/soundMofuran" -maxdepth 1 -type f -iname '*.wav' -exec cp {} "$work/game/soundMofuran/" \;
step "copied the program to $work/game (no save files)"

# Xvfb picks a free display itself and writes its number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(head -n 1 "$work/display" 2>/dev/null)"
export DISPLAY=$display
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"
step "Xvfb runs on $display"

# Visible windows whose title matches the pattern.
windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }
wait_windows() {  # pattern count seconds
  local i
  for i in $(seq $(( ${3:-15} * 10 ))); do
    [ "$(windows "$1" | wc -l)" -ge "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
wait_gone() {  # pattern count: fewer than count windows left
  local i
  for i in $(seq 150); do
    [ "$(windows "$1" | wc -l)" -lt "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
# The title screen: the window of that name in its size (a message box shares the program's name).
title_window() {
  local w
  for w in $(windows '^モフラン$'); do
    xdotool getwindowgeometry "$w" | grep -q 'Geometry: 608x468' && { echo "$w"; return 0; }
  done
  return 1
}
wait_title() {
  local i
  for i in $(seq 150); do title_window >/dev/null && return 0; sleep 0.1; done
  return 1
}
focused_width() { xdotool getwindowfocus getwindowgeometry 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p'; }
key() { xdotool key --delay 30 "$@"; }
click_at() {  # window x y: a click at a point of the window's client area
  local wx wy
  eval "$(xdotool getwindowgeometry --shell "$1")"
  wx=$X wy=$Y
  xdotool mousemove --sync $((wx + $2)) $((wy + $3)) click 1
}
# A picture of one place of a window, to tell whether what it shows changed.
snap() { import -window "$1" -crop "$2" +repage png:- 2>/dev/null | md5sum | cut -d' ' -f1; }

(cd / && SDL_AUDIODRIVER=dummy exec "$work/game/mofuran") 2>"$work/game.log" &
game_pid=$!
step "started mofuran (pid $game_pid) from /"

# First start: while the title screen loads, the notice that the missing data were initialised.
wait_windows '^モフラン$' 1 || fail "the first-start notice did not appear"
sleep 0.3
[ "$(focused_width)" -lt 600 ] || fail "the notice does not have the keyboard"
key Return
wait_title || fail "Enter did not answer the first-start notice, or the title screen did not follow"
step "answered the first start's notice (データが壊れています。) with Enter: the title screen is up"
title=$(title_window)

# The name box, typed into, registered with Enter.
click_at "$title" 200 67
xdotool type --delay 40 mofu
key Return
sleep 0.5
step "typed the name 'mofu' in the name box and pressed Enter"

# Start: the machine screen opens with the keyboard.
click_at "$title" 460 436
wait_windows 'プレイ中' 1 || fail "Start did not open the machine screen"
machine=$(windows 'プレイ中' | head -n 1)
sleep 0.5
[ "$(xdotool getwindowfocus)" = "$machine" ] || fail "the machine screen does not have the keyboard"
step "clicked Start: the machine screen is up and has the keyboard"

counter="124x22+528+384"
before=$(snap "$machine" "$counter")
for game in 1 2 3 4 5; do
  # A result's presentation (a fanfare, the digital display, an MC's start) can hold the lever for a while: as a
  # player does, press Up again until the game starts.
  presses=0
  while :; do
    key Up
    presses=$((presses + 1))
    sleep 0.9
    now=$(snap "$machine" "$counter")
    [ "$now" != "$before" ] && break
    [ "$presses" -lt 25 ] || fail "game $game: Up did not start a game (the game counter stayed)"
  done
  before=$now
  key Left; sleep 0.35; key Down; sleep 0.35; key Right
  sleep 2
  step "game $game: Up (pressed $presses time(s)), then Left, Down, Right; the game counter moved on"
done

# Esc, Enter (yes), Enter (the setting's notice): the title screen comes back as the record of the day.
key Escape
wait_windows '^終了しますか？$' 1 || fail "Esc did not ask to cash out"
sleep 0.3
key Return
wait_windows '^本日のセテーイ$' 1 || fail "Enter did not answer the cash-out question"
sleep 0.3
key Return
wait_gone 'プレイ中' 1 || fail "the machine screen did not close after the cash-out"
wait_title || fail "the title screen did not come back"
step "cashed out with Esc, Enter, Enter: the title screen is back"

title=$(title_window)
sleep 0.5
click_at "$title" 380 67
for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && fail "終了 did not end the program"
wait "$game_pid"
status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "the program exited with status $status"
step "clicked 終了: the program exited with status 0"

# The save files: both there, in their sizes, with the name and savings changed by the day.
saves=$work/game/soundMofuran
[ -f "$saves/DataFiles" ] && [ -f "$saves/VBDSND1.DLL" ] || fail "the save files are missing"
python3 - "$saves" <<'PYEOF' || fail "the save files do not hold the day"
import struct, sys
folder = sys.argv[1]
data = open(folder + "/DataFiles", "rb").read()
vbd = open(folder + "/VBDSND1.DLL", "rb").read()
savings = struct.unpack_from("<q", data, 0)[0] / 10000
savings2 = struct.unpack_from("<q", vbd, 24)[0] / 10000
name = data[32:].decode("cp932").rstrip()
assert name == "mofu", name
assert savings == savings2, (savings, savings2)
# 50 coins were bought for 1,000 yen; every coin left was changed back at 20 yen.
assert savings >= 199000 and (savings - 199000) % 20 == 0, savings
print("check-window: save files: name 'mofu', savings %s yen in both files (%d and %d bytes)" %
      (format(int(savings), ","), len(data), len(vbd)))
PYEOF
step "passed"
