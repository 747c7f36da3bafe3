// A literal, independent implementation of the wheel sieve, used as the
// oracle of the tests: one division per multiple to find its position, one
// bit set at a time, and the chain walked from its first block for every
// sieving prime. Blocks have the layout of q64/m5_primetable.h.
#pragma once

#include <cstdint>

namespace literal {

struct Work {
    uint64_t* head = nullptr;
    uint64_t lowest = 0;
    uint64_t prime = 0;
    uint64_t* target = nullptr;
    uint64_t scan = 0;
};

uint64_t numberOf(uint64_t position);
int64_t positionOf(uint64_t number);  // -1 when number shares a factor with 210
uint64_t limitOf(uint64_t words);      // the number of position 64 * words

void init(uint64_t lastIndex, uint64_t* block, uint64_t baseWord);
// Crosses off `prime` in target; 1 when prime^2 >= limit (nothing marked).
int crossOff(Work& w);
// First clear bit at or after w.scan over the chain from w.head, or -1.
int64_t chainScan(const Work& w);
void smallPrimePass(Work& w);
void headPass(Work& w);   // primes from head's bitmap only
void chainPass(Work& w);  // primes from the whole chain
// A one-block table of `words` words; -1 when words < 5.
int64_t newTable(uint64_t words, uint64_t* block, Work& w);
// Links `block` of `words` words after the last block of the chain at head
// and sieves it; head's limit becomes the new block's.
void append(uint64_t words, uint64_t* block, uint64_t* head, Work& w);

}  // namespace literal
