#!/usr/bin/env bash
# Builds quince.exe and runs it under Wine with the given arguments:
#
#   bash scripts/run.sh 'C:\windows\*' -IF
#
# With $DISPLAY set, the program runs on that display until it ends by itself
# (click outside its menus, or switch to another window). Without a display it
# runs on a private virtual screen (Xvfb + openbox): the script waits for the
# program's windows to settle, saves a screenshot to build/run-screenshot.png,
# ends the program and cleans up.
#
# The Wine prefix build/wine/run-prefix persists between runs (made once from
# the template that scripts/wine-env.sh builds).
set -u
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT" || exit 1
LOGS=$ROOT/build/run-logs
SHOT=$ROOT/build/run-screenshot.png

bash scripts/install-deps.sh </dev/null || exit 1
mkdir -p "$LOGS"
if ! { cmake --preset windows >"$LOGS/configure.log" 2>&1 &&
       cmake --build --preset windows --target quince -j 2 >"$LOGS/build.log" 2>&1; }; then
  echo "build failed; the end of ${LOGS#"$ROOT"/}/build.log (or configure.log):"
  tail -n 30 "$LOGS/build.log" 2>/dev/null || tail -n 30 "$LOGS/configure.log"
  exit 1
fi
EXE=$ROOT/build/windows/quince.exe

# shellcheck source=wine-env.sh
. "$ROOT/scripts/wine-env.sh"
PREFIX=$QUINCE_STATE/run-prefix
if [ ! -f "$PREFIX/.quince-ready" ]; then
  quince_template || exit 1
  rm -rf "$PREFIX"
  cp -a "$QUINCE_STATE/prefix-template" "$PREFIX" || exit 1
fi
export WINEPREFIX=$PREFIX

if [ -n "${DISPLAY:-}" ]; then
  wine "$EXE" "$@"
  rc=$?
  echo "quince.exe ended with exit code $rc"
  exit $rc
fi

# ------------------------------------------------------ headless: Xvfb run --
APP_PID='' COMP_PID=''
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  [ -n "$COMP_PID" ] && kill "$COMP_PID" 2>/dev/null
  quince_cleanup   # our wineserver (this prefix only), openbox, Xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM

quince_display || exit 1
# A compositor makes the alpha-1 base window see-through in the picture, as
# on a real desktop (without one X paints it opaque).
if command -v xcompmgr >/dev/null; then
  xcompmgr -n >"$LOGS/xcompmgr.log" 2>&1 &
  COMP_PID=$!
fi
# The root menu opens at the pointer.
xdotool mousemove 300 200

wine "$EXE" "$@" >"$LOGS/quince.out" 2>"$LOGS/quince.err" &
APP_PID=$!
echo "quince.exe $* (pid $APP_PID) on virtual display $DISPLAY"

# windows -- the program's visible X windows, one "id geometry name" per line
windows() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
    printf '%s %s "%s"\n' "$w" \
      "$(xwininfo -id "$w" 2>/dev/null | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
         /Width:/{w=$NF} /Height:/{h=$NF} END{printf "%s,%s %sx%s", x, y, w, h}')" \
      "$(xdotool getwindowname "$w" 2>/dev/null)"
  done | sort
}

# Wait for the first window (start-up can take a few seconds on a cold
# wineserver), then until the set of windows has not changed for a second.
deadline=$((SECONDS + 30)) last='' stable_since=$SECONDS
while [ $SECONDS -lt $deadline ]; do
  if ! kill -0 "$APP_PID" 2>/dev/null; then
    wait "$APP_PID"; rc=$?; APP_PID=''
    echo "quince.exe ended by itself with exit code $rc before it could be photographed"
    sed -n 's/^[0-9a-f]*:warn:seh:OutputDebugStringA /debug output: /p' "$LOGS/quince.err"
    exit $rc
  fi
  now=$(windows)
  if [ "$now" != "$last" ]; then last=$now stable_since=$SECONDS
  elif [ -n "$now" ] && [ $((SECONDS - stable_since)) -ge 1 ]; then break
  fi
  sleep 0.2
done
[ -n "$last" ] || { echo "no window of quince.exe appeared within 30 s (see ${LOGS#"$ROOT"/}/quince.err)"; exit 1; }

echo "windows of quince.exe (X id, position, size, title):"
printf '%s\n' "$last" | sed 's/^/  /'
import -silent -window root "$SHOT" && echo "screenshot: $SHOT"
sed -n 's/^[0-9a-f]*:warn:seh:OutputDebugStringA /debug output: /p' "$LOGS/quince.err"
echo "ending quince.exe"
