#!/usr/bin/env bash
# Menu speed: quince.exe against the floor, side by side in one run.
#
#   bash bench/menu_speed.sh [RUNS] [--force]      (RUNS of each, default 3)
#   bash bench/menu_speed.sh [RUNS] --answers      (only the answers; no file)
#   bash bench/menu_speed.sh [RUNS] --empty        (only the empty folder; no file)
#
# The floor is floor_menu.exe: the least any popup listing of a folder must
# do (enumerate; parsing name, folder attribute and in-folder name of each
# item, on one thread; CompareIDs sort; one popup holding a plain LISTBOX of
# the names). Both are timed the same way, from just before `wine` starts to
# the first poll of wait_listed.exe (every 20 ms, in the same wineserver) that
# sees a visible window of theirs whose list holds all the rows. For a child,
# from just before the Right key is sent to the child window holding its rows.
#
# Answers: with the 50,000 files, from the rows being there to the last
# caption, how long a message sent to the menu's list waits for the window's
# thread, and how long a posted Down key takes to move the selection
# (answer_times.exe); the target is 100 ms at most.
#
# Folders: an empty one, C:\windows\system32, 10,000 files + 1,000 folders,
# 50,000 files, and the 11,000-entry folder opened as a child by key. Memory:
# the Wine process's anonymous resident pages (RssAnon) with the 50,000-entry
# menu up, less those with the empty folder's, per entry.
#
# The prefix has the .txt association Windows has (HKCR\.txt = txtfile): it
# doubles what Wine's in-folder name of a .txt file costs. The runs alternate
# (floor, quince, floor, ...) after one untimed run of each, so that a change
# of load hits both alike; medians are reported. A ratio is refused when the
# load average is above 1.0 before the run (busy machines flatter the
# threaded program), unless --force; the load after is printed too. Writes
# docs/benchmarks.md.
#
# Environment: BENCH_TIMEOUT seconds one run may take (default 90);
# QUINCE_BEFORE, the path of another quince.exe (an earlier build) to time
# alongside, as a third program in each round. Logs go to build/bench-logs/.
set -u
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT" || exit 1
RUNS=3 FORCE=0 ONLY=
for a in "$@"; do
  case $a in
    --force) FORCE=1 ;;
    --answers | --empty) ONLY=${a#--} ;;
    '' | *[!0-9]* | 0) echo "usage: bash bench/menu_speed.sh [RUNS] [--force | --answers | --empty]" >&2; exit 64 ;;
    *) RUNS=$a ;;
  esac
done
TIMEOUT=${BENCH_TIMEOUT:-90}
LOGS=$ROOT/build/bench-logs
OUT=$ROOT/docs/benchmarks.md
say() { printf '%s\n' "$*"; }

# ------------------------------------------------------------------ build --
bash scripts/install-deps.sh </dev/null || exit 1
mkdir -p "$LOGS"
if ! { { [ -f build/windows/build.ninja ] || cmake --preset windows >"$LOGS/configure.log" 2>&1; } &&
       cmake --build --preset windows -j 2 \
         --target quince quince_bench_floor_menu quince_bench_wait_listed quince_bench_enum_listing \
         quince_bench_answer_times >"$LOGS/build.log" 2>&1; }; then
  say "build failed; the end of ${LOGS#"$ROOT"/}/build.log (or configure.log):"
  tail -n 30 "$LOGS/build.log" 2>/dev/null || tail -n 30 "$LOGS/configure.log"
  exit 1
fi
QUINCE=$ROOT/build/windows/quince.exe
FLOOR=$ROOT/build/windows/bench/floor_menu.exe
WAITER=$ROOT/build/windows/bench/wait_listed.exe
ENUM=$ROOT/build/windows/bench/enum_listing.exe
ANSWERS=$ROOT/build/windows/bench/answer_times.exe
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)

# ------------------------------------------------------ display and prefix --
# shellcheck source=../scripts/wine-env.sh
. "$ROOT/scripts/wine-env.sh"
APP_PID=''
stop_app() {
  [ -n "$APP_PID" ] || return 0
  kill "$APP_PID" 2>/dev/null
  for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.05; done
  kill -9 "$APP_PID" 2>/dev/null
  wait "$APP_PID" 2>/dev/null
  APP_PID=''
}
cleanup() { stop_app; quince_cleanup; }
trap cleanup EXIT
trap 'exit 130' INT TERM

quince_display || exit 1
quince_prefix "$QUINCE_STATE/bench-prefix" || exit 1
wineserver -p
wine reg add 'HKCR\.txt' /ve /d txtfile /f >"$LOGS/wine-warm.log" 2>&1

wine cmd /c exit 0 >>"$LOGS/wine-warm.log" 2>&1
xdotool mousemove 200 100

bench_dir=$WINEPREFIX/drive_c/bench
mkdir -p "$bench_dir/empty" "$bench_dir/big" "$bench_dir/huge" && (
  cd "$bench_dir/big" && touch file-{00001..10000}.txt && mkdir -p folder-{0001..1000} &&
  cd "$bench_dir/huge" && touch file-{00001..50000}.txt
) || { say "could not prepare $bench_dir"; exit 1; }

# ---------------------------------------------------------------- timing --
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.3f", b - a}'; }
median() {
  sort -g | awk '{v[NR] = $1} END {
    if (NR == 0) exit 1
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.2f", m }'
}

# start_waiter ROWS CLASS [FLAGS...] -- starts wait_listed.exe as coprocess
# W and waits for its "ready"
start_waiter() {
  local rows=$1 class=$2; shift 2
  coproc W { exec wine "$WAITER" "$rows" "$((TIMEOUT * 1000))" --class "$class" "$@" 2>>"$LOGS/wait.err"; }
  WAITER_PID=$W_PID
  local line=''
  read -r -t 30 line <&"${W[0]}" && [ "${line%$'\r'}" = ready ] && return 0
  say "wait_listed.exe did not get ready: ${line:-no answer}" >&2
  return 1
}

# read_stamp WORD -- reads the waiter's next line, which must begin with
# WORD; prints its unix time
read_stamp() {
  local line='' deadline=$((SECONDS + TIMEOUT + 10)) rc
  while :; do
    read -r -t 1 line <&"${W[0]}" && break
    rc=$?
    if [ $rc -le 128 ]; then line=''; break; fi
    if ! kill -0 "$APP_PID" 2>/dev/null; then say "the program ended before its menu showed" >&2; return 1; fi
    [ $SECONDS -lt $deadline ] || break
  done
  line=${line%$'\r'}
  case $line in
    "$1 "*) sed -n 's/.* unix=\([0-9.]*\).*/\1/p' <<<"$line" ;;
    *) say "wait_listed.exe: ${line:-no answer}" >&2; return 1 ;;
  esac
}

# await KIND T0 -- prints "FINAL USABLE": seconds since T0 to the rows being
# there with every caption final, and to the window being there with its
# rows (for quince the first screenful captioned; the same for the others,
# which show nothing before all is final)
await() {
  local met final rc=0
  met=$(read_stamp met) || rc=1
  if [ $rc = 0 ] && [ "$1" = quince ]; then final=$(read_stamp final) || rc=1; else final=$met; fi
  kill "$WAITER_PID" 2>/dev/null; wait "$WAITER_PID" 2>/dev/null
  [ $rc = 0 ] || return 1
  echo "$(elapsed "$2" "$final") $(elapsed "$2" "$met")"
}

waiter_flags() { [ "$1" = quince ] && echo --then-final; }

# launch KIND DIR [CHILD] -- starts floor_menu.exe DIR [CHILD], or quince.exe
# (KIND quince) or QUINCE_BEFORE (KIND before) on DIR\; sets APP_PID
launch() {
  case $1 in
    floor) wine "$FLOOR" "$2" ${3:+"$3"} >>"$LOGS/floor.out" 2>&1 & ;;
    quince) wine "$QUINCE" "$2\\" >>"$LOGS/quince.out" 2>&1 & ;;
    before) wine "$QUINCE_BEFORE" "$2\\" >>"$LOGS/before.out" 2>&1 & ;;
  esac
  APP_PID=$!
}

# time_root KIND DIR ROWS -- one run of KIND (floor|quince|before) on DIR:
# "FINAL USABLE" seconds to its menu with ROWS rows; with MEM_FILE set, also
# writes RssAnon (kB) once all is final
time_root() {
  local kind=$1 dir=$2 rows=$3 class t0 t
  class=$([ "$kind" = floor ] && echo FloorMenu || echo TFolderForm)
  # An empty folder: the floor's list is empty, a menu shows its placeholder.
  [ "$rows" = 0 ] && [ "$kind" != floor ] && rows=1
  start_waiter "$rows" "$class" $(waiter_flags "$kind") || return 1
  t0=$EPOCHREALTIME
  launch "$kind" "$dir"
  t=$(await "$kind" "$t0") || { stop_app; return 1; }
  [ -n "${MEM_FILE:-}" ] && sed -n 's/^RssAnon:[[:space:]]*\([0-9]*\).*/\1/p' "/proc/$APP_PID/status" >"$MEM_FILE"
  stop_app
  echo "$t"
}

# time_child KIND -- one run: KIND shows C:\bench (big, empty, huge); then
# "FINAL USABLE" seconds from the Right key on "big" to its 11,000-row child
time_child() {
  local kind=$1 class t0 t
  class=$([ "$kind" = floor ] && echo FloorMenu || echo TFolderForm)
  start_waiter 3 "$class" || return 1
  launch "$kind" 'C:\bench' big
  read_stamp met >/dev/null || { stop_app; return 1; }
  kill "$WAITER_PID" 2>/dev/null; wait "$WAITER_PID" 2>/dev/null
  # Keys go to the X window with the focus (openbox focuses a new menu of
  # Quince's; the floor's popup is given it).
  local w
  if [ "$kind" = floor ]; then
    for w in $(xdotool search --onlyvisible --name '^floor$' 2>/dev/null); do xdotool windowactivate "$w" 2>/dev/null; done
  fi
  sleep 0.3
  # The first letter selects "big" (Quince opens only a selected row).
  [ "$kind" != floor ] && xdotool key b && sleep 0.3
  start_waiter 11000 "$class" --shown $(waiter_flags "$kind") || { stop_app; return 1; }
  t0=$EPOCHREALTIME
  xdotool key Right
  t=$(await "$kind" "$t0") || { stop_app; return 1; }
  stop_app
  echo "$t"
}

# time_answers -- one run of quince.exe on the 50,000 files, watched by
# answer_times.exe: prints "SENT_MEDIAN SENT_MAX KEY_MEDIAN KEY_MAX" (ms)
time_answers() {
  local run=$LOGS/answers.run watcher i sent key span
  : >"$run"
  # A file, not a pipe: the watcher's last lines stay readable once it ends.
  wine "$ANSWERS" 50000 "$((TIMEOUT * 1000))" >"$run" 2>>"$LOGS/answers.err" &
  watcher=$!
  for ((i = 0; i < 800; i++)); do
    grep -q '^ready' "$run" && break
    kill -0 "$watcher" 2>/dev/null || break
    sleep 0.05
  done
  if ! grep -q '^ready' "$run"; then
    say "answer_times.exe did not get ready: $(tr -d '\r' <"$run" | head -n 1)" >&2
    kill "$watcher" 2>/dev/null; wait "$watcher" 2>/dev/null
    return 1
  fi
  launch quince 'C:\bench\huge'
  # It ends once the menu is final, or at its own timeout.
  wait "$watcher" 2>/dev/null
  stop_app
  tr -d '\r' <"$run" | tee -a "$LOGS/answers.out" >"$run.txt"
  sent=$(grep '^sent ' "$run.txt") key=$(grep '^key ' "$run.txt") span=$(grep '^span=' "$run.txt")
  [ -n "$span" ] || { say "answer_times.exe: $(tail -n 1 "$run.txt")" >&2; return 1; }
  field() { sed -n "s/.* $1=\([0-9.]*\).*/\1/p" <<<"$2"; }
  echo "$(field median "$sent") $(field max "$sent") $(field median "$key") $(field max "$key")"
}

# answers -- RUNS runs of time_answers; sets ANSWER_LINE and ANSWER_MAX
answers() {
  local r i sm='' sx='' km='' kx=''
  for ((i = 1; i <= RUNS; i++)); do
    r=$(time_answers) || return 1
    read -r a b c d <<<"$r"
    sm+="$a " sx+="$b " km+="$c " kx+="$d "
  done
  ANSWER_MAX=$(most "$sx $kx")
  ANSWER_LINE="sent message: median $(med "$sm") ms, longest $(most "$sx") ms (longest per run: $sx); Down key to the selection moved: median $(med "$km") ms, longest $(most "$kx") ms (longest per run: $kx)"
  say "answers while 50,000 captions arrive: $ANSWER_LINE"
}

# med WORDS -- the median of the numbers in WORDS
med() { tr ' ' '\n' <<<"$1" | grep . | median; }
# most WORDS -- the largest of the numbers in WORDS
most() { tr ' ' '\n' <<<"$1" | grep . | sort -g | tail -n 1; }

# pair NAME CMD... -- RUNS alternating runs of "CMD floor", "CMD quince"
# (and "CMD before") after an untimed one of each; adds a table row
pair() {
  local name=$1; shift
  local f q b i fr='' qr='' qu='' br='' bm=''
  "$@" floor >/dev/null && "$@" quince >/dev/null || { say "$name: a warm-up run failed" >&2; return 1; }
  [ -z "${QUINCE_BEFORE:-}" ] || "$@" before >/dev/null || { say "$name: a warm-up run failed" >&2; return 1; }
  for ((i = 1; i <= RUNS; i++)); do
    f=$("$@" floor) || return 1
    q=$("$@" quince) || return 1
    fr+="${f%% *} " qr+="${q%% *} " qu+="${q##* } "
    if [ -n "${QUINCE_BEFORE:-}" ]; then b=$("$@" before) || return 1; br+="${b%% *} "; fi
  done
  [ -n "$br" ] && bm=$(med "$br")
  local F Q U ratio
  F=$(med "$fr") Q=$(med "$qr") U=$(med "$qu")
  ratio=$(awk -v q="$Q" -v f="$F" 'BEGIN{printf "%.2f", q / f}')
  LAST_F=$F LAST_U=$U LAST_RATIO=$ratio
  # Successive runs slower: each of quince's runs slower than the one before,
  # the last by more than a tenth over the first.
  if awk '{ for (i = 2; i <= NF; i++) if ($i <= $(i - 1)) exit 1; exit !(NF > 1 && $NF > 1.1 * $1) }' <<<"$qr"; then
    GROWING+="${GROWING:+; }$name ($qr)"
  fi
  TABLE+="| $name | $Q s | $F s | **$ratio** | $U s | $qr/ $fr |${bm:+ $bm s ($br) |}"$'\n'
  say "$name: quince all final $Q s, usable $U s; floor $F s; ratio $ratio (quince: $qr; usable: $qu; floor: $fr)${bm:+; earlier build: $bm s ($br)}"
}

root_run() { local kind=$3; time_root "$kind" "$1" "$2"; }

MACHINE="$(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(wine --version)"
say "machine: $MACHINE; load average before: $LOAD_BEFORE; $RUNS runs of each, alternating"
TABLE=''
GROWING=''
status=0
if [ -n "$ONLY" ]; then
  case $ONLY in
    answers) answers || status=1 ;;
    empty) pair "empty folder" root_run 'C:\bench\empty' 0 || status=1 ;;
  esac
  say "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
  exit $status
fi
pair "empty folder" root_run 'C:\bench\empty' 0 || status=1
EMPTY_FLOOR=${LAST_F:-} EMPTY_RATIO=${LAST_RATIO:-}
SYS_ROWS=$(wine "$ENUM" 'C:\windows\system32' 2>>"$LOGS/enum.err" | tr -d '\r')
pair 'C:\windows\system32' root_run 'C:\windows\system32' "$SYS_ROWS" || status=1
pair "10,000 files + 1,000 folders" root_run 'C:\bench\big' 11000 || status=1
BIG_USABLE=${LAST_U:-}
pair "50,000 files" root_run 'C:\bench\huge' 50000 || status=1
HUGE_USABLE=${LAST_U:-}
pair "child of 11,000 entries, Right key to its window" time_child || status=1

answers || status=1

# Memory: the 50,000-entry menu against the empty one, per entry.
rm -f "$LOGS/mem-empty" "$LOGS/mem-huge"
MEM_FILE=$LOGS/mem-empty time_root quince 'C:\bench\empty' 0 >/dev/null &&
MEM_FILE=$LOGS/mem-huge time_root quince 'C:\bench\huge' 50000 >/dev/null &&
PER_ENTRY=$(awk -v a="$(cat "$LOGS/mem-empty")" -v b="$(cat "$LOGS/mem-huge")" 'BEGIN{printf "%.2f", (b - a) / 50000}')
say "memory: RssAnon ${PER_ENTRY:-?} KiB per entry at 50,000 entries ($(cat "$LOGS/mem-empty" 2>/dev/null) kB empty, $(cat "$LOGS/mem-huge" 2>/dev/null) kB with 50,000)"

LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)
say "load average after: $LOAD_AFTER"
# The gate is the machine before the run: the run itself keeps two programs
# and the wineserver busy, which lifts the one-minute average past 1.0 on
# two cores whatever else runs.
busy=$(awk -v a="${LOAD_BEFORE%% *}" 'BEGIN{print (a > 1.0) ? 1 : 0}')
if [ "$busy" = 1 ] && [ "$FORCE" = 0 ]; then
  say "the load average was above 1.0: no ratio is reported (bash bench/menu_speed.sh $RUNS --force to write it anyway)"
  exit 1
fi
{
  echo "# Menu speed"
  echo
  echo "Written by \`bash bench/menu_speed.sh $RUNS\` on $(date -u '+%Y-%m-%d %H:%M UTC'): $MACHINE."
  echo "Load average before: $LOAD_BEFORE; after: $LOAD_AFTER.$([ "$busy" = 1 ] && echo ' **Busy machine: the ratios flatter quince.exe.**')"
  echo
  echo "Seconds from \`wine\` start (for the child: from the Right key) to the window showing all its rows, medians of $RUNS alternating runs. The floor is bench/floor_menu.exe."
  echo
  if [ -n "${QUINCE_BEFORE:-}" ]; then
    echo "| folder | quince, all captions final | floor | ratio | quince usable | runs (quince / floor) | earlier build |"
    echo "|---|---|---|---|---|---|---|"
  else
    echo "| folder | quince, all captions final | floor | ratio | quince usable | runs (quince / floor) |"
    echo "|---|---|---|---|---|---|"
  fi
  printf '%s' "$TABLE"
  echo
  echo "Answers while the 50,000 files' captions arrive ($RUNS runs, bench/answer_times.exe): ${ANSWER_LINE:-not measured}."
  echo
  echo "Memory: ${PER_ENTRY:-?} KiB per entry (RssAnon of the Wine process with 50,000 entries listed, less that with an empty folder)."
  echo
  echo "Targets:"
  verdict() { awk -v v="$1" -v t="$2" 'BEGIN{ if (v == "" || t == "") print "not measured"; else print (v <= t) ? "met" : "not met" }'; }
  echo "- all captions final at most 1.0 times the floor: see the ratio column."
  echo "- usable menu, 11,000 entries, within the floor's empty-folder time + 0.5 s: ${BIG_USABLE:-?} s against $(awk -v e="${EMPTY_FLOOR:-0}" 'BEGIN{printf "%.2f", e + 0.5}') s: $(verdict "${BIG_USABLE:-}" "$(awk -v e="${EMPTY_FLOOR:-0}" 'BEGIN{print e + 0.5}')")."
  echo "- usable menu, 50,000 entries, within the floor's empty-folder time + 1.0 s: ${HUGE_USABLE:-?} s against $(awk -v e="${EMPTY_FLOOR:-0}" 'BEGIN{printf "%.2f", e + 1.0}') s: $(verdict "${HUGE_USABLE:-}" "$(awk -v e="${EMPTY_FLOOR:-0}" 'BEGIN{print e + 1.0}')")."
  echo "- empty folder at most 1.2 times the floor: ${EMPTY_RATIO:-?}: $(verdict "${EMPTY_RATIO:-}" 1.2)."
  echo "- answers within 100 ms while the captions arrive: longest ${ANSWER_MAX:-?} ms: $(verdict "${ANSWER_MAX:-}" 100)."
  echo "- successive runs not slower (no folder whose quince runs each took longer than the one before, the last more than 10% over the first): $([ -n "$GROWING" ] && echo "not met: $GROWING" || echo met)."
  echo "- at most 1 KiB per entry at 50,000 entries: ${PER_ENTRY:-?} KiB: $(verdict "${PER_ENTRY:-}" 1.0)."
} >"$OUT"
say "written: ${OUT#"$ROOT"/}"
exit $status
