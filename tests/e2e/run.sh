#!/usr/bin/env bash
# Runs the end-to-end scenarios (tests/e2e/scenarios/*.sh) against
# build/windows/quince.exe under Wine on a private Xvfb + openbox.
#
#   bash tests/e2e/run.sh [REGEX]     only scenarios whose name matches REGEX
#
# One line per scenario: PASS/FAIL/SKIP, name, wall time, what was seen.
# Artefacts (screenshots, program output, probe logs) go to build/e2e-artifacts/
# (one folder per scenario). Last line: "e2e: N passed, N failed, N skipped".
# Exit status 1 if any scenario failed. Under CI=true a skip counts as a
# failure: a skip names a limit of the platform, and CI runs where none may
# apply. Needs a built windows preset (quince.exe and
# tests/e2e/probe/probe.exe).
set -u
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
. "$HERE/harness.sh"

FILTER=${1:-}
SCENARIOS=()
# scenario NAME -- register the function scenario_NAME
scenario() { SCENARIOS+=("$1"); }

# Inside a scenario: note TEXT adds to the result line; fail/skip end it.
note() { E2E_NOTE="${E2E_NOTE:+$E2E_NOTE; }$*"; }
fail() { note "$*"; return 1; }
skip() { note "$*"; return 77; }

for f in "$HERE"/scenarios/*.sh; do
  # shellcheck disable=SC1090
  . "$f"
done

rm -rf "$E2E_OUT"; mkdir -p "$E2E_OUT"
for f in "$E2E_EXE" "$E2E_PROBE"; do
  [ -f "$f" ] || { echo "missing $f (build the windows preset first)"; echo "e2e: 0 passed, 1 failed, 0 skipped"; exit 1; }
done

T_ALL=$(now)
trap 'e2e_teardown' EXIT
trap 'exit 130' INT TERM
E2E_DIR=$E2E_OUT
if ! e2e_setup 2>>"$E2E_OUT/setup.log"; then
  cat "$E2E_OUT/setup.log"; echo "e2e: 0 passed, 1 failed, 0 skipped"; exit 1
fi
echo "e2e setup: $(elapsed "$T_ALL") s (Xvfb $DISPLAY, openbox, fresh prefix, warm wineserver)"

PASSED=0 FAILED=0 SKIPPED=0
for name in "${SCENARIOS[@]}"; do
  [ -n "$FILTER" ] && ! [[ $name =~ $FILTER ]] && continue
  E2E_DIR=$E2E_OUT/$name E2E_CASE_NAME=$name; mkdir -p "$E2E_DIR"
  E2E_NOTE='' APP_PID=''
  T0=$(now)
  "scenario_$name" 2>>"$E2E_DIR/harness.log"; status=$?
  # Whatever the outcome, the next scenario starts with nothing of ours running.
  if app_running; then
    [ $status -eq 0 ] && { status=1; note "quince.exe still running at the end"; }
    stop_app
  fi
  close_focus_sink
  if [ $status -ne 77 ] && ! left=$(no_leftovers 2>>"$E2E_DIR/harness.log"); then
    status=1; note "left behind: $left"
  fi
  case $status in
    0)  PASSED=$((PASSED + 1));  word=PASS ;;
    77) if [ "${CI:-}" = true ]; then FAILED=$((FAILED + 1)); word=FAIL; note "skipped, and CI counts a skip as a failure"
        else SKIPPED=$((SKIPPED + 1)); word=SKIP; fi ;;
    *)  FAILED=$((FAILED + 1));  word=FAIL ;;
  esac
  printf '%-4s %-26s %5ss  %s\n' "$word" "$name" "$(elapsed "$T0")" "$E2E_NOTE"
done

echo "e2e total: $(elapsed "$T_ALL") s; artefacts in ${E2E_OUT#"$E2E_ROOT"/}/"
echo "e2e: $PASSED passed, $FAILED failed, $SKIPPED skipped"
[ $FAILED -eq 0 ]
