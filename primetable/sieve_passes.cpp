// The sieve passes over SieveWork. Each pass runs the segmented sieve when it
// can and otherwise crosses off one prime at a time; both give the same bits
// and leave the same values in SieveWork.
#include "primetable/prime_index.h"
#include "primetable/sieve_engine.h"
#include "primetable/small_primes.h"
#include "primetable/table_words.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m5_primetable.h"

namespace {

// The table-prime pass, one prime at a time, with the search of
// _0_bitscan0 over head's bitmap (head only) or _5_bitscan0 over the chain.
void tablePrimesOneByOne(bool chain) {
    sieveWork.scan = 0;
    for (;;) {
        int64_t found;
        if (chain) {
            found = _5_bitscan0();
        } else {
            const TableBlock* head = sieveWork.head;
            found = _0_bitscan0(head + table::kFirstBitmapWord, sieveWork.scan, table::bitmapWords(head));
        }
        if (found == -1) return;
        sieveWork.scan = static_cast<uint64_t>(found);
        sieveWork.prime = _5_postonum(sieveWork.scan).lo;
        int64_t done = _5_prmflg0();
        ++sieveWork.scan;
        if (done != 0) return;
    }
}

void tablePrimes(bool chain) {
    sieve::Pass pass;
    pass.target = sieveWork.target;
    pass.lowest = sieveWork.lowest;
    pass.source = chain ? sieve::PrimeSource::kChain : sieve::PrimeSource::kHeadOnly;
    pass.head = sieveWork.head;
    if (!sieve::run(pass)) {
        tablePrimesOneByOne(chain);
        return;
    }
    if (pass.tookPrime) sieveWork.prime = pass.prime;
    sieveWork.scan = pass.scan;
}

}  // namespace

extern "C" int64_t _5_prmflg0(void) {
    PRF_ENTER(_5_prmflg0);
    primeindex::forget();  // bits change behind the index
    uint64_t p = sieveWork.prime;
    uint64_t lowest = sieveWork.lowest;
    TableBlock* target = sieveWork.target;
    uint64_t limit = target[table::kLimit];
    uint64_t square;
    if (__builtin_mul_overflow(p, p, &square) || square >= limit) return 1;
    uint64_t m = p < lowest ? (lowest % p == 0 ? lowest : (lowest / p + 1) * p) : 2 * p;
    // Multiples are set only inside the target: a stale `lowest` below the
    // target must not write in front of it.
    uint64_t first = 64 * target[table::kBaseWord];
    uint64_t end = first + 64 * table::bitmapWords(target);
    while (m < limit) {
        int64_t position = _5_numbpos(m);
        if (position != -1 && static_cast<uint64_t>(position) >= first && static_cast<uint64_t>(position) < end)
            _5_biton(static_cast<uint64_t>(position), target);
        if (m > limit - p) break;
        m += p;
    }
    return 0;
}

extern "C" int64_t _5_bitscan0(void) {
    PRF_ENTER(_5_bitscan0);
    uint64_t p = sieveWork.scan;
    const TableBlock* block = sieveWork.head;
    while (p >= 64 * table::bitmapWords(block)) {
        p -= 64 * table::bitmapWords(block);
        block = table::nextBlock(block);
        if (block == nullptr) return -1;
    }
    for (;;) {
        int64_t r = _0_bitscan0(block + table::kFirstBitmapWord, p, table::bitmapWords(block));
        if (r != -1) return r + static_cast<int64_t>(64 * block[table::kBaseWord]);
        block = table::nextBlock(block);
        if (block == nullptr) return -1;
        p = 0;
    }
}

extern "C" int64_t _5_setflg0(void) {
    PRF_ENTER(_5_setflg0);
    primeindex::forget();  // bits change behind the index
    TableBlock* target = sieveWork.target;
    sieveWork.lowest = _5_prmtmin(target);
    sieve::Pass pass;
    pass.target = target;
    pass.lowest = sieveWork.lowest;
    pass.smallPrimes = true;
    if (sieve::run(pass)) {
        sieveWork.prime = sieve::lastSmallPrimeTried(target[table::kLimit]);
        return 0;
    }
    sieve::forSmallPrimes([](uint64_t p) {
        sieveWork.prime = p;
        return _5_prmflg0() == 0;
    });
    return 0;
}

extern "C" int64_t _5_setflg1(void) {
    PRF_ENTER(_5_setflg1);
    primeindex::forget();  // bits change behind the index
    tablePrimes(false);
    return 0;
}

extern "C" int64_t _5_setflg2(void) {
    PRF_ENTER(_5_setflg2);
    primeindex::forget();  // bits change behind the index
    tablePrimes(true);
    return 0;
}
