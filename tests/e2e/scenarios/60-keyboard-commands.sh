# shellcheck shell=bash
# Explorer's keys for the selected row: the Apps key and Shift+F10 show its
# context menu beside the row (not at the pointer), F2 renames it with
# Quince's own dialog, Delete deletes it through the shell. Uses the C:\nav
# tree and helpers of 40-navigation.sh.

# _keys_select NAME -- pointer away from the menus, then the row chosen by
# its first letter; sets KEYS_LIST and KEYS_ROW
_keys_select() {
  _nav_start 'C:\nav\*' || return
  KEYS_LIST=$(_nav_list "$NAV_ROOT")
  # Far from the menu: the menu must open at the row, not here.
  mouse_to 1500 900
  key "${1:0:1}"
  wait_until 3 _nav_selected_is "$NAV_ROOT" "$1" || { fail "key ${1:0:1} selected '$(_nav_selected "$KEYS_LIST")'"; return; }
  KEYS_ROW=$(_nav_item "$KEYS_LIST" "$1")
}

# _keys_menu_beside_row KEYS... SHOT -- the keys show a context menu whose
# top-left is at the selected row's right edge, level with the row
_keys_menu_beside_row() {
  local shot=${*: -1} keys=("${@:1:$#-1}") before menu='' w geo mx my rx ry
  _keys_select delta.txt || return
  before=$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | sort)
  key "${keys[@]}"
  _keys_new_menu() {
    for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
      grep -qx "$w" <<<"$before" && continue
      xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' && { menu=$w; return 0; }
    done
    return 1
  }
  wait_until 5 _keys_new_menu || { fail "no context menu after ${keys[*]}"; return; }
  geo=$(x_geometry "$menu"); read -r mx my _ _ <<<"$geo"
  rx=$(( $(field x <<<"$KEYS_ROW") + $(field w <<<"$KEYS_ROW") )) ry=$(field y <<<"$KEYS_ROW")
  screenshot_settled "$shot"
  (( mx - rx <= 4 && rx - mx <= 4 && my - ry <= 4 && ry - my <= 4 )) ||
    { fail "menu at $mx,$my; the row's right edge is at $rx,$ry (pointer at 1500,900)"; return; }
  note "${keys[*]}: menu $geo beside the row (right edge $rx,$ry)"
  key Escape
  expect_exit_0 "Escape on the context menu"
}

scenario keys_apps_menu
scenario_keys_apps_menu() { _keys_menu_beside_row Menu apps-key-menu; }

scenario keys_shift_f10_menu
scenario_keys_shift_f10_menu() { _keys_menu_beside_row shift+F10 shift-f10-menu; }

# Nothing selected: the Apps key shows nothing and the menu stays.
scenario keys_apps_no_row
scenario_keys_apps_no_row() {
  _nav_start 'C:\nav\*' || return
  mouse_to 1500 900
  key Menu
  sleep 0.5
  [ -z "$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | while read -r w; do
    xwininfo -id "$w" | grep -q 'Override Redirect State: yes' && echo "$w"; done)" ] ||
    { fail "a menu showed with no row selected"; return; }
  _nav_menus_are 1 || { fail "the root menu went away"; return; }
  note "no row selected: no menu, the root stays"
  key Escape
  click_at "$BASE_X" "$BASE_Y"
  expect_exit_0 "click on the base window"
}

scenario keys_f2_rename
scenario_keys_f2_rename() {
  _keys_select charlie.txt || return
  key F2
  local out box
  out=$(probe --wait '#32770' --timeout 5000) || { fail "F2 opened no dialog"; return; }
  box=$(msgbox_line <<<"$out")
  [ "$(field title <<<"$box")" = "名前の変更" ] || { fail "dialog caption '$(field title <<<"$box")'"; return; }
  # (An edit's text cannot be read from another process; the rename below
  # shows which row the dialog was for.)
  screenshot_settled f2-rename-dialog
  _nav_state; [ "$(_nav_menus)" = 0 ] || { fail "menus still up behind the dialog"; return; }
  key ctrl+a; xdotool type --delay 30 'renamed.txt'; key Return
  expect_exit_0 "renaming with F2" || return
  if [ ! -e "$WINEPREFIX/drive_c/nav/renamed.txt" ] || [ -e "$WINEPREFIX/drive_c/nav/charlie.txt" ]; then
    fail "charlie.txt was not renamed to renamed.txt"; return
  fi
  note "charlie.txt renamed to renamed.txt"
}

# Delete runs the row's "delete" verb through its context menu: the shell
# asks (its own confirmation), then the item goes.
scenario keys_delete
scenario_keys_delete() {
  _keys_select delta.txt || return
  key Delete
  local out box
  out=$(probe --wait '#32770' --timeout 5000) || { fail "Delete showed no confirmation"; return; }
  box=$(msgbox_line <<<"$out")
  screenshot_settled delete-confirmation
  case $(field title <<<"$box") in Quince|名前の変更) fail "Quince's own box, not the shell's confirmation"; return ;; esac
  note "the shell asks: \"$(field title <<<"$box")\""
  key Return
  expect_exit_0 "confirming the deletion" || return
  [ ! -e "$WINEPREFIX/drive_c/nav/delta.txt" ] || { fail "delta.txt is still there"; return; }
  note "delta.txt deleted"
}
