# shellcheck shell=bash
# Wine prefix and virtual display for running Quince and its Windows tests.
# Source it; the functions only ever stop processes they started themselves.
#
#   QUINCE_STATE   where prefixes, locale and logs live (default build/wine)

QUINCE_ROOT=${QUINCE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
QUINCE_STATE=${QUINCE_STATE:-$QUINCE_ROOT/build/wine}
mkdir -p "$QUINCE_STATE"

export WINEARCH=win64
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree=;mshtml=;winemenubuilder.exe="}
# -all also silences Debian's "wine32 is missing" hint; warn+seh shows
# OutputDebugString lines on stderr.
export WINEDEBUG=${WINEDEBUG:--all,warn+seh}

qlog() { printf '[quince %s] %s\n' "$(date +%T)" "$*" >&2; }

# Japanese locale compiled into our own folder: no system change needed.
quince_locale() {
  local dir=$QUINCE_STATE/locale
  if [ ! -d "$dir/ja_JP.UTF-8" ]; then
    mkdir -p "$dir"
    localedef -i ja_JP -f UTF-8 "$dir/ja_JP.UTF-8" >/dev/null 2>&1 || qlog "localedef ja_JP failed; Japanese shell texts stay English"
  fi
  [ -d "$dir/ja_JP.UTF-8" ] && export LOCPATH=$dir LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  return 0
}

# A clean prefix made once (wineboot ~10 s) with the settings every run wants.
quince_template() {
  local tpl=$QUINCE_STATE/prefix-template lock
  [ -f "$tpl/.quince-ready" ] && return 0
  # Several runs may start at once (tests, run.sh, a second shell): one
  # builds the template, the others wait for it instead of wiping it.
  exec {lock}>"$QUINCE_STATE/template.lock"
  flock "$lock"
  if [ -f "$tpl/.quince-ready" ]; then exec {lock}>&-; return 0; fi
  _quince_make_template "$tpl"
  local rc=$?
  exec {lock}>&-
  return $rc
}
_quince_make_template() {
  local tpl=$1
  qlog "creating Wine prefix template in $tpl"
  rm -rf "$tpl"
  (
    export WINEPREFIX=$tpl
    DISPLAY='' wineboot -i >"$QUINCE_STATE/wineboot.log" 2>&1
    (cd "$QUINCE_STATE" && python3 "$QUINCE_ROOT/scripts/wine/make_font_reg.py" >/dev/null)
    for reg in "$QUINCE_ROOT/scripts/wine/prefix-settings.reg" "$QUINCE_STATE/cjk-fonts.reg"; do
      DISPLAY='' wine reg import "$reg" >>"$QUINCE_STATE/wineboot.log" 2>&1
    done
    wineserver -w
  ) || return 1
  touch "$tpl/.quince-ready"
}

# quince_prefix DIR: a fresh prefix in DIR copied from the template.
quince_prefix() {
  local dir=$1
  quince_template || return 1
  if [ -d "$dir" ]; then WINEPREFIX=$dir wineserver -k 2>/dev/null; rm -rf "$dir"; fi
  cp -a "$QUINCE_STATE/prefix-template" "$dir" || return 1
  export WINEPREFIX=$dir
}

# quince_display: a private Xvfb (+ openbox) on a free display; exports DISPLAY.
quince_display() {
  local fd=$QUINCE_STATE/xvfb.$$.display _
  : >"$fd"
  Xvfb -displayfd 9 -screen 0 "${QUINCE_SCREEN:-1920x1080x24}" -dpi 96 -nolisten tcp -noreset \
    9>"$fd" >"$QUINCE_STATE/xvfb.log" 2>&1 &
  QUINCE_XVFB_PID=$!
  for _ in $(seq 200); do [ -s "$fd" ] && break; sleep 0.05; done
  [ -s "$fd" ] || { qlog "Xvfb did not start"; return 1; }
  DISPLAY=":$(tr -dc 0-9 <"$fd")"; export DISPLAY
  rm -f "$fd"
  if [ -z "${QUINCE_NO_WM:-}" ]; then
    openbox --sm-disable --config-file "$QUINCE_ROOT/scripts/wine/openbox-rc.xml" >"$QUINCE_STATE/openbox.log" 2>&1 &
    QUINCE_WM_PID=$!
    for _ in $(seq 100); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
      sleep 0.05
    done
  fi
}

# quince_cleanup: ends our wineserver, openbox and Xvfb (only our PIDs).
quince_cleanup() {
  [ -n "${WINEPREFIX:-}" ] && { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; }
  local p
  for p in "${QUINCE_WM_PID:-}" "${QUINCE_XVFB_PID:-}"; do
    [ -n "$p" ] && kill "$p" 2>/dev/null
  done
  QUINCE_WM_PID='' QUINCE_XVFB_PID=''
  return 0
}
