# shellcheck shell=bash
# Bad input: odd names, paths that cannot be listed or reached, malformed
# masks and hostile command lines. Whatever comes, the program shows a
# listing, the placeholder or a readable error box, and ends cleanly: no
# crash, no hang, nothing left behind. Each case's outcome is one line of
# bad-input.txt in the artefacts.
shopt -s extglob

# _outcome_seen -- sets OUTCOME from one look at the program: a message box,
# a root menu with rows, or the program's end
_outcome_seen() {
  local out box menu list rows
  if ! app_running; then OUTCOME="ended, exit $(cat "$E2E_DIR/app.rc" 2>/dev/null)"; return 0; fi
  out=$(probe --items)
  box=$(msgbox_line <<<"$out")
  if [ -n "$box" ]; then OUTCOME="error box: $(field text <<<"$box" | tr '\n' ' ')"; return 0; fi
  menu=$(window_line TFolderForm <<<"$out")
  [ -n "$menu" ] || return 1
  list=$(grep -iE "^child parent=$(field hwnd <<<"$menu") .*class=listbox " <<<"$out" | field hwnd | head -1)
  rows=$(grep -E "^item list=$list " <<<"$out") || return 1
  OUTCOME_ROWS=$(item_texts <<<"$rows")
  if [ "$OUTCOME_ROWS" = "(なし)" ]; then OUTCOME="placeholder"; else OUTCOME="listing, $(wc -l <<<"$rows") rows"; fi
}

# _bad_case LABEL [-t SECONDS] [-l LINE | ARGS...] -- quince.exe ARGS (or
# with exactly the command line LINE), then what it did within SECONDS
# (default 15) into OUTCOME and bad-input.txt; ends the run (a box
# dismissed, then a click on the base window) and checks that it ended with
# exit 0, no crash and nothing left behind. OUTCOME_AT: when it was seen.
_bad_case() {
  local label=$1 t=15; shift
  [ "$1" = -t ] && { t=$2; shift 2; }
  OUTCOME='' OUTCOME_ROWS=''
  if [ "$1" = -l ]; then
    mouse_to "$START_X" "$START_Y"
    run_app_line "$2" || { fail "$label: did not start"; return; }
  else
    start_quince "$@" || return
  fi
  wait_until "$t" _outcome_seen || { fail "$label: no menu, box or end within $t s"; return; }
  OUTCOME_AT=$(now)
  echo "$label: $OUTCOME" >>"$E2E_OUT/bad-input.txt"
  case $OUTCOME in
    "error box: "?*) _dismiss_box || return; app_running && click_at "$BASE_X" "$BASE_Y" ;;
    "error box: ") fail "$label: a box without a text"; return ;;
    ended*) ;;
    *) click_at "$BASE_X" "$BASE_Y" ;;
  esac
  local rc; rc=$(wait_exit 10)
  crashed && { fail "$label: crashed: $(grep -m1 -E 'Unhandled' "$E2E_DIR/app.err")"; return; }
  [ "$rc" = 0 ] || { fail "$label: exit code $rc after '$OUTCOME'"; return; }
  local left; left=$(no_leftovers) || { fail "$label: left behind: $left"; return; }
}

# _expect_outcome LABEL PATTERN -- OUTCOME matches the shell PATTERN
# shellcheck disable=SC2053  # $2 is a pattern
_expect_outcome() { [[ $OUTCOME == $2 ]] || { fail "$1: $OUTCOME"; return 1; }; }

scenario bad_names
scenario_bad_names() {
  local dir n; dir=$(e2e_folder names)
  local names=('&' '&&&' $'\xf0\x9f\x98\x80 smile.txt' $'\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d.txt'
    $'e\xcc\x81\xcc\x82\xcc\xa3 marks.txt' "$(printf 'n%.0s' $(seq 251)).txt" '  lead.txt' 'trail.txt  '
    '[a].txt' '*x?.txt' $'\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt')
  for n in "${names[@]}"; do : >"$dir/$n"; done
  mkdir "$dir/[sub]"; : >"$dir/[sub]/&inner"
  _bad_case "names" 'C:\e2e\names\' || return
  _expect_outcome names "listing, $(( ${#names[@]} + 1 )) rows" || return
  # Every name shown as it is (the mask-like "*x?" aside: Wine maps the
  # characters DOS names cannot hold to others).
  for n in "${names[@]}" '[sub]'; do
    [ "$n" = '*x?.txt' ] && continue
    grep -qxF -- "$n" <<<"$OUTCOME_ROWS" || { fail "no row '$n' in: $(tr '\n' '|' <<<"$OUTCOME_ROWS")"; return; }
  done
  # A root whose own name looks like a mask, and a mask of one such name.
  _bad_case "folder named like a mask" 'C:\e2e\names\[sub]\' || return
  _expect_outcome "folder named like a mask" "listing, 1 rows" || return
  _bad_case "mask naming [a].txt" 'C:\e2e\names\[[]a].txt' || return
  _expect_outcome "mask naming [a].txt" "listing, 2 rows" || return
  note "${#names[@]} odd names listed as they are"
}

scenario bad_paths
scenario_bad_paths() {
  local d=$WINEPREFIX/drive_c/e2e deep='C:\e2e\deep' part
  rm -rf "$d/deep" "$d/loop" "$d/gone"; mkdir -p "$d/deep" "$d/gone/vanish"
  part=$(printf 'd%.0s' $(seq 60))
  local unix=$d/deep; while [ ${#deep} -le 300 ]; do deep+="\\$part"; unix+="/$part"; done
  mkdir -p "$unix"; : >"$unix/bottom.txt"
  _bad_case "path of ${#deep} characters" "$deep\\" || return
  _expect_outcome "deep path" "@(listing, 1 rows|error box: *)" || return
  # A link that points at itself: the folder's listing fails.
  mkdir -p "$d/loop"; ln -s self "$d/loop/self"
  _bad_case "self-referring link as root" 'C:\e2e\loop\self\' || return
  _expect_outcome "self link" "@(placeholder|error box: *)" || return
  _bad_case "folder holding a self-referring link" 'C:\e2e\loop\' || return
  _expect_outcome "loop folder" "@(listing, 1 rows|placeholder)" || return
  # A drive letter whose target is missing.
  ln -sfn /nonexistent/quince-e2e "$WINEPREFIX/dosdevices/q:"
  _bad_case "drive letter without a target" 'Q:\*' || { rm -f "$WINEPREFIX/dosdevices/q:"; return; }
  rm -f "$WINEPREFIX/dosdevices/q:"
  _expect_outcome "missing drive" "@(placeholder|error box: *)" || return
  _bad_vanished || return
  note "deep, self link, missing drive and vanished folder: see bad-input.txt"
}

# A sub-folder deleted between its parent's listing and its own first show.
_bad_vanished() {
  : >"$WINEPREFIX/drive_c/e2e/gone/vanish/inside.txt"; : >"$WINEPREFIX/drive_c/e2e/gone/stay.txt"
  _nav_open 'C:\e2e\gone\' || return
  local list row cx cy
  list=$(_nav_list "$NAV_ROOT"); row=$(_nav_item "$list" vanish)
  [ -n "$row" ] || { fail "no row vanish"; return; }
  rm -rf "$WINEPREFIX/drive_c/e2e/gone/vanish"
  read -r cx cy <<<"$(_nav_centre "$row")"
  mouse_to "$cx" "$cy"
  _vanished_seen() {
    _nav_state
    if grep -qE '^msgbox .*visible=1' "$NAV_STATE"; then OUTCOME="error box: $(msgbox_line <"$NAV_STATE" | field text)"; return 0; fi
    [ "$(_nav_menus)" = 2 ] || return 1
    OUTCOME_ROWS=$(grep -E "^item list=$(_nav_list "$(_nav_child)") " "$NAV_STATE" | item_texts)
    [ -n "$OUTCOME_ROWS" ] || return 1
    if [ "$OUTCOME_ROWS" = "(なし)" ]; then OUTCOME=placeholder; else OUTCOME="listing: $OUTCOME_ROWS"; fi
  }
  wait_until 10 _vanished_seen || { fail "resting on the vanished folder showed nothing"; return; }
  echo "folder deleted before its first show: $OUTCOME" >>"$E2E_OUT/bad-input.txt"
  [[ $OUTCOME == "error box: "* ]] && { _dismiss_box || return; }
  click_at "$BASE_X" "$BASE_Y"
  expect_exit_0 "click on the base window" || return
  local left; left=$(no_leftovers) || { fail "vanished folder: left behind: $left"; return; }
}

scenario bad_masks
scenario_bad_masks() {
  local dir m; dir=$(e2e_folder badmask); : >"$dir/a.txt"
  # An unclosed set, an empty set, a range without a first character, a
  # negated empty set, more than 30 runs of "*".
  for m in '[abc' '[]' '[-z]' '[!]' "$(printf '*a%.0s' $(seq 31))"; do
    _bad_case "mask ${m:0:12}" "C:\\e2e\\badmask\\$m" || return
    _expect_outcome "mask $m" "error box: *" || return
  done
  note "five malformed masks, each an error box"
}

scenario bad_command_lines
scenario_bad_command_lines() {
  local dir i; dir=$(e2e_folder cmdline); : >"$dir/a.txt"; mkdir -p "$dir/sub"
  _bad_case "unbalanced quote" -l '"C:\e2e\cmdline\* -IN' || return
  _expect_outcome "unbalanced quote" "@(listing, * rows|placeholder|error box: *)" || return
  _bad_case "empty quoted arguments" -l '"" "" C:\e2e\cmdline\ ""' || return
  _expect_outcome "empty quoted arguments" "listing, 2 rows" || return
  _bad_case "argument of 10,000 characters" "C:\\e2e\\cmdline\\$(printf 'a%.0s' $(seq 10000))" || return
  _expect_outcome "10,000 characters" "@(listing, 1 rows|error box: *)" || return
  local many=(); for i in $(seq 3000); do many+=("x$i"); done
  _bad_case "3,000 arguments" "${many[@]}" 'C:\e2e\cmdline\' || return
  _expect_outcome "3,000 arguments" "listing, 2 rows" || return
  note "unbalanced quote, empty arguments, 10,000 characters, 3,000 arguments"
}

# A root on a server that does not exist: parsed on a thread of its own
# while the base window takes clicks and keys (the Windows tests hold such a
# parse back to click meanwhile: under Wine here it fails within a second);
# the error box comes as before.
scenario bad_unc_root
scenario_bad_unc_root() {
  local t; t=$(now)
  _bad_case "UNC path to no server" -t 60 '\\no-such-server\share\*' || return
  _expect_outcome "UNC" "error box: *" || return
  note "error box $(awk -v a="$t" -v b="$OUTCOME_AT" 'BEGIN{printf "%.1f", b-a}') s after start"
}
