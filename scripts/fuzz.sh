#!/usr/bin/env bash
# Builds the libFuzzer targets of the core (preset "fuzz": clang, ASan, UBSan)
# and runs each for a bounded time.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (default 30); TARGETs are wildcard_fuzz and
# command_line_fuzz (default both). Each target starts from its seed corpus
# in fuzz/corpus/<target>/ plus what earlier runs found interesting
# (build/fuzz/corpus/<target>/, kept between runs). A crash, a sanitizer
# report, a timeout or a failed check is a finding: the input goes to
# build/fuzz/findings/, the log to build/fuzz/logs/, and the target fails.
# Prints one line per target and ends with "fuzz: N passed, N failed";
# exits non-zero on any finding.
set -u -o pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT" || exit 1

SECONDS_EACH=${1:-30}
shift $(($# > 0 ? 1 : 0))
TARGETS=("$@")
((${#TARGETS[@]})) || TARGETS=(wildcard_fuzz command_line_fuzz)

OUT=$ROOT/build/fuzz
mkdir -p "$OUT/logs" "$OUT/findings"
[ -f /root/.ccache-env ] && . /root/.ccache-env

if ! { cmake --preset fuzz && cmake --build --preset fuzz -j 2; } >"$OUT/logs/build.log" 2>&1; then
  echo "fuzz build FAILED:"; tail -n 25 "$OUT/logs/build.log" | sed 's/^/   /'
  echo "fuzz: 0 passed, ${#TARGETS[@]} failed"
  exit 1
fi

passed=0 failed=0
for target in "${TARGETS[@]}"; do
  exe=$OUT/fuzz/$target
  seeds=$ROOT/fuzz/corpus/${target%_fuzz}
  corpus=$OUT/corpus/$target
  log=$OUT/logs/$target.log
  mkdir -p "$corpus"
  # New interesting inputs go into the first directory; the seeds are only read.
  "$exe" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -max_len=512 \
    -print_final_stats=1 -artifact_prefix="$OUT/findings/$target-" \
    "$corpus" "$seeds" >"$log" 2>&1 </dev/null
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ "$rc" -eq 0 ]; then
    passed=$((passed + 1))
    echo "fuzz $target: ok (${runs:-?} runs in $SECONDS_EACH s, corpus $(find "$corpus" -type f | wc -l) inputs)"
  else
    failed=$((failed + 1))
    echo "fuzz $target: FINDING (exit $rc), log ${log#"$ROOT"/}:"
    grep -E 'FINDING|ERROR|runtime error|SUMMARY|Test unit written' "$log" | head -n 10 | sed 's/^/   /'
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
