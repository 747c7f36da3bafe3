#include "primetable/sieve_engine.h"

#include <algorithm>
#include <cstring>

#include "primetable/sieve_cross.h"
#include "primetable/sieve_presieve.h"
#include "primetable/sieve_start.h"
#include "primetable/small_primes.h"
#include "primetable/table_words.h"
#include "primetable/wheel.h"

namespace sieve {
namespace {

// Sizes measured on the 2.6 GHz Xeon of the development machines (L1 48 KiB,
// L2 2 MiB per core). The segment stays in L2 with the room behind it. Primes
// below kChunkPrimeBound cross off one L1-sized chunk at a time; larger ones
// the whole segment. On a 128 MB table a bound anywhere from 8192 to 32768
// gave the same time, 4096 about 8 % more.
constexpr uint64_t kSegmentBytes = uint64_t{1} << 18;
constexpr uint64_t kChunkBytes = uint64_t{1} << 15;
constexpr uint64_t kChunkPrimeBound = 12000;

// Room for the sieving primes of every table this machine can hold: a pass
// takes at most the primes below the square root of its limit.
constexpr uint64_t kMaxPrimes = uint64_t{1} << 18;

// The segment and, behind it, room for the bits that whole turns of the
// wheel set past its end (primes whose turn is at most a segment); they are
// carried into the next segment.
alignas(64) uint8_t segment[2 * kSegmentBytes];

// The sizes in use: kSegmentBytes and kChunkBytes, or smaller ones set by tests.
uint64_t segmentBytes = kSegmentBytes;
uint64_t chunkBytes = kChunkBytes;
SievingPrime primes[kMaxPrimes];

inline uint64_t streamWord(const uint8_t* p) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    return __builtin_bswap64(w);
}

inline void orStreamWord(uint8_t* p, uint64_t w) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    v |= __builtin_bswap64(w);
    std::memcpy(p, &v, 8);
}

// First clear bit in [from, to) of bitmap words (most significant bit first),
// or `to`. Load(k) gives word k.
template <typename Load>
uint64_t firstClear(Load load, uint64_t from, uint64_t to) {
    if (from >= to) return to;
    uint64_t k = from / 64;
    uint64_t rest = ~load(k) & (~UINT64_C(0) >> (from % 64));
    uint64_t lastWord = (to - 1) / 64;
    while (rest == 0) {
        if (++k > lastWord) return to;
        rest = ~load(k);
    }
    uint64_t bit = 64 * k + static_cast<uint64_t>(__builtin_clzll(rest));
    return bit < to ? bit : to;
}

inline uint64_t ceilDiv(uint64_t a, uint64_t b) { return a / b + (a % b != 0); }

uint64_t squareRootFloor(uint64_t n) {
    uint64_t r = 0;
    for (uint64_t bit = uint64_t{1} << 31; bit != 0; bit >>= 1) {
        uint64_t t = r | bit;
        if (t * t <= n) r = t;
    }
    return r;
}

// Marks the multiples of sp that lie before stream byte `end` in bitmap words
// (used only for a prime met after the segments its multiples start in).
void crossOffWords(uint64_t* words, uint64_t end, SievingPrime& sp) {
    while (sp.next < end) {
        unsigned j = sp.j;
        words[sp.next / 8] |= uint64_t{kMask[sp.ri][j]} << (56 - 8 * (sp.next % 8));
        sp.next += kByteGap[sp.ri][j] + kGap[j] * uint64_t{sp.q6};
        sp.j = static_cast<uint8_t>(j + 1 == wheel::kSpokes ? 0 : j + 1);
    }
}

struct Cursor {
    TableBlock* block;  // null when the source is exhausted
    uint64_t bit;       // next bit of block's bitmap to look at
};

class Sieve {
public:
    explicit Sieve(Pass& pass)
        : pass_(pass),
          target_(pass.target),
          bitmap_(pass.target + table::kFirstBitmapWord),
          words_(table::bitmapWords(pass.target)),
          base_(pass.target[table::kBaseWord]),
          limit_(pass.target[table::kLimit]),
          lowestInTarget_(wheel::numberAt(64 * pass.target[table::kBaseWord])),
          cursor_{pass.head, 0} {}

    bool run() {
        uint64_t root = squareRootFloor(limit_);
        if ((root / wheel::kModulus + 1) * wheel::kSpokes + wheel::kSmallPrimeCount > kMaxPrimes) return false;
        pass_.tookPrime = false;
        pass_.scan = 0;
        bool patterns = pass_.smallPrimes && pass_.lowest == lowestInTarget_;
        if (pass_.smallPrimes) addSmallPrimes(patterns);
        scanning_ = pass_.source != PrimeSource::kNone;
        // Bits set past the last segment are never stored, so a table of one
        // segment needs only that segment clear.
        const uint64_t segmentWords = segmentBytes / 8;
        std::memset(segment, 0, words_ > segmentWords ? 2 * segmentBytes : 8 * words_);
        for (uint64_t w0 = 0; w0 < words_; w0 += segmentWords) {
            uint64_t n = words_ - w0 < segmentWords ? words_ - w0 : segmentWords;
            segFirstWord_ = w0;
            segStart_ = 8 * w0;
            segBytes_ = 8 * n;
            // The segment holds the bits carried from the one before.
            if (!pass_.freshTarget)
                for (uint64_t k = 0; k < n; ++k) orStreamWord(segment + 8 * k, bitmap_[w0 + k]);
            // The patterns and the primes with many multiples per segment
            // cross off a chunk that stays in the first-level cache at a time,
            // the other primes the whole segment.
            for (uint64_t c = 0; c < segBytes_; c += chunkBytes) {
                uint64_t end = segBytes_ - c < chunkBytes ? segBytes_ : c + chunkBytes;
                if (patterns) applyPatterns(segment + c, 8 * base_ + segStart_ + c, end - c, limit_);
                for (uint64_t i = 0; i < chunkPrimes_; ++i)
                    kTurnKernels[primes[i].ri](segment, segStart_, end, primes[i]);
            }
            for (uint64_t i = chunkPrimes_; i < turnPrimes_; ++i)
                kTurnKernels[primes[i].ri](segment, segStart_, segBytes_, primes[i]);
            for (uint64_t i = turnPrimes_; i < count_; ++i) crossOff(segment, segStart_, segBytes_, primes[i]);
            if (scanning_) takeTablePrimes();
            groupByResidue();
            // Store and clear the segment; carry what lies past it to its start.
            for (uint64_t k = 0; k < n; ++k) {
                bitmap_[w0 + k] = streamWord(segment + 8 * k);
                std::memset(segment + 8 * k, 0, 8);
            }
            std::memmove(segment, segment + segBytes_, spill_);
            std::memset(segment + segBytes_, 0, spill_);
        }
        return true;
    }

private:
    // The small primes 11 .. 199 that the patterns leave, while p^2 < limit.
    void addSmallPrimes(bool patterns) {
        forSmallPrimes([&](uint64_t p) {
            if (p * p >= limit_) return false;
            if (!(patterns && patternCovers(p, limit_))) startPrime(p, false);
            return true;
        });
    }

    // Starts crossing off q at its first multiple as the one-prime-at-a-time
    // pass would (or at q^2), within the target.
    void startPrime(uint64_t q, bool fromSquare) {
        uint64_t c = q < pass_.lowest ? ceilDiv(pass_.lowest, q) : 2;
        if (fromSquare && c < q) c = q;
        uint64_t inTarget = ceilDiv(lowestInTarget_, q);
        if (c < inTarget) c = inTarget;
        uint64_t m = firstCofactor(c);
        uint64_t n;
        if (__builtin_mul_overflow(q, m, &n) || n >= limit_) return;
        SievingPrime sp = startAt(q, m, 64 * base_);
        if (sp.next < segStart_) crossOffWords(bitmap_, segStart_, sp);
        bool turns = turnBytes(sp) <= segmentBytes;
        if (turns) {
            if (turnBytes(sp) > spill_) spill_ = turnBytes(sp);
            crossOffTurns(segment, segStart_, segBytes_, sp);
        } else {
            crossOff(segment, segStart_, segBytes_, sp);
        }
        if (sp.next >= 8 * words_ || count_ == kMaxPrimes) return;
        primes[count_++] = sp;
        // Primes come in ascending order, so each kind is one run of the
        // list; a run ends at the first prime that does not belong to it.
        if (chunkPrimes_ == count_ - 1 && turns && q < kChunkPrimeBound) chunkPrimes_ = count_;
        if (turnPrimes_ == count_ - 1 && turns) turnPrimes_ = count_;
    }

    // Orders the primes that cross off by whole turns by residue (each run
    // on its own) whenever primes were added, so that each residue's kernel
    // runs for all its primes in a row. The order in which the primes cross
    // off a segment does not change its bits, and every prime has crossed it
    // off before its clear bits are read.
    void groupByResidue() {
        if (turnPrimes_ == sortedTurnPrimes_) return;
        auto byResidue = [](const SievingPrime& a, const SievingPrime& b) { return a.ri < b.ri; };
        std::sort(primes, primes + chunkPrimes_, byResidue);
        std::sort(primes + chunkPrimes_, primes + turnPrimes_, byResidue);
        sortedTurnPrimes_ = turnPrimes_;
    }

    enum class Found { kPrime, kWait, kNone };

    // The next clear bit of the source. Bits of the target before the
    // segment are final in memory, those of the segment in the buffer, and
    // those after it are not read yet.
    Found nextClearBit() {
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
                    uint64_t r = firstClear([&](uint64_t k) { return streamWord(segment + 8 * k); },
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

    // Takes the table's primes in ascending order as far as they can be read
    // in this segment, and crosses each off from its first multiple.
    void takeTablePrimes() {
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

    Pass& pass_;
    TableBlock* target_;
    uint64_t* bitmap_;
    uint64_t words_;
    uint64_t base_;
    uint64_t limit_;
    uint64_t lowestInTarget_;
    Cursor cursor_;
    bool scanning_ = false;
    uint64_t count_ = 0;
    uint64_t chunkPrimes_ = 0;  // primes[0 .. chunkPrimes_ - 1] cross off chunk by chunk,
    uint64_t turnPrimes_ = 0;   // up to turnPrimes_ - 1 by whole turns, the rest one by one
    uint64_t sortedTurnPrimes_ = 0;
    uint64_t spill_ = 0;        // how far whole turns may set bits past a segment
    uint64_t segFirstWord_ = 0;
    uint64_t segStart_ = 0;
    uint64_t segBytes_ = 0;
};

bool enabled = true;

}  // namespace

bool run(Pass& pass) { return enabled && Sieve(pass).run(); }

namespace testing {
void enableSegmentedSieve(bool on) { enabled = on; }

void setSegmentWords(uint64_t segmentWords, uint64_t chunkWords) {
    segmentBytes = segmentWords == 0 || segmentWords > kSegmentBytes / 8 ? kSegmentBytes : 8 * segmentWords;
    chunkBytes = chunkWords == 0 || chunkWords > segmentBytes / 8 ? kChunkBytes : 8 * chunkWords;
    if (chunkBytes > segmentBytes) chunkBytes = segmentBytes;
}
}  // namespace testing

}  // namespace sieve
