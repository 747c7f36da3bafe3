/* Counts the calls of a few library routines with the call-count profiler and
 * prints each routine's count and the routines in the trace ring, oldest first.
 * A second run of the profiler counts the prime-table questions asked of a
 * 1 MB table built in a static array.
 *
 * Build against an installed library (the shared one; with libq64.a add
 * -lstdc++, the C++ run-time the library's objects need):
 *   cc profile_counts.c -I<prefix>/include -L<prefix>/lib -lq64 -o profile_counts
 */
#include <stdio.h>
#include <string.h>
#include <time.h>

#include "q64/q64.h"

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

/* The 1 MB table of a fresh start. Its limit, the first number past the
 * bitmap, is 36,699,251, the 2,244,427th prime; the table holds the 2,244,426
 * primes up to 36,699,233. */
#define TABLE_WORDS 131072
static TableBlock table[TABLE_WORDS];

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

static const char* primalityText(int64_t answer) {
    return answer == 0 ? "prime" : answer == 1 ? "not prime" : "cannot be decided";
}

/* Builds the table, asks for a few n-th primes and primality answers while
 * the routines asked are counted, and prints the answers and the counts. */
static int primeQuestions(void) {
    prfinit(5, NULL, "_5_prmnew,_5_primetst,_5_primetst2,_5_prmnoth");
    if (prfon(packedNow()) != 0) return 1;

    if (_5_prmnew(TABLE_WORDS, table) != 0) return 1;
    const uint64_t ranks[] = {1000, 2244426, 2244427};
    uint64_t nth[3];
    for (size_t i = 0; i < 3; ++i) nth[i] = _5_prmnoth(ranks[i], table);
    /* Below the table's limit from the bitmap; above it by trial division
     * up to the square of the largest prime, and no answer beyond. */
    const uint64_t numbers[] = {7919, 7917, UINT64_C(999999999999989),
                                UINT64_C(2305843009213693951)};
    int64_t answers[4];
    for (size_t i = 0; i < 4; ++i) answers[i] = _5_primetst(numbers[i], 0, table);

    prfoff(packedNow());

    printf("table of %d words: %lld primes, the largest %llu\n", TABLE_WORDS,
           (long long)_5_prmtcnt(table), (unsigned long long)_5_prmtmax(table).lo);
    for (size_t i = 0; i < 3; ++i) {
        if (nth[i] == ~UINT64_C(0))
            printf("prime %llu: beyond the table\n", (unsigned long long)ranks[i]);
        else
            printf("prime %llu: %llu\n", (unsigned long long)ranks[i], (unsigned long long)nth[i]);
    }
    for (size_t i = 0; i < 4; ++i)
        printf("%llu: %lld %s\n", (unsigned long long)numbers[i], (long long)answers[i],
               primalityText(answers[i]));
    const char* routines[] = {"_5_prmnew", "_5_primetst", "_5_primetst2", "_5_prmnoth", "_5_prmtcnt"};
    for (size_t i = 0; i < sizeof routines / sizeof routines[0]; ++i) printCount(routines[i]);
    return 0;
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
    return primeQuestions();
}
