#!/usr/bin/env bash
# Found keys of vanitygen64.exe against another vanity search (the peer, e.g. a VanitySearch the
# user has built) on the same patterns for the same time: both run in turn, A B A B ..., each
# with every find written to a file, and the keys in those files are counted (not the programs'
# own counters).
#   peer-compare.sh OURS PEER [seconds per run, default 20] [compressed|uncompressed]
#                   [threads, default 2] [rounds, default 3] [pattern file]
# The peer is called VanitySearch-style: PEER -t N [-u] -o FILE -i PATTERNS. Without a pattern
# file, five 4-character patterns are used. Prints each run's count and CPU seconds, the totals,
# the ratio, and the load before and after.
set -euo pipefail
ours=${1:?usage: peer-compare.sh OURS PEER [seconds] [compressed|uncompressed] [threads] [rounds] [patterns]}
peer=${2:?usage: peer-compare.sh OURS PEER [seconds] [compressed|uncompressed] [threads] [rounds] [patterns]}
seconds=${3:-20}
format=${4:-compressed}
threads=${5:-2}
rounds=${6:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
patterns=${7:-$work/patterns.txt}
[[ -n "${7:-}" ]] || printf '%s\n' 1Tar 1Tom 1Tim 1Sam 1Zed >"$patterns"
peerFormat=()
[[ "$format" == uncompressed ]] && peerFormat=(-u)

echo "CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) logical processors, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$format keys, -t $threads, $seconds s a run, $rounds rounds, patterns: $(tr '\n' ' ' <"$patterns")"

# Runs a command for the given time; prints the CPU seconds it used.
timed() {
    local TIMEFORMAT='%U %S'
    { time timeout -s INT "$seconds" "$@" >/dev/null 2>&1 || true; } 2>&1 | awk '{ print $1 + $2 }'
}
countKeys() { grep -cE '^(Pub)?Address:' "$1" 2>/dev/null || true; }

totalOurs=0
totalPeer=0
for ((round = 1; round <= rounds; ++round)); do
    rm -f "$work/ours.txt" "$work/peer.txt"
    cpuOurs=$(timed "$ours" -t "$threads" -k -F "$format" -o "$work/ours.txt" -f "$patterns")
    cpuPeer=$(timed "$peer" -t "$threads" "${peerFormat[@]}" -o "$work/peer.txt" -i "$patterns")
    keysOurs=$(countKeys "$work/ours.txt")
    keysPeer=$(countKeys "$work/peer.txt")
    totalOurs=$((totalOurs + keysOurs))
    totalPeer=$((totalPeer + keysPeer))
    echo "round $round: ours $keysOurs keys ($cpuOurs CPU s), peer $keysPeer keys ($cpuPeer CPU s)"
done
ratio=$(awk -v a="$totalOurs" -v b="$totalPeer" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }')
echo "total: ours $totalOurs, peer $totalPeer, ratio $ratio; load $(cut -d' ' -f1-3 /proc/loadavg)"
