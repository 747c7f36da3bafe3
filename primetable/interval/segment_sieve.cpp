#include "primetable/interval/segment_sieve.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/precondition.h"
#include "primetable/interval/interval_tuning.h"
#include "primetable/interval/prime_bounds.h"
#include "primetable/interval/segment_bits.h"
#include "primetable/sieve_presieve.h"
#include "primetable/sieve_start.h"
#include "primetable/sieve_tuning.h"

namespace interval {
namespace {

uint64_t segmentSize = tuning::kSegmentBytes;

inline uint64_t roundUp64(uint64_t n) { return (n + 63) & ~uint64_t{63}; }

unsigned log2Of(uint64_t powerOfTwo) { return static_cast<unsigned>(__builtin_ctzll(powerOfTwo)); }

// Primes above this go to the bucket lists (the checked kernel holds primes
// up to kMaxSievingPrime only).
uint64_t bucketFloorFor(uint64_t segmentBytes) {
    uint64_t floor = segmentBytes / tuning::kBucketFloorDivisor;
    return floor < sieve::kMaxSievingPrime ? floor : sieve::kMaxSievingPrime;
}

// The bits of the numbers 1 .. 209 prime to 210: set for 1 and the
// composites. The patterns mark the primes 11 .. 137 there too, so the first
// segment of an interval from 0 gets these bytes as they are.
constexpr std::array<uint8_t, 6> makeFirstPeriod() {
    std::array<uint8_t, 6> bytes{};
    for (uint64_t i = 0; i < wheel::kSpokes; ++i)
        if (!wheel::isSmallPrime(WheelResidues[i])) bytes[i / 8] |= static_cast<uint8_t>(0x80u >> (i % 8));
    return bytes;
}
constexpr std::array<uint8_t, 6> kFirstPeriod = makeFirstPeriod();

// The largest prime the patterns cross off.
constexpr uint64_t kLargestPatternPrime = 137;

}  // namespace

uint64_t segmentBytes() { return segmentSize; }

void testing::setSegmentBytes(uint64_t bytes) {
    segmentSize = bytes == 0 ? tuning::kSegmentBytes : bytes;
    Q64_ASSERT(segmentSize >= 64 && segmentSize <= (uint64_t{1} << 20) && (segmentSize & (segmentSize - 1)) == 0);
}

uint64_t SegmentSieve::memoryFor(uint64_t segmentBytes, uint64_t hi, unsigned shares) {
    uint64_t root = squareRootFloor(hi);
    uint64_t floor = bucketFloorFor(segmentBytes);
    uint64_t bytes = roundUp64(2 * segmentBytes + 64);
    bytes += roundUp64(sizeof(sieve::SievingPrime) * primesUpTo(root < floor ? root : floor));
    if (root > floor) bytes += BucketLists::memoryFor(root, log2Of(segmentBytes), shares);
    return bytes;
}

void SegmentSieve::start(uint8_t* memory, uint64_t segmentBytes, uint64_t lo, uint64_t hi, PrimeFeed& feed,
                         unsigned shares, bool patterns) {
    span_ = spanOf(lo, hi);
    segmentBytes_ = segmentBytes;
    shift_ = log2Of(segmentBytes);
    chunkBytes_ = sieve::tuning::kChunkBytes < segmentBytes ? sieve::tuning::kChunkBytes : segmentBytes;
    bucketFloor_ = bucketFloorFor(segmentBytes);
    segments_ = (spanBytes(span_) + segmentBytes - 1) >> shift_;
    index_ = 0;
    started_ = false;
    length_ = 0;
    segment_ = memory;
    std::memset(segment_, 0, 2 * segmentBytes + 64);
    memory += roundUp64(2 * segmentBytes + 64);
    const uint64_t root = squareRootFloor(hi);
    feed_ = &feed;
    batchSize_ = batchNext_ = 0;
    fed_ = false;
    primes_ = reinterpret_cast<sieve::SievingPrime*>(memory);
    capacity_ = primesUpTo(root < bucketFloor_ ? root : bucketFloor_);
    memory += roundUp64(sizeof(sieve::SievingPrime) * capacity_);
    count_ = chunkPrimes_ = turnPrimes_ = sortedTurnPrimes_ = spill_ = 0;
    buckets_ = root > bucketFloor_ && segments_ > 0;
    if (buckets_) lists_.start(memory, root, shift_, shares, segments_ - 1);
    patterns_ = patterns;
}

bool SegmentSieve::next() {
    if (started_) {
        finishSegment();
        ++index_;
    }
    if (index_ >= segments_) return false;
    started_ = true;
    const uint64_t first = index_ * segmentBytes_;
    const uint64_t total = spanBytes(span_);
    length_ = total - first < segmentBytes_ ? total - first : segmentBytes_;
    const uint64_t bytes = (length_ + 7) & ~uint64_t{7};
    const uint64_t endBit = 8 * (first + length_) < span_.endBit ? 8 * (first + length_) : span_.endBit;
    if (!fed_) takePrimes(numberOfBit(span_, endBit - 1));
    groupByResidue();

    uint8_t* seg = segment_;
    for (uint64_t c = 0; c < bytes; c += chunkBytes_) {
        uint64_t end = bytes - c < chunkBytes_ ? bytes : c + chunkBytes_;
        if (patterns_) sieve::applyPatternsFromZero(seg + c, 6 * span_.period + first + c, end - c);
        for (uint64_t i = 0; i < chunkPrimes_; ++i) sieve::kTurnKernels[primes_[i].ri](seg, end, primes_[i]);
    }
    for (uint64_t i = chunkPrimes_; i < turnPrimes_; ++i) sieve::kTurnKernels[primes_[i].ri](seg, bytes, primes_[i]);
    for (uint64_t i = turnPrimes_; i < count_; ++i) sieve::crossOff(seg, bytes, primes_[i]);
    if (buckets_) lists_.crossOff(seg, index_);
    if (span_.period == 0 && index_ == 0) std::memcpy(seg, kFirstPeriod.data(), kFirstPeriod.size());
    return true;
}

// Every medium prime now lies past the segment; its next byte is counted from
// the next segment's start. What whole turns set past the segment is carried
// to its start.
void SegmentSieve::finishSegment() {
    const auto bytes = static_cast<uint32_t>(segmentBytes_);
    for (uint64_t i = 0; i < count_; ++i) primes_[i].next -= bytes;
    std::memset(segment_, 0, segmentBytes_);
    std::memmove(segment_, segment_ + segmentBytes_, spill_);
    std::memset(segment_ + segmentBytes_, 0, spill_);
}

// Takes the feed's primes whose square is at most `top`, the last number of
// the segment about to be sieved: the squares of the primes not yet taken lie
// beyond the segments sieved so far.
void SegmentSieve::takePrimes(uint64_t top) {
    for (;;) {
        if (batchNext_ == batchSize_) {
            batchSize_ = feed_->refill(batch_);
            batchNext_ = 0;
            if (batchSize_ == 0) {
                fed_ = true;
                return;
            }
        }
        uint64_t q = batch_[batchNext_];
        if (q * q > top) return;
        if (q > bucketFloor_) {
            // The rest of the batch up to the first square beyond `top`, in one
            // go: these are most of the primes when lo is large, and then
            // usually the whole batch.
            const uint64_t lastQ = batch_[batchSize_ - 1];
            uint64_t end = batchSize_;
            if (lastQ * lastQ > top)
                end = static_cast<uint64_t>(std::upper_bound(batch_ + batchNext_, batch_ + batchSize_, top,
                                                             [](uint64_t t, uint32_t p) { return t < uint64_t{p} * p; }) -
                                            batch_);
            lists_.addPrimes(batch_ + batchNext_, end - batchNext_, span_);
            batchNext_ = end;
            continue;
        }
        ++batchNext_;
        startPrime(q);
    }
}

// Starts q at its first multiple at or above both lo and q^2, unless that
// lies beyond hi. Primes come in ascending order, so each kind is one run of
// the list.
void SegmentSieve::startPrime(uint64_t q) {
    if (q <= kLargestPatternPrime && sieve::patternCovers(q, ~uint64_t{0})) return;
    uint64_t c = quotientUp(span_.lo, static_cast<double>(span_.lo), q);
    if (c < q) c = q;
    uint64_t m = sieve::firstCofactor(c);
    uint64_t n;
    if (__builtin_mul_overflow(q, m, &n) || n > span_.hi) return;
    const uint64_t byte = bitOfNumber(span_, n) / 8;
    const uint64_t first = index_ * segmentBytes_;
    Q64_ASSERT(byte >= first);
    Q64_ASSERT(count_ < capacity_);
    sieve::SievingPrime sp = sieve::startAt(q, m, byte - first);
    const uint64_t turn = sieve::turnBytes(sp);
    const bool turns = turn <= segmentBytes_;
    primes_[count_++] = sp;
    if (turns && turn > spill_) spill_ = turn;
    if (chunkPrimes_ == count_ - 1 && turns && q < sieve::tuning::kChunkPrimeBound) chunkPrimes_ = count_;
    if (turnPrimes_ == count_ - 1 && turns) turnPrimes_ = count_;
}

// Orders the primes that cross off by whole turns by residue (each run on its
// own) whenever primes were added, so that each residue's kernel runs for all
// its primes in a row.
void SegmentSieve::groupByResidue() {
    if (turnPrimes_ == sortedTurnPrimes_) return;
    auto byResidue = [](const sieve::SievingPrime& a, const sieve::SievingPrime& b) { return a.ri < b.ri; };
    std::sort(primes_, primes_ + chunkPrimes_, byResidue);
    std::sort(primes_ + chunkPrimes_, primes_ + turnPrimes_, byResidue);
    sortedTurnPrimes_ = turnPrimes_;
}

namespace {

constexpr uint64_t kBaseBound = uint64_t{1} << 16;
uint32_t basePrimes[6600];
uint64_t basePrimeCount = 0;

}  // namespace

void BasePrimes::prepare() {
    if (basePrimeCount != 0) return;
    static bool composite[kBaseBound];
    for (uint64_t p = 2; p * p < kBaseBound; ++p)
        if (!composite[p])
            for (uint64_t m = p * p; m < kBaseBound; m += p) composite[m] = true;
    uint64_t n = 0;
    for (uint64_t p = 11; p < kBaseBound; ++p)
        if (!composite[p]) basePrimes[n++] = static_cast<uint32_t>(p);
    basePrimeCount = n;
}

uint64_t BasePrimes::refill(const uint32_t*& primes) {
    if (given_) return 0;
    given_ = true;
    primes = basePrimes;
    return basePrimeCount;
}

uint64_t PrimeGenerator::memoryFor(uint64_t root) {
    return SegmentSieve::memoryFor(tuning::kGeneratorSegmentBytes, root) +
           roundUp64(4 * 8 * tuning::kGeneratorSegmentBytes);
}

void PrimeGenerator::start(uint8_t* memory, uint64_t root, unsigned share, unsigned shares) {
    skip_ = share;
    shares_ = shares;
    base_.rewind();
    sieve_.start(memory, tuning::kGeneratorSegmentBytes, 0, root, base_);
    batch_ = reinterpret_cast<uint32_t*>(memory + SegmentSieve::memoryFor(tuning::kGeneratorSegmentBytes, root));
}

uint64_t PrimeGenerator::refill(const uint32_t*& primes) {
    while (sieve_.next()) {
        const Span& s = sieve_.span();
        const uint64_t from = 8 * sieve_.firstByte();
        const uint64_t to = from + 8 * sieve_.length() < s.endBit ? from + 8 * sieve_.length() : s.endBit;
        uint64_t n = 0;
        forClearNumbers(sieve_.segment(), s, from, 0, to - from, [&](uint64_t q) {
            if (skip_ != 0) {
                --skip_;
                return;
            }
            batch_[n++] = static_cast<uint32_t>(q);
            skip_ = shares_ - 1;
        });
        if (n != 0) {
            primes = batch_;
            return n;
        }
    }
    return 0;
}

}  // namespace interval
