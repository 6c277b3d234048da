# Sourced by run.sh and test.sh: a Wine prefix, display and desktop of this checkout's own.
# Wine runs Ternavo's 32-bit build where this host can run 32-bit processes, else the 64-bit
# build of the same sources under 64-bit Wine.

TERNAVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export TERNAVO_PRESET=mingw-i686 WINEARCH=win32 TERNAVO_WINE=/usr/lib/wine/wine
else
  export TERNAVO_PRESET=mingw-x86_64 WINEARCH=win64 TERNAVO_WINE=/usr/lib/wine/wine64
fi
export TERNAVO_BUILD="$TERNAVO_ROOT/build/$TERNAVO_PRESET"
export WINEDEBUG=-all
# Code page 936 needs the Chinese locale when the prefix's wineserver starts.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

wine_session_pids=()

# $1: a folder for the prefix, home and logs.
wine_session_start() {
  local dir=$1
  mkdir -p "$dir/home"
  export WINEPREFIX="$dir/prefix-$WINEARCH"
  # The profile folders (Templates among them) link into $HOME: keep them out of the real one.
  export HOME="$dir/home"

  if [ -z "${DISPLAY:-}" ] || [ "${TERNAVO_OWN_DISPLAY:-}" = 1 ]; then
    local n=$((90 + RANDOM % 400))
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
    wine_session_pids+=($!)
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi

  if [ ! -f "$WINEPREFIX/.ternavo-ready" ]; then
    "$TERNAVO_WINE" wineboot -i >"$dir/wineboot.log" 2>&1
    # Programs open in a virtual desktop with explorer's taskbar and notification area; SimSun
    # maps to the installed CJK face with half-width Latin letters, as SimSun has.
    local reg="$TERNAVO_WINE reg add"
    $reg 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
    $reg 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
    # A crash ends the process instead of waiting in the debugger.
    $reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f >/dev/null 2>&1
    $reg 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d 'WenQuanYi Zen Hei Mono' /f >/dev/null 2>&1
    $reg 'HKCU\Software\Wine\Fonts\Replacements' /v '宋体' /d 'WenQuanYi Zen Hei Mono' /f >/dev/null 2>&1
    "$TERNAVO_WINE" wineboot -s >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.ternavo-ready"
  fi
}

wine_session_stop() {
  # Only what this session started: its wineserver (by prefix) and its display.
  WINEPREFIX="$WINEPREFIX" "$(dirname "$TERNAVO_WINE")/wineserver" -k >/dev/null 2>&1 || true
  local pid
  for pid in "${wine_session_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wine_session_pids=()
}
