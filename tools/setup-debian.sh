#!/usr/bin/env bash
# Installs what building and testing Ternavo needs on a Debian machine; a no-op when all is there.
set -euo pipefail

need=()
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686)
command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v g++ >/dev/null || need+=(g++)
command -v Xvfb >/dev/null || need+=(xvfb)
command -v import >/dev/null || need+=(imagemagick)
[ -d /usr/src/googletest ] || need+=(googletest)
dpkg -s libgtest-dev >/dev/null 2>&1 || need+=(libgtest-dev)
dpkg -s fonts-wqy-zenhei >/dev/null 2>&1 || need+=(fonts-wqy-zenhei)
dpkg -s locales >/dev/null 2>&1 || need+=(locales)
wine_ok=1
command -v wine >/dev/null || wine_ok=0
dpkg -s wine32:i386 >/dev/null 2>&1 || wine_ok=0
dpkg -s wine64 >/dev/null 2>&1 || wine_ok=0

SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo

if [ $wine_ok = 0 ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  need+=(wine wine32:i386 wine64)
fi

if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  if [ -f /etc/locale.gen ] && grep -q 'zh_CN.UTF-8' /etc/locale.gen; then
    $SUDO sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  else
    echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi
