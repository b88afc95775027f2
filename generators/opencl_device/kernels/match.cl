// Tests a candidate's hash160 against the wanted address prefixes. Almost every candidate
// is turned away by one bit of the first-bits table; only the few that pass search the
// sorted ranges. A match is appended to the hit list, which the host re-derives and checks.

// A range is HIT_RANGE_WORDS words: the first and last hash160 (five big-endian words
// each, inclusive) and the index of the pattern it belongs to.
#define HIT_RANGE_WORDS 11
// A hit is HIT_RECORD_WORDS words: work item, point index, candidate kind, pattern, and
// the five hash160 words the device computed.
#define HIT_RECORD_WORDS 9

// -1, 0 or 1 as a compares with b, both five words most significant first.
INLINE int compare160(const uint a[5], __global const uint* b) {
    for (int i = 0; i < 5; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

// 1 when the first bits of h are in the table: a candidate for match_candidate.
INLINE uint first_bits_hit(const uint h[5], __global const uint* table, uint tableShift) {
    const uint bucket = h[0] >> tableShift;
    return (table[bucket >> 5] >> (bucket & 31u)) & 1u;
}

// The slow path, for a candidate that passed first_bits_hit.
INLINE void match_candidate(const uint h[5], __global const uint* ranges, uint rangeCount,
                            __global uint* hits, uint hitCapacity, uint item, uint point,
                            uint kind) {
    // The last range that starts at or below h.
    uint low = 0, high = rangeCount;
    while (low < high) {
        const uint mid = (low + high) / 2;
        if (compare160(h, ranges + mid * HIT_RANGE_WORDS) >= 0)
            low = mid + 1;
        else
            high = mid;
    }
    if (low == 0)
        return;
    __global const uint* range = ranges + (low - 1) * HIT_RANGE_WORDS;
    if (compare160(h, range + 5) > 0)
        return;
    const uint slot = atomic_inc(hits);
    if (slot >= hitCapacity)
        return; // counted, so the host knows some were dropped
    __global uint* record = hits + 1 + slot * HIT_RECORD_WORDS;
    record[0] = item;
    record[1] = point;
    record[2] = kind;
    record[3] = range[10];
    for (int i = 0; i < 5; ++i)
        record[4 + i] = h[i];
}
