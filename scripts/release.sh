#!/usr/bin/env bash
# Makes the release and checks it:
#   build/release/quince-<version>-win64.zip  (quince.exe, README.md, README.ja.md, LICENSE)
#   build/release/quince-<version>-win64.zip.sha256
# Builds the "windows" preset (MinGW-w64 g++) first, then packs it with cpack.
# Checks: the zip holds exactly the four files, the READMEs link each other, the checksum verifies, and
# the exe carries the icon (16, 24, 32, 48, 256 px) and a version resource
# with the project version. Ends with "release: N passed, N failed".
set -u -o pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT" || exit 1
OUT=$ROOT/build/release
LOG=$ROOT/build/test-logs/release.log
mkdir -p "$OUT" "$(dirname "$LOG")"
[ -f /root/.ccache-env ] && . /root/.ccache-env

version=$(sed -n 's/^project(Quince VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=$OUT/quince-$version-win64.zip
passed=0 failed=0
check() {  # check NAME COMMAND... -- one counted check
  local name=$1; shift
  if "$@" >>"$LOG" 2>&1; then passed=$((passed + 1)); echo "release $name: ok"
  else failed=$((failed + 1)); echo "release $name: FAILED (see ${LOG#"$ROOT"/})"; fi
}

: >"$LOG"
rm -f "$zip" "$zip.sha256"
check "zip built" bash -c 'cmake --preset windows && cmake --build --preset windows -j 2 --target quince && cpack --preset windows && test -f "$1"' _ "$zip"

work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
check "zip holds quince.exe, README.md, README.ja.md, LICENSE" bash -c '
  unzip -l "$1" && [ "$(unzip -Z1 "$1" | LC_ALL=C sort | tr "\n" " ")" = "LICENSE README.ja.md README.md quince.exe " ]' _ "$zip"
check "READMEs in the zip link each other, the Japanese one in UTF-8" bash -c '
  unzip -p "$1" README.md | grep -q "](README.ja.md)" && unzip -p "$1" README.ja.md | grep -q "](README.md)" &&
  unzip -p "$1" README.ja.md | iconv -f UTF-8 -t UTF-8 >/dev/null && unzip -p "$1" README.ja.md | grep -q "起動のしかた"' _ "$zip"
check "checksum" bash -c 'cd "$(dirname "$1")" && sha256sum -c "$1.sha256"' _ "$zip"
unzip -q -o "$zip" quince.exe -d "$work" >>"$LOG" 2>&1
check "exe has the icon" bash -c '
  wrestool -l "$1" && wrestool -x -t 14 "$1" >"$2/icon.ico" && icotool -l "$2/icon.ico" &&
  [ "$(icotool -l "$2/icon.ico" | sed -n "s/.*--width=\([0-9]*\).*/\1/p" | sort -n | tr "\n" " ")" = "16 24 32 48 256 " ]' _ "$work/quince.exe" "$work"
check "exe has version $version" bash -c '
  wrestool -x --raw -t 16 "$1" >"$2/version.bin" && python3 - "$2/version.bin" "$3" <<"PY"
import struct, sys
data, version = open(sys.argv[1], "rb").read(), sys.argv[2]
at = data.find(b"\xbd\x04\xef\xfe")  # VS_FIXEDFILEINFO signature
ms, ls = struct.unpack_from("<II", data, at + 8)
fixed = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}"
text = (version + ".0").encode("utf-16-le")
print("fixed file version", fixed, "text present:", text in data)
sys.exit(0 if at >= 0 and fixed == version and text in data else 1)
PY' _ "$work/quince.exe" "$work" "$version"
check "icon source reproduces res/quince.ico" bash -c 'python3 res/make_icon.py "$1/regen.ico" && cmp "$1/regen.ico" res/quince.ico' _ "$work"

echo "release: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
