# shellcheck shell=bash
# The root menu window (TFolderForm): where it opens, how it is made, and that
# turning to another application ends the run. Skipped, with a clear SKIP,
# while quince.exe has no TFolderForm class at all; once it has one, a menu
# that does not appear is a failure.

WS_POPUP=$((0x80000000)) WS_DLGFRAME=$((0x00400000))
WS_VSCROLL=$((0x00200000)) WS_HSCROLL=$((0x00100000))
WS_VISIBLE=$((0x10000000)) WS_CLIPSIBLINGS=$((0x04000000)) WS_CLIPCHILDREN=$((0x02000000))
CS_DROPSHADOW=$((0x00020000))

# _open_root_menu ARGS... -- start, wait for the root menu; sets MENU_OUT, MENU_LINE
_open_root_menu() {
  start_quince "$@" || return
  MENU_OUT=$(probe --wait TFolderForm --timeout 15000) || { fail "no visible TFolderForm within 15 s"; return; }
  MENU_LINE=$(window_line TFolderForm <<<"$MENU_OUT")
}

scenario root_menu_at_pointer
scenario_root_menu_at_pointer() {
  _open_root_menu 'C:\windows\*' || return
  local l=$MENU_LINE x y w h style cls scr wx wy ww wh
  x=$(field x <<<"$l") y=$(field y <<<"$l") w=$(field w <<<"$l") h=$(field h <<<"$l")
  screenshot_settled root-menu-only "$x" "$y" "$w" "$h"
  screenshot root-menu
  # Top-left at the pointer (a few pixels of slack for the frame), whole
  # window inside the work area.
  (( x - START_X <= 4 && START_X - x <= 4 && y - START_Y <= 4 && START_Y - y <= 4 )) ||
    { fail "menu at $x,$y, pointer at $START_X,$START_Y"; return; }
  scr=$(grep '^screen' <<<"$MENU_OUT")
  wx=$(field workx <<<"$scr") wy=$(field worky <<<"$scr") ww=$(field workw <<<"$scr") wh=$(field workh <<<"$scr")
  (( x >= wx && y >= wy && x + w <= wx + ww && y + h <= wy + wh )) ||
    { fail "menu $x,$y ${w}x$h leaves the work area $wx,$wy ${ww}x$wh"; return; }
  # A popup with a dialog frame and nothing else: no caption bar, no scroll bars.
  style=$(( $(field style <<<"$l") & ~(WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN) ))
  (( style == (WS_POPUP | WS_DLGFRAME) )) ||
    { fail "$(printf 'style 0x%08x (without visible/clip bits), expected WS_POPUP|WS_DLGFRAME' "$style")"; return; }
  cls=$(field classstyle <<<"$l")
  (( cls & CS_DROPSHADOW )) || { fail "class style $cls lacks CS_DROPSHADOW"; return; }
  [ "$(field owner <<<"$l")" = "$(window_line TBaseForm <<<"$MENU_OUT" | field hwnd)" ] ||
    { fail "owner $(field owner <<<"$l") ($(field ownerclass <<<"$l")) is not the TBaseForm window"; return; }
  local box boxes=0 bs
  while read -r box; do
    boxes=$((boxes + 1)); bs=$(field style <<<"$box")
    (( bs & (WS_VSCROLL | WS_HSCROLL) )) && { fail "list box has scroll bars (style $bs)"; return; }
  done < <(grep -iE "^child parent=$(field hwnd <<<"$l") .*class=listbox " <<<"$MENU_OUT")
  (( boxes >= 1 )) || { fail "no list box in the menu window"; return; }
  # With Decorated=N the X window is the whole Windows window.
  wait_until 5 x_window_with_geometry "$x $y $w $h" || { fail "no X window at $x $y ${w}x$h"; return; }
  note "menu at $x,$y ${w}x$h, style $(field style <<<"$l"), class style $cls, owner TBaseForm"
  click_at "$BASE_X" "$BASE_Y"
  expect_exit_0 "click on the base window"
}

scenario root_menu_focus_away
scenario_root_menu_focus_away() {
  _open_root_menu 'C:\windows\*' || return
  focus_away || { fail "could not activate the focus sink"; return; }
  expect_exit_0 "activating another X window"
}
