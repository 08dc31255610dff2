# shellcheck shell=bash
# How the menus look: Quince's root menu beside a real popup menu of the same
# rows (probe --native-menu), in one picture to compare by eye, and the root
# menu at 150 % (LogPixels 144) in a prefix of its own.

# C:\look: a sub-folder and two files, the rows the native menu imitates.
_look_tree() {
  local d=$WINEPREFIX/drive_c/look
  rm -rf "$d"; mkdir -p "$d/alpha/inner"
  : >"$d/alpha/one.txt"; : >"$d/bravo.txt"; : >"$d/charlie.txt"
}

# _look_start -- Quince on C:\look, rows listed; sets LOOK_ROOT, LOOK_LIST
_look_start() {
  _look_tree
  _nav_open 'C:\look\*' || return
  LOOK_ROOT=$NAV_ROOT
  LOOK_LIST=$(_nav_list "$LOOK_ROOT")
}

# _look_row_height -- height of Quince's first row (probe --items)
_look_row_height() { grep -E "^item list=$LOOK_LIST " "$NAV_STATE" | head -1 | field h; }

# start_native_menu X Y -- probe's popup menu at X,Y; NATIVE_PID, NATIVE_OUT
start_native_menu() {
  NATIVE_OUT=$E2E_DIR/native-menu.txt; : >"$NATIVE_OUT"
  wine "$E2E_PROBE" --native-menu "$1" "$2" >"$NATIVE_OUT" 2>>"$E2E_DIR/probe.err" &
  NATIVE_PID=$!
  wait_until 10 grep -q '^nativeitem index=3 ' "$NATIVE_OUT"
}
stop_native_menu() {
  [ -n "${NATIVE_PID:-}" ] || return 0
  kill "$NATIVE_PID" 2>/dev/null; wait "$NATIVE_PID" 2>/dev/null; NATIVE_PID=
}
_native_item() { tr -d '\r' <"$NATIVE_OUT" | grep -E "^nativeitem .*text=\"$1\"" | head -1; }

scenario look_native_beside_quince
scenario_look_native_beside_quince() {
  _look_start || return
  local win qx qy qw qh nx ny row cx cy nrow nh qh1
  win=$(grep -E "^window hwnd=$LOOK_ROOT " "$NAV_STATE")
  qx=$(field x <<<"$win") qy=$(field y <<<"$win") qw=$(field w <<<"$win") qh=$(field h <<<"$win")
  # One row selected in each: bravo.txt under the pointer in Quince first.
  row=$(_nav_item "$LOOK_LIST" bravo.txt); read -r cx cy <<<"$(_nav_centre "$row")"
  mouse_to "$cx" "$cy"
  wait_until 3 _nav_selected_is "$LOOK_ROOT" bravo.txt || { fail "the pointer did not select bravo.txt"; return; }
  nx=$((qx + qw + 40)) ny=$qy
  start_native_menu "$nx" "$ny" || { stop_native_menu; fail "the native menu did not show"; return; }
  nrow=$(_native_item bravo.txt); read -r cx cy <<<"$(_nav_centre "$nrow")"
  mouse_to "$cx" "$cy"
  screenshot_settled native-vs-quince "$((qx - 20))" "$((qy - 20))" 520 $((qh + 80))
  _nav_state
  qh1=$(_look_row_height) nh=$(field h <<<"$nrow")
  finding "rows: Quince ${qh1} px, native ${nh} px; Quince window ${qw}x$qh, native $(grep '^nativemenu ' "$NATIVE_OUT" | tr -d '\r' | field w)x$(grep '^nativemenu ' "$NATIVE_OUT" | tr -d '\r' | field h); Quince keeps bravo.txt selected: $( [ "$(_nav_selected "$LOOK_LIST")" = bravo.txt ] && echo yes || echo no)"
  stop_native_menu
  click_at "$BASE_X" "$BASE_Y"
  expect_exit_0 "click on the base window"
}

# _look_prefix_144 -- a prefix of its own (a copy of the template) with
# LogPixels 144 and a warm wineserver, so the other scenarios keep 96 DPI.
_look_prefix_144() {
  LOOK_MAIN_PREFIX=$WINEPREFIX
  quince_prefix "$E2E_PREFIX-144" || return 1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >"$E2E_DIR/reg.log" 2>&1 || return 1
  wineserver -p
  wine cmd /c exit 0 >>"$E2E_DIR/reg.log" 2>&1
}
_look_prefix_back() {
  [ -n "${LOOK_MAIN_PREFIX:-}" ] || return 0
  stop_native_menu; stop_app
  wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
  rm -rf "$E2E_PREFIX-144"
  export WINEPREFIX=$LOOK_MAIN_PREFIX; LOOK_MAIN_PREFIX=
}

# _look_input_dialog NAME -- the rename command's input dialog on its own
# (input_dialog.exe), pictured as NAME.png and cancelled with Escape; sets
# LOOK_DIALOG to its "W H"
_look_input_dialog() {
  local out line pid
  wine "${E2E_PROBE%/*}/input_dialog.exe" >"$E2E_DIR/$1.out" 2>>"$E2E_DIR/probe.err" &
  pid=$!
  out=$(probe --wait '#32770' --timeout 10000) || { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; return 1; }
  line=$(msgbox_line <<<"$out")
  LOOK_DIALOG="$(field w <<<"$line") $(field h <<<"$line")"
  screenshot_settled "$1" "$(field x <<<"$line")" "$(field y <<<"$line")" $LOOK_DIALOG
  xdotool key Escape
  wait_until 5 eval "! kill -0 $pid 2>/dev/null" || kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  return 0
}

# _look_new_override -- an override-redirect window of the program that was not
# there before (LOOK_BEFORE): the shell's context menu; sets LOOK_MENU
_look_new_override() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
    grep -qx "$w" <<<"$LOOK_BEFORE" && continue
    xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' && { LOOK_MENU=$w; return 0; }
  done
  return 1
}

scenario look_144_dpi
scenario_look_144_dpi() {
  _look_start || return
  local h96 w96
  h96=$(_look_row_height) w96=$(grep -E "^window hwnd=$LOOK_ROOT " "$NAV_STATE" | field w)
  click_at "$BASE_X" "$BASE_Y"
  expect_exit_0 "click on the base window" || return
  _look_input_dialog input-dialog-96 || { fail "the input dialog did not show at 96 DPI"; return; }
  LOOK_DIALOG_96=$LOOK_DIALOG
  _look_prefix_144 || { _look_prefix_back; fail "could not prepare a prefix at 144 DPI"; return; }
  _look_144 "$h96" "$w96"; local status=$?
  _look_prefix_back
  return $status
}
_look_144() {
  local h96=$1 w96=$2 h144 win qx qy qw qh row cx cy
  _look_start || return
  h144=$(_look_row_height)
  win=$(grep -E "^window hwnd=$LOOK_ROOT " "$NAV_STATE")
  qx=$(field x <<<"$win") qy=$(field y <<<"$win") qw=$(field w <<<"$win") qh=$(field h <<<"$win")
  row=$(_nav_item "$LOOK_LIST" bravo.txt); read -r cx cy <<<"$(_nav_centre "$row")"
  mouse_to "$cx" "$cy"
  wait_until 3 _nav_selected_is "$LOOK_ROOT" bravo.txt || { fail "the pointer did not select bravo.txt"; return; }
  # At 150 % the rows grow by about half (font and icons scale).
  (( h144 * 100 >= h96 * 130 )) || { fail "row height $h144 px at 144 DPI, $h96 px at 96"; return; }
  screenshot_settled quince-144 "$((qx - 20))" "$((qy - 20))" "$((qw + 40))" $((qh + 40))
  start_native_menu "$((qx + qw + 40))" "$qy" || { fail "the native menu did not show at 144 DPI"; return; }
  local n; n=$(tr -d '\r' <"$NATIVE_OUT" | grep '^nativemenu ')
  [ "$(field logpixels <<<"$n")" = 144 ] || { fail "the prefix reports LogPixels $(field logpixels <<<"$n")"; return; }
  screenshot_settled native-vs-quince-144 "$((qx - 20))" "$((qy - 20))" 760 $((qh + 120))
  finding "144 DPI: Quince rows $h144 px (96 DPI: $h96), window ${qw}x$qh (96 DPI width $w96); native rows $(_native_item bravo.txt | field h) px, menu font height $(field fontheight <<<"$n")"
  stop_native_menu
  # The shell's context menu of a file at 150 %: the rename dialog cannot be
  # reached from it under Wine (its file menu has no rename item).
  LOOK_BEFORE=$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | sort) LOOK_MENU=''
  mouse_to "$cx" "$cy"
  wait_until 3 _nav_selected_is "$LOOK_ROOT" bravo.txt || { fail "the pointer left bravo.txt"; return; }
  xdotool click 3
  wait_until 5 _look_new_override || { fail "no context menu after the right click at 144 DPI"; return; }
  screenshot_settled context-menu-144
  note "context menu $(x_geometry "$LOOK_MENU")"
  key Escape
  expect_exit_0 "Escape on the context menu" || return
  # The input dialog grows with its font (its texts are in the message font
  # for its DPI). Shown once Quince has ended: it would be another program.
  _look_input_dialog input-dialog-144 || { fail "the input dialog did not show at 144 DPI"; return; }
  local dw96 dw144; dw96=${LOOK_DIALOG_96% *} dw144=${LOOK_DIALOG% *}
  (( dw144 * 100 >= dw96 * 130 )) || { fail "input dialog $LOOK_DIALOG at 144 DPI, $LOOK_DIALOG_96 at 96"; return; }
  finding "input dialog: $LOOK_DIALOG_96 at 96 DPI, $LOOK_DIALOG at 144 DPI"
}
