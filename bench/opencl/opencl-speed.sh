#!/usr/bin/env bash
# Key rate of oclvanitygen.exe next to vanitygen64.exe: each runs for a fixed time on a
# pattern that no search will ever find, compressed keys, and the keys per second are taken
# from their status lines (total keys over the seconds of status).
#   opencl-speed.sh path/to/oclvanitygen.exe path/to/vanitygen64.exe [seconds, default 20] [P:D]
# The OpenCL device binary is built (or taken from the cache) before the clock starts.
set -euo pipefail
ocl=${1:?usage: opencl-speed.sh oclvanitygen.exe vanitygen64.exe [seconds] [P:D]}
cpu=${2:?usage: opencl-speed.sh oclvanitygen.exe vanitygen64.exe [seconds] [P:D]}
seconds=${3:-20}
device=${4:-0:0}
pattern=1BitcoinEaterAddressDontSend

echo "CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) logical processors"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
"$ocl" -D 99:99 2>&1 | sed 's/^/  /' || true
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Keys per second from a log of refreshes: the last total over the number of refreshes
# (about one a second), after dropping the first refresh, which may include start-up.
rate() {
    local statuses count first last
    statuses=$(tr '\r' '\n' <"$log" | grep 'key/s]' || true)
    count=$(grep -c . <<<"$statuses" || true)
    if [[ "$count" -lt 3 ]]; then
        echo "fewer than three status lines; output was:" >&2
        cat "$log" >&2
        exit 1
    fi
    first=$(head -n 1 <<<"$statuses" | sed -n 's/.*\[total \([0-9]*\)\].*/\1/p')
    last=$(tail -n 1 <<<"$statuses" | sed -n 's/.*\[total \([0-9]*\)\].*/\1/p')
    awk -v a="$first" -v b="$last" -v n="$count" 'BEGIN { printf "%.2f", (b - a) / (n - 1) / 1e6 }'
}

# Warm up on an easy pattern: builds the device binary into the cache (minutes for PoCL on
# a busy machine), so that the timed run measures the search alone.
timeout -s TERM 900 "$ocl" -v -D "$device" 1A >"$log" 2>&1 || true
grep '^Device: ' "$log" || true

timeout -s TERM "$seconds" "$ocl" -D "$device" "$pattern" >"$log" 2>&1 || true
printf 'oclvanitygen -D %s: %s Mkey/s\n' "$device" "$(rate)"
timeout -s TERM "$seconds" "$cpu" -t "$(nproc)" "$pattern" >"$log" 2>&1 || true
printf 'vanitygen64 -t %s:    %s Mkey/s\n' "$(nproc)" "$(rate)"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
