#!/usr/bin/env bash
# Headless use through scripts/headless: the VNC server listens on 127.0.0.1 only, refuses a
# client without the printed password, and shows the whole window to one with it.
# Usage: tests/install/headless-vnc.sh TARWICK_EXECUTABLE
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
tarwick="$(readlink -f "$1")"
tmp="$(mktemp -d)"
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; wait; rm -rf "$tmp"' EXIT
fail() { echo "headless-vnc: FAIL: $*" >&2; exit 1; }
wait_for() { # up to a minute, for slow machines; never a timing assertion
    for _ in $(seq 120); do
        eval "$1" && return 0
        sleep 0.5
    done
    fail "$2"
}
listening() { (exec 3<>"/dev/tcp/$1/$port") 2>/dev/null; }

port=$((20000 + RANDOM % 20000))
# The program served: Tarwick in a fresh working folder; its X display and where its window lies.
"$root/scripts/headless" "$port" bash -c 'echo "$DISPLAY" >"$1/display"
    "$0" --workdir "$1/work" & program=$!
    timeout 60 xdotool search --sync --onlyvisible --name "^Tarwick" getwindowgeometry --shell >"$1/window"
    wait "$program"' "$tarwick" "$tmp" >"$tmp/printed" 2>&1 &
pid=$!
wait_for 'grep -q "password: " "$tmp/printed" && listening 127.0.0.1 && [ -s "$tmp/window" ]' \
    "no VNC server: $(cat "$tmp/printed")"
password="$(sed -n 's/.*password: \([A-Za-z0-9]*\).*/\1/p' "$tmp/printed")"
for address in $(hostname -I 2>/dev/null); do
    ! listening "$address" || fail "the VNC server listens on $address"
done

# The X server behind it admits no one without its cookie.
! XAUTHORITY=/dev/null xdpyinfo -display "$(cat "$tmp/display")" >/dev/null 2>&1 ||
    fail "the X server admits a client without its cookie"

store() { printf '%s\n%s\ny\n' "$1" "$1" | x11vnc -storepasswd "$2" >/dev/null 2>&1; }
store "$password" "$tmp/right"
store "wrong${password:0:3}" "$tmp/wrong"
vncsnapshot -quiet -passwd "$tmp/right" "127.0.0.1::$port" "$tmp/screen.jpg" </dev/null \
    >"$tmp/client" 2>&1 || fail "refused with the printed password: $(cat "$tmp/client")"
[[ "$(file -b "$tmp/screen.jpg")" == *", 1280x1024,"* ]] || fail "no screen: $(file -b "$tmp/screen.jpg")"
! vncsnapshot -quiet -passwd "$tmp/wrong" "127.0.0.1::$port" "$tmp/refused.jpg" </dev/null \
    >/dev/null 2>&1 || fail "a wrong password was let in"
[ ! -e "$tmp/refused.jpg" ] || fail "a picture came back for a wrong password"

# The whole window lies on the screen the client receives.
source "$tmp/window"
[ $((X + WIDTH)) -le 1280 ] && [ $((Y + HEIGHT)) -le 1024 ] ||
    fail "the window (${WIDTH}x${HEIGHT} at $X,$Y) runs off the 1280x1024 screen"
echo "headless-vnc: passed (window ${WIDTH}x${HEIGHT} at $X,$Y on a 1280x1024 screen)"
