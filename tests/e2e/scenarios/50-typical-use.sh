# shellcheck shell=bash
# One run as a user has it, from start to end: a path with a mask, the root
# menu at the pointer with its icons, a cascade opened by resting on folder
# rows, the keys, a held scroll button, and a click that runs a command and
# ends the program. (A context menu and a switch to another program end a
# run too: nav_context_menu and the foundation's scenarios.)

_tour_tree() {
  local d=$WINEPREFIX/drive_c/tour i
  rm -rf "$d"
  mkdir -p "$d/alpha/inner" "$d/beta" "$d/many"
  : >"$d/alpha/one.cmd"; : >"$d/alpha/two.txt"; : >"$d/alpha/inner/deep.cmd"; : >"$d/beta/b1.cmd"
  : >"$d/bravo.txt"; : >"$d/notes.txt"
  # The mask holds in every window; these are listed.
  for i in $(seq -w 0 79); do : >"$d/many/m$i.cmd"; done
  printf '@echo off\r\necho ran> C:\\tour\\marker.tmp\r\nmove /y C:\\tour\\marker.tmp C:\\tour\\marker.txt >nul\r\n' >"$d/run.cmd"
}

# _tour_icons_in LIST -- every row of LIST shows an icon: the square where a
# row's icon goes (6 px from its left, 16 px, centred) holds more than two
# colours on the screen. Sets TOUR_BARE to the rows that do not.
_tour_icons_in() {
  local shot=$E2E_DIR/icons-check.png line x y h colours
  _nav_state
  import -silent -window root "$shot" 2>>"$E2E_DIR/import.log" || return 1
  TOUR_BARE=''
  while read -r line; do
    x=$(field x <<<"$line") y=$(field y <<<"$line") h=$(field h <<<"$line")
    colours=$(convert "$shot" -crop "16x16+$((x + 6))+$((y + (h - 16) / 2))" +repage -format %k info: 2>/dev/null)
    (( ${colours:-0} > 2 )) || TOUR_BARE+="$(field text <<<"$line") "
  done < <(grep -E "^item list=$1 " "$NAV_STATE")
  [ -z "$TOUR_BARE" ]
}

scenario typical_use
scenario_typical_use() {
  _tour_tree
  local t0 list rows root child1 child2 c1list c2list row cx cy lline cline ms
  # 1. A path and a mask: folders are always listed, files only if they match.
  t0=$(now)
  _nav_open 'C:\tour\*.cmd' || return
  _tour_rows() { _nav_state; list=$(_nav_list "$NAV_ROOT"); rows=$(grep -E "^item list=$list " "$NAV_STATE" | sed -n 's/.* text="\(.*\)"$/\1/p' | sort | tr '\n' ' '); [ "$rows" = "alpha beta many run.cmd " ]; }
  wait_until 5 _tour_rows || { fail "rows '$rows', expected the three folders and run.cmd"; return; }

  # 2. At the pointer, and its icons arrive.
  root=$(grep -E "^window hwnd=$NAV_ROOT " "$NAV_STATE")
  (( $(field x <<<"$root") - START_X <= 4 && START_X - $(field x <<<"$root") <= 4 &&
     $(field y <<<"$root") - START_Y <= 4 && START_Y - $(field y <<<"$root") <= 4 )) ||
    { fail "root menu at $(field x <<<"$root"),$(field y <<<"$root"), pointer at $START_X,$START_Y"; return; }
  wait_until 5 _tour_icons_in "$list" || { fail "rows without an icon after 5 s: $TOUR_BARE"; return; }
  note "menu with icons $(elapsed "$t0") s after start"
  screenshot_settled root-menu

  # 3. Resting on a folder row opens its window beside the row after the
  # menu show delay; resting on a folder row in that one opens the next.
  row=$(_nav_item "$list" alpha)
  read -r cx cy <<<"$(_nav_centre "$row")"
  t0=$(now); mouse_to "$cx" "$cy"
  wait_until 5 _nav_menus_are 2 || { fail "resting on alpha opened no window"; return; }
  ms=$(awk -v a="$t0" -v b="$(now)" 'BEGIN{printf "%d", (b-a)*1000}')
  (( ms >= 350 )) || { fail "alpha's window opened after $ms ms, before the menu show delay"; return; }
  child1=$(_nav_child); c1list=$(_nav_list "$child1")
  lline=$(grep -iE "^child parent=$NAV_ROOT .*hwnd=$list " "$NAV_STATE")
  cline=$(grep -E "^window hwnd=$child1 " "$NAV_STATE")
  [ "$(field x <<<"$cline")" = $(( $(field x <<<"$lline") + $(field w <<<"$lline") )) ] &&
    [ "$(grep -iE "^child parent=$child1 .*class=listbox " "$NAV_STATE" | field y)" = "$(field y <<<"$row")" ] ||
    { fail "alpha's window at $(field x <<<"$cline"),$(field y <<<"$cline"), not beside its row"; return; }
  wait_until 5 _tour_icons_in "$c1list" || { fail "alpha's rows without an icon: $TOUR_BARE"; return; }
  read -r cx cy <<<"$(_nav_centre "$(_nav_item "$c1list" inner)")"
  mouse_to "$cx" "$cy"
  wait_until 5 _nav_menus_are 3 || { fail "resting on inner opened no third window"; return; }
  child2=$(grep -E '^window .*class=TFolderForm .*visible=1' "$NAV_STATE" | grep -vE "hwnd=($NAV_ROOT|$child1) " | field hwnd)
  c2list=$(_nav_list "$child2")
  wait_until 3 eval '_nav_state; [ -n "$(_nav_item "$c2list" deep.cmd)" ]' || { fail "the third window does not list inner's items"; return; }
  wait_until 5 _tour_icons_in "$c2list" || { fail "inner's rows without an icon: $TOUR_BARE"; return; }
  screenshot_settled cascade
  note "cascade of two child windows, the first after $ms ms"

  # Resting on a file row of the root closes both again.
  read -r cx cy <<<"$(_nav_centre "$(_nav_item "$list" run.cmd)")"
  mouse_to "$cx" "$cy"
  wait_until 5 _nav_menus_are 1 || { fail "resting on run.cmd left $(_nav_menus) windows open"; return; }

  # 4-5. Keys: Up/Down move without opening anything, a letter jumps, Right
  # opens with the first row selected, Left and Escape close.
  key Up; wait_until 3 _nav_selected_is "$NAV_ROOT" many || { fail "Up from run.cmd selected '$(_nav_selected "$list")'"; return; }
  key Down; wait_until 3 _nav_selected_is "$NAV_ROOT" run.cmd || { fail "Down selected '$(_nav_selected "$list")'"; return; }
  # Longer than the menu show delay: Up and Down open nothing.
  holds_for 0.8 _nav_menus_are 1 || { fail "Up/Down opened a window"; return; }
  key b; wait_until 3 _nav_selected_is "$NAV_ROOT" beta || { fail "b selected '$(_nav_selected "$list")'"; return; }
  key Right; wait_until 5 _nav_menus_are 2 || { fail "Right on beta opened nothing"; return; }
  [ "$(_nav_selected "$(_nav_list "$(_nav_child)")")" = b1.cmd ] || { fail "Right did not select beta's first row"; return; }
  key Left; wait_until 5 _nav_menus_are 1 || { fail "Left left beta's window open"; return; }
  key m; wait_until 3 _nav_selected_is "$NAV_ROOT" many || { fail "m selected '$(_nav_selected "$list")'"; return; }
  key Right; wait_until 5 _nav_menus_are 2 || { fail "Right on many opened nothing"; return; }

  # 6. many does not fit: holding its down button scrolls to the last row.
  child1=$(_nav_child); c1list=$(_nav_list "$child1")
  local down
  down=$(grep -E "^child parent=$child1 .*class=TPaintBox .*visible=1" "$NAV_STATE" |
    awk '{for(i=1;i<=NF;i++){split($i,kv,"="); v[kv[1]]=kv[2]} if (v["y"]>m) {m=v["y"]; l=$0}} END{print l}')
  [ -n "$down" ] || { fail "many's window shows no scroll button"; return; }
  read -r cx cy <<<"$(_nav_centre "$down")"
  mouse_to "$cx" "$cy"
  # The pointer on a button clears the list's selection: Wine has seen it there.
  wait_until 3 eval '_nav_state; [ -z "$(_nav_selected "$c1list")" ]' || { fail "the pointer on the down button left a row selected"; return; }
  xdotool mousedown 1; t0=$(now)
  wait_until 20 _nav_last_shows "$c1list"; local shown=$?
  xdotool mouseup 1
  [ $shown = 0 ] || { fail "holding the down button never showed many's last row"; return; }
  note "held the down button $(elapsed "$t0") s to many's last row"
  screenshot scrolled
  key Escape; wait_until 5 _nav_menus_are 1 || { fail "Escape left many's window open"; return; }

  # 8. A click on run.cmd runs it, and the run ends.
  read -r cx cy <<<"$(_nav_centre "$(_nav_item "$list" run.cmd)")"
  click_at "$cx" "$cy"
  wait_until 10 test -s "$WINEPREFIX/drive_c/tour/marker.txt" || { fail "run.cmd did not run (no marker)"; return; }
  expect_exit_0 "a click on run.cmd"
}
