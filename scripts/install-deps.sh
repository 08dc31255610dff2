#!/usr/bin/env bash
# Installs what building and testing Quince needs on Debian 12, skipping what
# is already there (so a second run costs a second).
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  clang lld libclang-rt-dev icoutils unzip
  wine wine64 xvfb xdotool x11-utils imagemagick openbox xcompmgr xterm
  fonts-noto-cjk locales python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi
