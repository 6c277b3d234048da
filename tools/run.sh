#!/usr/bin/env bash
# Builds Ternavo and starts it under Wine, in a virtual desktop with a taskbar and a
# notification area (on a virtual display of its own when there is none). Ends with it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh
source tools/wine-session.sh

cmake --preset "$TERNAVO_PRESET" >/dev/null
cmake --build --preset "$TERNAVO_PRESET" --target Ternavo

wine_session_start "$TERNAVO_ROOT/build/wine-run"
trap wine_session_stop EXIT
echo "Ternavo runs on display $DISPLAY; close its window to end."
"$TERNAVO_WINE" "$TERNAVO_BUILD/Ternavo.exe"
