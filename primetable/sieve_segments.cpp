#include "primetable/sieve_segments.h"

#include <algorithm>
#include <cstring>

#include "platform/precondition.h"
#include "primetable/clear_bits.h"
#include "primetable/prime_index.h"
#include "primetable/sieve_presieve.h"
#include "primetable/sieve_start.h"
#include "primetable/sieve_stream.h"
#include "primetable/sieve_tuning.h"
#include "primetable/small_primes.h"
#include "primetable/square_root.h"
#include "primetable/wheel.h"

namespace sieve {

using tuning::kChunkPrimeBound;

uint64_t segmentBytes = tuning::kSegmentBytes;
uint64_t chunkBytes = tuning::kChunkBytes;

bool Sieve::fits(const TableBlock* target) {
    uint64_t root = squareRootFloor(target[table::kLimit]);
    uint64_t farthestByte = 8 * table::bitmapWords(target) + 6 * (root + wheel::kModulus);
    return (root / wheel::kModulus + 1) * wheel::kSpokes + wheel::kSmallPrimeCount <= kMaxPrimes &&
           root <= kMaxSievingPrime && farthestByte <= kMaxNextByte;
}

uint64_t Sieve::runTakingPrimes(bool stopEarly) {
    pass_.tookPrime = false;
    pass_.scan = 0;
    if (pass_.smallPrimes) addSmallPrimes();
    scanning_ = pass_.source != PrimeSource::kNone;
    const uint64_t segmentWords = segmentBytes / 8;
    prepareSegment();
    for (uint64_t w0 = first_; w0 < end_; w0 += segmentWords) {
        if (stopEarly && !scanning_ && end_ - w0 > segmentWords) return w0;
        sieveSegment(w0, true);
    }
    return end_;
}

void Sieve::runFromNumbers(const uint64_t* numbers, uint64_t count) {
    prepareSegment();
    segStart_ = 8 * first_;
    for (uint64_t i = 0; i < count; ++i) {
        // Numbers below 211 are the small primes; the table's start at 211.
        bool tablePrime = numbers[i] >= wheel::kFirstNumber;
        startPrime(numbers[i], tablePrime && pass_.fromSquare);
    }
    groupByResidue();
    for (uint64_t w0 = first_; w0 < end_; w0 += segmentBytes / 8) sieveSegment(w0, false);
}

uint64_t Sieve::sievingPrimeNumbers(uint64_t* out) const {
    for (uint64_t i = 0; i < count_; ++i)
        out[i] = wheel::kModulus * (primes_[i].q6 / 6) + WheelResidues[primes_[i].ri];
    std::sort(out, out + count_);
    return count_;
}

void Sieve::prepareSegment() {
    const uint64_t segmentWords = segmentBytes / 8;
    const uint64_t words = end_ - first_;
    std::memset(segment_, 0, words > segmentWords ? 2 * segmentBytes : 8 * words);
}

void Sieve::sieveSegment(uint64_t w0, bool takePrimes) {
    const uint64_t segmentWords = segmentBytes / 8;
    uint64_t n = end_ - w0 < segmentWords ? end_ - w0 : segmentWords;
    segFirstWord_ = w0;
    segStart_ = 8 * w0;
    segBytes_ = 8 * n;
    // The segment holds the bits carried from the one before.
    if (!pass_.freshTarget)
        for (uint64_t k = 0; k < n; ++k) orStreamWord(segment_ + 8 * k, bitmap_[w0 + k]);
    // The patterns and the primes with many multiples per segment
    // cross off a chunk that stays in the first-level cache at a time,
    // the other primes the whole segment.
    for (uint64_t c = 0; c < segBytes_; c += chunkBytes) {
        uint64_t end = segBytes_ - c < chunkBytes ? segBytes_ : c + chunkBytes;
        if (patterns_) applyPatterns(segment_ + c, 8 * base_ + segStart_ + c, end - c, limit_);
        for (uint64_t i = 0; i < chunkPrimes_; ++i)
            kTurnKernels[primes_[i].ri](segment_, end, primes_[i]);
    }
    for (uint64_t i = chunkPrimes_; i < turnPrimes_; ++i)
        kTurnKernels[primes_[i].ri](segment_, segBytes_, primes_[i]);
    crossOffLargePrimes();
    if (takePrimes && scanning_) takeTablePrimes();
    groupByResidue();
    // Every prime now lies past the segment; its next byte is counted
    // from the next segment's start.
    for (uint64_t i = 0; i < count_; ++i) primes_[i].next -= static_cast<uint32_t>(segBytes_);
    // Store and clear the segment; carry what lies past it to its start.
    if (pass_.clearCounts != nullptr) countClearBits(w0, n);
    storeWords(bitmap_ + w0, segment_, n);
    std::memset(segment_, 0, segBytes_);
    std::memmove(segment_, segment_ + segBytes_, spill_);
    std::memset(segment_ + segBytes_, 0, spill_);
}

void Sieve::crossOffLargePrimes() {
    uint64_t n = count_ - turnPrimes_;
    SievingPrime* large = primes_ + turnPrimes_;
    uint64_t start[wheel::kSpokes + 1] = {};
    for (uint64_t i = 0; i < n; ++i) {
        crossOff(segment_, segBytes_, large[i]);
        ++start[large[i].j + 1];
    }
    if (n < 2) return;
    for (uint64_t j = 1; j <= wheel::kSpokes; ++j) start[j] += start[j - 1];
    for (uint64_t i = 0; i < n; ++i) sortRoom_[start[large[i].j]++] = large[i];
    std::memcpy(large, sortRoom_, n * sizeof(SievingPrime));
}

void Sieve::countClearBits(uint64_t w0, uint64_t n) {
    const auto* words = reinterpret_cast<const uint64_t*>(segment_);
    for (uint64_t w = w0; w < w0 + n;) {
        uint64_t indexSegment = w / primeindex::kSegmentWords;
        uint64_t stop = (indexSegment + 1) * primeindex::kSegmentWords;
        if (stop > w0 + n) stop = w0 + n;
        __atomic_fetch_add(&pass_.clearCounts[indexSegment], table::clearBits(words + (w - w0), stop - w),
                           __ATOMIC_RELAXED);
        w = stop;
    }
}

void Sieve::addSmallPrimes() {
    forSmallPrimes([&](uint64_t p) {
        if (p * p >= limit_) return false;
        if (!(patterns_ && patternCovers(p, limit_))) startPrime(p, false);
        return true;
    });
}

void Sieve::startPrime(uint64_t q, bool fromSquare) {
    uint64_t c = q < pass_.lowest ? ceilDiv(pass_.lowest, q) : 2;
    if (fromSquare && c < q) c = q;
    uint64_t inRange = ceilDiv(lowestInRange_, q);
    if (c < inRange) c = inRange;
    uint64_t m = firstCofactor(c);
    uint64_t n;
    if (__builtin_mul_overflow(q, m, &n) || n >= limit_) return;
    uint64_t byte = multipleByte(q, m, 64 * base_);
    Q64_ASSERT(byte >= segStart_);
    if (byte >= 8 * end_) return;
    SievingPrime sp = startAt(q, m, byte - segStart_);
    bool turns = turnBytes(sp) <= segmentBytes;
    if (turns) {
        if (turnBytes(sp) > spill_) spill_ = turnBytes(sp);
        crossOffTurns(segment_, segBytes_, sp);
    } else {
        crossOff(segment_, segBytes_, sp);
    }
    if (segStart_ + sp.next >= 8 * end_ || count_ == capacity_) return;
    primes_[count_++] = sp;
    // Primes come in ascending order, so each kind is one run of the
    // list; a run ends at the first prime that does not belong to it.
    if (chunkPrimes_ == count_ - 1 && turns && q < kChunkPrimeBound) chunkPrimes_ = count_;
    if (turnPrimes_ == count_ - 1 && turns) turnPrimes_ = count_;
}

void Sieve::groupByResidue() {
    if (turnPrimes_ == sortedTurnPrimes_) return;
    auto byResidue = [](const SievingPrime& a, const SievingPrime& b) { return a.ri < b.ri; };
    std::sort(primes_, primes_ + chunkPrimes_, byResidue);
    std::sort(primes_ + chunkPrimes_, primes_ + turnPrimes_, byResidue);
    sortedTurnPrimes_ = turnPrimes_;
}

Sieve::Found Sieve::nextClearBit() {
    while (cursor_.block != nullptr) {
        const TableBlock* block = cursor_.block;
        uint64_t bits = 64 * table::bitmapWords(block);
        if (block == target_) {
            uint64_t segFirstBit = 64 * segFirstWord_;
            uint64_t segEndBit = segFirstBit + 8 * segBytes_;
            if (cursor_.bit < segFirstBit) {
                uint64_t r = firstClear([&](uint64_t k) { return bitmap_[k]; }, cursor_.bit, segFirstBit);
                cursor_.bit = r;
                if (r < segFirstBit) return Found::kPrime;
            }
            uint64_t end = bits < segEndBit ? bits : segEndBit;
            if (cursor_.bit < end) {
                uint64_t r = firstClear([&](uint64_t k) { return streamWord(segment_ + 8 * k); },
                                        cursor_.bit - segFirstBit, end - segFirstBit);
                cursor_.bit = segFirstBit + r;
                if (cursor_.bit < end) return Found::kPrime;
            }
            if (end < bits) return Found::kWait;
        } else {
            const TableBlock* words = block + table::kFirstBitmapWord;
            cursor_.bit = firstClear([&](uint64_t k) { return words[k]; }, cursor_.bit, bits);
            if (cursor_.bit < bits) return Found::kPrime;
        }
        cursor_.block = pass_.source == PrimeSource::kChain ? table::nextBlock(block) : nullptr;
        cursor_.bit = 0;
    }
    return Found::kNone;
}

void Sieve::takeTablePrimes() {
    for (;;) {
        Found found = nextClearBit();
        if (found == Found::kWait) return;
        if (found == Found::kNone) break;
        uint64_t position = cursor_.bit;
        if (pass_.source == PrimeSource::kChain) position += 64 * cursor_.block[table::kBaseWord];
        ++cursor_.bit;
        uint64_t q = wheel::numberAt(position);
        pass_.tookPrime = true;
        pass_.prime = q;
        pass_.scan = position + 1;
        uint64_t square;
        if (__builtin_mul_overflow(q, q, &square) || square >= limit_) break;
        startPrime(q, pass_.fromSquare);
    }
    scanning_ = false;
}

}  // namespace sieve
