// The primes of a table in ascending order (internal, C++ only): the 46 small
// primes 2 .. 199, then the numbers of the clear bits of the bitmap, block
// after block. The last one is the table's largest prime P.
#pragma once

#include <cstdint>

#include "primetable/table_words.h"
#include "primetable/wheel.h"

namespace primequery {

class PrimeWalk {
public:
    explicit PrimeWalk(const TableBlock* head) : block_(head) {}

    // The next prime, or 0 when the table has no more.
    uint64_t next() {
        if (small_ < wheel::kSmallPrimeCount) return wheel::smallPrime(small_++);
        while (bits_ == 0) {
            if (word_ == table::bitmapWords(block_)) {
                block_ = table::nextBlock(block_);
                if (block_ == nullptr) return 0;
                word_ = 0;
            }
            bits_ = ~block_[table::kFirstBitmapWord + word_];
            wordPosition_ = 64 * (block_[table::kBaseWord] + word_);
            ++word_;
        }
        int j = __builtin_clzll(bits_);
        bits_ &= ~(UINT64_C(0x8000000000000000) >> j);
        return wheel::numberAt(wordPosition_ + static_cast<uint64_t>(j));
    }

    // Skips the primes below `from`; returns the first one at or above it, or 0.
    uint64_t nextFrom(uint64_t from) {
        uint64_t p;
        do p = next();
        while (p != 0 && p < from);
        return p;
    }

private:
    const TableBlock* block_;
    uint64_t small_ = 0;
    uint64_t word_ = 0;          // index of the next bitmap word of block_
    uint64_t bits_ = 0;          // clear bits of the current word not yet taken, as set bits
    uint64_t wordPosition_ = 0;  // table-wide position of the current word's top bit
};

}  // namespace primequery
