// The k-th prime without a table: t = R^-1(k) (Riemann's function), pi(t)
// by the combinatorial count, then the primes between t and the answer
// sieved window by window, forwards or backwards, counting off the
// difference.
#include <cstring>

#include "primequery/counting/counting_tuning.h"
#include "primequery/counting/pi_table.h"
#include "primequery/counting/prime_pi.h"
#include "primequery/counting/riemann_inverse.h"
#include "primequery/counting/wheel30_sieve.h"
#include "primetable/run_control.h"
#include "primetable/sieve_threads.h"
#include "q64/m5_primequery.h"

namespace counting {

namespace {

constexpr uint64_t kTop = ~uint64_t{0};
constexpr uint64_t kLastByte = kTop / 30;  // the wheel byte of 2^64 - 1

// The window's bytes: about twice the square root of the numbers, so that
// every sieving prime meets it, within [64 KB, 16 MB].
uint64_t windowBytes(uint64_t root) {
    uint64_t bytes = root / 15;
    if (bytes < kPrimeSegmentBytes) bytes = kPrimeSegmentBytes;
    if (bytes > (uint64_t{1} << 24)) bytes = uint64_t{1} << 24;
    return (bytes + 7) & ~uint64_t{7};
}

// The wheel window [byteLo, byteHi) sieved to its primes above 5 with the
// sieving primes read from the table, and cut to the numbers [from, to].
void sieveWindow(uint8_t* window, uint64_t byteLo, uint64_t byteHi, const PiTable& table, uint64_t from,
                 uint64_t to) {
    presieve(window, byteLo, byteHi);
    const unsigned __int128 end = static_cast<unsigned __int128>(byteHi) * 30;
    const uint64_t lo = byteLo * 30;
    for (uint64_t p = 17; p != 0 && static_cast<unsigned __int128>(p) * p < end; p = table.primeAbove(p)) {
        CrossState state = startCrossing(p, p * p > lo ? p * p : lo, 1);
        crossOff(window, byteLo, byteHi, state);
    }
    fixFirstByte(window, byteLo);
    const uint64_t fromByte = from / 30, toByte = to / 30;
    if (fromByte >= byteLo) {
        std::memset(window, 0, fromByte - byteLo);
        if (from % 30 != 0) window[fromByte - byteLo] &= static_cast<uint8_t>(~kMaskUpTo[from % 30 - 1]);
    }
    if (toByte < byteHi) {
        window[toByte - byteLo] &= kMaskUpTo[to % 30];
        std::memset(window + (toByte - byteLo) + 1, 0, byteHi - toByte - 1);
    }
}

// The number of the wheel bit `bit` of window byte `byte`.
uint64_t numberAt(uint64_t byte, unsigned bit) { return 30 * byte + kResidue[bit]; }

// The `rank`-th set bit (1 the first) from the window's start, or from its
// end when backwards; the window holds at least that many.
uint64_t findSetBit(const uint8_t* window, uint64_t byteLo, uint64_t bytes, uint64_t rank, bool backwards) {
    for (uint64_t i = 0; i < bytes; ++i) {
        const uint64_t at = backwards ? bytes - 1 - i : i;
        const unsigned n = popcount64(window[at]);
        if (n < rank) {
            rank -= n;
            continue;
        }
        for (unsigned j = 0; j < 8; ++j) {
            const unsigned bit = backwards ? 7 - j : j;
            if (((window[at] >> bit) & 1u) != 0 && --rank == 0) return numberAt(byteLo + at, bit);
        }
    }
    return 0;
}

bool nthPrime(uint64_t k, uint64_t* prime) {
    const uint64_t t = riemannInverse(k);
    uint64_t counted;
    if (!primePi(t, &counted)) return false;
    const bool backwards = counted >= k;
    // Primes still to pass: backwards the (counted - k + 1)-th prime <= t,
    // forwards the (k - counted)-th prime > t.
    uint64_t rank = backwards ? counted - k + 1 : k - counted;
    const uint64_t reach = backwards ? t : (t > kTop - (kTop >> 3) ? kTop : t + (t >> 3) + (uint64_t{1} << 22));
    CountingMemory memory;
    PiTable table;
    const uint64_t root = squareRootFloor(reach);
    const uint64_t bytes = windowBytes(root);
    const unsigned threads = primetable::sieveThreads();
    if (!memory.reserve((root / 240 + 2) * sizeof(PiEntry) + bytes + threads * (kPrimeSegmentBytes + 6543 * 16) +
                        (uint64_t{1} << 16)))
        return false;
    if (!table.build(root < 1000 ? 1000 : root, memory, threads)) return false;
    uint8_t* window = memory.take<uint8_t>(bytes);
    if (window == nullptr) return false;
    for (uint64_t step = 0;; ++step) {
        if (step > 0 && primetable::progressStops(step, step + 1)) return false;
        uint64_t byteLo, byteHi;
        if (backwards) {
            const uint64_t last = t / 30 - step * bytes;  // the window ends at this byte
            byteLo = last + 1 > bytes ? last + 1 - bytes : 0;
            byteHi = last + 1;
        } else {
            byteLo = (t / 30) + step * bytes;
            byteHi = byteLo + bytes <= kLastByte + 1 ? byteLo + bytes : kLastByte + 1;
        }
        const uint64_t from = backwards ? 7 : (t == kTop ? kTop : t + 1);
        const uint64_t to = backwards ? t : kTop;
        sieveWindow(window, byteLo, byteHi, table, from, to);
        if (!backwards && static_cast<unsigned __int128>(byteLo) * 30 > reach) return false;
        const uint64_t bytesIn = byteHi - byteLo;
        uint64_t found = countBits(window, bytesIn / 8);
        for (uint64_t b = bytesIn / 8 * 8; b < bytesIn; ++b) found += popcount64(window[b]);
        if (found >= rank) {
            *prime = findSetBit(window, byteLo, byteHi - byteLo, rank, backwards);
            return true;
        }
        rank -= found;
        if ((backwards && byteLo == 0) || (!backwards && byteHi == kLastByte + 1)) return false;
    }
}

}  // namespace

}  // namespace counting

uint64_t _5_prmnthx(uint64_t k) {
    static constexpr uint64_t kFirst[4] = {0, 2, 3, 5};
    if (k == 0 || k > PRIMES_BELOW_2_64) return ~uint64_t{0};
    if (k <= 3) return kFirst[k];
    uint64_t prime;
    return counting::nthPrime(k, &prime) ? prime : ~uint64_t{0};
}
