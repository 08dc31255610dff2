#!/usr/bin/env bash
# Long use of one run of quince.exe under Wine, and what it holds on to:
#
#   bash tests/e2e/leaks.sh [CYCLES=200] [EVERY=50]
#
# One run on C:\leak (two sub-folders, then 150 files: more rows than the
# screen holds). A cycle opens and closes alpha's sub-menu by keys (a,
# Right, Left) and then by hover (rest on alpha, then on a file row); every
# tenth cycle scrolls the root to its last row and back with Down and Up (a
# menu ignores the wheel; the first pass draws every row once, and so looks
# up 150 icons). At cycle 0 and after every EVERY cycles, once the program
# is quiet (no icon thread left: two readings a second apart the same), one
# line:
#
#   leak cycle=N windows=.. visible=.. children=.. syshandles=.. handles=..
#        gdi=.. user=.. gditable=.. rssanon_kb=..
#
# From probe --counts: windows/visible/children, the process's top-level
# windows and their child windows (EnumWindows, EnumChildWindows);
# syshandles, its kernel-object handles in the system's handle list
# (NtQuerySystemInformation); handles, gdi, user, GetProcessHandleCount and
# GetGuiResources asked inside the process (quince_counts.dll), and
# gditable, the live entries of its GDI handle table. rssanon_kb: RssAnon of
# the Wine process (/proc/PID/status). Lines go to stdout and
# build/leak-artifacts/leaks.txt.
# Not part of the test command: a run takes several minutes.
set -u
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export E2E_OUT=${E2E_OUT:-$HERE/../../build/leak-artifacts}
export E2E_PREFIX=${E2E_PREFIX:-$HERE/../../build/wine/leak-prefix}
# shellcheck source=harness.sh
. "$HERE/harness.sh"
# shellcheck source=scenarios/00-common.sh
. "$HERE/scenarios/00-common.sh"
CYCLES=${1:-200} EVERY=${2:-50}
note() { :; }
fail() { echo "leaks: $*" >&2; return 1; }

rm -rf "$E2E_OUT"; mkdir -p "$E2E_OUT"; E2E_DIR=$E2E_OUT
trap 'e2e_teardown' EXIT
trap 'exit 130' INT TERM
e2e_setup 2>>"$E2E_OUT/setup.log" || { cat "$E2E_OUT/setup.log"; exit 1; }

d=$WINEPREFIX/drive_c/leak
rm -rf "$d"; mkdir -p "$d/alpha" "$d/beta"
: >"$d/alpha/one.txt"; : >"$d/alpha/two.txt"; : >"$d/beta/b.txt"
for i in $(seq -w 0 149); do : >"$d/f$i.txt"; done

start_quince 'C:\leak\' || exit 1
STATE=$E2E_DIR/state.txt
state() { probe --items >"$STATE"; }
wait_until 15 eval 'state; grep -q "^window .*class=TFolderForm .*visible=1" "$STATE"' || { fail "no root menu"; exit 1; }
ROOT=$(grep -E '^window .*class=TFolderForm .*visible=1' "$STATE" | field hwnd)
LIST=$(grep -iE "^child parent=$ROOT .*class=listbox " "$STATE" | field hwnd)
wait_until 10 eval 'state; grep -q "^item list=$LIST .*text=\"f149.txt\"" "$STATE"' || { fail "rows not listed"; exit 1; }
WINPID=$(probe --processes | grep 'exe="quince.exe"' | field pid)
centre() { local l; l=$(grep -E "^item list=$LIST " "$STATE" | grep -F "text=\"$1\"" | head -1)
  echo $(( $(field x <<<"$l") + $(field w <<<"$l") / 2 )) $(( $(field y <<<"$l") + $(field h <<<"$l") / 2 )); }
read -r AX AY <<<"$(centre alpha)"
read -r FX FY <<<"$(centre f003.txt)"
# X windows of the program that are mapped; one more while a sub-menu is open.
shown() { xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l; }
mouse_to "$FX" "$FY"
wait_until 5 eval '[ "$(shown)" -ge 2 ]'
BASE=$(shown)
opened() { [ "$(shown)" -eq $((BASE + 1)) ]; }
closed() { [ "$(shown)" -eq "$BASE" ]; }

reading() {
  local c rss
  c=$(probe --counts "$WINPID") || { fail "probe --counts failed: $c"; return 1; }
  rss=$(awk '/^RssAnon:/{print $2}' "/proc/$APP_PID/status")
  local k line=''
  for k in windows visible children syshandles handles gdi user gditable; do line+="$k=$(field "$k" <<<"$c") "; done
  echo "${line}rssanon_kb=$rss"
}
# measure N -- once two readings a second apart agree (at most 20 s: the
# icon threads leave 5 s after their last job), print the line
measure() {
  local prev='' now_ s; s=$(now)
  while :; do
    now_=$(reading) || return 1
    [ "$now_" = "$prev" ] && break
    _past "$s" 20 && { echo "leaks: cycle $1 still changing" >&2; break; }
    prev=$now_; sleep 1
  done
  echo "leak cycle=$1 $now_" | tee -a "$E2E_OUT/leaks.txt"
}
last_shows() { state; local l ly lh last; l=$(grep -iE "^child parent=$ROOT hwnd=$LIST " "$STATE")
  ly=$(field y <<<"$l") lh=$(field h <<<"$l"); last=$(grep -E "^item list=$LIST " "$STATE" | tail -1)
  (( $(field y <<<"$last") + $(field h <<<"$last") <= ly + lh )); }
first_shows() { state; local l ly first; l=$(grep -iE "^child parent=$ROOT hwnd=$LIST " "$STATE")
  ly=$(field y <<<"$l"); first=$(grep -E "^item list=$LIST " "$STATE" | head -1); (( $(field y <<<"$first") >= ly )); }

# The root menu's X window: keys go to the X focus, which openbox may hand
# elsewhere when a hover-opened window goes; then it is given back.
RW=$(grep -E "^window hwnd=$ROOT " "$STATE")
ROOT_GEO="$(field x <<<"$RW") $(field y <<<"$RW") $(field w <<<"$RW") $(field h <<<"$RW")"
ROOT_X=''
for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
  [ "$(x_geometry "$w")" = "$ROOT_GEO" ] && ROOT_X=$w
done
REFOCUSED=0
keys_open() {
  local try
  for try in 1 2 3; do
    key a Right; wait_until 3 opened && return 0
    REFOCUSED=$((REFOCUSED + 1)); echo "leaks: cycle $1: Right opened nothing; focus back to the root" >&2
    [ -n "$ROOT_X" ] && xdotool windowactivate "$ROOT_X" 2>/dev/null
  done
  screenshot "failed-cycle-$1"; state
  return 1
}

cycle() {
  # By keys: a selects alpha, Right opens it, Left closes it.
  keys_open "$1" || { fail "cycle $1: Right opened nothing"; return 1; }
  key Left; wait_until 5 closed || { fail "cycle $1: Left left it open"; return 1; }
  # By hover: rest on alpha, then on a file row.
  mouse_to "$AX" "$AY"; wait_until 5 opened || { fail "cycle $1: resting on alpha opened nothing"; return 1; }
  mouse_to "$FX" "$FY"; wait_until 5 closed || { fail "cycle $1: resting on a file left it open"; return 1; }
  if (( $1 % 10 == 0 )); then
    xdotool key --repeat 160 --delay 5 Down; wait_until 10 last_shows || { fail "cycle $1: Down did not reach the last row"; return 1; }
    xdotool key --repeat 160 --delay 5 Up; wait_until 10 first_shows || { fail "cycle $1: Up did not come back"; return 1; }
  fi
}

T0=$(now)
measure 0 || exit 1
for n in $(seq 1 "$CYCLES"); do
  cycle "$n" || exit 1
  (( n % EVERY == 0 )) && { measure "$n" || exit 1; }
done
echo "leaks: $CYCLES cycles in $(elapsed "$T0") s; the focus was given back to the root $REFOCUSED times"
click_at "$BASE_X" "$BASE_Y"
rc=$(wait_exit 10); echo "leaks: exit $rc"
