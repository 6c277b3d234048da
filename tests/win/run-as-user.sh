#!/usr/bin/env bash
# Runs a Win32 test program under Wine as an ordinary user: as root, Wine writes read-only
# files anyway. Called inside a Wine session (tools/wine-session.sh); the user gets a prefix
# of its own under /var/tmp, which any user can reach whatever the checkout's folder allows,
# kept for later runs.
#   run-as-user.sh WINE PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
wine=$1
program=$2
shift 2

# Already an ordinary user: nothing to change.
if [ "$(id -u)" != 0 ]; then exec "$wine" "$program" "$@"; fi

user=ternavo-test
if ! id -u "$user" >/dev/null 2>&1; then
  useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
fi

dir="/var/tmp/ternavo-as-user-${WINEARCH:?start a Wine session first}"
mkdir -p "$dir"
chown "$user:" "$dir"
# One run at a time per prefix: the first one creates it.
exec 9>"$dir.lock"
flock 9

# Wine insists on a prefix owned by the user running it. No display: these cases open no window.
as_user() {
  setpriv --reuid="$user" --regid="$user" --init-groups \
    env -u DISPLAY -u XDG_RUNTIME_DIR HOME="$dir/home" WINEPREFIX="$dir/prefix" "$@"
}
as_user mkdir -p "$dir/home" "$dir/bin"
install -o "$user" -m 755 "$program" "$dir/bin/"
if [ ! -f "$dir/prefix/.ternavo-ready" ]; then
  as_user "$wine" wineboot -i >"$dir/wineboot.log" 2>&1
  as_user touch "$dir/prefix/.ternavo-ready"
fi

status=0
as_user "$wine" "$dir/bin/$(basename "$program")" "$@" || status=$?
as_user "$(dirname "$wine")/wineserver" -k >/dev/null 2>&1 || true
exit $status
