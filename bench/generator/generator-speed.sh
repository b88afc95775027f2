#!/usr/bin/env bash
# Key rate of vanitygen64.exe: runs it for a fixed time on a pattern that no search will ever
# find, with 1 and 2 threads, compressed and uncompressed keys, and prints keys per second.
#   generator-speed.sh path/to/vanitygen64.exe [seconds per run, default 20]
# TARWICK_HASH_BACKEND=scalar|sha-ni|avx2|... forces a hashing path,
# TARWICK_FIELD_BACKEND=portable|mulx-adx|ifma a field arithmetic path.
set -euo pipefail
program=${1:?usage: generator-speed.sh path/to/vanitygen64.exe [seconds]}
seconds=${2:-20}
pattern=1BitcoinEaterAddressDontSend

echo "CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) logical processors, load $(cut -d' ' -f1-3 /proc/loadavg)"
"$program" -v -h 2>&1 >/dev/null | grep ' backend: '
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for format in compressed uncompressed; do
    for threads in 1 2; do
        # CPU seconds the run used: on a busy machine keys per CPU second still tell the speed.
        TIMEFORMAT='%U %S'
        cpu=$({ time timeout -s TERM "$seconds" "$program" -t "$threads" -F "$format" "$pattern" \
            >"$log" 2>&1 || true; } 2>&1 | awk '{ print $1 + $2 }')
        # Refreshes are separated by carriage returns, one a second.
        statuses=$(tr '\r' '\n' <"$log" | grep 'key/s]' || true)
        count=$(grep -c . <<<"$statuses" || true)
        last=$(tail -n 1 <<<"$statuses")
        total=$(sed -n 's/.*\[total \([0-9]*\)\].*/\1/p' <<<"$last")
        recent=$(sed -n 's/^\[\([^]]*key\/s\)\].*/\1/p' <<<"$last")
        if [[ -z "$total" || "$count" -eq 0 ]]; then
            echo "$format -t $threads: no status line; output was:" >&2
            cat "$log" >&2
            exit 1
        fi
        mean=$(awk -v t="$total" -v n="$count" 'BEGIN { printf "%.2f", t / n / 1e6 }')
        perCpu=$(awk -v t="$total" -v c="$cpu" 'BEGIN { printf "%.2f", (c > 0 ? t / c / 1e6 : 0) }')
        printf '%-12s -t %s: %s Mkey/s over %s s (last seconds: %s), %s keys; %s Mkey per CPU second\n' \
            "$format" "$threads" "$mean" "$count" "$recent" "$total" "$perCpu"
    done
done
