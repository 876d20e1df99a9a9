#!/usr/bin/env bash
# Starts the real program under Xvfb with openbox, from a temporary folder holding a copy of it
# and a config.ini, and plays the user with xdotool: the window has the right title and client
# size and is centred; the saved credentials are filled in; typing one character into the
# user-name box empties the password box; Esc closes the window and the home page is opened
# (recorded by a stand-in xdg-open). The window state is read from the dump that the program
# writes when QUORVEL_STATE_DUMP is set. A screenshot is kept in the output folder.
#
# Usage: main_window_e2e.sh PROGRAM OUTPUT_DIR
set -euo pipefail

program=$1
out=$2

if [ "${3:-}" != "--inside-display" ]; then
  mkdir -p "$out"
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$program" "$out" --inside-display
fi

fail() {
  echo "FAIL: $*" >&2
  [ -f "$dump" ] && { echo "--- state dump:" >&2; cat "$dump" >&2; }
  exit 1
}

# Runs the condition (a shell command) every 0.1 s until it holds or 15 s have passed.
wait_for() {
  local condition=$1 what=$2
  for _ in $(seq 150); do
    if eval "$condition"; then return 0; fi
    sleep 0.1
  done
  fail "timed out waiting for $what"
}

work=$(mktemp -d)
openbox_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cp "$program" "$work/quorvel-checkin"
printf '[userinfo]\r\nusername=alice\r\npassword=secret\r\n' >"$work/config.ini"
mkdir "$work/bin"
cat >"$work/bin/xdg-open" <<'OPENER'
#!/bin/sh
printf '%s\n' "$1" >>"$(dirname "$0")/../opened"
OPENER
chmod +x "$work/bin/xdg-open"
dump=$work/state.txt

openbox >"$work/openbox.log" 2>&1 &
openbox_pid=$!
wait_for 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' "openbox"

# Started from elsewhere: the program moves to its own folder to find config.ini.
(cd / && PATH="$work/bin:$PATH" QUORVEL_STATE_DUMP="$dump" exec "$work/quorvel-checkin") \
  >"$work/program.log" 2>&1 &
app_pid=$!

wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvel' | head -1)
[ -n "$wid" ] || fail "no window"
title=$(xdotool getwindowname "$wid")
[ "$title" = "Quorvel打卡签到器 BY:Drelmo" ] || fail "title is '$title'"

info=$(xwininfo -id "$wid")
width=$(awk '/^  Width:/ {print $2}' <<<"$info")
height=$(awk '/^  Height:/ {print $2}' <<<"$info")
left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
[ "$width" = 374 ] && [ "$height" = 222 ] || fail "client area is ${width}x${height}"
# Centred on the 1024x768 screen; the frame the window manager adds may shift it a little.
(( left - (1024 - 374) / 2 <= 20 && (1024 - 374) / 2 - left <= 20 )) ||
  fail "not centred horizontally: left $left"
(( top - (768 - 222) / 2 <= 40 && (768 - 222) / 2 - top <= 40 )) ||
  fail "not centred vertically: top $top"

wait_for 'grep -q "^编辑框_用户名 .*text=alice$" "$dump"' "the saved user name"
grep -q '^编辑框_密码 .*password=1 length=6$' "$dump" || fail "saved password not shown masked"
grep -q '^按钮_签到 visible=1 enabled=0' "$dump" || fail "check-in button not disabled"
grep -q '^状态条1 .*text=请登录后签到。$' "$dump" || fail "status text"

# Type one character at the end of the user name.
xdotool windowfocus --sync "$wid"
xdotool mousemove --window "$wid" 190 41 click 1
xdotool key --delay 50 End
xdotool type --delay 50 x
wait_for 'grep -q "^编辑框_用户名 .*text=alicex$" "$dump"' "the typed character"
grep -q '^编辑框_密码 .*password=1 length=0$' "$dump" || fail "password box not emptied"

sleep 0.5
import -window root "$out/main_window.png"
colours=$(identify -format '%k' "$out/main_window.png")
(( colours > 16 )) || fail "screenshot looks blank ($colours colours)"

xdotool windowfocus --sync "$wid"
xdotool key Escape
for _ in $(seq 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "Esc did not close the window"
status=0
wait "$app_pid" || status=$?
app_pid=
[ "$status" = 0 ] || fail "exit status $status"
wait_for '[ -f "$work/opened" ] && grep -qx "http://bbs.quorvel.com" "$work/opened"' \
  "the home page to be opened"
[ "$(wc -l <"$work/opened")" = 1 ] || fail "opened: $(cat "$work/opened")"
echo "e2e main window: ok"
