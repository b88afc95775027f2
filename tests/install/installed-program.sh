#!/usr/bin/env bash
# The installed program as a user gets it: cmake --install into a temporary prefix, the
# desktop entry and AppStream file validated, then tarwick started from an empty home folder
# (no XDG variables): it must make ~/.local/share/Tarwick (0700) with links to the installed
# generators, write nothing else into the home folder, and find a key for 1A there when Start
# is pressed in its window (on a private Xvfb screen, from the keyboard).
# Usage: tests/install/installed-program.sh BUILD_FOLDER
set -euo pipefail
build="$(cd "$1" && pwd)"
id=org.tarwick.Tarwick
tmp="$(mktemp -d)"
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$tmp"' EXIT
fail() { echo "installed-program: FAIL: $*" >&2; exit 1; }

prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/tarwick libexec/tarwick/vanitygen64.exe libexec/tarwick/oclvanitygen.exe \
    libexec/tarwick/oclvanityminer64.exe share/applications/$id.desktop \
    share/icons/hicolor/scalable/apps/$id.svg share/metainfo/$id.metainfo.xml; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
"$prefix/bin/tarwick" --version | grep -qx 'Tarwick [0-9.]*' || fail "--version"

home="$tmp/home"
folder="$home/.local/share/Tarwick"
mkdir "$home"
# Started as from the menu: in the home folder, with nothing but HOME and PATH set.
as_user() { cd "$home" && exec env -i HOME="$home" PATH=/usr/bin:/bin "$@"; }
# Waits up to a minute for a condition, for slow machines; never a timing assertion.
wait_for() {
    for _ in $(seq 120); do
        eval "$1" && return 0
        sleep 0.5
    done
    fail "$2"
}

(as_user QT_QPA_PLATFORM=offscreen "$prefix/bin/tarwick" 2>/dev/null) &
pid=$!
wait_for '[ -L "$folder/vanitygen/oclvanityminer64.exe" ]' "no per-user working folder"
# Asked to end (as by the desktop session), it closes as its window does.
kill "$pid"
wait "$pid" || fail "tarwick ended with status $? when asked to end"
pid=""
[ "$(stat -c %a "$folder")" = 700 ] || fail "$folder is not user-only"
[ -d "$folder/Data" ] || fail "no Data folder"
for program in vanitygen64.exe oclvanitygen.exe oclvanityminer64.exe; do
    [ "$(readlink -f "$folder/vanitygen/$program")" = "$(readlink -f "$prefix/libexec/tarwick/$program")" ] ||
        fail "vanitygen/$program does not lead to the installed program"
done

# A search from the window: the patterns box holds 1A (remembered from a last session, with the
# Scroll Lock lamp and the sound on), focus moves from the found list to Start, Space presses it.
printf '[Settings]\r\nscrollLocl_light_on=1\r\nplay_sound_found=1\r\n[Patterns_search]\r\npatterns=1A\r\n' \
    >"$folder/Settings.ini"
(as_user xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$0" 2>/dev/null & program=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Tarwick")
    xdotool windowfocus --sync "$window" key Tab space
    for _ in $(seq 120); do grep -q BTC_KEY_PRIV_ENCON_0 "$1" && break; sleep 0.5; done
    kill "$program" && wait "$program"' "$prefix/bin/tarwick" "$folder/Settings.ini") ||
    fail "the search from the window did not end cleanly (status $?)"
grep -q $'^BTC_ADDR_PUB_ENCON_0=1A[1-9A-HJ-NP-Za-km-z]\{24,32\}\r$' "$folder/Settings.ini" ||
    fail "no address for 1A in Settings.ini: $(cat "$folder/Settings.ini")"
grep -q $'^BTC_KEY_PRIV_ENCON_0=[5KL][1-9A-HJ-NP-Za-km-z]\{50,51\}\r$' "$folder/Settings.ini" ||
    fail "no private key in Settings.ini"
grep -q '^Address: 1A' "$folder/results.txt" || fail "results.txt is not in the working folder"

# A folder it cannot work in, and a folder another Tarwick holds: each is refused with a message
# (on the terminal and in a box), and the program, asked to end, leaves the box and fails.
refused() { # FOLDER MESSAGE
    (as_user QT_QPA_PLATFORM=offscreen "$prefix/bin/tarwick" --workdir "$1" 2>"$tmp/stderr") &
    pid=$!
    message="$2"
    wait_for 'grep -q "$message" "$tmp/stderr"' "no '$message' for --workdir $1: $(cat "$tmp/stderr")"
    kill "$pid"
    ! wait "$pid" || fail "tarwick started in $1"
    pid=""
}
refused "$folder/Settings.ini/inside" "Cannot prepare the working folder"
(as_user QT_QPA_PLATFORM=offscreen "$prefix/bin/tarwick" 2>/dev/null) &
holder=$!
wait_for '! flock -n "$folder/.tarwick.lock" true' "the first Tarwick did not take the folder"
refused "$folder" "Tarwick is already running in the folder"
kill "$holder" && wait "$holder" || fail "the first Tarwick did not end cleanly"

[ "$(ls -A "$home")" = .local ] || fail "written into the home folder: $(ls -A "$home")"
[ "$(ls -A "$home/.local/share")" = Tarwick ] || fail "written into ~/.local/share"
echo "installed-program: passed; the installed Tarwick found $(sed -n 's/^Address: //p' "$folder/results.txt")"
