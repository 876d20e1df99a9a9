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
source "$(dirname "$0")/e2e_lib.sh"
e2e_enter_display "$@"
e2e_init

e2e_prepare_program "$program"
printf '[userinfo]\r\nusername=alice\r\npassword=secret\r\n' >"$work/config.ini"
e2e_start_openbox
e2e_start_program
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

wait_for 'state_has "^编辑框_用户名 .*text=alice$"' "the saved user name"
grep -q '^编辑框_密码 .*password=1 length=6$' "$dump" || fail "saved password not shown masked"
grep -q '^按钮_签到 visible=1 enabled=0' "$dump" || fail "check-in button not disabled"
grep -q '^状态条1 .*text=请登录后签到。$' "$dump" || fail "status text"

# Type one character at the end of the user name.
xdotool windowfocus --sync "$wid"
xdotool mousemove --window "$wid" 190 41 click 1
xdotool key --delay 50 End
xdotool type --delay 50 x
wait_for 'state_has "^编辑框_用户名 .*text=alicex$"' "the typed character"
grep -q '^编辑框_密码 .*password=1 length=0$' "$dump" || fail "password box not emptied"

e2e_screenshot "$out/main_window.png"
e2e_close_with_esc
wait_for '[ -f "$work/opened" ] && grep -qx "http://bbs.quorvel.com" "$work/opened"' \
  "the home page to be opened"
[ "$(wc -l <"$work/opened")" = 1 ] || fail "opened: $(cat "$work/opened")"
echo "e2e main window: ok"
