/* Counts the calls of a few library routines with the call-count profiler and
 * prints each routine's count and the routines in the trace ring, oldest first.
 *
 * Build against an installed library:
 *   cc profile_counts.c -I<prefix>/include -L<prefix>/lib -lq64 -o profile_counts
 */
#include <stdio.h>
#include <string.h>
#include <time.h>

#include "numlib/q64lib.h"

/* The moment as a PackedTime (year, month, day, hour, minute, second and
 * millisecond fields from bit 52 down). */
static uint64_t packedNow(void) {
    time_t now = time(NULL);
    const struct tm* local = localtime(&now);
    if (local == NULL) return ~UINT64_C(0);
    return (uint64_t)(local->tm_year + 1900) << 52 | (uint64_t)(local->tm_mon + 1) << 44 |
           (uint64_t)local->tm_mday << 36 | (uint64_t)local->tm_hour << 28 |
           (uint64_t)local->tm_min << 20 | (uint64_t)local->tm_sec << 12;
}

static void printCount(const char* name) {
    const uint64_t notCounted = UINT64_C(1) << 63;
    int64_t index = prflookup(name, strlen(name));
    if (index < 0) {
        printf("%-13s not listed\n", name);
        return;
    }
    uint64_t word = prfcounters()[1 + index];
    printf("%-13s %llu%s\n", name, (unsigned long long)(word & ~notCounted),
           (word & notCounted) ? " (not counted)" : "");
}

int main(void) {
    /* A ring of 32 entries; all of module _0_, and of _2_ only these two. */
    prfinit(5, "0", "_2_alocs,_2_frees");
    if (prfon(packedNow()) != 0) return 1;

    Q2Value power = _0_pow64(10, 25);          /* stops at 10^19 */
    Q2Value square = _0_pow64(power.lo, 2);    /* overflows at once */
    uint64_t words[2] = {UINT64_C(0x8000000000000001), 0};
    int64_t grew = _0_bitshtlex(words, 1, 1); /* grows into words[1] */
    for (int i = 0; i < 3; ++i) {
        uint64_t* block = _2_alocs(4);
        if (block == NULL) return 1;
        _2_sizes();                             /* module _2_ is not selected */
        _2_frees();
    }

    prfoff(packedNow());

    printf("10^%llu = %llu; its square stops at exponent %llu\n",
           (unsigned long long)power.hi, (unsigned long long)power.lo,
           (unsigned long long)square.hi);
    printf("doubling grew the array: %lld, words %llx %llx\n", (long long)grew,
           (unsigned long long)words[0], (unsigned long long)words[1]);
    printf("profiled: %s\n", prfstamp(0) != ~UINT64_C(0) && prfstamp(1) != ~UINT64_C(0)
                                 ? "with valid start and stop stamps" : "without stamps");

    const char* routines[] = {"_0_pow64", "_0_bitshtlex", "_0_bitshtrex", "_0_bitshtr",
                              "_0_bitshtl", "_2_alocs",    "_2_frees",     "_2_sizes"};
    for (size_t i = 0; i < sizeof routines / sizeof routines[0]; ++i) printCount(routines[i]);

    /* The ring has not wrapped (fewer than 32 entries): entries 0 to position - 1. */
    const uint64_t* ring = prfring();
    printf("ring:");
    for (uint64_t p = 0; p < ring[1]; ++p) printf(" %s", prfname((int64_t)prfringat(ring, p)));
    printf("\n");
    return 0;
}
