# shellcheck shell=bash
# Walking the menus as a user does: resting on a folder row opens its window
# beside the row, keys walk rows and windows, a held scroll button scrolls,
# and a right click shows the shell's context menu.

# Folders inside the prefix, made from bash (C:\nav and C:\navlong).
_nav_tree() {
  local d=$WINEPREFIX/drive_c/nav i
  rm -rf "$d" "$WINEPREFIX/drive_c/navlong"
  mkdir -p "$d/alpha/inner" "$d/beta" "$WINEPREFIX/drive_c/navlong"
  : >"$d/alpha/one.txt"; : >"$d/alpha/two.txt"; : >"$d/alpha/inner/deep.txt"; : >"$d/beta/b1.txt"
  : >"$d/bravo.txt"; : >"$d/charlie.txt"; : >"$d/delta.txt"
  # More rows than the screen holds: the window shows its scroll buttons.
  for i in $(seq -w 0 119); do : >"$WINEPREFIX/drive_c/navlong/f$i.txt"; done
}

# _nav_start PATH -- C:\nav made afresh, then _nav_open PATH
_nav_start() {
  _nav_tree
  _nav_open "$1"
}
# _nav_open PATH -- start on PATH, wait for the root menu and its rows; sets
# NAV_ROOT (hwnd)
_nav_open() {
  start_quince "$1" || return
  local out
  out=$(probe --wait TFolderForm --timeout 15000) || { fail "no visible TFolderForm within 15 s"; return; }
  NAV_ROOT=$(window_line TFolderForm <<<"$out" | field hwnd)
  # Rows are filled in after the window shows.
  wait_until 5 _nav_rows_listed || { fail "the root menu lists no rows"; return; }
}
_nav_rows_listed() { _nav_state; grep -q "^item list=$(_nav_list "$NAV_ROOT") " "$NAV_STATE"; }

# _nav_state -- probe with rows into $NAV_STATE
_nav_state() { NAV_STATE=$E2E_DIR/state.txt; probe --items >"$NAV_STATE"; }
_nav_menus() { grep -cE '^window .*class=TFolderForm .*visible=1' "$NAV_STATE"; }
# _nav_child -- hwnd of the visible menu window that is not the root
_nav_child() { grep -E '^window .*class=TFolderForm .*visible=1' "$NAV_STATE" | grep -v "hwnd=$NAV_ROOT " | field hwnd | head -1; }
_nav_list() { grep -iE "^child parent=$1 .*class=listbox " "$NAV_STATE" | field hwnd | head -1; }
# _nav_item LIST TEXT -- the row line of LIST whose text is TEXT
_nav_item() { grep -E "^item list=$1 " "$NAV_STATE" | grep -F "text=\"$2\"" | head -1; }
_nav_selected() { grep -E "^item list=$1 .*selected=1 " "$NAV_STATE" | field text; }
_nav_selected_index() { grep -E "^item list=$1 .*selected=1 " "$NAV_STATE" | field index; }
_nav_menus_are() { _nav_state; [ "$(_nav_menus)" = "$1" ]; }
_nav_selected_is() { _nav_state; [ "$(_nav_selected "$(_nav_list "$1")")" = "$2" ]; }
_nav_centre() { local l=$1; echo $(( $(field x <<<"$l") + $(field w <<<"$l") / 2 )) $(( $(field y <<<"$l") + $(field h <<<"$l") / 2 )); }

scenario nav_hover_opens_child
scenario_nav_hover_opens_child() {
  _nav_start 'C:\nav\*' || return
  local list row cx cy t0 ms child clist cline lline
  list=$(_nav_list "$NAV_ROOT")
  row=$(_nav_item "$list" alpha); [ -n "$row" ] || { fail "no row alpha"; return; }
  read -r cx cy <<<"$(_nav_centre "$row")"
  t0=$(now)
  mouse_to "$cx" "$cy"
  wait_until 5 _nav_menus_are 2 || { fail "resting on alpha opened no window"; return; }
  ms=$(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN{printf "%d", (b-a)*1000}')
  # The menu show delay (400 ms) passes before anything opens.
  (( ms >= 350 )) || { fail "the child opened after $ms ms, before the menu show delay"; return; }
  child=$(_nav_child); clist=$(_nav_list "$child")
  cline=$(grep -E "^window hwnd=$child " "$NAV_STATE"); lline=$(grep -iE "^child parent=$NAV_ROOT .*hwnd=$list " "$NAV_STATE")
  # Left edge on the parent list's right edge; client area (its list) level with the row.
  [ "$(field x <<<"$cline")" = $(( $(field x <<<"$lline") + $(field w <<<"$lline") )) ] ||
    { fail "child left $(field x <<<"$cline"), parent list right $(( $(field x <<<"$lline") + $(field w <<<"$lline") ))"; return; }
  [ "$(grep -iE "^child parent=$child .*class=listbox " "$NAV_STATE" | field y)" = "$(field y <<<"$row")" ] ||
    { fail "child list top $(grep -iE "^child parent=$child .*class=listbox " "$NAV_STATE" | field y), row top $(field y <<<"$row")"; return; }
  local geo; geo="$(field x <<<"$cline") $(field y <<<"$cline") $(field w <<<"$cline") $(field h <<<"$cline")"
  wait_until 3 x_window_with_geometry "$geo" || { fail "no X window at $geo"; return; }
  [ -n "$(_nav_item "$clist" one.txt)" ] || { fail "the child does not list alpha's items"; return; }
  screenshot_settled cascade
  note "child after $ms ms at $geo"
  # Resting on a file row closes it again.
  read -r cx cy <<<"$(_nav_centre "$(_nav_item "$list" bravo.txt)")"
  mouse_to "$cx" "$cy"
  wait_until 5 _nav_menus_are 1 || { fail "resting on bravo.txt left the child open"; return; }
  click_at "$BASE_X" "$BASE_Y"
  expect_exit_0 "click on the base window"
}

scenario nav_keys
scenario_nav_keys() {
  _nav_start 'C:\nav\*' || return
  local list first child clist
  list=$(_nav_list "$NAV_ROOT")
  key Down; wait_until 3 eval '_nav_state; [ -n "$(_nav_selected_index "$list")" ]' ||
    { fail "Down selected no row (keys do not reach the menu)"; return; }
  first=$(_nav_selected_index "$list")
  key Down; wait_until 3 eval '_nav_state; [ "$(_nav_selected_index "$list")" = $((first + 1)) ]' ||
    { fail "second Down: row $(_nav_selected_index "$list"), expected $((first + 1))"; return; }
  key Up; wait_until 3 eval '_nav_state; [ "$(_nav_selected_index "$list")" = "$first" ]' ||
    { fail "Up: row $(_nav_selected_index "$list"), expected $first"; return; }
  # Longer than the menu show delay: Up and Down open nothing.
  holds_for 0.8 _nav_menus_are 1 || { fail "Up/Down opened a window"; return; }
  note "Down/Up move the selection, open nothing"
  key c; wait_until 3 _nav_selected_is "$NAV_ROOT" charlie.txt || { fail "c selected '$(_nav_selected "$list")'"; return; }
  key a; wait_until 3 _nav_selected_is "$NAV_ROOT" alpha || { fail "a selected '$(_nav_selected "$list")'"; return; }
  note "letters select charlie.txt, alpha"
  key Right; wait_until 5 _nav_menus_are 2 || { fail "Right on alpha opened no window"; return; }
  child=$(_nav_child); clist=$(_nav_list "$child")
  [ "$(_nav_selected_index "$clist")" = 0 ] || { fail "child selection '$(_nav_selected_index "$clist")', expected row 0"; return; }
  screenshot right-opened
  key Left; wait_until 5 _nav_menus_are 1 || { fail "Left left the child open"; return; }
  key Right; wait_until 5 _nav_menus_are 2 || { fail "Right after Left opened no window"; return; }
  key Escape; wait_until 5 _nav_menus_are 1 || { fail "Escape left the child open"; return; }
  key Left
  holds_for 0.5 _nav_menus_are 1 || { fail "Left in the root closed it"; return; }
  key Escape; wait_until 5 _nav_menus_are 0 || { fail "Escape left the root open"; return; }
  note "Right opens with row 0 selected, Left/Escape close"
  click_at "$BASE_X" "$BASE_Y"
  expect_exit_0 "click on the base window"
}

# _nav_top LIST -- index of the first row inside the list's visible rect
_nav_top() {
  local l ly; l=$(grep -iE "^child parent=[^ ]* hwnd=$1 " "$NAV_STATE"); ly=$(field y <<<"$l")
  grep -E "^item list=$1 " "$NAV_STATE" | awk -v ly="$ly" '{for(i=1;i<=NF;i++){split($i,kv,"="); v[kv[1]]=kv[2]} if (v["y"]>=ly) {print v["index"]; exit}}'
}
_nav_last_shows() {
  local l ly lh last; _nav_state; l=$(grep -iE "^child parent=[^ ]* hwnd=$1 " "$NAV_STATE")
  ly=$(field y <<<"$l") lh=$(field h <<<"$l"); last=$(grep -E "^item list=$1 " "$NAV_STATE" | tail -1)
  (( $(field y <<<"$last") + $(field h <<<"$last") <= ly + lh ))
}

scenario nav_scroll_hold
scenario_nav_scroll_hold() {
  _nav_start 'C:\navlong\*' || return
  local list down cx cy top0 top1 top2 t0 secs
  list=$(_nav_list "$NAV_ROOT")
  # The paint box at the bottom of the window is the down button.
  down=$(grep -E "^child parent=$NAV_ROOT .*class=TPaintBox .*visible=1" "$NAV_STATE" |
    awk '{for(i=1;i<=NF;i++){split($i,kv,"="); v[kv[1]]=kv[2]} if (v["y"]>m) {m=v["y"]; l=$0}} END{print l}')
  [ -n "$down" ] || { fail "no visible scroll button (120 rows fit?)"; return; }
  top0=$(_nav_top "$list")
  # A row under the pointer first, then the button: entering it clears the
  # selection, so Wine has seen the pointer there before the press.
  read -r cx cy <<<"$(_nav_centre "$(grep -E "^item list=$list " "$NAV_STATE" | sed -n 3p)")"
  mouse_to "$cx" "$cy"
  wait_until 3 eval '_nav_state; [ -n "$(_nav_selected "$list")" ]' || { fail "the pointer on a row selected nothing"; return; }
  read -r cx cy <<<"$(_nav_centre "$down")"
  mouse_to "$cx" "$cy"
  wait_until 3 eval '_nav_state; [ -z "$(_nav_selected "$list")" ]' || { fail "the pointer on the down button left a row selected"; return; }
  # Held about a second, then released: a row at once, then one every 125 ms.
  # (The probe cannot look meanwhile: the press loop answers no messages.)
  t0=$(now); press_for 1; secs=$(elapsed "$t0")
  _nav_state; top1=$(_nav_top "$list")
  (( top1 - top0 >= 4 && top1 - top0 <= 11 )) || { fail "held ${secs} s: scrolled $((top1 - top0)) rows"; return; }
  _nav_top_is() { _nav_state; [ "$(_nav_top "$list")" = "$1" ]; }
  holds_for 0.6 _nav_top_is "$top1" || { fail "scrolled on after the release: row $top1 then $(_nav_top "$list")"; return; }
  note "held ${secs} s: $((top1 - top0)) rows, none after the release"
  # Held to the end: it stops with the last row showing, the button still down.
  xdotool mousedown 1; t0=$(now)
  wait_until 30 _nav_last_shows "$list"; local shown=$?
  secs=$(elapsed "$t0")
  _nav_state; top1=$(_nav_top "$list")
  holds_for 0.4 _nav_top_is "$top1"; local stayed=$?
  xdotool mouseup 1
  [ $shown = 0 ] || { fail "the last row never showed while the button was held"; return; }
  [ $stayed = 0 ] || { fail "scrolled past the last row"; return; }
  note "held to the end in $secs s, top row $top1"
  screenshot scrolled-to-end
  click_at "$BASE_X" "$BASE_Y"
  expect_exit_0 "click on the base window"
}

scenario nav_context_menu
scenario_nav_context_menu() {
  _nav_start 'C:\nav\*' || return
  local list cx cy before w menu=''
  list=$(_nav_list "$NAV_ROOT")
  read -r cx cy <<<"$(_nav_centre "$(_nav_item "$list" bravo.txt)")"
  mouse_to "$cx" "$cy"
  wait_until 3 _nav_selected_is "$NAV_ROOT" bravo.txt || { fail "the pointer did not select bravo.txt"; return; }
  before=$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | sort)
  xdotool click 3
  _nav_new_override() {
    for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
      grep -qx "$w" <<<"$before" && continue
      xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' && { menu=$w; return 0; }
    done
    return 1
  }
  wait_until 5 _nav_new_override || { fail "no context menu window after the right click"; return; }
  screenshot_settled context-menu
  note "context menu $(x_geometry "$menu")"
  key Escape
  expect_exit_0 "Escape on the context menu"
}

# A sub-folder of many items (C:\slow\many, 30,000 files) is listed on a
# thread of its own: the root answers keys and clicks meanwhile, and the
# child shows once listed, if its row is the one selected.
_slow_tree() {
  local d=$WINEPREFIX/drive_c/slow
  [ -f "$d/many/f30000.txt" ] || { mkdir -p "$d/many" && (cd "$d/many" && touch f{00001..30000}.txt); }
  : >"$d/zulu.txt"
}
# menus up, without reading every row of a 30,000-row list
_slow_menus_are() { [ "$(probe | grep -cE '^window .*class=TFolderForm .*visible=1')" = "$1" ]; }
_slow_open_many() {
  _slow_tree
  _nav_open 'C:\slow\*' || return
  key m; wait_until 3 _nav_selected_is "$NAV_ROOT" many || { fail "m did not select many"; return; }
  SLOW_T0=$(now)
  key Right
}

scenario nav_slow_child
scenario_nav_slow_child() {
  _slow_open_many || return
  local answered shown
  # Taken by the root, not by a child that took the keys.
  key Down; wait_until 2 _nav_selected_is "$NAV_ROOT" zulu.txt ||
    { fail "Down during the child's listing did not reach the root within 2 s"; return; }
  answered=$(elapsed "$SLOW_T0")
  holds_for 1 _slow_menus_are 1 || { fail "the child showed with its row no longer selected"; return; }
  key Up Right
  wait_until 30 _slow_menus_are 2 || { fail "Right on many again showed no child"; return; }
  shown=$(elapsed "$SLOW_T0")
  note "Down reached the root ${answered} s after Right; Right again showed the child (${shown} s after the first)"
  screenshot slow-child
  click_at "$BASE_X" "$BASE_Y"
  expect_exit_0 "click on the base window"
}

scenario nav_slow_child_click_outside
scenario_nav_slow_child_click_outside() {
  _slow_open_many || return
  local t rc took
  t=$(now)
  click_at "$BASE_X" "$BASE_Y"
  rc=$(wait_exit 10) || { fail "the click during the child's listing did not end the run within 10 s"; return; }
  took=$(elapsed "$t")
  crashed && { fail "crashed"; return; }
  [ "$rc" = 0 ] || { fail "exit code $rc"; return; }
  awk -v s="$took" 'BEGIN{exit !(s <= 2)}' || { fail "the run ended $took s after the click"; return; }
  note "the click during the child's listing ended the run in $took s"
}
