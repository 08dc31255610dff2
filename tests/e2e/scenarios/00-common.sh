# shellcheck shell=bash
# Helpers shared by the scenarios (sourced by run.sh before them, in order).

# Where the pointer rests when the program starts (the root menu opens there),
# and a point on the base window far from the menu and from a centred
# message box.
START_X=300 START_Y=200
BASE_X=1800 BASE_Y=100

# start_quince ARGS... -- pointer to the start point, then quince.exe
start_quince() {
  mouse_to "$START_X" "$START_Y"
  run_app "$@" || { fail "quince.exe did not start"; return; }
}

# screen_size -- "W H" of the X screen
screen_size() { xdpyinfo | awk '/dimensions:/{split($2, d, "x"); print d[1], d[2]; exit}'; }

# x_window_with_geometry "X Y W H" -- some visible X window of the program has it
x_window_with_geometry() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
    [ "$(x_geometry "$w")" = "$1" ] && return 0
  done
  return 1
}

# base_covers_screen -- waits for the base window and checks that it covers the
# whole virtual screen (= the Xvfb screen), is layered at alpha 1 and is
# titled "Quince", both as Windows (probe) and as X (xwininfo) see it.
base_covers_screen() {
  local out line sw sh geo
  out=$(probe --wait TBaseForm --timeout 15000) || { fail "no visible TBaseForm window within 15 s"; return; }
  line=$(window_line TBaseForm <<<"$out")
  read -r sw sh <<<"$(screen_size)"
  geo="$(field x <<<"$line") $(field y <<<"$line") $(field w <<<"$line") $(field h <<<"$line")"
  [ "$geo" = "0 0 $sw $sh" ] || { fail "TBaseForm at $geo, screen 0 0 $sw $sh"; return; }
  [ "$(grep '^screen' <<<"$out" | field w)x$(grep '^screen' <<<"$out" | field h)" = "${sw}x$sh" ] ||
    { fail "virtual screen metrics differ from the X screen: $(grep '^screen' <<<"$out")"; return; }
  [ "$(field alpha <<<"$line")" = 1 ] || { fail "TBaseForm alpha $(field alpha <<<"$line"), expected 1"; return; }
  [ "$(field title <<<"$line")" = Quince ] || { fail "TBaseForm title '$(field title <<<"$line")'"; return; }
  wait_until 5 x_window_with_geometry "$geo" || { fail "no X window of the program at $geo"; return; }
  note "base ${sw}x$sh at 0,0 alpha 1"
}

# expect_exit_0 WHAT -- the program ends within 10 s with exit code 0, no crash
expect_exit_0() {
  local rc t; t=$(now)
  rc=$(wait_exit 10)
  crashed && { fail "crashed after $1: $(grep -m1 -E 'Unhandled' "$E2E_DIR/app.err")"; return; }
  [ "$rc" = 0 ] || { fail "after $1: exit code $rc (expected 0)"; return; }
  note "$1 -> exit 0 in $(elapsed "$t") s"
}

# holds_for SECONDS CMD... -- "nothing happens for a while": CMD keeps
# succeeding, checked every 50 ms, for SECONDS; 1 as soon as it fails.
holds_for() {
  local t=$1 s; shift; s=$(now)
  while "$@"; do _past "$s" "$t" && return 0; sleep 0.05; done
  return 1
}

# finding TEXT -- an observation worth reporting, collected in findings.txt
finding() { echo "$E2E_CASE_NAME: $*" >>"$E2E_OUT/findings.txt"; note "$*"; }
