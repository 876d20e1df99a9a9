#!/usr/bin/env bash
# Logs in and checks in through the real window against the demo forum, under Xvfb with
# openbox, played with xdotool. The program runs from a temporary folder holding a copy of it
# (config.ini and SkinH_EL.dll are written beside it), started with --forum pointing at the demo
# forum and a recording xdg-open first in PATH.
#
# Three rounds: demo/demo123 logs in and checks in (the forum's log has the punch with the
# session cookie of that user, config.ini holds the credentials, 标签1 appears and opens the
# user page); the same user again the same day is told "您已经打卡，明天再来吧。"; the Chinese
# user 测试用户 typed with xdotool logs in and checks in (its name goes to the forum and to
# config.ini in GBK). Esc then closes the window and the home page is opened. The window state
# is read from the dump the program writes when QUORVEL_STATE_DUMP is set; message boxes are
# found by their title and closed with Return. A screenshot after the first check-in is kept in
# the output folder.
#
# Usage: forum_check_in_e2e.sh PROGRAM DEMO_FORUM OUTPUT_DIR
set -euo pipefail
export LC_ALL=C.UTF-8

program=$1
demo_forum=$2
out=$3
source "$(dirname "$0")/e2e_lib.sh"
e2e_enter_display "$@"
e2e_init
forum_log=$work/forum.log

# The demo forum on a free port; its first line of output names the port.
"$demo_forum" --port 0 --log "$forum_log" >"$work/forum.out" 2>&1 &
extra_pids+=($!)
wait_for 'grep -q "^port [0-9]" "$work/forum.out"' "the demo forum's port"
port=$(awk '/^port / {print $2; exit}' "$work/forum.out")
forum=http://127.0.0.1:$port

e2e_prepare_program "$program"
e2e_start_openbox
e2e_start_program --forum "$forum"
wait_for 'state_has "^状态条1 .*text=请登录后签到。$"' "the window's first state"
[ -f "$work/SkinH_EL.dll" ] || fail "SkinH_EL.dll not written beside the program"

# Client coordinates of the controls' centres.
user_box=(145 41)
password_box=(145 83)
login_button=(95 136)
check_in_button=(170 136)
link_label=(286 158)

click() {
  xdotool windowfocus --sync "$wid"
  xdotool mousemove --window "$wid" "$1" "$2" click 1
}

# Replaces the text of the edit box at (x, y) with the typed text.
type_into() {
  click "$1" "$2"
  xdotool key --clearmodifiers ctrl+a
  xdotool type --clearmodifiers --delay 30 "$3"
}

# Waits for the message box, closes it with Return and waits until it has gone.
close_message_box() {
  local box
  box=$(timeout 15 xdotool search --sync --onlyvisible --name '^提示信息$' | head -1) || true
  [ -n "$box" ] || fail "no message box after $1"
  xdotool windowfocus --sync "$box"
  xdotool key Return
  wait_for '! xdotool search --onlyvisible --name "^提示信息$" >/dev/null 2>&1' \
    "the message box after $1 to close"
}

# Binds each character of the text to a spare key code of the current keymap. Without this
# xdotool binds a scratch key code for every character that is not on the keyboard and unbinds
# it right after the key press; the program may fetch the keymap after the unbinding and then
# drops the character.
bind_characters() {
  local text=$1 map=$work/keymap.xkb
  xkbcomp -xkb "$DISPLAY" "$map" 2>/dev/null
  local spare
  # Key names the keymap defines but gives no symbols.
  mapfile -t spare < <(awk '
    function name() { match($0, /<[A-Z0-9]+>/); return substr($0, RSTART, RLENGTH) }
    /^xkb_keycodes/ { section = "codes" }
    /^xkb_symbols/ { section = "symbols" }
    section == "codes" && /^ *<[A-Z0-9]+> *= *[0-9]+;/ { code[name()] = 1 }
    section == "symbols" && /^ *key +</ { delete code[name()] }
    END { for (key in code) print key }' "$map")
  local keys="" i
  for ((i = 0; i < ${#text}; i++)); do
    [ "$i" -lt "${#spare[@]}" ] || fail "not enough spare key codes"
    keys+="    key ${spare[i]} { [ $(printf 'U%04X' "'${text:i:1}") ] };"$'\n'
  done
  awk -v keys="$keys" '
    /^xkb_symbols/ { inside = 1 }
    inside && /^};/ { printf "%s", keys; inside = 0 }
    1' "$map" >"$map.new"
  xkbcomp -w 0 "$map.new" "$DISPLAY" 2>/dev/null || fail "cannot load the keymap"
}

# Types the credentials, presses 登陆 and closes the message box; the login must succeed.
log_in() {
  local user=$1 password=$2
  type_into "${user_box[@]}" "$user"
  wait_for 'state_has "^编辑框_用户名 .*text=${user}$"' "the user name $user"
  type_into "${password_box[@]}" "$password"
  wait_for 'state_has "^编辑框_密码 .*password=1 length=${#password}$"' "the password"
  wait_for 'state_has "^按钮_登陆 visible=1 enabled=1"' "登陆 to be enabled"
  click "${login_button[@]}"
  close_message_box "登陆 ($user)"
  wait_for 'state_has "^状态条1 .*text=登录成功请打卡签到。$"' "the login of $user"
  state_has '^按钮_签到 visible=1 enabled=1' || fail "打卡签到 not enabled after the login"
  state_has '^按钮_登陆 visible=1 enabled=0' || fail "登陆 still enabled after the login"
}

# Presses 打卡签到, closes the message box and waits for the status text.
check_in() {
  local status_text=$1
  click "${check_in_button[@]}"
  close_message_box "打卡签到"
  wait_for 'state_has "^状态条1 .*text=${status_text}$"' "the status text \"$status_text\""
}

# The entries of the forum's log for requests whose first line matches the pattern.
log_entries() {
  awk -v pattern="$1" '/^--- / {keep = ($0 ~ pattern)} keep' "$forum_log"
}

# --- Round 1: demo logs in and checks in.
log_in demo demo123
check_in "签到成功，您可签到其他账号。"
state_has '^标签1 visible=1' || fail "标签1 not shown after the check-in"
state_has '^按钮_签到 visible=1 enabled=0' || fail "打卡签到 still enabled after the check-in"

e2e_screenshot "$out/forum_check_in.png"

printf '[userinfo]\r\nusername=demo\r\npassword=demo123\r\n' >"$work/expected.ini"
cmp -s "$work/config.ini" "$work/expected.ini" ||
  fail "config.ini: $(od -c "$work/config.ini" | head -5)"
mode=$(stat -c %a "$work/config.ini")
[ "$mode" = 600 ] || fail "config.ini has mode $mode"

log_entries '^--- POST /login\.php ' | grep -q '^body: .*&pwuser=demo&.*&pwpwd=demo123&' ||
  fail "the login form of demo is not in the forum's log"
punch=$(log_entries '^--- POST /jobcenter\.php\?action=punch&')
[ -n "$punch" ] || fail "no punch in the forum's log"
session=$(sed -n 's/^Cookie: .*qv_sid=\([0-9a-f]\{32\}\).*/\1/p' <<<"$punch" | head -1)
[ -n "$session" ] || fail "the punch carries no session cookie: $punch"
grep -q '^body: step=2$' <<<"$punch" || fail "punch body: $punch"
# The session the punch carried belongs to demo, who now has the day's five coins.
page=$(curl -fsS -b "qv_sid=$session" "$forum/u.php" | iconv -f GBK -t UTF-8)
grep -q 'demo 的个人空间' <<<"$page" && grep -q '金币：5<' <<<"$page" ||
  fail "user page of the punch's session: $page"

click "${link_label[@]}"
wait_for '[ -f "$work/opened" ] && grep -qx "$forum/u.php" "$work/opened"' \
  "标签1 to open the user page"

# --- Round 2: the same user again the same day.
log_in demo demo123
check_in "您已经打卡，明天再来吧。"
state_has '^标签1 visible=0' || fail "标签1 shown after a check-in that was already made"

# --- Round 3: a Chinese user name, typed as Unicode text.
bind_characters 测试用户
log_in 测试用户 ceshi123
check_in "签到成功，您可签到其他账号。"
# 测试用户 in GBK, as the program sends and saves it.
gbk_user=$(printf '测试用户' | iconv -f UTF-8 -t GBK)
printf '[userinfo]\r\nusername=%s\r\npassword=ceshi123\r\n' "$gbk_user" >"$work/expected.ini"
cmp -s "$work/config.ini" "$work/expected.ini" ||
  fail "config.ini: $(od -c "$work/config.ini" | head -5)"
log_entries '^--- POST /login\.php ' |
  grep -qiF 'pwuser=\xB2\xE2\xCA\xD4\xD3\xC3\xBB\xA7&' ||
  fail "the login form of 测试用户 is not in the forum's log in GBK"

# --- Esc closes the window; the home page is opened last.
e2e_close_with_esc
wait_for '[ "$(tail -1 "$work/opened")" = "$forum" ]' "the home page to be opened"
printf '%s\n' "$forum/u.php" "$forum" | cmp -s - "$work/opened" ||
  fail "opened: $(cat "$work/opened")"
echo "e2e forum check-in: ok"
