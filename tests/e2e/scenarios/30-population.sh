# shellcheck shell=bash
# The root menu lists real folders: the shell's order, the placeholder of an
# empty folder, the fit to the screen in whole rows, the flip at the right
# edge, masks and switches, and a click that runs an entry.

# e2e_folder NAME -- a fresh folder C:\e2e\NAME in the prefix; prints its unix path
e2e_folder() {
  local dir=$WINEPREFIX/drive_c/e2e/$1
  rm -rf "$dir"; mkdir -p "$dir"
  printf '%s\n' "$dir"
}

# menu_items -- the probe's item lines of the visible root menu's list
menu_items() { probe --items | grep '^item '; }
# item_texts -- the rows' texts, one a line, "&&" shown as "&" again
item_texts() { sed -n 's/.* text="\(.*\)"$/\1/p' | sed 's/&&/\&/g'; }

# _show_menu ARGS... -- start, wait for the root menu; MENU_LINE, MENU_ITEMS
_show_menu() {
  start_quince "$@" || return
  probe --wait TFolderForm --timeout 15000 >/dev/null || { fail "no visible TFolderForm within 15 s"; return; }
  local out; out=$(probe --items)
  MENU_LINE=$(window_line TFolderForm <<<"$out")
  MENU_ITEMS=$(grep '^item ' <<<"$out")
  MENU_BUTTONS=$(grep -cE "^child parent=$(field hwnd <<<"$MENU_LINE") .*class=TPaintBox visible=1" <<<"$out" || true)
}

_end_by_click() { click_at "$BASE_X" "$BASE_Y"; expect_exit_0 "click on the base window"; }

scenario list_in_shell_order
scenario_list_in_shell_order() {
  local dir; dir=$(e2e_folder order)
  touch "$dir/zeta.txt" "$dir/Alpha.txt" "$dir/10.txt" "$dir/9.txt" "$dir/Salt & Pepper.txt" "$dir/$(printf '\xe6\x97\xa5\xe6\x9c\xac.txt')"
  mkdir "$dir/Middle" "$dir/zoo"
  _show_menu 'C:\e2e\order\' || return
  local want got
  want=$(probe --shell-order 'C:\e2e\order' | item_texts)
  got=$(item_texts <<<"$MENU_ITEMS")
  [ -n "$want" ] || { fail "the probe listed nothing"; return; }
  [ "$got" = "$want" ] || { fail "rows '$(tr '\n' '|' <<<"$got")', shell order '$(tr '\n' '|' <<<"$want")'"; return; }
  local x y w h n rh first last
  x=$(field x <<<"$MENU_LINE") y=$(field y <<<"$MENU_LINE") w=$(field w <<<"$MENU_LINE") h=$(field h <<<"$MENU_LINE")
  screenshot_settled listed "$x" "$y" "$w" "$h"
  n=$(wc -l <<<"$MENU_ITEMS")
  rh=$(head -1 <<<"$MENU_ITEMS" | field h)
  # At the pointer, all rows shown, each one row high, none selected.
  [ "$x $y" = "$START_X $START_Y" ] || { fail "menu at $x,$y, pointer at $START_X,$START_Y"; return; }
  first=$(head -1 <<<"$MENU_ITEMS" | field y) last=$(tail -1 <<<"$MENU_ITEMS")
  (( $(field y <<<"$last") + $(field h <<<"$last") - first == n * rh )) || { fail "rows are not $n x $rh high"; return; }
  (( h - n * rh >= 2 && h - n * rh <= 12 )) || { fail "window height $h for $n rows of $rh"; return; }
  grep -q 'selected=1' <<<"$MENU_ITEMS" && { fail "a row is selected after the show"; return; }
  (( MENU_BUTTONS == 0 )) || { fail "scroll buttons shown for $n rows"; return; }
  # Wider than the longest row's caption by at least one row height (room
  # for the arrow); the widest caption here is the ampersand one.
  (( w > rh + 60 )) || { fail "window only $w wide"; return; }
  note "$n rows in the shell's order, ${w}x$h, rows $rh high"
  _end_by_click
}

scenario empty_folder_placeholder
scenario_empty_folder_placeholder() {
  e2e_folder empty >/dev/null
  _show_menu 'C:\e2e\empty\' || return
  local texts; texts=$(item_texts <<<"$MENU_ITEMS")
  [ "$texts" = "(なし)" ] || { fail "rows '$texts', expected the placeholder alone"; return; }
  screenshot_settled empty "$(field x <<<"$MENU_LINE")" "$(field y <<<"$MENU_LINE")" \
    "$(field w <<<"$MENU_LINE")" "$(field h <<<"$MENU_LINE")"
  note "one row (なし)"
  # A click on the placeholder runs nothing; the run goes on until a click outside.
  local row; row=$(head -1 <<<"$MENU_ITEMS")
  click_at $(( $(field x <<<"$row") + 10 )) $(( $(field y <<<"$row") + 5 ))
  holds_for 0.5 app_running || { fail "a click on the placeholder ended the program"; return; }
  _end_by_click
}

scenario seventy_rows_fit_the_screen
scenario_seventy_rows_fit_the_screen() {
  local dir i; dir=$(e2e_folder seventy)
  for i in $(seq -w 1 70); do touch "$dir/file$i.txt"; done
  START_Y=600 _show_menu 'C:\e2e\seventy\' || return
  local scr y h rh n wy wh shown
  scr=$(probe | grep '^screen')
  wy=$(field worky <<<"$scr") wh=$(field workh <<<"$scr")
  y=$(field y <<<"$MENU_LINE") h=$(field h <<<"$MENU_LINE")
  rh=$(head -1 <<<"$MENU_ITEMS" | field h) n=$(wc -l <<<"$MENU_ITEMS")
  screenshot_settled seventy "$(field x <<<"$MENU_LINE")" "$y" "$(field w <<<"$MENU_LINE")" "$h"
  (( n == 70 )) || { fail "$n rows listed, expected 70"; return; }
  (( y >= wy && y + h <= wy + wh )) || { fail "window $y..$((y + h)) leaves the work area $wy..$((wy + wh))"; return; }
  (( MENU_BUTTONS == 2 )) || { fail "$MENU_BUTTONS scroll buttons visible, expected both"; return; }
  # The client area holds whole rows: the list's rows plus the two buttons.
  shown=$(( (h - 6) / rh ))
  # (A 3-pixel frame on either side under Wine.)
  (( (h - 6) % rh == 0 )) || { fail "height $h is not whole rows of $rh plus the frame"; return; }
  note "70 rows at pointer y=600: window $y..$((y + h)) in work area $wy..$((wy + wh)), about $shown rows with both scroll buttons"
  _end_by_click
}

scenario flip_at_the_right_edge
scenario_flip_at_the_right_edge() {
  START_X=1900 _show_menu 'C:\windows\*' || return
  local x w
  x=$(field x <<<"$MENU_LINE") w=$(field w <<<"$MENU_LINE")
  (( x + w == 1900 )) || { fail "menu spans $x..$((x + w)), its right edge should be at the pointer (1900)"; return; }
  screenshot flipped
  note "menu $x..$((x + w)): right edge at the pointer"
  _end_by_click
}

scenario masks_and_switches
scenario_masks_and_switches() {
  local dir; dir=$(e2e_folder masks)
  touch "$dir/b1.txt" "$dir/b2.log" "$dir/a.txt" "$dir/other.log"
  mkdir "$dir/apples" "$dir/zeta"
  local got
  _show_menu 'C:\e2e\masks\*.txt' || return
  got=$(item_texts <<<"$MENU_ITEMS" | sort | tr '\n' ' ')
  [ "$got" = "a.txt apples b1.txt zeta " ] || { fail "*.txt listed '$got'"; return; }
  _end_by_click || return
  _show_menu 'C:\e2e\masks\b*' || return
  got=$(item_texts <<<"$MENU_ITEMS" | sort | tr '\n' ' ')
  [ "$got" = "apples b1.txt b2.log zeta " ] || { fail "b* listed '$got'"; return; }
  _end_by_click || return
  _show_menu 'C:\e2e\masks\' -IF || return
  got=$(item_texts <<<"$MENU_ITEMS" | sort | tr '\n' ' ')
  [ "$got" = "apples zeta " ] || { fail "-IF listed '$got'"; return; }
  note "*.txt, b* and -IF list what they should"
  _end_by_click
}

scenario click_runs_a_cmd
scenario_click_runs_a_cmd() {
  local dir; dir=$(e2e_folder run)
  # The batch file writes a temporary file and moves it into place, so the
  # marker is whole once it exists.
  printf '@echo off\r\necho ran> C:\\e2e\\run\\marker.tmp\r\nmove /y C:\\e2e\\run\\marker.tmp C:\\e2e\\run\\marker.txt >nul\r\n' >"$dir/hello.cmd"
  mkdir "$dir/sub"
  _show_menu 'C:\e2e\run\' || return
  local row; row=$(grep 'text="hello.cmd"' <<<"$MENU_ITEMS")
  [ -n "$row" ] || { fail "no hello.cmd row"; return; }
  click_at $(( $(field x <<<"$row") + 20 )) $(( $(field y <<<"$row") + $(field h <<<"$row") / 2 ))
  wait_until 10 test -s "$dir/marker.txt" || { fail "the .cmd did not run (no marker)"; return; }
  expect_exit_0 "a click on hello.cmd" || return
  note "marker written"
}
