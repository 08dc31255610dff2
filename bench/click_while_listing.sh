#!/usr/bin/env bash
# How long a click outside takes to end the run while the root folder is
# still being listed: quince.exe (and, with QUINCE_BEFORE, an earlier build)
# on a folder of 50,000 files (the .txt association set, as on Windows),
# under the end-to-end harness (private Xvfb, openbox, warm wineserver).
#
#   bash bench/click_while_listing.sh [RUNS]        (default 3 of each)
#
# Each run: start the program, wait for its base window to be up, click on
# it at once (the root is then still being listed), and time from the click
# to the end of the process; the full listing's time (start to the root
# window mapped, no click) is taken alongside for scale. Runs alternate
# between the builds; medians are printed with the load average before and
# after. Needs a built windows preset.
set -u
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
RUNS=${1:-3}
E2E_OUT=$ROOT/build/bench-logs/click-while-listing
# shellcheck source=../tests/e2e/harness.sh
. "$ROOT/tests/e2e/harness.sh"

key_of() { printf '%s' "$1" | md5sum | cut -c1-8; }
median() { sort -n | awk '{a[NR]=$1} END{if(NR) print a[int((NR+1)/2)]; else print "?"}'; }

trap 'e2e_teardown' EXIT
E2E_DIR=$E2E_OUT
rm -rf "$E2E_OUT"; mkdir -p "$E2E_OUT"
e2e_setup 2>>"$E2E_OUT/setup.log" || { cat "$E2E_OUT/setup.log"; exit 1; }
wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1
huge=$WINEPREFIX/drive_c/huge
mkdir -p "$huge" && (cd "$huge" && touch file-{00001..50000}.txt)

# one_run EXE MODE -- seconds: MODE=click from the click to the exit, MODE=full
# from the start to the root window's mapping.
one_run() {
  local t
  E2E_EXE=$1
  t=$(now)
  run_app 'C:\huge\'
  probe --wait TBaseForm --timeout 20000 >/dev/null || { echo "?"; stop_app; return; }
  if [ "$2" = full ]; then
    probe --wait TFolderForm --timeout 120000 >/dev/null
    elapsed "$t"; echo
    click_at 5 5; wait_exit 60 >/dev/null || stop_app
    return
  fi
  t=$(now)
  click_at 5 5
  wait_exit 120 >/dev/null || { echo "?"; stop_app; return; }
  elapsed "$t"; echo
}

LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
builds=("$ROOT/build/windows/quince.exe")
[ -n "${QUINCE_BEFORE:-}" ] && builds+=("$QUINCE_BEFORE")
for mode in click full; do
  for ((i = 1; i <= RUNS; i++)); do
    for b in "${builds[@]}"; do
      one_run "$b" "$mode" >>"$E2E_OUT/$mode-$(key_of "$b")"
    done
  done
done
echo "load average before: $LOAD_BEFORE, after: $(cut -d' ' -f1-3 /proc/loadavg)"
for b in "${builds[@]}"; do
  key=$(key_of "$b")
  echo "$b: click to exit $(median <"$E2E_OUT/click-$key") s ($(tr '\n' ' ' <"$E2E_OUT/click-$key")), start to the root window $(median <"$E2E_OUT/full-$key") s ($(tr '\n' ' ' <"$E2E_OUT/full-$key"))"
done
