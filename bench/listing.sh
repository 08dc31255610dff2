#!/usr/bin/env bash
# Listing speed: how long quince.exe takes to show the root menu of a big
# folder, against enum_listing.exe, which does only the shell work that the
# rows need (enumerate; parsing name, folder attribute and in-folder name of
# each item; CompareIDs sort) and exits.
#
#   bash bench/listing.sh [RUNS]        (RUNS of each, default 7)
#
# Environment: BENCH_TIMEOUT  seconds one quince.exe run may take to show all
# its rows (default 60). Logs go to build/bench-logs/.
#
# Both programs run under Wine on a private Xvfb, in a fresh prefix, with a
# persistent wineserver that is already warm, so neither pays Wine's cold
# start. The folder C:\bench\big (10,000 empty files, 1,000 sub-folders) is
# made on the unix side. After one untimed run of each, the runs alternate,
# so that a load change on the machine hits both alike. C:\windows\system32 is
# timed the same way, then once more up to its first fully painted menu: all
# rows in and every visible row showing its icon.
#
# What is timed:
#   enum_listing.exe  the whole process, from just before `wine` starts to its
#                     exit.
#   quince.exe        from just before `wine` starts to the first poll that
#                     sees a visible TFolderForm whose list holds as many rows
#                     as enum_listing.exe counted. wait_listed.exe, started
#                     beforehand in the same wineserver, polls every 20 ms and
#                     stamps the unix wall clock itself, so a reading is late
#                     by at most one poll (20 ms) plus the time the program
#                     takes to answer LB_GETCOUNT when it next reads messages;
#                     it is never early. Each poll costs well under a
#                     millisecond of the second core. The program is then
#                     killed and gone before the next run starts.
set -u
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT" || exit 1
RUNS=${1:-7}
case $RUNS in '' | *[!0-9]* | 0) echo "usage: bash bench/listing.sh [RUNS]" >&2; exit 64 ;; esac
TIMEOUT=${BENCH_TIMEOUT:-60}
LOGS=$ROOT/build/bench-logs
BIG_DIR='C:\bench\big'
SYS_DIR='C:\windows\system32'

say() { printf '%s\n' "$*"; }

# ------------------------------------------------------------------ build --
bash scripts/install-deps.sh </dev/null || exit 1
. /root/.ccache-env 2>/dev/null || true
mkdir -p "$LOGS"
if ! { { [ -f build/windows/build.ninja ] || cmake --preset windows >"$LOGS/configure.log" 2>&1; } &&
       cmake --build --preset windows -j 2 \
         --target quince quince_bench_enum_listing quince_bench_wait_listed >"$LOGS/build.log" 2>&1; }; then
  say "build failed; the end of ${LOGS#"$ROOT"/}/build.log (or configure.log):"
  tail -n 30 "$LOGS/build.log" 2>/dev/null || tail -n 30 "$LOGS/configure.log"
  exit 1
fi
QUINCE=$ROOT/build/windows/quince.exe
ENUM=$ROOT/build/windows/bench/enum_listing.exe
WAITER=$ROOT/build/windows/bench/wait_listed.exe

# ------------------------------------------------------ display and prefix --
# shellcheck source=../scripts/wine-env.sh
. "$ROOT/scripts/wine-env.sh"
APP_PID=''
cleanup() {
  stop_quince
  quince_cleanup   # our wineserver (this prefix only), openbox, Xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM

quince_display || exit 1
quince_prefix "$QUINCE_STATE/bench-prefix" || exit 1
wineserver -p
wine cmd /c exit 0 >"$LOGS/wine-warm.log" 2>&1
# The root menu opens at the pointer; from here it grows down the screen.
xdotool mousemove 200 100

big=$WINEPREFIX/drive_c/bench/big
mkdir -p "$big" && (
  cd "$big" || exit 1
  touch file-{00001..10000}.txt && mkdir folder-{0001..1000}
) || { say "could not prepare $big"; exit 1; }

# ---------------------------------------------------------------- timing --
# elapsed T0 T1 -- T1 - T0 in seconds
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.3f", b - a}'; }

# time_enum DIR -- prints "SECONDS COUNT" for one whole enum_listing.exe run
time_enum() {
  local t0 t1 out
  t0=$EPOCHREALTIME
  out=$(wine "$ENUM" "$1" 2>>"$LOGS/enum.err")
  t1=$EPOCHREALTIME
  out=${out//$'\r'/}
  case $out in '' | *[!0-9]*) say "enum_listing.exe $1 failed: $(tail -n 1 "$LOGS/enum.err")" >&2; return 1 ;; esac
  echo "$(elapsed "$t0" "$t1") $out"
}

stop_quince() {
  [ -n "$APP_PID" ] || return 0
  kill "$APP_PID" 2>/dev/null
  for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.05; done
  kill -9 "$APP_PID" 2>/dev/null
  wait "$APP_PID" 2>/dev/null
  APP_PID=''
}

# time_quince ARG ROWS -- prints the seconds until quince.exe ARG shows its
# root menu with ROWS rows (with WAIT_ICONS set: and every visible row shows
# its icon, as a picture of the screen has it); explains and fails when it
# does not. Call it in a
# subshell, $(...): the waiter's coprocess and APP_PID stay in there.
time_quince() {
  local arg=$1 rows=$2 line='' t0 rc deadline
  coproc WAIT { exec wine "$WAITER" "$rows" "$((TIMEOUT * 1000))" ${WAIT_ICONS:+--icons} 2>>"$LOGS/wait.err"; }
  # Bash forgets WAIT_PID as soon as the coprocess ends.
  local waiter=$WAIT_PID
  # The waiter needs its own ~0.4 s to start; quince.exe starts after it.
  if ! read -r -t 30 line <&"${WAIT[0]}" || [ "${line%$'\r'}" != ready ]; then
    say "wait_listed.exe did not get ready: ${line:-no answer}" >&2
    return 1
  fi
  t0=$EPOCHREALTIME
  wine "$QUINCE" "$arg" >>"$LOGS/quince.out" 2>>"$LOGS/quince.err" &
  APP_PID=$!
  deadline=$((SECONDS + TIMEOUT + 10))
  line=''
  while :; do
    read -r -t 1 line <&"${WAIT[0]}" && break
    rc=$?
    if [ $rc -le 128 ]; then line=''; break; fi   # the waiter ended without a word
    if ! kill -0 "$APP_PID" 2>/dev/null; then
      wait "$APP_PID"; rc=$?; APP_PID=''
      say "quince.exe $arg ended (exit code $rc) before it showed $rows rows" >&2
      return 1
    fi
    [ $SECONDS -lt $deadline ] || break
  done
  line=${line%$'\r'}
  stop_quince
  kill "$waiter" 2>/dev/null
  wait "$waiter" 2>/dev/null
  case $line in
    "met "*)
      case $line in *visible=*) echo "${line##*visible=}" >"$LOGS/visible-rows" ;; esac
      elapsed "$t0" "$(sed -n 's/.* unix=\([0-9.]*\).*/\1/p' <<<"$line")"; echo ;;
    "timeout visible=0"*)
      say "quince.exe $arg showed no menu window within $TIMEOUT s" >&2; return 1 ;;
    "timeout "*)
      say "quince.exe $arg showed its menu, but its list held ${line##*rows=} rows, not $rows, for $TIMEOUT s" >&2
      return 1 ;;
    *) say "wait_listed.exe: ${line:-no answer}" >&2; return 1 ;;
  esac
}

# median -- of the numbers on stdin, 2 decimals
median() {
  sort -g | awk '{v[NR] = $1} END {
    if (NR == 0) exit 1
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.2f", m }'
}

# bench DIR QUINCE-ARG -- RUNS alternating runs of both after a warm-up of
# each; sets ENUM_TIMES, QUINCE_TIMES (one per line; QUINCE_TIMES empty when
# quince.exe could not be timed) and ROWS
bench() {
  local dir=$1 arg=$2 r t i
  r=$(time_enum "$dir") || return 1
  ROWS=${r#* } ENUM_TIMES='' QUINCE_TIMES=''
  local quince_ok=1
  t=$(time_quince "$arg" "$ROWS") || quince_ok=0
  for ((i = 1; i <= RUNS; i++)); do
    r=$(time_enum "$dir") || return 1
    [ "${r#* }" = "$ROWS" ] || { say "enum_listing.exe $dir counted ${r#* } items, before $ROWS" >&2; return 1; }
    ENUM_TIMES+="${r% *}"$'\n'
    if [ $quince_ok = 1 ]; then
      t=$(time_quince "$arg" "$ROWS") || { quince_ok=0; QUINCE_TIMES=''; continue; }
      QUINCE_TIMES+="$t"$'\n'
    fi
  done
}

runs_text() { printf '%s' "${1%$'\n'}" | tr '\n' ' '; }

say "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(wine --version)"
say "folder $BIG_DIR: 10000 empty files and 1000 sub-folders; $RUNS runs of each, alternating, after one untimed run of each"
status=0

bench "$BIG_DIR" "$BIG_DIR\\" || exit 1
ENUM_MED=$(median <<<"$ENUM_TIMES")
say "enum_listing.exe $BIG_DIR: $ROWS items, median $ENUM_MED s (runs: $(runs_text "$ENUM_TIMES"))"
if [ -n "$QUINCE_TIMES" ]; then
  QUINCE_MED=$(median <<<"$QUINCE_TIMES")
  say "quince.exe $BIG_DIR\\ root menu with all $ROWS rows: median $QUINCE_MED s (runs: $(runs_text "$QUINCE_TIMES"))"
  say "ratio quince/enum: $(awk -v q="$QUINCE_MED" -v e="$ENUM_MED" 'BEGIN{printf "%.2f", q / e}')"
else
  say "quince.exe $BIG_DIR\\: not timed (see the message above)"
  status=1
fi

bench "$SYS_DIR" "$SYS_DIR\\" || exit 1
if [ -n "$QUINCE_TIMES" ]; then
  say "quince.exe $SYS_DIR\\ root menu with all $ROWS rows: median $(median <<<"$QUINCE_TIMES") s (runs: $(runs_text "$QUINCE_TIMES"))"
else
  say "quince.exe $SYS_DIR\\: not timed (see the message above)"
  status=1
fi
say "enum_listing.exe $SYS_DIR: $ROWS items, median $(median <<<"$ENUM_TIMES") s"

# The first fully painted menu: all rows in and the icons of the visible ones.
WAIT_ICONS=1
bench "$SYS_DIR" "$SYS_DIR\\" || exit 1
if [ -n "$QUINCE_TIMES" ]; then
  say "quince.exe $SYS_DIR\\ root menu painted, icons of its $(cat "$LOGS/visible-rows") visible rows included: median $(median <<<"$QUINCE_TIMES") s (runs: $(runs_text "$QUINCE_TIMES"))"
else
  say "quince.exe $SYS_DIR\\ painted: not timed (see the message above)"
  status=1
fi
exit $status
