#!/usr/bin/env bash
# make check-window: the real program in a real X window, as a new player meets it. A copy of the build in a
# temporary folder, with a data counter history of three past days, is started under Xvfb; xdotool answers the
# first start's notice, registers a name with Enter, starts a day, opens the data counter, plays games with the keys
# (one of them after declining the cash-out), cashes out and quits; then the save files are read back. The same
# copy is played again under the openbox window manager: the dealer shop, then the machine and the counter. Last,
# at 1920x1080 and 1366x768 under openbox, every window stands whole on the screen and the counter beside the
# machine. At each size the counter must open whole on the screen, title bar included, over none of the machine,
# and a click on a past day must open that day.
# Prints one line a step; exits non-zero at the first step that fails.
# usage: check_window.sh BUILD_FOLDER
set -u
build=$(cd "$1" && pwd)
work=$(mktemp -d /tmp/mofuran-window-XXXXXX)
xvfb_pid="" wm_pid="" game_pid=""
stop_display() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  game_pid="" wm_pid="" xvfb_pid=""
}
cleanup() {
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT
step() { printf 'check-window: %s\n' "$*"; }
fail() {
  printf 'check-window: FAILED: %s\n' "$*" >&2
  [ -s "$work/game.log" ] && sed 's/^/  mofuran: /' "$work/game.log" >&2
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf '  window %s "%s" at %s\n' "$w" "$(xdotool getwindowname "$w")" "$(frame_of "$w")" >&2
  done
  exit 1
}

# A copy of the program with its pictures and sounds, no save files, and three past days in the counter's history.
mkdir -p "$work/game/soundMofuran"
cp "$build/mofuran" "$work/game/"
cp -r "$build/sozaiMofuran" "$work/game/"
find "$build/soundMofuran" -maxdepth 1 -type f -iname '*.wav' -exec cp {} "$work/game/soundMofuran/" \;
cat >"$work/game/soundMofuran/DataCounter.txt" <<'EOF'
mofuran-datacounter 1
day 2025-06-01 18:42 games 300 normal 300 fresh 0 mc 0 pmc 0 fanfare 0 in 900 out 600 setting 2
slump -1*300
day 2025-06-02 19:10 games 500 normal 500 fresh 0 mc 0 pmc 0 fanfare 0 in 1500 out 1000 setting 5
slump -1*500
day 2025-06-03 20:05 games 200 normal 200 fresh 0 mc 0 pmc 0 fanfare 0 in 600 out 400 setting 1
slump -1*200
EOF
step "copied the program to $work/game (no save files, three past days in the counter's history)"

# An X server of the given size, with openbox when asked; Xvfb picks a free display itself and writes its number.
start_display() {  # WIDTHxHEIGHT [openbox]
  rm -f "$work/display"
  # -noreset: the server does not start over whenever its last client leaves (xdpyinfo, before openbox connects).
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$work/display" 2>/dev/null)"
  xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"
  if [ "${2:-}" = openbox ]; then
    openbox >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 300); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
      fail "openbox did not start: $(tr '\n' ' ' <"$work/openbox.log")"
    step "Xvfb runs on $DISPLAY at $1 with openbox"
  else
    step "Xvfb runs on $DISPLAY at $1, no window manager"
  fi
  read -r screen_w screen_h < <(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
}
start_game() {
  (cd / && SDL_AUDIODRIVER=dummy exec "$work/game/mofuran") 2>"$work/game.log" &
  game_pid=$!
  step "started mofuran (pid $game_pid) from /"
}
quit_game() {  # from the title screen after a day: 終了
  sleep 0.5
  click_at "$(title_window)" 380 67
  for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$game_pid" 2>/dev/null && fail "終了 did not end the program"
  wait "$game_pid"
  local status=$?
  game_pid=""
  [ "$status" -eq 0 ] || fail "the program exited with status $status"
  step "clicked 終了: the program exited with status 0"
}

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
# Where a window's client area stands on the screen: "x y width height". (xdotool's own position counts a window
# manager's frame twice.)
client_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
                           /  Width:/ {w = $NF} /  Height:/ {h = $NF} END {print x, y, w, h}'
}
# The same with the window manager's frame around it: borders and title bar.
frame_of() {
  local x y w h l r t b
  read -r x y w h < <(client_of "$1")
  read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1 \2 \3 \4/p')
  echo $((x - ${l:-0})) $((y - ${t:-0})) $((w + ${l:-0} + ${r:-0})) $((h + ${t:-0} + ${b:-0}))
}
click_at() {  # window x y: a click at a point of the window's client area
  local x y w h
  read -r x y w h < <(client_of "$1")
  xdotool mousemove --sync $((x + $2)) $((y + $3)) click 1
}
# A picture of one place of a window, to tell whether what it shows changed.
snap() { import -window "$1" -crop "$2" +repage png:- 2>/dev/null | md5sum | cut -d' ' -f1; }

# The window stands whole on the screen, its frame included.
check_whole() {  # window name
  local x y w h
  read -r x y w h < <(frame_of "$1")
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$screen_w" ] && [ $((y + h)) -le "$screen_h" ] ||
    fail "the $2 stands at ${w}x$h+$x+$y, not whole on the ${screen_w}x$screen_h screen"
}
# The two windows, frames included, do not overlap.
check_apart() {  # window window
  local ax ay aw ah bx by bw bh
  read -r ax ay aw ah < <(frame_of "$1")
  read -r bx by bw bh < <(frame_of "$2")
  [ $((ax + aw)) -le "$bx" ] || [ $((bx + bw)) -le "$ax" ] || [ $((ay + ah)) -le "$by" ] || [ $((by + bh)) -le "$ay" ] ||
    fail "the counter at ${aw}x$ah+$ax+$ay covers the machine at ${bw}x$bh+$bx+$by"
}

# D at the machine: the counter opens whole on the screen, beside the machine, and the machine keeps the keyboard.
open_counter() {  # machine
  key d
  wait_windows '^データカウンター$' 1 || fail "D did not open the data counter"
  sleep 1
  counter=$(windows '^データカウンター$' | head -n 1)
  check_whole "$counter" counter
  check_whole "$1" machine
  check_apart "$counter" "$1"
  [ "$(xdotool getwindowfocus)" = "$1" ] || fail "the counter took the keyboard from the machine"
  read -r cx cy cw ch < <(frame_of "$counter")
  step "D opened the data counter at ${cw}x$ch+$cx+$cy (frame included): whole on the screen, beside the machine"
}

# The chosen day's row of the past days is the one lit (#33406a) in the counter: its top and height, and the left of
# the list.
lit_row() {
  import -window "$counter" -depth 8 rgb:- 2>/dev/null | python3 -c '
import sys
w, h = int(sys.argv[1]), int(sys.argv[2])
data = sys.stdin.buffer.read()
rows = [y for y in range(h) if data[3 * w * y:3 * w * (y + 1)].count(b"\x33\x40\x6a") > 40]
if not rows: sys.exit(1)
top, bottom = rows[0], rows[0]
while bottom + 1 in rows: bottom += 1
line = data[3 * w * top:3 * w * (top + 1)]
print(top, bottom - top + 1, line.find(b"\x33\x40\x6a") // 3)
' "$(client_of "$counter" | cut -d' ' -f3)" "$(client_of "$counter" | cut -d' ' -f4)"
}
# A click on each past day opens that day: its row is the one lit, wherever the window stands.
check_day_clicks() {
  local top height left row now
  read -r top height left < <(lit_row) || fail "the counter shows no chosen day"
  for row in 2 1 3; do
    click_at "$counter" $((left + 6)) $((top + row * (height + 1) + height / 2))
    sleep 0.5
    read -r now _ < <(lit_row) || fail "a click on past day $row left no day chosen"
    [ "$now" -eq $((top + row * (height + 1))) ] ||
      fail "a click on past day $row opened the day $(( (now - top) / (height + 1) )) rows below today instead"
  done
  step "clicked the past days 2, 1 and 3 (the last) in the counter: each click opened the day under the pointer"
}

# Up until a game starts (the game counter moves), then the stop keys.
play_game() {  # machine what
  local presses=0 now
  while :; do
    key Up
    presses=$((presses + 1))
    sleep 0.9
    now=$(snap "$1" "$game_counter")
    [ "$now" != "$before" ] && break
    # A result's presentation (a fanfare, the digital display, an MC's start) can hold the lever for a while: as a
    # player does, press Up again until the game starts; keys that go nowhere never start it.
    [ "$presses" -lt 25 ] || fail "$2: Up did not start a game (the game counter stayed)"
  done
  before=$now
  key Left; sleep 0.35; key Down; sleep 0.35; key Right
  sleep 2
  step "$2: Up (pressed $presses time(s)), then Left, Down, Right; the game counter moved on"
}

# Esc, Enter (yes), Enter (the setting's notice): the title screen comes back as the record of the day.
cash_out() {
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
}

# Start: the machine screen opens with the keyboard.
start_day() {
  click_at "$(title_window)" 460 436
  wait_windows 'プレイ中' 1 || fail "Start did not open the machine screen"
  machine=$(windows 'プレイ中' | head -n 1)
  sleep 0.5
  [ "$(xdotool getwindowfocus)" = "$machine" ] || fail "the machine screen does not have the keyboard"
  check_whole "$machine" machine
  step "clicked Start: the machine screen is up, whole on the screen, and has the keyboard"
}

# A day at the machine: the counter, its past days, games, and one after declining the cash-out.
play_day() {  # games
  start_day
  game_counter="124x22+528+384"
  before=$(snap "$machine" "$game_counter")
  open_counter "$machine"
  check_day_clicks
  local game
  for game in $(seq "$1"); do play_game "$machine" "game $game"; done
  # The pointer over no window: without a window manager, a key goes to the window under it when no window has
  # the keyboard, and the machine's must have it.
  xdotool mousemove --sync 1 $((screen_h - 2))
  key Escape
  wait_windows '^終了しますか？$' 1 || fail "Esc did not ask to cash out"
  sleep 0.3
  key n
  wait_gone '^終了しますか？$' 1 || fail "N did not answer the cash-out question"
  sleep 0.3
  step "Esc, then N (いいえ) to the cash-out question: the day goes on"
  play_game "$machine" "the game after the question"
  cash_out
}

# 1. No window manager: the first start, as before.
start_display 1280x1024
start_game
# First start: while the title screen loads, the notice that the missing data were initialised.
wait_windows '^モフラン$' 1 || fail "the first-start notice did not appear"
sleep 0.3
[ "$(focused_width)" -lt 600 ] || fail "the notice does not have the keyboard"
key Return
wait_title || fail "Enter did not answer the first-start notice, or the title screen did not follow"
step "answered the first start's notice (データが壊れています。) with Enter: the title screen is up"
title=$(title_window)
check_whole "$title" "title screen"

# The name box, typed into, registered with Enter.
click_at "$title" 200 67
xdotool type --delay 40 mofu
key Return
sleep 0.5
step "typed the name 'mofu' in the name box and pressed Enter"
play_day 4
quit_game

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
# Enough for the dealer's dearest T key in the next run.
for f, at in (("/DataFiles", 0), ("/VBDSND1.DLL", 24)):
    b = bytearray(open(folder + f, "rb").read())
    struct.pack_into("<q", b, at, 20000000 * 10000)
    open(folder + f, "wb").write(b)
PYEOF
step "savings set to 20,000,000 yen in both save files for the shop"
stop_display

# 2. Under openbox at the same size: the shop, then a day.
start_display 1280x1024 openbox
start_game
wait_title || fail "the title screen did not come up"
title=$(title_window)
check_whole "$title" "title screen"
step "the title screen is up with the registered player"
click_at "$title" 528 393
wait_windows '^ゴト屋' 1 || fail "ゴト屋 did not open the shop"
shop=$(windows '^ゴト屋' | head -n 1)
sleep 0.5
check_whole "$shop" shop
# The dearest T key (??枚補償, 10,000,000 yen), then 買う and Enter.
click_at "$shop" 420 222
sleep 0.3
click_at "$shop" 616 277
wait_windows '^裏技『Ｔ』ボタン$' 1 || fail "買う did not ask about the T key"
sleep 0.3
key Return
wait_gone '^裏技『Ｔ』ボタン$' 1 || fail "Enter did not answer the T key's question"
sleep 1
# 買わない alone is left in the T key's frame, drawn: its ink where it stands, none where the choices stood.
ink() {
  import -window "$shop" png:- 2>/dev/null |
    convert - -crop "$1" +repage -colorspace gray -threshold 50% -format '%[fx:int(w*h*(1-mean))]' info:
}
[ "$(ink 120x20+374+234)" -gt 20 ] || fail "the T key's frame does not show 買わない after the purchase"
[ "$(ink 290x108+374+124)" -eq 0 ] || fail "the T key's frame still shows bought or cheaper choices"
step "bought the dearest T key: its frame shows 買わない alone at once"
click_at "$shop" 624 438
wait_title || fail "戻る did not lead back to the title screen"
play_day 2
quit_game
stop_display

# 3. Under openbox at the other common sizes: every window whole on the screen, the counter beside the machine.
for size in 1920x1080 1366x768; do
  start_display "$size" openbox
  start_game
  wait_title || fail "the title screen did not come up"
  check_whole "$(title_window)" "title screen"
  start_day
  game_counter="124x22+528+384"
  before=$(snap "$machine" "$game_counter")
  open_counter "$machine"
  check_day_clicks
  play_game "$machine" "a game at $size"
  cash_out
  check_whole "$(title_window)" "title screen"
  quit_game
  stop_display
done
step "passed"
