# shellcheck shell=bash
# End-to-end harness: the real quince.exe under Wine on a private Xvfb with
# openbox, driven with xdotool and observed through probe.exe, xwininfo, exit
# codes and screenshots. Sourced by tests/e2e/run.sh.
#
#   e2e_setup                  display + WM, fresh prefix, warm wineserver
#   run_app ARGS...            quince.exe in the background; exit code recorded
#   wait_exit [T]              prints the exit code, or "timeout"
#   probe ARGS... > FILE       probe.exe in the same wineserver (window facts)
#   click_at X Y [BUTTON]      pointer input; key KEYSYM...; focus_away
#   screenshot NAME            PNG into the scenario's artefact folder
#   e2e_teardown               only what we started: our PIDs, our wineserver
#
# Every wait polls with a timeout; nothing sleeps for an effect to happen.

E2E_ROOT=${E2E_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
E2E_EXE=${E2E_EXE:-$E2E_ROOT/build/windows/quince.exe}
E2E_PROBE=${E2E_PROBE:-$E2E_ROOT/build/windows/tests/e2e/probe/probe.exe}
E2E_OUT=${E2E_OUT:-$E2E_ROOT/build/e2e-artifacts}
E2E_PREFIX=${E2E_PREFIX:-$E2E_ROOT/build/wine/e2e-prefix}
# Every scenario's artefacts go to $E2E_DIR (set per scenario by run.sh).
E2E_DIR=${E2E_DIR:-$E2E_OUT}

QUINCE_ROOT=$E2E_ROOT
# shellcheck source=../../scripts/wine-env.sh
. "$E2E_ROOT/scripts/wine-env.sh"

e2e_log()  { printf '[e2e %s] %s\n' "$(date +%T.%2N)" "$*" >&2; }
now()      { date +%s.%N; }
elapsed()  { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN{printf "%.1f", b-a}'; }
_past()    { awk -v s="$1" -v t="$2" -v n="$(date +%s.%N)" 'BEGIN{exit !(n-s>t)}'; }

# wait_until TIMEOUT CMD... -- run CMD every 50 ms until it succeeds; 1 on timeout
wait_until() {
  local t=$1 s; shift; s=$(now)
  until "$@"; do _past "$s" "$t" && return 1; sleep 0.05; done
}

# ------------------------------------------------------------------ set-up --

# e2e_setup -- private Xvfb (1920x1080) + openbox, a fresh prefix copied from
# the template, and a persistent wineserver with Wine's services already
# running, so each program start costs ~0.4 s instead of ~2 s.
e2e_setup() {
  mkdir -p "$E2E_OUT"
  quince_display || return 1
  xdpyinfo >/dev/null 2>&1 || { e2e_log "display $DISPLAY does not answer"; return 1; }
  if [ -n "${E2E_COMPOSITOR:-}" ] && command -v xcompmgr >/dev/null; then
    # Only for pictures: without a compositor the alpha-1 base window is
    # painted opaque in screenshots.
    xcompmgr -n >"$E2E_OUT/xcompmgr.log" 2>&1 &
    E2E_COMP_PID=$!
  fi
  quince_prefix "$E2E_PREFIX" || return 1
  wineserver -p
  wine cmd /c exit 0 >"$E2E_OUT/wine-warm.log" 2>&1
  e2e_log "DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
}

# e2e_teardown -- the program, the focus sink, the compositor, our wineserver,
# openbox and Xvfb; nothing that this harness did not start.
e2e_teardown() {
  stop_app
  close_focus_sink
  [ -n "${E2E_COMP_PID:-}" ] && kill "$E2E_COMP_PID" 2>/dev/null
  E2E_COMP_PID=
  quince_cleanup
}

# --------------------------------------------------------------- the program --

# run_app ARGS... -- start quince.exe in the background. APP_PID is the unix
# PID of its Wine process (also _NET_WM_PID of its X windows); stdout, stderr
# and the exit status go to $E2E_DIR/app.{out,err,rc}.
run_app() { _launch "$E2E_EXE" "$@"; }

# run_app_line LINE -- the same, with exactly the command line "quince.exe"
# LINE (through probe --exec, which waits for it and passes its exit code on;
# APP_PID is then the probe's).
run_app_line() { QUINCE_EXEC_LINE=$1 _launch "$E2E_PROBE" --exec "Z:${E2E_EXE//\//\\}"; }

_launch() {
  local try
  for try in 1 2; do
    rm -f "$E2E_DIR/app.rc" "$E2E_DIR/app.pid"
    (
      wine "$@" >"$E2E_DIR/app.out" 2>"$E2E_DIR/app.err" &
      echo $! >"$E2E_DIR/app.pid"
      wait $!
      echo $? >"$E2E_DIR/app.rc"
    ) &
    wait_until 5 test -s "$E2E_DIR/app.pid" || { e2e_log "no pid for quince.exe"; return 1; }
    APP_PID=$(cat "$E2E_DIR/app.pid")
    printf '%q' "$@" >"$E2E_DIR/app.cmd"
    e2e_log "started $(printf '%.300s' "$*") (pid $APP_PID)"
    [ "$try" = 1 ] && _never_started || break
    e2e_log "it ended with 1 before any window of it was up, printing nothing; started again"
  done
}

# _never_started -- once in many runs Wine fails to start a program just
# after another Wine process has ended: it ends at once with status 1 and
# prints nothing. The program itself ends with 1 only after it has shown its
# error, so such an end before any X window of the process exists is Wine's.
# Watches for up to 2 s; 1 as soon as a window is there or the end is another.
_never_started() {
  local s; s=$(now)
  until _past "$s" 2; do
    if [ -s "$E2E_DIR/app.rc" ]; then
      [ "$(cat "$E2E_DIR/app.rc")" = 1 ] && [ ! -s "$E2E_DIR/app.out" ] && [ ! -s "$E2E_DIR/app.err" ]
      return
    fi
    xdotool search --pid "$APP_PID" >/dev/null 2>&1 && return 1
    sleep 0.05
  done
  return 1
}

app_running() { [ -n "${APP_PID:-}" ] && [ ! -s "$E2E_DIR/app.rc" ] && kill -0 "$APP_PID" 2>/dev/null; }

# wait_exit [TIMEOUT=10] -- the exit code (ExitProcess code & 255) once the
# program has ended; "timeout" and status 1 if it is still running.
wait_exit() {
  if wait_until "${1:-10}" test -s "$E2E_DIR/app.rc"; then cat "$E2E_DIR/app.rc"
  else echo timeout; return 1; fi
}

# crashed -- Wine reports an unhandled exception on stderr even when the
# exit code looks harmless.
crashed() { grep -qE 'Unhandled (page fault|exception)|wine: Unhandled' "$E2E_DIR/app.err" 2>/dev/null; }

# stop_app -- end our program if a scenario left it running (TERM, then KILL).
stop_app() {
  app_running || return 0
  kill "$APP_PID" 2>/dev/null
  wait_exit 5 >/dev/null || kill -9 "$APP_PID" 2>/dev/null
  wait_until 5 test -s "$E2E_DIR/app.rc"
}

# debug_output -- the program's OutputDebugString lines (WINEDEBUG warn+seh
# logs them on stderr as C-escaped ANSI text).
debug_output() {
  sed -n 's/^[0-9a-f]*:warn:seh:OutputDebugStringA "\(.*\)"$/\1/p' "$E2E_DIR/app.err" 2>/dev/null |
    python3 -c '
import sys
for line in sys.stdin.buffer.read().decode("latin-1").splitlines():
    try: line = line.encode("latin-1").decode("unicode_escape").encode("latin-1").decode("cp1252", "replace")
    except Exception: pass
    print(line)'
}
wait_debug() { wait_until "${2:-10}" _debug_has "$1"; }
_debug_has() { debug_output | grep -qE -- "$1"; }

# ------------------------------------------------------------------- probe --

# probe ARGS... -- run probe.exe in our wineserver; its lines on stdout, and a
# copy in $E2E_DIR/probe.log. Status 2: a --wait/--gone condition timed out.
# A probe that printed nothing and ended with neither 0 nor 2 never ran (once
# in many runs, Wine failed to start one just after another Wine process had
# ended): it is started again, once, and that is logged.
probe() {
  local out rc try
  for try in 1 2; do
    out=$(set -o pipefail; wine "$E2E_PROBE" "$@" 2>>"$E2E_DIR/probe.err" | tr -d '\r'); rc=$?
    { echo "## probe $* -> $rc"; printf '%s\n' "$out"; } >>"$E2E_DIR/probe.log"
    [ -z "$out" ] && [ $rc -ne 0 ] && [ $rc -ne 2 ] && [ $try = 1 ] || break
    e2e_log "probe $* ended with $rc and printed nothing; started again"
  done
  printf '%s\n' "$out"
  return $rc
}

# field KEY -- value of KEY=... in the probe line on stdin. Free text comes
# quoted at the end of the line (title="..." [text="..."], exe="...").
field() {
  case $1 in
    text|exe) sed -n "s/.* $1=\"\(.*\)\"\$/\1/p" | head -1 ;;
    title)    sed -n 's/.* title="\([^"]*\)".*/\1/p' | head -1 ;;
    *)        tr ' ' '\n' | sed -n "s/^$1=//p" | head -1 ;;
  esac
}

# window_line CLASS < probe output -- the first visible top-level window of CLASS
window_line() { grep -E "^window .*class=$1 .*visible=1" | head -1; }
msgbox_line() { grep -E '^msgbox .*visible=1' | head -1; }

# no_leftovers -- the program's unix process is gone and our wineserver runs
# no quince.exe and shows none of its windows any more.
no_leftovers() {
  local out
  if [ -n "${APP_PID:-}" ] && kill -0 "$APP_PID" 2>/dev/null; then echo "unix pid $APP_PID still alive"; return 1; fi
  out=$(probe --processes)
  if grep -qi 'exe="quince.exe"' <<<"$out"; then echo "quince.exe still in the wineserver"; return 1; fi
  if grep -qE '^window .*class=(TBaseForm|TFolderForm) ' <<<"$out"; then echo "Quince windows left"; return 1; fi
  return 0
}

# ------------------------------------------------------------------- X side --

# x_geometry WID -- "X Y W H" of the X window (with Decorated=N in the prefix
# this equals GetWindowRect)
x_geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/{x=$NF}
    /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}

# wait_xwindow SEARCH-ARGS... TIMEOUT -- the last visible X window matching
# `xdotool search` (WM_NAME = window text, _NET_WM_PID = unix PID)
wait_xwindow() {
  local t=${*: -1} args=("${@:1:$#-1}") s out; s=$(now)
  while :; do
    out=$(xdotool search --onlyvisible "${args[@]}" 2>/dev/null | tail -1)
    [ -n "$out" ] && { echo "$out"; return 0; }
    _past "$s" "$t" && return 1
    sleep 0.05
  done
}

# mouse_to X Y -- move and poll until the server has the pointer there. (Not
# `mousemove --sync`: it can stall 15 s when the pointer is already there.)
mouse_to() {
  xdotool mousemove "$1" "$2"
  wait_until 2 _pointer_at "$1" "$2" || e2e_log "pointer did not reach $1,$2"
}
_pointer_at() {
  local X Y SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell 2>/dev/null)"
  [ "${X:-}" = "$1" ] && [ "${Y:-}" = "$2" ]
}

# click_at X Y [BUTTON=1] -- move there first so Wine sees the motion (it
# tracks the window under the pointer from motion events), then click. The X
# server hands the program the motion before the press, so no pause between.
click_at() {
  mouse_to "$1" "$2"
  xdotool click "${3:-1}"
}

# press_for SECONDS [BUTTON=1] -- a press of the given length where the
# pointer is: the length is the input itself, not a wait for an effect.
press_for() {
  xdotool mousedown "${2:-1}"
  sleep "$1"
  xdotool mouseup "${2:-1}"
}

# key KEYSYM... -- keys go to the X focus window (openbox focuses new windows)
key() { xdotool key --delay 50 "$@"; }

# focus_away -- the user turns to another application: an xterm is mapped and
# activated through openbox, which deactivates the Wine program.
focus_away() {
  if [ -z "${E2E_SINK_PID:-}" ] || ! kill -0 "$E2E_SINK_PID" 2>/dev/null; then
    xterm -geometry 20x2-0-0 -T e2e-focus-sink >/dev/null 2>&1 &
    E2E_SINK_PID=$!
  fi
  local w; w=$(wait_xwindow --name '^e2e-focus-sink$' 5) || return 1
  xdotool windowactivate "$w"
}
close_focus_sink() {
  [ -n "${E2E_SINK_PID:-}" ] || return 0
  kill "$E2E_SINK_PID" 2>/dev/null
  wait "$E2E_SINK_PID" 2>/dev/null
  E2E_SINK_PID=
}

# screenshot NAME [X Y W H] -- whole screen, or a part of it, as $E2E_DIR/NAME.png
screenshot() {
  local f=$E2E_DIR/$1.png
  if [ $# -ge 5 ]; then
    import -silent -window root -crop "${4}x${5}+${2}+${3}" +repage "$f" 2>>"$E2E_DIR/import.log"
  else
    import -silent -window root "$f" 2>>"$E2E_DIR/import.log"
  fi
}

# screenshot_settled NAME [X Y W H] -- like screenshot, but only once two
# pictures in a row are the same (rows and icons are painted after the window
# shows; icons arrive from worker threads), at most about 3 s.
screenshot_settled() {
  local name=$1 prev='' sum s; shift; s=$(now)
  while :; do
    screenshot "$name" "$@" || return 1
    sum=$(md5sum <"$E2E_DIR/$name.png")
    [ "$sum" = "$prev" ] && return 0
    _past "$s" 3 && { e2e_log "screen still changing; $name.png is the last picture"; return 0; }
    prev=$sum
    sleep 0.1
  done
}
