# shellcheck shell=bash
# Dragging an entry out of the menu: onto a drop target in another process
# (drop_target.exe, which reports the CF_HDROP it gets), cancelled with
# Escape or dropped on nothing (the menu stays), and a press that moves less
# than the drag threshold, which is still a click.

E2E_DROP=${E2E_DROP:-$E2E_ROOT/build/windows/tests/e2e/probe/drop_target.exe}
DROP_X=1100 DROP_Y=300 DROP_W=500 DROP_H=300

# _drop_start -- drop_target.exe at DROP_*, in the background; waits for it
_drop_start() {
  [ -f "$E2E_DROP" ] || { fail "missing $E2E_DROP"; return; }
  DROP_OUT=$E2E_DIR/drop-target.out
  wine "$E2E_DROP" "$DROP_X" "$DROP_Y" "$DROP_W" "$DROP_H" 60000 >"$DROP_OUT" 2>"$E2E_DIR/drop-target.err" &
  DROP_PID=$!
  wait_until 10 grep -q '^ready ' "$DROP_OUT" || { fail "drop_target.exe did not come up"; return; }
}
# _drop_stop -- after a drop the target ends by itself (3 s later): wait for
# that; only a target that got no drop is killed.
_drop_stop() {
  [ -n "${DROP_PID:-}" ] || return 0
  if grep -q '^drop ' "$DROP_OUT" 2>/dev/null; then
    wait_until 10 _drop_ended || e2e_log "drop_target.exe still running 10 s after the drop"
  fi
  kill "$DROP_PID" 2>/dev/null; wait "$DROP_PID" 2>/dev/null
  DROP_PID=
}
_drop_ended() { ! kill -0 "$DROP_PID" 2>/dev/null; }

# _drag_press ROW -- left button down on the row of C:\nav called ROW, then a
# move past the drag threshold (4 px under Wine); sets DRAG_X, DRAG_Y
_drag_press() {
  local cx cy
  read -r cx cy <<<"$(_nav_centre "$(_nav_item "$(_nav_list "$NAV_ROOT")" "$1")")"
  mouse_to "$cx" "$cy"
  wait_until 3 _nav_selected_is "$NAV_ROOT" "$1" || { fail "the pointer did not select $1"; return; }
  xdotool mousedown 1
  sleep 0.1
  DRAG_X=$((cx + 10)) DRAG_Y=$cy
  xdotool mousemove "$DRAG_X" "$DRAG_Y"
}
# _drag_to X Y -- the pointer on its way there in steps of growing length, as
# a hand moves it (the drag loop follows motion events)
_drag_to() {
  local step=8 x=$DRAG_X y=$DRAG_Y
  while (( x != $1 || y != $2 )); do
    if (( $1 - x > step )); then x=$((x + step)); elif (( x - $1 > step )); then x=$((x - step)); else x=$1; fi
    if (( $2 - y > step )); then y=$((y + step)); elif (( y - $2 > step )); then y=$((y - step)); else y=$2; fi
    xdotool mousemove "$x" "$y"; sleep 0.03
    step=$((step * 3 / 2))
  done
  DRAG_X=$x DRAG_Y=$y
}

scenario drag_to_other_process
scenario_drag_to_other_process() {
  _nav_tree
  _drop_start || return
  _drag_to_other_process; local status=$?
  _drop_stop
  return $status
}
_drag_to_other_process() {
  _nav_open 'C:\nav\*' || return
  _drag_press bravo.txt || return
  _drag_to $((DROP_X + DROP_W / 2)) $((DROP_Y + DROP_H / 2))
  wait_until 5 grep -q '^enter ' "$DROP_OUT" || { fail "the drag never entered the target"; xdotool mouseup 1; return; }
  grep -q '^enter allowed=0x7 .*hdrop=1' "$DROP_OUT" ||
    { fail "target saw '$(grep -m1 '^enter' "$DROP_OUT")', expected copy+move+link with CF_HDROP"; xdotool mouseup 1; return; }
  # The menu is still up while the drag runs.
  _nav_state; [ "$(_nav_menus)" = 1 ] || { fail "the menu went away during the drag"; xdotool mouseup 1; return; }
  screenshot drag-over-target
  xdotool mouseup 1
  wait_until 5 grep -q '^drop ' "$DROP_OUT" || { fail "no drop reached the target"; return; }
  local drop; drop=$(grep -m1 '^drop ' "$DROP_OUT")
  [[ $drop == *'file="C:\nav\bravo.txt"'* ]] || { fail "target received '$drop'"; return; }
  note "target got ${drop#drop }"
  expect_exit_0 "the drop" || return
  screenshot_settled drop-received "$DROP_X" "$DROP_Y" "$DROP_W" "$DROP_H"
}

scenario drag_cancelled
scenario_drag_cancelled() {
  _nav_start 'C:\nav\*' || return
  # Escape during the drag: nothing is dropped, the menu stays as it was,
  # and the release that follows is no click on a row.
  _drag_press charlie.txt || return
  _drag_to 700 500
  sleep 0.3
  key Escape
  _drag_to 700 520
  screenshot drag-cancelled-escape
  xdotool mouseup 1
  sleep 0.5
  app_running || { fail "Escape during the drag ended the run (exit $(cat "$E2E_DIR/app.rc"))"; return; }
  _nav_state; [ "$(_nav_menus)" = 1 ] || { fail "Escape during the drag closed the menu"; return; }
  note "Escape: the menu stays"
  # Released over nothing (the empty screen): cancelled, the menu stays.
  _drag_press delta.txt || return
  _drag_to 700 600
  xdotool mouseup 1
  sleep 0.5
  app_running || { fail "a drop on nothing ended the run"; return; }
  _nav_state; [ "$(_nav_menus)" = 1 ] || { fail "a drop on nothing closed the menu"; return; }
  if [ ! -e "$WINEPREFIX/drive_c/nav/charlie.txt" ] || [ ! -e "$WINEPREFIX/drive_c/nav/delta.txt" ]; then
    fail "a cancelled drag moved a file"; return
  fi
  note "drop on nothing: the menu stays"
  screenshot_settled drag-cancelled
  click_at "$BASE_X" "$BASE_Y"
  expect_exit_0 "click on the base window"
}

# A press and release that moves less than the threshold is a click: "open"
# runs (a batch file that writes a marker).
scenario drag_small_move_is_click
scenario_drag_small_move_is_click() {
  _nav_tree
  local d=$WINEPREFIX/drive_c/nav cx cy
  printf '@echo off\r\necho ran> C:\\nav\\marker.tmp\r\nmove /y C:\\nav\\marker.tmp C:\\nav\\marker.txt >nul\r\n' >"$d/run.cmd"
  _nav_open 'C:\nav\*' || return
  read -r cx cy <<<"$(_nav_centre "$(_nav_item "$(_nav_list "$NAV_ROOT")" run.cmd)")"
  mouse_to "$cx" "$cy"
  wait_until 3 _nav_selected_is "$NAV_ROOT" run.cmd || { fail "the pointer did not select run.cmd"; return; }
  xdotool mousedown 1; sleep 0.1
  xdotool mousemove $((cx + 3)) $((cy + 2)); sleep 0.1
  xdotool mouseup 1
  wait_until 10 test -s "$d/marker.txt" || { fail "run.cmd did not run after a 3 px move"; return; }
  note "a 3 px move is still a click: run.cmd ran"
  expect_exit_0 "the click"
}
