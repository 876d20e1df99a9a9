# Shared pieces of the end-to-end scripts: the virtual display, the temporary folder with a copy
# of the program and a recording xdg-open, openbox, the program's start and end, screenshots.
# Source it after `set -euo pipefail`; the caller sets `out` (the output folder), then calls
# e2e_enter_display "$@" and e2e_init.

# Re-runs the calling script inside a fresh virtual display, unless it runs in one already
# (its last argument is then --inside-display). A display number from a random start: two runs
# of xvfb-run -a that start together may otherwise both take the first free number.
e2e_enter_display() {
  if [ "${!#}" != "--inside-display" ]; then
    mkdir -p "$out"
    exec xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1024x768x24" \
      bash "$0" "$@" --inside-display
  fi
}

# Inside the display: the work folder, removed at the end with every process the test started
# (those whose ids are in app_pid, openbox_pid and extra_pids).
e2e_init() {
  work=$(mktemp -d)
  dump=$work/state.txt
  openbox_pid=
  app_pid=
  extra_pids=()
  trap e2e_cleanup EXIT
}

e2e_cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null || true
  local pid
  for pid in "${extra_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}

# Ends the test with a message and whatever the run left behind to explain it.
fail() {
  echo "FAIL: $*" >&2
  [ -f "$dump" ] && { echo "--- state dump:" >&2; cat "$dump" >&2; }
  local log
  for log in "$work"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log"):" >&2; cat "$log" >&2; }
  done
  exit 1
}

# Runs the condition (a shell command) every 0.05 s until it holds or 15 s have passed.
wait_for() {
  local condition=$1 what=$2
  for _ in $(seq 300); do
    if eval "$condition"; then return 0; fi
    sleep 0.05
  done
  fail "timed out waiting for $what"
}

# True when the window's state dump has a line matching the extended regular expression.
state_has() { grep -Eq "$1" "$dump" 2>/dev/null; }

# Copies the program into the work folder (it keeps config.ini and SkinH_EL.dll beside
# itself) and puts an xdg-open there that records the addresses in $work/opened.
e2e_prepare_program() {
  cp "$1" "$work/quorvel-checkin"
  mkdir "$work/bin"
  cat >"$work/bin/xdg-open" <<'OPENER'
#!/bin/sh
printf '%s\n' "$1" >>"$(dirname "$0")/../opened"
OPENER
  chmod +x "$work/bin/xdg-open"
}

e2e_start_openbox() {
  openbox >"$work/openbox.log" 2>&1 &
  openbox_pid=$!
  wait_for 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' "openbox"
}

# Starts the copied program from another folder (it moves to its own to find config.ini), with
# the recording xdg-open first in PATH and the state dump on, and sets wid to its window.
e2e_start_program() {
  (cd / && PATH="$work/bin:$PATH" QUORVEL_STATE_DUMP="$dump" \
    exec "$work/quorvel-checkin" "$@") >"$work/program.log" 2>&1 &
  app_pid=$!
  wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvel' | head -1) || true
  [ -n "$wid" ] || fail "no window"
}

# Saves the screen to the file and fails when it looks blank.
e2e_screenshot() {
  sleep 0.3  # let the window finish drawing
  import -window root "$1"
  local colours
  colours=$(identify -format '%k' "$1")
  ((colours > 16)) || fail "screenshot looks blank ($colours colours)"
}

# Presses Esc in the window and waits for the program to end with status 0.
e2e_close_with_esc() {
  xdotool windowfocus --sync "$wid"
  xdotool key Escape
  wait_for '! kill -0 "$app_pid" 2>/dev/null' "Esc to close the window"
  local status=0
  wait "$app_pid" || status=$?
  app_pid=
  [ "$status" = 0 ] || fail "exit status $status"
}
