#!/usr/bin/env bash
# Builds Quince and runs every test level:
#   1. host     portable core, native GoogleTest with ASan + UBSan (build/host)
#   2. windows  cross-built GoogleTest exes under Wine (build/windows), on a
#               private Xvfb + openbox with a fresh Wine prefix
#   3. e2e      the real quince.exe driven under Wine (tests/e2e/run.sh)
#   plus: the fuzz targets of the core (scripts/fuzz.sh, 30 s each), the
#   product built by clang for MinGW-w64, a check that neither compiler
#   warned, and the release zip with its checks (scripts/release.sh).
# Installs what is missing first. Prints the counts of each level and ends with
# the line "total: N passed, N failed"; exits non-zero if anything failed.
# With CI=true in the environment a skipped test counts as a failure.
# Logs: build/test-logs/.
set -u -o pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT" || exit 1
LOGS=$ROOT/build/test-logs
T_START=$(date +%s.%N)

since() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN{printf "%.0f", b-a}'; }
say()   { printf '== %s\n' "$*"; }

TOTAL_PASSED=0 TOTAL_FAILED=0
count() { TOTAL_PASSED=$((TOTAL_PASSED + $1)); TOTAL_FAILED=$((TOTAL_FAILED + $2)); }

finish() {
  say "wall time: $(since "$T_START") s"
  echo "total: $TOTAL_PASSED passed, $TOTAL_FAILED failed"
  [ "$TOTAL_FAILED" -eq 0 ]
  exit
}

# show_tail LOG -- the end of a log, for a failure that stops a level
show_tail() { echo "-- last lines of ${1#"$ROOT"/}:"; tail -n "${2:-25}" "$1" | sed 's/^/   /'; }

# ---------------------------------------------------------------- installs --
T=$(date +%s.%N)
bash scripts/install-deps.sh </dev/null || { say "installing dependencies failed"; count 0 1; finish; }
say "dependencies ready ($(since "$T") s)"
mkdir -p "$LOGS"

# ------------------------------------------------------------------ builds --
# build PRESET -- configure and build a preset; 0 on success
build() {
  local t; t=$(date +%s.%N)
  if cmake --preset "$1" >"$LOGS/configure-$1.log" 2>&1 &&
     cmake --build --preset "$1" -j 2 >"$LOGS/build-$1.log" 2>&1; then
    say "build $1: ok ($(since "$t") s)"
    return 0
  fi
  say "build $1: FAILED ($(since "$t") s)"
  if [ -s "$LOGS/build-$1.log" ]; then show_tail "$LOGS/build-$1.log"; else show_tail "$LOGS/configure-$1.log"; fi
  return 1
}

# ------------------------------------------------------------------ counts --
# run_ctest LEVEL PRESET [CTEST ARGS...] -- runs the preset's tests with each
# GoogleTest exe writing an XML report, then counts test cases: a case passes
# or fails as GoogleTest says; an exe that fails without a failing case in its
# report (a crash, a timeout, a sanitizer report at exit), or leaves no report,
# counts as one more failure. Prints "LEVEL: N passed, N failed".
run_ctest() {
  local level=$1 preset=$2; shift 2
  local out=$LOGS/$preset-results t rc counts
  t=$(date +%s.%N)
  rm -rf "$out"; mkdir -p "$out/gtest"
  local gtest_dir=$out/gtest/
  # A Windows exe under Wine sees the unix file system as drive Z:.
  [ "$preset" = windows ] && gtest_dir="Z:${gtest_dir//\//\\}"
  GTEST_OUTPUT="xml:$gtest_dir" ctest --preset "$preset" --output-junit "$out/ctest.xml" "$@" \
    >"$LOGS/ctest-$preset.log" 2>&1
  rc=$?
  counts=$(python3 - "$out" <<'PY'
import os, sys, xml.etree.ElementTree as ET
out = sys.argv[1]
passed = failed = skipped = programs = 0
try:
    entries = ET.parse(os.path.join(out, "ctest.xml")).getroot().iter("testcase")
except Exception:
    entries = []
for entry in entries:
    programs += 1
    name, status = entry.get("name"), entry.get("status", "run")
    entry_failed = status not in ("run", "passed") or entry.find("failure") is not None or entry.find("error") is not None
    report = os.path.join(out, "gtest", name + ".xml")
    cases_failed = 0
    if os.path.exists(report):
        for case in ET.parse(report).getroot().iter("testcase"):
            # DISABLED_ cases (the benchmarks bench/ runs) are not run here
            # at all: neither a pass nor a skip.
            if case.get("result") == "suppressed":
                continue
            if case.find("failure") is not None:
                cases_failed += 1
            elif case.get("result") == "skipped" or case.find("skipped") is not None or case.get("status") == "notrun":
                skipped += 1
            else:
                passed += 1
        failed += cases_failed
        if entry_failed and cases_failed == 0:
            failed += 1
    else:
        # Every test program is a GoogleTest exe: without its report it never
        # got to the end, whatever its exit status (a crash under Wine can
        # still end with 0).
        failed += 1
print(passed, failed, skipped, programs)
PY
)
  local p f s n
  read -r p f s n <<<"${counts:-0 1 0 0}"
  # ctest failing outright (no tests found, bad preset) is a failure too.
  if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then f=1; fi
  if [ "$n" -eq 0 ]; then f=$((f + 1)); echo "   no tests were found"; fi
  # Under CI a skip is a failure: every skip names a limit of the platform
  # (README, "Skipped tests"), and none of them may apply where CI runs.
  if [ "$s" -gt 0 ] && [ "${CI:-}" = true ]; then
    f=$((f + s)); echo "   $s skipped, counted as failed (CI=true)"
  fi
  [ "$f" -gt 0 ] && show_tail "$LOGS/ctest-$preset.log" 40
  say "$level: $p passed, $f failed$([ "$s" -gt 0 ] && echo ", $s skipped") ($n test programs, $(since "$t") s)"
  count "$p" "$f"
}

# ------------------------------------------------------------------- level 1 --
if build host; then
  run_ctest "host tests" host -j 2
else
  count 0 1
fi

# counted_script LOG CMD... -- runs a script that ends with "<name>: N passed,
# N failed" and counts that line (no line at all is one failure)
counted_script() {
  local log=$1 p f; shift
  "$@" </dev/null 2>&1 | tee "$log"
  read -r p f <<<"$(sed -n 's/^[a-z]*: \([0-9]*\) passed, \([0-9]*\) failed.*/\1 \2/p' "$log" | tail -1)"
  [ -n "${p:-}" ] || { p=0 f=1; show_tail "$log"; }
  count "$p" "$f"
}
counted_script "$LOGS/fuzz.log" bash scripts/fuzz.sh 30

# --------------------------------------------------------- levels 2 and 3 --
if ! build windows; then
  count 0 1
  finish
fi

# The clang build starts clean each time (cheap with ccache, which replays
# the warnings) so that its log shows every warning, not just new ones. The
# g++ log holds the files this run compiled: all of them on a clean machine.
rm -rf build/windows-clang
if build windows-clang; then count 1 0; else count 0 1; fi
if grep -h 'warning:' "$LOGS/build-windows.log" "$LOGS/build-windows-clang.log" >"$LOGS/warnings.log"; then
  say "compiler warnings: FAILED ($(wc -l <"$LOGS/warnings.log") lines)"; head -n 10 "$LOGS/warnings.log" | sed 's/^/   /'
  count 0 1
else
  say "compiler warnings: none (g++ and clang)"; count 1 0
fi
counted_script "$LOGS/release-summary.log" bash scripts/release.sh

# shellcheck source=wine-env.sh
. "$ROOT/scripts/wine-env.sh"
trap 'quince_cleanup' EXIT
trap 'exit 130' INT TERM
T=$(date +%s.%N)
if quince_prefix "$ROOT/build/wine/test-prefix" && quince_display; then
  wineserver -p
  wine cmd /c exit 0 >/dev/null 2>&1
  # COM's service, started here rather than by the first test that needs
  # it: a service a test starts keeps that test's output pipe open, and
  # CTest waits for the pipe until the test's time runs out.
  (wine "C:\\windows\\system32\\rpcss.exe" </dev/null >/dev/null 2>&1 &)
  for _ in $(seq 50); do pgrep -f 'system32.rpcss.exe' >/dev/null && break; sleep 0.1; done
  say "wine ready ($(since "$T") s, DISPLAY=$DISPLAY)"
  # One at a time: the tests with real windows share the display and focus.
  run_ctest "windows tests" windows
else
  say "could not prepare Wine and the display"; count 0 1
fi
quince_cleanup
unset WINEPREFIX

T=$(date +%s.%N)
bash tests/e2e/run.sh </dev/null 2>"$LOGS/e2e-stderr.log" | tee "$LOGS/e2e.log"
read -r p f <<<"$(sed -n 's/^e2e: \([0-9]*\) passed, \([0-9]*\) failed.*/\1 \2/p' "$LOGS/e2e.log" | tail -1)"
if [ -z "${p:-}" ]; then p=0 f=1; show_tail "$LOGS/e2e-stderr.log"; fi
say "e2e scenarios: $p passed, $f failed ($(since "$T") s)"
count "$p" "$f"

finish
